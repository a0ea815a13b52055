// Favourites and method names as the manager edits them, and the
// description page of a method.

#include "StatsTestUtil.h"

#include "archive/ArchiveController.h"
#include "core/DataFolder.h"
#include "core/IniFile.h"
#include "core/WindowSettings.h"
#include "stats/CustomStatBases.h"
#include "stats/Favourites.h"
#include "stats/MethodDescription.h"
#include "stats/MethodNotes.h"
#include "stats/StatsController.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

namespace lot {
namespace {

class TNotesTestStat : public TCustomNumbersStat {
public:
    using TCustomNumbersStat::TCustomNumbersStat;
    static uint8_t Flags() { return 0; }
    bool CombMatches(const TComb &, const TStatDrawArray &, int, bool, bool) override { return false; }
};

class TSumLike : public TNotesTestStat {
    LOT_STAT_CLASS(TSumLike)
public:
    using TNotesTestStat::TNotesTestStat;
    static QString CodeFormat() { return QStringLiteral("SL"); }
    static QString CaptionFormat() { return QStringLiteral("Как сумма"); }
    static uint8_t Group() { return 1; }
};

class TOffStat : public TNotesTestStat {
    LOT_STAT_CLASS(TOffStat)
public:
    using TNotesTestStat::TNotesTestStat;
    static QString CodeFormat() { return QStringLiteral("OFF"); }
    static QString CaptionFormat() { return QStringLiteral("Выключен"); }
    static uint8_t Group() { return 0; }
    static bool Enabled() { return false; }
};

class TNumLike : public TNotesTestStat {
    LOT_STAT_CLASS(TNumLike)
public:
    using TNotesTestStat::TNotesTestStat;
    static QString CodeFormat() { return QStringLiteral("NL%d"); }
    static QString CaptionFormat() { return QStringLiteral("Как число %0:d"); }
    static uint8_t Group() { return 0; }
    static bool HasParamRange() { return true; }
    static TParamRange GetParamRange(const TStatList &) { return {1, 2}; }
};

TEST(MethodGroupsTest, GroupsFollowTheirFirstMethodAndLeaveDisabledClassesOut) {
    TStatList registry;
    registry.RegisterClasses({&TSumLike::StaticClass(), &TOffStat::StaticClass(), &TNumLike::StaticClass(),
                              &TSumLike::StaticClass()});
    // SL, NL1, NL2, SL: the disabled class is never registered; the group
    // of sums comes first because its first method does.
    const QList<TMethodGroup> groups = MethodGroups(registry);
    ASSERT_EQ(groups.size(), 2);
    EXPECT_EQ(groups[0].Heading, QStringLiteral("{ sum } Сумма чисел тиража"));
    EXPECT_EQ(groups[0].Entries, (QList<int>{0, 3}));
    EXPECT_EQ(groups[1].Heading, QStringLiteral("{ num } Числа тиража"));
    EXPECT_EQ(groups[1].Entries, (QList<int>{1, 2}));
    EXPECT_EQ(MethodName(registry, 2), QStringLiteral("Как число 2"));
}

TEST(MethodEditsTest, NamesEqualToTheClassCaptionStoreNothing) {
    TStatList registry;
    registry.RegisterAll();
    const int nums = registry.FindEntry(QStringLiteral("NUMS"));
    const int even = registry.FindEntry(QStringLiteral("EVEN"));
    const int pos2 = registry.FindEntry(QStringLiteral("POS2"));
    const int sums = registry.FindEntry(QStringLiteral("SUMS"));
    registry.Items(sums).CustomCaption = QStringLiteral("Старое имя");
    ApplyMethodEdits(registry,
                     {{nums, false, QStringLiteral("ЧИСЛА ТИРАЖА")},
                      {even, true, QStringLiteral("Чёт")},
                      {pos2, false, QStringLiteral("Число во 2 позиции тиража")},
                      {sums, true, QString()},
                      {registry.Count(), true, QStringLiteral("вне реестра")}},
                     false);
    EXPECT_TRUE(registry.Items(nums).CustomCaption.isEmpty());
    EXPECT_EQ(registry.Items(even).CustomCaption, QStringLiteral("Чёт"));
    EXPECT_EQ(registry.Items(pos2).CustomCaption, QStringLiteral("Число во 2 позиции тиража"));
    EXPECT_TRUE(registry.Items(sums).CustomCaption.isEmpty())
        << "an empty name falls back to the class caption";
    // Without marks the marks stay; with them they are taken.
    EXPECT_TRUE(registry.Items(nums).Selected);
    ApplyMethodEdits(registry, {{nums, false, QString()}, {even, true, QString()}}, true);
    EXPECT_FALSE(registry.Items(nums).Selected);
    EXPECT_TRUE(registry.Items(even).Selected);
}

class FavouritesControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_stats.LoadGameSettings();
    }
    const TStatList &Registry() const { return m_stats.Registry(); }
    int Entry(const char *code) const { return Registry().FindEntry(QLatin1String(code)); }
    /// Every method with its current mark and name, as the manager opens.
    QList<TMethodEdit> Opened() const {
        QList<TMethodEdit> edits;
        for (int i = 0; i < Registry().Count(); ++i)
            edits.append({i, Registry().IsListed(i), MethodName(Registry(), i)});
        return edits;
    }
    TIniFile Flt() const {
        TIniFile ini;
        ini.Load(m_folder.FltFile());
        return ini;
    }
    QStringList SelectorCodes() const {
        QStringList codes;
        for (const TSelectorItem &item : m_stats.Table().SelectorItems())
            codes << Registry().EntryCode(item.Entry);
        return codes;
    }

