#include "archive/DrawsArchive.h"

#include "ArchiveTestUtil.h"
#include "core/Errors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace lot;
using lot::test::MakeDraw;
using lot::test::ReadBytes;
using lot::test::SameRecord;
using lot::test::WriteBytes;

namespace {

TDrawsArchive ArchiveOf(const std::vector<int> &numbers) {
    TDrawsArchive archive;
    for (int n : numbers)
        archive.Append(MakeDraw(n));
    return archive;
}

/// Ten draws 4000, 4002, ..., 4018 whose first main number is the array index
/// + 1, so that a position can be told from the numbers it returns.
TDrawsArchive TenDraws() {
    TDrawsArchive archive;
    for (int i = 0; i < 10; ++i)
        archive.Append(MakeDraw(4000 + 2 * i, {i + 1, 11, 17, 25, 40, 44}, {7, 29},
                                QStringLiteral("%1 Dec 2026").arg(i + 1)));
    return archive;
}

} // namespace

// ---- FindDrawIndex -------------------------------------------------------------

TEST(FindDrawIndex, FindsEveryDrawOfAnEvenlyNumberedArchive) {
    std::vector<int> numbers;
    for (int i = 0; i < 200; ++i)
        numbers.push_back(1001 + 2 * i);
    const TDrawsArchive archive = ArchiveOf(numbers);
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(archive.FindDrawIndex(1001 + 2 * i), i) << i;
    // The gaps between the numbers, and numbers beyond both ends.
    for (int n : {1000, 1002, 1200, 1398, 1400, 0, -5, INT_MAX, INT_MIN})
        EXPECT_EQ(archive.FindDrawIndex(n), -1) << n;
}

TEST(FindDrawIndex, SearchesIrregularAndUnorderedArchives) {
    struct Case {
        std::vector<int> numbers;
        int find;
        int expected;
    };
    const Case cases[] = {
        {{}, 5, -1},
        {{7}, 7, 0},
        {{7}, 8, -1},
        {{1, 2, 3, 100, 101, 500}, 3, 2}, // big gaps: the guess lands far off
        {{1, 2, 3, 100, 101, 500}, 101, 4},
        {{1, 2, 3, 100, 101, 500}, 500, 5}, // last
        {{1, 2, 3, 100, 101, 500}, 1, 0},   // first
        {{1, 2, 3, 100, 101, 500}, 99, -1},
        {{10, 5, 30, 20, 1}, 30, 2}, // not monotonic: the scan finds it
        {{10, 5, 30, 20, 1}, 20, 3},
        {{10, 5, 30, 20, 1}, 5, 1},
        {{10, 5, 30, 20, 1}, 4, -1},
        {{5, 9, 4}, 9, 1},                    // last = first - 1: no guess possible
        {{1, 2, 5, 4, 5, 9}, 5, 2},           // a repeated number: the walk from the guess decides
        {{-2000000000, 0, 2000000000}, 0, 1}, // extreme numbers do not overflow the guess
        {{2000000000, 0, -2000000000}, 0, 1},
        {{INT_MIN, 17, INT_MAX}, 17, 1},
        {{INT_MIN, 17, INT_MAX}, 18, -1},
    };
    for (const Case &c : cases) {
        const TDrawsArchive archive = ArchiveOf(c.numbers);
        EXPECT_EQ(archive.FindDrawIndex(c.find), c.expected)
            << "find " << c.find << " among " << c.numbers.size();
    }
}

// ---- positions and the offset ---------------------------------------------------

TEST(DrawsArchivePositions, EmptyArchive) {
    const TDrawsArchive archive;
    for (int position : {-1, 0, 1, 5}) {
        EXPECT_EQ(archive.NextDrawNumber(position), 1);
        EXPECT_EQ(archive.DrawNumbersAt(position), TComb{});
        EXPECT_EQ(archive.DrawDateIntAt(position, 1), 19860101);
        EXPECT_EQ(archive.PositionToIndex(position), -1);
        EXPECT_EQ(archive.DrawAtPosition(position), nullptr);
    }
    EXPECT_TRUE(archive.NextDrawSet().isEmpty());
}

