// Exclusion of the last draws and the draw key set behind it.

#include "CombsTestUtil.h"

#include "archive/DrawsArchive.h"
#include "combs/CombsController.h"
#include "combs/DrawKeySet.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <QRandomGenerator>

using namespace lot;
using namespace lot::test;

namespace {

// Positions 0..5 (newest first) hold these draws.
TDrawsArchive SixDraws() {
    TDrawsArchive a;
    a.Append(Draw(101, {40, 41, 42, 43, 44, 45})); // position 5
    a.Append(Draw(102, {1, 2, 3, 4, 5, 7}));       // position 4
    a.Append(Draw(103, {9, 3, 21, 1, 30, 2}));     // position 3, unsorted
    a.Append(Draw(104, {1, 2, 3, 4, 5, 9}));       // position 2
    a.Append(Draw(105, {1, 2, 3, 4, 5, 8}));       // position 1
    a.Append(Draw(106, {6, 5, 4, 3, 2, 1}));       // position 0, newest
    return a;
}

// The plain way: sort both sides and compare, draw by draw.
std::vector<TComb> Expected(std::span<const TComb> combs, const TDrawsArchive &a, int first, int last) {
    std::vector<std::array<uint8_t, 6>> draws;
    for (int i = first; i <= last; ++i) {
        std::array<uint8_t, 6> d;
        std::copy(a.At(i).Numbers, a.At(i).Numbers + 6, d.begin());
        std::sort(d.begin(), d.end());
        draws.push_back(d);
    }
    std::vector<TComb> out;
    out.reserve(combs.size());
    if (draws.empty()) return std::vector<TComb>(combs.begin(), combs.end());
    for (const TComb &c : combs) {
        std::array<uint8_t, 6> s;
        std::copy(c.N, c.N + 6, s.begin());
        std::sort(s.begin(), s.end());
        if (std::find(draws.begin(), draws.end(), s) == draws.end()) out.push_back(c);
    }
    return out;
}

struct TExcludeCase {
    int N;
    int Offset;
    int First; ///< array indexes of the draws that must be used
    int Last;
};

class ExcludeCases : public ::testing::TestWithParam<TExcludeCase> {};

TEST_P(ExcludeCases, RemovesExactlyTheDrawsInRange) {
    const TExcludeCase &t = GetParam();
    TDrawsArchive archive = SixDraws();
    archive.SetOffset(t.Offset);
    TRecordingHost host;
    TCombsController list(host);
    ASSERT_TRUE(list.GenerateCombs(false, 0, {}));
    const std::vector<TComb> expected = Expected(list.Combs(), archive, t.First, t.Last);

    list.MakeUndoCopy(true);
    const int removed = list.ExcludeLastDraws(archive, t.N);
    EXPECT_EQ(removed, FullSetSize - int(expected.size()));
    EXPECT_TRUE(std::equal(list.Combs().begin(), list.Combs().end(), expected.begin(), expected.end()));
    ASSERT_EQ(list.History().size(), 1);
    EXPECT_EQ(list.History()[0].Operation, QStringLiteral("Последние тиражи"));
    EXPECT_EQ(list.History()[0].Values, QString::number(t.N));
    EXPECT_EQ(list.History()[0].Count, QString::number(list.Count()));
    EXPECT_EQ(list.History()[0].ImageIndex, HistoryIconFlagOn);
    EXPECT_TRUE(list.CanUndo());
    EXPECT_TRUE(host.IsIdle());
}

INSTANTIATE_TEST_SUITE_P(Ranges, ExcludeCases,
                         ::testing::Values(TExcludeCase{3, 0, 3, 5},   // the three newest draws
                                           TExcludeCase{3, 2, 1, 3},   // positions 2, 3 and 4
                                           TExcludeCase{100, 0, 0, 5}, // more than the archive holds
                                           TExcludeCase{0, 0, 1, 0},   // N = 0: nothing
                                           TExcludeCase{-2, 0, 1, 0},  // a negative N: nothing
                                           TExcludeCase{2, 6, 1, 0},   // offset beyond the archive
                                           TExcludeCase{1, 5, 0, 0})); // the oldest draw only

TEST(ExcludeDraws, ProgressTextsAndEmptyArchive) {
    TDrawsArchive empty;
    TRecordingHost host;
    TCombsController list(host);
    ASSERT_TRUE(list.GenerateCombs(false, 0, {}));
    list.MakeUndoCopy(false);
    EXPECT_EQ(list.ExcludeLastDraws(empty, 3), 0);
    EXPECT_EQ(list.Count(), FullSetSize);
    ASSERT_GE(host.Statuses.size(), 3);
    EXPECT_EQ(host.Statuses[0], QStringLiteral("Удаление из списка комбинаций 3 последних тиражей..."));
    EXPECT_EQ(host.Statuses[1],
              QStringLiteral("Удаление из списка комбинаций 3 последних тиражей ( завершено 1 % )..."));
    EXPECT_EQ(host.Statuses[host.Statuses.size() - 2],
              QStringLiteral("Удаление из списка комбинаций 3 последних тиражей ( завершено 100 % )..."));
    EXPECT_LE(host.Statuses.size(), 103); // about a hundred updates per pass
}

TEST(ExcludeDraws, UnsortedAndRepeatedCombinationsFromAFile) {
    TDrawsArchive archive = SixDraws();
    TRecordingHost host;
    TCombsController list(host);
    // 6 5 4 3 2 1 holds the newest draw's numbers in another order and goes.
    // 1 1 2 3 4 5 shares six (i, j) pairs with the draw 1 2 3 4 5 8 but is
    // not that draw, so it stays.
    ASSERT_TRUE(
        list.PasteText(QStringLiteral("1 2 3 4 5 6\n6 5 4 3 2 1\n1 1 2 3 4 5\n8 5 4 3 2 1\n7 8 9 10 11 12")));
    EXPECT_EQ(list.ExcludeLastDraws(archive, 2), 3); // no undo copy taken: it takes one
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.At(0), C(1, 1, 2, 3, 4, 5));
    EXPECT_EQ(list.At(1), C(7, 8, 9, 10, 11, 12));
    EXPECT_TRUE(list.Undo());
    EXPECT_EQ(list.Count(), 5);
}

