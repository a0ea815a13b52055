// libFuzzer harness for stake records read from a stakes file: arbitrary
// bytes as records, through the grid's cell texts, the delete conditions and
// the check against a draw; and the same bytes as the numbers typed into the
// stake dialog. Violated invariants abort.

#include "core/Codec1251.h"
#include "core/CoreHelpers.h"
#include "stakes/StakeRec.h"
#include "stakes/StakesChecker.h"
#include "stats/StatList.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace lot;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

const TStatList &Registry() {
    static TStatList registry(nullptr);
    return registry;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    TDrawRec draw;
    draw.DrawNumber = 7;
    const uint8_t mains[CombSize] = {3, 11, 17, 25, 40, 44};
    std::copy(mains, mains + CombSize, draw.Numbers);

    for (size_t at = 0; at + sizeof(TStakeRec) <= size; at += sizeof(TStakeRec)) {
        TStakeRec rec;
        std::memcpy(static_cast<void *>(&rec), data + at, sizeof rec);
        for (int c = -1; c <= StakeColumnCount; ++c)
            (void)StakeCellText(rec, c);
        Check(StakeNumberCount(rec) >= 0 && StakeNumberCount(rec) <= 8);
        for (int condition = 0; condition < StakeConditionCount; ++condition)
            (void)StakeConditionHolds(condition, 3, rec.Overlaps.Count);
        if (!IsCheckCandidate(rec)) continue;
        const TStakeRec checked = TStakesChecker::Checked(rec, draw, Registry());
        Check(checked.Checked == 1);
        Check(checked.Overlaps.Count >= 0 && checked.Overlaps.Count <= CombSize);
        for (int i = 0; i < checked.Overlaps.Count; ++i)
            Check(InDraw(checked.Overlaps.Numbers[i], draw));
        Check(std::equal(mains, mains + CombSize, checked.DrawResult));
        Check(std::memcmp(&checked.Comment, &rec.Comment, sizeof rec.Comment) == 0);
    }

    // The same bytes typed into the stake dialog.
    const QString text = FromCp1251(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    (void)StakeNumbersSum(text);
    TNumberSet numbers;
    if (ParseStakeNumbers(text, numbers)) {
        Check(numbers.Count == CombSize);
        for (int i = 0; i < CombSize; ++i) {
            Check(IsValidNumber(numbers.Numbers[i]));
            Check(i == 0 || numbers.Numbers[i - 1] < numbers.Numbers[i]);
        }
    }
    return 0;
}