TEST(DrawsArchivePositions, PositionsCountBackFromTheNewestDraw) {
    const TDrawsArchive archive = TenDraws();
    EXPECT_EQ(archive.PositionToIndex(0), 9);
    EXPECT_EQ(archive.PositionToIndex(9), 0);
    EXPECT_EQ(archive.NextDrawNumber(0), 4020); // newest 4018, plus 2
    EXPECT_EQ(archive.NextDrawNumber(3), 4014);
    EXPECT_EQ(archive.NextDrawNumber(9), 4002);
    EXPECT_EQ(archive.DrawNumbersAt(0), (TComb{{10, 11, 17, 25, 40, 44}}));
    EXPECT_EQ(archive.DrawNumbersAt(9), (TComb{{1, 11, 17, 25, 40, 44}}));
    EXPECT_EQ(archive.DrawDateIntAt(0, 0), 20261210);
    EXPECT_EQ(archive.DrawDateIntAt(0, 1), 20261211);
    EXPECT_EQ(archive.DrawDateIntAt(0, 30), 20270109);
    EXPECT_EQ(archive.DrawDateIntAt(9, -1), 20261130);
    for (int outside : {-1, 10, 1000, INT_MAX, INT_MIN}) {
        EXPECT_EQ(archive.NextDrawNumber(outside), -1) << outside;
        EXPECT_EQ(archive.DrawNumbersAt(outside), TComb{}) << outside;
        EXPECT_EQ(archive.DrawDateIntAt(outside, 1), 19860101) << outside;
    }
}

TEST(DrawsArchivePositions, NextDrawNumberSaturatesInsteadOfOverflowing) {
    const TDrawsArchive archive = ArchiveOf({INT_MAX - 1});
    EXPECT_EQ(archive.NextDrawNumber(0), INT_MAX);
}

TEST(DrawsArchivePositions, DrawDates) {
    TDrawsArchive archive;
    archive.Append(MakeDraw(1, {1, 2, 3, 4, 5, 6}, {7, 8}, QString())); // unknown date
    archive.Append(MakeDraw(3, {1, 2, 3, 4, 5, 6}, {7, 8}, QStringLiteral("31 dec 2026")));
    archive.Append(MakeDraw(5, {1, 2, 3, 4, 5, 6}, {7, 8}, QStringLiteral("32 Foo 2026")));
    EXPECT_EQ(archive.DrawDateIntAt(2, 1), 19860101); // unknown date: as if there were no draw
    EXPECT_EQ(archive.DrawDateIntAt(1, 1), 20270101);
    EXPECT_THROW(archive.DrawDateIntAt(0, 1), EConvertError);
}

TEST(DrawsArchivePositions, NextDrawSetIsTheFirstHiddenDraw) {
    TDrawsArchive archive = TenDraws();
    EXPECT_TRUE(archive.NextDrawSet().isEmpty());
    archive.SetOffset(3);
    // Offset 3 hides positions 0..2; the first hidden draw is position 2.
    EXPECT_EQ(archive.NextDrawSet(), (QList<int>{8, 11, 17, 25, 40, 44}));
    EXPECT_EQ(archive.NextDrawNumber(archive.Offset()), 4014);
    archive.SetOffset(10);
    EXPECT_EQ(archive.NextDrawSet(), (QList<int>{1, 11, 17, 25, 40, 44}));
    archive.SetOffset(11);
    EXPECT_TRUE(archive.NextDrawSet().isEmpty());
    archive.SetOffset(-4);
    EXPECT_EQ(archive.Offset(), 0);
}

// ---- editing -------------------------------------------------------------------

