// Text forms of combinations, draws and number sets; dates.

#include "core/CoreHelpers.h"
#include "core/Errors.h"

#include <gtest/gtest.h>

using namespace lot;

namespace {

TComb Comb(std::initializer_list<int> numbers) {
    TComb c;
    int i = 0;
    for (int n : numbers)
        c[i++] = uint8_t(n);
    return c;
}

TDrawRec Draw(int number, std::initializer_list<int> main, std::initializer_list<int> extra,
              const QString &date) {
    TDrawRec d;
    d.DrawNumber = number;
    int i = 0;
    for (int n : main)
        d.Numbers[i++] = uint8_t(n);
    i = 0;
    for (int n : extra)
        d.Extra[i++] = uint8_t(n);
    SetDrawDateText(d, date);
    return d;
}

const TComb Sample = Comb({3, 11, 17, 25, 40, 44});

} // namespace

TEST(TextForms, CombinationTexts) {
    EXPECT_EQ(CombToText(Sample), "3;11;17;25;40;44");
    EXPECT_EQ(CombToSpacedText(Sample), "03 11 17 25 40 44");
    // Stored order is kept, never sorted.
    EXPECT_EQ(CombToText(Comb({44, 3, 40, 11, 25, 17})), "44;3;40;11;25;17");
}

TEST(TextForms, TextToCombAcceptsEverySeparator) {
    const TComb expected = Comb({1, 2, 3, 4, 5, 6});
    for (const char *text :
         {"1 2 3 4 5 6", "1,2,3,4,5,6", "01-02-03-04-05-06", "1|2|3|4|5|6", "1.2.3.4.5.6", "1:2:3:4:5:6",
          "1;2;3;4;5;6", "1\t2\t3\t4\t5\t6", "  ;1 ,, 2--3 | 4.5 : 6;; ", "1, 2; 3 - 4 | 5\t 6"})
        EXPECT_EQ(TextToComb(QString::fromUtf8(text)), expected) << text;
}

TEST(TextForms, TextToCombKeepsOrderAndDuplicates) {
    EXPECT_EQ(TextToComb("45 1 45 2 3 9"), Comb({45, 1, 45, 2, 3, 9}));
}

TEST(TextForms, TextToCombRejectsWrongWordCount) {
    for (const QString &text : {QString("1 2 3 4 5"), QString("1 2 3 4 5 6 7"), QString(""), QString(" ;,- "),
                                QString("1 2 3 4 5 6 7 8 9 10 11 12 13")}) {
        try {
            TextToComb(text);
            ADD_FAILURE() << "no error for " << text.toStdString();
        } catch (const EError &e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Некорректная комбинация: \"%1\"!").arg(text));
        }
    }
}

TEST(TextForms, TextToCombBadWordsBecomeZero) {
    // A non-integer or an out-of-byte value must never wrap into a valid number.
    const TComb c = TextToComb("1 2 3 4 5 x");
    EXPECT_EQ(c, Comb({1, 2, 3, 4, 5, 0}));
    EXPECT_FALSE(IsValidComb(c));
    EXPECT_EQ(TextToComb("1 2 3 4 5 301"), Comb({1, 2, 3, 4, 5, 0}));
    EXPECT_EQ(TextToComb("1 2 3 4 5 99999999999999"), Comb({1, 2, 3, 4, 5, 0}));
    EXPECT_EQ(TextToComb("1 2 3 4 5 46"), Comb({1, 2, 3, 4, 5, 46}));
    EXPECT_FALSE(IsValidComb(Comb({1, 2, 3, 4, 5, 46})));
    EXPECT_TRUE(IsValidComb(Sample));
}

TEST(TextForms, DrawTexts) {
    const TDrawRec d = Draw(4012, {3, 11, 17, 25, 40, 44}, {7, 29}, "5 Dec 2026");
    EXPECT_EQ(DrawValuesText(d), "3;11;17;25;40;44 e:7;29");
    EXPECT_EQ(DrawToText(d), QStringLiteral("Тираж № 4012 от 5 Dec 2026, значения: 3;11;17;25;40;44 e:7;29"));
    EXPECT_EQ(DrawToComb(d), Sample);
}

