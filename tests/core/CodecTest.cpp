// Windows-1251 codec and line handling of the text files.

#include "core/Codec1251.h"

#include <gtest/gtest.h>

using namespace lot;

namespace {

// The upper half of the code page as the reference converters give it,
// with the unassigned 0x98 kept as U+0098.
const char16_t UpperHalf[] =
    u"ЂЃ‚ѓ„…†‡€‰Љ‹ЊЌЋЏђ‘’“”•–—\u0098™љ›њќћџ\u00A0ЎўЈ¤Ґ¦§Ё©Є«¬\u00AD®Ї°±Ііґµ¶·ё№є»јЅѕї"
    u"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя";

QByteArray AllBytes(int from, int to) {
    QByteArray bytes;
    for (int b = from; b <= to; ++b)
        bytes.append(char(b));
    return bytes;
}

} // namespace

TEST(Codec1251, DecodesTheWholeTable) {
    static_assert(sizeof UpperHalf / sizeof UpperHalf[0] == 129);
    EXPECT_EQ(FromCp1251(AllBytes(0x80, 0xFF)), QString::fromUtf16(UpperHalf, 128));
    const QByteArray ascii = AllBytes(0x00, 0x7F);
    EXPECT_EQ(FromCp1251(ascii), QString::fromLatin1(ascii));
}

TEST(Codec1251, EveryByteRoundTrips) {
    const QByteArray all = AllBytes(0x00, 0xFF);
    EXPECT_EQ(ToCp1251(FromCp1251(all)), all);
}

TEST(Codec1251, EncodesRussianText) {
    EXPECT_EQ(ToCp1251(QStringLiteral("Тираж № 5, ёЁ")), QByteArray("\xD2\xE8\xF0\xE0\xE6 \xB9 5, \xB8\xA8"));
}

TEST(Codec1251, UnknownCharactersBecomeOneQuestionMark) {
    // Latin-1 ä, Greek alpha, CJK, and an emoji (a surrogate pair: one character).
    EXPECT_EQ(ToCp1251(QString::fromUtf8("a\u00E4b\u03B1c\u4E2Dd\U0001F600e")), QByteArray("a?b?c?d?e"));
    // A lone surrogate is not a character either.
    EXPECT_EQ(ToCp1251(QString(QChar(0xD800)) + "x"), QByteArray("?x"));
}

TEST(Codec1251, SplitAndJoinLines) {
    const struct {
        QString text;
        QStringList lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"\n", {""}},
        {"a\n\r", {"a", ""}}, // LF then a lone CR: two terminators
        {"\r\r\n", {"", ""}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SplitLines(c.text), c.lines) << c.text.toStdString();

    EXPECT_EQ(JoinLinesCrLf({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(JoinLinesCrLf({}), "");
    EXPECT_EQ(SplitLines(JoinLinesCrLf({"x", "", "y"})), (QStringList{"x", "", "y"}));
}