TEST(DrawsArchiveEdit, DeleteAndReplaceCheckTheIndex) {
    TDrawsArchive archive = ArchiveOf({1, 3, 5, 7});
    archive.DeleteDrawAt(1);
    ASSERT_EQ(archive.Count(), 3);
    EXPECT_EQ(archive.At(0).DrawNumber, 1);
    EXPECT_EQ(archive.At(1).DrawNumber, 5);
    EXPECT_EQ(archive.At(2).DrawNumber, 7);

    for (int bad : {-1, 3, 100}) {
        try {
            archive.DeleteDrawAt(bad);
            ADD_FAILURE() << "no error for index " << bad;
        } catch (const EError &e) {
            EXPECT_EQ(e.Message(),
                      QStringLiteral("Запись со индексом %1 в файле данных не найдена!").arg(bad));
        }
        EXPECT_THROW(archive.Replace(bad, MakeDraw(9)), EError);
    }
    EXPECT_EQ(archive.Count(), 3);

    archive.Replace(2, MakeDraw(9));
    EXPECT_EQ(archive.At(2).DrawNumber, 9);
    archive.ClearDraws();
    EXPECT_TRUE(archive.IsEmpty());
}

// ---- the draws file --------------------------------------------------------------

class DrawsFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString Path(const QString &name = QStringLiteral("Brantlee_6x45.ldr")) const {
        return m_dir.filePath(name);
    }
    QTemporaryDir m_dir;
};

TEST_F(DrawsFileTest, SaveWritesLittleEndianRecordsAndLoadReadsThemBack) {
    TDrawsArchive archive;
    archive.Append(MakeDraw(0x01020304, {5, 1, 9, 30, 22, 14}, {45, 1}, QStringLiteral("15 Dec 2026")));
    archive.Append(MakeDraw(-7, {1, 2, 3, 4, 5, 6}, {7, 8}, QString()));
    archive.SaveDrawsFile(Path());

    const QByteArray bytes = ReadBytes(Path());
    ASSERT_EQ(bytes.size(), 48);
    EXPECT_EQ(bytes.left(12), QByteArray::fromHex("04030201"
                                                  "0501091e160e"
                                                  "2d01"));
    EXPECT_EQ(bytes.mid(12, 12), QByteArray("\x0b"
                                            "15 Dec 2026",
                                            12));

    TDrawsArchive loaded;
    loaded.LoadDrawsFile(Path());
    ASSERT_EQ(loaded.Count(), 2);
    EXPECT_TRUE(SameRecord(loaded.At(0), archive.At(0)));
    EXPECT_TRUE(SameRecord(loaded.At(1), archive.At(1)));
    EXPECT_EQ(loaded.At(1).DrawNumber, -7);
}

TEST_F(DrawsFileTest, MissingFileGivesAnEmptyArchive) {
    TDrawsArchive archive = ArchiveOf({1, 3});
    EXPECT_NO_THROW(archive.LoadDrawsFile(Path()));
    EXPECT_TRUE(archive.IsEmpty());
}

TEST_F(DrawsFileTest, TrailingPartialRecordKeepsTheWholeRecordsAndRaises) {
    const TDrawsArchive original = TenDraws();
    ASSERT_TRUE(WriteBytes(Path(), TDrawsArchive::DrawsToBytes(original.Draws()).left(100)));
    TDrawsArchive archive;
    try {
        archive.LoadDrawsFile(Path());
        ADD_FAILURE() << "a 100-byte file must raise";
    } catch (const EError &e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("100"))) << e.Message().toStdString();
    }
    ASSERT_EQ(archive.Count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(SameRecord(archive.At(i), original.At(i))) << i;
}

TEST_F(DrawsFileTest, RecordsWithNumbersOutsideTheRangeAreSkipped) {
    TDrawsArray draws;
    draws.push_back(MakeDraw(1));
    draws.push_back(MakeDraw(3, {0, 11, 17, 25, 40, 44})); // main 0
    draws.push_back(MakeDraw(5, {3, 11, 17, 25, 40, 46})); // main 46
    draws.push_back(MakeDraw(7, {3, 11, 17, 25, 40, 45}, {1, 45}));
    draws.push_back(MakeDraw(9, {3, 11, 17, 25, 40, 44}, {7, 255})); // supplementary 255
    draws.push_back(MakeDraw(11, {3, 11, 17, 25, 40, 44}, {0, 7}));  // supplementary 0
    draws.push_back(MakeDraw(13));
    ASSERT_TRUE(WriteBytes(Path(), TDrawsArchive::DrawsToBytes(draws)));

    TDrawsArchive archive;
    try {
        archive.LoadDrawsFile(Path());
        ADD_FAILURE() << "skipped records must be reported";
    } catch (const EError &e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral(": 4."))) << e.Message().toStdString();
    }
    ASSERT_EQ(archive.Count(), 3);
    EXPECT_EQ(archive.At(0).DrawNumber, 1);
    EXPECT_EQ(archive.At(1).DrawNumber, 7);
    EXPECT_EQ(archive.At(2).DrawNumber, 13);
}

