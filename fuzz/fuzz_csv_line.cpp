// libFuzzer harness for the draws CSV reader: field splitting, the line to
// draw conversion and the import of a whole text. Violated invariants abort.

#include "archive/DrawsArchive.h"
#include "archive/DrawsCsv.h"
#include "core/Codec1251.h"
#include "core/CoreHelpers.h"

#include <QSet>

#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace lot;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool SameRecord(const TDrawRec &a, const TDrawRec &b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void CheckLine(const QString &line) {
    const QStringList fields = SplitCsvLine(line);
    TDrawRec draw;
    if (CsvFieldsToDraw(fields, 7, draw) != TCsvLineKind::Draw) return;
    Check(HasValidNumbers(draw));
    Check(draw.DrawDate.Length <= 11);
    if (fields.size() == 9) Check(draw.DrawNumber == 8);

    // What the export writes for this draw reads back as the same draw.
    const QString date = DrawDateText(draw);
    if (date.contains(u'\r') || date.contains(u'\n')) return;
    TDrawRec again;
    Check(CsvFieldsToDraw(SplitCsvLine(DrawToCsvLine(draw)), 0, again) == TCsvLineKind::Draw);
    Check(SameRecord(draw, again));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = FromCp1251(bytes);
    CheckLine(text);

    TDrawsArchive archive;
    archive.Append(TDrawRec{}); // a draw numbered 0 is never matched by a line
    const TCsvImportResult result = ImportDrawsCsvText(archive, text);
    int lines = 0;
    for (const QString &line : SplitLines(text)) {
        if (!line.trimmed().isEmpty()) ++lines;
        CheckLine(line);
    }
    Check(result.Added >= 0 && result.Duplicates >= 0 && result.Skipped >= 0);
    Check(result.Added + result.Duplicates + result.Skipped == lines);
    Check(archive.Count() == 1 + result.Added);
    QSet<int> numbers;
    for (int i = 1; i < archive.Count(); ++i) {
        const TDrawRec &d = archive.At(i);
        Check(HasValidNumbers(d));
        Check(d.DrawNumber > 0);
        Check(!numbers.contains(d.DrawNumber));
        numbers.insert(d.DrawNumber);
        Check(archive.FindDrawIndex(d.DrawNumber) == i);
    }
    return 0;
}
