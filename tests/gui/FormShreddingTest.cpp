// The shredding formulas dialog and its action: the formulas are checked on
// OK, saved with the game settings and shown in the method selectors.

#include "GuiTestUtil.h"

#include "gui/shell/ActionList.h"
#include "gui/shell/FormMain.h"
#include "gui/shell/FormShredding.h"
#include "gui/stats/StatsPage.h"
#include "stats/StatTable.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>

namespace lot {
namespace {

using guitest::TMessageRecorder;
using guitest::WhenModal;

class FormShreddingTest : public ::testing::Test {
protected:
    void SetUp() override { guitest::EnsureApplication(); }
    static QLineEdit *Formula(QWidget *form, int k) {
        return form->findChild<QLineEdit *>(QStringLiteral("edFormula%1").arg(k));
    }
    static QSpinBox *Digits(QWidget *form, int k) {
        return form->findChild<QSpinBox *>(QStringLiteral("edFormula%1Digits").arg(k));
    }
};

TEST_F(FormShreddingTest, OpensWithTheFormulasAndChecksThemOnOk) {
    TShreddingData data;
    data.Formula3Digits = 4;
    QStringList errors;
    TFormShredding form(data, nullptr, [&errors](const QString &t) { errors << t; });
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Методы шинковки"));
    EXPECT_EQ(Formula(&form, 1)->text(), QStringLiteral("(n1+n2+n3)/(n4+n5+n6)"));
    EXPECT_EQ(Digits(&form, 3)->value(), 4);
    EXPECT_EQ(Digits(&form, 1)->maximum(), 9);
    form.show();

    Formula(&form, 2)->setText(QStringLiteral("(n1+n2"));
    Formula(&form, 3)->setText(QStringLiteral("n1+foo"));
    form.accept();
    EXPECT_EQ(form.result(), int(QDialog::Rejected)) << "stays open";
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("Ошибка в формуле 2: не хватает закрывающей скобки.")))
        << errors[0].toStdString();
    EXPECT_EQ(QApplication::focusWidget() == nullptr || QApplication::focusWidget() == Formula(&form, 2),
              true);

    Formula(&form, 2)->setText(QStringLiteral("n12/(p1+1)"));
    form.accept();
    ASSERT_EQ(errors.size(), 2);
    EXPECT_TRUE(errors[1].startsWith(
        QStringLiteral("Ошибка в формуле 3: неизвестное имя или знак \"foo\" в позиции 4.")));

    Formula(&form, 3)->setText(QStringLiteral("N1/7"));
    Digits(&form, 1)->setValue(0);
    form.accept();
    EXPECT_EQ(form.result(), int(QDialog::Accepted));
    const TShreddingData edited = form.Data();
    EXPECT_EQ(edited.Formula2, QStringLiteral("n12/(p1+1)"));
    EXPECT_EQ(edited.Formula3, QStringLiteral("N1/7"));
    EXPECT_EQ(edited.Formula1Digits, 0);
    EXPECT_EQ(errors.size(), 2);
}

TEST_F(FormShreddingTest, CancelChangesNothing) {
    TShreddingData data;
    const TShreddingData before = data;
    const auto dialog = WhenModal<TFormShredding>([](TFormShredding *form) {
        Formula(form, 1)->setText(QStringLiteral("n1/7"));
        form->reject();
    });
    EXPECT_FALSE(TFormShredding::Execute(nullptr, data, [](const QString &) {}));
    EXPECT_EQ(data, before);
}

TEST_F(FormShreddingTest, TheActionSavesTheFormulasAndRefillsTheSelector) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    {
        TDrawsArchive archive;
        for (const TDrawRec &d : guitest::TenDraws())
            archive.Append(d);
        archive.SaveDrawsFile(dir.filePath(QStringLiteral("Brantlee_6x45.ldr")));
    }
    TMessageRecorder rec;
    auto w = std::make_unique<TFormMain>(dir.path(), QStringList{});
    rec.Attach(w->Host());
    w->show();
    ASSERT_EQ(w->RunStartup(), TStartupResult::Running);
    TStatsPage *page = w->StatsPage();
    const auto selectorTexts = [page] {
        QStringList texts;
        for (int i = 0; i < page->MethodSelector()->count(); ++i)
            texts << page->MethodSelector()->itemText(i);
        return texts;
    };
    ASSERT_TRUE(
        selectorTexts().contains(QStringLiteral("{ shr } Метод шинковки 1: (n1+n2+n3)/(n4+n5+n6) [ SNG ]")));

    const auto dialog = WhenModal<TFormShredding>([](TFormShredding *form) {
        Formula(form, 1)->setText(QStringLiteral("n1/10+0.01")); // off the digit edges: 3.3 is 3.2999...
        Digits(form, 1)->setValue(1);
        form->accept();
    });
    QAction *action = w->Actions().Find(QStringLiteral("EditShredding"));
    ASSERT_NE(action, nullptr);
    action->trigger();

    const TStatList &registry = w->Workspace().Stats().Registry();
    EXPECT_EQ(registry.Shredding().Formula1, QStringLiteral("n1/10+0.01"));
    EXPECT_TRUE(selectorTexts().contains(QStringLiteral("{ shr } Метод шинковки 1: n1/10+0.01 [ SNG ]")));
    TStatList reread(nullptr, dir.path());
    reread.LoadShredding();
    EXPECT_EQ(reread.Shredding().Formula1, QStringLiteral("n1/10+0.01"));
    EXPECT_EQ(reread.Shredding().Formula1Digits, 1);

    // The table of the new formula: the last digit of each draw's first number.
    const int index = page->Table().SelectorIndexOfEntry(registry.FindEntry(QStringLiteral("SHR1")));
    ASSERT_GE(index, 0);
    page->MethodSelector()->setCurrentIndex(index);
    const TStatTable &table = page->Table();
    QStringList values;
    for (int r = 0; r < table.RowCount(); ++r)
        values << table.Cell(r, scValue);
    values.sort();
    // First numbers 31..40: the digits 1..9 and 0.
    EXPECT_EQ(values, QStringList({"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));
    EXPECT_TRUE(rec.Messages.isEmpty()) << rec.Texts().join('|').toStdString();
}

} // namespace
} // namespace lot
