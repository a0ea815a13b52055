// ParseIntList reads what the user types for counts and levels. It must
// never raise, never build a huge list, and a list it gives must read back
// from its own text form.

#include "core/CoreHelpers.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<int> values = lot::ParseIntList(text);
    if (values.size() > qMax<qsizetype>(100000, text.size())) std::abort();
    if (!values.isEmpty() && lot::ParseIntList(lot::IntListToText(values, QStringLiteral(";"))) != values)
        std::abort();
    return 0;
}
