#include "core/DataFolder.h"
#include "core/Errors.h"
#include "shell/FakeHost.h"
#include "stakes/StakesController.h"
#include "StakesTestUtil.h"

#include <cstring>
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <unistd.h>

using namespace lot;
using lot::stakestest::TTestStakes;
using lot::test::TFakeHost;

namespace {

QByteArray ReadAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray RecordBytes(const TStakeRec &rec) {
    return QByteArray(reinterpret_cast<const char *>(&rec), int(sizeof rec));
}

const QString ReadErrorPrefix = QStringLiteral("Ошибка чтения файла ставок!\r\r");

class StakesFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TDataFolder folder{dir.path()};
    QString path() const { return dir.filePath(QStringLiteral("Brantlee_6x45.lsk")); }
};

} // namespace

TEST(StakeRecTest, FieldsSitAtTheirFileOffsetsLittleEndian) {
    TStakeRec rec;
    rec.Kind = skScript;
    rec.DrawNumber = 0x01020304;
    rec.Checked = 1;
    rec.Sample = 7;
    rec.Numbers.Count = 6;
    rec.Numbers.Numbers[0] = 3;
    rec.DrawResult[5] = 44;
    rec.Overlaps.Count = 2;
    rec.Profit = -500000;
    rec.Comment.Length = 3;
    std::memcpy(rec.Comment.Chars, "abc", 3);

    const QByteArray b = RecordBytes(rec);
    ASSERT_EQ(b.size(), 312);
    EXPECT_EQ(uint8_t(b[0]), 2);
    EXPECT_EQ(uint8_t(b[1]), 3);
    EXPECT_EQ(b.mid(4, 4), QByteArray("\x04\x03\x02\x01", 4));
    EXPECT_EQ(uint8_t(b[8]), 1);
    EXPECT_EQ(uint8_t(b[12]), 7);
    EXPECT_EQ(uint8_t(b[16]), 6);
    EXPECT_EQ(uint8_t(b[20]), 3);
    EXPECT_EQ(uint8_t(b[33]), 44);
    EXPECT_EQ(uint8_t(b[36]), 2);
    int64_t profit = 0;
    std::memcpy(&profit, b.constData() + 48, 8);
    EXPECT_EQ(profit, -500000);
    EXPECT_EQ(uint8_t(b[56]), 3);
    EXPECT_EQ(b.mid(57, 3), QByteArray("abc"));
}

TEST(StakeRecTest, DefaultRecordIsUncheckedVersionTwo) {
    const TStakeRec rec;
    EXPECT_EQ(rec.Version, 2);
    EXPECT_EQ(rec.Overlaps.Count, -1);
    EXPECT_EQ(rec.Checked, 0);
    EXPECT_EQ(rec.Profit, 0);
}

TEST_F(StakesFileTest, MissingFileIsCreatedEmpty) {
    TFakeHost host;
    TTestStakes stakes(host, folder);
    ASSERT_TRUE(stakes.LoadStakes());
    EXPECT_TRUE(QFile::exists(path()));
    EXPECT_EQ(stakes.Count(), 0);
    EXPECT_TRUE(host.Messages.isEmpty());
    EXPECT_EQ(host.Statuses, QStringList({QStringLiteral("Загрузка файла ставок..."), QString()}));
}

TEST_F(StakesFileTest, CurrentVersionFilesAreKeptSilently) {
    TStakeRec rec;
    rec.DrawNumber = 100;
    const QByteArray two = RecordBytes(rec) + RecordBytes(rec);
    for (const QByteArray &content : {QByteArray(), two}) {
        WriteAll(path(), content);
        TFakeHost host;
        TTestStakes stakes(host, folder);
        ASSERT_TRUE(stakes.LoadStakes());
        EXPECT_TRUE(host.Messages.isEmpty());
        EXPECT_EQ(stakes.Count(), content.size() / 312);
        stakes.CloseStakes();
        EXPECT_EQ(ReadAll(path()), content);
        EXPECT_FALSE(QFile::exists(path() + ".bak"));
    }
}

