// The script log of small runs, line by line: its name, the time stamp of
// each entry, the banners, the lines of a line without filters and of a
// variant, a refused duplicate; no file at all while the log is off.

#include "ScriptsTestUtil.h"

#include "core/Codec1251.h"

#include <gtest/gtest.h>
#include <QDir>

namespace lot {
namespace {

using test::TScriptWorkspace;

const QDateTime Clock(QDate(2026, 12, 10), QTime(14, 5, 9));
const QString Stamp = QStringLiteral("[2026-12-10 14:05:09]: ");

class ScriptLogTest : public ::testing::Test {
protected:
    /// Source: the 28 combinations of 1..8; 12 draws that never meet them.
    void Open() {
        w.SetGeneration(cgmOnlyOf, QStringLiteral("1;2;3;4;5;6;7;8"));
        w.SetDraws(12);
        w.Open();
        w.Scripts().Runner().Log().SetClock([] { return Clock; });
    }
    /// The entries of a log without their time stamps; every entry must have one.
    static QStringList Entries(const QString &file) {
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
        const QByteArray bytes = f.readAll();
        EXPECT_TRUE(bytes.endsWith("\r\n"));
        QStringList entries = FromCp1251(bytes).split(QStringLiteral("\r\n"));
        entries.removeLast();
        for (QString &e : entries) {
            EXPECT_TRUE(e.startsWith(Stamp)) << e.toStdString();
            e = e.mid(Stamp.size());
        }
        return entries;
    }
    static QStringList LogFiles(const QString &dir) {
        return QDir(dir).entryList({QStringLiteral("ScriptLog*")});
    }

