// Appending stakes, the separators of multi-draw stakes, the one-record
// read cache, FindStake and SeekRecentDraws.

#include "StakesTestUtil.h"

#include "core/Errors.h"
#include "shell/FakeHost.h"
#include "stakes/StakesAppender.h"

#include <csignal>
#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <sys/resource.h>

using namespace lot;
using namespace lot::stakestest;
using lot::test::TFakeHost;

namespace {

class StakesAppendTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(stakes.LoadStakes()); }
    QString Path() const { return folder.StakesFile(); }
    /// The file as "S" (separator) and draw numbers.
    QStringList Shape() const {
        QStringList shape;
        for (const TStakeRec &rec : RecordsOnDisk(Path()))
            shape << (rec.Kind == skSeparator && rec.DrawNumber == -1 ? QStringLiteral("S")
                                                                      : QString::number(rec.DrawNumber));
        return shape;
    }

    QTemporaryDir dir;
    TDataFolder folder{dir.path()};
    TFakeHost host;
    TTestStakes stakes{host, folder};
};

} // namespace

TEST_F(StakesAppendTest, MultiDrawStakesArePrecededBySeparators) {
    ASSERT_TRUE(stakes.AppendStakes(Stake(90, {1, 2, 3, 4, 5, 6}), 1));
    ASSERT_TRUE(stakes.AppendStakes(Stake(100, {1, 2, 3, 4, 5, 6}), 3));
    EXPECT_EQ(Shape(), QStringList({"90", "S", "100", "S", "101", "S", "102"}));
    // One draw writes no separator, whatever the file ends with.
    ASSERT_TRUE(stakes.AppendStakes(Stake(103, {1, 2, 3, 4, 5, 6}), 1));
    EXPECT_EQ(Shape().mid(7), QStringList({"103"}));
    const std::vector<TStakeRec> recs = RecordsOnDisk(Path());
    EXPECT_EQ(RecordBytes(recs[1]), RecordBytes(SeparatorRecord()));
    EXPECT_EQ(StakeComment(recs[6]), "тест");
}

TEST_F(StakesAppendTest, FirstCopyInAnEmptyFileOrAfterASeparatorGetsNoSeparator) {
    ASSERT_TRUE(stakes.AppendStakes(Stake(7, {1, 2, 3, 4, 5, 6}), 2));
    EXPECT_EQ(Shape(), QStringList({"7", "S", "8"}));
    ASSERT_TRUE(stakes.AppendSeparator());
    ASSERT_TRUE(stakes.AppendSeparator()); // after a separator: nothing
    ASSERT_TRUE(stakes.AppendStakes(Stake(20, {1, 2, 3, 4, 5, 6}), 2));
    EXPECT_EQ(Shape(), QStringList({"7", "S", "8", "S", "20", "S", "21"}));
}

TEST_F(StakesAppendTest, CheckedTemplatesAndAClosedFileAreRefused) {
    TStakeRec checked = Stake(10, {1, 2, 3, 4, 5, 6});
    checked.Checked = 1;
    EXPECT_FALSE(stakes.AppendStakes(checked, 1));
    EXPECT_EQ(host.Errors(),
              QStringList({"Ошибка добавления записи в файл ставок!\r\rДобавление в конец файла "
                           "уже проверенной ставки!"}));
    stakes.CloseStakes();
    host.Clear();
    EXPECT_FALSE(stakes.AppendStakes(Stake(10, {1, 2, 3, 4, 5, 6}), 1));
    EXPECT_EQ(host.Errors(),
              QStringList({"Ошибка добавления записи в файл ставок!\r\rФайл ставок не открыт!"}));
    EXPECT_TRUE(ReadAll(Path()).isEmpty());
}

