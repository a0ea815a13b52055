#pragma once
// Reads an exported .xlsx file back through an independent reader (openpyxl,
// tests/export/xlsx_cells.py): per sheet its name, its frozen cell and its
// rows of cells written "n:12", "s:text" or "-", with "@RRGGBB" for a fill.

#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace lot::test {

struct TReadSheet {
    QString Name;
    QString Frozen;
    QList<QStringList> Rows;
};

/// The file's sheets; empty with `error` set when the reader failed.
inline QList<TReadSheet> ReadXlsx(const QString &file, QString *error = nullptr) {
    QProcess reader;
    reader.start(QStringLiteral(XLSX_READER_PYTHON), {QStringLiteral(XLSX_READER_SCRIPT), file});
    QList<TReadSheet> sheets;
    if (!reader.waitForFinished(120000) || reader.exitStatus() != QProcess::NormalExit ||
        reader.exitCode() != 0) {
        if (error) *error = QString::fromUtf8(reader.readAllStandardError()) + reader.errorString();
        return sheets;
    }
    const QStringList lines = QString::fromUtf8(reader.readAllStandardOutput()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.startsWith(QStringLiteral("#sheet "))) {
            sheets.append({line.mid(7), {}, {}});
        } else if (line.startsWith(QStringLiteral("#frozen ")) && !sheets.isEmpty()) {
            sheets.last().Frozen = line.mid(8);
        } else if (!line.isEmpty() && !sheets.isEmpty()) {
            sheets.last().Rows.append(line.split(QLatin1Char('\t')));
        }
    }
    return sheets;
}

/// The text a read cell shows: a number with the decimals of its number
/// format, a text as it is, an empty cell empty.
inline QString CellText(const QString &cell) {
    const QString body = cell.section(QLatin1Char('@'), 0, 0);
    const QString value = body.section(QLatin1Char('#'), 0, 0);
    const QString format = body.section(QLatin1Char('#'), 1);
    if (value.startsWith(QStringLiteral("n:")) && format.startsWith(QStringLiteral("0.")))
        return QString::number(value.mid(2).toDouble(), 'f', int(format.size()) - 2);
    return value == QStringLiteral("-") ? QString() : value.mid(2);
}

/// The cell's fill "RRGGBB", empty without one.
inline QString CellFill(const QString &cell) {
    return cell.section(QLatin1Char('@'), 1);
}

} // namespace lot::test
