// The draws list model: newest first, columns, sorted view, row colours,
// and the model contract checked by QAbstractItemModelTester.

#include "GuiTestUtil.h"

#include "gui/archive/DrawsModel.h"

#include <gtest/gtest.h>
#include <QAbstractItemModelTester>
#include <QBrush>

namespace lot {
namespace {

// The model tester reports through warnings of its own category.
QStringList g_modelTestFailures;
void RecordModelTest(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    if (type != QtDebugMsg && context.category &&
        QLatin1String(context.category) == QLatin1String("qt.modeltest"))
        g_modelTestFailures << message;
}

class DrawsModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        guitest::EnsureApplication();
        for (const TDrawRec &d : guitest::TenDraws())
            m_archive.Append(d);
        m_model = std::make_unique<TDrawsModel>(m_archive);
        g_modelTestFailures.clear();
        m_previousHandler = qInstallMessageHandler(RecordModelTest);
        m_tester = std::make_unique<QAbstractItemModelTester>(
            m_model.get(), QAbstractItemModelTester::FailureReportingMode::Warning);
    }
    void TearDown() override {
        m_tester.reset();
        qInstallMessageHandler(m_previousHandler);
        EXPECT_TRUE(g_modelTestFailures.isEmpty()) << g_modelTestFailures.join('\n').toStdString();
    }
    QVariant Cell(int row, int column, int role = Qt::DisplayRole) const {
        return m_model->data(m_model->index(row, column), role);
    }
    QRgb Background(int row, int column) const {
        const QVariant v = Cell(row, column, Qt::BackgroundRole);
        return v.isValid() ? v.value<QBrush>().color().rgba() : 0;
    }

    TDrawsArchive m_archive;
    std::unique_ptr<TDrawsModel> m_model;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
    QtMessageHandler m_previousHandler = nullptr;
};

TEST_F(DrawsModelTest, NewestDrawFirstWithAllColumns) {
    ASSERT_EQ(m_model->rowCount(), 10);
    ASSERT_EQ(m_model->columnCount(), 11);
    QStringList headers;
    for (int c = 0; c < m_model->columnCount(); ++c)
        headers << m_model->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers, QStringList({"Тираж", "1", "2", "3", "4", "5", "6", "E1", "E2", "S", "Дата тиража"}));

    // Row 0 is draw k = 9: 40;10;30;20;11;35 e:7;29.
    const QList<int> row0 = {4019, 40, 10, 30, 20, 11, 35, 7, 29, 146};
    for (int c = 0; c < row0.size(); ++c)
        EXPECT_EQ(Cell(0, c).toInt(), row0[c]) << c;
    EXPECT_EQ(Cell(0, TDrawsModel::colDate).toString(), DrawDateText(m_archive.At(9)));
    EXPECT_EQ(Cell(9, TDrawsModel::colNumber).toInt(), 4001);
    EXPECT_FALSE(Cell(10, 0).isValid());
}

TEST_F(DrawsModelTest, SortedViewOrdersTheMainNumbersOnly) {
    m_model->SetSorted(true);
    QList<int> shown;
    for (int c = TDrawsModel::colFirst; c <= TDrawsModel::colLast; ++c)
        shown << Cell(0, c).toInt();
    EXPECT_EQ(shown, QList<int>({10, 11, 20, 30, 35, 40}));
    EXPECT_EQ(Cell(0, TDrawsModel::colExtra1).toInt(), 7);
    EXPECT_EQ(m_archive.At(9).Numbers[0], 40) << "the archive itself is never reordered";
}

TEST_F(DrawsModelTest, OffsetRowAndGroupColours) {
    m_archive.SetOffset(3);
    m_model->Repaint();
    const QRgb offsetRed = qRgb(0xFF, 0xAA, 0xAA);
    const QRgb white = qRgb(0xFF, 0xFF, 0xFF);
    // Colour draws on: number cells take the group colour even on the offset
    // row, the other cells of that row are light red, every other cell white.
    EXPECT_EQ(Background(3, TDrawsModel::colNumber), offsetRed);
    EXPECT_EQ(Background(3, TDrawsModel::colDate), offsetRed);
    EXPECT_EQ(Background(2, TDrawsModel::colNumber), white);
    EXPECT_EQ(Background(4, TDrawsModel::colSum), white);
    for (int row : {2, 3}) {
        for (int c = TDrawsModel::colFirst; c <= TDrawsModel::colLast; ++c) {
            const int n = Cell(row, c).toInt();
            EXPECT_EQ(Background(row, c), GroupColourRgb(n, 5) | 0xFF000000) << row << ' ' << c;
        }
    }
    // Row 0, column "1" shows 40: group 8 with channel 5 (#D4D4D4), group 4
    // with channel 10 (#FFAAAA).
    EXPECT_EQ(Background(0, TDrawsModel::colFirst), qRgb(0xD4, 0xD4, 0xD4));
    m_model->SetChannelSize(10);
    EXPECT_EQ(Background(0, TDrawsModel::colFirst), qRgb(0xFF, 0xAA, 0xAA));

    m_model->SetColored(false);
    EXPECT_EQ(Background(3, TDrawsModel::colFirst), offsetRed);
    EXPECT_EQ(Background(2, TDrawsModel::colFirst), 0u);
}

TEST_F(DrawsModelTest, RowCountFollowsTheArchiveOnlyOnRefresh) {
    m_archive.Append(guitest::MakeDraw(4021, {1, 2, 3, 4, 5, 6}, 7, 8));
    EXPECT_EQ(m_model->rowCount(), 10);
    m_model->Refresh(false);
    EXPECT_EQ(m_model->rowCount(), 11);
    EXPECT_EQ(Cell(0, 0).toInt(), 4021);

    m_archive.DeleteDrawAt(0);
    m_archive.DeleteDrawAt(0);
    // Until refreshed, rows past the archive give nothing instead of reading
    // outside it.
    EXPECT_FALSE(Cell(10, 0).isValid());
    m_model->Refresh(true);
    EXPECT_EQ(m_model->rowCount(), 9);
    m_archive.ClearDraws();
    m_model->Refresh(false);
    EXPECT_EQ(m_model->rowCount(), 0);
}

TEST_F(DrawsModelTest, NumbersOutsideTheRangeArePaintedRed) {
    TDrawRec bad = guitest::MakeDraw(4021, {0, 46, 3, 4, 5, 255}, 0, 99);
    m_archive.Append(bad);
    m_model->Refresh(false);
    EXPECT_EQ(Cell(0, TDrawsModel::colFirst).toInt(), 0);
    EXPECT_EQ(Background(0, TDrawsModel::colFirst), qRgb(0xFF, 0, 0));
    EXPECT_EQ(Background(0, TDrawsModel::colFirst + 5), qRgb(0xFF, 0, 0));
    EXPECT_EQ(Cell(0, TDrawsModel::colSum).toInt(), 0 + 46 + 3 + 4 + 5 + 255);
}

} // namespace
} // namespace lot
