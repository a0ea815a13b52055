#include "archive/DrawsArchive.h"
#include "archive/DrawsCsv.h"
#include "cli/CliHost.h"
#include "cli/Command.h"
#include "shell/Workspace.h"
#include "stakes/StakesFile.h"

#include <gtest/gtest.h>
#include <QDate>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace lot;

namespace {

struct TRun {
    int Code = -1;
    QString Out;
    QString Err;
};

/// Runs the command line in this process: args after the program name.
TRun Cli(const QString &dataDir, QStringList args) {
    TRun run;
    QTextStream out(&run.Out);
    QTextStream err(&run.Err);
    args.prepend(dataDir);
    args.prepend(QStringLiteral("--data"));
    run.Code = cli::RunCliArgs(args, out, err);
    out.flush();
    err.flush();
    return run;
}

QByteArray ReadBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TDrawsArray DrawsOnDisk(const QString &dataDir) {
    TDrawsArchive archive;
    archive.LoadDrawsFile(dataDir + QStringLiteral("/Brantlee_6x45.ldr"));
    return archive.Draws();
}

const QStringList Demo50 = {"draws", "demo", "--count", "50", "--seed", "7", "--last-date", "2026-12-05"};

} // namespace

TEST(CliDrawsTest, DemoExportImportListRoundTrip) {
    QTemporaryDir a, b;
    const TRun demo = Cli(a.path(), Demo50);
    ASSERT_EQ(demo.Code, 0) << demo.Err.toStdString();
    EXPECT_EQ(demo.Out, "Архив тиражей: 50\n");
    ASSERT_EQ(DrawsOnDisk(a.path()).size(), 50u);

    const QString csv = a.filePath("draws.csv");
    ASSERT_EQ(Cli(a.path(), {"draws", "export", csv}).Code, 0);
    EXPECT_EQ(ReadBytes(csv), DrawsToCsvBytes(DrawsOnDisk(a.path())));

    const TRun imported = Cli(b.path(), {"draws", "import", csv});
    ASSERT_EQ(imported.Code, 0) << imported.Err.toStdString();
    EXPECT_EQ(imported.Out, "Добавлено тиражей: 50, уже были в архиве: 0, пропущено строк: 0\n");

    const TRun listA = Cli(a.path(), {"draws", "list"});
    const TRun listB = Cli(b.path(), {"draws", "list"});
    ASSERT_EQ(listA.Code, 0);
    ASSERT_EQ(listB.Code, 0);
    EXPECT_EQ(listA.Out.toUtf8(), listB.Out.toUtf8());
    EXPECT_EQ(ReadBytes(a.filePath("Brantlee_6x45.ldr")), ReadBytes(b.filePath("Brantlee_6x45.ldr")));
    // The listing is the export file, line for line, with LF line ends.
    EXPECT_EQ(listA.Out, QString::fromLatin1(ReadBytes(csv)).replace("\r\n", "\n"));
    EXPECT_EQ(listA.Out.count('\n'), 50);

    // Importing the same file again adds nothing.
    EXPECT_EQ(Cli(b.path(), {"draws", "import", csv}).Out,
              "Добавлено тиражей: 0, уже были в архиве: 50, пропущено строк: 0\n");
}

TEST(CliDrawsTest, DemoIsDeterministicAndKeepsExistingDrawsUnlessForced) {
    QTemporaryDir a, b;
    ASSERT_EQ(Cli(a.path(), Demo50).Code, 0);
    ASSERT_EQ(Cli(b.path(), Demo50).Code, 0);
    EXPECT_EQ(ReadBytes(a.filePath("Brantlee_6x45.ldr")), ReadBytes(b.filePath("Brantlee_6x45.ldr")));

    const QByteArray before = ReadBytes(a.filePath("Brantlee_6x45.ldr"));
    const TRun again = Cli(a.path(), {"draws", "demo", "--count", "10", "--seed", "8"});
    EXPECT_EQ(again.Code, 1);
    EXPECT_EQ(again.Err, "В архиве уже есть тиражи (50); --force заменит их демонстрационными.\n");
    EXPECT_EQ(ReadBytes(a.filePath("Brantlee_6x45.ldr")), before);

    EXPECT_EQ(Cli(a.path(), {"draws", "demo", "--count", "10", "--seed", "8", "--force"}).Code, 0);
    EXPECT_EQ(DrawsOnDisk(a.path()).size(), 10u);
}