    QTemporaryDir m_dir;
    test::TRecordingHost m_host;
    TDataFolder m_folder{m_dir.path()};
    TWindowSettings m_settings;
    TArchiveController m_archive{m_host, m_folder, m_settings};
    TStatsController m_stats{m_host, m_folder, m_settings, m_archive};
};

TEST_F(FavouritesControllerTest, MarksBecomeTheSelectorsAndTheFavouritesKey) {
    int recomputes = 0;
    QObject::connect(&m_stats, &TStatsController::RecomputeRequested,
                     [&](bool force) { recomputes += force; });
    QList<TMethodEdit> edits = Opened();
    for (TMethodEdit &e : edits)
        e.Marked = e.Entry == Entry("EVEN") || e.Entry == Entry("SUMS");
    edits[Entry("SUMS")].Name = QStringLiteral("Сумма");
    ASSERT_TRUE(m_stats.ApplyFavourites(edits, {true, false, true}));
    EXPECT_EQ(SelectorCodes(), (QStringList{"EVEN", "SUMS"})) << "sorted by name: Количество… before Сумма";
    EXPECT_EQ(m_stats.Table().SelectorIndex(), 0);
    EXPECT_EQ(recomputes, 1);
    const TIniFile flt = Flt();
    EXPECT_EQ(flt.ReadString(QStringLiteral("FILTERS"), QStringLiteral("Favorites")),
              QStringLiteral("EVEN,SUMS"));
    EXPECT_TRUE(flt.ReadBool(QStringLiteral("FILTERS"), QStringLiteral("Ordered"), false));
    EXPECT_FALSE(flt.ReadBool(QStringLiteral("FILTERS"), QStringLiteral("ShowGroupName"), true));
    EXPECT_EQ(flt.ReadString(QStringLiteral("STRINGS_RUS"), QStringLiteral("SUMS")), QStringLiteral("Сумма"));
    EXPECT_EQ(flt.Keys(QStringLiteral("STRINGS_RUS")).size(), 1) << "only custom names are stored";

    // Every mark off and every mark on are both the state of "all listed",
    // stored with an empty Favorites key.
    for (bool marked : {false, true}) {
        edits = Opened();
        for (TMethodEdit &e : edits)
            e.Marked = marked;
        ASSERT_TRUE(m_stats.ApplyFavourites(edits, m_stats.DisplayOptions()));
        EXPECT_TRUE(Registry().AllSelected()) << marked;
        EXPECT_EQ(m_stats.Table().SelectorItems().size(), Registry().Count()) << marked;
        EXPECT_TRUE(Flt().ValueExists(QStringLiteral("FILTERS"), QStringLiteral("Favorites")));
        EXPECT_TRUE(
            Flt()
                .ReadString(QStringLiteral("FILTERS"), QStringLiteral("Favorites"), QStringLiteral("x"))
                .isEmpty());
    }
    EXPECT_TRUE(m_host.Errors.isEmpty()) << m_host.Errors.join('|').toStdString();
}

