// "combs" and "prefetch": combination files made, counted and narrowed from
// the command line, and the full-set distribution files built and dumped.

#include "CliTestUtil.h"

#include "archive/DrawsArchive.h"
#include "combs/CombFile.h"
#include "core/CoreHelpers.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

using namespace lot;

static void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

using clitest::TCliRun;

int64_t Choose(int n, int k) {
    return k < 0 || k > n ? 0 : Binomial(n, k);
}

QStringList Strings(std::initializer_list<const char *> texts) {
    QStringList list;
    for (const char *t : texts)
        list << QString::fromUtf8(t);
    return list;
}

class CombsCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        // Oldest first: the last draw in the file is the newest.
        TDrawsArchive archive;
        archive.Append(clitest::Draw(1, {1, 2, 3, 4, 5, 6}));
        archive.Append(clitest::Draw(2, {7, 8, 9, 10, 11, 12}));
        archive.Append(clitest::Draw(3, {13, 14, 15, 16, 17, 18}));
        archive.Append(clitest::Draw(4, {19, 20, 21, 22, 23, 24}));
        archive.SaveDrawsFile(Path("Brantlee_6x45.ldr"));
    }

    QString Path(const char *name) const { return QDir(m_dir.path()).filePath(QString::fromUtf8(name)); }

    TCliRun Run(const QStringList &args) { return clitest::RunCli(m_dir.path(), args); }

    void WriteList(const char *name, const QStringList &combs) {
        std::vector<TComb> list;
        for (const QString &text : combs)
            list.push_back(TextToComb(text));
        WriteCombsFile(Path(name), list.data(), int(list.size()));
    }

    QStringList ReadList(const char *name) const {
        TCombsArray combs;
        int count = 0;
        TCombFileReadInfo info;
        ReadCombsFile(Path(name), combs, count, info);
        QStringList texts;
        for (int i = 0; i < count; ++i)
            texts << CombToText(combs[size_t(i)]);
        return texts;
    }

    QByteArray ReadBytes(const char *name) const {
        QFile f(Path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    bool WriteBytes(const char *name, const QByteArray &bytes) const {
        QFile f(Path(name));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }

    QTemporaryDir m_dir;
};

// ---- combs generate -------------------------------------------------------------------

TEST_F(CombsCommandTest, GenerateWritesTheListOfEachMode) {
    WriteList("source.lcv", Strings({"5;4;3;2;1;45", "10;20;30;40;41;42"}));
    struct TCase {
        const char *Mode;
        QString Param;
        QStringList Expected;
    };
    const TCase cases[] = {
        // Only numbers of 1..7: the seven ways to leave one out, in order.
        {"2", QStringLiteral("1;2;3;4;5;6;7"),
         Strings({"1;2;3;4;5;6", "1;2;3;4;5;7", "1;2;3;4;6;7", "1;2;3;5;6;7", "1;2;4;5;6;7", "1;3;4;5;6;7",
                  "2;3;4;5;6;7"})},
        // Fewer than six numbers to choose from: nothing.
        {"2", QStringLiteral("1, 2, 3, 4, 5"), {}},
        // None of 1..38 leaves 39..45.
        {"3",
         QStringLiteral("1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16;17;18;19;20;21;22;23;24;25;26;27;28;"
                        "29;30;31;32;33;34;35;36;37;38"),
         Strings({"39;40;41;42;43;44", "39;40;41;42;43;45", "39;40;41;42;44;45", "39;40;41;43;44;45",
                  "39;40;42;43;44;45", "39;41;42;43;44;45", "40;41;42;43;44;45"})},
        // A file, in file order. (Modes 0 and 1 give millions of combinations.)
        {"4", Path("source.lcv"), Strings({"5;4;3;2;1;45", "10;20;30;40;41;42"})},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(std::string(c.Mode) + " " + c.Param.toStdString());
        QFile::remove(Path("out.lcv"));
        const TCliRun run =
            Run({QStringLiteral("combs"), QStringLiteral("generate"), QStringLiteral("--mode"),
                 QString::fromLatin1(c.Mode), QStringLiteral("--param"), c.Param, QStringLiteral("--out"),
                 Path("out.lcv")});
        ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
        EXPECT_EQ(run.Out, QString::number(c.Expected.size()) + QLatin1Char('\n'));
        EXPECT_EQ(run.Err, QString());
        ASSERT_TRUE(QFile::exists(Path("out.lcv")));
        EXPECT_EQ(ReadList("out.lcv"), c.Expected);
    }
}

TEST_F(CombsCommandTest, GeneratedFileIsSemicolonsAndCrLf) {
    const TCliRun run =
        Run({QStringLiteral("combs"), QStringLiteral("generate"), QStringLiteral("--mode=2"),
             QStringLiteral("--param=40;41;42;43;44;45"), QStringLiteral("--out"), Path("out.lcv")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, QStringLiteral("1\n"));
    EXPECT_EQ(ReadBytes("out.lcv"), QByteArray("40;41;42;43;44;45\r\n"));
}

// ---- combs count ----------------------------------------------------------------------

TEST_F(CombsCommandTest, CountSkipsBadLinesAndSaysSo) {
    ASSERT_TRUE(WriteBytes("in.lcv", "1;2;3;4;5;6\r\n"
                                     "7, 8, 9, 10, 11, 12\r\n"
                                     "1;2;3;4;5;46\r\n"
                                     "not a combination\r\n"
                                     "\r\n"
                                     "40;41;42;43;44;45"));
    const TCliRun run = Run({QStringLiteral("combs"), QStringLiteral("count"), Path("in.lcv")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, QStringLiteral("3\n"));
    // Only the line with a number outside 1..45 is reported; malformed ones
    // are skipped silently.
    EXPECT_EQ(run.Err, QStringLiteral("В файле \"") + Path("in.lcv") +
                           QStringLiteral("\" пропущено строк с числами вне диапазона 1..45: 1\n"));
}

TEST_F(CombsCommandTest, CountRefusesWhatItCannotRead) {
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("folder.lcv")));
    for (const char *name : {"missing.lcv", "folder.lcv"}) {
        SCOPED_TRACE(name);
        const TCliRun run = Run({QStringLiteral("combs"), QStringLiteral("count"), Path(name)});
        EXPECT_EQ(run.Code, 1);
        EXPECT_EQ(run.Out, QString());
        EXPECT_TRUE(run.Err.startsWith(QStringLiteral("Ошибка чтения файла \"") + Path(name) +
                                       QStringLiteral("\"!\n\n")))
            << run.Err.toStdString();
        EXPECT_GT(run.Err.size(), Path(name).size() + 25) << "the system's reason follows";
    }
}

// ---- combs exclude --------------------------------------------------------------------

TEST_F(CombsCommandTest, ExcludeDropsTheLastDrawsInUse) {
    WriteList("in.lcv", Strings({"1;2;3;4;5;6", "6;5;4;3;2;1", "7;8;9;10;11;12", "13;14;15;16;17;18",
                                 "19;20;21;22;23;24", "1;2;3;4;5;7"}));
    struct TCase {
        const char *Last;
        const char *Offset; ///< nullptr: no --offset
        QStringList Survivors;
    };
    const TCase cases[] = {
        {"1", nullptr,
         Strings({"1;2;3;4;5;6", "6;5;4;3;2;1", "7;8;9;10;11;12", "13;14;15;16;17;18", "1;2;3;4;5;7"})},
        // At offset 1 the newest draw in use is draw 3.
        {"2", "1", Strings({"1;2;3;4;5;6", "6;5;4;3;2;1", "19;20;21;22;23;24", "1;2;3;4;5;7"})},
        // More draws than there are in use: all of them, in any order of numbers.
        {"10", "3", Strings({"7;8;9;10;11;12", "13;14;15;16;17;18", "19;20;21;22;23;24", "1;2;3;4;5;7"})},
        {"0", "0",
         Strings({"1;2;3;4;5;6", "6;5;4;3;2;1", "7;8;9;10;11;12", "13;14;15;16;17;18", "19;20;21;22;23;24",
                  "1;2;3;4;5;7"})},
        // Past the oldest draw nothing is in use.
        {"3", "4",
         Strings({"1;2;3;4;5;6", "6;5;4;3;2;1", "7;8;9;10;11;12", "13;14;15;16;17;18", "19;20;21;22;23;24",
                  "1;2;3;4;5;7"})},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(std::string("--last ") + c.Last + " --offset " + (c.Offset ? c.Offset : "-"));
        QFile::remove(Path("out.lcv"));
        QStringList args{QStringLiteral("combs"),  QStringLiteral("exclude"),  QStringLiteral("--in"),
                         Path("in.lcv"),           QStringLiteral("--out"),    Path("out.lcv"),
                         QStringLiteral("--last"), QString::fromLatin1(c.Last)};
        if (c.Offset) args << QStringLiteral("--offset") << QString::fromLatin1(c.Offset);
        const TCliRun run = Run(args);
        ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
        EXPECT_EQ(run.Out, QString::number(c.Survivors.size()) + QLatin1Char('\n'));
        EXPECT_EQ(ReadList("out.lcv"), c.Survivors);
    }
    EXPECT_EQ(ReadList("in.lcv").size(), 6) << "the input stays as it was";
}

// ---- bad options ----------------------------------------------------------------------

TEST_F(CombsCommandTest, RefusesBadOptionsAndWritesNothing) {
    WriteList("in.lcv", Strings({"1;2;3;4;5;6", "40;41;42;43;44;45"}));
    const QString in = Path("in.lcv");
    const QString out = Path("out.lcv");
    struct TCase {
        QStringList Args;
        QString Message;
    };
    const TCase cases[] = {
        {{QStringLiteral("generate"), QStringLiteral("--mode"), QStringLiteral("2"),
          QStringLiteral("--param"), QStringLiteral("1;2;3;4;5;6")},
         QStringLiteral("combs: --out FILE is required")},
        {{QStringLiteral("generate"), QStringLiteral("--mode"), QStringLiteral("two"),
          QStringLiteral("--out"), out},
         QStringLiteral("combs: --mode must be an integer")},
        {{QStringLiteral("generate"), QStringLiteral("--mode"), QStringLiteral("2"), QStringLiteral("--out"),
          out, QStringLiteral("extra")},
         QStringLiteral("combs: unexpected argument: extra")},
        {{QStringLiteral("generate"), QStringLiteral("--mode"), QStringLiteral("4"),
          QStringLiteral("--param"), Path("missing.lcv"), QStringLiteral("--out"), out},
         QStringLiteral("Ошибка чтения файла \"") + Path("missing.lcv") + QStringLiteral("\"!\n\n")},
        {{QStringLiteral("exclude"), QStringLiteral("--in"), in, QStringLiteral("--last"),
          QStringLiteral("1")},
         QStringLiteral("combs: --out FILE is required")},
        {{QStringLiteral("exclude"), QStringLiteral("--out"), out, QStringLiteral("--last"),
          QStringLiteral("1")},
         QStringLiteral("combs: --in FILE is required")},
        {{QStringLiteral("exclude"), QStringLiteral("--in"), in, QStringLiteral("--out"), out},
         QStringLiteral("combs: --last N is required")},
        {{QStringLiteral("exclude"), QStringLiteral("--in"), in, QStringLiteral("--out"), out,
          QStringLiteral("--last"), QStringLiteral("three")},
         QStringLiteral("combs: --last must be an integer of 0 or more")},
        {{QStringLiteral("exclude"), QStringLiteral("--in"), in, QStringLiteral("--out"), out,
          QStringLiteral("--last"), QStringLiteral("-1")},
         QStringLiteral("combs: --last must be an integer of 0 or more")},
        {{QStringLiteral("exclude"), QStringLiteral("--in"), in, QStringLiteral("--out"), out,
          QStringLiteral("--last"), QStringLiteral("1"), QStringLiteral("--offset"), QStringLiteral("1.5")},
         QStringLiteral("combs: --offset must be an integer of 0 or more")},
        {{QStringLiteral("exclude"), QStringLiteral("--in"), Path("missing.lcv"), QStringLiteral("--out"),
          out, QStringLiteral("--last"), QStringLiteral("1")},
         QStringLiteral("Ошибка чтения файла \"") + Path("missing.lcv") + QStringLiteral("\"!\n\n")},
        {{QStringLiteral("count")}, QStringLiteral("combs: count FILE.lcv")},
        {{QStringLiteral("count"), in, out}, QStringLiteral("combs: unexpected argument: ") + out},
        {{QStringLiteral("shuffle")}, QStringLiteral("combs: unknown action: shuffle")},
        {{}, QStringLiteral("combs: missing action (generate, count, exclude)")},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Args.join(QLatin1Char(' ')).toStdString());
        const TCliRun run = Run(QStringList{QStringLiteral("combs")} + c.Args);
        EXPECT_EQ(run.Code, 1);
        EXPECT_EQ(run.Out, QString());
        EXPECT_TRUE(run.Err.contains(c.Message)) << run.Err.toStdString();
        EXPECT_FALSE(QFile::exists(out));
    }
}

