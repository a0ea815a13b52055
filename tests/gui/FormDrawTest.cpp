// The draw dialog: what it shows for a record and how OK validates the numbers.

#include "GuiTestUtil.h"

#include "gui/archive/FormDraw.h"

#include <gtest/gtest.h>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimeEdit>

namespace lot {
namespace {

using guitest::TMessageRecorder;

class FormDrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        guitest::EnsureApplication();
        m_rec.Attach(m_host);
    }
    TGuiHost m_host;
    TMessageRecorder m_rec;
};

TEST_F(FormDrawTest, ShowsTheRecord) {
    const TDrawRec draw = guitest::MakeDraw(4012, {3, 11, 17, 25, 40, 44}, 7, 29);
    TFormDraw form(m_host, QStringLiteral("Введите данные следующего тиража"), draw, true);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Данные тиража"));
    EXPECT_EQ(form.DrawNumberEdit()->value(), 4012);
    EXPECT_EQ(form.DrawNumberEdit()->minimum(), 1);
    EXPECT_EQ(form.DrawNumberEdit()->maximum(), 2147483647);
    EXPECT_EQ(form.DrawDataEdit()->text(), QStringLiteral("3;11;17;25;40;44;7;29"));
    EXPECT_EQ(form.DrawDateEdit()->date(), DrawTextToDate(DrawDateText(draw)));
    EXPECT_EQ(form.DrawTimeEdit()->time(), QTime(0, 0));
    auto *title = form.findChild<QLabel *>(QStringLiteral("lbTitle"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), QStringLiteral("Введите данные следующего тиража"));

    TDrawRec zero;
    zero.DrawNumber = 1;
    TFormDraw empty(m_host, {}, zero, true);
    EXPECT_EQ(empty.DrawDataEdit()->text(), QStringLiteral("0;0;0;0;0;0;0;0"));
    EXPECT_EQ(empty.DrawDateEdit()->date(), QDate::currentDate());
}

TEST_F(FormDrawTest, WithoutDateTheWindowIsShortAndHidesThePickers) {
    TFormDraw form(m_host, {}, guitest::MakeDraw(5, {1, 2, 3, 4, 5, 6}, 7, 8), false);
    form.show();
    EXPECT_EQ(form.height(), 200);
    EXPECT_FALSE(form.DrawDateEdit()->isVisible());
    EXPECT_FALSE(form.DrawTimeEdit()->isVisible());
    form.DrawDataEdit()->setText(QStringLiteral("1;2;3;4;5;6;7;8"));
    form.accept();
    EXPECT_EQ(DrawDateText(form.Draw()), DrawDateText(guitest::MakeDraw(5, {1, 2, 3, 4, 5, 6}, 7, 8)))
        << "without the date pickers the stored date stays";
}

TEST_F(FormDrawTest, OkValidatesTheNumbers) {
    const struct {
        const char *text;
        bool ok;
    } cases[] = {
        {"3;11;17;25;40;40;7;29", false},                                     // repeated main number
        {"3;11;17;25;40;46;7;29", false},                                     // out of range
        {"3;11;17;25;40;44;7", false},                                        // seven words
        {"3;11;17;25;40;44;7;29;1", false},  {"3;11;17;25;40;x;7;29", false}, // not an integer counts as 0
        {"3;11;17;25;40;44;0;29", false},    {"", false},
        {"3,11,17,25,40,44,7,44", true}, // a supplementary number may repeat a main one
        {" 3 ; 11;17,25;40;44;7;29 ", true},
    };
    for (const auto &c : cases) {
        m_rec.Messages.clear();
        TFormDraw form(m_host, {}, TDrawRec{}, false);
        form.show();
        form.DrawNumberEdit()->setValue(4014);
        form.DrawDataEdit()->setText(QString::fromUtf8(c.text));
        form.DrawNumberEdit()->setFocus();
        form.accept();
        if (c.ok) {
            EXPECT_EQ(form.result(), QDialog::Accepted) << c.text;
            EXPECT_TRUE(m_rec.Messages.isEmpty()) << c.text;
        } else {
            EXPECT_NE(form.result(), QDialog::Accepted) << c.text;
            EXPECT_TRUE(form.isVisible()) << c.text;
            ASSERT_EQ(m_rec.Messages.size(), 1) << c.text;
            EXPECT_EQ(m_rec.Messages[0].Kind, TMessageKind::Error);
            EXPECT_EQ(m_rec.Messages[0].Text, QStringLiteral("Введена некорректная комбинация!"));
            EXPECT_EQ(form.focusWidget(), form.DrawDataEdit()) << c.text;
        }
    }
}

TEST_F(FormDrawTest, ResultTakesTheNumbersAsTypedAndTheDateOnly) {
    TFormDraw form(m_host, {}, TDrawRec{}, true);
    form.DrawNumberEdit()->setValue(4014);
    form.DrawDataEdit()->setText(QStringLiteral("3,11,17,25,40,44,7,44"));
    form.DrawDateEdit()->setDate(QDate(2026, 12, 15));
    form.DrawTimeEdit()->setTime(QTime(21, 30));
    form.accept();
    ASSERT_EQ(form.result(), QDialog::Accepted);
    const TDrawRec d = form.Draw();
    EXPECT_EQ(d.DrawNumber, 4014);
    EXPECT_EQ(CombToText(DrawToComb(d)), QStringLiteral("3;11;17;25;40;44"));
    EXPECT_EQ(d.Extra[0], 7);
    EXPECT_EQ(d.Extra[1], 44);
    EXPECT_EQ(DrawDateText(d), QStringLiteral("15 Dec 2026"));
}

TEST_F(FormDrawTest, AnUnreadableStoredDateIsKeptUnlessADateIsPicked) {
    TDrawRec draw = guitest::MakeDraw(7, {1, 2, 3, 4, 5, 6}, 7, 8);
    SetDrawDateText(draw, QStringLiteral("31 Foo 2026"));
    {
        TFormDraw form(m_host, {}, draw, true);
        form.accept();
        ASSERT_EQ(form.result(), QDialog::Accepted);
        EXPECT_EQ(DrawDateText(form.Draw()), QStringLiteral("31 Foo 2026"));
    }
    {
        TFormDraw form(m_host, {}, draw, true);
        form.DrawDateEdit()->setDate(QDate(2027, 1, 1));
        form.accept();
        EXPECT_EQ(DrawDateText(form.Draw()), QStringLiteral("1 Jan 2027"));
    }
    EXPECT_TRUE(m_rec.Messages.isEmpty());
}

} // namespace
} // namespace lot
