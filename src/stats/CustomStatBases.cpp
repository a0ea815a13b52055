#include "stats/CustomStatBases.h"

#include "core/Format.h"

namespace lot {

QString TCustomGraphStat::ValueToText(const TStatDraw &v) const {
    return QString::number(v.Key.W(1));
}

int TCustomGraphStat::DrawGraphValue(int drawIdx, int lastIdx, bool sorted) {
    LoadDraws(drawIdx, lastIdx, sorted);
    return GraphValue(DrawComb(), drawIdx);
}

QString TCustomValuesStat::ValueToText(const TStatDraw &v) const {
    return QString::number(v.Key.W(1));
}

QString TCustomNumbersStat::ValueToText(const TStatDraw &v) const {
    return QString::number(v.Key.W(1));
}

QString TCustomRatioStat::ValueToText(const TStatDraw &v) const {
    const int k = v.Key.W(1);
    return QString::number(k) + QLatin1Char(':') + QString::number(CombSize - k);
}

int TCustomRatioStat::TextToValue(const QString &s) const {
    const qsizetype colon = s.indexOf(QLatin1Char(':'));
    return TCustomGraphStat::TextToValue(colon < 0 ? s : s.left(colon));
}

QString TCustomMaskStat::MaskText(int32_t mask, const QString &zero, const QString &one) {
    QString letters;
    for (int bit = CombSize - 1; bit >= 0; --bit)
        letters += (mask >> bit) & 1 ? one : zero;
    return Format(QStringLiteral("%s (%.3d)"), {letters, mask});
}

QString TCustomMaskStat::ValueToText(const TStatDraw &v) const {
    return MaskText(v.Key.D(1), ZeroLetter(), OneLetter());
}

int TCustomMaskStat::TextToValue(const QString &s) const {
    const QString one = OneLetter();
    int mask = 0;
    for (int i = 0; i < CombSize; ++i)
        mask = mask * 2 + (i < s.size() && QString(s[i]) == one ? 1 : 0);
    return mask;
}

void TCustomMaskStat::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TCustomStat::EnumAllValues(lastIdx, values);
    for (int mask = 0; mask < 64; ++mask) {
        m_work.Key = TStatKey::FromInts(mask);
        AddValue(values, m_work, false);
    }
}

} // namespace lot
