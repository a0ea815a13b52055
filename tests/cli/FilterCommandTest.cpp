// "filter": a filter step or a manual row selection applied to a combination file.

#include "CliTestUtil.h"

#include "archive/DrawsArchive.h"
#include "combs/CombFile.h"
#include "core/CoreHelpers.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

using namespace lot;

namespace {

struct TFilterRun {
    int Code = -1;
    QStringList Lines;
    QString Err;
};

TComb Comb(std::initializer_list<int> numbers) {
    TComb c;
    int i = 0;
    for (int n : numbers)
        c[i++] = uint8_t(n);
    return c;
}

class FilterCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        // Number 1 is drawn four times, 2 three times, 3 twice.
        TDrawsArchive archive;
        archive.Append(clitest::Draw(1, {1, 2, 3, 4, 5, 6}));
        archive.Append(clitest::Draw(3, {1, 2, 3, 7, 8, 9}));
        archive.Append(clitest::Draw(5, {1, 2, 10, 11, 12, 13}));
        archive.Append(clitest::Draw(7, {1, 14, 15, 16, 17, 18}));
        archive.SaveDrawsFile(Path(QStringLiteral("Brantlee_6x45.ldr")));
        const std::vector<TComb> list = {Comb({1, 20, 21, 22, 23, 24}), Comb({2, 20, 21, 22, 23, 25}),
                                         Comb({3, 20, 21, 22, 23, 26}), Comb({19, 20, 21, 22, 23, 27})};
        WriteCombsFile(Path(QStringLiteral("in.lcv")), list.data(), int(list.size()));
    }

    QString Path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

    TFilterRun Run(const QStringList &args) {
        const clitest::TCliRun cli =
            clitest::RunCli(m_dir.path(), QStringList{QStringLiteral("filter"), QStringLiteral("--in"),
                                                      Path(QStringLiteral("in.lcv")), QStringLiteral("--out"),
                                                      Path(QStringLiteral("out.lcv"))} +
                                              args);
        return {cli.Code, cli.Lines(), cli.Err};
    }

    QStringList Output() const {
        TCombsArray combs;
        int count = 0;
        TCombFileReadInfo info;
        ReadCombsFile(Path(QStringLiteral("out.lcv")), combs, count, info);
        QStringList texts;
        for (int i = 0; i < count; ++i)
            texts << CombToText(combs[size_t(i)]);
        return texts;
    }

    QTemporaryDir m_dir;
};

TEST_F(FilterCommandTest, RunsOneStepAndPrintsItsLog) {
    const TFilterRun run = Run({QStringLiteral("TMD1#NUMS:10#LNO:#ST:2")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(Output(),
              (QStringList{QStringLiteral("3;20;21;22;23;26"), QStringLiteral("19;20;21;22;23;27")}));
    ASSERT_GE(run.Lines.size(), 3);
    EXPECT_EQ(run.Lines.first(), QStringLiteral("TMD#NUMS:10#LNO:#ST:2"));
    EXPECT_TRUE(run.Lines.contains(QStringLiteral("Удаляем выделенные значения...")));
    EXPECT_TRUE(run.Lines.contains(QStringLiteral("Количество комбинаций в списке: 2")));
    EXPECT_EQ(run.Lines.last(), QStringLiteral("2"));
}

TEST_F(FilterCommandTest, AppliesASelectionOfRows) {
    TFilterRun run = Run({QStringLiteral("--select"), QStringLiteral("2; 19"), QStringLiteral("NUMS"),
                          QStringLiteral("--len"), QStringLiteral("10"), QStringLiteral("--keep")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Lines, QStringList{QStringLiteral("2")});
    EXPECT_EQ(Output(),
              (QStringList{QStringLiteral("2;20;21;22;23;25"), QStringLiteral("19;20;21;22;23;27")}));

    run = Run({QStringLiteral("--select"), QStringLiteral("1"), QStringLiteral("NUMS"),
               QStringLiteral("--len"), QStringLiteral("10"), QStringLiteral("--delete")});
    ASSERT_EQ(run.Code, 0);
    EXPECT_EQ(run.Lines, QStringList{QStringLiteral("3")});
}

TEST_F(FilterCommandTest, RefusesWhatItCannotRun) {
    struct TCase {
        QStringList Args;
        const char *Message;
    };
    const TCase cases[] = {
        {{QStringLiteral("TSD1#QQQQ:10#LNO:#SF:1")},
         "Некорректное описание фильтра: TSD1#QQQQ:10#LNO:#SF:1!"},
        {{QStringLiteral("TSD1#NUMS:10,20#LNO:#SF:1")},
         "filter: the sample length must be one number of 1 or more"},
        {{QStringLiteral("TSD1#NUMS:10#CMV:1,2#SF:1")},
         "filter: the values of this selection mode must be one number"},
        {{QStringLiteral("TSD30#NUMS:10#LNO:#SF:1")}, "Некорректное занчение номера столбца сортировки (30)"},
        {{QStringLiteral("--select"), QStringLiteral("1;77"), QStringLiteral("NUMS"), QStringLiteral("--len"),
          QStringLiteral("10"), QStringLiteral("--keep")},
         "filter: no row has the value \"77\""},
        {{QStringLiteral("--select"), QStringLiteral("1"), QStringLiteral("NUMS"), QStringLiteral("--len"),
          QStringLiteral("10")},
         "filter: give one of --keep and --delete"},
        {{}, "filter: missing FILTER TEXT"},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Message);
        QFile::remove(Path(QStringLiteral("out.lcv")));
        const TFilterRun run = Run(c.Args);
        EXPECT_EQ(run.Code, 1);
        EXPECT_TRUE(run.Err.contains(QString::fromUtf8(c.Message))) << run.Err.toStdString();
        EXPECT_FALSE(QFile::exists(Path(QStringLiteral("out.lcv"))));
    }
}

} // namespace
