// The systems controller over a small workspace and a catalogue in memory:
// the list and its placeholder, downloads with one system per N, out-of-date
// copies, publishing, editing and deleting one's own systems, the missing
// catalogue, and system play in both modes.

#include "systems/SystemsController.h"
#include "core/Format.h"
#include "FakeCatalogue.h"
#include "scripts/ScriptsTestUtil.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFileInfo>

namespace lot {
namespace {

using test::TFakeCatalogue;
using test::TScriptWorkspace;

const QDateTime Created(QDate(2023, 11, 2), QTime(8, 15, 0));

tSystemInfo Entry(int id, int nums, int csize, const char *mail = "") {
    tSystemInfo info;
    info.Id = id;
    info.Nums = uint8_t(nums);
    info.CSize = csize;
    info.Title = QStringLiteral("Система %1").arg(id);
    info.Author = QStringLiteral("Автор");
    info.OwnerMail = QString::fromLatin1(mail);
    info.Created = Created;
    return info;
}

QString ReadText(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
}

class SystemsControllerTest : public ::testing::Test {
protected:
    TWorkspace &Open(const QString &numbers = QStringLiteral("1;2;3;4;5;6;7")) {
        w.SetGeneration(cgmOnlyOf, numbers);
        w.SetDraws(3);
        TWorkspace &ws = w.Open();
        ws.Systems().SetUser(QStringLiteral("Я"), QStringLiteral("me@example.org"));
        return ws;
    }
    TSystemsController &Sys() { return w.Ws().Systems(); }
    void UseCatalogue() {
        Sys().SetCatalogueFactory([s = state] { return std::make_unique<TFakeCatalogue>(s); });
    }
    void Offer(const tSystemInfo &info, const QString &content) {
        state->Entries.append(info);
        state->Contents[info.Id] = content;
    }
    QStringList LocalFiles() { return QDir(Sys().Dir()).entryList(QDir::Files, QDir::Name); }

