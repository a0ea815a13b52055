#include "shell/Workspace.h"
#include "archive/ArchiveTestUtil.h"
#include "archive/DrawsArchive.h"
#include "archive/DrawsCsv.h"
#include "core/IniFile.h"
#include "shell/FakeHost.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

using namespace lot;
using lot::test::MakeDraw;
using lot::test::TFakeHost;

namespace {

using TKind = TFakeHost::TKind;

/// Draws numbered first, first+2, ... with distinct, valid numbers.
TDrawsArray MakeDraws(int count, int first = 1001) {
    TDrawsArray draws;
    for (int i = 0; i < count; ++i) {
        const int b = i % 30;
        draws.push_back(MakeDraw(first + 2 * i, {b + 1, b + 2, b + 3, b + 4, b + 5, b + 6}, {b + 7, b + 8}));
    }
    return draws;
}

class WorkspaceTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TFakeHost host;
    TWorkspace ws{host, dir.path()};
    QList<bool> recomputes;
    QList<bool> drawsChanged;
    QList<int> offsets;
    QList<bool> busy;

    void SetUp() override {
        QObject::connect(&ws, &TWorkspace::RecomputeRequested, [this](bool f) { recomputes << f; });
        QObject::connect(&ws.Archive(), &TArchiveController::DrawsChanged,
                         [this](bool f) { drawsChanged << f; });
        QObject::connect(&ws.Archive(), &TArchiveController::OffsetChanged, [this](int v) { offsets << v; });
        QObject::connect(&ws, &TWorkspace::BusyChanged, [this](bool b) { busy << b; });
    }

    /// Writes draws as the draws file and starts the workspace on it.
    void StartWith(const TDrawsArray &draws) {
        TDrawsArchive archive;
        for (const TDrawRec &d : draws)
            archive.Append(d);
        archive.SaveDrawsFile(ws.Files().DrawsFile());
        ASSERT_EQ(ws.Startup({}), TStartupResult::Running);
        ASSERT_TRUE(host.Errors().isEmpty()) << host.Errors().join('|').toStdString();
        host.Clear();
        recomputes.clear();
        drawsChanged.clear();
        offsets.clear();
        busy.clear();
    }

    /// The draws file as another reader sees it.
    TDrawsArray OnDisk() const {
        TDrawsArchive archive;
        archive.LoadDrawsFile(ws.Files().DrawsFile());
        return archive.Draws();
    }

    QStringList Panels() const {
        QStringList p;
        for (int i = 0; i < TWorkspace::StatusPanelCount; ++i)
            p << ws.StatusPanelText(i);
        return p;
    }
};

bool SameDraws(const TDrawsArray &a, const TDrawsArray &b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!lot::test::SameRecord(a[i], b[i])) return false;
    return true;
}

} // namespace

TEST_F(WorkspaceTest, FileNamesLiveInTheDataFolder) {
    const QDir d(dir.path());
    EXPECT_EQ(ws.Files().DrawsFile(), d.filePath("Brantlee_6x45.ldr"));
    EXPECT_EQ(ws.Files().StakesFile(), d.filePath("Brantlee_6x45.lsk"));
    EXPECT_EQ(ws.Files().IniFile(), d.filePath("Brantlee_6x45.ini"));
    EXPECT_EQ(ws.Files().FrmFile(), d.filePath("Brantlee_6x45.frm"));
    EXPECT_EQ(ws.Files().FltFile(), d.filePath("Brantlee_6x45.flt"));
    EXPECT_EQ(ws.Files().BuffFile(), d.filePath("Brantlee_6x45.~buff"));
    EXPECT_EQ(ws.Files().PrefetchDir(), d.filePath("Prefetchs"));
    EXPECT_EQ(ws.Files().FilePath("x.lcv"), d.filePath("x.lcv"));
}

