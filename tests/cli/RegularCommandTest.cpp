// The regular command: rules added, listed, their stakes for the next draw
// and the test over past draws, with the refusals of bad input.

#include "CliTestUtil.h"

#include "archive/DrawsArchive.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace lot;
using namespace lot::clitest;

namespace {

class CliRegularTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        TDrawsArchive archive;
        archive.Append(Draw(101, {7, 3, 11, 17, 25, 40}));
        archive.Append(Draw(103, {1, 2, 3, 4, 5, 6}));
        archive.Append(Draw(105, {2, 3, 4, 5, 6, 7}));
        archive.SaveDrawsFile(Path("Brantlee_6x45.ldr"));
    }
    QString Path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    TCliRun Run(const QStringList &args) { return RunCli(m_dir.path(), args); }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(CliRegularTest, AddListStakeAndTest) {
    TCliRun r = Run({"regular", "add", "Круг", "--step", "1", "--start", "45;44;43;42;41;40"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Lines().value(0), "Круг\t40;41;42;43;44;45\t1\t40;41;42;43;44;45\t0");
    r = Run({"regular", "add", "Тираж", "--step", "-3", "--last-draw"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(QFileInfo(Path("Brantlee_6x45.ltb")).size(), 2 * 280);

    r = Run({"regular", "stake", "круг"}); // a name ignoring case
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Lines().value(0), "107\t1;41;42;43;44;45\tКруг");
    r = Run({"regular", "stake"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    // The second stake of "Круг"; "Тираж" shifts 2..7 of draw 105 by -3.
    EXPECT_EQ(r.Lines(), (QStringList{"107\t1;2;42;43;44;45\tКруг", "107\t1;2;3;4;44;45\tТираж"}));

    r = Run({"regular", "list"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Lines(), (QStringList{"Круг\t40;41;42;43;44;45\t1\t1;2;42;43;44;45\t2",
                                      "Тираж\t\t-3\t1;2;3;4;44;45\t1"}));

    // Two past draws, one rule: stakes for 103 and 105, checked and rated.
    r = Run({"regular", "test", "--count", "2", "Тираж"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Lines(), (QStringList{"Ставок сделано: 2", "Ставок: 5", "Рейтинг: 1"}));
    r = Run({"ratings", "list"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    ASSERT_EQ(r.Lines().size(), 1);
    // For 103 the numbers of 101 shifted: 4;8;14;22;37;45 (4 overlaps); for
    // 105 those of 103: 1;2;3;43;44;45 (2 and 3).
    EXPECT_TRUE(r.Lines()[0].startsWith("Тираж\t2\t3\t1.500\t")) << r.Lines()[0].toStdString();
}

TEST_F(CliRegularTest, RefusesBadInput) {
    struct TCase {
        QStringList Args;
        const char *Error;
    } cases[] = {
        {{"regular", "add", "A", "--start", "1;2;3;4;5"}, "Введена некорректная комбинация!"},
        {{"regular", "add", "A", "--start", "1;2;3;4;5;6", "--last-draw"}, "either --start"},
        {{"regular", "add", "A", "--step", "46", "--last-draw"}, "--step"},
        {{"regular", "add", "   ", "--last-draw"}, "Необходимо ввести комментарий!"},
        {{"regular", "stake", "нет"}, "Регулярная ставка \"нет\" не найдена!"},
        {{"regular", "test", "--count", "3"}, "--count"},
        {{"regular", "fly"}, "unknown action"},
    };
    for (const TCase &c : cases) {
        const TCliRun r = Run(c.Args);
        EXPECT_NE(r.Code, 0) << c.Args.join(' ').toStdString();
        EXPECT_TRUE(r.Err.contains(QString::fromUtf8(c.Error))) << r.Err.toStdString();
    }
    ASSERT_EQ(Run({"regular", "add", "A", "--last-draw"}).Code, 0);
    const TCliRun dup = Run({"regular", "add", "a", "--last-draw"});
    EXPECT_NE(dup.Code, 0);
    EXPECT_TRUE(dup.Err.contains("Запись с таким комментарией уже присутствует в списке!"));
    EXPECT_EQ(QFileInfo(Path("Brantlee_6x45.ltb")).size(), 280);
}
