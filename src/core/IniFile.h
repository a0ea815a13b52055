#pragma once
/// @file Ini store with Windows ini semantics: sections, key=value, raw
/// values (no quoting or escaping), case-insensitive section and key names,
/// order kept. Files are Windows-1251 with CR LF and saved atomically.

#include <QString>
#include <QStringList>
#include <vector>

namespace lot {

class TIniFile {
public:
    TIniFile() = default;
    /// Loads fileName when it exists (a missing file is an empty store).
    explicit TIniFile(const QString &fileName);

    const QString &FileName() const { return m_fileName; }
    void Load(const QString &fileName);
    /// Load for a file that will be written back: the store reads an
    /// unreadable file as empty, and writing that back would drop every
    /// section another part owns, so a file that exists but cannot be read,
    /// or is larger than any settings file (16 MiB), raises EError instead.
    void LoadForUpdate(const QString &fileName);
    void LoadFromText(const QString &text);
    QString ToText() const;
    /// Writes the file through a temporary file renamed over the old one;
    /// raises EError with the system's text on failure.
    void Save() const;
    void SaveAs(const QString &fileName) const;

    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;
    QStringList Sections() const;
    QStringList Keys(const QString &section) const;

    QString ReadString(const QString &section, const QString &key, const QString &def = {}) const;
    /// Decimal, "$hex" or "0xhex"; def for a missing or malformed value.
    int ReadInteger(const QString &section, const QString &key, int def) const;
    bool ReadBool(const QString &section, const QString &key, bool def) const; ///< "0" false, other ints true
    /// Accepts '.' or ',' as decimal separator; def for a missing or malformed value.
    double ReadFloat(const QString &section, const QString &key, double def) const;

    /// Replaces the first occurrence in place or appends to the section
    /// (created at the end). Line breaks in the value become blanks, since
    /// the file has no way to hold them.
    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void WriteBool(const QString &section, const QString &key, bool value); ///< "1"/"0"
    void WriteFloat(const QString &section, const QString &key, double value);

    void EraseSection(const QString &section);
    void DeleteKey(const QString &section, const QString &key);

private:
    /// A key=value pair, or a line kept verbatim (comment, blank, other text).
    struct Entry {
        QString key, value;
        bool verbatim = false;
    };
    /// Lines before the first section header live in a section without a
    /// header line (isPreamble), which lookups never match.
    struct Section {
        QString name;
        QString headerLine;
        bool isPreamble = false;
        std::vector<Entry> entries;
    };
    const Section *FindSection(const QString &name) const;
    Section *FindSection(const QString &name);
    QString m_fileName;
    std::vector<Section> m_sections;
};

} // namespace lot