    TScriptWorkspace w;
    std::shared_ptr<TFakeCatalogue::TState> state = std::make_shared<TFakeCatalogue::TState>();
};

TEST_F(SystemsControllerTest, WithoutACatalogueEveryCallSaysSo) {
    Open();
    const QString missing = QStringLiteral("Online-каталог систем не подключен!");
    // The workspace's own factory: a client only once a catalogue address is set, so
    // without one nothing loads by itself and every call says why.
    EXPECT_FALSE(Sys().HasCatalogue());
    EXPECT_FALSE(Sys().LoadSystems());
    EXPECT_EQ(Sys().Count(), 0);
    EXPECT_FALSE(Sys().AddSystem(Sys().NewSystem()));
    // A factory that answers no catalogue is no catalogue either.
    Sys().SetCatalogueFactory([] { return std::unique_ptr<ISystemCatalogue>(); });
    EXPECT_FALSE(Sys().LoadSystems());
    EXPECT_EQ(w.Host.Errors(), QStringList({"Ошибка загрузки списка систем!\r\r" + missing,
                                            "Ошибка добавления системы!\r\r" + missing,
                                            "Ошибка загрузки списка систем!\r\r" + missing}));
}

TEST_F(SystemsControllerTest, AnEmptyReplyGivesThePlaceholderAndAFailureAnEmptyList) {
    Open();
    UseCatalogue();
    ASSERT_TRUE(Sys().LoadSystems());
    ASSERT_EQ(Sys().Count(), 1);
    EXPECT_EQ(Sys().At(0).Info.Id, -1);
    EXPECT_EQ(Sys().At(0).Info.Title, "Список систем не доступен!");
    EXPECT_TRUE(w.Host.Statuses.contains("Загрузка списка систем..."));
    state->FailWith = QStringLiteral("нет связи");
    EXPECT_FALSE(Sys().LoadSystems());
    EXPECT_EQ(Sys().Count(), 0);
    EXPECT_EQ(w.Host.Errors().last(), "Ошибка загрузки списка систем!\r\rнет связи");
}

TEST_F(SystemsControllerTest, DownloadKeepsOneSystemPerN) {
    Open();
    UseCatalogue();
    Offer(Entry(12, 10, 2), QStringLiteral("1 2 3 4 5 6\n5-6-7-8-9-10\n"));
    Offer(Entry(13, 10, 1), QStringLiteral("01 02 03 04 05 10"));
    Offer(Entry(14, 7, 1), QStringLiteral("1 2 3 4 5 6"));
    QDir().mkpath(Sys().Dir());
    // A file no entry knows would be the first match for 10 and be played instead.
    QFile orphan(QDir(Sys().Dir()).filePath(QStringLiteral("6-10-0_0001.dat")));
    ASSERT_TRUE(orphan.open(QIODevice::WriteOnly));
    orphan.write("1 2 3 4 5 6\r\n");
    orphan.close();
    ASSERT_TRUE(Sys().LoadSystems());
    ASSERT_EQ(Sys().Count(), 3);

    ASSERT_TRUE(Sys().DownloadSystems({0, 2}));
    EXPECT_EQ(LocalFiles(), QStringList({"6-07-0_0014.dat", "6-10-0_0012.dat"}));
    const QString path = Sys().LocalPath(Sys().At(0).Info);
    EXPECT_EQ(ReadText(path), "1 2 3 4 5 6\r\n5-6-7-8-9-10\r\n");
    EXPECT_EQ(QFileInfo(path).lastModified().toSecsSinceEpoch(), Created.toSecsSinceEpoch());
    EXPECT_TRUE(Sys().At(0).Loaded);
    EXPECT_FALSE(Sys().At(1).Loaded);
    EXPECT_TRUE(w.Host.Statuses.contains("Загрузка \"Система 12\"..."));

    ASSERT_TRUE(Sys().DownloadSystems({1}));
    EXPECT_EQ(LocalFiles(), QStringList({"6-07-0_0014.dat", "6-10-0_0013.dat"}));
    EXPECT_FALSE(Sys().At(0).Loaded);
    EXPECT_TRUE(Sys().At(1).Loaded);
    EXPECT_TRUE(w.Host.Errors().isEmpty());
}

TEST_F(SystemsControllerTest, AWrongCountOrAMalformedSystemLeavesTheOlderFile) {
    Open();
    UseCatalogue();
    Offer(Entry(12, 10, 1), QStringLiteral("1 2 3 4 5 6"));
    Offer(Entry(13, 10, 3), QStringLiteral("1 2 3 4 5 6\n1 2 3 4 5 7"));
    Offer(Entry(15, 10, 1), QStringLiteral("1 2 3 4 5 11"));
    ASSERT_TRUE(Sys().LoadSystems());
    ASSERT_TRUE(Sys().DownloadSystems({0}));
    EXPECT_FALSE(Sys().DownloadSystems({1, 2}));
    EXPECT_EQ(
        w.Host.Errors(),
        QStringList({"Ошибка загрузки системы #13!\r\rКоличество скачанных комбинаций ( 2 ) отличается от "
                     "ожидаемого значения ( 3 )"}));
    EXPECT_FALSE(Sys().DownloadSystems({2}));
    EXPECT_TRUE(w.Host.Errors().last().startsWith("Ошибка загрузки системы #15!\r\r"));
    EXPECT_EQ(LocalFiles(), QStringList({"6-10-0_0012.dat"}));
    EXPECT_TRUE(Sys().At(0).Loaded);
}

TEST_F(SystemsControllerTest, AnOutOfDateCopyIsDownloadedAgainWithTheList) {
    Open();
    UseCatalogue();
    Offer(Entry(12, 7, 1), QStringLiteral("1 2 3 4 5 6"));
    ASSERT_TRUE(Sys().LoadSystems());
    ASSERT_TRUE(Sys().DownloadSystems({0}));
    const int calls = state->ContentCalls;
    ASSERT_TRUE(Sys().LoadSystems());
    EXPECT_EQ(state->ContentCalls, calls); // up to date: not fetched

    state->Entries[0].Created = Created.addDays(1);
    state->Contents[12] = QStringLiteral("2 3 4 5 6 7");
    ASSERT_TRUE(Sys().LoadSystems());
    EXPECT_EQ(state->ContentCalls, calls + 1);
    const QString path = Sys().LocalPath(Sys().At(0).Info);
    EXPECT_EQ(ReadText(path), "2 3 4 5 6 7\r\n");
    EXPECT_EQ(QFileInfo(path).lastModified().toSecsSinceEpoch(), Created.addDays(1).toSecsSinceEpoch());
}

TEST_F(SystemsControllerTest, PublishEditAndDeleteOwnSystems) {
    Open();
    UseCatalogue();
    Offer(Entry(5, 7, 1, "Other@example.org"), QStringLiteral("1 2 3 4 5 6"));
    Offer(Entry(6, 7, 1, "ME@example.org"), QStringLiteral("1 2 3 4 5 6"));
    Offer(Entry(7, 8, 1), QStringLiteral("1 2 3 4 5 6"));
    ASSERT_TRUE(Sys().LoadSystems());
    EXPECT_EQ(Sys().State(0), TSystemState::Other);
    EXPECT_EQ(Sys().State(1), TSystemState::Own);
    EXPECT_EQ(Sys().State(2), TSystemState::Anonymous);

    tSystemData data = Sys().NewSystem();
    EXPECT_EQ(data.Info.Id, 0);
    EXPECT_EQ(data.Info.Author, "Я");
    EXPECT_EQ(data.Info.OwnerMail, "me@example.org");
    data.Info.Title = QStringLiteral("Новая");
    data.Info.Nums = 8;
    data.Content = QStringLiteral("01 02 03 04 05 06\r\n03 04 05 06 07 08");
    int row = -1;
    ASSERT_TRUE(Sys().AddSystem(data, &row));
    ASSERT_EQ(row, 3);
    EXPECT_EQ(Sys().At(3).Info.Id, 100);
    EXPECT_EQ(Sys().At(3).Info.CSize, 2);
    ASSERT_EQ(state->Saved.size(), 1);
    EXPECT_FALSE(state->Saved[0].Deletion);
    EXPECT_EQ(state->Saved[0].Data.Info.Id, 0);
    EXPECT_TRUE(w.Host.Statuses.contains("Сохранение \"Новая\"..."));

    // Another's system is neither edited nor deleted.
    tSystemData copy;
    ASSERT_TRUE(Sys().FetchSystem(0, copy));
    EXPECT_EQ(copy.Content, "1 2 3 4 5 6");
    EXPECT_FALSE(Sys().UpdateSystem(0, copy));
    EXPECT_FALSE(Sys().DeleteSystem(0));
    EXPECT_EQ(w.Host.Errors(),
              QStringList({"Ошибка изменения системы!\r\rВы можете изменять только свои системы!",
                           "Вы можете удалять только свои системы!"}));

    // Editing one's own downloaded system rewrites its local copy.
    ASSERT_TRUE(Sys().DownloadSystems({1}));
    ASSERT_TRUE(Sys().FetchSystem(1, copy));
    copy.Content = QStringLiteral("02 03 04 05 06 07");
    copy.Info.Title = QStringLiteral("Правка");
    ASSERT_TRUE(Sys().UpdateSystem(1, copy));
    EXPECT_EQ(Sys().At(1).Info.Title, "Правка");
    EXPECT_EQ(state->Saved.last().Data.Info.Id, 6);
    EXPECT_EQ(ReadText(Sys().LocalPath(Sys().At(1).Info)), "02 03 04 05 06 07\r\n");

    // Deleting asks first; No keeps everything.
    w.Host.ConfirmAnswer = false;
    bool refused = false;
    EXPECT_TRUE(Sys().DeleteSystem(1, &refused));
    EXPECT_TRUE(refused);
    EXPECT_EQ(Sys().Count(), 4);
    w.Host.ConfirmAnswer = true;
    ASSERT_TRUE(Sys().DeleteSystem(1, &refused));
    EXPECT_FALSE(refused);
    EXPECT_EQ(w.Host.Texts(test::TFakeHost::TKind::Confirm).last(),
              "Вы действительно хотите удалить систему \"Правка\"?");
    EXPECT_TRUE(state->Saved.last().Deletion);
    EXPECT_EQ(Sys().Count(), 3);
    EXPECT_EQ(Sys().FindId(6), -1);
    EXPECT_TRUE(LocalFiles().isEmpty());

    // A deletion the catalogue does not confirm keeps the row.
    state->Answer = 5;
    row = Sys().FindId(100);
    EXPECT_FALSE(Sys().DeleteSystem(row));
    EXPECT_EQ(Sys().FindId(100), row);
    EXPECT_TRUE(w.Host.Errors().last().startsWith("Ошибка удаления системы!\r\r"));
}

// ---- system play ---------------------------------------------------------------------------------

class SystemPlayTest : public SystemsControllerTest {
protected:
    void WriteSystem(int n, const QStringList &lines, int id = 1) {
        tSystemInfo info = Entry(id, n, int(lines.size()));
        SaveSystemFile(Sys().LocalPath(info), lines, QDateTime());
    }
    std::vector<TStakeRec> Play(bool whole, int *made = nullptr) {
        TSystemPlay play;
        EXPECT_TRUE(Sys().PrepareSystemPlay(whole, play));
        EXPECT_TRUE(Sys().StakeSystem(play, w.Ws().Stakes().NextDrawNumber(), 1, play.Comment, made));
        return w.Stakes();
    }
};

TEST_F(SystemPlayTest, TheListsNumbersInOrderOfFirstOccurrence) {
    // Two combinations: 3;7;9;20;30;41 and 1;3;9;12;20;44.
    w.SetSourceFile({test::C(3, 7, 9, 20, 30, 41), test::C(1, 3, 9, 12, 20, 44)});
    w.SetDraws(3);
    w.Open();
    WriteSystem(9, {QStringLiteral("01 02 03 07 08 09"), QStringLiteral("1 2 3 4 5 6")}, 21);
    TSystemPlay play;
    ASSERT_TRUE(Sys().PrepareSystemPlay(true, play));
    EXPECT_EQ(play.Nums, 9);
    EXPECT_EQ(play.Comment, "Системная игра для 9 чисел [вся система]: 6-09-0_0021");
    int made = 0;
    const auto stakes = Play(true, &made);
    EXPECT_EQ(made, 2);
    ASSERT_EQ(stakes.size(), 2u);
    EXPECT_EQ(TScriptWorkspace::Numbers(stakes[0]), "1;3;7;9;12;44");
    const TStakeRec &s = stakes[1];
    EXPECT_EQ(TScriptWorkspace::Numbers(s), "3;7;9;20;30;41");
    EXPECT_EQ(s.Version, StakesVersion);
    EXPECT_EQ(s.Kind, skSystem);
    EXPECT_EQ(s.Checked, 0);
    EXPECT_EQ(s.Sample, 2); // the system's combinations
    EXPECT_EQ(s.Overlaps.Count, -1);
    EXPECT_EQ(s.Profit, w.Ws().Stakes().StakeCost(6));
    EXPECT_EQ(StakeComment(s), "Системная игра для 9 чисел [вся система]: 6-09-0_0021");
    // A separator before the next batch (an empty file starts without one).
    EXPECT_EQ(w.Records().size(), 2u);
    Play(true);
    const auto records = w.Records();
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[2].Kind, skSeparator);
}

TEST(SystemPlayNumbers, EachCombinationIsReadInAscendingOrder) {
    // A list read from a file keeps 40;25;17;11;3;7 as written.
    const std::vector<TComb> list{test::C(40, 25, 17, 11, 3, 7), test::C(1, 3, 9, 12, 20, 44)};
    const QByteArray numbers = SystemPlayNumbers(list);
    EXPECT_EQ(numbers, QByteArray("\x03\x07\x0b\x11\x19\x28\x01\x09\x0c\x14\x2c"));
    std::vector<TComb> all;
    for (int s = 1; s + 5 <= 45; ++s)
        all.push_back(test::C(s, s + 1, s + 2, s + 3, s + 4, s + 5));
    EXPECT_EQ(SystemPlayNumbers(all).size(), 45);
    EXPECT_TRUE(SystemPlayNumbers({}).isEmpty());
}

TEST_F(SystemPlayTest, WithoutASystemForNTheLongErrorAndNoStake) {
    Open(QStringLiteral("1;2;3;4;5;6;7;8;9;10"));
    WriteSystem(9, {QStringLiteral("1 2 3 4 5 6")});
    TSystemPlay play;
    const TOpResult r = Sys().PrepareSystemPlay(true, play);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.Message(), "Система для 10 чисел не найдена или не загружена на компьютер!");
    EXPECT_EQ(
        w.Host.Errors(),
        QStringList({"Система для 10 чисел не найдена или не загружена на компьютер!\r\rПеред системной "
                     "игрой необходимо предварительно загрузить системы на Ваш компьютер через меню "
                     "\"Системы\" - \"Загрузить\"."}));
    EXPECT_TRUE(w.Records().empty());
}

