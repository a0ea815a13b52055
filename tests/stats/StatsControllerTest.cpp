// The statistics controller: start-up reading of the game settings and the
// settings dialog's apply, with the prefetch files it may rebuild.

#include "StatsTestUtil.h"

#include "archive/ArchiveController.h"
#include "core/DataFolder.h"
#include "core/WindowSettings.h"
#include "stats/StatsController.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace lot {
namespace {

class StatsControllerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString PrefetchFile(const char *code) const {
        return m_stats.Prefetchs().FileNameForCode(QString::fromLatin1(code));
    }
    /// A well-formed prefetch file that no build would write: one record.
    void WriteStaleFile(const char *code) {
        TPrefetchTable table;
        table.Records.push_back({TStatKey::FromWords(1), 5});
        table.MinCount = table.MaxCount = 5;
        ASSERT_TRUE(QDir().mkpath(m_folder.PrefetchDir()));
        WritePrefetchFile(PrefetchFile(code), table);
    }
    bool IsStale(const char *code) const {
        try {
            return ReadPrefetchFile(PrefetchFile(code)).Records.size() == 1;
        } catch (const EError &) {
            return false;
        }
    }

    QTemporaryDir m_dir;
    test::TRecordingHost m_host;
    TDataFolder m_folder{m_dir.path()};
    TWindowSettings m_settings;
    TArchiveController m_archive{m_host, m_folder, m_settings};
    TStatsController m_stats{m_host, m_folder, m_settings, m_archive};
};

TEST_F(StatsControllerTest, SettingsDialogBuildsPrefetchFilesOnlyWithTheSwitchOn) {
    m_stats.LoadGameSettings();
    TConfigData config = m_stats.Registry().Config();
    config.ChannelSize = 7;

    // Switched off: nothing is built, whatever groups changed.
    ASSERT_FALSE(m_stats.PrefetchsEnabled());
    EXPECT_TRUE(m_stats.ApplyGameSettings(config, {0, 3, 4, 5}));
    EXPECT_FALSE(QFileInfo::exists(m_folder.PrefetchDir()));
    EXPECT_EQ(m_stats.Registry().ChannelSize(), 7);

    // Switched on: the files of the changed groups are rebuilt, the others
    // stay as they are (missing ones are made, as at start). Every file but
    // EVEN's is there already, so that only these few are built.
    m_stats.Prefetchs().SetEnabled(true);
    const TStatList &registry = m_stats.Registry();
    for (int i = 0; i < registry.Count(); ++i)
        if (registry.CanPrefetch(i) && registry.EntryCode(i) != QLatin1String("EVEN"))
            WriteStaleFile(registry.EntryCode(i).toLatin1().constData());
    EXPECT_TRUE(m_stats.ApplyGameSettings(config, {3}));
    for (const char *code : {"NUMS", "SUMS", "DIFA", "COLS", "COL5", "POS1"})
        EXPECT_TRUE(IsStale(code)) << code << ": its group did not change";
    for (const char *code : {"CHAN", "CHNV", "CHNC", "CHN1", "CHN7"})
        EXPECT_FALSE(IsStale(code)) << code << ": channels of 7";
    EXPECT_FALSE(QFileInfo::exists(PrefetchFile("CHN8"))) << "no eighth channel";
    EXPECT_TRUE(QFileInfo::exists(PrefetchFile("EVEN")));
    EXPECT_TRUE(m_stats.ApplyGameSettings(config, {0}));
    EXPECT_FALSE(IsStale("NUMS")) << "group 0 changed";
    EXPECT_TRUE(IsStale("SUMS"));
    EXPECT_TRUE(m_host.Errors.isEmpty()) << m_host.Errors.join('\n').toStdString();
}