    TScriptWorkspace w;
};

TEST_F(ScriptLogTest, AForecastOfLinesWithoutFilters) {
    Open();
    w.Scripts().UseLog(true);
    const int draw = w.Ws().Archive().NextDrawNumber();
    const TScriptRunResult r = w.Forecast(
        {QStringLiteral("FULL:0#FIRST#NEX| | | | | | | |x"), QString(), QStringLiteral("FULL:0#FIRST#NEX")});
    EXPECT_EQ(r.Stakes, 1);
    const QString name = w.Path(QStringLiteral("ScriptLog_2026-12-10-14-05-09.txt"));
    EXPECT_EQ(QDir::cleanPath(r.LogFile), QDir::cleanPath(name));
    EXPECT_EQ(w.Host.Opened, QStringList{r.LogFile});
    const QString dashes(94, QLatin1Char('-'));
    const QString equals(94, QLatin1Char('='));
    const QString added =
        QStringLiteral("{+} Ставка на тираж %1 добавлена в список ставок: [1;2;3;4;5;6]").arg(draw);
    const QString refused =
        QStringLiteral(
            "{-} Ставка на тираж %1 не добавлена, так как уже имеется в списке ставок: [1;2;3;4;5;6]")
            .arg(draw);
    const QStringList expected = {
        "### ЗАПУСК СЦЕНАРИЯ ##########################################################################",
        equals,
        "=== Выполнение сценария для смещения 000000 ==================================================",
        equals,
        dashes,
        "Выполнение строки 001: \"FULL:0#FIRST#NEX| | | | | | | |x\"",
        dashes,
        "{ERROR} Фильтры не применялись!",
        "",
        "Создание начального списка комбинаций...",
        "Количество комбинаций в списке: 28",
        "{*} Добавление ставки, режим: \"Выбрать первую комбинацию в списке\"",
        added,
        dashes,
        "Выполнение строки 003: \"FULL:0#FIRST#NEX\"",
        dashes,
        "{ERROR} Фильтры не применялись!",
        "",
        "Создание начального списка комбинаций...",
        "Количество комбинаций в списке: 28",
        "{*} Добавление ставки, режим: \"Выбрать первую комбинацию в списке\"",
        refused,
        "### ЗАВЕРШЕНИЕ СЦЕНАРИЯ ######################################################################",
    };
    EXPECT_EQ(Entries(name), expected);
    EXPECT_EQ(expected[0].size(), 94);
    EXPECT_EQ(expected[2].size(), 94);
    EXPECT_EQ(expected.last().size(), 94);
}

TEST_F(ScriptLogTest, AVariantLogsItsPartsBetweenTheRunnersLines) {
    Open();
    w.Scripts().UseLog(true);
    const TScriptRunResult r = w.Forecast({JoinScriptLine(
        QStringLiteral("FULL:0#ALL"), {QStringLiteral("TSD1#NUMS:12#LVA:1#SF:1")}, QString())});
    ASSERT_FALSE(r.Failed) << r.Message.toStdString();
    EXPECT_EQ(r.Stakes, 7);
    QStringList entries = Entries(r.LogFile);
    // The filter step's own lines (the analysis, the table rows, the step)
    // belong to the filter engine; what the runner writes around them:
    QStringList step;
    for (qsizetype i = entries.size(); i-- > 0;) {
        if (entries[i].startsWith(QStringLiteral("Анализ тиражей")) ||
            entries[i].startsWith(QStringLiteral("< [")) || entries[i].startsWith(QStringLiteral("Шаг "))) {
            step.prepend(entries.takeAt(i));
        }
    }
    ASSERT_FALSE(step.isEmpty());
    EXPECT_TRUE(step[0].endsWith(QStringLiteral("\" для выборки в 12 тиражей..."))) << step[0].toStdString();
    const QString dashes(94, QLatin1Char('-'));
    QStringList expected = {
        dashes,
        "Выполнение строки 001: \"FULL:0#ALL|TSD1#NUMS:12#LVA:1#SF:1| | | | | | |\"",
        dashes,
        "Создание всех вариантов фильтров...",
        "Создано 1 вариантов фильтров.",
        "",
        dashes,
        "Применение набора фильтров 001: \"TSD#NUMS:12#LVA:1#SF:1\"",
        dashes,
        "Создание начального списка комбинаций...",
        "Количество комбинаций в списке: 28",
        "Удаляем выделенные значения...",
        "Количество комбинаций в списке: 7",
        "{*} Добавление ставки, режим: \"Выбрать все комбинации (не рекомендуется)\"",
    };
    const int draw = w.Ws().Archive().NextDrawNumber();
    for (const char *numbers : {"2;3;4;5;6;7", "2;3;4;5;6;8", "2;3;4;5;7;8", "2;3;4;6;7;8", "2;3;5;6;7;8",
                                "2;4;5;6;7;8", "3;4;5;6;7;8"})
        expected << QStringLiteral("{+} Ставка на тираж %1 добавлена в список ставок: [%2]")
                        .arg(draw)
                        .arg(numbers);
    expected << dashes;
    EXPECT_EQ(entries.mid(4, entries.size() - 5), expected);
}

TEST_F(ScriptLogTest, ABreakIsLoggedAndTheRunEnds) {
    Open();
    w.Scripts().UseLog(true);
    w.Host.OnEvents = [&] {
        if (w.Scripts().Running() && w.Scripts().Runner().Cycle() == 2) w.Scripts().RequestStop();
    };
    const TScriptRunResult r = w.Test({QStringLiteral("FULL:0#FIRST")}, 3);
    w.Host.OnEvents = nullptr;
    EXPECT_TRUE(r.Stopped);
    const QStringList entries = Entries(r.LogFile);
    EXPECT_EQ(
        entries.count(
            "### ВЫПОЛНЕНИЕ СЦЕНАРИЯ ПРЕРВАНО #############################################################"),
        1);
    EXPECT_EQ(
        entries.last(),
        "### ЗАВЕРШЕНИЕ СЦЕНАРИЯ ######################################################################");
    EXPECT_EQ(
        entries.count(
            "=== Выполнение сценария для смещения 000003 =================================================="),
        1);
    EXPECT_EQ(
        entries.count(
            "=== Выполнение сценария для смещения 000001 =================================================="),
        0);
}

TEST_F(ScriptLogTest, WithTheLogOffNoFileIsMadeAndNothingOpens) {
    Open();
    ASSERT_FALSE(w.Scripts().LogEnabled());
    const TScriptRunResult r = w.Test({JoinScriptLine(QStringLiteral("FULL:0#FIRST"),
                                                      {QStringLiteral("TSD1#NUMS:5#LMV:1#SF:1")}, QString())},
                                      2);
    EXPECT_EQ(r.Stakes, 2);
    EXPECT_TRUE(r.LogFile.isEmpty());
    EXPECT_TRUE(w.Host.Opened.isEmpty());
    EXPECT_TRUE(LogFiles(w.Path(QString())).isEmpty());
}

TEST_F(ScriptLogTest, ALogThatCannotBeWrittenIsReportedOncePerRunAndTheRunGoesOn) {
    Open();
    // A folder where the log's name is taken by a folder: every entry fails.
    ASSERT_TRUE(QDir(w.Path(QString())).mkpath(QStringLiteral("ScriptLog_2026-12-10-14-05-09.txt")));
    w.Scripts().UseLog(true);
    for (int run = 0; run < 2; ++run) {
        w.Host.Clear();
        const TScriptRunResult r =
            w.Forecast({QStringLiteral("FULL:0#FIRST"), QStringLiteral("FULL:0#LAST")});
        EXPECT_FALSE(r.Failed);
        EXPECT_EQ(r.Stakes, 2);
        const QStringList errors = w.Host.Errors();
        ASSERT_EQ(errors.size(), 1) << errors.join('|').toStdString();
        EXPECT_TRUE(errors[0].startsWith(QStringLiteral("Ошибка записи журнала: ")))
            << errors[0].toStdString();
        EXPECT_TRUE(errors[0].endsWith(QStringLiteral("!")));
        // No log was written, so none is opened.
        EXPECT_TRUE(r.LogFile.isEmpty());
    }
    EXPECT_TRUE(w.Host.Opened.isEmpty());
}

TEST_F(ScriptLogTest, LogsDeleteFindsAndDeletesOnlyTheLogs) {
    Open();
    TScriptsController &scripts = w.Scripts();
    scripts.DeleteLogs();
    EXPECT_EQ(w.Host.Texts(test::TFakeHost::TKind::Information), QStringList{"Файлы журналов не найдены!"});
    for (const char *name : {"ScriptLog_2026-01-01-00-00-00.txt", "ScriptLog_x.txt", "ScriptLog.txt"}) {
        QFile f(w.Path(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    w.Host.Clear();
    EXPECT_TRUE(scripts.DeleteLogs());
    EXPECT_EQ(LogFiles(w.Path(QString())), QStringList{"ScriptLog.txt"});
    EXPECT_TRUE(w.Host.Statuses.contains("Поиск файлов журналов..."));
    EXPECT_EQ(w.Host.Texts(test::TFakeHost::TKind::Information).size(), 1);
}

} // namespace
} // namespace lot
