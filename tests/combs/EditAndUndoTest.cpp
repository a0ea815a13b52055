// Undo, delete-selected, copy, paste and the history of the list.

#include "CombsTestUtil.h"

#include "combs/CombFile.h"
#include "combs/CombsController.h"
#include "core/Errors.h"

#include <gtest/gtest.h>

using namespace lot;
using namespace lot::test;

namespace {

class EditAndUndo : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(list.GenerateCombs(false, 2, QStringLiteral("1;2;3;4;5;6;7;8"))); }
    TRecordingHost host;
    TCombsController list{host};
};

TEST_F(EditAndUndo, DeleteSelectedThenUndoRestoresListAndOrder) {
    const auto before = ToVector(list.Combs());
    ASSERT_EQ(before.size(), 28u);
    list.AddHistoryRow(false, QStringLiteral("Первая"), QStringLiteral("x"));

    // Unordered, repeated and out-of-range rows: two distinct rows go.
    EXPECT_EQ(list.DeleteSelected({27, 0, 27, -1, 28, 1000}), 2);
    ASSERT_EQ(list.Count(), 26);
    EXPECT_EQ(list.At(0), before[1]);
    EXPECT_EQ(list.At(25), before[26]);
    ASSERT_EQ(list.History().size(), 2);
    const THistoryRow &row = list.History().last();
    EXPECT_EQ(row.Operation, QStringLiteral("Выделенные комбинации"));
    EXPECT_EQ(row.Values, QStringLiteral("2"));
    EXPECT_EQ(row.Count, QStringLiteral("26"));
    EXPECT_EQ(row.ImageIndex, HistoryIconFlagOn);
    EXPECT_TRUE(host.Statuses.contains(QStringLiteral("Создание файла отката...")));
    EXPECT_TRUE(host.Statuses.contains(QStringLiteral("Удаление выделенных комбинаций...")));
    EXPECT_TRUE(list.CanUndo());

    EXPECT_TRUE(list.Undo());
    EXPECT_EQ(ToVector(list.Combs()), before);
    ASSERT_EQ(list.History().size(), 1);
    EXPECT_EQ(list.History()[0].Operation, QStringLiteral("Первая"));
    EXPECT_TRUE(host.Statuses.contains(QStringLiteral("Отмена изменений...")));

    // One level only.
    EXPECT_FALSE(list.CanUndo());
    EXPECT_FALSE(list.Undo());
    EXPECT_EQ(ToVector(list.Combs()), before);
    EXPECT_EQ(list.History().size(), 1);
    EXPECT_TRUE(host.IsIdle());
}

TEST_F(EditAndUndo, DeleteWithoutValidRowsChangesNothing) {
    EXPECT_EQ(list.DeleteSelected({-5, 99}), 0);
    EXPECT_EQ(list.Count(), 28);
    EXPECT_FALSE(list.CanUndo());
    EXPECT_TRUE(list.History().isEmpty());
}

TEST_F(EditAndUndo, RestoringWithoutACopyNeverWipesTheList) {
    EXPECT_FALSE(list.RestoreUndo(true));
    EXPECT_EQ(list.Count(), 28);
    // An undo copy of an empty list is still a copy.
    TCombsController empty(host);
    empty.MakeUndoCopy(false);
    EXPECT_FALSE(empty.CanUndo());
    EXPECT_TRUE(empty.RestoreUndo(false));
}

TEST_F(EditAndUndo, HistoryIcons) {
    list.AddHistoryRow(true, QStringLiteral("A"), QStringLiteral("1"));
    list.AddHistoryRow(false, QStringLiteral("B"), QStringLiteral("2"));
    list.AddHistoryRowWithIcon(HistoryIconUndo, QStringLiteral("Отмена последней операции"), QString());
    ASSERT_EQ(list.History().size(), 3);
    EXPECT_EQ(list.History()[0].ImageIndex, 13);
    EXPECT_EQ(list.History()[1].ImageIndex, 12);
    EXPECT_EQ(list.History()[2].ImageIndex, 11);
    EXPECT_EQ(list.History()[2].Count, QStringLiteral("28"));
    list.ClearHistory();
    EXPECT_TRUE(list.History().isEmpty());
}

TEST_F(EditAndUndo, CopyGivesSelectedRowsInListOrder) {
    EXPECT_EQ(list.CopyText({2, 0, 2, 99}), QStringLiteral("01 02 03 04 05 06\r\n01 02 03 04 05 08\r\n"));
    EXPECT_EQ(list.CopyText({}), QString());
}