TEST(CliDrawsTest, AddValidatesAndProposesTheNextNumber) {
    QTemporaryDir d;
    const TRun first = Cli(d.path(), {"draws", "add", "3;11;17;25;40;44;7;29", "--date", "5 Dec 2026"});
    ASSERT_EQ(first.Code, 0) << first.Err.toStdString();
    EXPECT_EQ(first.Out, "Тираж № 1 от 5 Dec 2026, значения: 3;11;17;25;40;44 e:7;29\n");

    ASSERT_EQ(
        Cli(d.path(), {"draws", "add", "1,2,3,4,5,6,7,44", "--number", "4012", "--date", "09 Dec 2026"}).Code,
        0);
    const TRun next = Cli(d.path(), {"draws", "add", "1;2;3;4;5;6;7;8"});
    ASSERT_EQ(next.Code, 0);
    const TDrawsArray draws = DrawsOnDisk(d.path());
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[1].DrawNumber, 4012);
    EXPECT_EQ(QByteArray(draws[1].DrawDate.Chars, draws[1].DrawDate.Length), "9 Dec 2026");
    EXPECT_EQ(draws[2].DrawNumber, 4014); // newest number + 2
    EXPECT_EQ(QByteArray(draws[2].DrawDate.Chars, draws[2].DrawDate.Length),
              QDate::currentDate().toString("d MMM yyyy").toLatin1());

    struct Case {
        QStringList args;
        QString err;
    };
    const Case refused[] = {
        {{"3;11;17;25;40;40;7;29"}, "Введена некорректная комбинация!\n"},
        {{"3;11;17;25;40;46;7;29"}, "Введена некорректная комбинация!\n"},
        {{"3;11;17;25;40;44;7"}, "Введена некорректная комбинация!\n"},
        {{"3;11;17;25;40;44;7;29", "--number", "0"}, "Некорректный номер тиража: \"0\"!\n"},
        {{"3;11;17;25;40;44;7;29", "--number", "4012"}, "Тираж № 4012 уже есть в архиве!\n"},
        {{"3;11;17;25;40;44;7;29", "--date", "5 Foo 2026"}, ""},
        {{"3;11;17;25;40;44;7;29", "extra"}, "draws: unexpected argument: extra\n"},
    };
    for (const Case &c : refused) {
        const TRun r = Cli(d.path(), QStringList{"draws", "add"} + c.args);
        EXPECT_EQ(r.Code, 1) << c.args.join(' ').toStdString();
        if (!c.err.isEmpty()) {
            EXPECT_EQ(r.Err, c.err);
        }
        EXPECT_FALSE(r.Err.isEmpty());
    }
    EXPECT_EQ(DrawsOnDisk(d.path()).size(), 3u);
}

TEST(CliDrawsTest, DeleteAsksAndOnlyYesDeletes) {
    QTemporaryDir d;
    ASSERT_EQ(Cli(d.path(), {"draws", "demo", "--count", "5", "--seed", "1"}).Code, 0);
    const int number = DrawsOnDisk(d.path())[2].DrawNumber;

    const TRun refused = Cli(d.path(), {"draws", "delete", QString::number(number)});
    EXPECT_EQ(refused.Code, 1);
    EXPECT_TRUE(refused.Err.startsWith("Удалить выделенную запись?\n"));
    EXPECT_EQ(DrawsOnDisk(d.path()).size(), 5u);

    const TRun missing = Cli(d.path(), {"--yes", "draws", "delete", "77"});
    EXPECT_EQ(missing.Code, 1);
    EXPECT_EQ(missing.Err, "Тираж № 77 не найден в архиве!\n");

    ASSERT_EQ(Cli(d.path(), {"--yes", "draws", "delete", QString::number(number)}).Code, 0);
    const TDrawsArray left = DrawsOnDisk(d.path());
    ASSERT_EQ(left.size(), 4u);
    for (const TDrawRec &draw : left)
        EXPECT_NE(draw.DrawNumber, number);
}

TEST(CliDrawsTest, ChangesNeedTheDataLockReadsDoNot) {
    QTemporaryDir d;
    ASSERT_EQ(Cli(d.path(), {"draws", "demo", "--count", "5", "--seed", "1"}).Code, 0);
    const QByteArray before = ReadBytes(d.filePath("Brantlee_6x45.ldr"));

    // A window holds the folder.
    TStakesFile held;
    held.OpenStakes(d.filePath("Brantlee_6x45.lsk"));

    const QStringList changes[] = {
        {"draws", "add", "1;2;3;4;5;6;7;8"},
        {"--yes", "draws", "delete", "1001"},
        {"draws", "import", d.filePath("whatever.csv")},
        {"draws", "demo", "--count", "3", "--seed", "2", "--force"},
    };
    for (const QStringList &args : changes) {
        const TRun r = Cli(d.path(), args);
        EXPECT_EQ(r.Code, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.Err.endsWith(cli::TCliHost::TerminalText(TStakesController::DataLockMessage()) + "\n"))
            << r.Err.toStdString();
    }
    EXPECT_EQ(ReadBytes(d.filePath("Brantlee_6x45.ldr")), before);

    EXPECT_EQ(Cli(d.path(), {"draws", "list"}).Code, 0);
    EXPECT_EQ(Cli(d.path(), {"draws", "export", d.filePath("out.csv")}).Code, 0);
}

