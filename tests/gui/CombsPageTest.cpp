// The "Комбинации" tab on a temporary data folder: the list and history
// views over the engine, the actions with their enabled tests, clipboard,
// the N field and the generation dialog.

#include "GuiTestUtil.h"

#include "combs/CombGenerator.h"
#include "combs/CombsController.h"
#include "core/IniFile.h"
#include "gui/archive/FormDrawInfo.h"
#include "gui/combs/CombsModel.h"
#include "gui/combs/CombsPage.h"
#include "gui/combs/FormGenCombs.h"
#include "gui/combs/HistoryModel.h"
#include "gui/shell/ActionList.h"
#include "gui/shell/FormMain.h"
#include "shell/Workspace.h"
#include "stats/ConfigData.h"

#include <gtest/gtest.h>
#include <QAbstractItemModelTester>
#include <QAction>
#include <QBrush>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include <functional>

namespace lot {
namespace {

using guitest::TMessageRecorder;

// The model tester reports through warnings of its own category.
QStringList g_modelTestFailures;
void RecordModelTest(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    if (type != QtDebugMsg && context.category &&
        QLatin1String(context.category) == QLatin1String("qt.modeltest"))
        g_modelTestFailures << message;
}

TComb Comb(std::initializer_list<int> numbers) {
    TComb c{};
    int i = 0;
    for (int n : numbers)
        c[i++] = uint8_t(n);
    return c;
}

/// Runs fn on the next modal dialog of type T once it shows.
template <class T> void OnDialog(std::function<void(T &)> fn) {
    QTimer::singleShot(0, [fn] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *form = qobject_cast<T *>(w); form && form->isVisible()) return fn(*form);
        ADD_FAILURE() << "no dialog";
    });
}

