// "script run|test" on a temporary data folder: the output per run and in
// total, the seed, the log, the stakes file and the failures.

#include "CliTestUtil.h"

#include "archive/DrawsArchive.h"
#include "core/Codec1251.h"
#include "stakes/StakesFile.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace lot;
using lot::clitest::Draw;
using lot::clitest::RunCli;
using lot::clitest::TCliRun;

namespace {

QByteArray ReadBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

/// A data folder: ten draws numbered 1 .. 19 that never hold 1..8, the 28
/// combinations of 1..8 as the source list.
class ScriptFolder {
public:
    ScriptFolder() {
        TDrawsArchive archive;
        for (int k = 0; k < 10; ++k)
            archive.Append(Draw(1 + 2 * k, {9 + k, 20, 25, 30, 35, 40}));
        archive.SaveDrawsFile(Path("Brantlee_6x45.ldr"));
        WriteBytes(Path("Brantlee_6x45.ini"),
                   "[GLOBAL]\r\nCombsGenerateMode=2\r\nCombsGenerateParameters=1;2;3;4;5;6;7;8\r\n");
    }
    QString Path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    void Script(const char *name, const QString &text) { WriteBytes(Path(name), ToCp1251(text)); }
    TCliRun Run(const QStringList &args) { return RunCli(m_dir.path(), args); }
    QByteArray Stakes() const { return ReadBytes(Path("Brantlee_6x45.lsk")); }

private:
    QTemporaryDir m_dir;
};

const QString RandLines =
    QStringLiteral("FULL:0#RAND| | | | | | | |один\r\nFULL:0#RAND|TSD1#NUMS:5,10#LVA:1#SF:1| | | | | "
                   "| |два\r\n");

} // namespace