// With and without the filter (a few draws; many) the set must answer
// exactly as a sorted comparison, damaged draws included.
TEST(DrawKeySet, AgreesWithSortedComparison) {
    for (const int drawCount : {3000, 60}) {
        QRandomGenerator rng(20240607);
        std::vector<TDrawRec> draws;
        for (int i = 0; i < drawCount; ++i) {
            TDrawRec d;
            for (int k = 0; k < 6;) {
                const int n = int(rng.bounded(1, 46));
                if (std::find(d.Numbers, d.Numbers + k, n) == d.Numbers + k) d.Numbers[k++] = uint8_t(n);
            }
            draws.push_back(d);
        }
        // Damaged draws: a repeated number, a zero, a byte beyond 45.
        draws.push_back(Draw(1, {5, 5, 6, 7, 8, 9}));
        draws.push_back(Draw(2, {0, 1, 2, 3, 4, 5}));
        draws.push_back(Draw(3, {70, 1, 2, 3, 4, 6})); // 70 mod 64 = 6: must not look like 1..6
        const TDrawKeySet set(draws);
        EXPECT_EQ(set.HasFilter(), draws.size() <= size_t(TDrawKeySet::FilterDrawLimit));

        std::vector<std::array<uint8_t, 6>> sortedDraws;
        for (const TDrawRec &d : draws) {
            std::array<uint8_t, 6> s;
            std::copy(d.Numbers, d.Numbers + 6, s.begin());
            std::sort(s.begin(), s.end());
            sortedDraws.push_back(s);
        }
        const auto brute = [&](const TComb &c) {
            std::array<uint8_t, 6> s;
            std::copy(c.N, c.N + 6, s.begin());
            std::sort(s.begin(), s.end());
            return std::find(sortedDraws.begin(), sortedDraws.end(), s) != sortedDraws.end();
        };
        for (const TDrawRec &d : draws)
            EXPECT_TRUE(set.Contains(DrawToComb(d)));
        const TComb probes[] = {C(9, 8, 7, 6, 5, 5), C(5, 5, 5, 6, 7, 8),  C(1, 2, 3, 4, 5, 0),
                                C(1, 2, 3, 4, 6, 6), C(1, 2, 3, 4, 6, 70), C(6, 4, 3, 2, 1, 70)};
        for (const TComb &c : probes)
            EXPECT_EQ(set.Contains(c), brute(c)) << CombToText(c).toStdString();
        std::vector<TComb> sample;
        for (int i = 0; i < 20000; ++i) {
            TComb c;
            for (int k = 0; k < 6; ++k)
                c.N[k] = uint8_t(rng.bounded(1, 46));
            sample.push_back(c);
            ASSERT_EQ(set.Contains(c), brute(c)) << CombToText(c).toStdString();
            TComb d = DrawToComb(draws[size_t(i) % draws.size()]);
            std::reverse(d.N, d.N + 6);
            ASSERT_TRUE(set.Contains(d));
            sample.push_back(d);
        }
        // The copying loop agrees with the per-combination answer.
        std::vector<TComb> expected, copied(sample.size());
        for (const TComb &c : sample)
            if (!brute(c)) expected.push_back(c);
        copied.resize(size_t(CopyExceptDraws(sample.data(), int(sample.size()), copied.data(), set)));
        EXPECT_EQ(copied, expected);
    }
    EXPECT_FALSE(TDrawKeySet().Contains(C(1, 2, 3, 4, 5, 6)));
}

