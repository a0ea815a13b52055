// The main window on a temporary data folder: structure, status bar, the
// archive tab and its actions, window settings and the data lock.

#include "GuiTestUtil.h"

#include "archive/DrawsCsv.h"
#include "gui/archive/DrawsModel.h"
#include "gui/archive/DrawsPage.h"
#include "gui/archive/FormDraw.h"
#include "gui/archive/FormDrawInfo.h"
#include "gui/combs/CombsModel.h"
#include "gui/combs/CombsPage.h"
#include "gui/shell/ActionList.h"
#include "gui/shell/FormConfig.h"
#include "gui/shell/FormFirstRun.h"
#include "gui/shell/FormMain.h"
#include "gui/stats/StatsPage.h"
#include "stats/StatTable.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <QAction>
#include <QBrush>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace lot {
namespace {

using guitest::TMessageRecorder;
using guitest::WhenModal;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        guitest::EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
    }
    QString Path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    void WriteDraws(const TDrawsArray &draws) {
        TDrawsArchive archive;
        for (const TDrawRec &d : draws)
            archive.Append(d);
        archive.SaveDrawsFile(Path("Brantlee_6x45.ldr"));
    }
    void WriteFrm(const QByteArray &text) {
        QFile f(Path("Brantlee_6x45.frm"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QByteArray ReadFrm() const {
        QFile f(Path("Brantlee_6x45.frm"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    /// A started window on the folder; messages go to the recorder.
    std::unique_ptr<TFormMain> Open(TMessageRecorder &rec, const QStringList &args = {}) {
        auto w = std::make_unique<TFormMain>(m_dir.path(), args);
        rec.Attach(w->Host());
        w->show();
        EXPECT_EQ(w->RunStartup(), TStartupResult::Running);
        return w;
    }
    static QAction *Action(TFormMain &w, const char *name) { return w.Actions().Find(QLatin1String(name)); }
    static void Select(TFormMain &w, std::initializer_list<int> rows) {
        QTableView *list = w.DrawsPage()->List();
        list->clearSelection();
        for (int row : rows)
            list->selectionModel()->select(list->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    static TDrawsArray ReadDrawsFile(const QString &path) {
        TDrawsArchive a;
        a.LoadDrawsFile(path);
        return a.Draws();
    }

    QTemporaryDir m_dir;
};

TEST_F(MainWindowTest, PageControlsMenusAndStatusBar) {
    WriteDraws(guitest::TenDraws());
    TMessageRecorder rec;
    auto w = Open(rec);
    EXPECT_TRUE(rec.Messages.isEmpty()) << rec.Texts().join('|').toStdString();

    QTabWidget *lists = w->ListsTabs();
    ASSERT_EQ(lists->count(), 2);
    EXPECT_EQ(lists->objectName(), QStringLiteral("pcLists"));
    EXPECT_EQ(lists->tabText(0), QStringLiteral("Архив тиражей"));
    EXPECT_EQ(lists->tabText(1), QStringLiteral("Комбинации"));

    QTabWidget *tabs = w->MainTabs();
    const struct {
        const char *name, *caption;
        bool visible;
    } expected[] = {
        {"tsDrawsStat", "Статистика", true}, {"tsDrawsGraph", "Графики", true},
        {"tsCard", "Карта", true},           {"tsLayout", "Схема", true},
        {"tsWeek", "Неделя", false},         {"tsStakes", "Ставки", true},
        {"tsRating", "Рейтинг", true},       {"tsTables", "Регуляры", true},
        {"tsSystems", "Системы", true},      {"tsScript", "Сценарий", true},
    };
    ASSERT_EQ(tabs->count(), int(std::size(expected)));
    for (int i = 0; i < tabs->count(); ++i) {
        EXPECT_EQ(tabs->widget(i)->objectName(), QLatin1String(expected[i].name));
        EXPECT_EQ(tabs->tabText(i), QString::fromUtf8(expected[i].caption));
        EXPECT_EQ(tabs->isTabVisible(i), expected[i].visible) << expected[i].name;
    }

    QStringList menus;
    for (QAction *a : w->menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, QStringList({"Файл", "Архив тиражей", "Комбинации", "Статистика", "Ставки", "Рейтинг",
                                  "Регуляры", "Системы", "Сценарий", "Вид", "Справка"}));

    const int widths[] = {150, 180, 130, 150, 120, 125};
    const QStringList texts = {
        "Архив тиражей: 10", "Следующий тираж: 4021", "", "Комбинаций: 8145060", "Ставок: 0", "Рейтинг: 0"};
    for (int i = 0; i < 6; ++i) {
        QLabel *panel = w->StatusPanel(i);
        ASSERT_NE(panel, nullptr);
        EXPECT_GE(panel->width(), widths[i]) << i;
        EXPECT_EQ(panel->text(), texts[i]) << i;
    }
    EXPECT_EQ(w->StatusPanel(2)->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    ASSERT_NE(w->StatusPanel(6), nullptr);
    EXPECT_EQ(w->StatusPanel(7), nullptr);
    EXPECT_GT(w->StatusPanel(6)->width(), 0);
    w->Host().ShowStatus(QStringLiteral("Работаем..."));
    EXPECT_EQ(w->StatusPanel(6)->text(), QStringLiteral("Работаем..."));
}

TEST_F(MainWindowTest, ActionsCarryNamesCaptionsShortcutsAndCategories) {
    TMessageRecorder rec;
    auto w = Open(rec);
    const struct {
        const char *name, *caption, *category, *shortcut;
    } expected[] = {
        {"DrawsDownload", "Загрузка", "Архив тиражей", "F3"},
        {"DrawsAdd", "Добавить", "Архив тиражей", ""},
        {"DrawsEdit", "Изменить", "Архив тиражей", ""},
        {"DrawsDel", "Удалить", "Архив тиражей", ""},
        {"DrawsImport", "Импорт из CSV-файла", "Архив тиражей", ""},
        {"DrawsExport", "Экспорт в CSV-файл", "Архив тиражей", ""},
        {"DrawsXlsExport", "Экспорт в Microsoft Excel", "Архив тиражей", ""},
        {"DrawsInfo", "Сведения о тираже", "Архив тиражей", ""},
        {"DrawsSorted", "Упорядочить MIN->MAX", "Архив тиражей", ""},
        {"ViewColorDraws", "Выделять каналы в списке тиражей", "Вид", ""},
        {"AutoDownload0", "По запросу (по умолчанию)", "Архив тиражей", ""},
        {"AutoDownload1", "Автоматически", "Архив тиражей", ""},
        {"AutoDownload2", "Отключено", "Архив тиражей", ""},
        {"EditConfig", "Параметры", "Файл", ""},
        {"EditShredding", "Формулы шинковки", "Файл", ""},
        {"EditProxy", "Параметры proxy-сервера", "Файл", ""},
        {"ExitProgram", "Выход", "Файл", "Alt+F4"},
        {"AutoUpdate", "Автоматическое обновление", "Автообновление", ""},
    };
    for (const auto &e : expected) {
        QAction *a = Action(*w, e.name);
        ASSERT_NE(a, nullptr) << e.name;
        EXPECT_EQ(a->text(), QString::fromUtf8(e.caption)) << e.name;
        EXPECT_EQ(TActionList::Category(a), QString::fromUtf8(e.category)) << e.name;
        EXPECT_EQ(a->shortcut().toString(), QLatin1String(e.shortcut)) << e.name;
    }
    EXPECT_TRUE(Action(*w, "ViewColorDraws")->isChecked());
    EXPECT_FALSE(Action(*w, "DrawsSorted")->isChecked());
    EXPECT_TRUE(Action(*w, "AutoUpdate")->isChecked());
    // Empty archive: nothing to export, nothing to select.
    EXPECT_TRUE(Action(*w, "DrawsAdd")->isEnabled());
    EXPECT_TRUE(Action(*w, "DrawsImport")->isEnabled());
    EXPECT_FALSE(Action(*w, "DrawsExport")->isEnabled());
    EXPECT_FALSE(Action(*w, "DrawsEdit")->isEnabled());
    EXPECT_TRUE(Action(*w, "DrawsDownload")->isEnabled());
    EXPECT_EQ(Action(*w, "DrawsDownload")->statusTip(),
              QStringLiteral("Загрузка архива тиражей с сайта лотереи"));
    EXPECT_EQ(w->StatusPanel(0)->text(), QStringLiteral("Архив тиражей: 0"));
    EXPECT_EQ(w->StatusPanel(1)->text(), QStringLiteral("Следующий тираж: 1"));
}

TEST_F(MainWindowTest, SelectionAndBusyStateDriveTheEnabledTests) {
    WriteDraws(guitest::TenDraws());
    TMessageRecorder rec;
    auto w = Open(rec);
    const char *selectionActions[] = {"DrawsEdit", "DrawsDel", "DrawsInfo"};
    for (const char *name : selectionActions)
        EXPECT_FALSE(Action(*w, name)->isEnabled()) << name;
    Select(*w, {1});
    for (const char *name : selectionActions)
        EXPECT_TRUE(Action(*w, name)->isEnabled()) << name;

    w->Host().BeginBusy();
    for (QAction *a : w->Actions().Actions())
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_FALSE(w->DrawsPage()->OffsetEdit()->isEnabled());
    // A shortcut that still arrives does nothing while busy.
    Action(*w, "DrawsDel")->trigger();
    EXPECT_TRUE(rec.Messages.isEmpty());
    w->Host().EndBusy();
    EXPECT_TRUE(Action(*w, "DrawsDel")->isEnabled());
    EXPECT_TRUE(w->DrawsPage()->OffsetEdit()->isEnabled());
}

TEST_F(MainWindowTest, OffsetPaintsItsRowAndFillsTheStatusPanels) {
    WriteDraws(guitest::TenDraws());
    TMessageRecorder rec;
    auto w = Open(rec);
    QTableView *list = w->DrawsPage()->List();
    ASSERT_EQ(list->model()->rowCount(), 10);
    QSpinBox *offset = w->DrawsPage()->OffsetEdit();
    EXPECT_EQ(offset->maximum(), 9);
    offset->setValue(3);
    EXPECT_EQ(w->Workspace().Archive().Offset(), 3);

    const QVariant bg = list->model()->index(3, TDrawsModel::colNumber).data(Qt::BackgroundRole);
    EXPECT_EQ(bg.value<QBrush>().color().rgb(), qRgb(0xFF, 0xAA, 0xAA));
    // Row 3 is draw 4013; the first hidden draw (row 2) is k = 7.
    EXPECT_EQ(w->StatusPanel(1)->text(), QStringLiteral("Следующий тираж: 4015"));
    EXPECT_EQ(w->StatusPanel(2)->text(), QStringLiteral("38;8;28;18;9;37"));
    offset->setValue(50);
    EXPECT_EQ(w->Workspace().Archive().Offset(), 9);
    offset->setValue(0);
    EXPECT_EQ(w->StatusPanel(2)->text(), QString());
}

TEST_F(MainWindowTest, DeleteAsksAndRemovesTheSelectedDraws) {
    WriteDraws(guitest::TenDraws());
    TMessageRecorder rec;
    auto w = Open(rec);
    Select(*w, {0, 2});
    rec.Answer = false;
    Action(*w, "DrawsDel")->trigger();
    ASSERT_EQ(rec.Messages.size(), 1);
    EXPECT_EQ(rec.Messages[0].Kind, TMessageKind::Confirmation);
    EXPECT_EQ(rec.Messages[0].Title, QStringLiteral("Предупреждение"));
    EXPECT_EQ(rec.Messages[0].Text,
              QStringLiteral("Удалить все выделенные записи (всего будет удалено 2 записи(ей))?"));
    EXPECT_EQ(w->Workspace().Archive().Count(), 10);

    rec.Messages.clear();
    rec.Answer = true;
    Action(*w, "DrawsDel")->trigger();
    EXPECT_EQ(w->Workspace().Archive().Count(), 8);
    EXPECT_EQ(w->DrawsPage()->List()->model()->rowCount(), 8);
    EXPECT_EQ(w->StatusPanel(0)->text(), QStringLiteral("Архив тиражей: 8"));
    const TDrawsArray onDisk = ReadDrawsFile(Path("Brantlee_6x45.ldr"));
    ASSERT_EQ(onDisk.size(), 8u);
    EXPECT_EQ(onDisk.back().DrawNumber, 4017);
    EXPECT_EQ(onDisk[7].DrawNumber, 4017);
    EXPECT_EQ(onDisk[6].DrawNumber, 4013);
    EXPECT_TRUE(w->DrawsPage()->SelectedRows().isEmpty());
    EXPECT_FALSE(Action(*w, "DrawsDel")->isEnabled());

    Select(*w, {4});
    rec.Messages.clear();
    Action(*w, "DrawsDel")->trigger();
    ASSERT_EQ(rec.Messages.size(), 1);
    EXPECT_EQ(rec.Messages[0].Text, QStringLiteral("Удалить выделенную запись?"));
    EXPECT_EQ(w->Workspace().Archive().Count(), 7);
}

TEST_F(MainWindowTest, AddProposesTheNextNumberAndAppends) {
    WriteDraws(guitest::TenDraws());
    TMessageRecorder rec;
    auto w = Open(rec);
    int proposed = 0;
    QString title;
    const auto watch = WhenModal<TFormDraw>([&](TFormDraw *form) {
        proposed = form->DrawNumberEdit()->value();
        title = form->windowTitle();
        form->DrawDataEdit()->setText(QStringLiteral("3;11;17;25;40;44;7;29"));
        form->accept();
    });
    Action(*w, "DrawsAdd")->trigger();
    EXPECT_EQ(proposed, 4021);
    EXPECT_EQ(title, QStringLiteral("Данные тиража"));
    ASSERT_EQ(w->Workspace().Archive().Count(), 11);
    EXPECT_EQ(w->Workspace().Archive().Draws().At(10).DrawNumber, 4021);
    EXPECT_EQ(ReadDrawsFile(Path("Brantlee_6x45.ldr")).size(), 11u);
    EXPECT_EQ(w->StatusPanel(1)->text(), QStringLiteral("Следующий тираж: 4023"));
    EXPECT_TRUE(rec.Messages.isEmpty());
}

TEST_F(MainWindowTest, DoubleClickOpensTheDetailWindowInTheSortedView) {
    WriteDraws(guitest::TenDraws());
    TMessageRecorder rec;
    auto w = Open(rec);
    Action(*w, "DrawsSorted")->trigger();
    EXPECT_TRUE(Action(*w, "DrawsSorted")->isChecked());
    EXPECT_TRUE(w->Workspace().Settings().SortedDraws());
    QTableView *list = w->DrawsPage()->List();
    EXPECT_EQ(list->model()->index(0, TDrawsModel::colFirst).data().toInt(), 10);

    Select(*w, {0});
    list->setCurrentIndex(list->model()->index(0, 0));
    const QRect cell = list->visualRect(list->model()->index(0, 2));
    QWindow *window = w->windowHandle();
    ASSERT_NE(window, nullptr);
    QTest::mouseDClick(window, Qt::LeftButton, {}, list->viewport()->mapTo(w.get(), cell.center()));
    TFormDrawInfo *info = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *f = qobject_cast<TFormDrawInfo *>(top); f && f->isVisible()) info = f;
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->NumbersText(), QStringLiteral("10;11;20;30;35;40"));
    // The graph values of the draw itself, sorted as the list shows it.
    QStringList values;
    for (int r = 0; r < info->Values()->rowCount(); ++r)
        values << info->Values()->item(r, 1)->text();
    // EVEN SMAL PRIM; SUMS SUM1..3 SUMC (from 142) SUMT SUME SUMP S2T3 (10+20, 10+30);
    // DIFM DIFD DIFK; CHNC COLN ROWN COLC (30, 35, 40 in column 5) ROWC; SGMC, SEQS and
    // LENS (10 11); POS1..6 POE1..2; CHN1..9, COL1..5, ROW1..9 with channels of 5 and a
    // matrix of 5 columns; SGM1 (one segment); HCO1 and HCO2 (1,9,10,5,5 ... 3,1: 2);
    // SHR1..3 with the default formulas: 41/105, 105/41, 65/81.
    EXPECT_EQ(values, QStringList({"4",  "3",  "1",  "146", "1",  "1", "1",  "4", "1", "100", "11", "2",
                                   "10", "30", "2",  "6",   "2",  "6", "1",  "0", "1", "1",   "2",  "10",
                                   "11", "20", "30", "35",  "40", "7", "29", "0", "1", "1",   "1",  "0",
                                   "1",  "1",  "1",  "0",   "1",  "0", "0",  "0", "5", "0",   "1",  "1",
                                   "1",  "0",  "1",  "1",   "1",  "0", "6",  "2", "2", "39",  "56", "80"}));
    info->close();
}

TEST_F(MainWindowTest, ExportThenImportReproducesTheArchive) {
    WriteDraws(guitest::TenDraws());
    const QString csv = Path("draws.csv");
    {
        TMessageRecorder rec;
        auto w = Open(rec);
        QString filter;
        w->Host().SetFileInterceptor([&](bool save, const QString &f) {
            EXPECT_TRUE(save);
            filter = f;
            return csv;
        });
        Action(*w, "DrawsExport")->trigger();
        EXPECT_EQ(filter, QStringLiteral("Файлы тиражей (*.csv)"));
        EXPECT_TRUE(rec.Messages.isEmpty());
    }
    QTemporaryDir other;
    TMessageRecorder rec;
    auto w = std::make_unique<TFormMain>(other.path(), QStringList());
    rec.Attach(w->Host());
    w->RunStartup();
    w->Host().SetFileInterceptor([&](bool save, const QString &) {
        EXPECT_FALSE(save);
        return csv;
    });
    Action(*w, "DrawsImport")->trigger();
    Action(*w, "DrawsImport")->trigger(); // nothing new the second time
    const TDrawsArray expected = guitest::TenDraws();
    const TDrawsArray &got = w->Workspace().Archive().Draws().Draws();
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].DrawNumber, expected[i].DrawNumber);
        EXPECT_EQ(DrawValuesText(got[i]), DrawValuesText(expected[i]));
        EXPECT_EQ(DrawDateText(got[i]), DrawDateText(expected[i]));
    }
    EXPECT_EQ(w->DrawsPage()->List()->model()->rowCount(), 10);
    EXPECT_TRUE(rec.Messages.isEmpty()) << rec.Texts().join('|').toStdString();
}

TEST_F(MainWindowTest, WindowSettingsAreReadAndWritten) {
    WriteDraws(guitest::TenDraws());
    WriteFrm("[TFormMain]\r\nSystemsEnabled=0\r\nTabGraphs=0\r\nColorDraws=0\r\nLeftPanelWidth=400\r\n"
             "lvDraws.Column0=77\r\nNormPos=10,20,1410,920\r\n");
    {
        TMessageRecorder rec;
        auto w = Open(rec);
        QTabWidget *tabs = w->MainTabs();
        auto visible = [&](const char *name) {
            for (int i = 0; i < tabs->count(); ++i)
                if (tabs->widget(i)->objectName() == QLatin1String(name)) return tabs->isTabVisible(i);
            return false;
        };
        EXPECT_FALSE(visible("tsSystems"));
        EXPECT_FALSE(visible("tsDrawsGraph"));
        EXPECT_FALSE(w->Menu(QStringLiteral("mnSystems"))->menuAction()->isVisible());
        EXPECT_FALSE(Action(*w, "ViewColorDraws")->isChecked());
        EXPECT_EQ(w->DrawsPage()->List()->columnWidth(0), 77);
        EXPECT_EQ(w->geometry(), QRect(10, 20, 1400, 900));
        EXPECT_EQ(w->ListsTabs()->width(), 400);

        // Switches reach the file at once.
        Action(*w, "TabGraphs")->trigger();
        EXPECT_TRUE(visible("tsDrawsGraph"));
        EXPECT_TRUE(ReadFrm().contains("TabGraphs=1"));
        Action(*w, "SystemsOn")->trigger();
        EXPECT_TRUE(visible("tsSystems"));
        EXPECT_EQ(tabs->currentWidget()->objectName(), QStringLiteral("tsSystems"));
        EXPECT_TRUE(ReadFrm().contains("SystemsEnabled=1"));
        // The week tab never shows, but its switch is stored.
        Action(*w, "TabWeek")->trigger();
        EXPECT_FALSE(visible("tsWeek"));
        EXPECT_TRUE(ReadFrm().contains("TabWeek=0"));

        w->DrawsPage()->List()->setColumnWidth(1, 33);
        EXPECT_FALSE(ReadFrm().contains("lvDraws.Column1=33"));
    }
    // Sizes are written when the window goes.
    const QByteArray frm = ReadFrm();
    EXPECT_TRUE(frm.contains("lvDraws.Column1=33")) << frm.toStdString();
    EXPECT_TRUE(frm.contains("LeftPanelWidth=400")) << frm.toStdString();
    EXPECT_TRUE(frm.contains("NormPos=10,20,1410,920")) << frm.toStdString();
    EXPECT_TRUE(frm.contains("PrefetchsInit=1")) << frm.toStdString();
}

TEST_F(MainWindowTest, FirstRunDialogCanSwitchItselfOff) {
    WriteFrm("[TFormMain]\r\nFirstRun=1\r\n");
    bool shown = false;
    auto answer = [&](bool dontShowAgain) {
        return WhenModal<TFormFirstRun>([&, dontShowAgain](TFormFirstRun *form) {
            shown = true;
            EXPECT_EQ(form->windowTitle(), QStringLiteral("Справочная информация"));
            EXPECT_FALSE(form->HelpButton()->isEnabled()) << "no help file beside the tests";
            form->DontShowCheck()->setChecked(dontShowAgain);
            form->accept();
        });
    };
    {
        TMessageRecorder rec;
        const auto watch = answer(false);
        auto w = Open(rec);
        EXPECT_TRUE(shown);
        EXPECT_TRUE(w->Workspace().Settings().FirstRun());
    }
    shown = false;
    {
        TMessageRecorder rec;
        const auto watch = answer(true);
        auto w = Open(rec);
        EXPECT_TRUE(shown);
        EXPECT_TRUE(ReadFrm().contains("FirstRun=0")) << "written at once";
    }
    shown = false;
    // Had the dialog opened again, this would close it and tell.
    const auto watch = WhenModal<TFormFirstRun>([&](TFormFirstRun *form) {
        shown = true;
        form->accept();
    });
    TMessageRecorder rec;
    auto w = Open(rec);
    EXPECT_FALSE(shown);
}

TEST_F(MainWindowTest, SecondCopyOnTheSameFolderIsTurnedAway) {
    WriteDraws(guitest::TenDraws());
    TMessageRecorder rec1;
    auto first = Open(rec1);
    const QByteArray frmBefore = ReadFrm();
    {
        TMessageRecorder rec2;
        TFormMain second(m_dir.path(), {});
        rec2.Attach(second.Host());
        EXPECT_EQ(second.RunStartup(), TStartupResult::DataLockFailed);
        ASSERT_FALSE(rec2.Messages.isEmpty());
        EXPECT_EQ(rec2.Messages.last().Kind, TMessageKind::Error);
        EXPECT_EQ(rec2.Messages.last().Text, TStakesController::DataLockMessage());
        second.DrawsPage()->List()->setColumnWidth(0, 99);
    }
    EXPECT_EQ(ReadFrm(), frmBefore) << "the turned-away copy left the settings alone";
    EXPECT_TRUE(first->Workspace().Stakes().IsOpen());
    EXPECT_TRUE(rec1.Messages.isEmpty());
}

TEST_F(MainWindowTest, NewChannelSizeRecoloursTheListsAndTheOpenDetailWindows) {
    WriteDraws(guitest::TenDraws());
    TMessageRecorder rec;
    auto w = Open(rec);
    Select(*w, {0});
    Action(*w, "DrawsInfo")->trigger();
    QTableView *combsList = w->CombsPage()->List();
    combsList->selectionModel()->select(combsList->model()->index(0, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    Action(*w, "CombsInfo")->trigger();
    auto openWindow = [](const char *name) -> TFormDrawInfo * {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *f = qobject_cast<TFormDrawInfo *>(top);
                f && f->isVisible() && f->objectName() == QLatin1String(name))
                return f;
        return nullptr;
    };
    TFormDrawInfo *drawInfo = openWindow("TFormDrawInfo");
    TFormDrawInfo *combInfo = openWindow("TFormCombInfo");
    ASSERT_NE(drawInfo, nullptr);
    ASSERT_NE(combInfo, nullptr);

    const int before = w->GameSettings().ChannelSize;
    const int after = 3;
    ASSERT_NE(before, after);
    TConfigData config = w->GameSettings();
    config.ChannelSize = after;
    // What OK in the settings dialog runs, without prefetch groups: rebuilding
    // the full-set files is slow and none of this test's business.
    w->ApplyGameSettings(config, {});
    EXPECT_EQ(w->GameSettings().ChannelSize, after);

    auto rgb = [](const QBrush &brush) { return brush.color().rgb(); };
    auto expected = [](int n, int size) { return QColor::fromRgb(GroupColourRgb(n, size)).rgb(); };
    int differs = 0; // cells whose colour the change must show
    const struct {
        const char *what;
        const QAbstractItemModel *model;
        int firstColumn;
    } lists[] = {{"draws", w->DrawsPage()->Model(), TDrawsModel::colFirst},
                 {"combs", w->CombsPage()->Model(), TCombsModel::colFirst}};
    for (const auto &list : lists) {
        for (int c = 0; c < CombSize; ++c) {
            const QModelIndex cell = list.model->index(0, list.firstColumn + c);
            const int n = cell.data().toInt();
            EXPECT_EQ(rgb(cell.data(Qt::BackgroundRole).value<QBrush>()), expected(n, after))
                << list.what << " number " << n;
            differs += expected(n, after) != expected(n, before);
        }
    }
    for (TFormDrawInfo *info : {drawInfo, combInfo}) {
        const int cols = info->ColumnsEdit()->value();
        for (const QString &text : info->NumbersText().split(QLatin1Char(';'))) {
            const int n = text.toInt();
            const QTableWidgetItem *item =
                info->Matrix()->item(MatrixRow(n, cols) - 1, MatrixColumn(n, cols) - 1);
            ASSERT_NE(item, nullptr) << n;
            EXPECT_EQ(rgb(item->background()), expected(n, after))
                << info->objectName().toStdString() << " number " << n;
            differs += expected(n, after) != expected(n, before);
        }
        info->close();
    }
    EXPECT_GT(differs, 0) << "the numbers shown must tell the two channel sizes apart";
    EXPECT_TRUE(rec.Messages.isEmpty()) << rec.Texts().join('|').toStdString();
}

TEST_F(MainWindowTest, SettingsDialogRegistersTheChannelAndMatrixMethodsAnew) {
    WriteDraws(guitest::TenDraws());
    TMessageRecorder rec;
    auto w = Open(rec);
    ASSERT_FALSE(w->Workspace().Stats().PrefetchsEnabled()) << "no full-set files in this test";
    TStatsPage *page = w->StatsPage();
    const auto selectorTexts = [page] {
        QStringList texts;
        for (int i = 0; i < page->MethodSelector()->count(); ++i)
            texts << page->MethodSelector()->itemText(i);
        return texts;
    };
    ASSERT_TRUE(selectorTexts().contains(QStringLiteral("{ grp } Количество чисел в 9 канале [ NG ]")));

    QList<int> groups;
    const auto dialog = WhenModal<TFormConfig>([&groups](TFormConfig *form) {
        form->findChild<QSpinBox *>(QStringLiteral("edChannelSize"))->setValue(7);
        form->findChild<QSpinBox *>(QStringLiteral("edMatrixCol"))->setValue(7);
        groups = form->ChangedGroups();
        form->accept();
    });
    Action(*w, "EditConfig")->trigger();
    EXPECT_EQ(groups, (QList<int>{4, 3})) << "the matrix and the channel files are to be rebuilt";
    const TStatList &registry = w->Workspace().Stats().Registry();
    EXPECT_EQ(registry.ChannelSize(), 7);
    EXPECT_EQ(registry.MatrixCols(), 7);
    EXPECT_GE(registry.FindEntry(QStringLiteral("CHN7")), 0);
    EXPECT_LT(registry.FindEntry(QStringLiteral("CHN8")), 0);
    EXPECT_GE(registry.FindEntry(QStringLiteral("COL7")), 0);
    EXPECT_LT(registry.FindEntry(QStringLiteral("ROW8")), 0);

    // The selector is filled anew: seven channels, seven columns and rows.
    const QStringList texts = selectorTexts();
    EXPECT_TRUE(texts.contains(QStringLiteral("{ grp } Количество чисел в 7 канале [ NG ]")));
    EXPECT_FALSE(texts.contains(QStringLiteral("{ grp } Количество чисел в 8 канале [ NG ]")));
    EXPECT_TRUE(texts.contains(QStringLiteral("{ mtx } Количество чисел в 7 столбце матрицы [ NG ]")));
    EXPECT_FALSE(texts.contains(QStringLiteral("{ mtx } Количество чисел в 8 строке матрицы [ NG ]")));

    // A new member's table: channel 7 is 43..49, which only 44 (#4001) and 43 (#4003) reach.
    const int index = page->Table().SelectorIndexOfEntry(registry.FindEntry(QStringLiteral("CHN7")));
    ASSERT_GE(index, 0);
    page->MethodSelector()->setCurrentIndex(index);
    const TStatTable &table = page->Table();
    QStringList counts;
    for (int r = 0; r < table.RowCount(); ++r)
        if (table.Cell(r, scCount) != QLatin1String("0"))
            counts << table.Cell(r, scValue) + "=" + table.Cell(r, scCount);
    EXPECT_EQ(counts, QStringList({"1=2", "0=8"}));
    // The channel texts follow too.
    const int chan = page->Table().SelectorIndexOfEntry(registry.FindEntry(QStringLiteral("CHAN")));
    page->MethodSelector()->setCurrentIndex(chan);
    bool lastChannel = false;
    for (int r = 0; r < table.RowCount(); ++r)
        lastChannel |= table.Cell(r, scValue) == QLatin1String("07 [43-49]");
    EXPECT_TRUE(lastChannel);
    EXPECT_TRUE(rec.Messages.isEmpty()) << rec.Texts().join('|').toStdString();
}

} // namespace
} // namespace lot
