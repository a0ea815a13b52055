#pragma once

#include "gui/archive/FormDrawInfo.h"
#include "gui/shell/Page.h"

#include <functional>
#include <QList>
#include <QWidget>

class QLabel;
class QMenu;
class QSpinBox;
class QToolButton;
class QTableView;

namespace lot {

class TDrawsModel;

/// The "Архив тиражей" tab: the offset spin edit, the draws list and the
/// archive actions with their handlers and enabled tests.
class TDrawsPage : public QWidget, public TPage {
    Q_OBJECT
public:
    static constexpr const char *ListName = "lvDraws";

    TDrawsPage(TWorkspace &workspace, TGuiHost &host, TActionList &actions, QWidget *parent = nullptr);

    QTableView *List() const { return m_list; }
    TDrawsModel *Model() const { return m_model; }
    QSpinBox *OffsetEdit() const { return m_edOffset; }
    QMenu *PopupMenu() const { return m_popup; }

    QString Caption() const override;
    TPageControl Control() const override { return TPageControl::Lists; }
    QList<TMenuEntries> MenuEntries() const override;
    /// The column widths of the list.
    void LoadWindowSettings(const TWindowSettings &settings, const QString &section) override;
    void SaveWindowSettings(TWindowSettings &settings, const QString &section) const override;
    /// Width that shows every column of the list without scrolling.
    int PreferredWidth() const override;
    /// Channel size for the group colours, matrix columns for the detail window.
    void ApplyGameSettings(const TConfigData &config) override;
    /// The draw dialog with and without its date, the detail window of the newest draw.
    QList<TScreenshotRender> ScreenshotRenders() const override;

    /// Selected rows, ascending.
    QList<int> SelectedRows() const;
    /// The row the single-draw actions work on: the current row when it is
    /// selected, else the first selected one; -1 without a selection.
    int FocusedRow() const;

    void DrawsDownloadExecute();
    bool DrawsDownloadUpdate() const;
    void DrawsAddExecute();
    bool DrawsAddUpdate() const { return true; }
    void DrawsEditExecute();
    bool DrawsEditUpdate() const;
    void DrawsDelExecute();
    bool DrawsDelUpdate() const;
    void DrawsImportExecute();
    bool DrawsImportUpdate() const { return true; }
    void DrawsExportExecute();
    bool DrawsExportUpdate() const;
    void DrawsXlsExportExecute();
    bool DrawsXlsExportUpdate() const;
    void DrawsInfoExecute();
    bool DrawsInfoUpdate() const;
    void DrawsSortedExecute();
    bool DrawsSortedUpdate() const;
    void ViewColorDrawsExecute();
    bool ViewColorDrawsUpdate() const;

    static QString DrawsFileFilter();
    static QString DrawDialogTitle();

signals:
    void SelectionChanged();

private:
    QList<int> DefaultColumnWidths() const;
    /// What the detail window shows for the draw of a row.
    TDrawInfoData InfoData(int row) const;
    void CreateActions();
    void OnDrawsChanged(bool force);
    void OnOffsetChanged(int offset);
    void OnBusyChanged(bool busy);

    TWorkspace &m_ws;
    TGuiHost &m_host;
    TActionList &m_actions;
    TDrawsModel *m_model = nullptr;
    QTableView *m_list = nullptr;
    QSpinBox *m_edOffset = nullptr;
    QToolButton *m_btDownload = nullptr;
    QMenu *m_popup = nullptr;
    int m_matrixCols = 5;
    TDrawInfoWindows m_infoWindows;
};

} // namespace lot
