// Combination files: the reader's handling of bad lines, the writer's exact
// bytes, and the open and save operations of the list.

#include "CombsTestUtil.h"

#include "combs/CombFile.h"
#include "combs/CombsController.h"
#include "core/Errors.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

using namespace lot;
using namespace lot::test;

namespace {

struct TLineCase {
    const char *Line;
    TCombLineKind Kind;
    TComb Comb;
};

class CombLineCases : public ::testing::TestWithParam<TLineCase> {};

TEST_P(CombLineCases, Parses) {
    const TLineCase &t = GetParam();
    const QByteArray line(t.Line);
    TComb c;
    EXPECT_EQ(ParseCombLine(line.constData(), line.size(), c), t.Kind) << t.Line;
    if (t.Kind == TCombLineKind::Combination) {
        EXPECT_EQ(c, t.Comb) << t.Line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CombLineCases,
    ::testing::Values(TLineCase{"1;2;3;4;5;6", TCombLineKind::Combination, C(1, 2, 3, 4, 5, 6)},
                      // kept in the given order, never sorted
                      TLineCase{"6,5,4,3,2,1", TCombLineKind::Combination, C(6, 5, 4, 3, 2, 1)},
                      TLineCase{" 1 ;\t2,3 ;04; +5;45 ", TCombLineKind::Combination, C(1, 2, 3, 4, 5, 45)},
                      // repeated numbers are a combination the user wrote; they stay
                      TLineCase{"7;7;7;7;7;7", TCombLineKind::Combination, C(7, 7, 7, 7, 7, 7)},
                      TLineCase{"1;2;3", TCombLineKind::Malformed, {}},
                      TLineCase{"", TCombLineKind::Malformed, {}},
                      TLineCase{"1;2;3;4;5;6;7", TCombLineKind::Malformed, {}},
                      TLineCase{"1;2;3;4;5;6;", TCombLineKind::Malformed, {}},
                      TLineCase{"1 2 3 4 5 6", TCombLineKind::Malformed, {}},
                      // six words, but not six numbers 1..45
                      TLineCase{"1;2;3;4;5;46", TCombLineKind::BadNumbers, {}},
                      TLineCase{"0;1;2;3;4;5", TCombLineKind::BadNumbers, {}},
                      TLineCase{"1;2;3;4;5;x", TCombLineKind::BadNumbers, {}},
                      TLineCase{"1;2;3;4;5;-6", TCombLineKind::BadNumbers, {}},
                      TLineCase{"1;2;3;4;;6", TCombLineKind::BadNumbers, {}},
                      TLineCase{"1;2;3;4;5;262", TCombLineKind::BadNumbers, {}}, // 262 mod 256 = 6
                      TLineCase{"1;2;3;4;5;99999999999999999999", TCombLineKind::BadNumbers, {}}));

TEST(CombFile, ReadsGoodLinesAndCountsBadOnes) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.lcv"));
    const QByteArray longLine(5000, '1');
    ASSERT_TRUE(WriteBytes(file, "\xEF\xBB\xBF"
                                 "1;2;3;4;5;6\r\n"
                                 "\r\n"
                                 "1;2;3\r\n"
                                 "6,5,4,3,2,1\n"  // LF only
                                 "1;2;3;4;5;46\r" // lone CR
                                 "0;0;0;0;0;0\r\n" +
                                     longLine +
                                     "\r\n"
                                     "\xC0\xC1;2;3;4;5;6\r\n" // Windows-1251 letters
                                     "10;20;30;40;44;45"));   // no final line break
    TCombsArray combs;
    int count = 0;
    TCombFileReadInfo info;
    ReadCombsFile(file, combs, count, info);
    ASSERT_EQ(count, 3);
    EXPECT_EQ(combs[0], C(1, 2, 3, 4, 5, 6)); // the byte order mark is not part of the first word
    EXPECT_EQ(combs[1], C(6, 5, 4, 3, 2, 1));
    EXPECT_EQ(combs[2], C(10, 20, 30, 40, 44, 45));
    EXPECT_EQ(info.Lines, 9);
    EXPECT_EQ(info.Loaded, 3);
    EXPECT_EQ(info.SkippedMalformed, 3);
    EXPECT_EQ(info.SkippedBadNumbers, 3);
}

TEST(CombFile, WriterBytesAndRoundTrip) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("out.lcv"));
    const std::vector<TComb> combs = {C(3, 11, 17, 25, 40, 44), C(6, 5, 4, 3, 2, 1)};
    WriteCombsFile(file, combs.data(), int(combs.size()));
    EXPECT_EQ(ReadBytes(file), QByteArray("3;11;17;25;40;44\r\n6;5;4;3;2;1\r\n"));

    TCombsArray back;
    int count = 0;
    TCombFileReadInfo info;
    ReadCombsFile(file, back, count, info);
    back.resize(size_t(count));
    EXPECT_EQ(back, combs);

    // A file that cannot be written raises the system's text and creates nothing.
    const QString bad = dir.filePath(QStringLiteral("no/such/folder/out.lcv"));
    EXPECT_THROW(WriteCombsFile(bad, combs.data(), 2), EError);
    EXPECT_FALSE(QFile::exists(bad));
}