TEST(ExcludeDraws, ParallelPathEqualsSequential) {
    TRecordingHost host;
    TCombsController full(host);
    ASSERT_TRUE(full.GenerateCombs(false, 0, {}));
    // Removals at the very start, the very end and around the part borders.
    const std::vector<TDrawRec> draws = {Draw(1, {6, 5, 4, 3, 2, 1}),     Draw(2, {40, 41, 42, 43, 44, 45}),
                                         Draw(3, {3, 4, 10, 20, 30, 40}), Draw(4, {12, 13, 14, 15, 16, 17}),
                                         Draw(5, {7, 8, 9, 10, 11, 12}),  Draw(6, {1, 2, 3, 4, 5, 6})};
    const TDrawKeySet set(draws);
    std::vector<TComb> sequential(FullSetSize);
    sequential.resize(size_t(CopyExceptDraws(full.Data(), full.Count(), sequential.data(), set)));
    ASSERT_EQ(sequential.size(), size_t(FullSetSize - 5)); // two draws hold the same numbers
    for (const int threads : {2, 3, 7}) {
        std::vector<TComb> parallel(FullSetSize);
        int calls = 0;
        parallel.resize(size_t(CopyExceptDrawsParallel(full.Data(), full.Count(), parallel.data(), set,
                                                       threads, [&](int) { ++calls; })));
        EXPECT_TRUE(parallel == sequential) << threads << " threads";
        EXPECT_GE(calls, 90);
        EXPECT_LE(calls, 101);
    }

    // The list operation gives the same with one thread and with several.
    TDrawsArchive archive;
    for (const TDrawRec &d : draws)
        archive.Append(d);
    TCombsController one(host), many(host);
    one.SetThreads(1);
    many.SetThreads(4);
    for (TCombsController *list : {&one, &many}) {
        ASSERT_TRUE(list->GenerateCombs(false, 0, {}));
        list->MakeUndoCopy(false);
        EXPECT_EQ(list->ExcludeLastDraws(archive, 6), 5);
    }
    EXPECT_TRUE(std::equal(one.Combs().begin(), one.Combs().end(), many.Combs().begin(), many.Combs().end()));
}

TEST(FindInDraws, ListsNewestFirstAndStopsAfter26) {
    TDrawsArchive archive;
    for (int i = 1; i <= 40; ++i)
        archive.Append(i % 4 == 0 ? Draw(i, {7, 3, 9, 1, 40, 22}) : Draw(i, {1, 2, 3, 4, 5, 6}));
    const QStringList lines = TCombsController::FindInDraws(C(1, 3, 7, 9, 22, 40), archive);
    ASSERT_EQ(lines.size(), 10);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Тираж № 40 от"))) << lines[0].toStdString();

    const QStringList many = TCombsController::FindInDraws(C(1, 2, 3, 4, 5, 6), archive);
    ASSERT_EQ(many.size(), 26); // 30 draws hold it; the scan stops past 25 lines
    EXPECT_TRUE(many[0].startsWith(QStringLiteral("Тираж № 39 от")));

    const QString message = TCombsController::FindInDrawsMessage(C(1, 3, 7, 9, 22, 40), archive);
    EXPECT_TRUE(
        message.startsWith(QStringLiteral("Выделенная комбинация найдена в следующих тиражах:\r\n\r\n")));
    EXPECT_EQ(TCombsController::FindInDrawsMessage(C(10, 11, 12, 13, 14, 15), archive),
              QStringLiteral("Выделенная комбинация не найдена архиве тиражей!"));
}

} // namespace
