#include "core/IniFile.h"

#include "core/AtomicFile.h"
#include "core/Codec1251.h"
#include "core/Errors.h"
#include "core/Format.h"

#include <QDir>
#include <QFile>

#include <cmath>
#include <limits>

namespace lot {

namespace {

bool SameName(const QString &a, const QString &b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The file cannot hold a line break inside a value; a raw one would start a
// new line that could even read back as another key or section.
QString OneLine(const QString &text) {
    QString s = text;
    s.replace('\r', ' ');
    s.replace('\n', ' ');
    return s;
}

bool ParseInt(const QString &input, int &out) {
    const QString text = input.trimmed();
    qsizetype pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negative = text[pos++] == '-';
    const QString body = text.mid(pos);
    bool ok = false;
    if (body.startsWith('$') || body.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const QString digits = body.mid(body.startsWith('$') ? 1 : 2);
        // Hex is a bit pattern: "$FFFFFFFF" is -1, as the classic reader has it.
        if (digits.isEmpty() || digits.size() > 8 || digits.startsWith('+') || digits.startsWith('-'))
            return false;
        const uint v = digits.toUInt(&ok, 16);
        if (!ok) return false;
        const int bits = int(v);
        out = negative ? int(0u - uint(bits)) : bits;
        return true;
    }
    if (body.isEmpty() || body.startsWith('+') || body.startsWith('-')) return false;
    const qlonglong v = body.toLongLong(&ok, 10);
    if (!ok) return false;
    const qlonglong signedValue = negative ? -v : v;
    if (signedValue < std::numeric_limits<int>::min() || signedValue > std::numeric_limits<int>::max())
        return false;
    out = int(signedValue);
    return true;
}

} // namespace

TIniFile::TIniFile(const QString &fileName) {
    Load(fileName);
}

void TIniFile::LoadForUpdate(const QString &fileName) {
    constexpr qint64 MaxSize = 16 * 1024 * 1024;
    QFile file(fileName);
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly))
            throw EError(QDir::toNativeSeparators(fileName) + QStringLiteral(": ") + file.errorString());
        if (file.size() > MaxSize)
            throw EError(Format(QStringLiteral("Файл \"%s\" слишком велик (%d байт)!"),
                                {QDir::toNativeSeparators(fileName), file.size()}));
    }
    Load(fileName);
}

void TIniFile::Load(const QString &fileName) {
    m_fileName = fileName;
    m_sections.clear();
    QFile file(fileName);
    // A missing or unreadable file reads as an empty store, as on Windows.
    if (file.open(QIODevice::ReadOnly)) LoadFromText(FromCp1251(file.readAll()));
}

void TIniFile::LoadFromText(const QString &text) {
    m_sections.clear();
    Section preamble;
    preamble.isPreamble = true;
    m_sections.push_back(preamble);
    for (const QString &line : SplitLines(text)) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith('[')) {
            Section section;
            qsizetype close = trimmed.indexOf(']');
            if (close < 0) close = trimmed.size();
            section.name = trimmed.mid(1, close - 1).trimmed();
            section.headerLine = line;
            m_sections.push_back(section);
            continue;
        }
        Entry entry;
        const qsizetype eq = trimmed.indexOf('=');
        if (m_sections.back().isPreamble || trimmed.startsWith(';') || eq <= 0) {
            entry.verbatim = true;
            entry.value = line;
        } else {
            entry.key = trimmed.left(eq).trimmed();
            entry.value = trimmed.mid(eq + 1).trimmed();
        }
        m_sections.back().entries.push_back(entry);
    }
    if (m_sections.front().entries.empty()) m_sections.erase(m_sections.begin());
}

QString TIniFile::ToText() const {
    QStringList lines;
    for (const Section &section : m_sections) {
        if (!section.isPreamble) lines << section.headerLine;
        for (const Entry &e : section.entries)
            lines << (e.verbatim ? e.value : e.key + '=' + e.value);
    }
    return JoinLinesCrLf(lines);
}

void TIniFile::Save() const {
    if (m_fileName.isEmpty()) throw EError(QStringLiteral("Не задано имя файла настроек!"));
    SaveAs(m_fileName);
}

void TIniFile::SaveAs(const QString &fileName) const {
    try {
        WriteFileAtomically(fileName, ToCp1251(ToText()));
    } catch (const EError &e) {
        throw EError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(fileName), e.Message()));
    }
}

const TIniFile::Section *TIniFile::FindSection(const QString &name) const {
    for (const Section &s : m_sections)
        if (!s.isPreamble && SameName(s.name, name)) return &s;
    return nullptr;
}

TIniFile::Section *TIniFile::FindSection(const QString &name) {
    return const_cast<Section *>(std::as_const(*this).FindSection(name));
}

bool TIniFile::SectionExists(const QString &section) const {
    return FindSection(section) != nullptr;
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const {
    if (const Section *s = FindSection(section))
        for (const Entry &e : s->entries)
            if (!e.verbatim && SameName(e.key, key)) return true;
    return false;
}

QStringList TIniFile::Sections() const {
    QStringList names;
    for (const Section &s : m_sections)
        if (!s.isPreamble && !names.contains(s.name, Qt::CaseInsensitive)) names << s.name;
    return names;
}

QStringList TIniFile::Keys(const QString &section) const {
    QStringList keys;
    if (const Section *s = FindSection(section))
        for (const Entry &e : s->entries)
            if (!e.verbatim && !keys.contains(e.key, Qt::CaseInsensitive)) keys << e.key;
    return keys;
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &def) const {
    if (const Section *s = FindSection(section))
        for (const Entry &e : s->entries)
            if (!e.verbatim && SameName(e.key, key)) return e.value;
    return def;
}

int TIniFile::ReadInteger(const QString &section, const QString &key, int def) const {
    int v = 0;
    return ParseInt(ReadString(section, key), v) ? v : def;
}

bool TIniFile::ReadBool(const QString &section, const QString &key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(const QString &section, const QString &key, double def) const {
    QString text = ReadString(section, key).trimmed();
    text.replace(',', '.');
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok && std::isfinite(v) ? v : def;
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value) {
    const QString cleanKey = OneLine(key).trimmed();
    const QString cleanValue = OneLine(value);
    Section *s = FindSection(section);
    if (!s) {
        Section created;
        created.name = OneLine(section).trimmed();
        created.headerLine = '[' + created.name + ']';
        m_sections.push_back(created);
        s = &m_sections.back();
    }
    for (Entry &e : s->entries) {
        if (!e.verbatim && SameName(e.key, cleanKey)) {
            e.value = cleanValue;
            return;
        }
    }
    // After the last non-blank line, so blank lines that separate this
    // section from the next one stay where they are.
    auto pos = s->entries.end();
    while (pos != s->entries.begin() && std::prev(pos)->verbatim && std::prev(pos)->value.trimmed().isEmpty())
        --pos;
    s->entries.insert(pos, Entry{cleanKey, cleanValue, false});
}

void TIniFile::WriteInteger(const QString &section, const QString &key, int value) {
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString &section, const QString &key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::WriteFloat(const QString &section, const QString &key, double value) {
    WriteString(section, key, QString::number(value, 'g', QLocale::FloatingPointShortest));
}

void TIniFile::EraseSection(const QString &section) {
    std::erase_if(m_sections, [&](const Section &s) { return !s.isPreamble && SameName(s.name, section); });
}

void TIniFile::DeleteKey(const QString &section, const QString &key) {
    if (Section *s = FindSection(section))
        std::erase_if(s->entries, [&](const Entry &e) { return !e.verbatim && SameName(e.key, key); });
}

} // namespace lot