TEST_F(StakesAppendTest, ReadCacheServesOneRecordAndFollowsWrites) {
    for (int i = 0; i < 3; ++i)
        stakes.File().AppendRecord(Stake(100 + i, {1, 2, 3, 4, 5, 6}));
    TStakesFile &file = stakes.File();
    const qint64 before = file.RecordsRead();
    for (int cell = 0; cell < 9; ++cell)
        EXPECT_EQ(file.ReadStake(TSeekOrigin::Beginning, 1).DrawNumber, 101);
    EXPECT_EQ(file.RecordsRead(), before + 1);
    EXPECT_EQ(file.ReadStake(TSeekOrigin::End, -1).DrawNumber, 102);
    EXPECT_EQ(file.ReadStake(TSeekOrigin::Current, -2).DrawNumber, 101);

    // The record just read is rewritten: the next read sees the new bytes.
    file.WriteStake(TSeekOrigin::Beginning, 1, Stake(555, {1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(file.ReadStake(TSeekOrigin::Beginning, 1).DrawNumber, 555);
    // "The last record" is another one once the file grew.
    file.WriteStake(TSeekOrigin::End, 0, Stake(103, {1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(file.ReadStake(TSeekOrigin::End, -1).DrawNumber, 103);
}

TEST_F(StakesAppendTest, RecordsOutsideTheFileAreNotFound) {
    stakes.File().AppendRecord(Stake(100, {1, 2, 3, 4, 5, 6}));
    TStakeRec rec = Stake(1, {1});
    EXPECT_FALSE(stakes.ReadStake(TSeekOrigin::Beginning, 1, rec));
    EXPECT_FALSE(stakes.ReadStake(TSeekOrigin::End, -2, rec));
    EXPECT_EQ(
        host.Errors(),
        QStringList(
            {"Ошибка чтения записи из файла ставок!\r\rЗапись со индексом 1 в файле данных не найдена!",
             "Ошибка чтения записи из файла ставок!\r\rЗапись со индексом -2 в файле данных не найдена!"}));
    EXPECT_EQ(RecordBytes(rec), QByteArray(312, '\0')) << "a failed read gives a zero-filled record";
    // A write lands within the file or right at its end, nowhere else.
    EXPECT_FALSE(stakes.WriteStake(TSeekOrigin::Beginning, 2, Stake(1, {1})));
    EXPECT_TRUE(stakes.WriteStake(TSeekOrigin::Beginning, 1, Stake(101, {1})));
    EXPECT_EQ(stakes.Count(), 2);
}

TEST_F(StakesAppendTest, FindStakeMatchesDrawAndNumberSet) {
    stakes.File().AppendRecord(Stake(100, {1, 2, 3, 4, 5, 6}));
    stakes.File().AppendRecord(Stake(102, {6, 5, 4, 3, 2, 7}));
    bool found = false;
    struct TCase {
        int Draw;
        TNumberSet Set;
        bool Found;
    } cases[] = {{100, Numbers({6, 5, 4, 3, 2, 1}), true},
                 {102, Numbers({2, 3, 4, 5, 6, 7}), true},
                 {102, Numbers({1, 2, 3, 4, 5, 6}), false},
                 {100, Numbers({1, 2, 3, 4, 5}), false},
                 {101, Numbers({1, 2, 3, 4, 5, 6}), false}};
    for (const TCase &c : cases) {
        ASSERT_TRUE(stakes.FindStake(c.Draw, c.Set, found));
        EXPECT_EQ(found, c.Found) << c.Draw;
    }
    stakes.CloseStakes();
    EXPECT_FALSE(stakes.FindStake(100, Numbers({1, 2, 3, 4, 5, 6}), found));
    EXPECT_EQ(host.Errors().last(), "Ошибка поиска записи в файле ставок!\r\rФайл ставок не открыт!");
}

TEST_F(StakesAppendTest, SeekRecentDrawsCountsCheckedDrawsFromTheEnd) {
    // 0:10 1:S 2:10 3:12(unchecked) 4:12 5:12 6:14 7:S 8:14
    const TStakeRec recs[] = {CheckedStake(10, 1),           SeparatorRecord(),   CheckedStake(10, 0),
                              Stake(12, {1, 2, 3, 4, 5, 6}), CheckedStake(12, 2), CheckedStake(12, 3),
                              CheckedStake(14, 0),           SeparatorRecord(),   CheckedStake(14, 6)};
    for (const TStakeRec &rec : recs)
        stakes.File().AppendRecord(rec);
    struct TCase {
        int N;
        int Draws;
        qint64 First;
    } cases[] = {{0, 0, 9}, {1, 1, 6}, {2, 2, 3}, {3, 3, 0}, {5, 3, 0}};
    for (const TCase &c : cases) {
        TRecentDraws r;
        ASSERT_TRUE(stakes.SeekRecentDraws(c.N, r));
        EXPECT_EQ(r.Draws, c.Draws) << c.N;
        EXPECT_EQ(r.FirstIndex, c.First) << c.N;
        EXPECT_EQ(stakes.File().Position(), c.First) << c.N;
    }
}

TEST_F(StakesAppendTest, BufferedAppendsSeeWhatIsStillWaiting) {
    stakes.File().AppendRecord(Stake(5, {1, 2, 3, 4, 5, 6}));
    {
        TStakesAppender appender(stakes.File(), 2);
        for (int draw : {100, 200})
            appender.AppendStakes(Stake(draw, {1, 2, 3, 4, 5, 6}), 2);
        appender.Flush();
        EXPECT_EQ(appender.Appended(), 8);
    }
    EXPECT_EQ(Shape(), QStringList({"5", "S", "100", "S", "101", "S", "200", "S", "201"}));
}

TEST_F(StakesAppendTest, AFullDiskNeverLeavesAPartialRecord) {
    stakes.File().AppendRecord(Stake(5, {1, 2, 3, 4, 5, 6}));
    // The file size limit stands in for a full disk: the system writes what
    // fits and refuses the rest.
    auto *previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit limit = old;
    limit.rlim_cur = 312 + 312 + 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const TOpResult r = stakes.AppendStakes(Stake(100, {1, 2, 3, 4, 5, 6}), 3);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(r);
    ASSERT_EQ(host.Errors().size(), 1);
    EXPECT_TRUE(host.Errors()[0].startsWith("Ошибка добавления записи в файл ставок!\r\r"));
    EXPECT_EQ(ReadAll(Path()).size(), 312);
    // And the file takes new stakes again.
    EXPECT_TRUE(stakes.AppendStakes(Stake(100, {1, 2, 3, 4, 5, 6}), 1));
    EXPECT_EQ(Shape(), QStringList({"5", "100"}));
}