TEST_F(StatsControllerTest, ANewSegmentMapRegistersItsSegmentsAndRebuildsTheirFiles) {
    m_stats.LoadGameSettings();
    m_stats.Prefetchs().SetEnabled(true);
    const TStatList &registry = m_stats.Registry();
    ASSERT_GE(registry.FindEntry(QStringLiteral("SGM1")), 0);
    ASSERT_LT(registry.FindEntry(QStringLiteral("SGM2")), 0);
    for (int i = 0; i < registry.Count(); ++i)
        if (registry.CanPrefetch(i)) WriteStaleFile(registry.EntryCode(i).toLatin1().constData());

    // Number 4 in segment 2, as the settings dialog gives it.
    TConfigData config = registry.Config();
    config.MatrixSegments[3] = 2;
    EXPECT_EQ(ChangedPrefetchGroups(registry.Config(), config), QList<int>({PrefetchGroupSegments}));
    EXPECT_TRUE(m_stats.ApplyGameSettings(config, ChangedPrefetchGroups(registry.Config(), config)));
    EXPECT_GE(registry.FindEntry(QStringLiteral("SGM2")), 0);
    EXPECT_EQ(SegmentMapToText(registry.MatrixSegments()).left(5), QStringLiteral("11121"));
    for (const char *code : {"SGMS", "SGMV", "SGMC", "SGM1", "SGM2"})
        EXPECT_FALSE(IsStale(code)) << code << ": its group changed";
    EXPECT_TRUE(QFileInfo::exists(PrefetchFile("SGM2")));
    for (const char *code : {"NUMS", "SEQL", "HCO1", "CHAN", "COLS"})
        EXPECT_TRUE(IsStale(code)) << code << ": its group did not change";
    // The new instances see the new map.
    auto sgms = registry.CreateStat(registry.FindEntry(QStringLiteral("SGMS")));
    TStatDrawArray values;
    sgms->CombValues(test::MakeComb({4, 10, 11, 12, 13, 14}), values);
    EXPECT_EQ(test::ValueTexts(*sgms, values), QStringList({"2", "1"}));
    EXPECT_TRUE(m_host.Errors.isEmpty()) << m_host.Errors.join('\n').toStdString();
}

TEST_F(StatsControllerTest, AnUnreadableSettingsFileIsReportedOnceAndStartGoesOn) {
    // A folder where the file should be: none of the three readers gets it.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Brantlee_6x45.ini")));
    const TOpResult r = m_stats.LoadGameSettings();
    EXPECT_FALSE(r);
    ASSERT_EQ(m_host.Errors.size(), 1);
    EXPECT_EQ(r.Message(), m_host.Errors[0]);
    EXPECT_TRUE(m_host.Errors[0].startsWith(QStringLiteral("Ошибка чтения файла конфигурации!\r\r")));
    // The methods are registered with the defaults and the selector filled.
    EXPECT_GT(m_stats.Registry().Count(), 0);
    EXPECT_FALSE(m_stats.Table().SelectorItems().isEmpty());
}

TEST_F(StatsControllerTest, StartUpReadsGenerationParametersSettingsAndFormulas) {
    // Generation parameters, game settings and shredding formulas, in that
    // order, from the one file.
    QFile ini(m_folder.IniFile());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[GLOBAL]\r\nCombsGenerateMode=2\r\nCombsGenerateParameters=1;2;3;4;5;6;7\r\nMatrixCols=9\r\n"
              "[SHREDDING]\r\nFormula1Digits=4\r\n");
    ini.close();
    EXPECT_TRUE(m_stats.LoadGameSettings());
    EXPECT_EQ(m_stats.Registry().CombsGenerateMode(), 2);
    EXPECT_EQ(m_stats.Registry().CombsGenerateParameters(), QStringLiteral("1;2;3;4;5;6;7"));
    EXPECT_EQ(m_stats.Registry().MatrixCols(), 9);
    EXPECT_EQ(m_stats.Registry().Shredding().Formula1Digits, 4);
}

} // namespace
} // namespace lot