TEST_F(FavouritesControllerTest, ResetListsEverythingAgain) {
    ASSERT_TRUE(m_stats.SetFavouriteEntries({Entry("DIFA")}));
    EXPECT_EQ(SelectorCodes(), QStringList{"DIFA"});
    ASSERT_TRUE(m_stats.ResetFavourites());
    EXPECT_TRUE(Registry().AllSelected());
    EXPECT_EQ(m_stats.Table().SelectorItems().size(), Registry().Count());
    EXPECT_TRUE(Flt()
                    .ReadString(QStringLiteral("FILTERS"), QStringLiteral("Favorites"), QStringLiteral("x"))
                    .isEmpty());
}

TEST_F(FavouritesControllerTest, ExportListsEveryMethodWhileTheOwnFileKeepsCustomNamesOnly) {
    QList<TMethodEdit> edits = Opened();
    edits[Entry("NUMS")].Name = QStringLiteral("Мои числа");
    ASSERT_TRUE(m_stats.ApplyFavourites(edits, m_stats.DisplayOptions()));

    // An edit not yet applied goes to the exported file but not into the
    // registry, which reads its saved names back.
    edits[Entry("DIGS")].Name = QStringLiteral("Мои цифры");
    const QString exported = m_dir.filePath(QStringLiteral("names.flt"));
    ASSERT_TRUE(m_stats.ExportNames(exported, edits));
    TIniFile out;
    out.Load(exported);
    const QStringList keys = out.Keys(QStringLiteral("STRINGS_RUS"));
    EXPECT_EQ(keys.size(), Registry().Count());
    EXPECT_EQ(out.ReadString(QStringLiteral("STRINGS_RUS"), QStringLiteral("NUMS")),
              QStringLiteral("Мои числа"));
    EXPECT_EQ(out.ReadString(QStringLiteral("STRINGS_RUS"), QStringLiteral("DIGS")),
              QStringLiteral("Мои цифры"));
    EXPECT_EQ(out.ReadString(QStringLiteral("STRINGS_RUS"), QStringLiteral("EVEN")),
              QStringLiteral("Количество четных чисел в тираже (Ч:Н)"));
    EXPECT_FALSE(out.SectionExists(QStringLiteral("FILTERS"))) << "names only, no options";
    EXPECT_EQ(Registry().Items(Entry("NUMS")).CustomCaption, QStringLiteral("Мои числа"));
    EXPECT_TRUE(Registry().Items(Entry("DIGS")).CustomCaption.isEmpty());
    EXPECT_EQ(Flt().Keys(QStringLiteral("STRINGS_RUS")).size(), 1);

    // Importing the export: a name equal to the class caption is still a
    // name in the registry until the manager applies it.
    ASSERT_TRUE(m_stats.ImportNames(exported));
    EXPECT_EQ(Registry().Items(Entry("DIGS")).CustomCaption, QStringLiteral("Мои цифры"));
    // A file without a name for a method takes its name away.
    TIniFile partial;
    partial.WriteString(QStringLiteral("STRINGS_RUS"), QStringLiteral("EVEN"), QStringLiteral("Чёт"));
    const QString partialFile = m_dir.filePath(QStringLiteral("partial.flt"));
    partial.SaveAs(partialFile);
    ASSERT_TRUE(m_stats.ImportNames(partialFile));
    EXPECT_EQ(Registry().Items(Entry("EVEN")).CustomCaption, QStringLiteral("Чёт"));
    EXPECT_TRUE(Registry().Items(Entry("NUMS")).CustomCaption.isEmpty());
    EXPECT_TRUE(m_host.Errors.isEmpty()) << m_host.Errors.join('|').toStdString();
}

