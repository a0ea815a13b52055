#include "gui/filters/FormFilter.h"
#include "filters/FilterText.h"
#include "GuiTestUtil.h"
#include "stats/CustomStatBases.h"
#include "stats/methods/NumberMethods.h"
#include "stats/StatTable.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>

namespace lot {
namespace {

/// A method whose values cannot be typed as a list.
class TstNoList : public TCustomNumbersStat {
    LOT_STAT_CLASS(TstNoList)
public:
    using TCustomNumbersStat::TCustomNumbersStat;
    static QString CodeFormat() { return QStringLiteral("NOLS"); }
    static QString CaptionFormat() { return QStringLiteral("Без списка значений"); }
    static uint8_t Group() { return 0; }
    static uint8_t Flags() { return 0; }
    static bool AllowsValueList() { return false; }
    bool CombMatches(const TComb &, const TStatDrawArray &, int, bool, bool) override { return false; }
};

class FormFilterTest : public ::testing::Test {
protected:
    void SetUp() override {
        guitest::EnsureApplication();
        stats.RegisterClasses(
            {&TstValues::StaticClass(), &TstNoList::StaticClass(), &TstPosVal::StaticClass()});
        recorder.Attach(host);
        methods = stats.SelectorItems().Statistics;
    }

    std::unique_ptr<TFormFilter> MakeForm(int methodIndex = 1, int length = 1000) {
        return std::make_unique<TFormFilter>(stats, methods, methodIndex, length, &host);
    }

    static void Type(QWidget *target, const QString &text) {
        for (const QChar ch : text) {
            const int key = ch == QLatin1Char('\b') ? int(Qt::Key_Backspace) : 0;
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
            QCoreApplication::sendEvent(target, &press);
        }
    }

    /// Runs "ОК" and returns the message it showed (empty when accepted).
    QString PressOk(TFormFilter &form) {
        recorder.Messages.clear();
        form.accept();
        return recorder.Messages.isEmpty() ? QString() : recorder.Messages.last().Text;
    }

