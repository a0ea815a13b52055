#pragma once

#include <functional>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QAction;
class QMenu;
class QWidget;

namespace lot {

class IHost;

/// The window's action list: every user-level operation is one QAction named
/// after the action, with its caption, shortcut, hint and category, an
/// execute handler and an enabled test. Every action is enabled only while
/// the system is idle; the tests are re-evaluated after every operation.
class TActionList : public QObject {
    Q_OBJECT
public:
    using TExecute = std::function<void()>;
    /// Enabled test; a checkable action also sets its check mark here.
    using TUpdate = std::function<bool()>;

    struct TSpec {
        QString Name;
        QString Caption;
        QString Category;
        QKeySequence Shortcut = {};
        QString Hint = {};
        bool Checkable = false;
        /// Stays usable while an operation runs (a stop request); such a
        /// handler must only set flags that the running operation polls.
        bool WhileBusy = false;
    };

    /// owner receives the actions, so their shortcuts work in the whole window.
    TActionList(IHost &host, QWidget *owner);

    /// Adds an action; its enabled test first runs at the next UpdateAll,
    /// so the test may read widgets the owner creates afterwards.
    QAction *Add(const TSpec &spec, TExecute execute, TUpdate update);
    QAction *Find(const QString &name) const;
    /// Adds the named actions to a menu or a tool bar in order, "" giving a
    /// separator. A name without an action is left out and remembered in
    /// MissingNames(), so that a misspelt entry fails a test instead of
    /// quietly vanishing from the menu.
    void AddByName(QWidget *target, const QStringList &names);
    /// A submenu of the named actions ("" a separator) that AddByName
    /// places under name like an action; the menu belongs to the owner.
    QMenu *AddSubmenu(const QString &name, const QString &caption, const QStringList &names);
    /// Find for wiring a control to its action (a tool button): a miss is
    /// remembered like one of AddByName; where names the control.
    QAction *Require(const QString &name, const QString &where);
    /// Every miss of AddByName and Require as "where: name", in order.
    const QStringList &MissingNames() const { return m_missing; }
    const QList<QAction *> &Actions() const { return m_actions; }
    QList<QAction *> InCategory(const QString &category) const;
    static QString Category(const QAction *action);

    /// Runs the action's handler when the system is idle and enabled test
    /// allows it; errors no handler caught are shown as an error box.
    void Execute(QAction *action);

public slots:
    /// Re-evaluates every enabled test.
    void UpdateAll();

signals:
    /// After every operation run through the list.
    void Executed(QAction *action);

private:
    struct TEntry {
        QAction *Action;
        TExecute Execute;
        TUpdate Update;
        bool WhileBusy;
    };
    bool Evaluate(const TEntry &entry) const;
    const TEntry *EntryOf(const QAction *action) const;

    IHost &m_host;
    QWidget *m_owner;
    QList<QAction *> m_actions;
    QList<TEntry> m_entries;
    QList<QMenu *> m_submenus;
    QStringList m_missing;
    bool m_running = false;
    bool m_updateQueued = false;
};

} // namespace lot