TEST_F(WorkspaceTest, EmptyArchiveStartsAndProposesDrawOne) {
    StartWith({});
    EXPECT_EQ(Panels(), QStringList({"Архив тиражей: 0", "Следующий тираж: 1", "", "Комбинаций: 8145060",
                                     "Ставок: 0", "Рейтинг: 0", ""}));
    EXPECT_EQ(ws.Archive().NewDrawTemplate().DrawNumber, 1);
    EXPECT_EQ(ws.Archive().MaxOffset(), 0);
    EXPECT_TRUE(ws.Stakes().IsOpen());
}

TEST_F(WorkspaceTest, StartupComputesMatchClassesAndLoadsInOrder) {
    StartWith(MakeDraws(3));
    EXPECT_EQ(ws.FullSetSize(), 8145060);
    int64_t total = 0;
    long double share = 0;
    for (const TMatchClass &mc : ws.MatchClasses()) {
        total += mc.Count;
        share += mc.Share;
    }
    EXPECT_EQ(total, 8145060);
    EXPECT_NEAR(double(share), 1.0, 1e-12);
    EXPECT_EQ(ws.MatchClasses()[6].Count, 1);
    EXPECT_EQ(ws.MatchClasses()[0].Count, 3262623); // C(39,6)
    EXPECT_EQ(ws.Archive().Count(), 3);
    EXPECT_EQ(ws.StatusPanelText(1), "Следующий тираж: 1007");
}

TEST_F(WorkspaceTest, StartupReportsAReadErrorAndKeepsWholeDraws) {
    TDrawsArchive archive;
    for (const TDrawRec &d : MakeDraws(4))
        archive.Append(d);
    QByteArray bytes = TDrawsArchive::DrawsToBytes(archive.Draws());
    bytes.append(4, '\0'); // 100 bytes: four draws and a partial record
    ASSERT_TRUE(lot::test::WriteBytes(ws.Files().DrawsFile(), bytes));
    EXPECT_EQ(ws.Startup({}), TStartupResult::Running);
    ASSERT_EQ(host.Errors().size(), 1);
    EXPECT_TRUE(host.Errors()[0].startsWith("Ошибка чтения файла тиражей!\r\r"));
    EXPECT_EQ(ws.Archive().Count(), 4);
    EXPECT_EQ(recomputes, QList<bool>({true}));
}

TEST_F(WorkspaceTest, BatchSwitchesEndTheProgram) {
    struct Case {
        QStringList args;
        TStartupResult expected;
    };
    const Case cases[] = {
        {{}, TStartupResult::Running},
        {{"-LoadOnly"}, TStartupResult::Terminate},
        {{"fullrecreate"}, TStartupResult::Terminate},
        {{"/fullrefresh"}, TStartupResult::Terminate},
        {{"loadonly", "fullrefresh"}, TStartupResult::Terminate},
        {{"no-language"}, TStartupResult::Running},
    };
    for (const Case &c : cases) {
        QTemporaryDir other;
        TFakeHost h;
        TWorkspace w(h, other.path());
        int downloads = 0;
        w.SetDrawsDownloader([&] { return ++downloads, true; });
        EXPECT_EQ(w.Startup(c.args), c.expected) << c.args.join(' ').toStdString();
        const bool loadOnly = c.args.contains("-LoadOnly") || c.args.contains("loadonly");
        // Without a batch switch the start-up download asks first (DownloadDrawsOnStart 0).
        EXPECT_EQ(downloads, loadOnly || c.expected == TStartupResult::Running ? 1 : 0);
        EXPECT_EQ(h.Texts(TKind::Confirm).size(), c.expected == TStartupResult::Running ? 1 : 0);
    }
}

