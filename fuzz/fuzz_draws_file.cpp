// libFuzzer harness for the draws file reader: arbitrary bytes as a draws
// file image, then the archive operations and the CSV round trip on whatever
// was kept. Violated invariants abort.

#include "archive/DrawsArchive.h"
#include "archive/DrawsCsv.h"
#include "core/Codec1251.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"

#include <QSet>

#include <cstdint>
#include <cstdlib>

using namespace lot;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    TDrawsArchive archive;
    bool raised = false;
    try {
        archive.LoadDrawsFromBytes(bytes);
    } catch (const EError &) {
        raised = true;
    }
    const qsizetype whole = bytes.size() / qsizetype(sizeof(TDrawRec));
    Check(archive.Count() <= whole);
    Check(raised == (archive.Count() != whole || bytes.size() % qsizetype(sizeof(TDrawRec)) != 0));

    bool unique = true;
    bool csvSafe = true;
    QSet<int> numbers;
    for (const TDrawRec &d : archive.Draws()) {
        Check(HasValidNumbers(d));
        Check(d.DrawDate.Length <= 11);
        if (d.DrawNumber <= 0 || numbers.contains(d.DrawNumber)) unique = false;
        numbers.insert(d.DrawNumber);
        const QString date = DrawDateText(d);
        if (date.contains(u'\r') || date.contains(u'\n')) csvSafe = false;
        const int index = archive.FindDrawIndex(d.DrawNumber);
        Check(index >= 0 && archive.At(index).DrawNumber == d.DrawNumber);
    }
    for (int position = -1; position <= archive.Count(); ++position) {
        (void)archive.NextDrawNumber(position);
        (void)archive.DrawNumbersAt(position);
        try {
            (void)archive.DrawDateIntAt(position, 1);
        } catch (const EError &) {
        }
    }

    // A kept archive saves to an image that loads back unchanged.
    const QByteArray image = TDrawsArchive::DrawsToBytes(archive.Draws());
    TDrawsArchive reloaded;
    reloaded.LoadDrawsFromBytes(image);
    Check(TDrawsArchive::DrawsToBytes(reloaded.Draws()) == image);

    // And its CSV export imports into an empty archive as the same archive.
    if (unique && csvSafe) {
        TDrawsArchive imported;
        const TCsvImportResult result =
            ImportDrawsCsvText(imported, FromCp1251(DrawsToCsvBytes(archive.Draws())));
        Check(result.Added == archive.Count());
        Check(TDrawsArchive::DrawsToBytes(imported.Draws()) == image);
    }
    return 0;
}
