#include "core/WindowSettings.h"
#include "core/Codec1251.h"
#include "core/Errors.h"
#include "core/IniFile.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

using namespace lot;

namespace {

class WindowSettingsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("Brantlee_6x45.frm")); }

    QString FileText() const {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? FromCp1251(f.readAll()) : QString();
    }
    // What another reader of the file sees.
    TIniFile OnDisk() const { return TIniFile(path()); }
};

void ExpectDefaults(const TWindowSettings &s) {
    // The table of keys, written out independently of MainKeys().
    const QMap<QString, int> expected = {
        {"LeftPanelWidth", 335},
        {"DrawsExclude", 0},
        {"DrawsStatLen", 1000},
        {"DrawsStatHeight", 131},
        {"DrawsGraphLen", 100},
        {"FiltersHeight", 127},
        {"LayoutLen", 100},
        {"LayoutCompareLen1", 50},
        {"LayoutCompareLen2", 100},
        {"LayoutCompareLen3", 200},
        {"LayoutCompareLen4", 300},
        {"LayoutCompareLen5", 400},
        {"LayoutCompareHeight", 257},
        {"WeekLen", 1000},
        {"WeekHeight", 131},
        {"WeekChartMode", 0},
        {"WeekChartType", 0},
        {"AutoUpdates", 1},
        {"DownloadDrawsOnStart", 0},
        {"ScriptLogEnabled", 0},
        {"StakesLogEnabled", 0},
        {"StakesScrollEnabled", 1},
        {"StakesCheckOnLine", 1},
        {"ColorDraws", 1},
        {"ColorCombs", 1},
        {"ColorCard", 1},
        {"ColorCardSequences", 1},
        {"LayoutGradient", 1},
        {"SortedDraws", 0},
        {"PrefetchsEnabled", 0},
        {"PrefetchsInit", 0},
        {"ShowTotalLine", 1},
        {"RatingsEffMode", 1},
        {"ScriptLibraryOn", 1},
        {"ScriptLibraryHeight", 223},
        {"ScriptLibraryFilter", 2},
        {"FirstRun", 0},
        {"TabGraphs", 1},
        {"TabCard", 1},
        {"TabLayout", 1},
        {"TabWeek", 1},
        {"TabTables", 1},
        {"SystemsEnabled", 1},
        {"Language", 1033},
    };
    ASSERT_EQ(TWindowSettings::MainKeys().size(), expected.size());
    for (const TSettingKey &k : TWindowSettings::MainKeys()) {
        ASSERT_TRUE(expected.contains(k.Name)) << k.Name;
        EXPECT_EQ(k.Default, expected[k.Name]) << k.Name;
        EXPECT_FALSE(s.Ini().ValueExists(TWindowSettings::MainSection(), k.Name)) << k.Name;
    }
    // The typed accessors read the same defaults.
    EXPECT_EQ(s.LeftPanelWidth(), 335);
    EXPECT_EQ(s.DrawsStatLen(), 1000);
    EXPECT_EQ(s.LayoutCompareLen1(), 50);
    EXPECT_EQ(s.LayoutCompareLen5(), 400);
    EXPECT_EQ(s.LayoutCompareHeight(), 257);
    EXPECT_EQ(s.ScriptLibraryHeight(), 223);
    EXPECT_EQ(s.ScriptLibraryFilter(), 2);
    EXPECT_EQ(s.RatingsEffMode(), 1);
    EXPECT_EQ(s.Language(), 1033);
    EXPECT_EQ(s.DownloadDrawsOnStart(), 0);
    EXPECT_TRUE(s.ColorDraws());
    EXPECT_FALSE(s.SortedDraws());
    EXPECT_TRUE(s.AutoUpdates());
    EXPECT_FALSE(s.FirstRun());
    EXPECT_FALSE(s.PrefetchsInit());
    EXPECT_FALSE(s.WeekChartType());
    EXPECT_TRUE(s.SystemsEnabled());
    EXPECT_TRUE(s.TabWeek());
}

} // namespace

TEST_F(WindowSettingsTest, MissingOrEmptyFileGivesTheDefaults) {
    {
        SCOPED_TRACE("missing");
        ExpectDefaults(TWindowSettings(path()));
    }
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    {
        SCOPED_TRACE("empty");
        ExpectDefaults(TWindowSettings(path()));
    }
}

TEST_F(WindowSettingsTest, FirstStartWritesPrefetchKeysOnce) {
    TWindowSettings s(path());
    EXPECT_TRUE(s.ApplyFirstStart());
    EXPECT_EQ(OnDisk().ReadString("TFormMain", "PrefetchsInit"), "1");
    EXPECT_EQ(OnDisk().ReadString("TFormMain", "PrefetchsEnabled"), "0");

    // The user switches prefetching on; the next start leaves it alone.
    s.SetPrefetchsEnabled(true);
    TWindowSettings again(path());
    EXPECT_FALSE(again.ApplyFirstStart());
    EXPECT_TRUE(again.PrefetchsEnabled());
}

TEST_F(WindowSettingsTest, SwitchesReachTheFileAtOnceSizesOnlyOnSave) {
    TWindowSettings s(path());
    s.SetColorDraws(false);
    s.SetLeftPanelWidth(400);
    EXPECT_FALSE(OnDisk().ReadBool("TFormMain", "ColorDraws", true));
    EXPECT_FALSE(OnDisk().ValueExists("TFormMain", "LeftPanelWidth"));
    s.Save();
    EXPECT_EQ(OnDisk().ReadInteger("TFormMain", "LeftPanelWidth", 0), 400);
    EXPECT_EQ(TWindowSettings(path()).LeftPanelWidth(), 400);
}

