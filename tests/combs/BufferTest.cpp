// The combination buffer: key, file, load and failure paths.

#include "CombsTestUtil.h"

#include "combs/CombsController.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

using namespace lot;
using namespace lot::test;

namespace {

class Buffer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        list.SetDataDir(dir.path());
        ASSERT_TRUE(list.GenerateCombs(false, 2, QStringLiteral("1;2;3;4;5;6;7;8")));
    }
    QTemporaryDir dir;
    TRecordingHost host;
    TCombsController list{host};
};

TEST_F(Buffer, CreateAndLoadByKey) {
    EXPECT_EQ(list.BufferKey(), (TBufferKey{-1, -1}));
    EXPECT_EQ(list.BufferFileName(), dir.filePath(QStringLiteral("Brantlee_6x45.~buff")));
    EXPECT_FALSE(list.LoadBuffer(-1, -1)); // no file

    const auto saved = ToVector(list.Combs());
    ASSERT_TRUE(list.CreateBuffer(0, 5));
    EXPECT_EQ(list.BufferKey(), (TBufferKey{0, 5}));
    EXPECT_EQ(QFileInfo(list.BufferFileName()).size(), qint64(saved.size() * 6));
    EXPECT_EQ(host.Statuses.first(), QStringLiteral("Создание буфера комбинаций..."));
    EXPECT_TRUE(host.Statuses.contains(QStringLiteral("Создание буфера комбинаций ( завершено 100 % )...")));

    ASSERT_TRUE(list.GenerateCombs(false, 0, {}));
    EXPECT_FALSE(list.LoadBuffer(1, 5));
    EXPECT_FALSE(list.LoadBuffer(0, 4));
    EXPECT_EQ(list.Count(), FullSetSize);
    host.Clear();
    ASSERT_TRUE(list.LoadBuffer(0, 5));
    EXPECT_EQ(ToVector(list.Combs()), saved);
    EXPECT_EQ(host.Statuses.first(), QStringLiteral("Загрузка буфера комбинаций..."));
    EXPECT_TRUE(host.Statuses.contains(QStringLiteral("Загрузка буфера комбинаций ( завершено 100 % )...")));
    EXPECT_TRUE(host.IsIdle());
}

TEST_F(Buffer, SameKeyWritesNothing) {
    ASSERT_TRUE(list.CreateBuffer(2, 3));
    ASSERT_TRUE(QFile::remove(list.BufferFileName()));
    EXPECT_TRUE(list.CreateBuffer(2, 3));
    EXPECT_FALSE(QFile::exists(list.BufferFileName()));
    EXPECT_FALSE(list.LoadBuffer(2, 3)); // key matches, file gone
}

TEST_F(Buffer, DeleteAndResetKey) {
    ASSERT_TRUE(list.CreateBuffer(0, 1));
    list.ResetBufferKey();
    EXPECT_EQ(list.BufferKey(), (TBufferKey{-1, -1}));
    EXPECT_TRUE(QFile::exists(list.BufferFileName()));
    ASSERT_TRUE(list.CreateBuffer(0, 1));
    list.DeleteBuffer();
    EXPECT_EQ(list.BufferKey(), (TBufferKey{-1, -1}));
    EXPECT_FALSE(QFile::exists(list.BufferFileName()));
    list.DeleteBuffer(); // nothing to delete: no error
    EXPECT_TRUE(host.Errors.isEmpty());
}

TEST_F(Buffer, DamagedFileFailsAndForgetsTheKey) {
    ASSERT_TRUE(list.CreateBuffer(0, 5));
    QByteArray bytes = ReadBytes(list.BufferFileName());
    bytes[9] = char(46);             // second combination, fourth number
    bytes.append("\x01\x02\x03", 3); // and a partial record, which is ignored
    ASSERT_TRUE(WriteBytes(list.BufferFileName(), bytes));
    EXPECT_FALSE(list.LoadBuffer(0, 5));
    ASSERT_EQ(host.Errors.size(), 1);
    EXPECT_TRUE(host.Errors[0].startsWith(QStringLiteral("Ошибка загрузки буфера комбинаций!\r\r")));
    EXPECT_EQ(list.BufferKey(), (TBufferKey{-1, -1}));
    EXPECT_TRUE(host.IsIdle());
}

TEST_F(Buffer, PartialRecordAtTheEndIsIgnored) {
    const auto saved = ToVector(list.Combs());
    ASSERT_TRUE(list.CreateBuffer(0, 5));
    QByteArray bytes = ReadBytes(list.BufferFileName());
    bytes.append("\x01\x02", 2);
    ASSERT_TRUE(WriteBytes(list.BufferFileName(), bytes));
    ASSERT_TRUE(list.LoadBuffer(0, 5));
    EXPECT_EQ(ToVector(list.Combs()), saved);
}

TEST_F(Buffer, FailedCreateKeepsTheOldKey) {
    ASSERT_TRUE(list.CreateBuffer(0, 5));
    list.SetDataDir(dir.filePath(QStringLiteral("no/such/folder")));
    EXPECT_FALSE(list.CreateBuffer(1, 5));
    ASSERT_EQ(host.Errors.size(), 1);
    EXPECT_TRUE(host.Errors[0].startsWith(QStringLiteral("Ошибка создания буфера комбинаций!\r\r")));
    EXPECT_EQ(list.BufferKey(), (TBufferKey{0, 5}));
}

} // namespace