TEST_F(SystemPlayTest, RestrictedPlayWithoutAMatchMakesNoStake) {
    w.SetSourceFile({test::C(1, 2, 3, 4, 5, 6), test::C(2, 3, 4, 5, 6, 7)});
    w.SetDraws(3);
    w.Open();
    WriteSystem(7, {QStringLiteral("1 2 3 4 5 8")});
    TSystemPlay play;
    const TOpResult bad = Sys().PrepareSystemPlay(false, play);
    EXPECT_FALSE(bad);
    EXPECT_TRUE(bad.Message().startsWith("Ошибка загрузки комбинаций системы!\r\r"))
        << bad.Message().toStdString();
    WriteSystem(7, {QStringLiteral("7 5 4 3 2 1")});
    int made = -1;
    const auto stakes = Play(false, &made);
    EXPECT_EQ(made, 0);
    EXPECT_TRUE(stakes.empty());
    EXPECT_EQ(Play(true, &made).size(), 1u);
    EXPECT_EQ(made, 1);
}

/// N distinct numbers 1..N in order of first occurrence, over a few combinations.
std::vector<TComb> ListOf(int n) {
    std::vector<TComb> list{test::C(1, 2, 3, 4, 5, 6)};
    for (int s = 7; s + 5 <= n; s += 6)
        list.push_back(test::C(s, s + 1, s + 2, s + 3, s + 4, s + 5));
    if (list.back()[5] != n) list.push_back(test::C(n - 5, n - 4, n - 3, n - 2, n - 1, n));
    return list;
}

