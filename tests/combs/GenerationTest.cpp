// Generation of the full set and of the "Мои числа" subsets.

#include "archive/ArchiveController.h"
#include "CombsTestUtil.h"
#include "core/DataFolder.h"
#include "core/WindowSettings.h"
#include "stats/StatsController.h"

#include "combs/CombGenerator.h"
#include "combs/CombsController.h"
#include "stats/StatList.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <QTemporaryDir>

using namespace lot;
using namespace lot::test;

namespace {

struct TGenCase {
    int Mode;
    const char *Parameters;
    int Count;
    TComb First;
    TComb Last;
};

class GenerationCases : public ::testing::TestWithParam<TGenCase> {};

TEST_P(GenerationCases, CountFirstAndLast) {
    const TGenCase &g = GetParam();
    TRecordingHost host;
    TCombsController list(host);
    ASSERT_TRUE(list.GenerateCombs(false, g.Mode, QString::fromUtf8(g.Parameters)));
    ASSERT_EQ(list.Count(), g.Count);
    EXPECT_EQ(GenerateCount(g.Mode, ParseMyNumbers(QString::fromUtf8(g.Parameters))), g.Count);
    if (g.Count > 0) {
        EXPECT_EQ(list.At(0), g.First);
        EXPECT_EQ(list.At(g.Count - 1), g.Last);
    }
    EXPECT_TRUE(host.Errors.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Modes, GenerationCases,
    ::testing::Values(TGenCase{0, "", FullSetSize, C(1, 2, 3, 4, 5, 6), C(40, 41, 42, 43, 44, 45)},
                      // Mode 0 ignores its parameter; a stored mode outside 1..4 means 0.
                      TGenCase{0, "1;2", FullSetSize, C(1, 2, 3, 4, 5, 6), C(40, 41, 42, 43, 44, 45)},
                      TGenCase{9, "1;2", FullSetSize, C(1, 2, 3, 4, 5, 6), C(40, 41, 42, 43, 44, 45)},
                      TGenCase{-1, "", FullSetSize, C(1, 2, 3, 4, 5, 6), C(40, 41, 42, 43, 44, 45)},
                      TGenCase{2, "1;2;3;4;5;6;7", 7, C(1, 2, 3, 4, 5, 6), C(2, 3, 4, 5, 6, 7)},
                      TGenCase{2, "1,2,3,4,5", 0, {}, {}}, TGenCase{1, "0;46", 0, {}, {}},
                      TGenCase{3, "", FullSetSize, C(1, 2, 3, 4, 5, 6), C(40, 41, 42, 43, 44, 45)},
                      // C(44,5): every combination with 45.
                      TGenCase{1, "45", 1086008, C(1, 2, 3, 4, 5, 45), C(40, 41, 42, 43, 44, 45)},
                      // C(44,6): every combination without 1.
                      TGenCase{3, "1", 7059052, C(2, 3, 4, 5, 6, 7), C(40, 41, 42, 43, 44, 45)},
                      // Words are trimmed; a word that is no integer and numbers outside
                      // 1..45 add nothing: only 5 and 7 count.
                      TGenCase{2, " 5 ; x, 300 ;7;-3;5;", 0, {}, {}},
                      TGenCase{1, " 5 ; x, 300 ;7", 1086008 + 1086008 - 123410, C(1, 2, 3, 4, 5, 6),
                               C(7, 41, 42, 43, 44, 45)},
                      TGenCase{2, "10;20;30;40;44;45;1;2", 28, C(1, 2, 10, 20, 30, 40),
                               C(10, 20, 30, 40, 44, 45)}));

} // namespace

TEST(Generation, SubsetsAreLexicographicAndAscending) {
    for (int mode = 0; mode <= 3; ++mode) {
        TRecordingHost host;
        TCombsController list(host);
        ASSERT_TRUE(list.GenerateCombs(false, mode, QStringLiteral("3;17;29;44;8;1;40")));
        const auto combs = list.Combs();
        for (size_t i = 0; i < combs.size(); ++i) {
            for (int k = 1; k < CombSize; ++k)
                ASSERT_LT(combs[i].N[k - 1], combs[i].N[k]) << "mode " << mode;
            if (i > 0) {
                ASSERT_TRUE(std::lexicographical_compare(combs[i - 1].N, combs[i - 1].N + 6, combs[i].N,
                                                         combs[i].N + 6))
                    << "mode " << mode << " at " << i;
            }
        }
        EXPECT_EQ(int64_t(combs.size()),
                  GenerateCount(mode, ParseMyNumbers(QStringLiteral("3;17;29;44;8;1;40"))));
    }
}

TEST(Generation, ModeRulesHoldForEveryCombination) {
    const uint64_t set = ParseMyNumbers(QStringLiteral("2;9;13;30;31;45"));
    TRecordingHost host;
    TCombsController full(host);
    ASSERT_TRUE(full.GenerateCombs(false, 0, {}));
    for (int mode = 1; mode <= 3; ++mode) {
        TCombsController list(host);
        ASSERT_TRUE(list.GenerateCombs(false, mode, QStringLiteral("2;9;13;30;31;45")));
        std::vector<TComb> expected;
        for (const TComb &c : full.Combs()) {
            int in = 0;
            for (int k = 0; k < CombSize; ++k)
                in += (set >> c.N[k]) & 1;
            const bool keep = mode == 1 ? in > 0 : mode == 2 ? in == CombSize : in == 0;
            if (keep) expected.push_back(c);
        }
        EXPECT_EQ(ToVector(list.Combs()), expected) << "mode " << mode;
    }
}

TEST(Generation, ShownGenerationResetsHistoryAndUndo) {
    TRecordingHost host;
    TCombsController list(host);
    int refreshes = 0;
    QObject::connect(&list, &TCombsController::ListChanged, [&] { ++refreshes; });
    ASSERT_TRUE(list.GenerateCombs(false, 2, QStringLiteral("1;2;3;4;5;6;7")));
    list.MakeUndoCopy(false);
    list.AddHistoryRow(true, QStringLiteral("Оп"), QStringLiteral("1"));

    // Without the show flag: no status, history and undo copy stay.
    ASSERT_TRUE(list.GenerateCombs(false, 2, QStringLiteral("1;2;3;4;5;6")));
    EXPECT_EQ(list.Count(), 1);
    EXPECT_TRUE(host.Statuses.isEmpty());
    EXPECT_EQ(list.History().size(), 1);
    EXPECT_TRUE(list.CanUndo());
    EXPECT_EQ(refreshes, 0);

    ASSERT_TRUE(list.GenerateCombs(true, 2, QStringLiteral("1;2;3;4;5;6;7")));
    EXPECT_EQ(list.Count(), 7);
    ASSERT_FALSE(host.Statuses.isEmpty());
    EXPECT_EQ(host.Statuses.first(), QStringLiteral("Генерация возможных комбинаций..."));
    EXPECT_EQ(host.Statuses.last(), QString()); // cleared when done
    EXPECT_TRUE(list.History().isEmpty());
    EXPECT_FALSE(list.CanUndo());
    EXPECT_FALSE(list.RestoreUndo(false));
    EXPECT_EQ(refreshes, 1);
    EXPECT_TRUE(host.IsIdle());
}

TEST(Generation, ModeFourReadsACombinationFile) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("my.lcv"));
    ASSERT_TRUE(WriteBytes(file, "6,5,4,3,2,1\r\n1;2;3;4;5;7\r\n"));
    TRecordingHost host;
    TCombsController list(host);
    ASSERT_TRUE(list.GenerateCombs(true, 4, file));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.At(0), C(6, 5, 4, 3, 2, 1));

    // A missing file: the reader's own error text, an empty list.
    host.Clear();
    const QString missing = dir.filePath(QStringLiteral("none.lcv"));
    EXPECT_FALSE(list.GenerateCombs(true, 4, missing));
    EXPECT_EQ(list.Count(), 0);
    ASSERT_EQ(host.Errors.size(), 1);
    EXPECT_TRUE(host.Errors[0].startsWith(QStringLiteral("Ошибка чтения файла \"") + missing +
                                          QStringLiteral("\"!\r\r")))
        << host.Errors[0].toStdString();
}