namespace lot {
namespace {

class ShreddingControllerTest : public StatsControllerTest {
protected:
    /// Every prefetch file there, and stale.
    void WriteAllStale() {
        const TStatList &registry = m_stats.Registry();
        for (int i = 0; i < registry.Count(); ++i)
            if (registry.CanPrefetch(i)) WriteStaleFile(registry.EntryCode(i).toLatin1().constData());
    }
};

TEST_F(ShreddingControllerTest, AChangedFormulaRebuildsTheShreddingFiles) {
    m_stats.LoadGameSettings();
    m_stats.Prefetchs().SetEnabled(true);
    WriteAllStale();
    TShreddingData data = m_stats.Registry().Shredding();

    // Nothing changed: nothing is built.
    EXPECT_TRUE(m_stats.ApplyShredding(data));
    EXPECT_TRUE(IsStale("SHR1"));

    data.Formula2 = QStringLiteral("(n1*n2)/(n3+n4)");
    data.Formula2Digits = 1;
    EXPECT_TRUE(m_stats.ApplyShredding(data));
    for (const char *code : {"SHR1", "SHR2", "SHR3"})
        EXPECT_FALSE(IsStale(code)) << code << ": group 12 changed";
    for (const char *code : {"NUMS", "SUMS", "HCO1", "SGM1"})
        EXPECT_TRUE(IsStale(code)) << code;
    // One digit: at most ten values over the whole full set.
    const TPrefetchTable shr2 = ReadPrefetchFile(PrefetchFile("SHR2"));
    EXPECT_LE(shr2.Records.size(), 10u);
    int64_t total = 0;
    for (const TPrefetchRec &r : shr2.Records)
        total += r.Count;
    EXPECT_EQ(total, FullSetSize);

    // Saved with the game settings, and the entries show the new formula.
    TStatList reread(nullptr, m_dir.path());
    reread.LoadShredding();
    EXPECT_EQ(reread.Shredding(), data);
    const TStatList &registry = m_stats.Registry();
    EXPECT_EQ(registry.EntryCaption(registry.FindEntry(QStringLiteral("SHR2"))),
              QStringLiteral("Метод шинковки 2: (n1*n2)/(n3+n4)"));
    EXPECT_TRUE(m_host.Errors.isEmpty()) << m_host.Errors.join('\n').toStdString();
}

TEST_F(ShreddingControllerTest, WithTheSwitchOffTheOldFilesGo) {
    m_stats.LoadGameSettings();
    m_stats.Prefetchs().SetEnabled(true);
    WriteAllStale();
    m_stats.Prefetchs().SetEnabled(false);
    TShreddingData data = m_stats.Registry().Shredding();
    data.Formula3Digits = 3;
    EXPECT_TRUE(m_stats.ApplyShredding(data));
    for (const char *code : {"SHR1", "SHR2", "SHR3"})
        EXPECT_FALSE(QFileInfo::exists(PrefetchFile(code))) << code;
    EXPECT_TRUE(IsStale("NUMS"));
}

TEST_F(ShreddingControllerTest, AFormulaWithAnErrorChangesNothing) {
    m_stats.LoadGameSettings();
    const TShreddingData before = m_stats.Registry().Shredding();
    struct TCase {
        int Formula;
        const char *Text;
        int Digits;
        const char *Message;
    } cases[] = {
        {1, "(n1+n2", 2, "Ошибка в формуле 1: не хватает закрывающей скобки."},
        {3, "n1+", 2, "Ошибка в формуле 3: формула обрывается."},
        {2, "n1/n2", 10, "Количество цифр формулы 2 должно быть от 0 до 9!"},
    };
    for (const TCase &c : cases) {
        TShreddingData data = before;
        (c.Formula == 1   ? data.Formula1
         : c.Formula == 2 ? data.Formula2
                          : data.Formula3) = QString::fromLatin1(c.Text);
        (c.Formula == 1   ? data.Formula1Digits
         : c.Formula == 2 ? data.Formula2Digits
                          : data.Formula3Digits) = c.Digits;
        m_host.Errors.clear();
        const TOpResult r = m_stats.ApplyShredding(data);
        EXPECT_FALSE(r) << c.Text;
        ASSERT_EQ(m_host.Errors.size(), 1) << c.Text;
        EXPECT_TRUE(m_host.Errors[0].startsWith(QString::fromUtf8(c.Message)))
            << m_host.Errors[0].toStdString();
        EXPECT_EQ(m_stats.Registry().Shredding(), before);
    }
    EXPECT_FALSE(QFileInfo::exists(m_stats.Registry().SettingsFileName()));
}

} // namespace
} // namespace lot