TEST(MethodNotesTest, EveryRegisteredClassIsDescribed) {
    TStatList registry;
    registry.RegisterAll();
    QStringList missing;
    for (int i = 0; i < registry.Count(); ++i) {
        const TStatClass &c = *registry.Items(i).StatClass;
        const TMethodNotes *notes = FindMethodNotes(c.ClassName());
        if (!notes || !*notes->Value || !*notes->Key || !*notes->Matches)
            missing << QLatin1String(c.ClassName());
    }
    missing.removeDuplicates();
    EXPECT_TRUE(missing.isEmpty()) << missing.join(' ').toStdString();
    for (int group = 0; group < StatGroupCount; ++group)
        EXPECT_FALSE(GroupNotes(group).isEmpty()) << group;
    EXPECT_TRUE(GroupNotes(StatGroupCount).isEmpty());
}

TEST(MethodDescriptionTest, PageNamesEverythingAPlayerAsks) {
    TDrawsArchive archive;
    test::FillSampleArchive(archive);
    TStatList registry(&archive);
    registry.RegisterAll();
    const int pos3 = registry.FindEntry(QStringLiteral("POS3"));
    registry.Items(pos3).CustomCaption = QStringLiteral("Третье <число>");
    const TMethodDescription page = DescribeMethod(registry, pos3);
    EXPECT_EQ(page.Title, QStringLiteral("Третье <число>"));
    const QString text = page.ToPlainText();
    for (const char *part :
         {"Код: POS3", "Группа: { num } Числа тиража", "Название метода: Число в 3 позиции тиража",
          "Параметр: 3 (метод зарегистрирован для значений 1–6)", "S — значение зависит от порядка чисел",
          "G — у метода есть график значений", "Число, стоящее на позиции 3 тиража",
          "1, 2, 3, 4, 5, …, 44, 45 (всего 45)", "Число на позиции 3 комбинации совпадает с выбранным.",
          "Значения фильтра можно задать списком."})
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("D — динамический")));
    // The page escapes what it shows.
    EXPECT_TRUE(page.ToHtml().contains(QStringLiteral("<h2>Третье &lt;число&gt;</h2>")));

    const QString sumc = DescribeMethod(registry, registry.FindEntry(QStringLiteral("SUMC"))).ToPlainText();
    EXPECT_TRUE(sumc.contains(QStringLiteral("Параметр: нет")));
    EXPECT_TRUE(sumc.contains(QStringLiteral("D — динамический")));
    EXPECT_TRUE(sumc.contains(QStringLiteral("Не перечисляются")));
    EXPECT_TRUE(sumc.contains(QStringLiteral("выбираются только в таблице статистики")));
}

TEST(MethodDescriptionTest, ListedValuesAreShortenedPastTwelve) {
    const struct {
        QStringList values;
        const char *text;
    } cases[] = {
        {{"0", "1"}, "0, 1 (всего 2)"},
        {{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"},
         "1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 (всего 12)"},
        {{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13"},
         "1, 2, 3, 4, 5, …, 12, 13 (всего 13)"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ListedValuesText(c.values), QString::fromUtf8(c.text));
    EXPECT_TRUE(ListedValuesText({}).startsWith(QStringLiteral("Не перечисляются")));
}

} // namespace
} // namespace lot
