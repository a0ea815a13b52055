#include "catalogue/CatalogueCodec.h"
#include "catalogue/CatalogueReply.h"
#include "core/Errors.h"

#include <gtest/gtest.h>

#include <QTimeZone>

using namespace lot;

namespace {

struct TEscapeCase {
    int Byte;
    const char *Escaped;
};

class EscapeTest : public ::testing::TestWithParam<TEscapeCase> {};

TEST_P(EscapeTest, EveryEscapedByteHasItsSequenceAndComesBack) {
    const TEscapeCase &c = GetParam();
    const QByteArray raw(1, char(c.Byte));
    EXPECT_EQ(CatalogueEscapeBytes(raw), QByteArray(c.Escaped));
    EXPECT_EQ(CatalogueUnescape(c.Escaped), raw);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, EscapeTest,
    ::testing::Values(TEscapeCase{0, "\\0"}, TEscapeCase{1, "\\1"}, TEscapeCase{2, "\\2"},
                      TEscapeCase{3, "\\3"}, TEscapeCase{4, "\\4"}, TEscapeCase{5, "\\5"},
                      TEscapeCase{6, "\\6"}, TEscapeCase{7, "\\a"}, TEscapeCase{8, "\\b"},
                      TEscapeCase{9, "\\t"}, TEscapeCase{10, "\\n"}, TEscapeCase{11, "\\v"},
                      TEscapeCase{12, "\\f"}, TEscapeCase{13, "\\r"}, TEscapeCase{27, "\\e"},
                      TEscapeCase{'"', "\\\""}, TEscapeCase{'\'', "\\'"}, TEscapeCase{'?', "\\?"},
                      TEscapeCase{'\\', "\\\\"}));

TEST(Escape, OtherBytesStayAndTextGoesThroughTheAnsiCodePage) {
    for (int b = 0; b < 256; ++b) {
        if (b <= 13 || b == 27 || b == '"' || b == '\'' || b == '?' || b == '\\') continue;
        const QByteArray raw(1, char(b));
        EXPECT_EQ(CatalogueEscapeBytes(raw), raw) << b;
    }
    // "Я" is 0xDF in Windows-1251.
    EXPECT_EQ(CatalogueEscape(QStringLiteral("Я \"ok\"\r\n")), QByteArray("\xDF \\\"ok\\\"\\r\\n"));
}

TEST(Escape, UnescapeRefusesWhatNoClientWrites) {
    for (const char *bad : {"abc\\", "\\x41", "\\7", "\\u0041"})
        EXPECT_THROW(CatalogueUnescape(bad), EError) << bad;
}

TEST(Form, FieldsKeepTheirOrderAndArePercentEncoded) {
    const TFormFields fields{{"del_mode", "0"},
                             {"title", CatalogueEscape(QStringLiteral("a b&c=d"))},
                             {"clist", "QQ+/=="},
                             {"empty", ""}};
    EXPECT_EQ(FormBody(fields), QByteArray("del_mode=0&title=a%20b%26c%3Dd&clist=QQ%2B%2F%3D%3D&empty="));
}

TEST(Base64, StandardAlphabetAndStrictDecoding) {
    EXPECT_EQ(Base64(QByteArray("\xfb\xff\xfe", 3)), QByteArray("+//+"));
    EXPECT_EQ(FromBase64("0J/RgNC40LLQtdGC"), QStringLiteral("Привет").toUtf8());
    EXPECT_THROW(FromBase64("ab$d"), EError);
}

TEST(Dates, UtcTextBecomesLocalTimeAndBack) {
    const QDateTime t = CatalogueDate(QStringLiteral("2026-12-05 21:07:09"));
    EXPECT_EQ(t.toUTC(), QDateTime(QDate(2026, 12, 5), QTime(21, 7, 9), Qt::UTC));
    EXPECT_EQ(t.timeSpec(), Qt::LocalTime);
    EXPECT_EQ(CatalogueDateText(t), QStringLiteral("2026-12-05 21:07:09"));
    EXPECT_FALSE(CatalogueDate(QString()).isValid());
    EXPECT_EQ(CatalogueDateText(QDateTime()), QString());
    for (const char *bad :
         {"2026-12-05", "2026-13-05 21:07:09", "2026-12-05 25:07:09", "2026-12-05T21:07:0x"})
        EXPECT_THROW(CatalogueDate(QString::fromLatin1(bad)), EConvertError) << bad;
}

TEST(Languages, AbbreviationsOfTheTable) {
    EXPECT_EQ(LanguageAbbreviation(1049), QStringLiteral("RUS"));
    EXPECT_EQ(LanguageAbbreviation(1033), QStringLiteral("ENU"));
    EXPECT_EQ(LanguageAbbreviation(7), QStringLiteral("7"));
    EXPECT_EQ(ScriptLanguages().first().first, 1049);
}

// ---- the reply reader ------------------------------------------------------------------------

TEST(Reply, NoResultOrAnEmptyOneGivesNoRows) {
    for (const char *body : {"", "<html>nothing</html>", "<result></result>", "<RESULT>  </Result>"})
        EXPECT_TRUE(ReadReply(body).isEmpty()) << body;
}

TEST(Reply, TagsMatchWithoutRegardToCaseAndTheFirstCounts) {
    const QList<TReplyRow> rows = ReadReply(
        "<Result><ROW><Id> 12 </ID><id>13</id></row><row><TITLE>0J/RgNC40LLQtdGC</title></ROW></result>");
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].Integer(QStringLiteral("id")), 12);
    EXPECT_EQ(rows[1].Base64Utf8(QStringLiteral("title")), QStringLiteral("Привет"));
    EXPECT_EQ(rows[1].Raw(QStringLiteral("missing")), QByteArray());
}

