#include "download/ResultsPage.h"

#include "archive/DrawsArchive.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "download/TextExtract.h"

namespace lot {

namespace {

// The markers of the page, each the exact text between the outer quotes.
const QString BlockStart = QStringLiteral("\"drawsPast\"");
const QString BlockEnd = QStringLiteral("}},");
const QString DrawMarker = QStringLiteral("\"drawNo\"");
const QString NumberStart = QStringLiteral(":");
const QString NumberEnd = QStringLiteral(",");
const QString DateStart = QStringLiteral("\"drawDate\":\"");
const QString DateEnd = QStringLiteral("T");
const QString SetsStart = QStringLiteral("\"numberSets\":[");
const QString SetsEnd = QStringLiteral(",\"divisions\":");
const QString MainName = QStringLiteral("\"name\":\"Main numbers\"");
const QString ExtraName = QStringLiteral("\"name\":\"Supplementary\"");
const QString Divisions = QStringLiteral("\"divisions\"");
const QString ValueStart = QStringLiteral("\"number\":");
const QString ValueEnd = QStringLiteral(",");

const char *const MonthNames[12] = {"january", "february", "march",     "april",   "may",      "june",
                                    "july",    "august",   "september", "october", "november", "december"};

int ToIntOrZero(const QString &text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? v : 0;
}

} // namespace

QString ResultsMonthText(int32_t yyyymm) {
    const int month = yyyymm % 100;
    const QString name =
        month >= 1 && month <= 12 ? QString::fromLatin1(MonthNames[month - 1]) : QStringLiteral("error");
    return name + QLatin1Char('-') + QStringLiteral("%1").arg(yyyymm / 100, 4, 10, QLatin1Char('0'));
}

QString ResultsMonthPath(int32_t yyyymm) {
    return QStringLiteral("/brantlee-draw/results/") + ResultsMonthText(yyyymm);
}

int32_t NextResultsMonth(int32_t yyyymm) {
    return yyyymm % 100 >= 12 ? (yyyymm / 100 + 1) * 100 + 1 : yyyymm + 1;
}

TResultsPage ReadResultsPage(const QString &page, int32_t earliest) {
    TResultsPage result;
    QString block = TextBetween(page, BlockStart, BlockEnd, TBetweenMode::Raise);
    if (block.isEmpty()) return result;
    int previous = 0;
    for (;;) {
        const QString segment = CutSegment(block, DrawMarker);
        if (segment.isEmpty()) break;
        const int number = ToIntOrZero(TextBetween(segment, NumberStart, NumberEnd, TBetweenMode::Raise));
        QString dateText = TextBetween(segment, DateStart, DateEnd, TBetweenMode::Raise);
        dateText.remove(QLatin1Char('-'));
        bool ok = false;
        const int date = dateText.toInt(&ok);
        if (!ok)
            throw EError(
                Format(QStringLiteral("Некорректная дата тиража № %d: \"%s\"!"), {number, dateText}));
        if (number != previous && date >= earliest) {
            TDrawRec draw;
            draw.DrawNumber = number;
            SetDrawDateText(draw, DateToDrawText(IntToDate(date)));
            const QString sets = TextBetween(segment, SetsStart, SetsEnd, TBetweenMode::ToTheEnd) + SetsEnd;
            QString main = TextBetween(sets, MainName, ExtraName, TBetweenMode::Raise);
            for (int i = 0; i < CombSize; ++i) {
                const int n = ToIntOrZero(CutBetween(main, ValueStart, ValueEnd, TBetweenMode::Raise));
                draw.Numbers[i] = uint8_t(IsValidNumber(n) ? n : 0);
            }
            QString extra = TextBetween(sets, ExtraName, Divisions, TBetweenMode::Raise);
            for (int i = 0; i < ExtraCount; ++i) {
                const int n = ToIntOrZero(CutBetween(extra, ValueStart, ValueEnd, TBetweenMode::Raise));
                draw.Extra[i] = uint8_t(IsValidNumber(n) ? n : 0);
            }
            // A draw the archive could not hold is left out, as in a CSV
            // import; a number outside the game reads as 0 above, which
            // HasValidNumbers refuses.
            if (draw.DrawNumber < 1 || !HasValidNumbers(draw) || DrawDateText(draw).isEmpty())
                ++result.Skipped;
            else
                result.Draws.push_back(draw);
        }
        previous = number;
    }
    return result;
}

} // namespace lot
