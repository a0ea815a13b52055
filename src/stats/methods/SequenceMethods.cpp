#include "stats/methods/SequenceMethods.h"

namespace lot {

void TstSequenceLen::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TKeyedStat::EnumAllValues(lastIdx, values);
    AddListedWords(values, 1, CombSize);
}

void TstSequenceCnt::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TKeyedStat::EnumAllValues(lastIdx, values);
    AddListedWords(values, 0, CombSize / 2);
}

int TstSequenceCnt::GraphValue(const TComb &numbers, int) {
    return detail::LongRunCount(numbers, true);
}

void TstSequenceLenMax::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TKeyedStat::EnumAllValues(lastIdx, values);
    AddListedWords(values, 1, CombSize);
}

int TstSequenceLenMax::GraphValue(const TComb &numbers, int) {
    return detail::LongestRun(numbers, true);
}

} // namespace lot