/// The page on its own, over a started workspace, with both models under
/// QAbstractItemModelTester for the whole test.
class CombsPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        guitest::EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        m_rec.Attach(m_host);
        g_modelTestFailures.clear();
        m_previousHandler = qInstallMessageHandler(RecordModelTest);
    }
    void TearDown() override {
        m_testers.clear();
        qInstallMessageHandler(m_previousHandler);
        EXPECT_TRUE(g_modelTestFailures.isEmpty()) << g_modelTestFailures.join('\n').toStdString();
        if (m_ws) m_ws->Shutdown();
        m_page.reset();
        m_actions.reset();
        m_window.reset();
        m_ws.reset();
    }

    /// Starts on TenDraws with the saved generation parameters given (mode
    /// 2 over 1..8 by default: 28 combinations, quick to look at).
    void Start(int mode = cgmOnlyOf, const QString &parameters = QStringLiteral("1;2;3;4;5;6;7;8"),
               bool withDraws = true) {
        TIniFile ini;
        ini.Load(m_dir.filePath(QStringLiteral("Brantlee_6x45.ini")));
        ini.WriteInteger(QStringLiteral("GLOBAL"), QStringLiteral("CombsGenerateMode"), mode);
        ini.WriteString(QStringLiteral("GLOBAL"), QStringLiteral("CombsGenerateParameters"), parameters);
        ini.Save();
        if (withDraws) {
            TDrawsArchive archive;
            for (const TDrawRec &d : guitest::TenDraws())
                archive.Append(d);
            archive.SaveDrawsFile(m_dir.filePath(QStringLiteral("Brantlee_6x45.ldr")));
        }
        m_ws = std::make_unique<TWorkspace>(m_host, m_dir.path());
        m_window = std::make_unique<QWidget>();
        m_actions = std::make_unique<TActionList>(m_host, m_window.get());
        m_page = std::make_unique<TCombsPage>(*m_ws, m_host, *m_actions, m_window.get());
        // The tester walks every row on each reset: kept to lists of a few rows.
        if (m_testModels)
            m_testers.push_back(std::make_unique<QAbstractItemModelTester>(
                m_page->Model(), QAbstractItemModelTester::FailureReportingMode::Warning));
        m_testers.push_back(std::make_unique<QAbstractItemModelTester>(
            m_page->HistoryModel(), QAbstractItemModelTester::FailureReportingMode::Warning));
        QObject::connect(&m_host, &TGuiHost::BusyChanged, m_actions.get(), &TActionList::UpdateAll);
        m_ws->LoadWindowSettings();
        m_page->LoadWindowSettings(m_ws->Settings(), TWindowSettings::MainSection());
        m_ws->LoadGameSettings();
        ASSERT_EQ(m_ws->Startup({}), TStartupResult::Running);
        ASSERT_TRUE(m_rec.Messages.isEmpty()) << m_rec.Texts().join('|').toStdString();
        m_actions->UpdateAll();
    }

    QAction *Action(const char *name) const { return m_actions->Find(QLatin1String(name)); }
    bool Enabled(const char *name) const {
        m_actions->UpdateAll();
        QAction *a = Action(name);
        EXPECT_NE(a, nullptr) << name;
        return a && a->isEnabled();
    }
    void Run(const char *name) {
        QAction *a = Action(name);
        ASSERT_NE(a, nullptr) << name;
        m_actions->Execute(a);
    }
    void Select(std::initializer_list<int> rows) {
        QTableView *list = m_page->List();
        list->clearSelection();
        for (int row : rows)
            list->selectionModel()->select(list->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    QList<TComb> Combs() const {
        const auto span = m_ws->Combs().Combs();
        return QList<TComb>(span.begin(), span.end());
    }
    QStringList HistoryRow(int row) const {
        QStringList texts;
        for (int c = 0; c < THistoryModel::ColumnCount; ++c)
            texts << m_page->HistoryModel()->index(row, c).data().toString();
        return texts;
    }
    QVariant Cell(int row, int column, int role = Qt::DisplayRole) const {
        return m_page->Model()->index(row, column).data(role);
    }

    QTemporaryDir m_dir;
    TGuiHost m_host;
    TMessageRecorder m_rec;
    std::unique_ptr<TWorkspace> m_ws;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<TActionList> m_actions;
    std::unique_ptr<TCombsPage> m_page;
    std::vector<std::unique_ptr<QAbstractItemModelTester>> m_testers;
    bool m_testModels = true;
    QtMessageHandler m_previousHandler = nullptr;
};

TEST_F(CombsPageTest, StartupListFillsTheViewWithRowNumbersNumbersAndSum) {
    m_testModels = false;
    Start(cgmFullSet, QString());
    TCombsModel *model = m_page->Model();
    ASSERT_EQ(model->rowCount(), FullSetSize);
    ASSERT_EQ(model->columnCount(), 8);
    QStringList headers;
    for (int c = 0; c < model->columnCount(); ++c)
        headers << model->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers, QStringList({"№ п.п.", "1", "2", "3", "4", "5", "6", "S"}));
    const QList<int> first = {1, 1, 2, 3, 4, 5, 6, 21};
    const QList<int> last = {FullSetSize, 40, 41, 42, 43, 44, 45, 255};
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(Cell(0, c).toInt(), first[c]) << c;
        EXPECT_EQ(Cell(FullSetSize - 1, c).toInt(), last[c]) << c;
    }
    EXPECT_FALSE(Cell(FullSetSize, 0).isValid());
    EXPECT_EQ(m_ws->StatusPanelText(3), QStringLiteral("Комбинаций: 8145060"));
    EXPECT_EQ(m_page->HistoryModel()->rowCount(), 0);
    EXPECT_FALSE(Enabled("CombsUndo"));
}

TEST_F(CombsPageTest, GroupColoursFollowTheSwitchAndTheChannelSize) {
    Start();
    ASSERT_TRUE(m_page->Model()->Colored()) << "ColorCombs is on by default";
    QAction *color = Action("ViewColorCombs");
    ASSERT_NE(color, nullptr);
    m_actions->UpdateAll();
    EXPECT_TRUE(color->isChecked());
    auto background = [&](int row, int column) {
        const QVariant v = Cell(row, column, Qt::BackgroundRole);
        return v.isValid() ? v.value<QBrush>().color().rgb() : QRgb(0);
    };
    // Row 0 is 1 2 3 4 5 6.
    EXPECT_EQ(background(0, TCombsModel::colRow), QColor(Qt::white).rgb());
    EXPECT_EQ(background(0, TCombsModel::colSum), QColor(Qt::white).rgb());
    for (int c = TCombsModel::colFirst; c <= TCombsModel::colLast; ++c)
        EXPECT_EQ(background(0, c), QColor::fromRgb(GroupColourRgb(c, 5)).rgb()) << c;
    TConfigData config;
    config.ChannelSize = 3;
    config.MatrixCols = 5;
    m_page->ApplyGameSettings(config);
    EXPECT_EQ(background(0, 4), QColor::fromRgb(GroupColourRgb(4, 3)).rgb());
    EXPECT_NE(GroupColourRgb(4, 3), GroupColourRgb(4, 5)) << "the channel size must show";

    Run("ViewColorCombs");
    EXPECT_FALSE(m_page->Model()->Colored());
    EXPECT_FALSE(color->isChecked());
    EXPECT_FALSE(Cell(0, 1, Qt::BackgroundRole).isValid());
    // A switch is written to the window settings file at once.
    TIniFile frm;
    frm.Load(m_ws->Files().FrmFile());
    EXPECT_EQ(frm.ReadString(QStringLiteral("TFormMain"), QStringLiteral("ColorCombs")), QStringLiteral("0"));
}