TEST(TextForms, DrawDateIsCutAndClamped) {
    TDrawRec d;
    SetDrawDateText(d, "15 Dec 2026 and more");
    EXPECT_EQ(d.DrawDate.Length, 11);
    EXPECT_EQ(DrawDateText(d), "15 Dec 2026");
    // A hostile length byte from a file must not read past the record.
    d.DrawDate.Length = 200;
    EXPECT_EQ(DrawDateText(d).size(), 11);
    SetDrawDateText(d, "");
    EXPECT_EQ(DrawDateText(d), "");
}

TEST(TextForms, NumberSetsAndStakeKinds) {
    TNumberSet s = CombToNumberSet(Sample);
    EXPECT_EQ(s.Count, 6);
    EXPECT_EQ(NumberSetToText(s, ", "), "3, 11, 17, 25, 40, 44");
    s.Count = 2;
    EXPECT_EQ(NumberSetToText(s, ";"), "3;11");
    s.Count = 1000; // corrupt count: at most eight numbers are read
    EXPECT_EQ(NumberSetToText(s, " ").split(' ').size(), 8);

    const std::pair<int, const char *> kinds[] = {
        {0, ""}, {1, "Вручную"}, {2, "Регуляр"}, {3, "Сценарий"}, {4, "Система"}, {5, ""}, {-1, ""}};
    for (const auto &[kind, name] : kinds)
        EXPECT_EQ(StakeKindName(kind), QString::fromUtf8(name)) << kind;
}

TEST(Dates, DrawTextBothWays) {
    const struct {
        QDate date;
        const char *text;
    } cases[] = {{QDate(2027, 1, 1), "1 Jan 2027"},    {QDate(2026, 12, 5), "5 Dec 2026"},
                 {QDate(2026, 12, 15), "15 Dec 2026"}, {QDate(2024, 2, 29), "29 Feb 2024"},
                 {QDate(1999, 5, 31), "31 May 1999"},  {QDate(2010, 9, 9), "9 Sep 2010"}};
    for (const auto &c : cases) {
        EXPECT_EQ(DateToDrawText(c.date), c.text);
        EXPECT_EQ(DrawTextToDate(c.text), c.date) << c.text;
    }
}

TEST(Dates, EnglishMonthsWhateverTheLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_EQ(DateToDrawText(QDate(2026, 3, 8)), "8 Mar 2026");
    QLocale::setDefault(saved);
}

TEST(Dates, ReadingIsLenientAboutCaseAndBlanks) {
    EXPECT_EQ(DrawTextToDate("  1 jan 2027 "), QDate(2027, 1, 1));
    EXPECT_EQ(DrawTextToDate("15 DEC 2026"), QDate(2026, 12, 15));
    EXPECT_TRUE(DrawTextToDate("").isNull());
    EXPECT_TRUE(DrawTextToDate("   ").isNull());
}

TEST(Dates, MalformedTextRaisesConvertError) {
    for (const char *text : {"1 Foo 2027", "31 Feb 2026", "x Jan 2027", "1 Jan 20x7", "Jan 2027",
                             "0 Jan 2027", "32 Jan 2027", "1-Jan-2027x", "1 Jan 0000"})
        EXPECT_THROW(DrawTextToDate(text), EConvertError) << text;
}

TEST(Dates, InvalidDateGivesEmptyText) {
    EXPECT_EQ(DateToDrawText(QDate()), "");
    EXPECT_EQ(DateToDrawText(QDate(-5, 1, 1)), "");
    EXPECT_EQ(DateToDrawText(QDate(12000, 1, 1)), "");
}

TEST(Dates, IntForm) {
    EXPECT_EQ(DateToInt(QDate(2026, 12, 5)), 20261205);
    EXPECT_EQ(IntToDate(20261205), QDate(2026, 12, 5));
    EXPECT_EQ(DateToInt(QDate()), 0);
    EXPECT_FALSE(IntToDate(0).isValid());
    EXPECT_FALSE(IntToDate(20261332).isValid());
    EXPECT_FALSE(IntToDate(-1).isValid());
}
