// The matrix methods: their class operations, the matrix of the default
// five columns and of others, touching numbers, masks of every width, the
// registration that follows the matrix columns and bytes outside the matrix.

#include "stats/methods/MatrixMethods.h"
#include "StatsTestUtil.h"

#include <gtest/gtest.h>

namespace lot {
namespace {

using test::MakeComb;
using test::Texts;

TEST(MatrixMethodsTest, ClassOperations) {
    struct TCase {
        const char *Code, *ClassName, *Caption, *Flags;
        bool ValueList;
    };
    const TCase cases[] = {
        {"COLS", "TstColumns", "Столбцы матрицы (не пустые)", "N", true},
        {"ROWS", "TstRows", "Строки матрицы (не пустые)", "N", true},
        {"COLV", "TstColValues", "Количество чисел в столбце матрицы", "N", true},
        {"ROWV", "TstRowValues", "Количество чисел в строке матрицы", "N", true},
        {"COLN", "TstColCount", "Количество не пустых столбцов в матрице", "NG", true},
        {"ROWN", "TstRowCount", "Количество не пустых строк в матрице", "NG", true},
        {"COLM", "TstColMask", "Сочетания столбцов матрицы", "N", true},
        {"ROWM", "TstRowMask", "Сочетания строк матрицы", "N", true},
        {"COLA", "TstColAjacent", "Столбцы матрицы со смежными числами", "N", true},
        {"ROWA", "TstRowAjacent", "Строки матрицы со смежными числами", "N", true},
        {"COLC", "TstColAjacentCnt", "Количество столбцов матрицы со смежными числами", "NG", true},
        {"ROWC", "TstRowAjacentCnt", "Количество строк матрицы со смежными числами", "NG", true},
        {"KFM2", "TstCombColMix2", "Сочетания из 2 столбцов по всем числам тиража", "S", false},
        {"KFM4", "TstCombColMix4", "Сочетания из 4 столбцов по всем числам тиража", "S", false},
        {"KFS3", "TstCombColSeq3", "Сочетания из 3 столбцов по соседним числам", "S", false},
        {"KRM3", "TstCombRowMix3", "Сочетания из 3 строк по всем числам тиража", "S", false},
        {"KRS2", "TstCombRowSeq2", "Сочетания из 2 строк по соседним числам", "S", false},
        {"KRS4", "TstCombRowSeq4", "Сочетания из 4 строк по соседним числам", "S", false},
        {"COL5", "TstColValCnt", "Количество чисел в 5 столбце матрицы", "NG", true},
        {"ROW9", "TstRowValCnt", "Количество чисел в 9 строке матрицы", "NG", true},
    };
    test::TMethodProbe probe;
    for (const TCase &c : cases) {
        const int i = probe.List.FindEntry(QString::fromLatin1(c.Code));
        ASSERT_GE(i, 0) << c.Code;
        const TStatClass &cls = *probe.List.Items(i).StatClass;
        EXPECT_STREQ(cls.ClassName(), c.ClassName);
        EXPECT_EQ(cls.Group(), 4) << c.Code;
        EXPECT_TRUE(cls.Enabled()) << c.Code;
        EXPECT_EQ(probe.List.EntryCaption(i), QString::fromUtf8(c.Caption)) << c.Code;
        EXPECT_EQ(FlagLetters(cls.FullFlags()), QString::fromLatin1(c.Flags)) << c.Code;
        EXPECT_EQ(cls.AllowsValueList(), c.ValueList) << c.Code;
    }
    EXPECT_EQ(TstColValCnt::StaticClass().HelpTopic(2), QStringLiteral("COLx"));
    EXPECT_EQ(TstRowValCnt::StaticClass().HelpTopic(2), QStringLiteral("ROWx"));
}

TEST(MatrixMethodsTest, TouchingNumbersOfFiveColumns) {
    test::TMethodProbe probe;
    struct TCase {
        const char *Code;
        TComb Comb;
        QStringList Texts;
    };
    const TCase cases[] = {
        // 7 and 12: column 2, rows 2 and 3.
        {"COLA", MakeComb({7, 12, 30, 33, 36, 44}), Texts({"2 x 2"})},
        {"COLC", MakeComb({7, 12, 30, 33, 36, 44}), Texts({"1"})},
        // 5 and 6 lie in rows 1 and 2: they do not touch.
        {"ROWA", MakeComb({5, 6, 20, 33, 37, 44}), Texts({})},
        {"ROWC", MakeComb({5, 6, 20, 33, 37, 44}), Texts({"0"})},
        {"ROWA", MakeComb({4, 5, 6, 7, 8, 45}), Texts({"1 x 2", "2 x 3"})},
        // A run of three and two pairs apart both count two pairs.
        {"COLA", MakeComb({1, 6, 11, 30, 33, 44}), Texts({"1 x 3"})},
        {"COLA", MakeComb({1, 6, 21, 26, 33, 44}), Texts({"1 x 3"})},
        {"COLA", MakeComb({1, 6, 2, 7, 3, 8}), Texts({"1 x 2", "2 x 2", "3 x 2"})},
        {"COLC", MakeComb({1, 6, 2, 7, 3, 8}), Texts({"3"})},
        {"ROWC", MakeComb({1, 6, 2, 7, 3, 8}), Texts({"2"})},
        {"COLS", MakeComb({1, 6, 2, 7, 3, 8}), Texts({"1", "2", "3"})},
        {"ROWS", MakeComb({1, 6, 2, 7, 3, 8}), Texts({"1", "2"})},
        {"COLN", MakeComb({1, 6, 2, 7, 3, 8}), Texts({"3"})},
        {"ROWN", MakeComb({1, 6, 2, 7, 3, 8}), Texts({"2"})},
        {"COLM", MakeComb({1, 2, 5, 6, 7, 10}), Texts({"11001 (025)"})},
        {"COLM", MakeComb({1, 6, 11, 16, 21, 26}), Texts({"10000 (016)"})},
        {"ROWM", MakeComb({41, 42, 43, 44, 45, 1}), Texts({"100000001 (257)"})},
        {"ROWM", MakeComb({1, 6, 11, 16, 21, 45}), Texts({"111110001 (497)"})},
        {"COL2", MakeComb({7, 12, 30, 33, 36, 44}), Texts({"2"})},
        {"ROW8", MakeComb({7, 12, 36, 37, 38, 44}), Texts({"3"})},
    };
    for (const TCase &c : cases)
        EXPECT_EQ(probe.CombTexts(QString::fromLatin1(c.Code), c.Comb), c.Texts)
            << c.Code << " " << CombToText(c.Comb).toStdString();
    auto rowm = probe.Stat(QStringLiteral("ROWM"));
    EXPECT_EQ(rowm->TextToValue(QStringLiteral("111111111 (511)")), 511) << "nine rows: up to 511";
    EXPECT_EQ(rowm->TextToValue(QStringLiteral("1")), 256);
    EXPECT_EQ(probe.Stat(QStringLiteral("COLM"))->TextToValue(QStringLiteral("11001 (025)")), 25);
}

TEST(MatrixMethodsTest, SevenColumnsAndTheShortLastRow) {
    test::TMethodProbe probe(7, 5);
    // 43 44 45 alone in row 7; a row holds up to 7 numbers, so ROW7 lists
    // 1..7 though it never exceeds 3.
    EXPECT_EQ(probe.ListedTexts(QStringLiteral("ROW7")).join(','), QStringLiteral("1,2,3,4,5,6,7"));
    EXPECT_EQ(probe.ListedTexts(QStringLiteral("COL7")).join(','), QStringLiteral("1,2,3,4,5,6,7"));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("ROW7"), MakeComb({43, 44, 45, 1, 2, 3})), Texts({"3"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("ROWS"), MakeComb({43, 44, 45, 1, 2, 3})), Texts({"7", "1"}));
    EXPECT_EQ(probe.ListedTexts(QStringLiteral("COLN")).join(','), QStringLiteral("1,2,3,4,5,6"));
    const QStringList colv = probe.ListedTexts(QStringLiteral("COLV"));
    ASSERT_EQ(colv.size(), 49) << "7 columns, counts 0..6";
    EXPECT_EQ(colv.front(), QStringLiteral("1 x 0"));
    EXPECT_EQ(colv.back(), QStringLiteral("7 x 6"));
}

TEST(MatrixMethodsTest, EntriesAndListsFollowTheMatrixColumns) {
    struct TCase {
        int Cols;
        int Columns, Rows; ///< how many COL and ROW entries, and places of each kind
    };
    const TCase cases[] = {
        {5, 5, 9},
        {7, 7, 7},
        {9, 9, 5},
        {44, 44, 2},
        {45, 45, 1},
        {1, 1, 45},
        // Columns the settings dialog does not give: no matrix, no entries.
        {0, 0, 0},
        {-1, 0, 0},
        {46, 0, 0},
    };
    const auto numbered = [](const char *prefix, int count, const char *separator) {
        QStringList items;
        for (int i = 1; i <= count; ++i)
            items << QString::fromLatin1(prefix) + QString::number(i);
        return items.join(QLatin1String(separator));
    };
    for (const TCase &c : cases) {
        test::TMethodProbe probe(c.Cols, 5);
        QStringList cols, rows;
        for (int i = 0; i < probe.List.Count(); ++i) {
            const TStatClass *cls = probe.List.Items(i).StatClass;
            if (cls == &TstColValCnt::StaticClass()) cols << probe.List.EntryCode(i);
            if (cls == &TstRowValCnt::StaticClass()) rows << probe.List.EntryCode(i);
        }
        EXPECT_EQ(cols.join(','), numbered("COL", c.Columns, ",")) << c.Cols;
        EXPECT_EQ(rows.join(','), numbered("ROW", c.Rows, ",")) << c.Cols;
        EXPECT_EQ(probe.ListedTexts(QStringLiteral("COLS")).join(','), numbered("", c.Columns, ","))
            << c.Cols;
        EXPECT_EQ(probe.ListedTexts(QStringLiteral("ROWS")).join(','), numbered("", c.Rows, ",")) << c.Cols;
        // A column holds as many numbers as there are rows, a row as columns.
        if (c.Columns > 0) {
            EXPECT_EQ(probe.ListedTexts(QStringLiteral("COL1")).join(','), numbered("", c.Rows, ","));
            EXPECT_EQ(probe.ListedTexts(QStringLiteral("ROW1")).join(','), numbered("", c.Columns, ","));
        }
    }
}

// A mask of more than 31 columns or rows goes on into the key's second half:
// with one column, rows 1 and 45 are different masks.
TEST(MatrixMethodsTest, MasksOfEveryWidth) {
    struct TCase {
        int Cols;
        const char *Code;
        TComb Comb;
        const char *Text;
    };
    const TCase cases[] = {
        {1, "ROWM", MakeComb({1, 2, 3, 4, 5, 6}),
         "111111000000000000000000000000000000000000000 (34634616274944)"},
        {1, "ROWM", MakeComb({40, 41, 42, 43, 44, 45}),
         "000000000000000000000000000000000000000111111 (063)"},
        {45, "COLM", MakeComb({1, 2, 3, 4, 5, 45}),
         "111110000000000000000000000000000000000000001 (34084860461057)"},
        {32, "COLM", MakeComb({1, 33, 2, 34, 3, 35}), "11100000000000000000000000000000 (3758096384)"},
        {1, "COLM", MakeComb({1, 2, 3, 4, 5, 6}), "1 (001)"},
    };
    for (const TCase &c : cases) {
        test::TMethodProbe probe(c.Cols, 5);
        EXPECT_EQ(probe.CombTexts(QString::fromLatin1(c.Code), c.Comb), Texts({c.Text})) << c.Cols << c.Code;
    }
    test::TMethodProbe probe(1, 5);
    auto rowm = probe.Stat(QStringLiteral("ROWM"));
    TStatDrawArray first, last;
    rowm->CombValues(MakeComb({1, 2, 3, 4, 5, 6}), first);
    rowm->CombValues(MakeComb({40, 41, 42, 43, 44, 45}), last);
    EXPECT_NE(first[0].Key, last[0].Key);
    EXPECT_TRUE(rowm->CombMatches(MakeComb({6, 5, 4, 3, 2, 1}), first, 0, false, false));
    EXPECT_FALSE(rowm->CombMatches(MakeComb({40, 41, 42, 43, 44, 45}), first, 0, false, false));
}

TEST(MatrixMethodsTest, BytesOutsideTheNumbersLieOutsideTheMatrix) {
    test::TMethodProbe probe;
    const TComb c = MakeComb({0, 6, 46, 255, 11, 1});
    EXPECT_EQ(probe.CombTexts(QStringLiteral("COLS"), c), Texts({"1"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("ROWS"), c), Texts({"2", "3", "1"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("COLN"), c), Texts({"1"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("COLM"), c), Texts({"10000 (016)"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("COLA"), c), Texts({"1 x 3"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("COL1"), c), Texts({"3"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("KRS2"), c).first(), QStringLiteral("0:2"));

    probe.SetSettings(0, 5);
    for (const char *code : {"COLS", "ROWS", "COLV", "ROWV", "COLA", "ROWA"})
        EXPECT_TRUE(probe.CombTexts(QString::fromLatin1(code), c).isEmpty()) << code;
    EXPECT_EQ(probe.CombTexts(QStringLiteral("COLM"), c), Texts({" (000)"}));
}

} // namespace
} // namespace lot
