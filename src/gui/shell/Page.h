#pragma once
/// @file The interface of a tab page of the main window.

#include "gui/shell/ActionList.h"

#include <functional>
#include <memory>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

class QAction;
class QTableView;
class QWidget;

namespace lot {

class TGuiHost;
class TWindowSettings;
class TWorkspace;
struct TConfigData;

/// The widths of a list's first count columns from the window settings
/// (key name of section), each kept when stored as 0 or above 4000.
void LoadColumnWidths(QTableView *list, int count, const TWindowSettings &settings, const QString &section,
                      const QString &name);
/// Stores the widths of a list's first count columns.
void SaveColumnWidths(const QTableView *list, int count, TWindowSettings &settings, const QString &section,
                      const QString &name);

/// The two page controls of the main window.
enum class TPageControl {
    Lists, ///< "pcLists", the left one: the archive and the combination list
    Main,  ///< "pcMain", the right one: statistics and the views over the archive
};

/// What a page is built from: the workspace it shows, the host and the
/// window's shared action list.
struct TPageContext {
    TWorkspace &Workspace;
    TGuiHost &Host;
    TActionList &Actions;
};

/// A page's entries of one window menu: the menu's object name, then action
/// names in order, "" for a separator. They follow the window's own entries
/// of that menu and those of the pages before.
struct TMenuEntries {
    QString Menu;
    QStringList Actions;
};

/// One picture of the screenshot run: Create builds the widget (one of the
/// page's dialogs, filled with sample data) that is shown and rendered to
/// FileName + ".png".
struct TScreenshotRender {
    QString FileName;
    std::function<std::unique_ptr<QWidget>(QWidget *parent)> Create;
};

/// A tab page: one class per tab, registered by one line in PageList.cpp.
/// The main window creates the pages in that order, puts each into the page
/// control it names and otherwise only loops over them: menus, window
/// settings, game settings and screenshots all go through this interface.
/// A page creates its actions into the shared action list while it is
/// built (AddPageAction), so its own widgets can use them at once.
class TPage {
public:
    /// widget: the page itself, the widget the tab shows.
    TPage(QWidget *widget, TActionList &actions) : m_widget(widget), m_actionList(actions) {}
    virtual ~TPage() = default;
    TPage(const TPage &) = delete;
    TPage &operator=(const TPage &) = delete;

    QWidget *Widget() const { return m_widget; }
    /// The tab's object name ("tsDraws"): window settings and screenshot
    /// names use it.
    QString Name() const;
    virtual QString Caption() const = 0;
    virtual TPageControl Control() const = 0;
    /// The actions the page added to the shared list, in order.
    const QList<QAction *> &PageActions() const { return m_pageActions; }

    /// The page's entries of the window menus.
    virtual QList<TMenuEntries> MenuEntries() const { return {}; }

    /// Window settings of section `section` ("TFormMain") just loaded:
    /// column widths, lengths, switches.
    virtual void LoadWindowSettings(const TWindowSettings & /*settings*/, const QString & /*section*/) {}
    /// At shutdown: the sizes the user may have changed.
    virtual void SaveWindowSettings(TWindowSettings & /*settings*/, const QString & /*section*/) const {}
    /// Width that shows the page without scrolling; the left page control
    /// opens that wide until the user sizes it. 0: no wish.
    virtual int PreferredWidth() const { return 0; }
    /// Shares out the page's splitters from the stored sizes. Runs after the
    /// settings load and again when the window first shows, since before
    /// that a splitter's own size is a guess; windowSize helps the guess.
    virtual void ApplyLayout(const QSize & /*windowSize*/) {}
    /// Stores the splitter sizes the user dragged; only called once the
    /// window was on screen, as before that they mean nothing.
    virtual void SaveLayout(TWindowSettings & /*settings*/) const {}

    /// The game settings were loaded or changed (channel size, matrix
    /// columns ...); config is the one in use from now on.
    virtual void ApplyGameSettings(const TConfigData & /*config*/) {}

    /// The page's dialogs for the screenshot run.
    virtual QList<TScreenshotRender> ScreenshotRenders() const { return {}; }

protected:
    /// Adds one of the page's actions to the shared list.
    QAction *AddPageAction(const TActionList::TSpec &spec, TActionList::TExecute execute,
                           TActionList::TUpdate update);

private:
    QWidget *m_widget;
    TActionList &m_actionList;
    QList<QAction *> m_pageActions;
};

/// Makes page the current tab of the page control that holds it.
void ActivatePage(QWidget *page);

} // namespace lot