TEST(Generation, ModeTextsInSelectorOrder) {
    const QStringList texts = CombsGenerateModeTexts();
    ASSERT_EQ(texts.size(), CombsGenerateModeCount);
    EXPECT_EQ(texts[0], QStringLiteral("Полный список (все возможные для данного лото варианты)"));
    EXPECT_EQ(texts[4], QStringLiteral("Загрузить список из заранее подготовленного CSV-файла"));
}

TEST(Generation, NewListSavesParametersOnlyWhenAsked) {
    QTemporaryDir dir;
    TRecordingHost host;
    TDataFolder folder(dir.path());
    TWindowSettings settings;
    TArchiveController archive(host, folder, settings);
    TStatsController statsArea(host, folder, settings, archive);
    const TStatList &stats = statsArea.Registry();
    TCombsController list(host);

    ASSERT_TRUE(list.NewCombsList(statsArea, 2, QStringLiteral("1;2;3;4;5;6;7"), false));
    EXPECT_EQ(list.Count(), 7);
    EXPECT_FALSE(QFile::exists(stats.SettingsFileName()));
    EXPECT_EQ(stats.CombsGenerateMode(), 0);

    ASSERT_TRUE(list.NewCombsList(statsArea, 2, QStringLiteral("1;2;3;4;5;6;7;8"), true));
    EXPECT_EQ(list.Count(), 28);
    EXPECT_FALSE(list.CanUndo()); // the shown generation empties the copy it was given
    EXPECT_TRUE(host.Statuses.contains(QStringLiteral("Создание файла отката...")));

    // What the next start finds.
    TStatList next(nullptr, dir.path());
    ASSERT_NO_THROW(next.LoadCombsGenerate());
    EXPECT_EQ(next.CombsGenerateMode(), 2);
    EXPECT_EQ(next.CombsGenerateParameters(), QStringLiteral("1;2;3;4;5;6;7;8"));
    TCombsController atStart(host);
    ASSERT_TRUE(atStart.GenerateSavedCombs(next));
    EXPECT_EQ(ToVector(atStart.Combs()), ToVector(list.Combs()));
    EXPECT_TRUE(host.Errors.isEmpty());
}