TEST_F(CombsCommandTest, ExcludeReadsTheDrawsFileOrRefuses) {
    WriteList("in.lcv", Strings({"1;2;3;4;5;6", "19;20;21;22;23;24"}));
    const QStringList args{QStringLiteral("combs"),  QStringLiteral("exclude"), QStringLiteral("--in"),
                           Path("in.lcv"),           QStringLiteral("--out"),   Path("out.lcv"),
                           QStringLiteral("--last"), QStringLiteral("4")};

    // A draws file cut inside a record is refused.
    QByteArray draws = ReadBytes("Brantlee_6x45.ldr");
    ASSERT_EQ(draws.size(), 4 * 24);
    ASSERT_TRUE(WriteBytes("Brantlee_6x45.ldr", draws.left(draws.size() - 5)));
    TCliRun run = Run(args);
    EXPECT_EQ(run.Code, 1);
    EXPECT_EQ(run.Out, QString());
    EXPECT_TRUE(run.Err.startsWith(QStringLiteral("Ошибка чтения файла тиражей!\n\n")))
        << run.Err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("out.lcv")));

    // No draws file is an empty archive: nothing to drop.
    ASSERT_TRUE(QFile::remove(Path("Brantlee_6x45.ldr")));
    run = Run(args);
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, QStringLiteral("2\n"));
    EXPECT_EQ(ReadList("out.lcv"), ReadList("in.lcv"));
}