class SystemPlayModesTest : public SystemPlayTest,
                            public ::testing::WithParamInterface<std::tuple<int, bool>> {};

TEST_P(SystemPlayModesTest, OverTheListsDistinctNumbers) {
    const auto [n, whole] = GetParam();
    const std::vector<TComb> list = ListOf(n);
    w.SetSourceFile(list);
    w.SetDraws(3);
    w.Open();
    ASSERT_EQ(CountUniqueNumbers(list.data(), qsizetype(list.size())), n);
    // The first and the last combination of the list, and one that is not in it.
    WriteSystem(
        n,
        {QStringLiteral("1 2 3 4 5 6"),
         QStringLiteral("%1 %2 %3 %4 %5 %6").arg(n).arg(n - 1).arg(n - 2).arg(n - 3).arg(n - 4).arg(n - 5),
         QStringLiteral("1 2 3 4 5 7")},
        7);
    int made = 0;
    const auto stakes = Play(whole, &made);
    ASSERT_EQ(made, whole ? 3 : 2);
    ASSERT_EQ(stakes.size(), size_t(made));
    EXPECT_EQ(TScriptWorkspace::Numbers(stakes[0]), "1;2;3;4;5;6");
    EXPECT_EQ(TScriptWorkspace::Numbers(stakes[1]), CombToText(list.back()));
    if (whole) {
        EXPECT_EQ(TScriptWorkspace::Numbers(stakes[2]), "1;2;3;4;5;7");
    }
    const QString file = Format(QStringLiteral("6-%.2d-0_0007"), {n});
    for (const TStakeRec &s : stakes) {
        EXPECT_EQ(s.Kind, skSystem);
        EXPECT_EQ(s.Sample, whole ? 3 : int(list.size()));
        EXPECT_EQ(StakeComment(s),
                  whole ? Format(QStringLiteral("Системная игра для %d чисел [вся система]: %s"), {n, file})
                        : Format(QStringLiteral("Системная игра для %d чисел [комбинации]: %s"), {n, file}));
    }
    EXPECT_TRUE(w.Host.Errors().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Numbers, SystemPlayModesTest,
                         ::testing::Combine(::testing::Values(7, 10, 45), ::testing::Bool()));

} // namespace
} // namespace lot