TEST_F(WorkspaceTest, StartupDownloadFollowsTheSetting) {
    for (int mode : {0, 1, 2}) {
        for (bool answer : {true, false}) {
            QTemporaryDir other;
            TFakeHost h;
            h.ConfirmAnswer = answer;
            TWorkspace w(h, other.path());
            w.Settings().SetDownloadDrawsOnStart(mode);
            int downloads = 0;
            w.SetDrawsDownloader([&] { return ++downloads, true; });
            ASSERT_EQ(w.Startup({}), TStartupResult::Running);
            if (mode == 0) {
                ASSERT_EQ(h.Texts(TKind::Confirm),
                          QStringList(
                              "Обновить список тиражей?\r\rДля выполнения обновления необходимо действующее "
                              "подключение к сети Интернет."));
                EXPECT_EQ(downloads, answer ? 1 : 0);
            } else {
                EXPECT_TRUE(h.Texts(TKind::Confirm).isEmpty());
                EXPECT_EQ(downloads, mode == 1 ? 1 : 0);
            }
        }
    }
}

TEST_F(WorkspaceTest, SecondWorkspaceOnTheSameFolderIsRefused) {
    StartWith(MakeDraws(2));
    TFakeHost h2;
    TWorkspace second(h2, dir.path());
    EXPECT_EQ(second.Startup({}), TStartupResult::DataLockFailed);
    // The data-lock message alone: a read error box before it would only
    // say the same less clearly.
    ASSERT_EQ(h2.Errors().size(), 1);
    EXPECT_EQ(h2.Errors()[0], TStakesController::DataLockMessage());
    EXPECT_TRUE(
        h2.Errors()[0].startsWith("Невозможно получить монопольный доступ к файлам данных!\r\rВозможные "
                                  "причины данной ошибки: \r\r1) Вы пытаетесь"));
    EXPECT_TRUE(h2.Errors()[0].endsWith("запись в c:\\Program Files.\r\rПрограмма будет закрыта!"));
    EXPECT_EQ(second.Archive().Count(), 0); // nothing loaded behind a refused lock

    // The first one is unaffected, and once it ends the folder is free again.
    EXPECT_TRUE(ws.Archive().AddDraw(MakeDraw(2000)));
    ws.Shutdown();
    EXPECT_FALSE(ws.Stakes().IsOpen());
    TFakeHost h3;
    TWorkspace third(h3, dir.path());
    EXPECT_EQ(third.Startup({}), TStartupResult::Running);
    EXPECT_EQ(third.Archive().Count(), 3);
}

TEST_F(WorkspaceTest, AddSavesRecomputesAndRefuses) {
    StartWith(MakeDraws(2)); // 1001, 1003
    EXPECT_EQ(ws.Archive().NewDrawTemplate().DrawNumber, 1005);
    const TDrawRec added = MakeDraw(1005, {1, 2, 3, 4, 5, 45}, {45, 1});
    ASSERT_TRUE(ws.Archive().AddDraw(added));
    EXPECT_TRUE(SameDraws(OnDisk(), ws.Archive().Draws().Draws()));
    EXPECT_EQ(ws.Archive().Count(), 3);
    EXPECT_EQ(recomputes, QList<bool>({true}));
    EXPECT_EQ(ws.StatusPanelText(0), "Архив тиражей: 3");
    EXPECT_EQ(ws.StatusPanelText(1), "Следующий тираж: 1007");

    const TDrawRec bad[] = {
        MakeDraw(1007, {1, 2, 3, 4, 5, 5}),
        MakeDraw(1007, {1, 2, 3, 4, 5, 46}),
        MakeDraw(1007, {0, 2, 3, 4, 5, 6}),
        MakeDraw(1007, {1, 2, 3, 4, 5, 6}, {7, 0}),
        MakeDraw(0),
    };
    for (const TDrawRec &d : bad) {
        host.Clear();
        EXPECT_FALSE(ws.Archive().AddDraw(d));
        EXPECT_EQ(host.Errors(), QStringList("Введена некорректная комбинация!"));
    }
    EXPECT_EQ(OnDisk().size(), 3u);
}