TEST_F(StakesFileTest, OutdatedFileIsBackedUpThenEmptied) {
    TStakeRec oldVersion;
    oldVersion.Version = 1;
    const QByteArray cases[] = {
        QByteArray(313, '\x02'), // not a multiple of 312
        RecordBytes(oldVersion), // first record of version 1
        QByteArray(1, '\x02'),   // shorter than one record
    };
    int n = 0;
    for (const QByteArray &content : cases) {
        SCOPED_TRACE(n);
        WriteAll(path(), content);
        TFakeHost host;
        TTestStakes stakes(host, folder);
        ASSERT_TRUE(stakes.LoadStakes());
        ASSERT_EQ(host.Messages.size(), 1);
        EXPECT_EQ(host.Messages[0].Kind, TFakeHost::TKind::Warning);
        EXPECT_EQ(host.Messages[0].Text,
                  QStringLiteral(
                      "Обнаружен файл ставок устаревшей версии - имеющиеся в файле ставки будут удалены!"));
        EXPECT_EQ(stakes.Count(), 0);
        stakes.CloseStakes();
        EXPECT_EQ(QFileInfo(path()).size(), 0);
        // Earlier copies are never overwritten: the next one gets a number.
        const QString backup = n == 0 ? path() + ".bak" : path() + ".bak." + QString::number(n);
        EXPECT_EQ(ReadAll(backup), content);
        ++n;
    }
}

TEST_F(StakesFileTest, FailedBackupKeepsTheOutdatedFile) {
    const QByteArray content(313, '\x01');
    WriteAll(path(), content);
    // Every backup name is taken, so no copy can be made.
    WriteAll(path() + ".bak", "old");
    for (int n = 1; n <= 999; ++n)
        WriteAll(path() + ".bak." + QString::number(n), "old");
    TFakeHost host;
    TTestStakes stakes(host, folder);
    EXPECT_FALSE(stakes.LoadStakes());
    EXPECT_FALSE(stakes.IsOpen());
    ASSERT_EQ(host.Errors().size(), 1);
    EXPECT_TRUE(host.Errors()[0].startsWith(ReadErrorPrefix));
    EXPECT_EQ(ReadAll(path()), content);
    EXPECT_EQ(ReadAll(path() + ".bak"), "old");
}

TEST_F(StakesFileTest, SecondOpenOnTheSameFileIsRefusedUntilTheFirstCloses) {
    TFakeHost host;
    TTestStakes first(host, folder);
    ASSERT_TRUE(first.LoadStakes());

    TFakeHost host2;
    TTestStakes second(host2, folder);
    EXPECT_THROW(second.File().OpenStakes(path()), EError);
    EXPECT_FALSE(second.IsOpen());
    EXPECT_FALSE(second.LoadStakes());
    // A copy turned away by the data lock is told so, in one box.
    ASSERT_EQ(host2.Errors().size(), 1);
    EXPECT_EQ(host2.Errors()[0], TStakesController::DataLockMessage());

    first.CloseStakes();
    EXPECT_TRUE(second.LoadStakes());
}

TEST_F(StakesFileTest, LockIsSeenByAnotherProcess) {
    const QString flock = QStandardPaths::findExecutable(QStringLiteral("flock"));
    if (flock.isEmpty()) GTEST_SKIP() << "flock(1) not installed";
    TFakeHost host;
    TTestStakes stakes(host, folder);
    ASSERT_TRUE(stakes.LoadStakes());
    const auto tryLock = [&] {
        return QProcess::execute(
            flock, {QStringLiteral("-n"), QStringLiteral("-x"), path(), QStringLiteral("true")});
    };
    EXPECT_NE(tryLock(), 0);
    stakes.CloseStakes();
    EXPECT_EQ(tryLock(), 0);
}

TEST_F(StakesFileTest, ReadOnlyFolderRefusesTheLock) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    TFakeHost host;
    TTestStakes stakes(host, folder);
    EXPECT_FALSE(stakes.LoadStakes());
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(host.Errors().size(), 1);
}

TEST_F(StakesFileTest, RecordsAppendReadAndCount) {
    TFakeHost host;
    TTestStakes stakes(host, folder);
    EXPECT_THROW(stakes.File().AppendRecord(TStakeRec()), EError);
    EXPECT_EQ(stakes.Count(), 0);
    ASSERT_TRUE(stakes.LoadStakes());
    for (int i = 0; i < 3; ++i) {
        TStakeRec rec;
        rec.Kind = skManual;
        rec.DrawNumber = 100 + i;
        stakes.File().AppendRecord(rec);
    }
    EXPECT_EQ(stakes.Count(), 3);
    EXPECT_EQ(stakes.File().ReadRecord(2).DrawNumber, 102);
    EXPECT_THROW(stakes.File().ReadRecord(3), EError);
    EXPECT_THROW(stakes.File().ReadRecord(-1), EError);
    stakes.File().Truncate();
    EXPECT_EQ(stakes.Count(), 0);
}
