// The window system's host: message box kinds and titles, busy cursor,
// status line, progress and wait windows.

#include "GuiTestUtil.h"

#include "core/Errors.h"
#include "gui/shell/FormProgress.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

namespace lot {
namespace {

using guitest::TMessageRecorder;

class GuiHostTest : public ::testing::Test {
protected:
    void SetUp() override { guitest::EnsureApplication(); }
};

TEST_F(GuiHostTest, MessageBoxesCarryTheirTitles) {
    TGuiHost host;
    TMessageRecorder rec;
    rec.Attach(host);
    host.ShowError(QStringLiteral("e"));
    host.ShowInformation(QStringLiteral("i"));
    host.ShowAttention(QStringLiteral("a"));
    host.ShowWarning(QStringLiteral("w"));
    rec.Answer = false;
    EXPECT_FALSE(host.Confirm(QStringLiteral("c")));
    rec.Answer = true;
    EXPECT_TRUE(host.Confirm(QStringLiteral("d"), QStringLiteral("Предупреждение"), true));

    const struct {
        TMessageKind kind;
        const char *title;
        const char *text;
    } expected[] = {
        {TMessageKind::Error, "Ошибка", "e"},
        {TMessageKind::Information, "Информация", "i"},
        {TMessageKind::Attention, "Внимание!", "a"},
        {TMessageKind::Warning, "Предупреждение", "w"},
        {TMessageKind::Confirmation, "Подтверждение", "c"},
        {TMessageKind::Confirmation, "Предупреждение", "d"},
    };
    ASSERT_EQ(rec.Messages.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(rec.Messages[i].Kind, expected[i].kind) << i;
        EXPECT_EQ(rec.Messages[i].Title, QString::fromUtf8(expected[i].title)) << i;
        EXPECT_EQ(rec.Messages[i].Text, QString::fromUtf8(expected[i].text)) << i;
    }
}

TEST_F(GuiHostTest, BusyShowsTheWaitCursorUntilTheOutermostEnd) {
    TGuiHost host;
    QSignalSpy spy(&host, &TGuiHost::BusyChanged);
    host.BeginBusy();
    host.BeginBusy();
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    host.EndBusy();
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    host.EndBusy();
    host.EndBusy(); // never below zero, never an extra restore
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(host.IsIdle());
    ASSERT_EQ(spy.size(), 2);
    EXPECT_TRUE(spy[0][0].toBool());
    EXPECT_FALSE(spy[1][0].toBool());
}

TEST_F(GuiHostTest, StatusGoesToTheLabelAndNestedUpdatesDoNotRecurse) {
    TGuiHost host;
    QLabel label;
    host.SetStatusLabel(&label);
    int depth = 0, maxDepth = 0;
    // A timer that updates the status while events are processed by a status
    // update must not nest event processing.
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        maxDepth = qMax(maxDepth, ++depth);
        host.ShowStatus(QStringLiteral("inner"));
        --depth;
    });
    timer.start(0);
    for (int i = 0; i < 20; ++i)
        host.ShowStatus(QStringLiteral("Загрузка..."));
    timer.stop();
    EXPECT_EQ(maxDepth, 1);
    host.ShowStatus(QStringLiteral("Импорт..."));
    EXPECT_EQ(label.text(), QStringLiteral("Импорт..."));
    EXPECT_EQ(host.StatusText(), QStringLiteral("Импорт..."));
}

TEST_F(GuiHostTest, ProgressWindowIsSingleAndCancellable) {
    TGuiHost host;
    host.ProgressOpen(QStringLiteral("Построение..."), 10, true);
    TFormProgress *form = host.ProgressWindow();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form->Text(), QStringLiteral("Построение..."));
    EXPECT_EQ(form->Maximum(), 10);
    host.ProgressStep(4);
    host.ProgressStep(40); // never past the last step
    EXPECT_EQ(form->Position(), 10);
    host.ProgressText(QStringLiteral("Почти..."));
    EXPECT_EQ(form->Text(), QStringLiteral("Почти..."));

    try {
        host.ProgressOpen(QStringLiteral("second"), 3);
        ADD_FAILURE() << "a second progress window opened";
    } catch (const EError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Окно индикатора уже создано!"));
    }
    EXPECT_EQ(host.ProgressWindow(), form);

    ASSERT_NE(form->CancelButton(), nullptr);
    EXPECT_EQ(form->CancelButton()->text(), QStringLiteral("Отмена"));
    EXPECT_FALSE(host.ProgressCancelled());
    form->CancelButton()->click();
    EXPECT_TRUE(host.ProgressCancelled());
    // Closing the window by hand only asks for the stop; the caller closes it.
    form->close();
    EXPECT_EQ(host.ProgressWindow(), form);

    host.ProgressClose();
    EXPECT_EQ(host.ProgressWindow(), nullptr);
    {
        TProgressGuard guard(host, QStringLiteral("again"), 2);
        ASSERT_NE(host.ProgressWindow(), nullptr);
        EXPECT_EQ(host.ProgressWindow()->CancelButton(), nullptr);
    }
    EXPECT_EQ(host.ProgressWindow(), nullptr);
}

TEST_F(GuiHostTest, WaitWindowFollowsItsText) {
    TGuiHost host;
    QLabel label;
    host.SetStatusLabel(&label);
    host.WaitShow(QStringLiteral("Соединение..."));
    EXPECT_TRUE(host.IsWaitOpen());
    host.WaitText(QStringLiteral("Загрузка страницы..."));
    EXPECT_EQ(label.text(), QStringLiteral("Загрузка страницы..."));
    host.WaitClose();
    host.WaitClose();
    EXPECT_FALSE(host.IsWaitOpen());
}

} // namespace
} // namespace lot