TEST_F(WorkspaceTest, FailedSaveLeavesMemoryLikeTheFile) {
    StartWith(MakeDraws(2));
    const TDrawsArray before = ws.Archive().Draws().Draws();
    // The draws file can no longer be replaced: its name is now a folder.
    ASSERT_TRUE(QFile::remove(ws.Files().DrawsFile()));
    ASSERT_TRUE(QDir(dir.path()).mkdir("Brantlee_6x45.ldr"));

    EXPECT_FALSE(ws.Archive().AddDraw(MakeDraw(1005)));
    ASSERT_EQ(host.Errors().size(), 1);
    EXPECT_TRUE(host.Errors()[0].startsWith("Ошибка записи в файл тиражей!\r\r"));
    EXPECT_TRUE(SameDraws(ws.Archive().Draws().Draws(), before));
    EXPECT_FALSE(ws.Archive().EditDraw(0, MakeDraw(999)));
    EXPECT_FALSE(ws.Archive().DeleteDrawsByNumbers({1001}));
    EXPECT_TRUE(SameDraws(ws.Archive().Draws().Draws(), before));
    EXPECT_TRUE(recomputes.isEmpty());
    EXPECT_EQ(ws.StatusPanelText(0), "Архив тиражей: 2");
}

TEST_F(WorkspaceTest, EditReplacesInPlace) {
    StartWith(MakeDraws(3));
    const TDrawRec edited = MakeDraw(1003, {9, 8, 7, 6, 5, 4}, {3, 2}, "6 Dec 2026");
    ASSERT_TRUE(ws.Archive().EditDraw(1, edited));
    EXPECT_TRUE(lot::test::SameRecord(ws.Archive().Draws().At(1), edited));
    EXPECT_TRUE(SameDraws(OnDisk(), ws.Archive().Draws().Draws()));
    EXPECT_EQ(recomputes, QList<bool>({true}));

    EXPECT_FALSE(ws.Archive().EditDraw(3, edited));
    EXPECT_EQ(host.Errors(), QStringList("Запись со индексом 3 в файле данных не найдена!"));
}

TEST_F(WorkspaceTest, DeleteConfirmationTexts) {
    EXPECT_EQ(TArchiveController::DeleteConfirmText(1), "Удалить выделенную запись?");
    EXPECT_EQ(TArchiveController::DeleteConfirmText(3),
              "Удалить все выделенные записи (всего будет удалено 3 записи(ей))?");
    EXPECT_EQ(TArchiveController::DeleteConfirmTitle(), "Предупреждение");
}

TEST_F(WorkspaceTest, DeleteByNumbersIsAllOrNothing) {
    StartWith(MakeDraws(6)); // 1001 .. 1011
    ASSERT_TRUE(ws.Archive().DeleteDrawsByNumbers({1011, 1005, 1001}));
    EXPECT_EQ(host.Statuses.first(), "Удаление выделенных тиражей....");
    EXPECT_EQ(host.Statuses.last(), "");
    EXPECT_EQ(busy, QList<bool>({true, false}));
    EXPECT_EQ(host.BusyCount(), 0);
    ASSERT_EQ(ws.Archive().Count(), 3);
    EXPECT_EQ(ws.Archive().Draws().At(0).DrawNumber, 1003);
    EXPECT_EQ(ws.Archive().Draws().At(2).DrawNumber, 1009);
    EXPECT_TRUE(SameDraws(OnDisk(), ws.Archive().Draws().Draws()));
    EXPECT_EQ(recomputes, QList<bool>({true}));

    // One missing number: nothing is removed, in memory or on disk.
    host.Clear();
    recomputes.clear();
    EXPECT_FALSE(ws.Archive().DeleteDrawsByNumbers({1009, 4242, 1003}));
    EXPECT_EQ(host.Errors(), QStringList("Запись со индексом -1 в файле данных не найдена!"));
    EXPECT_EQ(ws.Archive().Count(), 3);
    EXPECT_TRUE(SameDraws(OnDisk(), ws.Archive().Draws().Draws()));
    EXPECT_TRUE(recomputes.isEmpty());
    EXPECT_EQ(host.BusyCount(), 0);
}

