// The local system files: their names and masks, the dialog's normalisation
// of combination lines, the time stamps that tell an out-of-date copy, and
// laying a system over the chosen numbers.

#include "systems/SystemFiles.h"
#include "core/Codec1251.h"
#include "core/CoreHelpers.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace lot;

namespace {

tSystemInfo Info(int id, int nums, int block) {
    tSystemInfo info;
    info.Id = id;
    info.Nums = uint8_t(nums);
    info.Block = uint8_t(block);
    return info;
}

QByteArray Bytes(std::initializer_list<int> numbers) {
    QByteArray b;
    for (int n : numbers)
        b.append(char(n));
    return b;
}

void WriteFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(SystemFiles, NamesAndMasks) {
    EXPECT_EQ(SystemFileName(Info(12, 10, 3)), "6-10-3_0012.dat");
    EXPECT_EQ(SystemFileName(Info(12345, 45, 0)), "6-45-0_12345.dat");
    EXPECT_EQ(SystemFileName(Info(0, 7, 5)), "6-07-5_0000.dat");
    EXPECT_EQ(SystemFileMask(10), "6-10-*_*.dat");
    EXPECT_EQ(SystemFileMask(7), "6-07-*_*.dat");
    EXPECT_EQ(SystemNumsOfFileName(QStringLiteral("/x/Systems/6-10-3_0012.dat")), 10);
    EXPECT_EQ(SystemNumsOfFileName(QStringLiteral("wheel.txt")), 0);
    EXPECT_EQ(SystemsDir(QStringLiteral("/data")), "/data/Systems");
}

TEST(SystemFiles, FilesForNAreSortedByNameAndOnlyTheirs) {
    QTemporaryDir dir;
    for (const char *name :
         {"6-10-3_0012.dat", "6-10-0_0005.dat", "6-11-0_0001.dat", "6-10-1.dat", "5-10-0_1.dat"})
        WriteFile(dir.filePath(QString::fromLatin1(name)), "01 02 03 04 05 06\r\n");
    EXPECT_EQ(SystemFilesFor(dir.path(), 10), QStringList({"6-10-0_0005.dat", "6-10-3_0012.dat"}));
    EXPECT_EQ(SystemFilesFor(dir.path(), 11), QStringList({"6-11-0_0001.dat"}));
    EXPECT_TRUE(SystemFilesFor(dir.path(), 12).isEmpty());
}

TEST(SystemFiles, WordsSplitAtEverySeparator) {
    EXPECT_EQ(SystemLineWords(QStringLiteral(" 1 *2+3,,4.5/6 ")),
              QStringList({"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(SystemLineWords(QStringLiteral("1:2;3=4\\5_6|7~8-9")),
              QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
    EXPECT_TRUE(SystemLineWords(QStringLiteral(" -- ")).isEmpty());
}

TEST(SystemFiles, NormalisationRewritesSixWordLinesAndDropsTheRest) {
    struct TCase {
        const char *In;
        const char *Out;
        int Nums, Count;
    } cases[] = {
        {"1-2-3-4-5-6", "01 02 03 04 05 06", 6, 1},
        {"1,2,3,4,5,6", "01 02 03 04 05 06", 6, 1},
        {"  1 * 2+3 ,4.5/6  ", "01 02 03 04 05 06", 6, 1},
        {"1:2;3=4\\5_6\r\n7|8~9 10 11 12", "01 02 03 04 05 06\r\n07 08 09 10 11 12", 12, 2},
        {"1 2 3 4 5\n2 3 4 5 6 7 8\n\n3 4 5 6 7 9", "03 04 05 06 07 09", 7, 1},
        {"5 6 7 8 9 10\r11 12 13 14 15 20\n", "05 06 07 08 09 10\r\n11 12 13 14 15 20", 16, 2},
        {"", "", 0, 0},
        {"1 2 3\n", "", 0, 0},
    };
    for (const TCase &c : cases) {
        const TNormalisedSystem r = NormaliseSystemContent(QString::fromUtf8(c.In));
        EXPECT_EQ(r.Content, QString::fromUtf8(c.Out)) << c.In;
        EXPECT_EQ(r.Nums, c.Nums) << c.In;
        EXPECT_EQ(r.Count, c.Count) << c.In;
    }
}

TEST(SystemFiles, NormalisationRaisesOnAWordThatIsNoInteger) {
    EXPECT_THROW(NormaliseSystemContent(QStringLiteral("1 2 3 4 5 x")), EConvertError);
    // A line of another word count goes before its words are read.
    EXPECT_NO_THROW(NormaliseSystemContent(QStringLiteral("1 2 x 4 5")));
}

TEST(SystemFiles, SavedFileIsCrLfWithTheCatalogueTime) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Systems/6-07-0_0001.dat"));
    const QDateTime created(QDate(2024, 3, 5), QTime(10, 20, 30));
    SaveSystemFile(path, {QStringLiteral("1 2 3 4 5 6"), QStringLiteral("2 3 4 5 6 7")}, created);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("1 2 3 4 5 6\r\n2 3 4 5 6 7\r\n"));
    f.close();
    EXPECT_EQ(QFileInfo(path).lastModified().toSecsSinceEpoch(), created.toSecsSinceEpoch());
    EXPECT_FALSE(SystemFileOutOfDate(path, created));
    EXPECT_TRUE(SystemFileOutOfDate(path, created.addSecs(1)));
    EXPECT_TRUE(SystemFileOutOfDate(path, created.addDays(-3)));
    // Nothing to compare with: never out of date.
    EXPECT_FALSE(SystemFileOutOfDate(path, QDateTime()));
    EXPECT_FALSE(SystemFileOutOfDate(dir.filePath(QStringLiteral("Systems/none.dat")), created));
}

TEST(SystemFiles, LayingTheSystemOverTheChosenNumbers) {
    // The list 3;7;9;20;30;41 and 1;3;9;12;20;44 chooses these, in this order.
    const QByteArray chosen = Bytes({3, 7, 9, 20, 30, 41, 1, 12, 44});
    const std::vector<TComb> combs = ExpandSystemLines(
        {QStringLiteral("01 02 03 07 08 09"), QString(), QStringLiteral("9-8-7-6-5-4")}, chosen);
    ASSERT_EQ(combs.size(), 2u);
    EXPECT_EQ(CombToText(combs[0]), "3;7;9;1;12;44");
    TComb sorted = combs[0];
    SortComb(sorted);
    EXPECT_EQ(CombToText(sorted), "1;3;7;9;12;44");
    EXPECT_EQ(CombToText(combs[1]), "44;12;1;41;30;20");
}

TEST(SystemFiles, MalformedLinesAreRejected) {
    const QByteArray chosen = Bytes({1, 2, 3, 4, 5, 6, 7});
    const char *bad[] = {"1 2 3 4 5 8", "0 1 2 3 4 5", "1 2 3 4 5 5", "1 2 3 4 5", "1 2 3 4 5 z"};
    for (const char *line : bad)
        EXPECT_THROW(ExpandSystemLines({QString::fromLatin1(line)}, chosen), EError) << line;
    // Words past the sixth are not positions.
    EXPECT_EQ(ExpandSystemLines({QStringLiteral("1 2 3 4 5 6 99")}, chosen).size(), 1u);
}

TEST(SystemFiles, ExpandTakesTheFirstFileForNOrFails) {
    QTemporaryDir dir;
    const QByteArray chosen = Bytes({10, 20, 30, 40, 41, 42, 43});
    try {
        ExpandSystemFrom(dir.path(), chosen);
        FAIL();
    } catch (const ESystemNotFound &e) {
        EXPECT_EQ(e.Message(),
                  QStringLiteral("Система для 7 чисел не найдена или не загружена на компьютер!"));
    }
    WriteFile(dir.filePath(QStringLiteral("6-07-0_0009.dat")), "1 2 3 4 5 7\r\n");
    WriteFile(dir.filePath(QStringLiteral("6-07-0_0002.dat")), "1 2 3 4 5 6\r\n2 3 4 5 6 7\r\n");
    const TExpandedSystem s = ExpandSystemFrom(dir.path(), chosen);
    EXPECT_EQ(QFileInfo(s.FilePath).fileName(), "6-07-0_0002.dat");
    ASSERT_EQ(s.Combs.size(), 2u);
    EXPECT_EQ(CombToText(s.Combs[1]), "20;30;40;41;42;43");

    WriteFile(dir.filePath(QStringLiteral("6-07-0_0002.dat")), "1 2 3 4 5 6\r\n1 2 3 4 5 x\r\n");
    try {
        ExpandSystemFrom(dir.path(), chosen);
        FAIL();
    } catch (const EError &e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Ошибка загрузки комбинаций системы!\r\r")))
            << e.what();
        EXPECT_FALSE(dynamic_cast<const ESystemNotFound *>(&e));
    }
}
