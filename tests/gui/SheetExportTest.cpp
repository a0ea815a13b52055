// The spreadsheet export from the tabs: the archive and the statistics
// table land in the file chosen in the save dialog exactly as their grids
// show them, read back by an independent reader; a cancelled dialog writes
// nothing.

#include "GuiTestUtil.h"
#include "XlsxReader.h"

#include "gui/archive/DrawsModel.h"
#include "gui/archive/DrawsPage.h"
#include "gui/shell/ActionList.h"
#include "gui/stats/StatModel.h"
#include "gui/stats/StatsPage.h"
#include "shell/Workspace.h"
#include "stats/StatTable.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QBrush>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace lot {
namespace {

class SheetExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        guitest::EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        m_messages.Attach(m_host);
        m_ws = std::make_unique<TWorkspace>(m_host, m_dir.path());
        m_ws->LoadGameSettings();
        m_owner = std::make_unique<QWidget>();
        m_actions = new TActionList(m_host, m_owner.get());
        m_draws = new TDrawsPage(*m_ws, m_host, *m_actions, m_owner.get());
        m_stats = new TStatsPage(*m_ws, m_host, *m_actions, m_owner.get());
        m_host.SetFileInterceptor([this](bool save, const QString &filter) {
            m_asked << QStringLiteral("%1 %2").arg(save).arg(filter);
            return m_answer;
        });
    }
    void TearDown() override {
        EXPECT_TRUE(m_messages.Messages.isEmpty()) << m_messages.Texts().join('\n').toStdString();
    }
    bool Enabled(const char *name) {
        m_actions->UpdateAll();
        return m_actions->Find(QLatin1String(name))->isEnabled();
    }
    void Run(const char *name) { m_actions->Execute(m_actions->Find(QLatin1String(name))); }

    /// Every caption, cell text and fill of the file's one sheet equals
    /// what the model gives the grid.
    void ExpectFileShows(const QString &file, const QString &title, const QAbstractItemModel &model) {
        QString error;
        const QList<test::TReadSheet> sheets = test::ReadXlsx(file, &error);
        ASSERT_EQ(sheets.size(), 1) << error.toStdString();
        EXPECT_EQ(sheets[0].Name, title);
        ASSERT_EQ(sheets[0].Rows.size(), model.rowCount() + 1);
        for (int c = 0; c < model.columnCount(); ++c)
            EXPECT_EQ(test::CellText(sheets[0].Rows[0][c]).toStdString(),
                      model.headerData(c, Qt::Horizontal).toString().toStdString());
        for (int r = 0; r < model.rowCount(); ++r) {
            ASSERT_EQ(sheets[0].Rows[r + 1].size(), model.columnCount()) << r;
            for (int c = 0; c < model.columnCount(); ++c) {
                const QString cell = sheets[0].Rows[r + 1][c];
                const QModelIndex index = model.index(r, c);
                EXPECT_EQ(test::CellText(cell).toStdString(), index.data().toString().toStdString())
                    << r << "," << c;
                const QVariant background = index.data(Qt::BackgroundRole);
                const QString fill = background.isValid()
                                         ? QStringLiteral("%1")
                                               .arg(background.value<QBrush>().color().rgb() & 0xFFFFFF, 6,
                                                    16, QLatin1Char('0'))
                                               .toUpper()
                                         : QString();
                EXPECT_EQ(test::CellFill(cell).toStdString(), fill.toStdString()) << r << "," << c;
            }
        }
    }

    QTemporaryDir m_dir;
    TGuiHost m_host;
    guitest::TMessageRecorder m_messages;
    std::unique_ptr<TWorkspace> m_ws;
    std::unique_ptr<QWidget> m_owner;
    TActionList *m_actions = nullptr;
    TDrawsPage *m_draws = nullptr;
    TStatsPage *m_stats = nullptr;
    QStringList m_asked;
    QString m_answer;
};

TEST_F(SheetExportTest, TheArchiveAsItsGridShowsIt) {
    EXPECT_FALSE(Enabled("DrawsXlsExport")) << "an empty archive";
    ASSERT_TRUE(m_ws->Archive().ReplaceDraws(guitest::TenDraws()));
    m_ws->Archive().ChangeOffset(2);
    m_draws->Model()->Refresh(true);
    ASSERT_TRUE(Enabled("DrawsXlsExport"));
    EXPECT_TRUE(m_actions->Find("DrawsXlsExport")->isVisible());

    m_answer.clear(); // the save dialog cancelled
    Run("DrawsXlsExport");
    EXPECT_EQ(m_asked, QStringList{"1 Книга Excel (*.xlsx)"});
    EXPECT_TRUE(QDir(m_dir.path()).entryList({"*.xlsx"}).isEmpty());

    for (const bool colored : {true, false}) {
        m_draws->Model()->SetColored(colored);
        m_draws->Model()->SetSorted(!colored);
        m_answer = m_dir.filePath(colored ? "colored.xlsx" : "plain.xlsx");
        Run("DrawsXlsExport");
        ExpectFileShows(m_answer, "Архив тиражей", *m_draws->Model());
    }
}

TEST_F(SheetExportTest, TheStatisticsTableAsComputed) {
    ASSERT_TRUE(m_ws->Archive().ReplaceDraws(guitest::TenDraws()));
    const int entry = m_ws->Stats().Registry().FindEntry(QStringLiteral("EVEN"));
    m_stats->MethodSelector()->setCurrentIndex(m_ws->Stats().Table().SelectorIndexOfEntry(entry));
    ASSERT_TRUE(m_ws->Stats().ComputeStatistics(true));
    ASSERT_GT(m_ws->Stats().Table().RowCount(), 0);
    ASSERT_TRUE(Enabled("StatXlsExport"));
    EXPECT_EQ(m_actions->Find("StatXlsExport")->text(), "Экспорт статистики в Microsoft Excel");
    m_answer = m_dir.filePath("stats.xlsx");
    Run("StatXlsExport");
    ExpectFileShows(m_answer, "Статистика", *m_stats->Model());
}

} // namespace
} // namespace lot