TEST_F(WorkspaceTest, OffsetDrivesPanelsAndClampsToTheArchive) {
    StartWith(MakeDraws(10)); // position p: number 1019 - 2p
    ws.Archive().ChangeOffset(3);
    EXPECT_EQ(offsets, QList<int>({3}));
    EXPECT_EQ(recomputes, QList<bool>({false}));
    EXPECT_EQ(ws.StatusPanelText(1), "Следующий тираж: 1015"); // draw at position 3 (1013) + 2
    const TComb hidden = ws.Archive().Draws().DrawNumbersAt(2);
    QStringList numbers;
    for (int i = 0; i < CombSize; ++i)
        numbers << QString::number(hidden[i]);
    EXPECT_EQ(ws.StatusPanelText(2), numbers.join(';'));
    EXPECT_EQ(ws.Archive().NextDrawSet().size(), 6);
    // Manual add still proposes the number after the real newest draw.
    EXPECT_EQ(ws.Archive().NewDrawTemplate().DrawNumber, 1021);

    ws.Archive().ChangeOffset(3); // unchanged: nothing happens
    EXPECT_EQ(offsets.size(), 1);
    EXPECT_EQ(recomputes.size(), 1);

    ws.Archive().ChangeOffset(50);
    EXPECT_EQ(ws.Archive().Offset(), 9);
    ws.Archive().ChangeOffset(-4);
    EXPECT_EQ(ws.Archive().Offset(), 0);
    EXPECT_EQ(ws.StatusPanelText(2), "");

    // Deleting the hidden draws pulls the offset back inside the archive.
    ws.Archive().ChangeOffset(9);
    ASSERT_TRUE(ws.Archive().DeleteDrawsByNumbers({1019, 1017, 1015, 1013, 1011, 1009}));
    EXPECT_EQ(ws.Archive().Offset(), 3);
    EXPECT_EQ(offsets.last(), 3);
}

TEST_F(WorkspaceTest, FrozenViewsAreNotRecomputed) {
    StartWith(MakeDraws(2));
    ws.SetViewsFrozen(true);
    ASSERT_TRUE(ws.Archive().AddDraw(MakeDraw(1005)));
    ws.RecomputeAll(true);
    EXPECT_TRUE(recomputes.isEmpty());
    ws.SetViewsFrozen(false);
    ws.RecomputeAll(false);
    EXPECT_EQ(recomputes, QList<bool>({false}));
}

TEST_F(WorkspaceTest, ImportAddsSavesAndDoesNotRecompute) {
    StartWith(MakeDraws(1)); // 1001
    const QString csv = dir.filePath("in.csv");
    ASSERT_TRUE(lot::test::WriteBytes(csv, "1001;\"1 Jan 2026\";1;2;3;4;5;6;7;8\r\n"
                                           "1003;\"3 Jan 2026\";1;2;3;4;5;7;7;8\r\n"
                                           "5 Dec 2026;3;11;17;25;40;44;7;29\r\n"
                                           "\"5 Dec 2026\";3;11;17;25;40;44;7;29\r\n"));
    TCsvImportResult result;
    ASSERT_TRUE(ws.Archive().ImportDrawsCsv(csv, &result));
    EXPECT_EQ(result.Added, 2);
    EXPECT_EQ(result.Duplicates, 1);
    EXPECT_EQ(result.Skipped, 1);
    EXPECT_EQ(host.Statuses.first(), "Импорт тиражей из файла \"" + csv + "\"...");
    EXPECT_EQ(ws.Archive().Count(), 3);
    EXPECT_EQ(ws.Archive().Draws().At(2).DrawNumber, 3); // nine fields: count + 1
    EXPECT_TRUE(SameDraws(OnDisk(), ws.Archive().Draws().Draws()));
    EXPECT_TRUE(recomputes.isEmpty());
    EXPECT_TRUE(drawsChanged.contains(true));

    host.Clear();
    EXPECT_FALSE(ws.Archive().ImportDrawsCsv(dir.filePath("missing.csv")));
    EXPECT_EQ(host.Errors().size(), 1);
    EXPECT_EQ(ws.Archive().Count(), 3);
}