TEST_F(CombsPageTest, ActionsCarryNamesCaptionsShortcutsAndButtonTexts) {
    Start();
    const struct {
        const char *name, *caption, *shortcut, *button;
    } expected[] = {
        {"CombsGen", "Генерировать", "F2", "Новый"},
        {"CombsOpen", "Открыть", "Ctrl+O", "Открыть"},
        {"CombsSave", "Сохранить", "Ctrl+S", "Сохранить"},
        {"CombsUndo", "Отменить", "Ctrl+Z", "Отменить"},
        {"CombsDelExists", "Исключить тиражи", "Ctrl+E", "[-] Тиражи"},
        {"CombsDelSelected", "Удалить выделенные", "Ctrl+Del", nullptr},
        {"CombsCopy", "Копировать в буфер", "Ctrl+C", nullptr},
        {"CombsPaste", "Вставить из буфера", "Ctrl+V", nullptr},
        {"CombsSelectAll", "Выделить все", "Ctrl+A", nullptr},
        {"CombsInfo", "Сведения о комбинации", "", nullptr},
        {"CombsCheckNums", "Количество уникальных номеров", "", nullptr},
        {"CombsFindInDraws", "Проверить по архиву тиражей", "Ctrl+F", nullptr},
        {"CombsXlsExport", "Экспорт в Microsoft Excel", "", nullptr},
    };
    for (const auto &e : expected) {
        QAction *a = Action(e.name);
        ASSERT_NE(a, nullptr) << e.name;
        EXPECT_EQ(a->text(), QString::fromUtf8(e.caption)) << e.name;
        EXPECT_EQ(a->shortcut().toString(), QString::fromUtf8(e.shortcut)) << e.name;
        EXPECT_EQ(TActionList::Category(a), QStringLiteral("Комбинации")) << e.name;
        if (e.button) {
            auto *button = m_page->findChild<QToolButton *>(QStringLiteral("btn") + QLatin1String(e.name));
            ASSERT_NE(button, nullptr) << e.name;
            EXPECT_EQ(button->text(), QString::fromUtf8(e.button)) << e.name;
        }
    }
    EXPECT_EQ(Action("ViewColorCombs")->text(), QStringLiteral("Выделять каналы в списке комбинаций"));
    EXPECT_EQ(TActionList::Category(Action("ViewColorCombs")), QStringLiteral("Вид"));
    EXPECT_EQ(m_page->ExcludeEdit()->objectName(), QStringLiteral("edCombsExclude"));
    EXPECT_EQ(m_page->ExcludeEdit()->minimum(), 0);
    EXPECT_EQ(m_page->ExcludeEdit()->toolTip(),
              QStringLiteral("Исключить указанное количество последних тиражей из списка комбинаций"));
    EXPECT_EQ(m_page->List()->objectName(), QStringLiteral("lvCombs"));
    EXPECT_EQ(m_page->History()->objectName(), QStringLiteral("lvFilters"));
    QStringList headers;
    for (int c = 0; c < THistoryModel::ColumnCount; ++c)
        headers << m_page->HistoryModel()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers, QStringList({"Примененные фильтры", "Значения", "Комбинаций"}));
}

TEST_F(CombsPageTest, EnabledTestsFollowListSelectionArchiveAndNField) {
    Start();
    EXPECT_TRUE(Enabled("CombsGen"));
    EXPECT_TRUE(Enabled("CombsOpen"));
    EXPECT_TRUE(Enabled("CombsCheckNums"));
    EXPECT_TRUE(Enabled("CombsSave"));
    EXPECT_TRUE(Enabled("CombsCopy"));
    EXPECT_TRUE(Enabled("CombsSelectAll"));
    EXPECT_FALSE(Enabled("CombsUndo"));
    EXPECT_FALSE(Enabled("CombsDelSelected"));
    EXPECT_FALSE(Enabled("CombsInfo"));
    EXPECT_FALSE(Enabled("CombsFindInDraws"));
    EXPECT_TRUE(Enabled("CombsXlsExport"));
    EXPECT_FALSE(Enabled("CombsDelExists")) << "N = 0";
    m_page->ExcludeEdit()->setValue(3);
    EXPECT_TRUE(Enabled("CombsDelExists"));

    Select({2});
    EXPECT_TRUE(Enabled("CombsDelSelected"));
    EXPECT_TRUE(Enabled("CombsInfo"));
    EXPECT_TRUE(Enabled("CombsFindInDraws"));

    // Busy: everything waits.
    m_host.BeginBusy();
    EXPECT_FALSE(Enabled("CombsGen"));
    EXPECT_FALSE(Enabled("CombsDelSelected"));
    EXPECT_FALSE(m_page->ExcludeEdit()->isEnabled());
    m_host.EndBusy();
    EXPECT_TRUE(m_page->ExcludeEdit()->isEnabled());

    // An empty list: only the list-independent actions stay.
    ASSERT_TRUE(m_ws->Combs().GenerateCombs(true, cgmOnlyOf, QStringLiteral("1;2;3;4;5")));
    EXPECT_EQ(m_page->Model()->rowCount(), 0);
    EXPECT_TRUE(Enabled("CombsGen"));
    EXPECT_TRUE(Enabled("CombsCheckNums"));
    for (const char *name :
         {"CombsSave", "CombsCopy", "CombsSelectAll", "CombsDelExists", "CombsDelSelected", "CombsInfo"})
        EXPECT_FALSE(Enabled(name)) << name;
}