TEST(CliScript, RunPrintsTheSeedTheRunAndTheTotals) {
    ScriptFolder f;
    f.Script("s.lsc", QStringLiteral("FULL:0#FIRST| | | | | | | |\r\n\r\nFULL:0#LAST| | | | | | | |\r\n"));
    const TCliRun r = f.Run({"script", "run", f.Path("s.lsc"), "--seed", "5"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Lines(), QStringList({"Зерно: 5", "Цикл 1: смещение 0, строк 2, вариантов 0, ставок 2",
                                      "Итого: циклов 1, вариантов 0, ставок 2"}));
    EXPECT_EQ(f.Stakes().size(), 2 * StakeRecSize);
    // The window's current script is not touched.
    EXPECT_FALSE(QFile::exists(f.Path("Brantlee_6x45.lss")));
}

TEST(CliScript, TheSameSeedGivesTheSameStakesFile) {
    ScriptFolder a, b;
    a.Script("s.lsc", RandLines);
    b.Script("s.lsc", RandLines);
    ASSERT_EQ(a.Run({"script", "test", a.Path("s.lsc"), "--count", "4", "--seed", "123"}).Code, 0);
    ASSERT_EQ(b.Run({"script", "test", b.Path("s.lsc"), "--count", "4", "--seed", "123"}).Code, 0);
    EXPECT_FALSE(a.Stakes().isEmpty());
    EXPECT_EQ(a.Stakes(), b.Stakes());
}

TEST(CliScript, WithoutASeedTheClockSeedIsPrinted) {
    ScriptFolder f;
    f.Script("s.lsc", RandLines);
    const TCliRun r = f.Run({"script", "run", f.Path("s.lsc")});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    ASSERT_FALSE(r.Lines().isEmpty());
    EXPECT_TRUE(r.Lines().first().startsWith("Зерно: "));
}

TEST(CliScript, TestRunsOverTheOffsetsNDownToOne) {
    ScriptFolder f;
    f.Script("s.lsc", QStringLiteral("FULL:0#FIRST|TSD1#NUMS:5,10#LVA:1#SF:1| | | | | | |\r\n"));
    const TCliRun r = f.Run({"script", "test", f.Path("s.lsc"), "--count", "3", "--seed", "1"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Lines(), QStringList({"Зерно: 1", "Цикл 1: смещение 3, строк 1, вариантов 2, ставок 2",
                                      "Цикл 2: смещение 2, строк 1, вариантов 2, ставок 2",
                                      "Цикл 3: смещение 1, строк 1, вариантов 2, ставок 2",
                                      "Итого: циклов 3, вариантов 6, ставок 6"}));
    const TCliRun list = f.Run({"stakes", "list"});
    ASSERT_EQ(list.Code, 0);
    // Six stakes, two separators; each stake checked against its draw.
    EXPECT_EQ(list.Out.count('\n'), 8);
    EXPECT_EQ(list.Out.count(QStringLiteral("\t0\t")), 6);
}

TEST(CliScript, LogWritesTheScriptLog) {
    ScriptFolder f;
    f.Script("s.lsc", QStringLiteral("FULL:0#FIRST| | | | | | | |\r\n"));
    const TCliRun r = f.Run({"script", "run", f.Path("s.lsc"), "--seed", "1", "--log"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    const QStringList logs = QDir(f.Path("")).entryList({"ScriptLog_*.txt"}, QDir::Files);
    ASSERT_EQ(logs.size(), 1);
    EXPECT_TRUE(r.Out.contains(QStringLiteral("Журнал: ") + QDir(f.Path("")).filePath(logs[0])));
    EXPECT_TRUE(FromCp1251(ReadBytes(QDir(f.Path("")).filePath(logs[0]))).contains("### ЗАПУСК СЦЕНАРИЯ"));
}

TEST(CliScript, AnErrorPrintsItsTextAndExitsOne) {
    ScriptFolder f;
    f.Script("s.lsc",
             QStringLiteral("FULL:0#FIRST| | | | | | | |\r\nFULL:0#FIRST|TSD1#NUMS:#LNO:#SF:1| | | | | | "
                            "|\r\nFULL:0#LAST| | | | | | | |\r\n"));
    const TCliRun r = f.Run({"script", "run", f.Path("s.lsc"), "--seed", "1"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_TRUE(r.Err.contains("Некорректное описание фильтра: TSD1#NUMS:#LNO:#SF:1!"))
        << r.Err.toStdString();
    EXPECT_TRUE(r.Out.contains("Итого: циклов 1, вариантов 0, ставок 1"));
    EXPECT_EQ(f.Stakes().size(), StakeRecSize);
}

TEST(CliScript, ArgumentsAreChecked) {
    ScriptFolder f;
    f.Script("s.lsc", QStringLiteral("FULL:0#FIRST| | | | | | | |\r\n"));
    f.Script("empty.lsc", QString());
    EXPECT_EQ(f.Run({"script"}).Code, 1);
    EXPECT_EQ(f.Run({"script", "go", f.Path("s.lsc")}).Code, 1);
    EXPECT_EQ(f.Run({"script", "run"}).Code, 1);
    EXPECT_EQ(f.Run({"script", "run", f.Path("s.lsc"), "--seed", "-1"}).Code, 1);
    EXPECT_EQ(f.Run({"script", "run", f.Path("s.lsc"), "--offset", "10"}).Code, 1);
    EXPECT_EQ(f.Run({"script", "run", f.Path("s.lsc"), "extra"}).Code, 1);
    EXPECT_EQ(f.Run({"script", "test", f.Path("s.lsc")}).Code, 1);
    EXPECT_EQ(f.Run({"script", "test", f.Path("s.lsc"), "--count", "10"}).Code, 1);
    EXPECT_EQ(f.Run({"script", "run", f.Path("empty.lsc")}).Code, 1);
    const TCliRun missing = f.Run({"script", "run", f.Path("none.lsc")});
    EXPECT_EQ(missing.Code, 1);
    EXPECT_TRUE(missing.Err.contains("Ошибка чтения файла")) << missing.Err.toStdString();
    EXPECT_TRUE(f.Stakes().isEmpty());
    const TCliRun offset = f.Run({"script", "run", f.Path("s.lsc"), "--offset", "9", "--seed", "1"});
    EXPECT_EQ(offset.Code, 0) << offset.Err.toStdString();
    EXPECT_TRUE(offset.Out.contains("смещение 9"));
}
