#include "stats/methods/SumMethods.h"

#include "core/Format.h"

namespace lot {

namespace {

/// The sum of the draw before drawIdx, or -1 when drawIdx or its previous
/// draw lies outside the archive: then the draw has no change to show.
int PreviousSum(const TDrawsArray &draws, int drawIdx) {
    if (drawIdx < 1 || size_t(drawIdx) >= draws.size()) return -1;
    return detail::SumOf(draws[size_t(drawIdx - 1)]);
}

} // namespace

// ---- SUMS ----------------------------------------------------------------------------------

void TstSumValues::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TKeyedStat::EnumAllValues(lastIdx, values);
    for (int s = detail::SumMin; s <= detail::SumMax; ++s)
        AddListed(values, TStatKey::FromInts(s));
}

// ---- SUM%d ---------------------------------------------------------------------------------

detail::TSumRange TstSumRanges::Range(int param) {
    switch (param) {
    case 1:
        return {93, 183};
    case 2:
        return {102, 174};
    case 3:
        return {110, 166};
    default:
        return {};
    }
}

QString TstSumRanges::CaptionOf(int param) {
    // The range and its share of the spread: 1 of 3, 1 of 2, 2 of 3.
    static const int shares[3][2] = {{1, 3}, {1, 2}, {2, 3}};
    if (param < 1 || param > 3) return CaptionFormat();
    return Format(CaptionFormat(), {param, shares[param - 1][0], shares[param - 1][1]});
}

QString TstSumRanges::ValueToText(const TStatDraw &v) const {
    if (v.Key.W(1) != 1) return QStringLiteral("Остальные");
    return Format(QStringLiteral("%d-%d"), {m_range.Low, m_range.High});
}

void TstSumRanges::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TKeyedStat::EnumAllValues(lastIdx, values);
    AddListed(values, TStatKey::FromWords(0));
    AddListed(values, TStatKey::FromWords(1));
}

bool TstSumRanges::CombMatches(const TComb &c, const TStatDrawArray &selected, int, bool, bool) {
    const bool in = m_range.Contains(detail::SumOf(c));
    return FindKey(selected, TStatKey::FromWords(1)) ? in : !in;
}

std::unique_ptr<TCombMatcher> TstSumRanges::MakeMatcher(const TStatDrawArray &selected, int refIdx,
                                                        bool sorted, bool excludeMode) {
    TStatDraw value;
    value.Key = TStatKey::FromWords(FindKey(selected, TStatKey::FromWords(1)) ? 1 : 0);
    return TKeyedStat::MakeMatcher({value}, refIdx, sorted, excludeMode);
}

// ---- SUMC, SUMV, SUMT ------------------------------------------------------------------------

QString TstSumChange::ValueToText(const TStatDraw &v) const {
    const int previous = v.Key.D(1);
    const int sum = v.Key.D(2);
    if (sum < previous)
        return Format(QStringLiteral("- %0:.2d : %1:d - %0:d = %2:d"), {previous - sum, previous, sum});
    return Format(QStringLiteral("+%0:.2d : %1:d + %0:d = %2:d"), {sum - previous, previous, sum});
}

int TstSumChange::GraphValue(const TComb &numbers, int drawIdx) {
    return detail::SumOf(numbers) - detail::SumOf(ReadDraw(drawIdx - 1, false));
}

int TstSumChange::DrawKeysOf(int drawIdx, TStatKey *keys) const {
    const int previous = PreviousSum(Draws(), drawIdx);
    if (previous < 0 || previous != detail::SumOf(RefDraw())) return 0;
    keys[0] = TStatKey::FromInts(previous, detail::SumOf(Draw()));
    return 1;
}

QString TstSumChangeSome::ValueToText(const TStatDraw &v) const {
    const int change = v.Key.D(1);
    if (change < 0) return Format(QStringLiteral("- %0:.2d"), {-qint64(change)});
    return Format(QStringLiteral("+%0:.2d"), {change});
}

int TstSumChangeSome::DrawKeysOf(int drawIdx, TStatKey *keys) const {
    const int previous = PreviousSum(Draws(), drawIdx);
    const int ref = detail::SumOf(RefDraw());
    if (previous < 0 || ref < previous - detail::SumChangeWindow || ref > previous + detail::SumChangeWindow)
        return 0;
    keys[0] = TStatKey::FromInts(detail::SumOf(Draw()) - previous);
    return 1;
}

QString TstSumTrend::ValueToText(const TStatDraw &v) const {
    const int direction = v.Key.D(1);
    return direction == 0 ? QStringLiteral("=") : (direction > 0 ? QStringLiteral("+") : QStringLiteral("-"));
}

void TstSumTrend::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TKeyedStat::EnumAllValues(lastIdx, values);
    for (int direction : {0, 1, -1})
        AddListed(values, TStatKey::FromInts(direction));
}

int TstSumTrend::GraphValue(const TComb &numbers, int drawIdx) {
    return detail::Direction(detail::SumOf(ReadDraw(drawIdx - 1, false)), detail::SumOf(numbers));
}

int TstSumTrend::DrawKeysOf(int drawIdx, TStatKey *keys) const {
    const int previous = PreviousSum(Draws(), drawIdx);
    if (previous < 0 || previous != detail::SumOf(RefDraw())) return 0;
    keys[0] = TStatKey::FromInts(detail::Direction(previous, detail::SumOf(Draw())));
    return 1;
}

} // namespace lot
