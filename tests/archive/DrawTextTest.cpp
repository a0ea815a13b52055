#include "archive/DrawText.h"

#include "ArchiveTestUtil.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace lot;
using lot::test::MakeDraw;
using lot::test::SameRecord;

TEST(ParseDrawNumbersText, DialogRule) {
    struct Case {
        QString text;
        bool ok;
    };
    const Case cases[] = {
        {"3;11;17;25;40;44;7;29", true},
        {"3,11,17,25,40,44,7,44", true},        // a supplementary number may repeat a main one
        {"3;11;17;25;40;44;7;7", true},         // ... or the other supplementary number
        {" 3 ; 11,17;25 ;40; 44;7 ;29 ", true}, // blanks around words, both separators
        {"45;1;2;3;4;5;45;1", true},
        {"3;11;17;25;40;40;7;29", false}, // a repeated main number
        {"3;3;17;25;40;44;7;29", false},
        {"3;11;17;25;40;46;7;29", false}, // out of range
        {"0;11;17;25;40;44;7;29", false},
        {"-3;11;17;25;40;44;7;29", false},
        {"3;11;17;25;40;44;0;29", false},
        {"3;11;17;25;40;44;7;46", false},
        {"3;11;17;25;40;44;7", false},      // seven words
        {"3;11;17;25;40;44;7;29;1", false}, // nine words
        {"3;11;17;25;40;44;7;29;", false},  // a trailing separator makes a ninth, empty word
        {"3;;17;25;40;44;7;29", false},     // an empty word counts as 0
        {"3;x;17;25;40;44;7;29", false},    // a non-integer counts as 0
        {"3;11;17;25;40;44;7;y", false},
        {"3 11 17 25 40 44 7 29", false}, // blanks do not separate
        {"3;11;17;25;40;44;7.5;29", false},
        {"0;0;0;0;0;0;0;0", false},
        {"", false},
    };
    for (const Case &c : cases) {
        TDrawRec draw = MakeDraw(4012, {1, 2, 3, 4, 5, 6}, {7, 8}, "5 Dec 2026");
        const TDrawRec before = draw;
        EXPECT_EQ(ParseDrawNumbersText(c.text, draw), c.ok) << c.text.toStdString();
        if (!c.ok) {
            EXPECT_TRUE(SameRecord(draw, before)) << "failure leaves the record: " << c.text.toStdString();
        }
    }
}

TEST(ParseDrawNumbersText, FillsTheNumbersInTheOrderTyped) {
    TDrawRec draw = MakeDraw(4012, {1, 2, 3, 4, 5, 6}, {7, 8}, "5 Dec 2026");
    ASSERT_TRUE(ParseDrawNumbersText("44,40;25,17;11,3;29,7", draw));
    EXPECT_TRUE(SameRecord(draw, MakeDraw(4012, {44, 40, 25, 17, 11, 3}, {29, 7}, "5 Dec 2026")));
}

TEST(DrawNumbersToEditText, MainsThenSupplementaryNumbers) {
    EXPECT_EQ(DrawNumbersToEditText(TDrawRec{}), QStringLiteral("0;0;0;0;0;0;0;0"));
    const TDrawRec draw = MakeDraw(1, {3, 11, 17, 25, 40, 44}, {7, 29});
    EXPECT_EQ(DrawNumbersToEditText(draw), QStringLiteral("3;11;17;25;40;44;7;29"));
    TDrawRec back;
    ASSERT_TRUE(ParseDrawNumbersText(DrawNumbersToEditText(draw), back));
    EXPECT_EQ(std::memcmp(back.Numbers, draw.Numbers, 8), 0);
}