// ---- prefetch -------------------------------------------------------------------------

QByteArray PrefetchImage(const std::vector<std::pair<uint16_t, int32_t>> &records, int32_t mn, int32_t mx) {
    QByteArray bytes(qsizetype(records.size() + 1) * 12, '\0');
    char *p = bytes.data();
    for (const auto &[w1, count] : records) {
        qToLittleEndian<quint16>(w1, p);
        qToLittleEndian<qint32>(count, p + 8);
        p += 12;
    }
    qToLittleEndian<qint32>(mn, p);
    qToLittleEndian<qint32>(mx, p + 4);
    return bytes;
}

TEST_F(CombsCommandTest, PrefetchBuildsAndDumpsOneMethod) {
    const QString file = Path("Prefetchs/Brantlee_6x45_EVEN.dfc");
    TCliRun run = Run({QStringLiteral("prefetch"), QStringLiteral("dump"), QStringLiteral("EVEN")});
    EXPECT_EQ(run.Code, 1);
    EXPECT_TRUE(run.Err.startsWith(
        QStringLiteral("Ошибка открытия файла данных для полного набора вариантов!\n\nИмя файла: ") + file +
        QStringLiteral("\n\n")))
        << run.Err.toStdString();

    run = Run({QStringLiteral("prefetch"), QStringLiteral("build"), QStringLiteral("--codes"),
               QStringLiteral("EVEN")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, QStringLiteral("EVEN\tBrantlee_6x45_EVEN.dfc\t7\n"));
    EXPECT_EQ(QFileInfo(file).size(), 8 * 12);

    // k even numbers (22 of them in 1..45) and 6 - k odd ones (23).
    run = Run({QStringLiteral("prefetch"), QStringLiteral("dump"), QStringLiteral("EVEN")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const QStringList lines = run.Out.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 9) << run.Out.toStdString();
    EXPECT_EQ(lines.last(), QString()) << "the output ends with a line break";
    int64_t smallest = INT64_MAX, largest = 0;
    for (int k = 0; k <= 6; ++k) {
        const int64_t count = Choose(22, k) * Choose(23, 6 - k);
        smallest = std::min(smallest, count);
        largest = std::max(largest, count);
        EXPECT_EQ(lines[k], QStringLiteral("%1\t0\t0\t0\t%1:%2\t%3").arg(k).arg(6 - k).arg(count));
    }
    EXPECT_EQ(lines[7], QStringLiteral("trailer\t%1\t%2\t0").arg(smallest).arg(largest));

    // Without --force an existing file is kept, and dump shows the file as
    // it is rather than counting again.
    ASSERT_TRUE(WriteBytes("Prefetchs/Brantlee_6x45_EVEN.dfc", PrefetchImage({{2, 5}, {4, 3}}, 3, 5)));
    run = Run({QStringLiteral("prefetch"), QStringLiteral("build"), QStringLiteral("--codes"),
               QStringLiteral("EVEN")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, QStringLiteral("EVEN\tBrantlee_6x45_EVEN.dfc\t2\n"));
    run = Run({QStringLiteral("prefetch"), QStringLiteral("dump"), QStringLiteral("even")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, QStringLiteral("2\t0\t0\t0\t2:4\t5\n4\t0\t0\t0\t4:2\t3\ntrailer\t3\t5\t0\n"));

    // A damaged file is refused with the reason.
    ASSERT_TRUE(WriteBytes("Prefetchs/Brantlee_6x45_EVEN.dfc", PrefetchImage({{4, 5}, {2, 3}}, 3, 5)));
    run = Run({QStringLiteral("prefetch"), QStringLiteral("dump"), QStringLiteral("EVEN")});
    EXPECT_EQ(run.Code, 1);
    EXPECT_EQ(run.Out, QString());
    EXPECT_TRUE(run.Err.endsWith(QStringLiteral("\n\nЗаписи не упорядочены\n"))) << run.Err.toStdString();
}

TEST_F(CombsCommandTest, PrefetchRefusesUnknownCodesAndActions) {
    struct TCase {
        QStringList Args;
        const char *Message;
    };
    const TCase cases[] = {
        {{QStringLiteral("dump"), QStringLiteral("QQQQ")}, "prefetch: unknown method code: QQQQ\n"},
        {{QStringLiteral("build"), QStringLiteral("--codes"), QStringLiteral("EVEN,QQQQ")},
         "prefetch: unknown method code: QQQQ\n"},
        {{QStringLiteral("build"), QStringLiteral("--codes"), QStringLiteral("POE1")},
         "prefetch: method has no full-set distribution: POE1\n"},
        {{QStringLiteral("dump")}, "prefetch: dump CODE\n"},
        {{QStringLiteral("dump"), QStringLiteral("EVEN"), QStringLiteral("NUMS")},
         "prefetch: unexpected argument: NUMS\n"},
        {{QStringLiteral("load")}, "prefetch: unknown action: load\n"},
        {{}, "prefetch: missing action (build, dump)\n"},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Message);
        const TCliRun run = Run(QStringList{QStringLiteral("prefetch")} + c.Args);
        EXPECT_EQ(run.Code, 1);
        EXPECT_EQ(run.Out, QString());
        EXPECT_EQ(run.Err, QString::fromUtf8(c.Message));
    }
    // A code refused before anything is built leaves no file behind.
    EXPECT_FALSE(QFile::exists(Path("Prefetchs/Brantlee_6x45_EVEN.dfc")));
}

} // namespace
