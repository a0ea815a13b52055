// libFuzzer harness for the results page reader and the body decoder: the
// marker walk over any text, the draws it keeps, and gzip/deflate bodies
// under the size limit. Violated invariants abort; EError is an answer.

#include "archive/DrawsArchive.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"
#include "download/HttpClient.h"
#include "download/ResultsPage.h"
#include "download/TextExtract.h"

#include <cstdint>
#include <cstdlib>

using namespace lot;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckPage(const QString &page, int32_t earliest) {
    try {
        const TResultsPage result = ReadResultsPage(page, earliest);
        Check(result.Skipped >= 0);
        for (const TDrawRec &d : result.Draws) {
            Check(d.DrawNumber >= 1);
            Check(HasValidNumbers(d));
            const QDate date = DrawTextToDate(DrawDateText(d));
            Check(date.isValid());
            Check(DateToInt(date) >= earliest);
        }
    } catch (const EError &) {
    }
    // The list walkers always make progress and never grow the text.
    QString rest = page;
    for (int i = 0; i < 1000 && !rest.isEmpty(); ++i) {
        const qsizetype before = rest.size();
        if (CutSegment(rest, QStringLiteral("\"drawNo\"")).isEmpty()) break;
        Check(rest.size() < before);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    CheckPage(QString::fromUtf8(bytes), data[0] & 1 ? 20000101 : 19860101);

    // The first byte also picks the encoding the body claims.
    static const char *const encodings[] = {"", "gzip", "deflate", "identity"};
    const qsizetype limit = 1 << 16;
    try {
        const QByteArray decoded = DecodeBody(bytes, encodings[(data[0] >> 1) & 3], limit);
        Check(decoded.size() <= limit);
    } catch (const EError &) {
    }
    return 0;
}
