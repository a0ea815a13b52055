// The grammar of script lines and their options, the captions of the script
// list, the script files with every kind of line end and the rule of adding
// one script file to another.

#include "scripts/ScriptLine.h"
#include "core/Codec1251.h"
#include "core/Errors.h"
#include "scripts/ScriptFile.h"

#include <gtest/gtest.h>
#include <ostream>
#include <QFile>
#include <QTemporaryDir>

inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}

namespace lot {
namespace {

QStringList Filters(std::initializer_list<const char *> texts) {
    QStringList list;
    for (const char *t : texts)
        list << QString::fromUtf8(t);
    return list;
}

// ---- lines ------------------------------------------------------------------------------

TEST(ScriptLine, JoinWritesBlanksForEmptySlotsAndTheComment) {
    EXPECT_EQ(JoinScriptLine("FULL:0#RAND", Filters({"TSD1#NUMS:1000#LNO:#SF:1"}), "my comment"),
              "FULL:0#RAND|TSD1#NUMS:1000#LNO:#SF:1| | | | | | |my comment");
    EXPECT_EQ(JoinScriptLine("FULL:0#RAND", {}, QString()), "FULL:0#RAND| | | | | | | |");
}

TEST(ScriptLine, ACommentOfBlanksIsNotWrittenAndReadsEmpty) {
    const QString line = JoinScriptLine("FULL:0#RAND", {}, "   ");
    EXPECT_EQ(line, "FULL:0#RAND| | | | | | | |");
    EXPECT_EQ(LineComments(line), QString());
}

TEST(ScriptLine, ASlotOfBlanksIsWrittenAsOneBlank) {
    EXPECT_EQ(JoinScriptLine("CURR:0#NONE", Filters({"  ", "TSD1#NUMS:10#LNO:#SF:1"}), "c"),
              "CURR:0#NONE| |TSD1#NUMS:10#LNO:#SF:1| | | | | |c");
}

TEST(ScriptLine, ReadsTheFieldsBack) {
    const QStringList filters =
        Filters({"TSD1#NUMS:1000#LNO:#SF:1", "", "BMF8#SUMS:100-500;100#WMV:10#ST:3"});
    const QString line = JoinScriptLine("EXCL:5#LAST#CLR#NEX", filters, "комментарий");
    EXPECT_EQ(LineOptions(line), "EXCL:5#LAST#CLR#NEX");
    EXPECT_EQ(LineFilter(line, 1), "TSD1#NUMS:1000#LNO:#SF:1");
    EXPECT_EQ(LineFilter(line, 2), QString());
    EXPECT_EQ(LineFilter(line, 3), "BMF8#SUMS:100-500;100#WMV:10#ST:3");
    for (int k = 4; k <= 7; ++k)
        EXPECT_EQ(LineFilter(line, k), QString()) << k;
    EXPECT_EQ(LineComments(line), "комментарий");
    EXPECT_EQ(LineFilter(line, 0), QString());
    EXPECT_EQ(LineFilter(line, 8), QString());
}

TEST(ScriptLine, ALineWithoutFiltersOrCommentReadsEmptySlots) {
    const QString line = "FULL:0#RAND| | | | | | | |";
    EXPECT_EQ(LineOptions(line), "FULL:0#RAND");
    for (int k = 1; k <= 7; ++k)
        EXPECT_EQ(LineFilter(line, k), QString());
    EXPECT_EQ(LineComments(line), QString());
}

TEST(ScriptLine, RunsOfBarsCountAsOneSeparator) {
    // Without the blanks the empty slots vanish and the comment moves up.
    const QString line = "FULL:0#RAND|TSD1#NUMS:10#LNO:#SF:1||||||comment";
    EXPECT_EQ(LineFilter(line, 1), "TSD1#NUMS:10#LNO:#SF:1");
    EXPECT_EQ(LineFilter(line, 2), "comment");
    EXPECT_EQ(LineComments(line), QString());
    EXPECT_EQ(ScriptLineFields("||a|||b||").size(), 2);
}

TEST(ScriptLine, ABarInsideAFilterShiftsTheFollowingFields) {
    const QString line = JoinScriptLine("FULL:0#RAND", Filters({"TSD1#NUMS:10|20#LNO:#SF:1"}), "c");
    EXPECT_EQ(LineFilter(line, 1), "TSD1#NUMS:10");
    EXPECT_EQ(LineFilter(line, 2), "20#LNO:#SF:1");
    // Nine fields are read; the comment is now the eighth blank slot's place.
    EXPECT_EQ(LineComments(line), QString());
    EXPECT_EQ(ScriptLineFields(line).size(), 10);
}

TEST(ScriptLine, FieldsAreTrimmed) {
    EXPECT_EQ(LineOptions("  FULL:0#RAND  |  TSD1#NUMS:10#LNO:#SF:1 |"), "FULL:0#RAND");
    EXPECT_EQ(LineFilter("  FULL:0#RAND  |  TSD1#NUMS:10#LNO:#SF:1 |", 1), "TSD1#NUMS:10#LNO:#SF:1");
}

TEST(ScriptLine, Separators) {
    EXPECT_TRUE(IsScriptSeparator(QString()));
    EXPECT_TRUE(IsScriptSeparator("   "));
    EXPECT_FALSE(IsScriptSeparator("FULL:0#RAND| | | | | | | |"));
}

// ---- options ---------------------------------------------------------------------------------

TEST(ScriptOptions, TextForms) {
    TScriptOptions o;
    EXPECT_EQ(OptionsToText(o), "FULL:0#RAND");
    EXPECT_EQ(OptionsToShortText(o), "FULL#RAND");
    o = {5, srcExcl, ssmLast, true, true};
    EXPECT_EQ(OptionsToText(o), "EXCL:5#LAST#CLR#NEX");
    EXPECT_EQ(OptionsToShortText(o), "EXCL:5#LAST#NEX");
    o = {7, srcCurr, ssmNone, true, false};
    EXPECT_EQ(OptionsToText(o), "CURR:7#NONE#CLR");
    EXPECT_EQ(OptionsToShortText(o), "CURR#NONE");
}

TEST(ScriptOptions, RoundTripOfEveryCombination) {
    for (int source = 0; source < ScriptSourceCount; ++source)
        for (int mode = 0; mode < ScriptStakeModeCount; ++mode)
            for (int flags = 0; flags < 4; ++flags) {
                const TScriptOptions o{source * 7 + mode, uint8_t(source), uint8_t(mode), (flags & 1) != 0,
                                       (flags & 2) != 0};
                EXPECT_EQ(TextToOptions(OptionsToText(o)), o) << OptionsToText(o).toStdString();
            }
}

TEST(ScriptOptions, CodesAreComparedWithoutRegardToCase) {
    EXPECT_EQ(TextToOptions("excl:3#last#nex"), (TScriptOptions{3, srcExcl, ssmLast, false, true}));
}

TEST(ScriptOptions, SourcesArePrefixesStakeModesWholeWords) {
    const TScriptOptions o = TextToOptions("EXCLUDE#RANDOM");
    EXPECT_EQ(o.Source, srcExcl);
    EXPECT_EQ(o.DrawsExclude, 0);
    EXPECT_EQ(o.StakeMode, ssmRand);
    EXPECT_EQ(TextToOptions("CURRENT:2#FIRSTLY").StakeMode, ssmRand);
    EXPECT_EQ(TextToOptions("CURRENT:2#FIRSTLY").Source, srcCurr);
    EXPECT_EQ(TextToOptions("CURRENT:2#FIRSTLY").DrawsExclude, 2);
    // No known source reads FULL.
    EXPECT_EQ(TextToOptions("XYZ:4#ALL").Source, srcFull);
    EXPECT_EQ(TextToOptions("XYZ:4#ALL").StakeMode, ssmAll);
}

TEST(ScriptOptions, MissingOrOddPartsReadAsZero) {
    EXPECT_EQ(TextToOptions(QString()), TScriptOptions());
    EXPECT_EQ(TextToOptions("FULL:0"), TScriptOptions());
    EXPECT_EQ(TextToOptions("EXCL:abc#LAST").DrawsExclude, 0);
    EXPECT_EQ(TextToOptions("EXCL:-4#LAST").DrawsExclude, 0);
    EXPECT_EQ(TextToOptions("EXCL:99999999999#LAST").DrawsExclude, 0);
    EXPECT_EQ(TextToOptions("EXCL:2147483647#LAST").DrawsExclude, 2147483647);
    EXPECT_EQ(TextToOptions("EXCL#LAST").DrawsExclude, 0);
    // Runs of "#" count as one.
    EXPECT_EQ(TextToOptions("##EXCL:4###STOP##NEX#"), (TScriptOptions{4, srcExcl, ssmStop, false, true}));
}

TEST(ScriptOptions, FlagsComeAfterTheStakeCode) {
    // Without a stake code the flag takes its place and means nothing.
    EXPECT_EQ(TextToOptions("FULL:0#CLR"), TScriptOptions());
    EXPECT_EQ(TextToOptions("FULL:0#SKIP#nex#clr"), (TScriptOptions{0, srcFull, ssmSkip, true, true}));
    EXPECT_EQ(TextToOptions("FULL:0#SKIP#NEXT#CLRS#FOO"),
              (TScriptOptions{0, srcFull, ssmSkip, false, false}));
}

TEST(ScriptOptions, Captions) {
    EXPECT_EQ(OptionsCaption({5, srcExcl, ssmLast, true, true}),
              "Исключить 5 тиражей; Последняя; Удалить ставки; Только новые ставки");
    EXPECT_EQ(OptionsCaption({7, srcFull, ssmRand, false, false}),
              "Исходный список; Случайно; Все создаваемые ставки");
    EXPECT_TRUE(OptionsCaption({7, srcExcl, ssmRand, false, false}).startsWith("Исключить 7 тиражей"));
    EXPECT_EQ(OptionsCaption({0, srcCurr, ssmSysC, false, true}),
              "Текущий список; Система [комб]; Только новые ставки");
}

TEST(ScriptOptions, CaptionsOutsideTheTables) {
    EXPECT_EQ(ScriptSourceCaption(3), "# ERROR #");
    EXPECT_EQ(ScriptSourceShortCaption(-1), "# ERROR #");
    EXPECT_EQ(ScriptStakeModeCaption(9), "# ERROR #");
    EXPECT_EQ(ScriptStakeModeShortCaption(-1), "# ERROR #");
    EXPECT_EQ(ScriptStakeModeCaption(ssmSysA), "Системная игра [вся система]");
    EXPECT_EQ(ScriptSourceCaption(srcCurr), "Текущий список (для последовательного выполнения)");
}

// ---- files ---------------------------------------------------------------------------------------

class ScriptFileTest : public ::testing::Test {
protected:
    QString Path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }
    void WriteBytes(const char *name, const QByteArray &bytes) {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray ReadBytes(const char *name) {
        QFile f(Path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir m_dir;
};

TEST_F(ScriptFileTest, EveryLineEndReadsTheSameLines) {
    const QStringList expected = {"FULL:0#RAND| | | | | | | |один", "", "CURR:0#NONE| | | | | | | |"};
    const QByteArray body[] = {ToCp1251(expected[0]), ToCp1251(expected[2])};
    WriteBytes("crlf.lsc", body[0] + "\r\n\r\n" + body[1] + "\r\n");
    WriteBytes("lf.lsc", body[0] + "\n\n" + body[1] + "\n");
    WriteBytes("cr.lsc", body[0] + "\r\r" + body[1] + "\r");
    WriteBytes("noend.lsc", body[0] + "\r\n\n" + body[1]);
    for (const char *name : {"crlf.lsc", "lf.lsc", "cr.lsc", "noend.lsc"})
        EXPECT_EQ(ReadScriptFile(Path(name)), expected) << name;
}

TEST_F(ScriptFileTest, SavingWritesWindows1251WithCrLfAfterTheLastLine) {
    WriteScriptFile(Path("s.lsc"), {"FULL:0#RAND| | | | | | | |тест", ""});
    EXPECT_EQ(ReadBytes("s.lsc"), ToCp1251("FULL:0#RAND| | | | | | | |тест") + "\r\n\r\n");
    WriteScriptFile(Path("empty.lsc"), {});
    EXPECT_EQ(ReadBytes("empty.lsc"), QByteArray());
    EXPECT_EQ(ReadScriptFile(Path("empty.lsc")), QStringList());
}

TEST_F(ScriptFileTest, AMissingFileRaisesTheSystemsReason) {
    EXPECT_THROW(ReadScriptFile(Path("none.lsc")), EError);
}

TEST(ScriptFileAdd, SeparatorRules) {
    QStringList script;
    AppendScriptLines(script, {"a", "b"});
    EXPECT_EQ(script, QStringList({"a", "b"})); // an empty script simply becomes the file
    AppendScriptLines(script, {"c"});
    EXPECT_EQ(script, QStringList({"a", "b", "", "c"}));
    AppendScriptLines(script, {});
    EXPECT_EQ(script, QStringList({"a", "b", "", "c"})); // an empty file adds nothing
    script << "";
    AppendScriptLines(script, {"d"});
    EXPECT_EQ(script, QStringList({"a", "b", "", "c", "", "d"})); // no second separator
    QStringList blanks = {"x", "   "};
    AppendScriptLines(blanks, {"y"});
    EXPECT_EQ(blanks, QStringList({"x", "   ", "y"}));
}

} // namespace
} // namespace lot
