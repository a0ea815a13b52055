#pragma once
/// @file Draws CSV files: ";"-separated Windows-1251 text with CR LF line
/// ends, one draw per line, in a 10-field form (draw number;date;six main
/// numbers;two supplementary numbers) and a 9-field form without the draw
/// number. Export writes the 10-field form, oldest draw first.

#include "core/Lottery.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace lot {

class TDrawsArchive;

/// Upper bound of an imported CSV file (64 MiB, millions of draws); a larger
/// file is refused before it is read.
inline constexpr qint64 MaxDrawsCsvBytes = 64 * 1024 * 1024;

/// What an import did with the non-empty lines of the file.
struct TCsvImportResult {
    int Added = 0;      ///< draws appended to the archive
    int Duplicates = 0; ///< lines whose draw number is already in the archive
    int Skipped = 0;    ///< wrong field count, draw number <= 0, numbers outside 1..45
};

/// How one CSV line converts to a draw.
enum class TCsvLineKind {
    Draw,          ///< a draw (its number may still be <= 0 or a duplicate)
    BadFieldCount, ///< neither 9 nor 10 fields
    BadNumbers,    ///< a main or supplementary number outside 1..45 (or not an integer)
};

/// Splits one line into fields: leading blanks and control characters are
/// skipped; a field starting with a double quote runs to the matching closing
/// quote (two double quotes inside stand for one; an unclosed quote runs to
/// the end of the line); any other field runs up to the next ";", blank or
/// control character; blanks after a field are skipped and a ";" then ends
/// it. Two consecutive ";" give an empty field, and a ";" that is the last
/// character of the line gives a trailing empty field.
QStringList SplitCsvLine(const QString &line);

/// Converts split fields to a draw. In the 9-field form the draw number is
/// `archiveCount` + 1; in the 10-field form it is field 1 (0 when not an
/// integer). The date text is cut to 11 characters.
TCsvLineKind CsvFieldsToDraw(const QStringList &fields, int archiveCount, TDrawRec &draw);

/// Appends the draws of CSV text (already decoded) to the archive. A draw is
/// appended when its number is > 0 and not yet in the archive, including
/// draws appended earlier from the same text. Lines empty after trimming are
/// ignored. Nothing is saved.
TCsvImportResult ImportDrawsCsvText(TDrawsArchive &archive, const QString &text);

/// Reads a Windows-1251 CSV file (a UTF-8 or UTF-16 byte order mark selects
/// that encoding instead) and imports it as ImportDrawsCsvText does. Raises
/// EError with the file error text when the file cannot be read; draws
/// appended before a failure stay in the archive.
TCsvImportResult ImportDrawsCsv(TDrawsArchive &archive, const QString &fileName);

/// One 10-field export line without the line end:
/// 4012;"5 Dec 2026";3;11;17;25;40;44;7;29.
QString DrawToCsvLine(const TDrawRec &draw);

/// The whole export file image: one line per draw, oldest first, CR LF,
/// Windows-1251.
QByteArray DrawsToCsvBytes(const TDrawsArray &draws);

/// Writes the archive as a CSV file through a temporary file and a rename;
/// raises EError with the file error text on failure (the old file stays).
void ExportDrawsCsv(const TDrawsArchive &archive, const QString &fileName);

} // namespace lot