TEST_F(DrawsFileTest, TheFirstSaveAfterALossyLoadKeepsTheFileAsItWas) {
    TDrawsArray withBadRecord = TenDraws().Draws();
    withBadRecord[3].Numbers[2] = 46;
    const QByteArray badBytes = TDrawsArchive::DrawsToBytes(withBadRecord);
    const QByteArray truncated = TDrawsArchive::DrawsToBytes(TenDraws().Draws()).left(100);
    for (const QByteArray &original : {badBytes, truncated}) {
        QFile::remove(Path(QStringLiteral("Brantlee_6x45.ldr.bak")));
        ASSERT_TRUE(WriteBytes(Path(), original));
        TDrawsArchive archive;
        EXPECT_THROW(archive.LoadDrawsFile(Path()), EError);
        EXPECT_TRUE(archive.LoadedWithLosses());
        const QByteArray kept = TDrawsArchive::DrawsToBytes(archive.Draws());
        archive.SaveDrawsFile(Path());
        EXPECT_EQ(ReadBytes(Path(QStringLiteral("Brantlee_6x45.ldr.bak"))), original);
        EXPECT_EQ(ReadBytes(Path()), kept);
        EXPECT_FALSE(archive.LoadedWithLosses());
        // Nothing more is lost by later saves: no second copy.
        archive.SaveDrawsFile(Path());
        EXPECT_FALSE(QFile::exists(Path(QStringLiteral("Brantlee_6x45.ldr.bak.1"))));
    }
    // A copy already there is kept; the new one takes the next name.
    ASSERT_TRUE(WriteBytes(Path(), badBytes));
    TDrawsArchive archive;
    EXPECT_THROW(archive.LoadDrawsFile(Path()), EError);
    archive.SaveDrawsFile(Path());
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("Brantlee_6x45.ldr.bak.1"))), badBytes);
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("Brantlee_6x45.ldr.bak"))), truncated);
}

TEST_F(DrawsFileTest, ACleanFileIsSavedWithoutACopy) {
    ASSERT_TRUE(WriteBytes(Path(), TDrawsArchive::DrawsToBytes(TenDraws().Draws())));
    TDrawsArchive archive;
    archive.LoadDrawsFile(Path());
    EXPECT_FALSE(archive.LoadedWithLosses());
    archive.SaveDrawsFile(Path());
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("Brantlee_6x45.ldr.bak"))));
}

TEST_F(DrawsFileTest, BothProblemsAreReportedTogether) {
    TDrawsArray draws{MakeDraw(1), MakeDraw(3, {0, 0, 0, 0, 0, 0}, {0, 0})};
    ASSERT_TRUE(WriteBytes(Path(), TDrawsArchive::DrawsToBytes(draws) + QByteArray("xyz")));
    TDrawsArchive archive;
    try {
        archive.LoadDrawsFile(Path());
        ADD_FAILURE();
    } catch (const EError &e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("51"))) << e.Message().toStdString();
        EXPECT_TRUE(e.Message().contains(QStringLiteral(": 1."))) << e.Message().toStdString();
    }
    EXPECT_EQ(archive.Count(), 1);
}

