// The spreadsheet writer, read back by an independent reader: numbers stay
// numbers and texts texts, fills and captions land where the grid has them,
// a long list continues on further sheets, and a stop or a failure leaves
// no file behind (and an existing file untouched).

#include "XlsxReader.h"

#include "export/Sheet.h"
#include "export/XlsxExport.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

#include <vector>

namespace lot {
namespace {

TEST(SheetValueTest, OnlyPlainNumberTextsBecomeNumbers) {
    const struct {
        QVariant value;
        bool number;
        double expected;
        int decimals;
    } cases[] = {
        {12, true, 12, 0},
        {qlonglong(8145060), true, 8145060, 0},
        {QStringLiteral("12"), true, 12, 0},
        {QStringLiteral("-3"), true, -3, 0},
        {QStringLiteral("0"), true, 0, 0},
        {QStringLiteral("0.50"), true, 0.5, 2},
        {QStringLiteral("12.345"), true, 12.345, 3},
        {QStringLiteral("05"), false, 0, 0},
        {QStringLiteral("+5"), false, 0, 0},
        {QStringLiteral("1:5"), false, 0, 0},
        {QStringLiteral("1e3"), false, 0, 0},
        {QStringLiteral(" 7"), false, 0, 0},
        {QStringLiteral("7."), false, 0, 0},
        {QStringLiteral(".5"), false, 0, 0},
        {QStringLiteral("-"), false, 0, 0},
        {QStringLiteral(""), false, 0, 0},
        {QStringLiteral("1234567890123456"), false, 0, 0}, // past a double's exact digits
        {QStringLiteral("٣"), false, 0, 0},                // a digit, but not an ASCII one
    };
    for (const auto &c : cases) {
        const TSheetValue v = ClassifySheetValue(c.value);
        EXPECT_EQ(v.IsNumber, c.number) << c.value.toString().toStdString();
        if (c.number) {
            EXPECT_DOUBLE_EQ(v.Number, c.expected) << c.value.toString().toStdString();
            EXPECT_EQ(v.Decimals, c.decimals) << c.value.toString().toStdString();
        } else {
            EXPECT_EQ(v.Text, c.value.toString());
        }
    }
}

TEST(SheetValueTest, SheetNamesAreValidAndFitWithTheirPart) {
    EXPECT_EQ(SheetName(QStringLiteral("Комбинации")), "Комбинации");
    EXPECT_EQ(SheetName(QStringLiteral("Комбинации"), 2), "Комбинации (2)");
    EXPECT_EQ(SheetName(QStringLiteral("a/b\\c?d*e[f]g:h")), "a_b_c_d_e_f_g_h");
    EXPECT_EQ(SheetName(QStringLiteral("'quoted'")), "quoted");
    EXPECT_EQ(SheetName(QString()), "Лист");
    EXPECT_EQ(SheetName(QStringLiteral("'")), "Лист");
    const QString longTitle(40, QChar(0x0416));
    EXPECT_EQ(SheetName(longTitle).size(), 31);
    EXPECT_EQ(SheetName(longTitle, 12), QString(26, QChar(0x0416)) + " (12)");
}

/// A small table: row r is {r + 1, "text r", r / 4 as "0.25"-style text}
/// with every second row filled.
class TTestSheet : public TSheetSource {
public:
    explicit TTestSheet(qint64 rows) : m_rows(rows) {}
    QString Title() const override { return QStringLiteral("Проба"); }
    int ColumnCount() const override { return 3; }
    QString ColumnCaption(int column) const override { return QStringList{"№", "Текст", "Доля"}[column]; }
    qint64 RowCount() const override { return m_rows; }
    TSheetCell Cell(qint64 row, int column) const override {
        TSheetCell cell;
        if (column == 0) cell.Value = row + 1;
        if (column == 1) cell.Value = QStringLiteral("строка %1").arg(row);
        if (column == 2) cell.Value = QString::number(double(row) / 4, 'f', 2);
        if (row % 2 == 1) cell.Fill = 0xAAFFAA;
        return cell;
    }

private:
    qint64 m_rows;
};

TEST(XlsxExportTest, CellsCaptionsAndFillsReadBack) {
    QTemporaryDir dir;
    const QString file = dir.filePath("out.xlsx");
    ASSERT_TRUE(WriteXlsx(file, TTestSheet(3)));
    QString error;
    const QList<test::TReadSheet> sheets = test::ReadXlsx(file, &error);
    ASSERT_EQ(sheets.size(), 1) << error.toStdString();
    EXPECT_EQ(sheets[0].Name, "Проба");
    EXPECT_EQ(sheets[0].Frozen, "A2");
    const QList<QStringList> expected = {
        {"s:№@D9D9D9", "s:Текст@D9D9D9", "s:Доля@D9D9D9"},
        {"n:1", "s:строка 0", "n:0#0.00"},
        {"n:2@AAFFAA", "s:строка 1@AAFFAA", "n:0.25#0.00@AAFFAA"},
        {"n:3", "s:строка 2", "n:0.5#0.00"},
    };
    EXPECT_EQ(sheets[0].Rows, expected);
    EXPECT_FALSE(QFile::exists(file + ".~part"));
}

TEST(XlsxExportTest, LongListsContinueOnFurtherSheets) {
    QTemporaryDir dir;
    const QString file = dir.filePath("long.xlsx");
    std::vector<qint64> ticks;
    ASSERT_TRUE(WriteXlsx(
        file, TTestSheet(2500),
        [&](qint64 done, qint64 total) {
            EXPECT_EQ(total, 2500);
            ticks.push_back(done);
            return true;
        },
        1000));
    EXPECT_EQ(ticks.back(), 2500);
    const QList<test::TReadSheet> sheets = test::ReadXlsx(file);
    ASSERT_EQ(sheets.size(), 3);
    EXPECT_EQ(sheets[1].Name, "Проба (2)");
    EXPECT_EQ(sheets[2].Name, "Проба (3)");
    const int rows[] = {1001, 1001, 501};
    for (int s = 0; s < 3; ++s) {
        EXPECT_EQ(sheets[s].Rows.size(), rows[s]) << s;
        EXPECT_EQ(sheets[s].Rows[0][0], "s:№@D9D9D9") << "every sheet has the captions";
        EXPECT_EQ(sheets[s].Rows[1][0].toStdString(), QStringLiteral("n:%1").arg(s * 1000 + 1).toStdString())
            << "no row lost or doubled";
    }
    EXPECT_EQ(sheets[2].Rows.last()[0].toStdString(), "n:2500@AAFFAA");
}

TEST(XlsxExportTest, StopAndFailureLeaveTheOldFileAndNoPartialOne) {
    QTemporaryDir dir;
    const QString file = dir.filePath("kept.xlsx");
    {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old contents");
    }
    const TOpResult stopped =
        WriteXlsx(file, TTestSheet(5000), [](qint64 done, qint64) { return done < 2048; });
    EXPECT_FALSE(stopped);
    EXPECT_EQ(stopped.Message(), "Экспорт прерван");
    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old contents");
    EXPECT_FALSE(QFile::exists(file + ".~part"));

    const TOpResult noFolder = WriteXlsx(dir.filePath("missing/out.xlsx"), TTestSheet(2));
    EXPECT_FALSE(noFolder);
    EXPECT_TRUE(noFolder.Message().startsWith("Папка не найдена")) << noFolder.Message().toStdString();
    EXPECT_FALSE(WriteXlsx(dir.path(), TTestSheet(2))) << "a folder is no file name";
}

TEST(XlsxExportTest, AnEmptyListWritesItsCaptions) {
    QTemporaryDir dir;
    const QString file = dir.filePath("empty.xlsx");
    ASSERT_TRUE(WriteXlsx(file, TTestSheet(0)));
    const QList<test::TReadSheet> sheets = test::ReadXlsx(file);
    ASSERT_EQ(sheets.size(), 1);
    EXPECT_EQ(sheets[0].Rows, (QList<QStringList>{{"s:№@D9D9D9", "s:Текст@D9D9D9", "s:Доля@D9D9D9"}}));
}

} // namespace
} // namespace lot