TEST(CombFile, FullSetRoundTrip) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("full.lcv"));
    TRecordingHost host;
    TCombsController list(host);
    ASSERT_TRUE(list.GenerateCombs(false, 0, {}));
    ASSERT_TRUE(list.SaveCombsFile(file));
    TCombsController other(host);
    ASSERT_TRUE(other.OpenCombsFile(file));
    ASSERT_EQ(other.Count(), FullSetSize);
    EXPECT_TRUE(std::equal(list.Combs().begin(), list.Combs().end(), other.Combs().begin()));
    EXPECT_TRUE(host.Errors.isEmpty());
}

TEST(CombFile, OpenReplacesListAndCannotBeUndone) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("in.lcv"));
    ASSERT_TRUE(WriteBytes(file, "1;2;3;4;5;6\r\n\r\n1;2;3\r\n1;2;3;4;5;46\r\n"));
    TRecordingHost host;
    TCombsController list(host);
    ASSERT_TRUE(list.GenerateCombs(false, 2, QStringLiteral("1;2;3;4;5;6;7")));
    list.MakeUndoCopy(false);
    list.AddHistoryRow(false, QStringLiteral("Оп"), QString());

    ASSERT_TRUE(list.OpenCombsFile(file));
    EXPECT_EQ(list.Count(), 1);
    EXPECT_FALSE(list.CanUndo());
    EXPECT_TRUE(list.History().isEmpty());
    EXPECT_TRUE(host.Statuses.contains(QStringLiteral("Загрузка файла \"") + file + QStringLiteral("\"...")));
    // The line with 46 was dropped; the user is told so.
    ASSERT_EQ(host.Attentions.size(), 1);
    EXPECT_EQ(host.Attentions[0], QStringLiteral("В файле \"") + file +
                                      QStringLiteral("\" пропущено строк с числами вне диапазона 1..45: 1"));
}

TEST(CombFile, FailedOpenKeepsTheList) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("missing.lcv"));
    TRecordingHost host;
    TCombsController list(host);
    ASSERT_TRUE(list.GenerateCombs(false, 2, QStringLiteral("1;2;3;4;5;6;7")));
    const auto before = ToVector(list.Combs());
    EXPECT_FALSE(list.OpenCombsFile(file));
    EXPECT_EQ(ToVector(list.Combs()), before);
    EXPECT_FALSE(list.CanUndo());
    ASSERT_EQ(host.Errors.size(), 1);
    EXPECT_TRUE(host.Errors[0].startsWith(QStringLiteral("Ошибка чтения файла \"") + file +
                                          QStringLiteral("\"!\r\r")));
    EXPECT_TRUE(host.IsIdle());
}

TEST(CombFile, FailedSaveShowsTheWriteError) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("no/folder/x.lcv"));
    TRecordingHost host;
    TCombsController list(host);
    ASSERT_TRUE(list.GenerateCombs(false, 2, QStringLiteral("1;2;3;4;5;6;7")));
    EXPECT_FALSE(list.SaveCombsFile(file));
    ASSERT_EQ(host.Errors.size(), 1);
    EXPECT_TRUE(host.Errors[0].startsWith(QStringLiteral("Ошибка записи в файл \"") + file +
                                          QStringLiteral("\"!\r\r")));
    EXPECT_EQ(host.Statuses.first(), QStringLiteral("Сохранение файла \"") + file + QStringLiteral("\"..."));
}

TEST(CombFile, ListGrowsBeyondTheFullSetAndKeepsUndoRoom) {
    // A file longer than the storage makes both arrays grow together, so a
    // later reducing step still finds room for the whole undo copy.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("big.lcv"));
    QByteArray text;
    for (int i = 0; i < 1000; ++i)
        text += "1;2;3;4;5;6\r\n";
    ASSERT_TRUE(WriteBytes(file, text));
    TRecordingHost host;
    TCombsController list(host);
    ASSERT_TRUE(list.OpenCombsFile(file));
    EXPECT_EQ(list.Count(), 1000);
    list.MakeUndoCopy(false);
    EXPECT_EQ(list.UndoCount(), 1000);
    EXPECT_GE(list.Capacity(), 1000);
}

} // namespace
