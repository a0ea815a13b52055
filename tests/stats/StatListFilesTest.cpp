#include "core/Codec1251.h"
#include "core/IniFile.h"
#include "StatsTestUtil.h"

#include "archive/ArchiveController.h"
#include "core/DataFolder.h"
#include "core/WindowSettings.h"
#include "stats/StatsController.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace lot {
namespace {

QByteArray ReadBytes(const QString &fileName) {
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteBytes(const QString &fileName, const QByteArray &bytes) {
    QFile f(fileName);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class StatListFilesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString Path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir m_dir;
    test::TRecordingHost m_host;
    TDataFolder m_folder{m_dir.path()};
    TWindowSettings m_settings;
    TArchiveController m_archive{m_host, m_folder, m_settings};
    // The error boundary of the registry's file operations.
    TStatsController m_ctl{m_host, m_folder, m_settings, m_archive};
    TStatList &m_list = m_ctl.Registry();
};

TEST_F(StatListFilesTest, FileNamesFollowTheProgramName) {
    EXPECT_EQ(m_list.SettingsFileName(), Path("Brantlee_6x45.ini"));
    EXPECT_EQ(m_list.FilterListFileName(), Path("Brantlee_6x45.flt"));
    EXPECT_EQ(m_list.CaptionsSection(), QStringLiteral("STRINGS_RUS"));
    m_list.SetLanguageAbbrev(QStringLiteral("ENU"));
    EXPECT_EQ(m_list.CaptionsSection(), QStringLiteral("STRINGS_ENU"));
}

TEST_F(StatListFilesTest, MissingSettingsFileGivesTheDefaults) {
    // Start from changed values so that every default is really read.
    TConfigData changed;
    changed.MatrixCols = 9;
    changed.Cost = TMoney::FromUnits(5);
    changed.Profits = {{1, TMoney::FromUnits(1)}};
    changed.MatrixSegments.fill(3);
    m_list.SetConfig(changed);
    m_list.SetCombsGenerateMode(2);
    TShreddingData shredding;
    shredding.Formula1 = QStringLiteral("n1");
    shredding.Formula3Digits = 7;
    m_list.SetShredding(shredding);

    EXPECT_TRUE(m_ctl.LoadCombsGenerate());
    EXPECT_TRUE(m_ctl.LoadSettings());
    EXPECT_TRUE(m_ctl.LoadShredding());
    EXPECT_TRUE(m_host.Errors.isEmpty());
    EXPECT_EQ(m_list.Config(), TConfigData());
    EXPECT_EQ(m_list.Config().MatrixCols, 5);
    EXPECT_EQ(m_list.Config().ChannelSize, 5);
    EXPECT_EQ(m_list.Config().MaxStake, 6);
    EXPECT_EQ(m_list.Config().WeightCoefs.Deviation, -1);
    EXPECT_EQ(m_list.CombsGenerateMode(), 0);
    EXPECT_EQ(m_list.CombsGenerateParameters(), QString());
    EXPECT_EQ(m_list.Shredding(), TShreddingData());
    EXPECT_EQ(m_list.Shredding().Formula2, QStringLiteral("(n4+n5+n6)/(n1+n2+n3)"));
    EXPECT_EQ(m_list.Shredding().Formula1Digits, 2);
    EXPECT_FALSE(QFile::exists(m_list.SettingsFileName())) << "loading never creates the file";
}

TEST_F(StatListFilesTest, SettingsRoundTripKeepsForeignSections) {
    const QByteArray foreign = "; written by hand\r\n[PROXY]\r\nHost=proxy.local\r\nPort=3128\r\n\r\n"
                               "[GLOBAL]\r\nSomethingElse=42\r\n";
    WriteBytes(m_list.SettingsFileName(), foreign);

    TConfigData c;
    c.MatrixCols = 9;
    c.ChannelSize = 7;
    c.Cost = TMoney::FromUnits(12500);
    c.MaxStake = 8;
    c.Profits = {
        {3, TMoney::FromUnits(1000000)}, {4, TMoney::FromUnits(123456789)}, {6, TMoney::FromUnits(1)}};
    c.WeightCoefs = {0.125L, -2.5L, 3, true, false};
    for (int i = 0; i < NumberCount; ++i)
        c.MatrixSegments[size_t(i)] = uint8_t(1 + i % 9);
    m_list.SetConfig(c);
    m_list.SetCombsGenerateMode(3);
    m_list.SetCombsGenerateParameters(QStringLiteral("1;2;3"));
    TShreddingData s;
    s.Formula2 = QStringLiteral("n1/(p1+1)");
    s.Formula2Digits = 4;
    m_list.SetShredding(s);
    ASSERT_TRUE(m_ctl.SaveSettings());
    ASSERT_TRUE(m_ctl.SaveCombsGenerate());
    ASSERT_TRUE(m_ctl.SaveShredding());

    TIniFile ini(m_list.SettingsFileName());
    EXPECT_EQ(ini.ReadString(QStringLiteral("PROXY"), QStringLiteral("Host")), QStringLiteral("proxy.local"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("GLOBAL"), QStringLiteral("SomethingElse")),
              QStringLiteral("42"));
    EXPECT_TRUE(ReadBytes(m_list.SettingsFileName())
                    .startsWith("; written by hand\r\n[PROXY]\r\nHost=proxy.local\r\n"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("GLOBAL"), QStringLiteral("MatrixSegments")),
              QStringLiteral("123456789123456789123456789123456789123456789"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("STAKES"), QStringLiteral("Cost")), QStringLiteral("1.25"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("STAKES"), QStringLiteral("Profit_1_Profit")),
              QStringLiteral("12345.6789"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("CDL"), QStringLiteral("UsePercents")), QStringLiteral("1"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("CDL"), QStringLiteral("UseAbsValues")), QStringLiteral("0"));

    TStatList fresh(nullptr, m_dir.path());
    EXPECT_NO_THROW(fresh.LoadCombsGenerate());
    EXPECT_NO_THROW(fresh.LoadSettings());
    EXPECT_NO_THROW(fresh.LoadShredding());
    EXPECT_EQ(fresh.Config(), c);
    EXPECT_EQ(fresh.CombsGenerateMode(), 3);
    EXPECT_EQ(fresh.CombsGenerateParameters(), QStringLiteral("1;2;3"));
    EXPECT_EQ(fresh.Shredding(), s);
}

TEST_F(StatListFilesTest, SettingsAreReadDefensively) {
    struct TCase {
        const char *Text;
        int MatrixCols, ChannelSize, Profits;
        const char *Segments; // first five segment digits
    };
    const TCase cases[] = {
        {"[GLOBAL]\r\nMatrixSegments=12\r\n", 5, 5, 0, "12111"},
        {"[GLOBAL]\r\nMatrixSegments=1a2\r\n", 5, 5, 0, "11211"},
        {"[GLOBAL]\r\nMatrixSegments=0902\r\n", 5, 5, 0, "19121"}, // 0 is not a segment
        {"[GLOBAL]\r\nMatrixCols=0\r\nChannelSize=2\r\n", 5, 5, 0, "11111"},
        {"[GLOBAL]\r\nMatrixCols=45\r\nChannelSize=45\r\n", 45, 45, 0, "11111"},
        {"[GLOBAL]\r\nMatrixCols=46\r\nChannelSize=x\r\n", 5, 5, 0, "11111"},
        {"[STAKES]\r\nProfits=2000000000\r\n", 5, 5, 256, "11111"},
        {"[STAKES]\r\nProfits=-3\r\n", 5, 5, 0, "11111"},
    };
    for (const TCase &c : cases) {
        WriteBytes(m_list.SettingsFileName(), c.Text);
        ASSERT_TRUE(m_ctl.LoadSettings()) << c.Text;
        EXPECT_EQ(m_list.MatrixCols(), c.MatrixCols) << c.Text;
        EXPECT_EQ(m_list.ChannelSize(), c.ChannelSize) << c.Text;
        EXPECT_EQ(int(m_list.Config().Profits.size()), c.Profits) << c.Text;
        EXPECT_EQ(SegmentMapToText(m_list.MatrixSegments()).left(5), QString::fromLatin1(c.Segments))
            << c.Text;
    }

    WriteBytes(m_list.SettingsFileName(), "[STAKES]\r\nCost=2,5\r\nProfits=1\r\nProfit_0_Overlap=6\r\n"
                                          "Profit_0_Profit=12.34567\r\n[CDL]\r\nUsePercents=-1\r\n"
                                          "UseAbsValues=7\r\nLevel=abc\r\n");
    ASSERT_TRUE(m_ctl.LoadSettings());
    EXPECT_EQ(m_list.Cost().Units, 25000);
    EXPECT_EQ(m_list.Config().Profits[0].Overlap, 6);
    EXPECT_EQ(m_list.Config().Profits[0].Prize.Units, 123457);
    EXPECT_FALSE(m_list.WeightCoefs().UsePercents);
    EXPECT_TRUE(m_list.WeightCoefs().UseAbsValues);
    EXPECT_EQ(m_list.WeightCoefs().Level, 1);

    WriteBytes(m_list.SettingsFileName(),
               "[GLOBAL]\r\nCombsGenerateParameters=" + QByteArray(300, '7') + "\r\n");
    ASSERT_TRUE(m_ctl.LoadCombsGenerate());
    EXPECT_EQ(m_list.CombsGenerateParameters().size(), 255);
}

TEST_F(StatListFilesTest, UnusableSettingsFileIsReportedAndNothingIsWritten) {
    // A folder where the file should be: it can be neither read nor replaced.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Brantlee_6x45.ini")));
    TConfigData c;
    c.MatrixCols = 7;
    m_list.SetConfig(c);
    const TOpResult load = m_ctl.LoadSettings();
    EXPECT_FALSE(load);
    EXPECT_EQ(m_list.MatrixCols(), 7) << "values stay in effect";
    ASSERT_EQ(m_host.Errors.size(), 1);
    EXPECT_TRUE(m_host.Errors[0].startsWith(QStringLiteral("Ошибка чтения файла конфигурации!\r\r")));
    EXPECT_EQ(load.Message(), m_host.Errors[0]);

    EXPECT_FALSE(m_ctl.SaveSettings());
    EXPECT_FALSE(m_ctl.SaveShredding());
    ASSERT_EQ(m_host.Errors.size(), 3);
    EXPECT_TRUE(m_host.Errors[1].startsWith(QStringLiteral("Ошибка записи в файл конфигурации!\r\r")));
    EXPECT_TRUE(QFileInfo(m_list.SettingsFileName()).isDir());
}

TEST_F(StatListFilesTest, FilterListRoundTripInWindows1251) {
    m_list.RegisterAll();
    m_list.ApplyFavorites(QStringLiteral("NUMS,POS2,POE1"));
    m_list.SetOrdered(true);
    m_list.SetShowMethodFlags(false);
    m_list.Items(m_list.FindEntry(QStringLiteral("POS2"))).CustomCaption =
        QStringLiteral("Вторая позиция «ё»");
    const QString file = m_list.FilterListFileName();
    // Another language's names and a stale name of ours.
    WriteBytes(file,
               ToCp1251(QStringLiteral("[STRINGS_ENU]\r\nNUMS=Numbers\r\n[STRINGS_RUS]\r\nDIGS=Старое\r\n")));
    ASSERT_TRUE(m_ctl.SaveFilterList(file, true, false));

    const QByteArray bytes = ReadBytes(file);
    EXPECT_TRUE(bytes.contains(ToCp1251(QStringLiteral("POS2=Вторая позиция «ё»\r\n"))));
    EXPECT_FALSE(bytes.contains(QStringLiteral("Вторая").toUtf8()));
    TIniFile ini(file);
    EXPECT_EQ(ini.ReadString(QStringLiteral("FILTERS"), QStringLiteral("Favorites")),
              QStringLiteral("NUMS,POS2,POE1"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("FILTERS"), QStringLiteral("Ordered")), QStringLiteral("1"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("FILTERS"), QStringLiteral("ShowMethodFlags")),
              QStringLiteral("0"));
    EXPECT_EQ(ini.Keys(QStringLiteral("STRINGS_RUS")), QStringList{QStringLiteral("POS2")})
        << "section rewritten";
    EXPECT_EQ(ini.ReadString(QStringLiteral("STRINGS_ENU"), QStringLiteral("NUMS")),
              QStringLiteral("Numbers"));

    TStatList fresh(nullptr, m_dir.path());
    fresh.RegisterAll();
    ASSERT_NO_THROW(fresh.LoadFilterList(file, true));
    EXPECT_EQ(fresh.FavoritesText(), QStringLiteral("NUMS,POS2,POE1"));
    EXPECT_TRUE(fresh.Ordered());
    EXPECT_TRUE(fresh.ShowGroupName());
    EXPECT_FALSE(fresh.ShowMethodFlags());
    EXPECT_EQ(fresh.EntryCaption(fresh.FindEntry(QStringLiteral("POS2"))),
              QStringLiteral("Вторая позиция «ё»"));
    EXPECT_EQ(fresh.EntryCaption(fresh.FindEntry(QStringLiteral("NUMS"))), QStringLiteral("Числа тиража"));
}

TEST_F(StatListFilesTest, FilterListCaptionsAndOptions) {
    m_list.RegisterAll();
    const QString file = Path("names.flt");
    WriteBytes(file, ToCp1251(QStringLiteral("[FILTERS]\r\nFavorites=EVEN\r\nOrdered=1\r\n"
                                             "[STRINGS_RUS]\r\nnums=   Мои числа   \r\n")));
    // Without options only the names are taken.
    ASSERT_TRUE(m_ctl.LoadFilterList(file, false));
    EXPECT_TRUE(m_list.AllSelected());
    EXPECT_FALSE(m_list.Ordered());
    EXPECT_EQ(m_list.Items(0).CustomCaption, QStringLiteral("Мои числа"));
    ASSERT_TRUE(m_ctl.LoadFilterList(file, true));
    EXPECT_EQ(m_list.FavoritesText(), QStringLiteral("EVEN"));
    EXPECT_TRUE(m_list.Ordered());

    // Every caption for an export, custom ones only otherwise.
    const QString all = Path("all.flt");
    ASSERT_TRUE(m_ctl.SaveFilterList(all, false, true));
    TIniFile exported(all);
    EXPECT_EQ(exported.Keys(QStringLiteral("STRINGS_RUS")).size(), m_list.Count());
    EXPECT_EQ(exported.ReadString(QStringLiteral("STRINGS_RUS"), QStringLiteral("NUMS")),
              QStringLiteral("Мои числа"));
    EXPECT_EQ(exported.ReadString(QStringLiteral("STRINGS_RUS"), QStringLiteral("POS4")),
              QStringLiteral("Число в 4 позиции тиража"));
    EXPECT_FALSE(exported.SectionExists(QStringLiteral("FILTERS")));

    // A missing file keeps the current state.
    ASSERT_TRUE(m_ctl.LoadFilterList(Path("missing.flt"), true));
    EXPECT_EQ(m_list.FavoritesText(), QStringLiteral("EVEN"));
    EXPECT_TRUE(m_list.Items(0).CustomCaption.isEmpty());

    // Re-registration keeps favourites and names through the program's file.
    m_list.Items(2).CustomCaption = QStringLiteral("Чётные");
    ASSERT_TRUE(m_ctl.Reregister());
    EXPECT_EQ(m_list.FavoritesText(), QStringLiteral("EVEN"));
    EXPECT_EQ(m_list.Items(2).CustomCaption, QStringLiteral("Чётные"));
    EXPECT_TRUE(m_host.Errors.isEmpty());
}

TEST_F(StatListFilesTest, FilterListErrorsAreReported) {
    m_list.RegisterAll();
    const QString folder = Path("folder.flt");
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("folder.flt")));
    EXPECT_FALSE(m_ctl.LoadFilterList(folder, true));
    EXPECT_FALSE(m_ctl.SaveFilterList(folder, true, false));
    ASSERT_EQ(m_host.Errors.size(), 2);
    EXPECT_TRUE(m_host.Errors[0].startsWith(QStringLiteral("Ошибка загрузки списка фильтров!\r\r")));
    EXPECT_TRUE(m_host.Errors[1].startsWith(QStringLiteral("Ошибка сохранения списка фильтров!\r\r")));

    // Something far too large to be a filter list is refused, not read.
    const QString huge = Path("huge.flt");
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(17 * 1024 * 1024));
    }
    EXPECT_FALSE(m_ctl.LoadFilterList(huge, true));
    EXPECT_TRUE(m_host.Errors.last().contains(QStringLiteral("слишком велик")));
}

} // namespace
} // namespace lot
