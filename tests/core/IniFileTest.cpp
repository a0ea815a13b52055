// The ini store: Windows ini semantics, Windows-1251 files, atomic saves.

#include "core/IniFile.h"
#include "core/Codec1251.h"
#include "core/Errors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lot;

namespace {

const char *const Sample = "; game settings\r\n"
                           "[GLOBAL]\r\n"
                           "Cols = 7 \r\n"
                           "cols=99\r\n"
                           "Name=Игра = 6 из 45\r\n"
                           "not a key line\r\n"
                           "Hex=$1F\r\n"
                           "CHex=0x10\r\n"
                           "Neg=-12\r\n"
                           "Bad=12abc\r\n"
                           "Big=99999999999\r\n"
                           "Cost=12,5\r\n"
                           "Dot=0.25\r\n"
                           "Quoted=\"a b\"\r\n"
                           "\r\n"
                           "[stakes]\r\n"
                           "Log=1\r\n"
                           "[Global]\r\n"
                           "Late=1\r\n";

TIniFile Loaded() {
    TIniFile ini;
    ini.LoadFromText(QString::fromUtf8(Sample));
    return ini;
}

QByteArray ReadAll(const QString &fileName) {
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(IniFile, WindowsLookupRules) {
    const TIniFile ini = Loaded();
    EXPECT_EQ(ini.ReadString("global", "COLS"), "7"); // case-insensitive, trimmed, first wins
    EXPECT_EQ(ini.ReadString("GLOBAL", "Name"), QStringLiteral("Игра = 6 из 45")); // after the first '='
    EXPECT_EQ(ini.ReadString("GLOBAL", "Quoted"), "\"a b\"");                      // raw, no unquoting
    EXPECT_EQ(ini.ReadString("GLOBAL", "Late", "none"), "none");                   // the first section wins
    EXPECT_EQ(ini.ReadString("GLOBAL", "not a key line", "none"), "none");
    EXPECT_EQ(ini.ReadString("Missing", "x", "def"), "def");
    EXPECT_TRUE(ini.SectionExists("STAKES"));
    EXPECT_FALSE(ini.SectionExists("PROXY"));
    EXPECT_TRUE(ini.ValueExists("Stakes", "LOG"));
    EXPECT_FALSE(ini.ValueExists("Stakes", "Other"));
    EXPECT_EQ(ini.Sections(), (QStringList{"GLOBAL", "stakes"}));
    EXPECT_EQ(ini.Keys("global"),
              (QStringList{"Cols", "Name", "Hex", "CHex", "Neg", "Bad", "Big", "Cost", "Dot", "Quoted"}));
}

TEST(IniFile, TypedReads) {
    const TIniFile ini = Loaded();
    const struct {
        const char *key;
        int expected;
    } ints[] = {{"Cols", 7}, {"Hex", 31}, {"CHex", 16},    {"Neg", -12},
                {"Bad", -1}, {"Big", -1}, {"Missing", -1}, {"Name", -1}};
    for (const auto &c : ints)
        EXPECT_EQ(ini.ReadInteger("GLOBAL", c.key, -1), c.expected) << c.key;

    EXPECT_TRUE(ini.ReadBool("STAKES", "Log", false));
    EXPECT_TRUE(ini.ReadBool("GLOBAL", "Cols", false));
    EXPECT_FALSE(ini.ReadBool("STAKES", "Missing", false));
    EXPECT_TRUE(ini.ReadBool("STAKES", "Missing", true));
    EXPECT_TRUE(ini.ReadBool("GLOBAL", "Bad", true)); // malformed: the default

    EXPECT_DOUBLE_EQ(ini.ReadFloat("GLOBAL", "Cost", 0), 12.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("GLOBAL", "Dot", 0), 0.25);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("GLOBAL", "Bad", -1), -1);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("GLOBAL", "Missing", 3.5), 3.5);
}

