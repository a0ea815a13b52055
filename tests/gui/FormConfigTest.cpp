// The game settings dialog, driven offscreen.

#include "gui/shell/FormConfig.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>

namespace lot {
namespace {

/// The dialog that Execute() is showing.
TFormConfig *ShownForm() {
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *form = qobject_cast<TFormConfig *>(w); form && form->isVisible()) return form;
    return nullptr;
}

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "test_gui";
    static char *argv[] = {name, nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);
}

class FormConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        m_data.Cost = TMoney::FromUnits(12345); // 1.2345: shown as 1.23
        m_data.Profits = {{3, TMoney::FromUnits(100000)}, {6, TMoney::FromUnits(1000000000)}};
        m_data.WeightCoefs.Count = 0.12345L;
        m_data.MatrixSegments[6] = 3; // number 7
        m_data.MaxStake = 8;
    }
    TFormConfig *MakeForm() {
        m_form = std::make_unique<TFormConfig>(m_data, nullptr, [this](const QString &t) { m_errors << t; });
        return m_form.get();
    }
    template <class T> T *Child(const char *name) {
        T *w = m_form->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QTableWidgetItem *SegmentCell(int number) {
        auto *grid = Child<QTableWidget>("sgSegments");
        const int cols = grid->columnCount();
        return grid->item((number - 1) / cols, (number - 1) % cols);
    }

    TConfigData m_data;
    QStringList m_errors;
    std::unique_ptr<TFormConfig> m_form;
};

TEST_F(FormConfigTest, OpensWithTheRecord) {
    MakeForm();
    EXPECT_EQ(m_form->windowTitle(), QStringLiteral("Параметры системы"));
    EXPECT_EQ(Child<QSpinBox>("edMatrixCol")->value(), 5);
    EXPECT_EQ(Child<QSpinBox>("edMatrixRow")->value(), 9);
    EXPECT_EQ(Child<QSpinBox>("edChannelSize")->minimum(), 3);
    EXPECT_EQ(Child<QDoubleSpinBox>("edCost")->decimals(), 2);
    EXPECT_EQ(Child<QDoubleSpinBox>("edCoefLevel")->decimals(), 3);
    EXPECT_FALSE(Child<QSpinBox>("edStakeMaxLen")->isVisibleTo(m_form.get()));

    auto *profits = Child<QTableWidget>("edProfits");
    ASSERT_EQ(profits->rowCount(), 7);
    EXPECT_EQ(profits->horizontalHeaderItem(0)->text(), QStringLiteral("Совпадений"));
    EXPECT_EQ(profits->horizontalHeaderItem(1)->text(), QStringLiteral("Сумма выигрыша"));
    const char *prizes[] = {"0.00", "0.00", "0.00", "10.00", "0.00", "0.00", "100000.00"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(profits->item(i, 0)->text(), QString::number(i));
        EXPECT_EQ(profits->item(i, 1)->text(), QString::fromLatin1(prizes[i])) << i;
    }
    EXPECT_EQ(SegmentCell(7)->text(), QStringLiteral("3"));
    EXPECT_EQ(SegmentCell(8)->text(), QStringLiteral("1"));
    EXPECT_EQ(SegmentCell(1)->textAlignment(), int(Qt::AlignCenter));
}

