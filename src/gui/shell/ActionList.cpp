#include "gui/shell/ActionList.h"

#include "core/Errors.h"
#include "core/Host.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace lot {

namespace {
const char *const CategoryProperty = "category";
}

TActionList::TActionList(IHost &host, QWidget *owner) : QObject(owner), m_host(host), m_owner(owner) {}

QAction *TActionList::Add(const TSpec &spec, TExecute execute, TUpdate update) {
    auto *action = new QAction(spec.Caption, m_owner);
    action->setObjectName(spec.Name);
    action->setProperty(CategoryProperty, spec.Category);
    if (!spec.Shortcut.isEmpty()) action->setShortcut(spec.Shortcut);
    if (!spec.Hint.isEmpty()) {
        action->setToolTip(spec.Hint);
        action->setStatusTip(spec.Hint);
    }
    action->setCheckable(spec.Checkable);
    m_owner->addAction(action);
    m_actions.append(action);
    m_entries.append({action, std::move(execute), std::move(update), spec.WhileBusy});
    connect(action, &QAction::triggered, this, [this, action] { Execute(action); });
    // The owner may still be building what the enabled test reads; the
    // first evaluation waits for the event loop (or an explicit UpdateAll).
    action->setEnabled(false);
    if (!m_updateQueued) {
        m_updateQueued = true;
        QMetaObject::invokeMethod(this, &TActionList::UpdateAll, Qt::QueuedConnection);
    }
    return action;
}

QAction *TActionList::Find(const QString &name) const {
    for (QAction *action : m_actions)
        if (action->objectName() == name) return action;
    for (QMenu *menu : m_submenus)
        if (menu->objectName() == name) return menu->menuAction();
    return nullptr;
}

QMenu *TActionList::AddSubmenu(const QString &name, const QString &caption, const QStringList &names) {
    auto *menu = new QMenu(caption, m_owner);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    AddByName(menu, names);
    m_submenus.append(menu);
    return menu;
}

void TActionList::AddByName(QWidget *target, const QStringList &names) {
    for (const QString &name : names) {
        if (name.isEmpty()) {
            // What QMenu::addSeparator and QToolBar::addSeparator do, for either.
            auto *separator = new QAction(target);
            separator->setSeparator(true);
            target->addAction(separator);
        } else if (QAction *action = Require(name, target->objectName())) {
            target->addAction(action);
        }
    }
}

QAction *TActionList::Require(const QString &name, const QString &where) {
    QAction *action = Find(name);
    if (!action) m_missing.append(where + QStringLiteral(": ") + name);
    return action;
}

QList<QAction *> TActionList::InCategory(const QString &category) const {
    QList<QAction *> result;
    for (QAction *action : m_actions)
        if (Category(action) == category) result.append(action);
    return result;
}

QString TActionList::Category(const QAction *action) {
    return action ? action->property(CategoryProperty).toString() : QString();
}

const TActionList::TEntry *TActionList::EntryOf(const QAction *action) const {
    for (const TEntry &entry : m_entries)
        if (entry.Action == action) return &entry;
    return nullptr;
}

bool TActionList::Evaluate(const TEntry &entry) const {
    bool enabled = false;
    try {
        // The test runs even while busy, so check marks stay true.
        const bool own = entry.Update ? entry.Update() : true;
        enabled = own && (entry.WhileBusy || (m_host.IsIdle() && !m_running));
    } catch (const std::exception &) {
        enabled = false;
    }
    entry.Action->setEnabled(enabled);
    return enabled;
}

void TActionList::Execute(QAction *action) {
    const TEntry *entry = EntryOf(action);
    if (!entry) return;
    // A shortcut or a queued click may arrive while an operation runs.
    if (!Evaluate(*entry)) {
        UpdateAll();
        return;
    }
    if (entry->WhileBusy) {
        if (entry->Execute) entry->Execute();
        return;
    }
    m_running = true;
    try {
        if (entry->Execute) entry->Execute();
    } catch (const std::exception &e) {
        m_host.ShowError(ExceptionText(e));
    }
    m_running = false;
    UpdateAll();
    emit Executed(action);
}

void TActionList::UpdateAll() {
    m_updateQueued = false;
    for (const TEntry &entry : m_entries)
        Evaluate(entry);
}

} // namespace lot
