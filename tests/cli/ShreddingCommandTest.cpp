// "shredding list" and "shredding set" on a temporary data folder.

#include "CliTestUtil.h"

#include "core/IniFile.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace lot {
namespace {

using clitest::RunCli;
using clitest::TCliRun;

class ShreddingCommandTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    TCliRun Run(const QStringList &args) { return RunCli(m_dir.path(), args); }
    QString Ini() const { return m_dir.filePath(QStringLiteral("Brantlee_6x45.ini")); }
    QTemporaryDir m_dir;
};

TEST_F(ShreddingCommandTest, ListSetAndTheMethodsCaption) {
    TCliRun run = Run({"shredding", "list"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, QStringLiteral("1\t2\t(n1+n2+n3)/(n4+n5+n6)\n2\t2\t(n4+n5+n6)/(n1+n2+n3)\n"
                                      "3\t2\t(n1+n3+n5)/(n2+n4+n6)\n"));

    run = Run({"shredding", "set", "2", "sqrt(n1*p1)/7", "--digits", "4"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, QStringLiteral("2\t4\tsqrt(n1*p1)/7\n"));
    run = Run({"shredding", "set", "3", "N12/5"}); // the digits stay
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Lines(), QStringList({"3\t2\tN12/5"}));

    TIniFile ini;
    ini.Load(Ini());
    EXPECT_EQ(ini.ReadString(QStringLiteral("SHREDDING"), QStringLiteral("Formula2")),
              QStringLiteral("sqrt(n1*p1)/7"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("SHREDDING"), QStringLiteral("Formula2Digits")),
              QStringLiteral("4"));
    run = Run({"methods"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.Out.contains(
        QStringLiteral("\tSHR2\tshr\tSNG\t{ shr } Метод шинковки 2: sqrt(n1*p1)/7 [ SNG ]\n")))
        << run.Out.right(300).toStdString();

    // 3, 8, 15, 22, 30, 41 as the full set values it: 26/93.
    run = Run({"value", "SHR1", "3;8;15;22;30;41"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Lines(), QStringList({"27"}));
}

TEST_F(ShreddingCommandTest, BadFormulasAndArgumentsAreRefused) {
    struct TCase {
        QStringList Args;
        const char *Error;
    } cases[] = {
        {{"shredding", "set", "1", "(n1+n2"}, "Ошибка в формуле 1: не хватает закрывающей скобки."},
        {{"shredding", "set", "2", "n1+foo"},
         "Ошибка в формуле 2: неизвестное имя или знак \"foo\" в позиции 4."},
        {{"shredding", "set", "4", "n1"}, "shredding: N must be an integer 1..3"},
        {{"shredding", "set", "1", "n1", "--digits", "10"}, "shredding: --digits must be an integer 0..9"},
        {{"shredding", "set", "1"}, "shredding: expected a formula number 1..3 and a formula"},
        {{"shredding", "drop"}, "shredding: unknown action: drop"},
    };
    for (const TCase &c : cases) {
        const TCliRun run = Run(c.Args);
        EXPECT_EQ(run.Code, 1) << c.Args.join(' ').toStdString();
        EXPECT_TRUE(run.Err.contains(QString::fromUtf8(c.Error))) << run.Err.toStdString();
    }
    const TCliRun run = Run({"shredding", "list"});
    EXPECT_TRUE(run.Out.startsWith(QStringLiteral("1\t2\t(n1+n2+n3)/(n4+n5+n6)\n"))) << "nothing changed";
}

TEST_F(ShreddingCommandTest, AChangedFormulaRemovesItsOldFilesWithTheSwitchOff) {
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("Prefetchs")));
    for (const char *code : {"SHR1", "SHR3", "NUMS"}) {
        QFile f(m_dir.filePath(QStringLiteral("Prefetchs/Brantlee_6x45_%1.dfc").arg(QLatin1String(code))));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("stale");
    }
    const TCliRun run = Run({"shredding", "set", "1", "n1/n2", "--digits", "3"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("Prefetchs/Brantlee_6x45_SHR1.dfc"))));
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("Prefetchs/Brantlee_6x45_SHR3.dfc"))));
    EXPECT_TRUE(QFile::exists(m_dir.filePath(QStringLiteral("Prefetchs/Brantlee_6x45_NUMS.dfc"))));
}

} // namespace
} // namespace lot
