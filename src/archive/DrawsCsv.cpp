#include "archive/DrawsCsv.h"

#include "archive/DrawsArchive.h"
#include "core/Codec1251.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"
#include "core/Format.h"

#include "core/AtomicFile.h"

#include <QFile>
#include <QSet>
#include <QStringDecoder>

namespace lot {

namespace {

/// Blanks and every control character (including NUL) separate fields.
bool IsBlank(QChar c) {
    return c.unicode() <= 32;
}

int ToIntDef(const QString &text, int fallback = 0) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? value : fallback;
}

QString DecodeCsvBytes(const QByteArray &bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder decoder(QStringConverter::Utf16LE);
        return decoder.decode(QByteArrayView(bytes).sliced(2));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(QStringConverter::Utf16BE);
        return decoder.decode(QByteArrayView(bytes).sliced(2));
    }
    return FromCp1251(bytes);
}

} // namespace

QStringList SplitCsvLine(const QString &line) {
    QStringList fields;
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (i < n && IsBlank(line[i]))
        ++i;
    while (i < n) {
        QString field;
        if (line[i] == u'"') {
            ++i;
            while (i < n) {
                if (line[i] == u'"') {
                    if (i + 1 < n && line[i + 1] == u'"') {
                        field += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i++];
            }
        } else {
            const qsizetype start = i;
            while (i < n && !IsBlank(line[i]) && line[i] != u';')
                ++i;
            field = line.mid(start, i - start);
        }
        fields << field;
        while (i < n && IsBlank(line[i]))
            ++i;
        if (i < n && line[i] == u';') {
            // Only a ";" that is the very last character adds an empty
            // field; "a; " ends after "a".
            if (i + 1 == n) fields << QString();
            ++i;
            while (i < n && IsBlank(line[i]))
                ++i;
        }
    }
    return fields;
}

TCsvLineKind CsvFieldsToDraw(const QStringList &fields, int archiveCount, TDrawRec &draw) {
    qsizetype first; // index of the date field
    if (fields.size() == 10)
        first = 1;
    else if (fields.size() == 9)
        first = 0;
    else
        return TCsvLineKind::BadFieldCount;

    TDrawRec result;
    result.DrawNumber = first == 1 ? ToIntDef(fields[0]) : archiveCount + 1;
    SetDrawDateText(result, fields[first]);
    // The range check happens on the full integer: narrowing 257 to a byte
    // would otherwise turn it into a valid-looking 1.
    for (int k = 0; k < CombSize + ExtraCount; ++k) {
        const int value = ToIntDef(fields[first + 1 + k]);
        if (!IsValidNumber(value)) return TCsvLineKind::BadNumbers;
        if (k < CombSize)
            result.Numbers[k] = uint8_t(value);
        else
            result.Extra[k - CombSize] = uint8_t(value);
    }
    draw = result;
    return TCsvLineKind::Draw;
}

TCsvImportResult ImportDrawsCsvText(TDrawsArchive &archive, const QString &text) {
    TCsvImportResult result;
    // A set answers "already in the archive" exactly as FindDrawIndex would,
    // without a full scan for every new draw of a large file.
    QSet<int> present;
    present.reserve(archive.Count());
    for (const TDrawRec &draw : archive.Draws())
        present.insert(draw.DrawNumber);

    for (const QString &line : SplitLines(text)) {
        if (line.trimmed().isEmpty()) continue;
        TDrawRec draw;
        if (CsvFieldsToDraw(SplitCsvLine(line), archive.Count(), draw) != TCsvLineKind::Draw ||
            draw.DrawNumber <= 0) {
            ++result.Skipped;
            continue;
        }
        if (present.contains(draw.DrawNumber)) {
            ++result.Duplicates;
            continue;
        }
        archive.Append(draw);
        present.insert(draw.DrawNumber);
        ++result.Added;
    }
    return result;
}

TCsvImportResult ImportDrawsCsv(TDrawsArchive &archive, const QString &fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) throw EError(file.errorString());
    if (file.size() > MaxDrawsCsvBytes)
        throw EError(Format("Размер файла больше %d МБ.", {int(MaxDrawsCsvBytes / (1024 * 1024))}));
    const QByteArray bytes = file.read(MaxDrawsCsvBytes + 1);
    if (file.error() != QFileDevice::NoError) throw EError(file.errorString());
    if (bytes.size() > MaxDrawsCsvBytes)
        throw EError(Format("Размер файла больше %d МБ.", {int(MaxDrawsCsvBytes / (1024 * 1024))}));
    return ImportDrawsCsvText(archive, DecodeCsvBytes(bytes));
}

QString DrawToCsvLine(const TDrawRec &draw) {
    QString date = DrawDateText(draw);
    date.replace(u'"', QStringLiteral("\"\""));
    // A line break inside the date would split the record in two.
    date.replace(u'\r', u' ');
    date.replace(u'\n', u' ');
    QString line = QString::number(draw.DrawNumber) + QStringLiteral(";\"") + date + u'"';
    for (uint8_t n : draw.Numbers)
        line += u';' + QString::number(n);
    for (uint8_t n : draw.Extra)
        line += u';' + QString::number(n);
    return line;
}

QByteArray DrawsToCsvBytes(const TDrawsArray &draws) {
    QStringList lines;
    lines.reserve(qsizetype(draws.size()));
    for (const TDrawRec &draw : draws)
        lines << DrawToCsvLine(draw);
    return ToCp1251(JoinLinesCrLf(lines));
}

void ExportDrawsCsv(const TDrawsArchive &archive, const QString &fileName) {
    WriteFileAtomically(fileName, DrawsToCsvBytes(archive.Draws()));
}

} // namespace lot
