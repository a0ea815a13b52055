#pragma once
/// @file The favourites manager ("Менеджер избранных методов расчета
/// статистики"): a tree of the methods by group in which the player marks
/// the favourites and renames methods, with the names' import and export
/// and the three display options.

#include "stats/Favourites.h"

#include <QDialog>
#include <QIcon>

class QCheckBox;
class QLabel;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

namespace lot {

class TActionList;
class TGuiHost;
class TWorkspace;

class TFormManager : public QDialog {
    Q_OBJECT
public:
    /// Image indexes of the tree's nodes.
    enum TImage { imUnmarked = 0, imMarked = 1, imGroup = 2 };

    TFormManager(TWorkspace &workspace, TGuiHost &host, QWidget *parent = nullptr);

    /// FiltersManager: shows the dialog; on "ОК" applies the tree, the
    /// options, saves and refills (TStatsController::ApplyFavourites).
    static bool Execute(TWorkspace &workspace, TGuiHost &host, QWidget *parent);

    /// The methods as the tree holds them: marks and names.
    QList<TMethodEdit> Edits() const;
    TDisplayOptions Options() const;

    QTreeWidget *Tree() const { return m_tree; }
    TActionList &Actions() const { return *m_actions; }
    QLabel *CountLabel() const { return m_count; }
    /// The method node of an entry; nullptr when the tree has none.
    QTreeWidgetItem *NodeOf(int entry) const;
    static int EntryOf(const QTreeWidgetItem *node);
    static int ImageOf(const QTreeWidgetItem *node);

    /// Builds the tree from the registry (busy, status "Подождите пожалуйста...").
    void BuildTree();
    /// A click on a method node switches its mark; group nodes stay.
    void ToggleNode(QTreeWidgetItem *node);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateActions();
    void SetImage(QTreeWidgetItem *node, int image);
    void MarkAll(bool marked);
    void MarkGroup(bool marked);
    /// The selected node when it is a method node.
    QTreeWidgetItem *SelectedMethod() const;
    void RenameExecute();
    void ResetNameExecute();
    void NamesImportExecute();
    void NamesExportExecute();
    void InfoExecute();

    TWorkspace &m_ws;
    TGuiHost &m_host;
    TActionList *m_actions = nullptr;
    QTreeWidget *m_tree = nullptr;
    QMenu *m_popup = nullptr;
    QLabel *m_count = nullptr;
    QCheckBox *m_ordered = nullptr;
    QCheckBox *m_showGroupName = nullptr;
    QCheckBox *m_showMethodFlags = nullptr;
    QIcon m_images[3];
};

} // namespace lot
