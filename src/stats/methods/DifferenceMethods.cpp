#include "stats/methods/DifferenceMethods.h"

#include "core/Format.h"

#include <QStringList>

namespace lot {

namespace {

/// Any of the five neighbour pairs of a combination marked in a 64 KiB
/// table of pairs: five table reads and no branch per combination.
class TNeighbourPairMatcher final : public TInlineCombMatcher<TNeighbourPairMatcher> {
public:
    /// hits[d]: the difference d is selected.
    explicit TNeighbourPairMatcher(const std::array<uint8_t, 256> &hits) : m_pairs(1 << 16) {
        for (int a = 0; a < 256; ++a)
            for (int b = 0; b < 256; ++b)
                m_pairs[size_t(a | b << 8)] = hits[size_t(a > b ? a - b : b - a)];
    }
    bool Matches(const TComb &c) const override { return Bit(c) != 0; }
    unsigned Bit(const TComb &c) const {
        return Pair(c, 0) | Pair(c, 1) | Pair(c, 2) | Pair(c, 3) | Pair(c, 4);
    }
    bool IsThreadSafe() const override { return true; }

private:
    unsigned Pair(const TComb &c, int i) const { return m_pairs[size_t(c[i] | c[i + 1] << 8)]; }
    std::vector<uint8_t> m_pairs;
};

} // namespace

std::unique_ptr<TCombMatcher> TstDiffTotal::MakeMatcher(const TStatDrawArray &selected, int refIdx,
                                                        bool sorted, bool excludeMode) {
    if (!List().FastPaths()) return TKeyedStat::MakeMatcher(selected, refIdx, sorted, excludeMode);
    // The selected differences by the method's own search, so the table
    // answers as CombMatches does.
    const TSelectedKeys keys(selected, MatchSearch);
    std::array<uint8_t, 256> hits{};
    for (int d = 0; d < 256; ++d)
        hits[size_t(d)] = uint8_t(keys.Bit(TStatKey::FromWords(uint16_t(d))));
    return std::make_unique<TNeighbourPairMatcher>(hits);
}

QString detail::PairText(const TStatDraw &v) {
    return Format(QStringLiteral("%0:d x %1:d"), {v.Key.W(1), v.Key.W(2)});
}

QString detail::WordsText(const TStatDraw &v, int size) {
    QStringList words;
    for (int w = 1; w <= size && w <= 4; ++w)
        words << QString::number(v.Key.W(w));
    return words.join(QLatin1Char(':'));
}

QString DiffSeqCaption(int size) {
    return Format(QStringLiteral("Сочетания из %0:d разностей между числами"), {size});
}

void TstDiffTotal::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TKeyedStat::EnumAllValues(lastIdx, values);
    AddListedWords(values, 1, NumberCount - 1);
}

void TstDiffMax::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TKeyedStat::EnumAllValues(lastIdx, values);
    AddListedWords(values, 1, NumberCount - 1);
}

void TstMinMaxDiffs::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TKeyedStat::EnumAllValues(lastIdx, values);
    AddListedWords(values, 1, NumberCount - 1);
}

void TstDiffSameCnt::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TKeyedStat::EnumAllValues(lastIdx, values);
    AddListedWords(values, 1, detail::DiffCount);
}

} // namespace lot
