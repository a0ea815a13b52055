// "favourites", "names" and "describe" on a temporary data folder.

#include "CliTestUtil.h"

#include "core/IniFile.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

namespace lot {
namespace {

using clitest::RunCli;
using clitest::TCliRun;

class FavouritesCommandTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    TCliRun Run(const QStringList &args) { return RunCli(m_dir.path(), args); }
    QString Flt() const { return m_dir.filePath(QStringLiteral("Brantlee_6x45.flt")); }
    /// "CODE\t*" or "CODE\t-" of one method in the list.
    static QString Mark(const TCliRun &run, const char *code) {
        for (const QString &line : run.Out.split(QLatin1Char('\n')))
            if (line.startsWith(QLatin1String(code) + QLatin1Char('\t')))
                return line.section(QLatin1Char('\t'), 0, 1);
        return {};
    }
    QTemporaryDir m_dir;
};

TEST_F(FavouritesCommandTest, SetListAndReset) {
    TCliRun run = Run({"favourites", "list"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.Out.startsWith(QStringLiteral("NUMS\t*\tЧисла тиража\nDIGS\t*\tЦифры тиража\n")));
    EXPECT_EQ(Mark(run, "SUMS"), QStringLiteral("SUMS\t*"));

    run = Run({"favourites", "set", "sums", "EVEN"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.Out.startsWith(QStringLiteral("Избранных методов: 2 из "))) << run.Out.toStdString();
    run = Run({"favourites", "list"});
    EXPECT_EQ(Mark(run, "SUMS"), QStringLiteral("SUMS\t*"));
    EXPECT_EQ(Mark(run, "EVEN"), QStringLiteral("EVEN\t*"));
    EXPECT_EQ(Mark(run, "NUMS"), QStringLiteral("NUMS\t-"));
    TIniFile ini;
    ini.Load(Flt());
    EXPECT_EQ(ini.ReadString(QStringLiteral("FILTERS"), QStringLiteral("Favorites")),
              QStringLiteral("EVEN,SUMS"));

    run = Run({"favourites", "reset"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(Mark(Run({"favourites", "list"}), "NUMS"), QStringLiteral("NUMS\t*"));
}

TEST_F(FavouritesCommandTest, BadArgumentsChangeNothing) {
    const struct {
        QStringList args;
        const char *err;
    } cases[] = {
        {{"favourites"}, "favourites: missing action (list, set, reset)\n"},
        {{"favourites", "sort"}, "favourites: unknown action: sort\n"},
        {{"favourites", "set"}, "favourites: missing method codes\n"},
        {{"favourites", "set", "NUMS", "NOPE"}, "favourites: unknown method code: NOPE\n"},
        {{"favourites", "list", "all"}, "favourites: unexpected argument: all\n"},
        {{"names"}, "names: missing action (export, import)\n"},
        {{"names", "import"}, "names: import: missing FILE.flt\n"},
        {{"describe"}, "describe: missing CODE\n"},
        {{"describe", "NOPE"}, "describe: unknown method code: NOPE\n"},
    };
    for (const auto &c : cases) {
        const TCliRun run = Run(c.args);
        EXPECT_EQ(run.Code, 1) << c.args.join(' ').toStdString();
        EXPECT_EQ(run.Err, QString::fromUtf8(c.err)) << c.args.join(' ').toStdString();
    }
    const TCliRun missing = Run({"names", "import", m_dir.filePath(QStringLiteral("none.flt"))});
    EXPECT_EQ(missing.Code, 1);
    EXPECT_TRUE(missing.Err.startsWith(QStringLiteral("names: no such file: "))) << missing.Err.toStdString();
    EXPECT_FALSE(QFile::exists(Flt()));
}

TEST_F(FavouritesCommandTest, NamesTravelThroughAnExportedFile) {
    const QString exported = m_dir.filePath(QStringLiteral("names.flt"));
    TCliRun run = Run({"names", "export", exported});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    TIniFile names;
    names.Load(exported);
    const int count = names.Keys(QStringLiteral("STRINGS_RUS")).size();
    EXPECT_EQ(run.Out, QStringLiteral("Названий: %1\n").arg(count));
    EXPECT_GT(count, 80);

    TIniFile mine;
    mine.WriteString(QStringLiteral("STRINGS_RUS"), QStringLiteral("EVEN"), QStringLiteral("Чёт и нечет"));
    const QString mineFile = m_dir.filePath(QStringLiteral("mine.flt"));
    mine.SaveAs(mineFile);
    run = Run({"names", "import", mineFile});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, QStringLiteral("Названий: 1\n"));
    run = Run({"favourites", "list"});
    EXPECT_TRUE(run.Out.contains(QStringLiteral("EVEN\t*\tЧёт и нечет\n")));
    // The description shows the custom name and the class caption.
    run = Run({"describe", "even"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_TRUE(
        run.Out.startsWith(QStringLiteral("Чёт и нечет\n\nКод: EVEN\nГруппа: { num } Числа тиража\n"
                                          "Название метода: Количество четных чисел в тираже (Ч:Н)\n")))
        << run.Out.toStdString();
    EXPECT_TRUE(
        run.Out.contains(QStringLiteral("Перечисляемые значения:\n1:5, 2:4, 3:3, 4:2, 5:1, 6:0 (всего 6)")))
        << run.Out.toStdString();
}

} // namespace
} // namespace lot