TEST_F(FormConfigTest, MatrixColumnsGiveTheRows) {
    MakeForm();
    auto *cols = Child<QSpinBox>("edMatrixCol");
    auto *rows = Child<QSpinBox>("edMatrixRow");
    auto *grid = Child<QTableWidget>("sgSegments");
    struct TCase {
        int Cols, Rows;
    };
    for (const TCase c : {TCase{8, 6}, TCase{9, 5}, TCase{10, 5}, TCase{11, 5}, TCase{45, 1}, TCase{1, 45}}) {
        cols->setValue(c.Cols);
        EXPECT_EQ(rows->value(), c.Rows) << c.Cols;
        EXPECT_EQ(grid->columnCount(), c.Cols);
        EXPECT_EQ(grid->rowCount(), c.Rows);
        int disabled = 0;
        for (int r = 0; r < grid->rowCount(); ++r)
            for (int k = 0; k < grid->columnCount(); ++k)
                if (grid->item(r, k)->flags() == Qt::NoItemFlags) {
                    ++disabled;
                    EXPECT_TRUE(grid->item(r, k)->text().isEmpty());
                }
        EXPECT_EQ(disabled, c.Cols * c.Rows - NumberCount) << c.Cols;
        EXPECT_EQ(SegmentCell(7)->text(), QStringLiteral("3")) << "digits follow their numbers";
    }
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST_F(FormConfigTest, SegmentCellsAcceptOnlyOneToNine) {
    MakeForm();
    const struct {
        const char *Typed;
        bool Bad;
    } cases[] = {{"0", true}, {"12", true}, {"", true}, {"9", false}, {"4", false}};
    for (const auto &c : cases) {
        m_errors.clear();
        SegmentCell(20)->setText(QString::fromLatin1(c.Typed));
        if (c.Bad) {
            ASSERT_EQ(m_errors.size(), 1) << c.Typed;
            EXPECT_EQ(m_errors[0], QStringLiteral("Некорректное значение: ") + QString::fromLatin1(c.Typed) +
                                       QStringLiteral("!\r\rУкажите любое число от 1 до 9"));
            EXPECT_EQ(SegmentCell(20)->text(), QStringLiteral("1"));
        } else {
            EXPECT_TRUE(m_errors.isEmpty()) << c.Typed;
            EXPECT_EQ(SegmentCell(20)->text(), QString::fromLatin1(c.Typed));
        }
    }
    EXPECT_EQ(m_form->Data().MatrixSegments[19], 4);
    // The digit survives a change of the layout.
    Child<QSpinBox>("edMatrixCol")->setValue(7);
    EXPECT_EQ(SegmentCell(20)->text(), QStringLiteral("4"));
}

TEST_F(FormConfigTest, DataFromTheControls) {
    MakeForm();
    // Untouched, the record comes back as it was, except the prize table,
    // which always holds the seven rows.
    TConfigData expected = m_data;
    expected.Profits.clear();
    for (int i = 0; i < 7; ++i)
        expected.Profits.push_back({uint8_t(i), {}});
    expected.Profits[3].Prize = TMoney::FromUnits(100000);
    expected.Profits[6].Prize = TMoney::FromUnits(1000000000);
    EXPECT_EQ(m_form->Data(), expected);
    EXPECT_TRUE(m_form->ChangedGroups().isEmpty());

    Child<QDoubleSpinBox>("edCost")->setValue(2.5);
    Child<QTableWidget>("edProfits")->item(4, 1)->setText(QStringLiteral("12,5"));
    Child<QDoubleSpinBox>("edCoefDeviation")->setValue(-0.25);
    Child<QCheckBox>("cbCoefAbs")->setChecked(true);
    Child<QSpinBox>("edChannelSize")->setValue(9);
    const TConfigData d = m_form->Data();
    EXPECT_EQ(d.Cost.Units, 25000);
    EXPECT_EQ(d.Profits[4].Prize.Units, 125000);
    EXPECT_EQ(d.WeightCoefs.Deviation, -0.25L);
    EXPECT_EQ(d.WeightCoefs.Count, 0.12345L) << "untouched coefficient keeps its precision";
    EXPECT_TRUE(d.WeightCoefs.UseAbsValues);
    EXPECT_EQ(d.MaxStake, 8);
    EXPECT_EQ(m_form->ChangedGroups(), QList<int>{3});
}

TEST_F(FormConfigTest, CancelChangesNothing) {
    const TConfigData before = m_data;
    QList<int> groups{99};
    QTimer::singleShot(0, [] {
        TFormConfig *form = ShownForm();
        ASSERT_NE(form, nullptr);
        form->findChild<QSpinBox *>(QStringLiteral("edMatrixCol"))->setValue(9);
        form->reject();
    });
    EXPECT_FALSE(TFormConfig::Execute(nullptr, m_data, groups, [](const QString &) {}));
    EXPECT_EQ(m_data, before);
    EXPECT_TRUE(groups.isEmpty());
}

TEST_F(FormConfigTest, OkReturnsTheRecordAndTheChangedGroups) {
    QList<int> groups;
    QTimer::singleShot(0, [] {
        TFormConfig *form = ShownForm();
        ASSERT_NE(form, nullptr);
        form->findChild<QSpinBox *>(QStringLiteral("edMatrixCol"))->setValue(9);
        auto *grid = form->findChild<QTableWidget *>(QStringLiteral("sgSegments"));
        grid->item(4, 8)->setText(QStringLiteral("2")); // number 45
        form->accept();
    });
    EXPECT_TRUE(TFormConfig::Execute(nullptr, m_data, groups, [](const QString &) {}));
    EXPECT_EQ(m_data.MatrixCols, 9);
    EXPECT_EQ(m_data.MatrixSegments[44], 2);
    EXPECT_EQ(m_data.MatrixSegments[6], 3);
    EXPECT_EQ(groups, (QList<int>{4, 5}));
}

} // namespace
} // namespace lot