TEST(CliDrawsTest, BadArgumentsFailWithAMessage) {
    QTemporaryDir d;
    const QStringList cases[] = {
        {"draws"},
        {"draws", "frobnicate"},
        {"draws", "import"},
        {"draws", "export"},
        {"draws", "delete"},
        {"draws", "delete", "x"},
        {"draws", "demo", "--count", "5"},
        {"draws", "demo", "--count", "0", "--seed", "1"},
        {"draws", "demo", "--count", "5", "--seed", "-1"},
        {"draws", "demo", "--count", "5", "--seed", "1", "--last-date", "5.12.2026"},
        {"draws", "list", "more"},
    };
    for (const QStringList &args : cases) {
        const TRun r = Cli(d.path(), args);
        EXPECT_EQ(r.Code, 1) << args.join(' ').toStdString();
        EXPECT_FALSE(r.Err.isEmpty()) << args.join(' ').toStdString();
    }
    const TRun missing = Cli(d.path(), {"draws", "import", d.filePath("missing.csv")});
    EXPECT_EQ(missing.Code, 1);
    EXPECT_FALSE(missing.Err.isEmpty());
    EXPECT_TRUE(DrawsOnDisk(d.path()).empty());
}

TEST(CliDrawsTest, HostTurnsMessageBoxesIntoLines) {
    QString text;
    QTextStream err(&text);
    cli::TCliHost quiet(err, false, false);
    quiet.ShowStatus("Загрузка...");
    quiet.ShowError("Ошибка записи в файл тиражей!\r\rдиск полон");
    EXPECT_FALSE(quiet.Confirm("Удалить?"));
    err.flush();
    EXPECT_EQ(text,
              "Ошибка записи в файл тиражей!\n\nдиск полон\nУдалить?\nОтвет: нет (подтвердите параметром "
              "--yes)\n");
    EXPECT_EQ(quiet.ErrorCount(), 1);

    text.clear();
    cli::TCliHost verbose(err, true, true);
    verbose.ShowStatus("Загрузка...");
    verbose.ShowStatus(QString());
    EXPECT_TRUE(verbose.Confirm("Удалить?"));
    err.flush();
    EXPECT_EQ(text, "Загрузка...\nУдалить?\nОтвет: да (--yes)\n");
}

#ifdef CLI_EXECUTABLE
TEST(CliDrawsTest, TheProgramWritesUtf8ToStdoutAndExitsWithItsCode) {
    QTemporaryDir d;
    QProcess p;
    p.start(QStringLiteral(CLI_EXECUTABLE), {"--data", d.path(), "draws", "demo", "--count", "3", "--seed",
                                             "5", "--last-date", "2026-12-05"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()), "Архив тиражей: 3\n");

    p.start(QStringLiteral(CLI_EXECUTABLE), {"--data", d.path(), "draws", "list"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(p.readAllStandardOutput(), Cli(d.path(), {"draws", "list"}).Out.toUtf8());

    p.start(QStringLiteral(CLI_EXECUTABLE), {"--data", d.path(), "draws", "add", "1;1;1;1;1;1;1;1"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardError()), "Введена некорректная комбинация!\n");
}
#endif

// A damaged draws file: like the window, the command line reports it and goes
// on with the valid records when it only reads them; it changes nothing on
// top of it.
TEST(CliDrawsTest, DamagedDrawsFileIsReportedAndItsValidRecordsListed) {
    QTemporaryDir dir;
    ASSERT_EQ(Cli(dir.path(), Demo50).Code, 0);
    const QString file = dir.filePath("Brantlee_6x45.ldr");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.resize(100)); // four whole records and a piece of the fifth
    f.close();
    const QByteArray damaged = ReadBytes(file);
    TDrawsArchive four;
    four.LoadDrawsFromBytes(damaged.left(96));
    ASSERT_EQ(four.Count(), 4);

    const TRun list = Cli(dir.path(), {"draws", "list"});
    EXPECT_EQ(list.Code, 1);
    EXPECT_TRUE(list.Err.startsWith("Ошибка чтения файла тиражей!\n\n")) << list.Err.toStdString();
    EXPECT_EQ(list.Out, QString::fromLatin1(DrawsToCsvBytes(four.Draws())).replace("\r\n", "\n"));

    const QString csv = dir.filePath("valid.csv");
    const TRun exported = Cli(dir.path(), {"draws", "export", csv});
    EXPECT_EQ(exported.Code, 1);
    EXPECT_EQ(exported.Err, list.Err);
    EXPECT_EQ(ReadBytes(csv), DrawsToCsvBytes(four.Draws()));

    const TRun add = Cli(dir.path(), {"draws", "add", "1;2;3;4;5;6;7;8"});
    EXPECT_EQ(add.Code, 1);
    EXPECT_EQ(add.Err, list.Err);
    EXPECT_EQ(ReadBytes(file), damaged) << "nothing is written over a damaged file";
}
