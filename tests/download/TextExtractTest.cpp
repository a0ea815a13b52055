// The marker helpers of the results page reader.

#include "download/TextExtract.h"
#include "core/Errors.h"

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}

namespace lot {
namespace {

TEST(TextExtract, TextBetweenByMode) {
    struct TCase {
        const char *Text, *Start, *End;
        TBetweenMode Mode;
        const char *Expected;
    };
    const TCase cases[] = {
        {"a[ 12 ]b", "[", "]", TBetweenMode::Raise, "12"},         // trimmed
        {"xx", "[", "]", TBetweenMode::Raise, ""},                 // no start marker: empty, no error
        {"a[12", "[", "]", TBetweenMode::Empty, ""},               // no end marker, mode 1
        {"a[ 12 ", "[", "]", TBetweenMode::ToTheEnd, "12"},        // mode 2 takes the rest
        {"<\"quoted\">", "<", ">", TBetweenMode::Raise, "quoted"}, // quotes removed
        {"<\"say \"\"hi\"\"\">", "<", ">", TBetweenMode::Raise, "say \"hi\""}, // doubled quote becomes one
        {"<\"a\"b\">", "<", ">", TBetweenMode::Raise, "ab"},                   // a single inner quote goes
        {"<\">", "<", ">", TBetweenMode::Raise, "\""},                         // one quote is no pair
        {"\"DRAWNO\":7,", "\"drawNo\"", ",", TBetweenMode::Raise, ":7"},       // markers ignore case
        {"[1][2]", "[", "]", TBetweenMode::Raise, "1"},                        // the first pair
    };
    for (const TCase &c : cases)
        EXPECT_EQ(TextBetween(QString::fromUtf8(c.Text), QString::fromUtf8(c.Start), QString::fromUtf8(c.End),
                              c.Mode),
                  QString::fromUtf8(c.Expected))
            << c.Text;
}

TEST(TextExtract, AMissingEndMarkerRaisesInModeZero) {
    try {
        TextBetween(QStringLiteral("head[tail"), QStringLiteral("["), QStringLiteral("]"),
                    TBetweenMode::Raise);
        FAIL() << "no error";
    } catch (const EError &e) {
        EXPECT_EQ(
            e.Message(),
            QStringLiteral("Не удалось найти пару идентификаторов \"[\" - \"]\" в тексте\r\r[head[tail]!"));
    }
    // A long text is quoted by its start only.
    const QString page = QStringLiteral("[") + QString(5000, QLatin1Char('x'));
    try {
        TextBetween(page, QStringLiteral("["), QStringLiteral("]"), TBetweenMode::Raise);
        FAIL() << "no error";
    } catch (const EError &e) {
        EXPECT_LT(e.Message().size(), 400);
        EXPECT_TRUE(e.Message().endsWith(QStringLiteral("...]!"))) << e.Message().toStdString();
    }
}

TEST(TextExtract, CutBetweenWalksAList) {
    QString list = QStringLiteral("{\"number\":3,\"n\":1},{\"number\":11,\"n\":1},{\"number\":40}");
    const QString start = QStringLiteral("\"number\":"), end = QStringLiteral(",");
    EXPECT_EQ(CutBetween(list, start, end, TBetweenMode::Raise), QStringLiteral("3"));
    EXPECT_EQ(CutBetween(list, start, end, TBetweenMode::Raise), QStringLiteral("11"));
    EXPECT_EQ(list, QStringLiteral("\"n\":1},{\"number\":40}"));
    EXPECT_EQ(CutBetween(list, start, end, TBetweenMode::ToTheEnd), QStringLiteral("40}"));
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(CutBetween(list, start, end, TBetweenMode::Raise), QString());
    QString untouched = QStringLiteral("no markers");
    CutBetween(untouched, start, end, TBetweenMode::Raise);
    EXPECT_EQ(untouched, QStringLiteral("no markers"));
}

TEST(TextExtract, CutSegmentSplitsAtEachMarker) {
    QString text = QStringLiteral("x#a# \"b\" #c");
    EXPECT_EQ(CutSegment(text, QStringLiteral("#")), QStringLiteral("a"));
    EXPECT_EQ(text, QStringLiteral("# \"b\" #c"));
    EXPECT_EQ(CutSegment(text, QStringLiteral("#")), QStringLiteral("b"));
    EXPECT_EQ(CutSegment(text, QStringLiteral("#")), QStringLiteral("c"));
    EXPECT_TRUE(text.isEmpty());
    EXPECT_EQ(CutSegment(text, QStringLiteral("#")), QString());
}

} // namespace
} // namespace lot
