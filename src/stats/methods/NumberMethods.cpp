#include "stats/methods/NumberMethods.h"

namespace lot {

namespace {
/// Values 1..45 with count 0.
void ListNumbers(TStatDraw &work, TStatDrawArray &values) {
    for (int n = 1; n <= NumberCount; ++n) {
        work.Key = TStatKey::FromWords(uint16_t(n));
        AddValue(values, work, false);
    }
}
} // namespace

void TstValues::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TKeyedStat::EnumAllValues(lastIdx, values);
    ListNumbers(m_work, values);
}

void TstSmallValues::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TCustomStat::EnumAllValues(lastIdx, values);
}

void TstPosVal::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TKeyedStat::EnumAllValues(lastIdx, values);
    ListNumbers(m_work, values);
}

int TstPosExt::DrawKeysOf(int, TStatKey *keys) const {
    const int n = m_param >= 1 && m_param <= ExtraCount ? Draw().Extra[m_param - 1] : 0;
    if (n == 0) return 0;
    keys[0] = TStatKey::FromWords(uint16_t(n));
    return 1;
}

int TstPosExt::GraphValue(const TComb &, int drawIdx) {
    const TDrawRec d = ReadDraw(drawIdx, false);
    return m_param >= 1 && m_param <= ExtraCount ? d.Extra[m_param - 1] : 0;
}

} // namespace lot
