#include "systems/SystemFiles.h"

#include "core/AtomicFile.h"
#include "core/Codec1251.h"
#include "core/Errors.h"
#include "core/Format.h"

#include <algorithm>
#include <array>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace lot {

namespace {

QString Text(const char *utf8) {
    return QString::fromUtf8(utf8);
}

bool IsSeparator(QChar c) {
    if (c.unicode() > 127) return false;
    for (const char *s = SystemSeparators; *s; ++s)
        if (c == QLatin1Char(*s)) return true;
    return false;
}

int WordToInt(const QString &word) {
    bool ok = false;
    const int value = word.toInt(&ok);
    if (!ok) throw EConvertError(Format(Text("\"%s\" не является корректным целым числом!"), {word}));
    return value;
}

/// The six positions of each non-empty line, with its 1-based line number.
struct TPositionsLine {
    int Line = 0;
    std::array<int, CombSize> Positions{};
};

std::vector<TPositionsLine> ParsePositions(const QStringList &lines) {
    std::vector<TPositionsLine> result;
    result.reserve(size_t(lines.size()));
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList words = SystemLineWords(lines[i]);
        if (words.isEmpty()) continue;
        if (words.size() < CombSize)
            throw EError(Format(Text("Строка %d системы содержит меньше шести номеров: \"%s\""),
                                {i + 1, lines[i].trimmed()}));
        TPositionsLine line;
        line.Line = i + 1;
        for (int k = 0; k < CombSize; ++k)
            line.Positions[size_t(k)] = WordToInt(words[k]);
        result.push_back(line);
    }
    return result;
}

std::vector<TComb> LayOver(const std::vector<TPositionsLine> &lines, const QByteArray &chosen) {
    const int n = int(chosen.size());
    std::vector<TComb> combs;
    combs.reserve(lines.size());
    for (const TPositionsLine &line : lines) {
        TComb comb;
        uint64_t used = 0;
        for (int k = 0; k < CombSize; ++k) {
            const int p = line.Positions[size_t(k)];
            // A system whose numbers do not start at 1 names positions past N.
            if (p < 1 || p > n)
                throw EError(Format(Text("Строка %d системы содержит номер %d вне диапазона 1..%d!"),
                                    {line.Line, p, n}));
            if (used >> p & 1)
                throw EError(Format(Text("Строка %d системы содержит номер %d дважды!"), {line.Line, p}));
            used |= uint64_t(1) << p;
            comb[k] = uint8_t(chosen[p - 1]);
        }
        combs.push_back(comb);
    }
    return combs;
}

QStringList ReadSystemLines(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EError(Format(Text("Не удалось открыть файл \"%s\": %s"), {path, file.errorString()}));
    // A system file is a few thousand short lines; anything far larger is no system.
    constexpr qint64 MaxSize = 64 * 1024 * 1024;
    if (file.size() > MaxSize)
        throw EError(Format(Text("Файл \"%s\" слишком велик для файла системы!"), {path}));
    return SplitLines(FromCp1251(file.readAll()));
}

} // namespace

QString SystemsDir(const QString &dataDir) {
    return QDir(dataDir).filePath(QStringLiteral("Systems"));
}

QString SystemFileName(const tSystemInfo &info) {
    return Format(QStringLiteral("%d-%.2d-%d_%.4d.dat"),
                  {CombSize, int(info.Nums), int(info.Block), info.Id});
}

QString SystemFileMask(int n) {
    return Format(QStringLiteral("%d-%.2d-*_*.dat"), {CombSize, n});
}

QStringList SystemFilesFor(const QString &dir, int n) {
    return QDir(dir).entryList({SystemFileMask(n)}, QDir::Files, QDir::Name);
}

