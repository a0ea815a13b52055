#include "archive/DrawsCsv.h"

#include "archive/DemoDraws.h"
#include "archive/DrawsArchive.h"
#include "ArchiveTestUtil.h"
#include "core/Codec1251.h"
#include "core/Errors.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lot;
using lot::test::MakeDraw;
using lot::test::ReadBytes;
using lot::test::SameRecord;
using lot::test::WriteBytes;

// ---- field splitting ------------------------------------------------------------

TEST(SplitCsvLine, FieldTable) {
    struct Case {
        QString line;
        QStringList fields;
    };
    const Case cases[] = {
        {"a;b;c", {"a", "b", "c"}},
        {"", {}},
        {"   \t ", {}},
        {"  \t\x01 a;b", {"a", "b"}}, // leading blanks and control characters
        {"a;;b", {"a", "", "b"}},     // two ";" give an empty field
        {";", {"", ""}},
        {"a;", {"a", ""}}, // ";" at the very end: trailing empty field
        {"a;;", {"a", "", ""}},
        {"a; ", {"a"}},                              // ... but not when blanks follow it
        {"a ;  b", {"a", "b"}},                      // blanks around ";" are skipped
        {"5 Dec 2026;3", {"5", "Dec", "2026", "3"}}, // a blank ends an unquoted field
        {"a\tb\rc", {"a", "b", "c"}},                // so does any control character
        {QString("a") + QChar(0) + "b", {"a", "b"}},
        {"\"5 Dec 2026\";3", {"5 Dec 2026", "3"}},
        {"\"a;b\" ; c", {"a;b", "c"}},                 // ";" inside quotes
        {"\"say \"\"hi\"\"\";x", {"say \"hi\"", "x"}}, // doubled quotes stand for one
        {"\"\"\"\"", {"\""}},
        {"\"\"", {""}},
        {"\"\";\"\"", {"", ""}},
        {"\"abc", {"abc"}}, // unclosed quote runs to the end
        {"\"a\"\"", {"a\""}},
        {"ab\"c;d", {"ab\"c", "d"}},   // a quote inside an unquoted field is text
        {"\"a\"b;c", {"a", "b", "c"}}, // text right after a closing quote is a new field
        {"\"a b\"\"c\" d", {"a b\"c", "d"}},
        {"1;\"5 дек 2026\";3", {"1", "5 дек 2026", "3"}},
        {"x\u00A0y;z", {"x\u00A0y", "z"}}, // only code points up to the blank separate
    };
    for (const Case &c : cases)
        EXPECT_EQ(SplitCsvLine(c.line), c.fields) << c.line.toStdString();
}

TEST(CsvFieldsToDraw, NineAndTenFieldForms) {
    TDrawRec draw;
    ASSERT_EQ(CsvFieldsToDraw(SplitCsvLine("4012;\"5 Dec 2026\";3;11;17;25;40;44;7;29"), 50, draw),
              TCsvLineKind::Draw);
    EXPECT_TRUE(SameRecord(draw, MakeDraw(4012)));

    ASSERT_EQ(CsvFieldsToDraw(SplitCsvLine("\"5 Dec 2026\";3;11;17;25;40;44;7;29"), 50, draw),
              TCsvLineKind::Draw);
    EXPECT_TRUE(SameRecord(draw, MakeDraw(51)));

    // Order is kept as written; the date is cut to 11 characters.
    ASSERT_EQ(CsvFieldsToDraw(SplitCsvLine("7;\"15 December 2026\";44;3;40;11;25;17;29;44"), 0, draw),
              TCsvLineKind::Draw);
    EXPECT_TRUE(SameRecord(draw, MakeDraw(7, {44, 3, 40, 11, 25, 17}, {29, 44}, "15 December")));

    // A draw number that is not an integer becomes 0 (and is skipped by the import).
    ASSERT_EQ(CsvFieldsToDraw(SplitCsvLine("x;\"5 Dec 2026\";3;11;17;25;40;44;7;29"), 0, draw),
              TCsvLineKind::Draw);
    EXPECT_EQ(draw.DrawNumber, 0);
}