TEST_F(CombsPageTest, ExcludeWithoutDrawsIsDisabled) {
    Start(cgmOnlyOf, QStringLiteral("1;2;3;4;5;6;7;8"), false);
    m_page->ExcludeEdit()->setValue(3);
    EXPECT_FALSE(Enabled("CombsDelExists"));
}

TEST_F(CombsPageTest, DeleteSelectedThenUndoRestoresListOrderAndHistory) {
    Start();
    const QList<TComb> before = Combs();
    ASSERT_EQ(before.size(), 28);
    Select({1, 3, 4});
    Run("CombsDelSelected");
    EXPECT_EQ(m_ws->Combs().Count(), 25);
    EXPECT_EQ(m_page->Model()->rowCount(), 25);
    EXPECT_FALSE(m_page->HasSelection());
    EXPECT_EQ(m_ws->Combs().At(1), before[2]);
    ASSERT_EQ(m_page->HistoryModel()->rowCount(), 1);
    EXPECT_EQ(HistoryRow(0), QStringList({"Выделенные комбинации", "3", "25"}));
    EXPECT_FALSE(m_page->HistoryModel()->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_EQ(m_ws->StatusPanelText(3), QStringLiteral("Комбинаций: 25"));

    ASSERT_TRUE(Enabled("CombsUndo"));
    Run("CombsUndo");
    EXPECT_EQ(Combs(), before);
    EXPECT_EQ(m_page->Model()->rowCount(), 28);
    EXPECT_EQ(m_page->HistoryModel()->rowCount(), 0);
    EXPECT_FALSE(Enabled("CombsUndo")) << "one level only";
    EXPECT_TRUE(m_rec.Messages.isEmpty()) << m_rec.Texts().join('|').toStdString();
}

TEST_F(CombsPageTest, EnterInTheNFieldExcludesTheLastDraws) {
    Start();
    // The last four draws, sorted, between two other combinations.
    QString text = QStringLiteral("1 2 3 4 5 6\n");
    const TDrawsArray draws = guitest::TenDraws();
    for (int k = 6; k < 10; ++k) {
        TComb c = DrawToComb(draws[size_t(k)]);
        SortComb(c);
        text += CombToSpacedText(c) + QLatin1Char('\n');
    }
    text += QStringLiteral("40 41 42 43 44 45");
    QGuiApplication::clipboard()->setText(text);
    Run("CombsPaste");
    ASSERT_EQ(m_ws->Combs().Count(), 6);
    const TComb oldest = m_ws->Combs().At(1);

    QSpinBox *n = m_page->ExcludeEdit();
    n->setValue(3);
    QTest::keyClick(n, Qt::Key_Return);
    EXPECT_EQ(Combs(), QList<TComb>({Comb({1, 2, 3, 4, 5, 6}), oldest, Comb({40, 41, 42, 43, 44, 45})}));
    EXPECT_EQ(m_page->Model()->rowCount(), 3);
    ASSERT_EQ(m_page->HistoryModel()->rowCount(), 1);
    EXPECT_EQ(HistoryRow(0), QStringList({"Последние тиражи", "3", "3"}));

    // N = 0 is not an exclusion: Enter does nothing.
    n->setValue(0);
    QTest::keyClick(n, Qt::Key_Enter);
    EXPECT_EQ(m_page->HistoryModel()->rowCount(), 1);
    EXPECT_TRUE(m_rec.Messages.isEmpty()) << m_rec.Texts().join('|').toStdString();

    // The field is a length of the window settings file.
    n->setValue(7);
    m_page->SaveWindowSettings(m_ws->Settings(), TWindowSettings::MainSection());
    EXPECT_EQ(m_ws->Settings().DrawsExclude(), 7);
}

TEST_F(CombsPageTest, CopyPutsTheSelectedRowsOnTheClipboardInListOrder) {
    Start();
    Select({5, 0, 2});
    Run("CombsCopy");
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("01 02 03 04 05 06\r\n01 02 03 04 05 08\r\n01 02 03 04 07 08\r\n"));
    m_rec.Messages.clear();
    Run("CombsSelectAll");
    EXPECT_EQ(m_page->SelectedRows().size(), 28);
    Run("CombsCopy");
    EXPECT_EQ(QGuiApplication::clipboard()->text().count(QStringLiteral("\r\n")), 28);
}