TEST(Reply, MissingClosingTagsRaise) {
    for (const char *body : {"<result><row><id>1</id></row>", "<result><row><id>1</id></result>",
                             "<result><row><id>1</row></result>"}) {
        EXPECT_THROW(
            {
                for (const TReplyRow &row : ReadReply(body))
                    row.Integer(QStringLiteral("id"));
            },
            EError)
            << body;
    }
}

TEST(Reply, AnErrorRowFailsTheWholeReply) {
    try {
        ReadReply("<result><row><id>1</id></row><row><error>Нет доступа</error></row></result>");
        FAIL() << "no error";
    } catch (const EError &e) {
        EXPECT_EQ(e.Message(), CatalogueErrorText(QStringLiteral("Нет доступа")));
    }
    EXPECT_EQ(ReadReply("<result><row><error></error><id>1</id></row></result>").size(), 1);
}

TEST(Reply, ElementsDecodeAsTheirCallSays) {
    QByteArray body = "<result><row><ansi>";
    body += "\xCF\xF0\xE8"; // "При" in Windows-1251
    body += "</ansi><utf>";
    body += QStringLiteral("При").toUtf8();
    body += "</utf><utf2>";
    // "х" ends in byte 0x85 and "Р" in 0xA0, which a Unicode trim would take for blanks.
    body += QStringLiteral("Ох").toUtf8() + "</utf2><utf3> " + QStringLiteral("Р").toUtf8() +
            " </utf3><q>\"a\"\"b\"</q>";
    body += "<n>x1</n><d>3,25</d><bad>1e999</bad><when>2026-01-02 03:04:05</when></row></result>";
    const TReplyRow row = ReadReply(body).first();
    EXPECT_EQ(row.Ansi(QStringLiteral("ansi")), QStringLiteral("При"));
    EXPECT_EQ(row.Utf8(QStringLiteral("utf")), QStringLiteral("При"));
    EXPECT_EQ(row.Utf8(QStringLiteral("utf2")), QStringLiteral("Ох"));
    EXPECT_EQ(row.Utf8(QStringLiteral("utf3")), QStringLiteral("Р"));
    EXPECT_EQ(row.Raw(QStringLiteral("q")), QByteArray("a\"b"));
    EXPECT_THROW(row.Integer(QStringLiteral("n")), EConvertError);
    EXPECT_THROW(row.Integer(QStringLiteral("missing")), EConvertError);
    EXPECT_EQ(row.IntegerOr(QStringLiteral("n"), 7), 7);
    EXPECT_DOUBLE_EQ(row.Decimal(QStringLiteral("d")), 3.25);
    EXPECT_DOUBLE_EQ(row.Decimal(QStringLiteral("bad")), 0.0);
    EXPECT_DOUBLE_EQ(row.Decimal(QStringLiteral("n")), 0.0);
    EXPECT_EQ(row.Date(QStringLiteral("when")).toUTC().toString(Qt::ISODate),
              QStringLiteral("2026-01-02T03:04:05Z"));
}

} // namespace