TEST(CsvFieldsToDraw, RejectsWrongFieldCountsAndNumbersOutsideTheRange) {
    struct Case {
        QString line;
        TCsvLineKind kind;
    };
    const Case cases[] = {
        {"5 Dec 2026;3;11;17;25;40;44;7;29", TCsvLineKind::BadFieldCount}, // 11 fields
        {"1;\"d\";3;11;17;25;40;44", TCsvLineKind::BadFieldCount},         // 8 fields
        {"1;\"5 Dec 2026\";3;11;17;25;40;44;7", TCsvLineKind::BadNumbers}, // 9 fields: "1" is the date
        {"1;\"d\";3;11;17;25;40;44;7;29;", TCsvLineKind::BadFieldCount},
        {"", TCsvLineKind::BadFieldCount},
        {"1;\"d\";0;11;17;25;40;44;7;29", TCsvLineKind::BadNumbers},
        {"1;\"d\";3;11;17;25;40;46;7;29", TCsvLineKind::BadNumbers},
        {"1;\"d\";3;11;x;25;40;44;7;29", TCsvLineKind::BadNumbers},
        {"1;\"d\";3;11;17;25;40;257;7;29", TCsvLineKind::BadNumbers}, // would wrap to 1 in a byte
        {"1;\"d\";3;11;17;25;40;-1;7;29", TCsvLineKind::BadNumbers},
        {"1;\"d\";3;11;17;25;40;44;0;29", TCsvLineKind::BadNumbers},
        {"1;\"d\";3;11;17;25;40;44;7;46", TCsvLineKind::BadNumbers},
        {"\"d\";3;11;17;25;40;44;7;", TCsvLineKind::BadNumbers},     // the trailing empty field
        {"1;\"d\";3;11;17;25;40;44;7;\" 29 \"", TCsvLineKind::Draw}, // blanks in quotes are trimmed
    };
    for (const Case &c : cases) {
        TDrawRec draw = MakeDraw(99);
        EXPECT_EQ(CsvFieldsToDraw(SplitCsvLine(c.line), 0, draw), c.kind) << c.line.toStdString();
        if (c.kind != TCsvLineKind::Draw) {
            EXPECT_EQ(draw.DrawNumber, 99) << "left untouched";
        }
    }
}

// ---- import and export ------------------------------------------------------------

class DrawsCsvFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString Path(const QString &name = QStringLiteral("draws.csv")) const { return m_dir.filePath(name); }
    QString WriteCsv(const QString &text, const QString &name = QStringLiteral("draws.csv")) const {
        EXPECT_TRUE(WriteBytes(Path(name), ToCp1251(text)));
        return Path(name);
    }
    QTemporaryDir m_dir;
};

TEST_F(DrawsCsvFileTest, ImportsBothFormsAndCountsWhatItSkipped) {
    TDrawsArchive archive;
    archive.Append(MakeDraw(4000));
    const QString csv = WriteCsv("4012;\"5 Dec 2026\";3;11;17;25;40;44;7;29\r\n"
                                 "\r\n"
                                 "   \r\n"
                                 "\"9 Dec 2026\";1;2;3;4;5;6;7;8\r\n"   // 9 fields: number Count + 1 = 3
                                 "5 Dec 2026;3;11;17;25;40;44;7;29\r\n" // unquoted date: 11 fields
                                 "4000;\"1 Dec 2026\";3;11;17;25;40;44;7;29\r\n" // already in the archive
                                 "4012;\"1 Dec 2026\";3;11;17;25;40;44;7;29\n"   // appended above
                                 "0;\"1 Dec 2026\";3;11;17;25;40;44;7;29\r"      // number 0
                                 "-4;\"1 Dec 2026\";3;11;17;25;40;44;7;29\r\n"
                                 "4014;\"1 Dec 2026\";3;11;17;25;40;99;7;29\r\n" // out of range
                                 "\"12 Dec 2026\";1;2;3;4;5;6;7;8\r\n"           // number 4 now
                                 "4016;\"12 Дек 2026\";44;40;25;17;11;3;29;7");  // no final line end
    const TCsvImportResult result = ImportDrawsCsv(archive, csv);
    EXPECT_EQ(result.Added, 4);
    EXPECT_EQ(result.Duplicates, 2);
    EXPECT_EQ(result.Skipped, 4);
    ASSERT_EQ(archive.Count(), 5);
    EXPECT_TRUE(SameRecord(archive.At(1), MakeDraw(4012)));
    EXPECT_TRUE(SameRecord(archive.At(2), MakeDraw(3, {1, 2, 3, 4, 5, 6}, {7, 8}, "9 Dec 2026")));
    EXPECT_TRUE(SameRecord(archive.At(3), MakeDraw(4, {1, 2, 3, 4, 5, 6}, {7, 8}, "12 Dec 2026")));
    EXPECT_TRUE(SameRecord(archive.At(4), MakeDraw(4016, {44, 40, 25, 17, 11, 3}, {29, 7}, "12 Дек 2026")));
}

TEST_F(DrawsCsvFileTest, QuotedNineFieldDateGetsTheNextCount) {
    TDrawsArchive archive;
    for (int i = 1; i <= 3; ++i)
        archive.Append(MakeDraw(100 + i));
    ImportDrawsCsv(archive, WriteCsv("5 Dec 2026;3;11;17;25;40;44;7;29\r\n"));
    EXPECT_EQ(archive.Count(), 3);
    ImportDrawsCsv(archive, WriteCsv("\"5 Dec 2026\";3;11;17;25;40;44;7;29\r\n"));
    ASSERT_EQ(archive.Count(), 4);
    EXPECT_TRUE(SameRecord(archive.At(3), MakeDraw(4)));
}

