#include "stats/methods/OgnevMethods.h"

#include "core/Format.h"
#include "stats/methods/RepeatMethods.h"

namespace lot {

QString TstOgnev3::ValueToText(const TStatDraw &v) const {
    if (v.Key.W(4) == 2) return Format(QStringLiteral("%d (%d)"), {v.Key.W(1), v.Key.W(2)});
    return QString::number(v.Key.W(1));
}

int TstOgnev3::DrawKeysOf(int, TStatKey *keys) const {
    if (Draw().DrawNumber != RefDraw().DrawNumber) return 0;
    const detail::TOgnevNumber h = detail::OgnevNumber(DrawComb(), 2);
    int n = 0;
    keys[n++] =
        h.Pair ? TStatKey::FromWords(uint16_t(h.Value), 1, 0, 2) : TStatKey::FromWords(uint16_t(h.Value));
    const int f = h.Value;
    for (int g = f * f > NumberCount - 1 ? f * f : f * f * f; g > f && n < MaxKeys; g -= f)
        if (g >= 1 && g <= NumberCount) keys[n++] = TStatKey::FromWords(uint16_t(g));
    return n;
}

void TstOgnev3::DrawValues(int drawIdx, int lastIdx, bool sorted, TStatDrawArray &values,
                           TStatScratch &scratch, TLastValueArray &lastValues) {
    TCustomStat::DrawValues(drawIdx, lastIdx, sorted, values, scratch, lastValues);
    const uint64_t next = detail::NumberMask(ReadDraw(lastIdx + 1, false));
    TStatKey keys[MaxKeys];
    const int n = DrawKeysOf(drawIdx, keys);
    for (int i = 0; i < n; ++i) {
        const int w1 = keys[i].W(1);
        m_work.Key = keys[i];
        m_work.Count = w1 < 64 && (next >> w1) & 1 ? 1 : 0;
        AddValue(values, m_work, false);
    }
}

} // namespace lot
