// System files and the system dialog's field come from the catalogue, other
// users and the clipboard. Laying lines over chosen numbers either raises
// EError or gives combinations of six distinct chosen numbers; the
// normalisation either raises or gives lines that normalise to themselves,
// and a laid system's guarantee table agrees with the plain count.

#include "core/Codec1251.h"
#include "core/Errors.h"
#include "systems/SystemFiles.h"
#include "systems/SystemGuarantee.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) return 0;
    const int n = 7 + data[0] % 8; // 7..14 keeps the plain count quick
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const QString text = lot::FromCp1251(bytes);
    QByteArray identity;
    for (int i = 1; i <= n; ++i)
        identity.append(char(i));
    try {
        const std::vector<lot::TComb> combs = lot::ExpandSystemLines(lot::SystemContentLines(text), identity);
        for (const lot::TComb &c : combs) {
            uint64_t seen = 0;
            for (int i = 0; i < lot::CombSize; ++i) {
                if (c[i] < 1 || c[i] > n || (seen >> c[i] & 1)) std::abort();
                seen |= uint64_t(1) << c[i];
            }
        }
        if (combs.size() <= 64 && !(lot::GuaranteeTable(combs, n) == lot::GuaranteeTableBrute(combs, n)))
            std::abort();
    } catch (const lot::EError &) {
    }
    try {
        const lot::TNormalisedSystem once = lot::NormaliseSystemContent(text);
        const lot::TNormalisedSystem twice = lot::NormaliseSystemContent(once.Content);
        if (twice.Content != once.Content || twice.Count != once.Count || twice.Nums != once.Nums)
            std::abort();
    } catch (const lot::EError &) {
    }
    return 0;
}