TEST_F(CombsPageTest, PasteReplacesTheListAndABadLineKeepsIt) {
    Start();
    QGuiApplication::clipboard()->setText(
        QStringLiteral("01 02 03 04 05 06\r\n40 41 42 43 44 45\r\n7 8 9 10 11 12"));
    ASSERT_TRUE(Enabled("CombsPaste"));
    Run("CombsPaste");
    ASSERT_EQ(m_page->Model()->rowCount(), 3);
    EXPECT_EQ(Combs(), QList<TComb>({Comb({1, 2, 3, 4, 5, 6}), Comb({40, 41, 42, 43, 44, 45}),
                                     Comb({7, 8, 9, 10, 11, 12})}));
    EXPECT_EQ(Cell(2, TCombsModel::colSum).toInt(), 57);
    EXPECT_FALSE(Enabled("CombsUndo")) << "a paste cannot be undone";
    EXPECT_EQ(m_ws->StatusPanelText(3), QStringLiteral("Комбинаций: 3"));
    EXPECT_TRUE(m_rec.Messages.isEmpty()) << m_rec.Texts().join('|').toStdString();

    // A reduction adds a history row; a good paste clears it again.
    Select({0});
    Run("CombsDelSelected");
    ASSERT_EQ(m_page->HistoryModel()->rowCount(), 1);

    const QList<TComb> before = Combs();
    QGuiApplication::clipboard()->setText(QStringLiteral("1 2 3 4 5 6\n1 2 3\n4 5 6 7 8 9\n"));
    Run("CombsPaste");
    ASSERT_EQ(m_rec.Messages.size(), 1);
    EXPECT_EQ(m_rec.Messages[0].Kind, TMessageKind::Error);
    EXPECT_EQ(m_rec.Messages[0].Text, QStringLiteral("Некорректная комбинация: \"1 2 3\"!"));
    EXPECT_EQ(Combs(), before);
    EXPECT_EQ(m_page->Model()->rowCount(), 2);
    EXPECT_EQ(m_page->HistoryModel()->rowCount(), 1) << "a failed paste keeps the history";
    EXPECT_FALSE(Enabled("CombsUndo"));

    QGuiApplication::clipboard()->setText(QStringLiteral("2 3 4 5 6 7"));
    Run("CombsPaste");
    EXPECT_EQ(m_page->Model()->rowCount(), 1);
    EXPECT_EQ(m_page->HistoryModel()->rowCount(), 0);

    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(Enabled("CombsPaste"));
}

TEST_F(CombsPageTest, UniqueNumbersFindInDrawsAndInformation) {
    Start();
    // Draw 4019 is 40;10;30;20;11;35: found in any order.
    QGuiApplication::clipboard()->setText(QStringLiteral("35 11 20 30 10 40\r\n01 02 03 04 05 06"));
    Run("CombsPaste");
    ASSERT_EQ(m_page->Model()->rowCount(), 2);

    Run("CombsCheckNums");
    ASSERT_EQ(m_rec.Messages.size(), 1);
    EXPECT_EQ(m_rec.Messages[0].Kind, TMessageKind::Information);
    EXPECT_EQ(m_rec.Messages[0].Text,
              QStringLiteral("В текущем списке комбинаций содержится 12 уникальных номеров"));

    m_rec.Messages.clear();
    Select({0});
    Run("CombsFindInDraws");
    ASSERT_EQ(m_rec.Messages.size(), 1);
    EXPECT_EQ(m_rec.Messages[0].Kind, TMessageKind::Information);
    EXPECT_EQ(m_rec.Messages[0].Text,
              QStringLiteral("Выделенная комбинация найдена в следующих тиражах:\r\n\r\n") +
                  DrawToText(guitest::TenDraws().back()));
    m_rec.Messages.clear();
    Select({1});
    Run("CombsFindInDraws");
    ASSERT_EQ(m_rec.Messages.size(), 1);
    EXPECT_EQ(m_rec.Messages[0].Text, QStringLiteral("Выделенная комбинация не найдена архиве тиражей!"));

    Select({0});
    Run("CombsInfo");
    TFormDrawInfo *info = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("TFormCombInfo") && w->isVisible())
            info = qobject_cast<TFormDrawInfo *>(w);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->NumbersText(), QStringLiteral("35;11;20;30;10;40"));
    QStringList labels;
    for (QLabel *label : info->findChildren<QLabel *>())
        labels << label->text();
    EXPECT_FALSE(labels.contains(QStringLiteral("Номер тиража:"))) << "a combination has no draw number";
    info->close();
}

