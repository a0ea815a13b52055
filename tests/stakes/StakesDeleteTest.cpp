// Deleting stakes through the temporary file: by rows, by overlap
// condition, all of them; and what a failure at each step of the
// replacement leaves behind.

#include "StakesTestUtil.h"

#include "core/Errors.h"
#include "shell/FakeHost.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace lot;
using namespace lot::stakestest;
using lot::test::TFakeHost;

namespace {

const QString DeleteErrorPrefix = QStringLiteral("Ошибка удаления записи из файла ставок!\r\r");

class StakesDeleteTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(stakes.LoadStakes()); }
    QString Path() const { return folder.StakesFile(); }
    QString TempPath() const { return dir.filePath(QStringLiteral("Brantlee_6x45.~tmp")); }
    /// Separator, then stakes with overlap counts -1 (unchecked), 0..6, a
    /// separator, and one more unchecked stake: 11 records.
    void WriteMixedFile() {
        stakes.File().AppendRecord(SeparatorRecord());
        stakes.File().AppendRecord(Stake(20, {1, 2, 3, 4, 5, 6}));
        for (int o = 0; o <= 6; ++o)
            stakes.File().AppendRecord(CheckedStake(10 + o, o));
        stakes.File().AppendRecord(SeparatorRecord());
        stakes.File().AppendRecord(Stake(21, {1, 2, 3, 4, 5, 6}));
    }
    /// Each record as "S" or its overlap count ("u" unchecked).
    QStringList Shape() const {
        QStringList shape;
        for (const TStakeRec &rec : RecordsOnDisk(Path()))
            shape << (rec.Kind == skSeparator ? QStringLiteral("S")
                      : rec.Checked           ? QString::number(rec.Overlaps.Count)
                                              : QStringLiteral("u"));
        return shape;
    }

    QTemporaryDir dir;
    TDataFolder folder{dir.path()};
    TFakeHost host;
    TTestStakes stakes{host, folder};
};

struct TConditionCase {
    int Condition;
    int Value;
    const char *Left;
};

class StakesConditionTest : public StakesDeleteTest, public ::testing::WithParamInterface<TConditionCase> {};

} // namespace

TEST_F(StakesDeleteTest, RowsTwoToThreeRemoveTheSecondAndThirdRecords) {
    for (int i = 1; i <= 5; ++i)
        stakes.File().AppendRecord(Stake(100 + i, {1, 2, 3, 4, 5, 6}));
    qint64 removed = 0;
    // Grid rows 2..3 are records 1..2.
    ASSERT_TRUE(stakes.DeleteSelectedStakes(1, 2, &removed));
    EXPECT_EQ(removed, 2);
    QList<int> draws;
    for (const TStakeRec &rec : RecordsOnDisk(Path()))
        draws << rec.DrawNumber;
    EXPECT_EQ(draws, QList<int>({101, 104, 105}));
    EXPECT_EQ(stakes.Count(), 3);
    EXPECT_FALSE(QFile::exists(TempPath()));
    EXPECT_TRUE(host.Errors().isEmpty());
    EXPECT_TRUE(host.Statuses.contains("Удаление ставок..."));
}

TEST_F(StakesDeleteTest, RowsOutsideTheFileChangeNothing) {
    WriteMixedFile();
    const QByteArray before = ReadAll(Path());
    EXPECT_FALSE(stakes.DeleteSelectedStakes(9, 11));
    EXPECT_FALSE(stakes.DeleteSelectedStakes(-1, 2));
    EXPECT_EQ(host.Errors(),
              QStringList({DeleteErrorPrefix + "Запись со индексом 11 в файле данных не найдена!",
                           DeleteErrorPrefix + "Запись со индексом -1 в файле данных не найдена!"}));
    EXPECT_EQ(ReadAll(Path()), before);
}

TEST_P(StakesConditionTest, SeparatorsStayAndUncheckedStakesCountMinusOne) {
    WriteMixedFile();
    const TConditionCase &c = GetParam();
    ASSERT_TRUE(stakes.DeleteStakesByOverlaps(c.Condition, c.Value));
    EXPECT_EQ(Shape().join(""), QString::fromLatin1(c.Left));
    EXPECT_EQ(stakes.Count(), qint64(qstrlen(c.Left)));
}

// The mixed file is S u 0 1 2 3 4 5 6 S u.
INSTANTIATE_TEST_SUITE_P(Conditions, StakesConditionTest,
                         ::testing::Values(TConditionCase{0, 3, "Su012456Su"},
                                           TConditionCase{1, 4, "Su01234Su"},
                                           TConditionCase{2, 4, "Su0123Su"}, TConditionCase{3, 1, "S123456S"},
                                           TConditionCase{4, 0, "S123456S"},
                                           TConditionCase{3, 0, "S0123456S"},
                                           TConditionCase{0, 6, "Su012345Su"}));