TEST_F(WorkspaceTest, ExportRoundTripsThroughImport) {
    StartWith(MakeDraws(5));
    const QString csv = dir.filePath("out.csv");
    ASSERT_TRUE(ws.Archive().ExportDrawsCsv(csv));
    EXPECT_EQ(host.Statuses.first(), "Экспорт тиражей в файл \"" + csv + "\"...");
    EXPECT_EQ(lot::test::ReadBytes(csv), DrawsToCsvBytes(ws.Archive().Draws().Draws()));

    QTemporaryDir other;
    TFakeHost h;
    TWorkspace w(h, other.path());
    ASSERT_EQ(w.Startup({}), TStartupResult::Running);
    ASSERT_TRUE(w.Archive().ImportDrawsCsv(csv));
    EXPECT_TRUE(SameDraws(w.Archive().Draws().Draws(), ws.Archive().Draws().Draws()));
}

TEST_F(WorkspaceTest, ViewSwitchesAreStoredAtOnce) {
    ASSERT_TRUE(ws.LoadWindowSettings());
    StartWith(MakeDraws(2));
    ws.Archive().SetSortedDraws(true);
    EXPECT_TRUE(ws.Archive().SortedDraws());
    EXPECT_TRUE(TIniFile(ws.Files().FrmFile()).ReadBool("TFormMain", "SortedDraws", false));
    EXPECT_EQ(recomputes, QList<bool>({true}));
    ws.Archive().SetColorDraws(false);
    EXPECT_FALSE(TIniFile(ws.Files().FrmFile()).ReadBool("TFormMain", "ColorDraws", true));
    EXPECT_EQ(recomputes.size(), 1);
    EXPECT_FALSE(drawsChanged.isEmpty());

    // The next start picks them up.
    ws.Shutdown();
    TFakeHost h;
    TWorkspace w(h, dir.path());
    ASSERT_TRUE(w.LoadWindowSettings());
    EXPECT_TRUE(w.Archive().SortedDraws());
    EXPECT_FALSE(w.Archive().ColorDraws());
}

TEST_F(WorkspaceTest, WindowSettingsFirstStartAndShutdown) {
    ASSERT_TRUE(ws.LoadWindowSettings());
    EXPECT_TRUE(TIniFile(ws.Files().FrmFile()).ReadBool("TFormMain", "PrefetchsInit", false));
    EXPECT_EQ(TIniFile(ws.Files().FrmFile()).ReadString("TFormMain", "PrefetchsEnabled"), "0");
    StartWith(MakeDraws(2));
    ws.Settings().SetLeftPanelWidth(512);
    ws.Shutdown();
    EXPECT_EQ(TIniFile(ws.Files().FrmFile()).ReadInteger("TFormMain", "LeftPanelWidth", 0), 512);
    EXPECT_EQ(ws.Archive().Count(), 0);
    EXPECT_EQ(host.Statuses.first(), "Сохранение файла ставок...");
    EXPECT_TRUE(host.Errors().isEmpty());
}

TEST_F(WorkspaceTest, UnreadableWindowSettingsAreReportedAndStartGoesOn) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("Brantlee_6x45.frm"));
    EXPECT_FALSE(ws.LoadWindowSettings());
    ASSERT_EQ(host.Errors().size(), 1);
    EXPECT_TRUE(host.Errors()[0].startsWith("Ошибка загрузки параметров программы!\r\r"));
    EXPECT_TRUE(ws.Archive().ColorDraws());
    EXPECT_EQ(ws.Startup({}), TStartupResult::Running);
}

TEST_F(WorkspaceTest, ReplaceDrawsWritesTheWholeArchive) {
    StartWith(MakeDraws(2));
    const TDrawsArray draws = MakeDraws(7, 5001);
    ASSERT_TRUE(ws.Archive().ReplaceDraws(draws));
    EXPECT_TRUE(SameDraws(OnDisk(), draws));
    EXPECT_EQ(ws.StatusPanelText(0), "Архив тиражей: 7");
}