    TDrawsArchive archive;
    TStatList stats{&archive};
    TGuiHost host;
    guitest::TMessageRecorder recorder;
    QList<TSelectorItem> methods;
};

TEST_F(FormFilterTest, InitialState) {
    const auto form = MakeForm(1, 750);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Фильтр"));
    EXPECT_EQ(form->MethodBox()->count(), methods.size());
    EXPECT_EQ(form->MethodBox()->currentIndex(), 1);
    EXPECT_EQ(form->LengthsEdit()->text(), QStringLiteral("750"));
    EXPECT_EQ(form->SortBox()->count(), StatColumnCount);
    EXPECT_EQ(form->SortBox()->currentText(), QStringLiteral("Количество"));
    EXPECT_EQ(form->DirectionBox()->currentText(), QStringLiteral("Сверху-вниз"));
    EXPECT_EQ(form->FilterModeBox()->currentText(), QStringLiteral("Удалить выделенные"));
    EXPECT_FALSE(form->MultiSelectBox()->isChecked());
    EXPECT_EQ(form->LevelModeBox()->count(), LevelModeCount);
    EXPECT_EQ(form->LevelModeBox()->currentText(), QStringLiteral("Весь список (без условий)"));
    EXPECT_EQ(form->StopModeBox()->count(), StopModeCount);
    EXPECT_EQ(form->StopModeBox()->currentText(), QStringLiteral("Обработать все записи"));
    EXPECT_EQ(form->StopValueEdit()->minimum(), 1);
    EXPECT_EQ(form->StopValueEdit()->maximum(), 2147483647);
    EXPECT_EQ(form->CoefCountEdit()->decimals(), 3);
    EXPECT_FALSE(form->OverrideBox()->isEnabled());
    EXPECT_FALSE(form->CoefCountEdit()->isEnabled());
    // The registry's coefficients are shown.
    EXPECT_EQ(form->CoefDeviationEdit()->value(), -1.0);
    EXPECT_EQ(form->CoefLevelEdit()->value(), 1.0);
}

TEST_F(FormFilterTest, CoefficientControlsFollowTheWeightModesAndTheOverrideBox) {
    const auto form = MakeForm();
    QWidget *fields[] = {form->CoefCountEdit(), form->CoefDeviationEdit(), form->CoefLevelEdit(),
                         form->UsePercentsBox(), form->UseAbsValuesBox()};
    for (int mode = 0; mode < LevelModeCount; ++mode) {
        form->LevelModeBox()->setCurrentIndex(mode);
        EXPECT_EQ(form->OverrideBox()->isEnabled(), mode >= 19 && mode <= 21) << mode;
    }
    form->LevelModeBox()->setCurrentIndex(lmWeightMin);
    for (QWidget *w : fields)
        EXPECT_FALSE(w->isEnabled());
    form->OverrideBox()->click();
    for (QWidget *w : fields)
        EXPECT_TRUE(w->isEnabled());
    form->LevelModeBox()->setCurrentIndex(lmPeriodMinMin);
    EXPECT_TRUE(form->OverrideBox()->isChecked()); // the tick stays, the box is only disabled
    for (QWidget *w : fields)
        EXPECT_FALSE(w->isEnabled());
    form->LevelModeBox()->setCurrentIndex(lmWeightList);
    for (QWidget *w : fields)
        EXPECT_TRUE(w->isEnabled());
    form->OverrideBox()->click();
    for (QWidget *w : fields)
        EXPECT_FALSE(w->isEnabled());
}

TEST_F(FormFilterTest, FillsFromAnItemAndStoresItBack) {
    const QString text = QStringLiteral("BMF8#POS2:100-500;100#WMV:10#ST:3#0.5:-1:1.25:1:0");
    const TFilterItem item = TextToFilter(stats, text);
    ASSERT_GE(item.Method, 0);
    const auto form = MakeForm(0);
    form->SetFilter(item);
    EXPECT_EQ(form->MethodBox()->currentData().toInt(), item.Method);
    EXPECT_EQ(form->LengthsEdit()->text(), QStringLiteral("100-500;100"));
    EXPECT_EQ(form->SortBox()->currentIndex(), 8);
    EXPECT_EQ(form->DirectionBox()->currentIndex(), 1);
    EXPECT_TRUE(form->MultiSelectBox()->isChecked());
    EXPECT_EQ(form->FilterModeBox()->currentIndex(), 1);
    EXPECT_TRUE(form->OverrideBox()->isEnabled());
    EXPECT_TRUE(form->CoefLevelEdit()->isEnabled());
    EXPECT_EQ(form->CoefLevelEdit()->value(), 1.25);
    EXPECT_EQ(form->StopValueEdit()->value(), 3);
    EXPECT_EQ(PressOk(*form), QString());
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(form->Filter(), item);
    EXPECT_EQ(FilterToText(stats, form->Filter()), text);
}

TEST_F(FormFilterTest, FillingKeepsDefaultsWhereTheItemIsSilent) {
    stats.SetWeightCoefs(TWeightCoefs{2, -3, 4, true, false});
    const auto form = MakeForm(1);
    // Disabled: nothing changes.
    form->SetFilter(TFilterItem{});
    EXPECT_EQ(form->MethodBox()->currentIndex(), 1);
    // A method that is not listed selects the first item; empty texts keep the fields.
    TFilterItem item = TextToFilter(stats, QStringLiteral("TSD1#ZZZZ:5#LNO:#SF:1"));
    form->SetFilter(item);
    EXPECT_EQ(form->MethodBox()->currentIndex(), 0);
    EXPECT_EQ(form->LengthsEdit()->text(), QStringLiteral("1000"));
    // Without its own coefficients the registry's are shown.
    EXPECT_EQ(form->CoefCountEdit()->value(), 2.0);
    EXPECT_TRUE(form->UsePercentsBox()->isChecked());
    // The dialog does not touch the method word read from a text.
    EXPECT_EQ(form->Filter().MethodText, QStringLiteral("ZZZZ:5"));
    EXPECT_EQ(form->Filter().Method, methods[0].Entry);
}

TEST_F(FormFilterTest, TextFieldsAcceptOnlyDigitsAndListSeparators) {
    const auto form = MakeForm();
    for (QLineEdit *edit : {form->LengthsEdit(), form->ValuesEdit()}) {
        edit->clear();
        edit->setFocus();
        Type(edit, QStringLiteral("1 a2,-;.xЖ5"));
        EXPECT_EQ(edit->text(), QStringLiteral("12,-;5"));
        Type(edit, QStringLiteral("\b"));
        EXPECT_EQ(edit->text(), QStringLiteral("12,-;"));
    }
}

TEST_F(FormFilterTest, Validation) {
    const QString badRange = QStringLiteral("Введен некорректный диапазон значений!");
    const auto form = MakeForm(0);
    struct TCase {
        const char *Lengths;
        bool Accepted;
    };
    for (const TCase &c : {TCase{"0", false}, TCase{"", false}, TCase{"1-10", false}, TCase{"0,5", true},
                           TCase{"100-300;100", true}, TCase{"7", true}}) {
        form->LengthsEdit()->setText(QString::fromLatin1(c.Lengths));
        EXPECT_EQ(form->Validate(), c.Accepted) << c.Lengths;
        if (!c.Accepted) {
            EXPECT_EQ(form->focusWidget(), form->LengthsEdit());
        }
    }
    EXPECT_EQ(recorder.Messages.size(), 3);
    for (const guitest::TMessage &m : recorder.Messages) {
        EXPECT_EQ(m.Kind, TMessageKind::Error);
        EXPECT_EQ(m.Text, badRange);
    }

    // Values are needed for every mode but 0.
    form->LevelModeBox()->setCurrentIndex(lmCountMinValue);
    EXPECT_EQ(PressOk(*form), badRange);
    EXPECT_EQ(form->focusWidget(), form->ValuesEdit());
    form->ValuesEdit()->setText(QStringLiteral("3"));
    EXPECT_TRUE(form->Validate());

    // A value list only for methods whose values can be typed.
    form->LevelModeBox()->setCurrentIndex(lmValueList);
    EXPECT_TRUE(form->Validate());
    form->MethodBox()->setCurrentIndex(1); // NOLS
    EXPECT_EQ(PressOk(*form),
              QStringLiteral("Для данного вида статистики не доступен режим выделения по списку значений!"));
    EXPECT_EQ(form->focusWidget(), form->LevelModeBox());
    form->LevelModeBox()->setCurrentIndex(lmValueList - 1);
    EXPECT_TRUE(form->Validate());

    // Multi-selection cannot stop at a count of combinations.
    form->MultiSelectBox()->setChecked(true);
    form->StopModeBox()->setCurrentIndex(smCombCount);
    EXPECT_EQ(PressOk(*form),
              QStringLiteral("В режиме мультивыделения остановка сценария по количеству комбинаций "
                             "или чисел не может быть выполнена!\rВыберите другой способ останова."));
    EXPECT_EQ(form->focusWidget(), form->StopModeBox());
    EXPECT_NE(form->result(), QDialog::Accepted);
    form->MultiSelectBox()->setChecked(false);
    EXPECT_EQ(PressOk(*form), QString());
    EXPECT_EQ(form->result(), QDialog::Accepted);
}

TEST_F(FormFilterTest, CancelLeavesTheItemUnchanged) {
    TStatTable table(host, stats, archive);
    table.FillSelector(false);
    TFilterItem item = TextToFilter(stats, QStringLiteral("TSD1#NUMS:10#LNO:#SF:1"));
    const TFilterItem before = item;
    QMetaObject::invokeMethod(
        qApp,
        [] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *d = qobject_cast<TFormFilter *>(w); d && d->isVisible()) d->reject();
        },
        Qt::QueuedConnection);
    EXPECT_FALSE(TFormFilter::EditFilter(stats, table, item, &host));
    EXPECT_EQ(item, before);
}

} // namespace
} // namespace lot
