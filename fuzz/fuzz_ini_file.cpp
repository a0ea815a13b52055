// The ini store reads settings files that other programs and people edit.
// Any text must load, and what it writes must load back to the same text.

#include "core/Codec1251.h"
#include "core/IniFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    lot::TIniFile ini;
    ini.LoadFromText(lot::FromCp1251(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))));
    const QStringList sections = ini.Sections();
    for (const QString &section : sections)
        for (const QString &key : ini.Keys(section)) {
            ini.ReadInteger(section, key, 0);
            ini.ReadFloat(section, key, 0);
        }
    if (!sections.isEmpty()) {
        ini.WriteString(sections.first(), QStringLiteral("Key"), QStringLiteral("value"));
        ini.DeleteKey(sections.last(), QStringLiteral("Other"));
    }
    const QString text = ini.ToText();
    lot::TIniFile again;
    again.LoadFromText(text);
    if (again.ToText() != text) std::abort();
    return 0;
}
