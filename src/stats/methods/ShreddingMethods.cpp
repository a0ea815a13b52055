#include "stats/methods/ShreddingMethods.h"

#include "core/Format.h"
#include "stats/StatList.h"

#include <mutex>
#include <vector>

namespace lot {

namespace {

/// The matcher of a shredding formula: the formula's value of each
/// combination (p and t fixed for the pass) looked up in the selected keys.
/// Every thread of the pass takes an evaluator of its own from the pool
/// for a block and gives it back after.
class TShreddingMatcher final : public TCombMatcher {
public:
    using Numbers = std::array<uint8_t, CombSize>;
    TShreddingMatcher(const QString &formula, int digits, const Numbers &p, const Numbers &t,
                      TSelectedKeys keys)
        : m_formula(formula), m_digits(digits), m_p(p), m_t(t), m_keys(std::move(keys)) {}

    bool Matches(const TComb &c) const override {
        std::unique_ptr<TShreddingEvaluator> e = Take();
        const bool hit = Bit(*e, c) != 0;
        Give(std::move(e));
        return hit;
    }
    bool IsThreadSafe() const override { return true; }
    void MatchBits(const TComb *source, size_t count, uint64_t *bits) const override {
        std::unique_ptr<TShreddingEvaluator> e = Take();
        TShreddingEvaluator &evaluator = *e;
        MatchBitsWith([this, &evaluator](const TComb &c) { return Bit(evaluator, c); }, source, count, bits);
        Give(std::move(e));
    }

private:
    unsigned Bit(TShreddingEvaluator &e, const TComb &c) const {
        return m_keys.Bit(TStatKey::FromInts(e.Value(c, m_p, m_t)));
    }
    std::unique_ptr<TShreddingEvaluator> Take() const {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_free.empty()) {
                std::unique_ptr<TShreddingEvaluator> e = std::move(m_free.back());
                m_free.pop_back();
                return e;
            }
        }
        return std::make_unique<TShreddingEvaluator>(m_formula, m_digits);
    }
    void Give(std::unique_ptr<TShreddingEvaluator> e) const {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_free.push_back(std::move(e));
    }

    QString m_formula;
    int m_digits;
    Numbers m_p, m_t;
    TSelectedKeys m_keys;
    mutable std::mutex m_mutex;
    mutable std::vector<std::unique_ptr<TShreddingEvaluator>> m_free;
};

} // namespace

QString ShreddingProblemText(const TShreddingData &data) {
    for (int k = 1; k <= 3; ++k) {
        const TFormulaProblem problem = CheckFormula(data.Formula(k));
        if (problem.Code >= 0) return FormulaProblemText(k, problem);
        const int digits = data.Digits(k);
        if (digits < 0 || digits > MaxShreddingDigits)
            return Format(QStringLiteral("Количество цифр формулы %d должно быть от 0 до %d!"),
                          {k, MaxShreddingDigits});
    }
    return {};
}

TstShreddingStat::TstShreddingStat(const TStatList &list, int param)
    : TKeyedStat(list, param), m_formula(list.Shredding().Formula(param)),
      m_digits(list.Shredding().Digits(param)) {}

TstShreddingStat::~TstShreddingStat() = default;

QString TstShreddingStat::ValueToText(const TStatDraw &v) const {
    return QString::number(v.Key.D(1));
}

TShreddingEvaluator &TstShreddingStat::Evaluator() const {
    if (!m_evaluator) m_evaluator = std::make_unique<TShreddingEvaluator>(m_formula, m_digits);
    return *m_evaluator;
}

TstShreddingStat::Numbers TstShreddingStat::EntryNumbers(int idx) const {
    const TDrawRec d = ReadDraw(idx, m_sorted);
    Numbers n;
    for (int i = 0; i < CombSize; ++i)
        n[size_t(i)] = d.Numbers[i];
    return n;
}

void TstShreddingStat::RefLoaded(int refIdx, bool sorted) {
    m_sorted = sorted;
    m_refP = EntryNumbers(refIdx);
    m_refT = EntryNumbers(refIdx - 1);
}

int TstShreddingStat::KeysOf(const TComb &c, TStatKey *keys) const {
    keys[0] = TStatKey::FromInts(Evaluator().Value(c, m_refP, m_refT));
    return 1;
}

int TstShreddingStat::DrawKeysOf(int drawIdx, TStatKey *keys) const {
    keys[0] = TStatKey::FromInts(
        Evaluator().Value(DrawComb(), EntryNumbers(drawIdx - 1), EntryNumbers(drawIdx - 2)));
    return 1;
}

void TstShreddingStat::CombValues(const TComb &c, TStatDrawArray &values) {
    TCustomGraphStat::CombValues(c, values);
    m_work.Key = TStatKey::FromInts(Evaluator().Value(c, Numbers{}, Numbers{}));
    AddValue(values, m_work, false);
}

void TstShreddingStat::CountCombKeys(const TComb *combs, int count, TKeyCounter &counter) {
    TShreddingEvaluator &e = Evaluator();
    const Numbers zero{};
    for (int i = 0; i < count; ++i)
        counter.Add(TStatKey::FromInts(e.Value(combs[i], zero, zero)), 1);
}

std::unique_ptr<TCombMatcher> TstShreddingStat::MakeMatcher(const TStatDrawArray &selected, int refIdx,
                                                            bool sorted, bool) {
    LoadRefDraw(refIdx, sorted);
    return std::make_unique<TShreddingMatcher>(m_formula, m_digits, m_refP, m_refT,
                                               TSelectedKeys(selected, MatchSearch));
}

int TstShreddingStat::GraphValue(const TComb &numbers, int drawIdx) {
    return Evaluator().Value(numbers, EntryNumbers(drawIdx - 1), EntryNumbers(drawIdx - 2));
}

} // namespace lot
