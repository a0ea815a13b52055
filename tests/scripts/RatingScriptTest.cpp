// Rating rows back into script lines: the text rules, the grammar check, and
// a line whose stakes were rated giving the same stakes again.

#include "ScriptsTestUtil.h"

#include "scripts/RatingScript.h"
#include "scripts/ScriptLine.h"
#include "stakes/Ratings.h"
#include "stats/StatsController.h"

#include <gtest/gtest.h>

namespace lot {
namespace {

using test::TScriptWorkspace;

TEST(RatingScriptTest, CommentsBecomeLines) {
    struct Case {
        const char *comment, *line;
    } cases[] = {
        // Three fields joined by " + ": those three, five single spaces, the trimmed prefix.
        {"01.002: мой  @  FULL#RAND + TSD#NUMS:100#LNO:#SF:1 + TSD#EVEN:10#LNO:#SF:1",
         "FULL#RAND|TSD#NUMS:100#LNO:#SF:1|TSD#EVEN:10#LNO:#SF:1| | | | | |01.002: мой"},
        // No separator: the whole text, an empty comment field.
        {"Ставка \"вручную\"", "Ставка \"вручную\"| | | | | | | |"},
        // Only the first "@" separates.
        {"a @ FULL#ALL + X@Y", "FULL#ALL|X@Y| | | | | | |a"},
        // Eight fields already: nothing appended.
        {"@ A + B + C + D + E + F + G + H", "A|B|C|D|E|F|G|H|"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RatingToScriptLine(QString::fromUtf8(c.comment)), QString::fromUtf8(c.line)) << c.comment;

    const QString line = RatingToScriptLine(QString::fromUtf8(cases[0].comment));
    EXPECT_EQ(LineOptions(line), "FULL#RAND");
    EXPECT_EQ(LineFilter(line, 2), "TSD#EVEN:10#LNO:#SF:1");
    EXPECT_EQ(LineFilter(line, 3), "");
    EXPECT_EQ(LineComments(line), "01.002: мой");
}

TEST(RatingScriptTest, OnlyLinesWithAFilterAreAccepted) {
    TDrawsArchive archive;
    TStatList list{&archive};
    list.RegisterAll();
    EXPECT_TRUE(IsRatingScriptLine(list, RatingToScriptLine("01.001: @ FULL#RAND + TSD#NUMS:10#LNO:#SF:1")));
    EXPECT_FALSE(IsRatingScriptLine(list, RatingToScriptLine("Ставка \"вручную\"")));
    EXPECT_FALSE(IsRatingScriptLine(list, RatingToScriptLine("02.000: @ FULL#LAST")));
}

TEST(RatingScriptTest, ARatedLineComesBackAndMakesTheSameStakes) {
    TScriptWorkspace w;
    w.SetGeneration(cgmOnlyOf, QStringLiteral("1;2;3;4;5;6;7;8"));
    w.SetDraws(12);
    w.Open();
    const QString line = JoinScriptLine("FULL:0#FIRST", {"TSD1#NUMS:10#LNO:#SF:1"}, "мой");
    const TScriptRunResult first = w.Test({line}, 3);
    ASSERT_FALSE(first.Failed);
    const auto before = w.Stakes();
    ASSERT_EQ(before.size(), 3u);

    const TRatings &ratings = w.Ws().Stakes().Ratings();
    ASSERT_EQ(ratings.Count(), 1);
    EXPECT_EQ(ratings.At(0).Stakes, 3);
    const QString comment = RatingComment(ratings.At(0));
    EXPECT_EQ(comment, StakeComment(before[0]));

    w.Host.Clear();
    int added = 0;
    ASSERT_TRUE(w.Scripts().AddRatingLines({comment, QStringLiteral("Ставка \"вручную\"")}, &added));
    EXPECT_EQ(added, 1);
    ASSERT_EQ(w.Host.Messages.size(), 1);
    EXPECT_EQ(w.Host.Messages[0].Text,
              QStringLiteral("Строку\r\rСтавка \"вручную\"\r\rневозможно добавить в сценарий!"));
    const QString back = w.Scripts().Lines().last();
    EXPECT_EQ(LineComments(back), StakeComment(before[0]).section(QLatin1Char('@'), 0, 0).trimmed());

    ASSERT_TRUE(w.Ws().Stakes().StakeClear());
    ASSERT_FALSE(w.Test({back}, 3).Failed);
    const auto after = w.Stakes();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(TScriptWorkspace::Numbers(after[i]), TScriptWorkspace::Numbers(before[i])) << i;
        EXPECT_EQ(after[i].DrawNumber, before[i].DrawNumber) << i;
    }
}

} // namespace
} // namespace lot