TEST_F(DrawsCsvFileTest, ByteOrderMarksSelectTheirEncoding) {
    const QString line = QStringLiteral("1;\"5 дек 2026\";3;11;17;25;40;44;7;29\r\n");
    QByteArray utf16le("\xFF\xFE", 2);
    for (QChar c : line)
        utf16le.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    const QByteArray files[] = {QByteArray("\xEF\xBB\xBF") + line.toUtf8(), utf16le, ToCp1251(line)};
    for (const QByteArray &bytes : files) {
        ASSERT_TRUE(WriteBytes(Path(), bytes));
        TDrawsArchive archive;
        EXPECT_EQ(ImportDrawsCsv(archive, Path()).Added, 1);
        ASSERT_EQ(archive.Count(), 1);
        EXPECT_EQ(DrawDateText(archive.At(0)), QStringLiteral("5 дек 2026"));
    }
}

TEST_F(DrawsCsvFileTest, UnreadableFileRaisesAndChangesNothing) {
    TDrawsArchive archive;
    archive.Append(MakeDraw(1));
    EXPECT_THROW(ImportDrawsCsv(archive, Path(QStringLiteral("missing.csv"))), EError);
    EXPECT_EQ(archive.Count(), 1);
}

TEST_F(DrawsCsvFileTest, ExportWritesTenFieldLinesOldestFirst) {
    TDrawsArchive archive;
    archive.Append(MakeDraw(4010, {44, 3, 40, 11, 25, 17}, {29, 44}, "2 Dec 2026"));
    archive.Append(MakeDraw(4012, {3, 11, 17, 25, 40, 44}, {7, 29}, "a\"b;c дек"));
    archive.Append(MakeDraw(4014, {3, 11, 17, 25, 40, 44}, {7, 29}, ""));
    ExportDrawsCsv(archive, Path());
    EXPECT_EQ(ReadBytes(Path()), ToCp1251("4010;\"2 Dec 2026\";44;3;40;11;25;17;29;44\r\n"
                                          "4012;\"a\"\"b;c дек\";3;11;17;25;40;44;7;29\r\n"
                                          "4014;\"\";3;11;17;25;40;44;7;29\r\n"));

    EXPECT_THROW(ExportDrawsCsv(archive, Path(QStringLiteral("no/such/folder.csv"))), EError);
}

TEST_F(DrawsCsvFileTest, ExportThenImportReproducesTheArchiveByteForByte) {
    TDrawsArchive original;
    for (const TDrawRec &d : MakeDemoDraws(300, 7, QDate(2026, 12, 5)))
        original.Append(d);
    // Dates that test the quoting: blanks at both ends, quotes, ";", Cyrillic,
    // control characters, empty.
    const QString dates[] = {" 1 Jan 2027", "\"\"", "a;b", "Дек \"x\" ;", "", "\t\x01 x", "12345678901"};
    int number = 5000;
    for (const QString &date : dates)
        original.Append(MakeDraw(number += 2, {1, 2, 3, 4, 5, 6}, {6, 6}, date));

    ExportDrawsCsv(original, Path(QStringLiteral("first.csv")));
    TDrawsArchive imported;
    const TCsvImportResult result = ImportDrawsCsv(imported, Path(QStringLiteral("first.csv")));
    EXPECT_EQ(result.Added, original.Count());
    EXPECT_EQ(result.Skipped, 0);
    EXPECT_EQ(TDrawsArchive::DrawsToBytes(imported.Draws()), TDrawsArchive::DrawsToBytes(original.Draws()));

    ExportDrawsCsv(imported, Path(QStringLiteral("second.csv")));
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("second.csv"))), ReadBytes(Path(QStringLiteral("first.csv"))));

    // Importing the file again adds nothing.
    const TCsvImportResult again = ImportDrawsCsv(imported, Path(QStringLiteral("first.csv")));
    EXPECT_EQ(again.Added, 0);
    EXPECT_EQ(again.Duplicates, original.Count());
    EXPECT_EQ(imported.Count(), original.Count());
}

TEST_F(DrawsCsvFileTest, LineBreaksInADateDoNotSplitTheExportedLine) {
    TDrawsArchive archive;
    archive.Append(MakeDraw(1, {1, 2, 3, 4, 5, 6}, {7, 8}, "a\r\nb"));
    ExportDrawsCsv(archive, Path());
    TDrawsArchive imported;
    EXPECT_EQ(ImportDrawsCsv(imported, Path()).Added, 1);
    ASSERT_EQ(imported.Count(), 1);
    EXPECT_EQ(DrawDateText(imported.At(0)), QStringLiteral("a  b"));
}
