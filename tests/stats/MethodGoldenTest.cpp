// Golden files of the method families: one folder per family under
// tests/data/methods, each with a small archive (draws.csv), optionally the
// game settings (Brantlee_6x45.ini), and cases.txt holding the expected
// outputs. A new family adds a folder; the cases are found by walking them.
//
// cases.txt: a line "> KIND ARGS" starts a case, the lines up to the next
// case or a line "." are its expected output; "#" starts a comment line.
//   > draw CODE INDEX [sorted]       the value texts of archive entry INDEX
//                                    (0 = oldest), valued as the statistics
//                                    table values it (newest draw in use as
//                                    the last one)
//   > comb CODE n1;n2;n3;n4;n5;n6    the value texts of a combination, the
//                                    newest draw being the reference draw
//   > stats CODE LEN [offset=K] [sorted] [sort=COL] [desc]
//                                    the statistics table as text lines
//   > match CODE n1;..;n6 V1|V2|...  "1" when the combination has one of the
//                                    values with these texts, else "0"

#include "StatsTestUtil.h"

#include "archive/DrawsArchive.h"
#include "archive/DrawsCsv.h"
#include "core/CoreHelpers.h"
#include "stats/StatList.h"
#include "stats/StatTable.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <string>
#include <vector>

namespace lot {
namespace {

const QString MethodsDir = QStringLiteral(TEST_DATA_DIR "/methods");

std::vector<std::string> Families() {
    std::vector<std::string> names;
    for (const QString &name : QDir(MethodsDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        names.push_back(name.toStdString());
    return names;
}

struct TCase {
    int Line = 0;
    QStringList Words; ///< the header's words after ">"
    QStringList Expected;
};

std::vector<TCase> ReadCases(const QString &fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    std::vector<TCase> cases;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    bool open = false;
    for (int line = 1; !in.atEnd(); ++line) {
        const QString text = in.readLine();
        if (text.startsWith(QLatin1Char('#'))) continue;
        if (text.startsWith(QLatin1Char('>'))) {
            cases.push_back({line, text.mid(1).split(QLatin1Char(' '), Qt::SkipEmptyParts), {}});
            open = true;
        } else if (text == QLatin1String(".")) {
            open = false;
        } else if (open) {
            cases.back().Expected << text;
        }
    }
    // Blank lines between cases are layout, not output.
    for (TCase &c : cases)
        while (!c.Expected.isEmpty() && c.Expected.last().isEmpty())
            c.Expected.removeLast();
    return cases;
}

class MethodGolden : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        m_dir = MethodsDir + QLatin1Char('/') + QString::fromStdString(GetParam());
        ImportDrawsCsv(m_archive, m_dir + QStringLiteral("/draws.csv"));
        ASSERT_FALSE(m_archive.IsEmpty()) << "draws.csv";
        m_stats.SetDataDir(m_dir);
        if (QFileInfo::exists(m_stats.SettingsFileName())) {
            m_stats.LoadSettings();
            m_stats.LoadShredding();
        }
        m_stats.RegisterAll();
    }

    std::unique_ptr<TCustomStat> Stat(const QString &code) {
        const int entry = m_stats.FindEntry(code);
        return entry < 0 ? nullptr : m_stats.CreateStat(entry);
    }

    QStringList Run(const QStringList &words) {
        const QString kind = words.value(0);
        const QString code = words.value(1);
        const std::unique_ptr<TCustomStat> stat = Stat(code);
        if (!stat) return {QStringLiteral("unknown method ") + code};
        const int last = m_archive.Count() - 1;
        if (kind == QLatin1String("draw")) {
            TStatDrawArray values;
            TStatScratch scratch;
            TLastValueArray lastValues;
            stat->DrawValues(words.value(2).toInt(), last, words.contains(QStringLiteral("sorted")), values,
                             scratch, lastValues);
            return test::ValueTexts(*stat, values);
        }
        if (kind == QLatin1String("comb")) {
            stat->LoadDraws(-1, last, false);
            TStatDrawArray values;
            stat->CombValues(TextToComb(words.value(2)), values);
            return test::ValueTexts(*stat, values);
        }
        if (kind == QLatin1String("match")) return {Match(*stat, words)};
        if (kind == QLatin1String("stats")) return Table(code, words);
        return {QStringLiteral("unknown case ") + kind};
    }

    /// The selected keys are those of the statistics table's rows with the
    /// given texts, as a filter takes them.
    QString Match(TCustomStat &stat, const QStringList &words) {
        TStatTable table(m_host, m_stats, m_archive);
        table.FillSelector(false);
        table.SelectEntry(m_stats.FindEntry(words.value(1)));
        table.SetSampleLength(m_archive.Count());
        table.ComputeStatistics(true);
        table.SelectByValueTexts(words.mid(3).join(QLatin1Char(' ')).split(QLatin1Char('|')));
        const TComb c = TextToComb(words.value(2));
        const int last = m_archive.Count() - 1;
        stat.LoadDraws(-1, last, false);
        const bool plain = stat.CombMatches(c, table.SelectedValues(), last, false, false);
        const bool matcher = stat.MakeMatcher(table.SelectedValues(), last, false, false)->Matches(c);
        if (plain != matcher) return QStringLiteral("CombMatches and the matcher differ");
        return plain ? QStringLiteral("1") : QStringLiteral("0");
    }

    QStringList Table(const QString &code, const QStringList &words) {
        TStatTable table(m_host, m_stats, m_archive);
        table.FillSelector(false);
        if (!table.SelectEntry(m_stats.FindEntry(code))) return {QStringLiteral("not in the selector")};
        table.SetSampleLength(words.value(2).toInt());
        int sortColumn = scCount;
        for (const QString &w : words.mid(3)) {
            if (w.startsWith(QLatin1String("offset="))) m_archive.SetOffset(w.mid(7).toInt());
            if (w.startsWith(QLatin1String("sort="))) sortColumn = w.mid(5).toInt();
        }
        table.SetSort(sortColumn, words.contains(QStringLiteral("desc")));
        table.SetSortedDraws(words.contains(QStringLiteral("sorted")));
        table.ComputeStatistics(true);
        m_archive.SetOffset(0);
        return table.TextLines();
    }

    QString m_dir;
    test::TRecordingHost m_host;
    TDrawsArchive m_archive;
    TStatList m_stats{&m_archive};
};

TEST_P(MethodGolden, ValuesTablesAndMatches) {
    const std::vector<TCase> cases = ReadCases(m_dir + QStringLiteral("/cases.txt"));
    ASSERT_FALSE(cases.empty()) << "cases.txt";
    for (const TCase &c : cases) {
        SCOPED_TRACE(("cases.txt:" + std::to_string(c.Line) + ": " + c.Words.join(' ').toStdString()));
        EXPECT_EQ(Run(c.Words), c.Expected);
    }
    EXPECT_TRUE(m_host.Errors.isEmpty()) << m_host.Errors.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Families, MethodGolden, ::testing::ValuesIn(Families()),
                         [](const ::testing::TestParamInfo<std::string> &info) { return info.param; });

} // namespace
} // namespace lot
