// Draw dates come from the draws file, CSV imports and results pages. A bad
// text raises EConvertError; a good one gives a date that writes back to
// text reading the same date.

#include "core/Codec1251.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"
#include "core/Money.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString text = lot::FromCp1251(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    try {
        const QDate date = lot::DrawTextToDate(text);
        if (!date.isNull() && lot::DrawTextToDate(lot::DateToDrawText(date)) != date) std::abort();
    } catch (const lot::EConvertError &) {
    }
    lot::TMoney money;
    if (lot::TMoney::TryParse(text, money)) {
        lot::TMoney back;
        if (!lot::TMoney::TryParse(money.ToIniText(), back) || back != money) std::abort();
        money.ToText();
    }
    return 0;
}
