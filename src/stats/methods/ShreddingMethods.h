#pragma once
/// @file Group 12 methods: the user's shredding formulas SHR1..SHR3. The
/// value of six numbers is the first digits of the fractional part of the
/// formula's result (ShreddingFormula.h), its key d1.
///
/// Where the formula's numbers come from:
///  - a draw of the table (archive entry i): n its numbers, p entry i - 1,
///    t entry i - 2;
///  - a combination of the full set (CombValues, prefetch): p and t all 0;
///  - a combination being filtered (CombMatches, the matcher): p the newest
///    draw in use (refIdx), t the draw before it;
///  - a graph value of entry i: p entry i - 1, t entry i - 2.
/// Missing entries read as zeros; all are sorted when draws are.

#include "stats/CustomStatBases.h"
#include "stats/KeyedStat.h"
#include "stats/methods/ShreddingFormula.h"

#include <memory>

namespace lot {

struct TShreddingData;

/// The first problem of the three formulas and digit counts as the user is
/// to read it ("Ошибка в формуле 2: ..."); empty when all are sound.
QString ShreddingProblemText(const TShreddingData &data);

/// SHR1..SHR3: one entry per formula of the game settings.
class TstShreddingStat final : public TKeyedStat<TstShreddingStat, TCustomGraphStat> {
    LOT_STAT_CLASS(TstShreddingStat)
public:
    TstShreddingStat(const TStatList &list, int param);
    ~TstShreddingStat() override;

    static QString CodeFormat() { return QStringLiteral("SHR%d"); }
    static QString CaptionFormat() { return QStringLiteral("Метод шинковки %0:d: %%s"); }
    static QString HelpTopicFormat() { return QStringLiteral("SHRx"); }
    static uint8_t Group() { return 12; }
    static uint8_t Flags() { return sfOrdered | sfPrefetch; }
    static bool HasParamRange() { return true; }
    static TParamRange GetParamRange(const TStatList &) { return {1, 3}; }
    static constexpr TKeySearch MatchSearch = ksInt1;
    static constexpr int MaxKeys = 1;

    /// The formula and its digit count, taken from the game settings at creation.
    const QString &FormulaText() const { return m_formula; }
    int FormulaDigits() const { return m_digits; }

    /// The value is d1 (a count of more than four digits needs more than w1).
    QString ValueToText(const TStatDraw &v) const override;

    /// The earlier draws of a combination being filtered: entries refIdx and refIdx - 1.
    void RefLoaded(int refIdx, bool sorted);
    /// A combination being filtered (p, t: the reference draw and the one before).
    int KeysOf(const TComb &c, TStatKey *keys) const;
    /// Archive entry drawIdx with the two entries before it.
    int DrawKeysOf(int drawIdx, TStatKey *keys) const;

    // The full set is valued without earlier draws: p and t are all 0.
    void CombValues(const TComb &c, TStatDrawArray &values) override;
    void CountCombKeys(const TComb *combs, int count, TKeyCounter &counter) override;
    // A muparser parser is not thread-safe: one evaluator per thread of the pass.
    std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                              bool excludeMode) override;
    // The graph reads the two draws before drawIdx, not the reference draw.
    int GraphValue(const TComb &numbers, int drawIdx) override;

private:
    using Numbers = std::array<uint8_t, CombSize>;
    Numbers EntryNumbers(int idx) const;
    TShreddingEvaluator &Evaluator() const;

    QString m_formula;
    int m_digits = 0;
    bool m_sorted = false;
    Numbers m_refP{}; ///< p of a combination being filtered
    Numbers m_refT{}; ///< t of a combination being filtered
    /// Made on first use: instances made only for a caption parse nothing.
    /// Mutable because KeysOf is const; an instance serves one thread.
    mutable std::unique_ptr<TShreddingEvaluator> m_evaluator;
};

} // namespace lot