// A combination stands for the draw after the newest draw in use: its
// graph values are computed there, so they follow the draws offset.
TEST_F(CombsPageTest, DetailWindowValuesFollowTheDrawsOffset) {
    Start();
    TDrawsArray draws = guitest::TenDraws();
    for (int k = 0; k < 10; ++k)
        draws[size_t(k)].Extra[0] = uint8_t(k + 1); // entry k has the supplementary number k + 1
    ASSERT_TRUE(m_ws->Archive().ReplaceDraws(draws));
    const auto valuesAt = [&](int offset) {
        m_ws->Archive().ChangeOffset(offset);
        Select({0});
        Run("CombsInfo");
        QMap<QString, QString> values; // the first row of each caption
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *info = qobject_cast<TFormDrawInfo *>(w);
            if (!info || !info->isVisible() || w->objectName() != QStringLiteral("TFormCombInfo")) continue;
            for (int r = 0; r < info->Values()->rowCount(); ++r) {
                const QString caption = info->Values()->item(r, 0)->text();
                if (!values.contains(caption)) values[caption] = info->Values()->item(r, 1)->text();
            }
            info->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return values;
    };
    const QString extra = QStringLiteral("Extra (Bonus, Star...) - число (!без фильтра!)");
    const QMap<QString, QString> newest = valuesAt(0);
    EXPECT_EQ(newest.value(extra), QStringLiteral("0")) << "entry 10 is not drawn yet";
    // Row 0 is 1;2;3;4;5;6.
    EXPECT_EQ(newest.value(QStringLiteral("Число в 3 позиции тиража")), QStringLiteral("3"));
    EXPECT_EQ(newest.value(QStringLiteral("Количество четных чисел в тираже (Ч:Н)")), QStringLiteral("3"));
    const QMap<QString, QString> back = valuesAt(3);
    EXPECT_EQ(back.value(extra), QStringLiteral("8")) << "at offset 3 it stands for entry 7";
    EXPECT_EQ(back.value(QStringLiteral("Число в 3 позиции тиража")), QStringLiteral("3"));
}

TEST_F(CombsPageTest, SaveAndOpenGoThroughTheFileDialog) {
    Start(cgmOnlyOf, QStringLiteral("1;2;3;4;5;6;7"));
    const QString file = m_dir.filePath(QStringLiteral("list.lcv"));
    QStringList filters;
    m_host.SetFileInterceptor([&](bool, const QString &filter) {
        filters << filter;
        return file;
    });
    Run("CombsSave");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("1;2;3;4;5;6\r\n1;2;3;4;5;7\r\n")) << bytes.constData();
    EXPECT_EQ(bytes.count('\n'), 7);
    f.close();

    ASSERT_TRUE(m_ws->Combs().GenerateCombs(true, cgmOnlyOf, QStringLiteral("1;2;3;4;5;6;7;8")));
    Run("CombsOpen");
    EXPECT_EQ(m_page->Model()->rowCount(), 7);
    EXPECT_FALSE(Enabled("CombsUndo")) << "an opened list cannot be undone";
    EXPECT_EQ(filters, QStringList({"Файлы комбинаций (*.lcv)", "Файлы комбинаций (*.lcv)"}));

    // Cancelling the dialog changes nothing.
    m_host.SetFileInterceptor([](bool, const QString &) { return QString(); });
    Run("CombsOpen");
    EXPECT_EQ(m_page->Model()->rowCount(), 7);
    EXPECT_TRUE(m_rec.Messages.isEmpty()) << m_rec.Texts().join('|').toStdString();
}