TEST(IniFile, WritesKeepTheRestOfTheFile) {
    TIniFile ini = Loaded();
    ini.WriteInteger("global", "cols", 9);      // in place, first occurrence
    ini.WriteString("STAKES", "Cost", "1.5");   // appended to its section
    ini.WriteBool("GLOBAL", "Extra", true);     // after the last non-blank line of the section
    ini.WriteFloat("PROXY", "Ratio", 0.1);      // new section at the end
    ini.WriteString("PROXY", "Host", "a\r\nb"); // no line break reaches the file
    const QString expected = "; game settings\r\n"
                             "[GLOBAL]\r\n"
                             "Cols=9\r\n"
                             "cols=99\r\n" +
                             QStringLiteral("Name=Игра = 6 из 45\r\n") +
                             "not a key line\r\n"
                             "Hex=$1F\r\n"
                             "CHex=0x10\r\n"
                             "Neg=-12\r\n"
                             "Bad=12abc\r\n"
                             "Big=99999999999\r\n"
                             "Cost=12,5\r\n"
                             "Dot=0.25\r\n"
                             "Quoted=\"a b\"\r\n"
                             "Extra=1\r\n"
                             "\r\n"
                             "[stakes]\r\n"
                             "Log=1\r\n"
                             "Cost=1.5\r\n"
                             "[Global]\r\n"
                             "Late=1\r\n"
                             "[PROXY]\r\n"
                             "Ratio=0.1\r\n"
                             "Host=a  b\r\n";
    EXPECT_EQ(ini.ToText(), expected);
    EXPECT_EQ(ini.ReadInteger("GLOBAL", "Cols", 0), 9);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("PROXY", "Ratio", 0), 0.1);
}

TEST(IniFile, EraseAndDelete) {
    TIniFile ini = Loaded();
    ini.DeleteKey("GLOBAL", "COLS"); // both duplicates: the stale one must not surface
    EXPECT_FALSE(ini.ValueExists("GLOBAL", "Cols"));
    EXPECT_TRUE(ini.ValueExists("GLOBAL", "Name"));
    ini.EraseSection("global"); // every section of that name
    EXPECT_FALSE(ini.SectionExists("GLOBAL"));
    EXPECT_EQ(ini.Sections(), QStringList{"stakes"});
    EXPECT_TRUE(ini.ToText().startsWith("; game settings\r\n[stakes]\r\n"));
    ini.DeleteKey("Missing", "x");
}

TEST(IniFile, SaveAndLoadRoundTripInWindows1251) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fileName = dir.filePath("Brantlee_6x45.ini");
    TIniFile ini(fileName);
    EXPECT_TRUE(ini.Sections().isEmpty()); // a missing file is an empty store
    ini.WriteString("GLOBAL", QStringLiteral("Имя"), QStringLiteral("Тест №1"));
    ini.WriteInteger("GLOBAL", "Cols", 7);
    ini.Save();
    EXPECT_EQ(ReadAll(fileName),
              QByteArray("[GLOBAL]\r\n\xC8\xEC\xFF=\xD2\xE5\xF1\xF2 \xB9\x31\r\nCols=7\r\n"));

    const TIniFile back(fileName);
    EXPECT_EQ(back.ReadString("global", QStringLiteral("имя")), QStringLiteral("Тест №1"));
    EXPECT_EQ(back.ReadInteger("GLOBAL", "Cols", 0), 7);
    EXPECT_EQ(back.FileName(), fileName);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Brantlee_6x45.ini"}); // no temporary left
}

TEST(IniFile, FailedSaveRaisesAndKeepsTheOldFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TIniFile ini;
    ini.WriteString("A", "b", "c");
    EXPECT_THROW(ini.Save(), EError); // no file name
    try {
        ini.SaveAs(dir.filePath("missing/folder/x.ini"));
        ADD_FAILURE() << "no error";
    } catch (const EError &e) {
        EXPECT_TRUE(e.Message().contains("x.ini")) << e.Message().toStdString();
    }

    // A folder in place of the file cannot be replaced: the error is raised, nothing is lost.
    const QString blocked = dir.filePath("blocked.ini");
    ASSERT_TRUE(QDir(dir.path()).mkdir("blocked.ini"));
    EXPECT_THROW(ini.SaveAs(blocked), EError);
    EXPECT_TRUE(QFileInfo(blocked).isDir());
}
