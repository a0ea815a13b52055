// TextToComb reads clipboard and file text: anything may arrive. It either
// raises EError or gives six bytes whose text form reads back the same.

#include "core/Codec1251.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QString &text : {QString::fromUtf8(bytes), lot::FromCp1251(bytes)}) {
        try {
            const lot::TComb comb = lot::TextToComb(text);
            if (!(lot::TextToComb(lot::CombToText(comb)) == comb)) std::abort();
            if (!(lot::TextToComb(lot::CombToSpacedText(comb)) == comb)) std::abort();
        } catch (const lot::EError &) {
            // The expected answer to a text without exactly six words.
        }
    }
    return 0;
}