TEST_F(WindowSettingsTest, ValuesWrittenByHandAreRead) {
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[TFormMain]\r\nDrawsStatLen=250\r\nSortedDraws=1\r\nColorDraws=0\r\nLanguage=1049\r\n");
    f.close();
    TWindowSettings s(path());
    EXPECT_EQ(s.DrawsStatLen(), 250);
    EXPECT_TRUE(s.SortedDraws());
    EXPECT_FALSE(s.ColorDraws());
    EXPECT_EQ(s.Language(), 1049);
    EXPECT_EQ(s.DrawsGraphLen(), 100); // absent keys keep their defaults
}

TEST_F(WindowSettingsTest, PlacementRoundTripWithScreenSizeKeys) {
    TWindowSettings s(path());
    TWindowPlacement p;
    EXPECT_FALSE(s.ReadPlacement("TFormMain", QSize(1920, 1080), p));

    TWindowPlacement written;
    written.ShowCmd = 3;
    written.MinMaxPos = {-1, -1, -8, -8};
    written.NormPos = {10, 20, 1010, 720};
    s.WritePlacement("TFormMain", QSize(1920, 1080), written);
    s.Save();

    const QString text = FileText();
    EXPECT_TRUE(text.contains("NormPos=10,20,1010,720\r\n"));
    EXPECT_TRUE(text.contains("NormPos_1920x1080=10,20,1010,720\r\n"));
    EXPECT_TRUE(text.contains("MinMaxPos_1920x1080=-1,-1,-8,-8\r\n"));
    EXPECT_TRUE(text.contains("ShowCmd=3\r\n"));
    EXPECT_TRUE(text.contains("PixelsPerInch=96\r\n"));
    EXPECT_TRUE(text.contains("Flags=0\r\n"));

    TWindowSettings reread(path());
    ASSERT_TRUE(reread.ReadPlacement("TFormMain", QSize(1920, 1080), p));
    EXPECT_EQ(p, written);

    // Another screen: its own rectangle wins, a malformed one falls back.
    reread.Ini().WriteString("TFormMain", "NormPos_800x600", "1,2,3,4");
    reread.Ini().WriteString("TFormMain", "NormPos_640x480", "1,2,x,4");
    ASSERT_TRUE(reread.ReadPlacement("TFormMain", QSize(800, 600), p));
    EXPECT_EQ(p.NormPos, (TPlacementRect{1, 2, 3, 4}));
    ASSERT_TRUE(reread.ReadPlacement("TFormMain", QSize(640, 480), p));
    EXPECT_EQ(p.NormPos, written.NormPos);
}

TEST_F(WindowSettingsTest, RectText) {
    TPlacementRect r{1, 2, 3, 4};
    EXPECT_EQ(TWindowSettings::RectToText({-5, 0, 1280, 1024}), "-5,0,1280,1024");
    for (const char *bad : {"", "1,2,3", "1,2,3,4,5", "a,b,c,d", "1,,3,4"}) {
        EXPECT_FALSE(TWindowSettings::TextToRect(bad, r)) << bad;
        EXPECT_EQ(r, (TPlacementRect{1, 2, 3, 4}));
    }
    ASSERT_TRUE(TWindowSettings::TextToRect(" 7, 8 ,9,10", r));
    EXPECT_EQ(r, (TPlacementRect{7, 8, 9, 10}));
}

TEST_F(WindowSettingsTest, ListViewKeys) {
    TWindowSettings s(path());
    s.SetColumnWidths("TFormMain", "lvDraws", {60, 30, 30});
    s.SetGridLines("TFormMain", "lvDraws", true);
    s.SetMultiSelect("TFormMain", "lvDraws", true);
    s.SetSortType("TFormMain", "lvDraws", 2);
    s.Save();
    const QString text = FileText();
    for (const char *line : {"lvDraws.Column0=60\r\n", "lvDraws.Column2=30\r\n", "lvDraws.GridLines=1\r\n",
                             "lvDraws.MultiSelect=1\r\n", "lvDraws.SortType=2\r\n"})
        EXPECT_TRUE(text.contains(line)) << line;

    TWindowSettings reread(path());
    EXPECT_EQ(reread.ColumnWidths("TFormMain", "lvDraws", {1, 1, 1, 77}), QList<int>({60, 30, 30, 77}));
    EXPECT_TRUE(reread.GridLines("TFormMain", "lvDraws", false));
    EXPECT_FALSE(reread.GridLines("TFormMain", "lvCombs", false));
    EXPECT_EQ(reread.SortType("TFormMain", "lvDraws", 0), 2);
}

TEST_F(WindowSettingsTest, UnsavedStoreWithoutFileNameWritesNothing) {
    TWindowSettings s;
    s.SetColorDraws(false); // no file: the switch stays in memory
    EXPECT_FALSE(s.ColorDraws());
    EXPECT_NO_THROW(s.Save());
}

TEST_F(WindowSettingsTest, SettingsFileThatIsAFolderIsReportedAndNeverReplaced) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("Brantlee_6x45.frm"));
    TWindowSettings s;
    EXPECT_THROW(s.Load(path()), EError);
    EXPECT_TRUE(s.FileName().isEmpty());
    s.SetColorDraws(false);
    EXPECT_TRUE(QFileInfo(path()).isDir());
}