TEST_F(DrawsFileTest, DateLengthAndTailAreNormalisedOnLoad) {
    QByteArray record =
        TDrawsArchive::DrawsToBytes({MakeDraw(1, {1, 2, 3, 4, 5, 6}, {7, 8}, QStringLiteral("1 Jan 2027"))});
    record[23] = 'Z'; // an undefined tail byte past the 10 date characters
    QByteArray overlong = TDrawsArchive::DrawsToBytes({MakeDraw(3)});
    overlong[12] = char(200); // a length the 11-character field cannot hold
    ASSERT_TRUE(WriteBytes(Path(), record + overlong));

    TDrawsArchive archive;
    archive.LoadDrawsFile(Path());
    ASSERT_EQ(archive.Count(), 2);
    EXPECT_EQ(DrawDateText(archive.At(0)), QStringLiteral("1 Jan 2027"));
    EXPECT_EQ(archive.At(0).DrawDate.Chars[10], '\0');
    EXPECT_EQ(archive.At(1).DrawDate.Length, 11);

    // Loading and saving again gives the normalised image, byte for byte stable.
    archive.SaveDrawsFile(Path(QStringLiteral("again.ldr")));
    TDrawsArchive again;
    again.LoadDrawsFile(Path(QStringLiteral("again.ldr")));
    EXPECT_EQ(TDrawsArchive::DrawsToBytes(again.Draws()), ReadBytes(Path(QStringLiteral("again.ldr"))));
}

TEST_F(DrawsFileTest, UnreadableFileRaisesTheFileError) {
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("folder.ldr")));
    TDrawsArchive archive = ArchiveOf({1});
    EXPECT_THROW(archive.LoadDrawsFile(Path(QStringLiteral("folder.ldr"))), EError);
    EXPECT_TRUE(archive.IsEmpty());
}

TEST_F(DrawsFileTest, SaveReplacesTheFileWhole) {
    ASSERT_TRUE(WriteBytes(Path(), QByteArray(1000, 'x')));
    TDrawsArchive archive = ArchiveOf({1, 3});
    archive.SaveDrawsFile(Path());
    EXPECT_EQ(ReadBytes(Path()), TDrawsArchive::DrawsToBytes(archive.Draws()));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Brantlee_6x45.ldr")});

    TDrawsArchive empty;
    empty.SaveDrawsFile(Path());
    EXPECT_EQ(QFileInfo(Path()).size(), 0);
}

TEST_F(DrawsFileTest, SaveIntoAMissingFolderRaises) {
    TDrawsArchive archive = ArchiveOf({1});
    EXPECT_THROW(archive.SaveDrawsFile(Path(QStringLiteral("no/such/folder.ldr"))), EError);
}

TEST_F(DrawsFileTest, SaveIntoAReadOnlyFolderRaisesAndKeepsTheOldFile) {
    if (geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
    TDrawsArchive old = ArchiveOf({1, 3});
    old.SaveDrawsFile(Path());
    ASSERT_TRUE(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    TDrawsArchive newer = ArchiveOf({1, 3, 5, 7});
    EXPECT_THROW(newer.SaveDrawsFile(Path()), EError);
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(ReadBytes(Path()), TDrawsArchive::DrawsToBytes(old.Draws()));
}

namespace {

/// Caps the size of files this process may write (a full disk, as far as the
/// writer can tell) and restores the limit when it goes out of scope.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        m_ok = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool Ok() const { return m_ok; }

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_ok = false;
};

} // namespace

TEST_F(DrawsFileTest, AWriteFailureMidwayKeepsTheOldFile) {
    TDrawsArchive old = ArchiveOf({1, 3});
    old.SaveDrawsFile(Path());
    std::vector<int> many;
    for (int i = 0; i < 5000; ++i)
        many.push_back(1 + 2 * i);
    TDrawsArchive newer = ArchiveOf(many); // 120,000 bytes
    {
        TFileSizeLimit limit(4096);
        ASSERT_TRUE(limit.Ok());
        EXPECT_THROW(newer.SaveDrawsFile(Path()), EError);
    }
    EXPECT_EQ(ReadBytes(Path()), TDrawsArchive::DrawsToBytes(old.Draws()));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Brantlee_6x45.ldr")});
}
