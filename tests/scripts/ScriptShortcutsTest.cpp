// The shortcuts of a run (the cached source list, the undo copy taking the
// list's storage, the kept statistics tables, the fast matchers on every
// core) against the plain run: the same stakes file, byte for byte, for the
// benchmark's line, for RAND, for EXCL with its buffer and for CURR.

#include "ScriptsTestUtil.h"

#include "archive/DemoDraws.h"

#include <gtest/gtest.h>
#include <QDate>

namespace lot {
namespace {

using test::TScriptWorkspace;

/// A test run of script over offsets count .. 1 of a 400-draw demo archive,
/// the 8008 combinations of 1..16 as the source, with or without the shortcuts.
QByteArray StakesOfTest(const QStringList &script, int count, bool shortcuts, TScriptRunResult &result) {
    TScriptWorkspace w;
    w.SetGeneration(cgmOnlyOf, QStringLiteral("1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16"));
    w.SetDraws(MakeDemoDraws(400, 11, QDate(2026, 1, 3)));
    w.Open();
    w.Scripts().Runner().SetShortcuts(shortcuts ? TScriptShortcuts() : TScriptShortcuts::None());
    result = w.Test(script, count, 4242);
    EXPECT_TRUE(w.Host.Errors().isEmpty()) << w.Host.Errors().join('|').toStdString();
    return w.StakesBytes();
}

TEST(ScriptShortcuts, TheOptimisedRunWritesTheStakesOfThePlainOne) {
    const struct {
        const char *name;
        QStringList script;
    } cases[] = {
        {"benchmark line",
         {"FULL:0#FIRST|TSD1#NUMS:100,200,300#LMV:1-3;1#ST:3|TSD1#EVEN:100#LNO:#SF:1| | | | | |"}},
        {"random", {"FULL:0#RAND|TSD1#NUMS:100,200,300#LMV:1-3;1#ST:3|TSD1#EVEN:100#LNO:#SF:1| | | | | |"}},
        {"excluded draws, bottom-up, multi-selection, new only",
         {"EXCL:30#LAST#NEX|BMF2#NUMS:50,150#LLV:2,4#ST:2|TSD1#SUMS:60#CLV:1#SV:2| | | | | |",
          "EXCL:30#RAND|BSD1#SMAL:20-40;10#LNO:#SZ:1| | | | | | |"}},
        {"current list, several lines",
         {"FULL:0#NONE|TSD1#NUMS:100#LMV:3#ST:2| | | | | | |",
          "CURR:0#LAST|TSD1#EVEN:100#LNO:#ST:1| | | | | | |",
          "CURR:0#RAND|TMD1#NUMS:30#LVA:1,2,3#SF:1| | | | | | |"}},
    };
    for (const auto &c : cases) {
        TScriptRunResult fast, plain;
        const QByteArray a = StakesOfTest(c.script, 4, true, fast);
        const QByteArray b = StakesOfTest(c.script, 4, false, plain);
        EXPECT_FALSE(fast.Failed) << c.name << ": " << fast.Message.toStdString();
        EXPECT_GT(fast.Stakes, 0) << c.name;
        EXPECT_EQ(fast.Stakes, plain.Stakes) << c.name;
        EXPECT_TRUE(a == b) << c.name << ": the stakes files differ";
    }
}

} // namespace
} // namespace lot