TEST_F(StakesDeleteTest, ConditionsOutsideTheTableAreRefused) {
    WriteMixedFile();
    const QByteArray before = ReadAll(Path());
    EXPECT_FALSE(stakes.DeleteStakesByOverlaps(5, 0));
    EXPECT_FALSE(stakes.DeleteStakesByOverlaps(0, 7));
    EXPECT_EQ(host.Errors().size(), 2);
    EXPECT_EQ(ReadAll(Path()), before);
}

TEST_F(StakesDeleteTest, StakeClearEmptiesTheFileAndKeepsTheLock) {
    WriteMixedFile();
    ASSERT_TRUE(stakes.StakeClear());
    EXPECT_EQ(stakes.Count(), 0);
    EXPECT_EQ(ReadAll(Path()).size(), 0);
    TFakeHost other;
    TTestStakes second(other, folder);
    EXPECT_FALSE(second.LoadStakes());
}

TEST_F(StakesDeleteTest, TheReplacedFileCarriesTheLockAndTakesNewStakes) {
    WriteMixedFile();
    ASSERT_TRUE(stakes.DeleteStakesByOverlaps(3, 1));
    TFakeHost other;
    TTestStakes second(other, folder);
    EXPECT_FALSE(second.LoadStakes());
    EXPECT_EQ(other.Errors(), QStringList({TStakesController::DataLockMessage()}));

    ASSERT_TRUE(stakes.AppendStakes(Stake(30, {1, 2, 3, 4, 5, 6}), 1));
    EXPECT_EQ(Shape().join(""), "S123456Su");
    const QString flock = QStandardPaths::findExecutable(QStringLiteral("flock"));
    if (!flock.isEmpty()) {
        EXPECT_NE(QProcess::execute(flock, {"-n", "-x", Path(), "true"}), 0);
    }
}

TEST_F(StakesDeleteTest, AFailureAtAnyStepLosesNoStake) {
    WriteMixedFile();
    const QByteArray before = ReadAll(Path());
    for (TRewriteStep failing :
         {TRewriteStep::CreateTemp, TRewriteStep::WriteTemp, TRewriteStep::SyncTemp, TRewriteStep::Replace}) {
        SCOPED_TRACE(int(failing));
        host.Clear();
        QStringList seenAt;
        stakes.File().SetRewriteFault([&](TRewriteStep step) {
            // At every step the name holds the whole old file.
            if (ReadAll(Path()) != before) seenAt << QString::number(int(step));
            if (step == failing) throw EError(QStringLiteral("сбой"));
        });
        EXPECT_FALSE(stakes.DeleteStakesByOverlaps(3, 1));
        EXPECT_TRUE(seenAt.isEmpty()) << seenAt.join(',').toStdString();
        EXPECT_EQ(host.Errors(), QStringList({DeleteErrorPrefix + "сбой"}));
        EXPECT_EQ(ReadAll(Path()), before);
        EXPECT_FALSE(QFile::exists(TempPath()));
        // The stream is the old file, still open and locked.
        EXPECT_TRUE(stakes.IsOpen());
        EXPECT_EQ(stakes.Count(), 11);
        TFakeHost other;
        TTestStakes second(other, folder);
        EXPECT_FALSE(second.LoadStakes());
    }
    stakes.File().SetRewriteFault({});
    ASSERT_TRUE(stakes.DeleteStakesByOverlaps(3, 1));
    EXPECT_EQ(Shape().join(""), "S123456S");
}

TEST_F(StakesDeleteTest, AFailedRenameNamesTheTemporaryFile) {
    WriteMixedFile();
    // The stakes file's name taken by a folder makes the rename itself fail.
    stakes.File().SetRewriteFault([&](TRewriteStep step) {
        if (step != TRewriteStep::Replace) return;
        QFile::remove(Path());
        QDir(dir.path()).mkdir(QStringLiteral("Brantlee_6x45.lsk"));
        QFile(QDir(Path()).filePath("keep")).open(QIODevice::WriteOnly);
    });
    EXPECT_FALSE(stakes.DeleteStakesByOverlaps(3, 1));
    ASSERT_EQ(host.Errors().size(), 1);
    EXPECT_TRUE(host.Errors()[0].startsWith(DeleteErrorPrefix +
                                            "Ошибка переименования / удаления временного файла "
                                            "ставок " +
                                            TempPath() + "!\r\r"))
        << host.Errors()[0].toStdString();
    EXPECT_FALSE(QFile::exists(TempPath()));
    // The records are still those of the open stream.
    EXPECT_EQ(stakes.Count(), 11);
}