TEST(Paste, ReplacesAFullListAndCannotBeUndone) {
    TRecordingHost host;
    TCombsController list(host);
    ASSERT_TRUE(list.GenerateCombs(false, 0, {}));
    list.MakeUndoCopy(false);
    list.AddHistoryRow(true, QStringLiteral("Оп"), QString());
    ASSERT_TRUE(list.PasteText(QStringLiteral("01 02 03 04 05 06\r\n6,5,4,3,2,1\n45|44|43|42|41|40\r\n")));
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.At(1), C(6, 5, 4, 3, 2, 1));
    EXPECT_EQ(list.At(2), C(45, 44, 43, 42, 41, 40));
    EXPECT_TRUE(list.History().isEmpty());
    EXPECT_FALSE(list.CanUndo());
    EXPECT_EQ(host.Statuses.first(), QStringLiteral("Подождите пожалуйста..."));
    EXPECT_TRUE(host.Errors.isEmpty());
}

TEST(Paste, ABadLineLeavesTheListUnchanged) {
    struct TCase {
        const char *Text;
        const char *Error;
    };
    // A line that is not six words, and a line whose numbers are not all 1..45.
    const TCase cases[] = {
        {"1 2 3 4 5 6\r\n1 2 3\r\n4 5 6 7 8 9", "Некорректная комбинация: \"1 2 3\"!"},
        {"1 2 3 4 5 6\n1 2 3 4 5 x\n", "Некорректная комбинация: \"1 2 3 4 5 x\"!"},
        {"1 2 3 4 5 46", "Некорректная комбинация: \"1 2 3 4 5 46\"!"},
    };
    for (const TCase &t : cases) {
        TRecordingHost host;
        TCombsController list(host);
        ASSERT_TRUE(list.GenerateCombs(false, 2, QStringLiteral("1;2;3;4;5;6;7")));
        list.AddHistoryRow(true, QStringLiteral("Оп"), QString());
        const auto before = ToVector(list.Combs());
        EXPECT_FALSE(list.PasteText(QString::fromUtf8(t.Text)));
        ASSERT_EQ(host.Errors.size(), 1) << t.Text;
        EXPECT_EQ(host.Errors[0], QString::fromUtf8(t.Error));
        EXPECT_EQ(ToVector(list.Combs()), before) << t.Text;
        EXPECT_EQ(list.History().size(), 1); // only a successful paste clears it
        EXPECT_FALSE(list.CanUndo());
        EXPECT_TRUE(host.IsIdle());
    }
}

TEST(Paste, EmptyTextDoesNothing) {
    TRecordingHost host;
    TCombsController list(host);
    ASSERT_TRUE(list.GenerateCombs(false, 2, QStringLiteral("1;2;3;4;5;6;7")));
    EXPECT_FALSE(list.PasteText(QString()));
    EXPECT_EQ(list.Count(), 7);
    EXPECT_TRUE(host.Errors.isEmpty());
}

TEST(Paste, CopyTextPastesBack) {
    TRecordingHost host;
    TCombsController list(host);
    ASSERT_TRUE(list.GenerateCombs(false, 2, QStringLiteral("1;2;3;4;5;6;7;8;9")));
    QList<int> all;
    for (int i = 0; i < list.Count(); ++i)
        all << i;
    const auto before = ToVector(list.Combs());
    TCombsController other(host);
    ASSERT_TRUE(other.PasteText(list.CopyText(all)));
    EXPECT_EQ(ToVector(other.Combs()), before);
}

TEST(Queries, CombInListIsByteWise) {
    TRecordingHost host;
    TCombsController list(host);
    ASSERT_TRUE(list.PasteText(QStringLiteral("6 5 4 3 2 1\n10 20 30 40 41 42")));
    EXPECT_TRUE(list.CombInList(C(6, 5, 4, 3, 2, 1)));
    EXPECT_TRUE(list.CombInList(C(10, 20, 30, 40, 41, 42)));
    EXPECT_FALSE(list.CombInList(C(1, 2, 3, 4, 5, 6)));
    EXPECT_EQ(list.UniqueNumbersMessage(),
              QStringLiteral("В текущем списке комбинаций содержится 12 уникальных номеров"));
    EXPECT_EQ(list.CountText(), QStringLiteral("Комбинаций: 2"));
    EXPECT_EQ(list.At(-1), TComb{});
    EXPECT_EQ(list.At(2), TComb{});
}

} // namespace
