// "stakes list|add|add-list|check|delete" on a temporary data folder.

#include "CliTestUtil.h"

#include "archive/DrawsArchive.h"
#include "cli/CliHost.h"
#include "stakes/StakesController.h"
#include "stakes/StakesFile.h"

#include <gtest/gtest.h>
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

class CliStakesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        // Two draws (the next draw number is 105) and cost 1 with a prize of
        // 10 for 3 overlaps.
        TDrawsArchive archive;
        archive.Append(Draw(101, {7, 3, 11, 17, 25, 40}));
        archive.Append(Draw(103, {1, 2, 3, 4, 5, 6}));
        archive.SaveDrawsFile(Path("Brantlee_6x45.ldr"));
        QFile ini(Path("Brantlee_6x45.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[STAKES]\r\nCost=1\r\nProfits=1\r\nProfit_0_Overlap=3\r\nProfit_0_Profit=10\r\n");
    }
    QString Path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QString Stakes() const { return Path("Brantlee_6x45.lsk"); }
    TCliRun Run(const QStringList &args) { return RunCli(m_dir.path(), args); }
    QStringList List() {
        const TCliRun r = Run({"stakes", "list"});
        EXPECT_EQ(r.Code, 0) << r.Err.toStdString();
        QStringList lines = r.Out.split('\n');
        if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
        return lines;
    }
    void WriteLcv(const char *name, const QByteArray &text) {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(CliStakesTest, AddListsTheNineCellsAndChecksAtOnce) {
    TCliRun r = Run({"stakes", "add", "6, 5;4,3 ,2;1"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out, "Ставок: 1\n");
    r = Run({"stakes", "add", "40;30;17;11;3;1", "--draw", "101", "--draws", "2", "--comment", "мой"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out, "Ставок: 5\n");
    EXPECT_EQ(List(),
              QStringList({"105\tВручную\t1;2;3;4;5;6\t0\t\t\t\t-1.00\tСтавка \"вручную\"", "",
                           "101\tВручную\t1;3;11;17;30;40\t0\t7;3;11;17;25;40\t4\t3 11 17 40\t-1.00\tмой", "",
                           "102\tВручную\t1;3;11;17;30;40\t0\t\t\t\t-1.00\tмой"}));
    EXPECT_EQ(ReadBytes(Stakes()).size(), 5 * 312);
}

TEST_F(CliStakesTest, BadStakesAreRefusedAndNothingIsWritten) {
    struct TCase {
        QStringList Args;
        const char *Err;
    } cases[] = {
        {{"stakes", "add", "1;2;3;4;5;5"}, "Введена некорректная комбинация!\n"},
        {{"stakes", "add", "1,2,3,4,5,46"}, "Введена некорректная комбинация!\n"},
        {{"stakes", "add", "1;2;3;4;5"}, "Введена некорректная комбинация!\n"},
        {{"stakes", "add", "1;2;3;4;5;6", "--comment", ""}, "Необходимо ввести комментарий!\n"},
        {{"stakes", "add", "1;2;3;4;5;6", "--comment", "  "}, "Необходимо ввести комментарий!\n"},
        {{"stakes", "add", "1;2;3;4;5;6", "--comment", QString(65, 'x')},
         "Комментарий к ставке длиннее 64 символов!\n"},
        {{"stakes", "add", "1;2;3;4;5;6", "--draw", "0"},
         "stakes: --draw must be an integer 1..2147483647\n"},
        {{"stakes", "add", "1;2;3;4;5;6", "--draws", "65536"},
         "stakes: --draws must be an integer 1..65535\n"},
        {{"stakes", "add"}, "stakes add: missing \"n1;n2;n3;n4;n5;n6\"\n"},
        {{"stakes", "add", "1;2;3;4;5;6", "extra"}, "stakes: unexpected argument: extra\n"},
        {{"stakes", "add-list", "x.lcv"}, "stakes add-list: --comment TEXT is required\n"},
        {{"stakes", "add-list"}, "stakes add-list: missing FILE.lcv\n"},
        {{"stakes"}, "stakes: missing action (list, add, add-list, check, delete)\n"},
        {{"stakes", "frobnicate"}, "stakes: unknown action: frobnicate\n"},
        {{"stakes", "check", "now"}, "stakes: unexpected argument: now\n"},
        {{"stakes", "list", "all"}, "stakes: unexpected argument: all\n"},
    };
    for (const TCase &c : cases) {
        const TCliRun r = Run(c.Args);
        EXPECT_EQ(r.Code, 1) << c.Args.join(' ').toStdString();
        EXPECT_EQ(r.Err, QString::fromUtf8(c.Err)) << c.Args.join(' ').toStdString();
        EXPECT_TRUE(r.Out.isEmpty());
        EXPECT_TRUE(ReadBytes(Stakes()).isEmpty()) << c.Args.join(' ').toStdString();
    }
}

TEST_F(CliStakesTest, AddListStakesEveryCombinationOfTheFile) {
    WriteLcv("two.lcv", "40;25;17;11;3;7\r\n1;2;3;4;5;9\r\nnot a line\r\n");
    TCliRun r =
        Run({"stakes", "add-list", Path("two.lcv"), "--draw", "103", "--draws", "2", "--comment", "лист"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out, "Ставок: 7\n");
    EXPECT_EQ(List(), QStringList({"103\tВручную\t3;7;11;17;25;40\t2\t1;2;3;4;5;6\t1\t3\t-1.00\tлист", "",
                                   "104\tВручную\t3;7;11;17;25;40\t2\t\t\t\t-1.00\tлист", "",
                                   "103\tВручную\t1;2;3;4;5;9\t2\t1;2;3;4;5;6\t5\t1 2 3 4 5\t-1.00\tлист", "",
                                   "104\tВручную\t1;2;3;4;5;9\t2\t\t\t\t-1.00\tлист"}));

    WriteLcv("empty.lcv", "");
    r = Run({"stakes", "add-list", Path("empty.lcv"), "--comment", "лист"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Err, "В файле \"" + Path("empty.lcv") + "\" нет ни одной комбинации!\n");
    EXPECT_EQ(ReadBytes(Stakes()).size(), 7 * 312);
}

TEST_F(CliStakesTest, CheckCountsTheStakesItChecked) {
    ASSERT_EQ(Run({"stakes", "add", "3;11;17;30;31;32", "--draw", "107"}).Code, 0);
    ASSERT_EQ(Run({"stakes", "add", "3;11;17;30;31;33", "--draw", "109"}).Code, 0);
    TCliRun r = Run({"stakes", "check"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out, "Проверено ставок: 0\n");

    // Draw 107 arrives: its stake is checked once.
    ASSERT_EQ(Run({"draws", "add", "3;11;17;1;2;4;5;6", "--number", "107"}).Code, 0);
    r = Run({"stakes", "check"});
    EXPECT_EQ(r.Out, "Проверено ставок: 1\n");
    EXPECT_EQ(List().first(),
              "107\tВручную\t3;11;17;30;31;32\t0\t3;11;17;1;2;4\t3\t3 11 17\t9.00\tСтавка \"вручную\"");
    EXPECT_EQ(Run({"stakes", "check"}).Out, "Проверено ставок: 0\n");
}

TEST_F(CliStakesTest, DeleteAsksAndRefusesWithoutYes) {
    for (const char *numbers : {"1;2;3;4;5;6", "1;2;3;4;5;7", "1;2;3;4;5;8"})
        ASSERT_EQ(Run({"stakes", "add", numbers, "--draw", "103"}).Code, 0);
    const QByteArray before = ReadBytes(Stakes());
    const QStringList refused[] = {{"stakes", "delete", "--rows", "1-2"},
                                   {"stakes", "delete", "--condition", "0", "--value", "5"},
                                   {"stakes", "delete", "--all"}};
    for (const QStringList &args : refused) {
        const TCliRun r = Run(args);
        EXPECT_EQ(r.Code, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.Err.endsWith("Ответ: нет (подтвердите параметром --yes)\n")) << r.Err.toStdString();
        EXPECT_EQ(ReadBytes(Stakes()), before);
    }

    TCliRun r = Run({"--yes", "stakes", "delete", "--rows", "2"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out, "Удалено ставок: 1\nСтавок: 2\n");
    // Of overlap counts 6 and 5, "Равно [ = ]" 5 removes the second.
    r = Run({"--yes", "stakes", "delete", "--condition", "0", "--value", "5"});
    EXPECT_EQ(r.Err, "Удалить ставки по условию \"Равно [ = ]\" 5?\nОтвет: да (--yes)\n");
    EXPECT_EQ(r.Out, "Удалено ставок: 1\nСтавок: 1\n");
    EXPECT_EQ(List(), QStringList({"103\tВручную\t1;2;3;4;5;6\t0\t1;2;3;4;5;6\t6\t1 2 3 4 5 6\t-1.00\tСтавка "
                                   "\"вручную\""}));
    r = Run({"--yes", "stakes", "delete", "--all"});
    EXPECT_EQ(r.Out, "Удалено ставок: 1\nСтавок: 0\n");
    EXPECT_TRUE(ReadBytes(Stakes()).isEmpty());
}

TEST_F(CliStakesTest, BadDeletesChangeNothing) {
    ASSERT_EQ(Run({"stakes", "add", "1;2;3;4;5;6"}).Code, 0);
    const QByteArray before = ReadBytes(Stakes());
    struct TCase {
        QStringList Args;
        const char *Err;
    } cases[] = {
        {{"stakes", "delete"}, "stakes delete: give one of --rows A-B, --condition C --value V, --all\n"},
        {{"stakes", "delete", "--rows", "1", "--all"},
         "stakes delete: give one of --rows A-B, --condition C --value V, --all\n"},
        {{"stakes", "delete", "--condition", "1"},
         "stakes delete: give one of --rows A-B, --condition C --value V, --all\n"},
        {{"stakes", "delete", "--rows", "2-1"}, "stakes delete: --rows must be A-B with 1 <= A <= B\n"},
        {{"stakes", "delete", "--rows", "0"}, "stakes delete: --rows must be A-B with 1 <= A <= B\n"},
        {{"stakes", "delete", "--rows", "a-b"}, "stakes delete: --rows must be A-B with 1 <= A <= B\n"},
        {{"stakes", "delete", "--rows", "1-2"},
         "Ошибка удаления записи из файла ставок!\n\nЗапись со индексом 1 в файле данных не найдена!\n"},
        {{"stakes", "delete", "--condition", "5", "--value", "1"},
         "stakes: --condition must be an integer 0..4\n"},
        {{"stakes", "delete", "--condition", "1", "--value", "7"},
         "stakes: --value must be an integer 0..6\n"},
    };
    for (const TCase &c : cases) {
        QStringList args = c.Args;
        args.prepend("--yes");
        const TCliRun r = Run(args);
        EXPECT_EQ(r.Code, 1) << c.Args.join(' ').toStdString();
        EXPECT_EQ(r.Err, QString::fromUtf8(c.Err)) << c.Args.join(' ').toStdString();
        EXPECT_EQ(ReadBytes(Stakes()), before);
    }
}

TEST_F(CliStakesTest, ChangesNeedTheDataLockTheListDoesNot) {
    ASSERT_EQ(Run({"stakes", "add", "1;2;3;4;5;6"}).Code, 0);
    const QByteArray before = ReadBytes(Stakes());
    TStakesFile held;
    held.OpenStakes(Stakes());
    const QStringList changes[] = {
        {"stakes", "add", "1;2;3;4;5;7"}, {"stakes", "check"}, {"--yes", "stakes", "delete", "--all"}};
    for (const QStringList &args : changes) {
        const TCliRun r = Run(args);
        EXPECT_EQ(r.Code, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.Err.endsWith(cli::TCliHost::TerminalText(TStakesController::DataLockMessage()) + "\n"));
    }
    EXPECT_EQ(ReadBytes(Stakes()), before);
    EXPECT_EQ(List().size(), 1);
}

TEST_F(CliStakesTest, ListOfNoFileIsEmptyAndCreatesNone) {
    const TCliRun r = Run({"stakes", "list"});
    EXPECT_EQ(r.Code, 0);
    EXPECT_TRUE(r.Out.isEmpty());
    EXPECT_FALSE(QFile::exists(Stakes()));

    // A file of another version is reported, not emptied, by a listing.
    QFile f(Stakes());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(313, '\x02'));
    f.close();
    const TCliRun bad = Run({"stakes", "list"});
    EXPECT_EQ(bad.Code, 1);
    EXPECT_TRUE(bad.Err.startsWith("Ошибка чтения файла ставок!\n\n"));
    EXPECT_EQ(ReadBytes(Stakes()).size(), 313);
}