TEST_F(CombsPageTest, GenerationDialogEnablesItsFieldsByMode) {
    guitest::EnsureApplication();
    TGuiHost host;
    TFormGenCombs form(host, 7, QStringLiteral("1;2"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Создание нового списка комбинаций"));
    EXPECT_EQ(form.ModeBox()->objectName(), QStringLiteral("cbCombsGenerateMode"));
    EXPECT_EQ(form.ParamEdit()->objectName(), QStringLiteral("edCombsGenerateParam"));
    EXPECT_EQ(form.SaveBox()->objectName(), QStringLiteral("cbSaveParameters"));
    EXPECT_EQ(form.SaveBox()->text(),
              QStringLiteral("Сохранить эти параметры для генерации комбинаций \"по умолчанию\""));
    EXPECT_FALSE(form.SaveBox()->isChecked());
    EXPECT_EQ(form.FileButton()->text(), QStringLiteral("..."));
    EXPECT_EQ(form.FileButton()->toolTip(), QStringLiteral("Выбор файла"));
    QStringList items;
    for (int i = 0; i < form.ModeBox()->count(); ++i)
        items << form.ModeBox()->itemText(i);
    EXPECT_EQ(items, QStringList({"Полный список (все возможные для данного лото варианты)",
                                  "Мои числа - должно присутствовать любое из указанных",
                                  "Мои числа - комбинации только из списка указанных",
                                  "Мои числа - исключить комбинации с любым из указанных",
                                  "Загрузить список из заранее подготовленного CSV-файла"}));
    EXPECT_EQ(form.Mode(), 0) << "a stored mode outside 1..4 opens as the full set";
    EXPECT_EQ(form.Parameters(), QStringLiteral("1;2"));

    const struct {
        int mode;
        bool param, file;
    } cases[] = {{0, false, false}, {1, true, false}, {2, true, false}, {3, true, false}, {4, true, true}};
    for (const auto &c : cases) {
        form.ModeBox()->setCurrentIndex(c.mode);
        EXPECT_EQ(form.ParamEdit()->isEnabled(), c.param) << c.mode;
        EXPECT_EQ(form.FileButton()->isEnabled(), c.file) << c.mode;
    }

    host.SetFileInterceptor([](bool save, const QString &filter) {
        EXPECT_FALSE(save);
        EXPECT_EQ(filter, QStringLiteral("Файлы комбинаций (*.lcv)"));
        return QStringLiteral("/data/my.lcv");
    });
    form.FileButton()->click();
    EXPECT_EQ(form.Parameters(), QStringLiteral("/data/my.lcv"));
    host.SetFileInterceptor([](bool, const QString &) { return QString(); });
    form.FileButton()->click();
    EXPECT_EQ(form.Parameters(), QStringLiteral("/data/my.lcv")) << "a cancelled choice keeps the text";
}

TEST_F(CombsPageTest, GenerateWithAndWithoutSavingTheParameters) {
    Start();
    const QString iniName = m_dir.filePath(QStringLiteral("Brantlee_6x45.ini"));
    auto savedMode = [&] {
        TIniFile ini;
        ini.Load(iniName);
        return ini.ReadString(QStringLiteral("GLOBAL"), QStringLiteral("CombsGenerateMode")) +
               QLatin1Char('|') +
               ini.ReadString(QStringLiteral("GLOBAL"), QStringLiteral("CombsGenerateParameters"));
    };

    // Not saved: the list follows the dialog, the ini file keeps its values.
    OnDialog<TFormGenCombs>([](TFormGenCombs &form) {
        EXPECT_EQ(form.Mode(), int(cgmOnlyOf)) << "opens with the saved parameters";
        EXPECT_EQ(form.Parameters(), QStringLiteral("1;2;3;4;5;6;7;8"));
        EXPECT_FALSE(form.SaveBox()->isChecked());
        form.ParamEdit()->setText(QStringLiteral(" 1, 2;3 ;4;5;45;x"));
        form.accept();
    });
    Run("CombsGen");
    EXPECT_EQ(Combs(), QList<TComb>({Comb({1, 2, 3, 4, 5, 45})}));
    EXPECT_EQ(savedMode(), QStringLiteral("2|1;2;3;4;5;6;7;8"));
    EXPECT_EQ(m_ws->Stats().Registry().CombsGenerateMode(), int(cgmOnlyOf));

    // Saved: written at once, and the next opening starts from them.
    const QString file = m_dir.filePath(QStringLiteral("two.lcv"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("6;5;4;3;2;1\r\n\r\n1;2;3\r\n7,8,9,10,11,12\r\n");
    }
    OnDialog<TFormGenCombs>([file](TFormGenCombs &form) {
        form.ModeBox()->setCurrentIndex(cgmFromFile);
        form.ParamEdit()->setText(file);
        form.SaveBox()->setChecked(true);
        form.accept();
    });
    Run("CombsGen");
    EXPECT_EQ(m_page->Model()->rowCount(), 2);
    EXPECT_EQ(savedMode(), QStringLiteral("4|") + file);
    OnDialog<TFormGenCombs>([file](TFormGenCombs &form) {
        EXPECT_EQ(form.Mode(), int(cgmFromFile));
        EXPECT_EQ(form.Parameters(), file);
        EXPECT_FALSE(form.SaveBox()->isChecked()) << "unchecked on every opening";
        form.reject();
    });
    Run("CombsGen");
    EXPECT_EQ(m_page->Model()->rowCount(), 2) << "cancel changes nothing";
    EXPECT_EQ(m_page->HistoryModel()->rowCount(), 0);
    EXPECT_TRUE(m_rec.Messages.isEmpty()) << m_rec.Texts().join('|').toStdString();
}

TEST(CombsHistoryIcons, ThreeDistinctImages) {
    guitest::EnsureApplication();
    const QImage undo = THistoryModel::HistoryIcon(HistoryIconUndo).pixmap(16).toImage();
    const QImage keep = THistoryModel::HistoryIcon(HistoryIconFlagOff).pixmap(16).toImage();
    const QImage drop = THistoryModel::HistoryIcon(HistoryIconFlagOn).pixmap(16).toImage();
    EXPECT_FALSE(undo.isNull());
    EXPECT_NE(undo, keep);
    EXPECT_NE(keep, drop);
    EXPECT_NE(undo, drop);
    EXPECT_TRUE(THistoryModel::HistoryIcon(0).isNull());
}

/// The tab inside the main window: status panel, menus, the splitter height.
class CombsMainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        guitest::EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
    }
    QTemporaryDir m_dir;
};

TEST_F(CombsMainWindowTest, TabShowsTheStartupListInTheWindow) {
    {
        TIniFile ini;
        ini.Load(m_dir.filePath(QStringLiteral("Brantlee_6x45.ini")));
        ini.WriteInteger(QStringLiteral("GLOBAL"), QStringLiteral("CombsGenerateMode"), cgmOnlyOf);
        ini.WriteString(QStringLiteral("GLOBAL"), QStringLiteral("CombsGenerateParameters"),
                        QStringLiteral("1;2;3;4;5;6;7"));
        ini.Save();
    }
    TMessageRecorder rec;
    auto w = std::make_unique<TFormMain>(m_dir.path(), QStringList());
    rec.Attach(w->Host());
    w->show();
    ASSERT_EQ(w->RunStartup(), TStartupResult::Running);
    EXPECT_TRUE(rec.Messages.isEmpty()) << rec.Texts().join('|').toStdString();

    TCombsPage *page = w->CombsPage();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(w->ListsTabs()->widget(1), page);
    EXPECT_EQ(page->objectName(), QStringLiteral("tsCombs"));
    EXPECT_EQ(page->Model()->rowCount(), 7);
    EXPECT_EQ(w->StatusPanel(3)->text(), QStringLiteral("Комбинаций: 7"));

    QStringList combsMenu;
    for (QAction *a : w->Menu(QStringLiteral("mnCombs"))->actions())
        if (!a->isSeparator() && a->isVisible()) combsMenu << a->objectName();
    EXPECT_EQ(combsMenu, QStringList({"CombsGen", "CombsOpen", "CombsSave", "CombsUndo", "CombsDelExists",
                                      "CombsDelSelected", "CombsCopy", "CombsPaste", "CombsSelectAll",
                                      "CombsInfo", "CombsFindInDraws", "CombsCheckNums", "CombsXlsExport"}));
    EXPECT_TRUE(w->Menu(QStringLiteral("mnView"))
                    ->actions()
                    .contains(w->Actions().Find(QStringLiteral("ViewColorCombs"))));

    // F2 works from anywhere in the window; Ctrl+A only in the list's tab.
    w->ListsTabs()->setCurrentWidget(page);
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    page->List()->setFocus();
    QTest::keyClick(page->List(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(page->SelectedRows().size(), 7);
    QTest::keyClick(page->List(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().count(QStringLiteral("\r\n")), 7)
        << "Ctrl+C copies the selected combinations, not one cell";

    // The list view's shrinking step shows in the panel at once.
    page->List()->clearSelection();
    page->List()->selectionModel()->select(page->Model()->index(0, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    w->Actions().Execute(w->Actions().Find(QStringLiteral("CombsDelSelected")));
    EXPECT_EQ(w->StatusPanel(3)->text(), QStringLiteral("Комбинаций: 6"));
}

} // namespace
} // namespace lot