int SystemNumsOfFileName(const QString &fileName) {
    static const QRegularExpression re(QStringLiteral("^6-(\\d\\d)-\\d+_\\d+\\.dat$"),
                                       QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(QFileInfo(fileName).fileName());
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

QStringList SystemLineWords(const QString &line) {
    QStringList words;
    QString word;
    for (QChar c : line) {
        if (IsSeparator(c)) {
            if (!word.trimmed().isEmpty()) words << word.trimmed();
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.trimmed().isEmpty()) words << word.trimmed();
    return words;
}

TNormalisedSystem NormaliseSystemContent(const QString &text) {
    QStringList lines = SystemContentLines(text);
    int lo = 0, hi = 0;
    bool any = false;
    // From the last line to the first, as the field has always been walked:
    // the first bad word met is the one reported.
    for (int i = int(lines.size()) - 1; i >= 0; --i) {
        const QStringList words = SystemLineWords(lines[i].trimmed());
        if (words.size() != CombSize) {
            lines.removeAt(i);
            continue;
        }
        QStringList two;
        for (const QString &w : words) {
            const int v = WordToInt(w);
            two << Format(QStringLiteral("%.2d"), {v});
            lo = any ? std::min(lo, v) : v;
            hi = any ? std::max(hi, v) : v;
            any = true;
        }
        lines[i] = two.join(QLatin1Char(' '));
    }
    TNormalisedSystem result;
    result.Content = lines.join(QStringLiteral("\r\n"));
    result.Nums = any ? hi - lo + 1 : 0;
    result.Count = int(lines.size());
    return result;
}

TSystemField CheckSystemData(const tSystemData &data, QString *text) {
    const tSystemInfo &info = data.Info;
    struct TRule {
        bool Ok;
        TSystemField Field;
        const char *Text;
    } const rules[] = {
        {!info.Title.trimmed().isEmpty(), TSystemField::Title,
         "Название системы должно быть указано обязательно!"},
        {info.Nums >= CombSize + 1 && info.Nums <= NumberCount, TSystemField::Nums,
         "Указано недопустмое количество используемых чисел!"},
        {info.Block <= 5, TSystemField::Block, "Указан недопустмый размер блока!"},
        {!info.Author.trimmed().isEmpty(), TSystemField::Author,
         "Имя автора должно быть указано обязательно!"},
        {!info.Description.trimmed().isEmpty(), TSystemField::Description,
         "Описание системы должно быть указано обязательно!"},
        {!data.Content.trimmed().isEmpty(), TSystemField::Content,
         "Содержимое системы должно быть указано обязательно!"},
    };
    for (const TRule &rule : rules)
        if (!rule.Ok) {
            if (text) *text = Text(rule.Text);
            return rule.Field;
        }
    if (text) text->clear();
    return TSystemField::None;
}

QStringList SystemContentLines(const QString &content) {
    return SplitLines(content);
}

void SaveSystemFile(const QString &path, const QStringList &lines, const QDateTime &created) {
    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(dir)) throw EError(Format(Text("Не удалось создать папку \"%s\"!"), {dir}));
    WriteFileAtomically(path, ToCp1251(JoinLinesCrLf(lines)));
    if (!created.isValid()) return;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        throw EError(Format(Text("Не удалось открыть файл \"%s\": %s"), {path, file.errorString()}));
    if (!file.setFileTime(created, QFileDevice::FileModificationTime))
        throw EError(
            Format(Text("Не удалось установить время файла \"%s\": %s"), {path, file.errorString()}));
    // Not every file system keeps a creation time that can be set; the
    // last-write time is the one compared.
    (void)file.setFileTime(created, QFileDevice::FileBirthTime);
}

bool SystemFileOutOfDate(const QString &path, const QDateTime &created) {
    const QFileInfo info(path);
    if (!created.isValid() || !info.exists()) return false;
    return info.lastModified().toSecsSinceEpoch() != created.toSecsSinceEpoch();
}

QString SystemNotFoundText(int n) {
    return Format(Text("Система для %d чисел не найдена или не загружена на компьютер!"), {n});
}

QString SystemNotFoundBoxText(int n) {
    return SystemNotFoundText(n) +
           Text("\r\rПеред системной игрой необходимо предварительно загрузить системы на Ваш компьютер "
                "через меню \"Системы\" - \"Загрузить\".");
}

std::vector<TComb> ExpandSystemLines(const QStringList &lines, const QByteArray &chosen) {
    return LayOver(ParsePositions(lines), chosen);
}

TExpandedSystem ExpandSystemFrom(const QString &dir, const QByteArray &chosen) {
    const int n = int(chosen.size());
    const QStringList files = SystemFilesFor(dir, n);
    if (files.isEmpty()) throw ESystemNotFound(SystemNotFoundText(n));
    TExpandedSystem result;
    result.FilePath = QDir(dir).filePath(files.first());
    try {
        result.Combs = ExpandSystemLines(ReadSystemLines(result.FilePath), chosen);
    } catch (const EError &e) {
        throw EError(Format(Text("Ошибка загрузки комбинаций системы!\r\r%s"), {e.Message()}));
    }
    return result;
}

std::vector<TComb> ReadSystemPositions(const QString &path, int &n) {
    const std::vector<TPositionsLine> lines = ParsePositions(ReadSystemLines(path));
    if (n <= 0) {
        n = 0;
        for (const TPositionsLine &line : lines)
            for (int p : line.Positions)
                n = std::max(n, p);
    }
    n = std::min(n, int(NumberCount));
    QByteArray identity;
    for (int i = 1; i <= n; ++i)
        identity.append(char(i));
    return LayOver(lines, identity);
}

} // namespace lot
