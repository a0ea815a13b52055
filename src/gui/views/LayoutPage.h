#pragma once
/// @file The layout "Схема": numbers by how often (rows) and how recently
/// (columns) they came out over a sample, with five side lists.

#include "gui/shell/Page.h"

#include <QWidget>

class QSpinBox;
class QTableWidget;
class QMenu;

namespace lot {

class TLayoutPage : public QWidget, public TPage {
    Q_OBJECT
public:
    static constexpr int DefaultLength = 100;
    static constexpr int ListCount = 5;
    static constexpr int DefaultListLengths[ListCount] = {50, 100, 200, 300, 400};

    TLayoutPage(TWorkspace &workspace, TGuiHost &host, TActionList &actions, QWidget *parent = nullptr);

    QString Caption() const override;
    TPageControl Control() const override { return TPageControl::Main; }
    QList<TMenuEntries> MenuEntries() const override;
    void LoadWindowSettings(const TWindowSettings &settings, const QString &section) override;
    void SaveWindowSettings(TWindowSettings &settings, const QString &section) const override;

    QTableWidget *Grid() const { return m_grid; }
    QTableWidget *List(int i) const { return m_lists[i]; }
    QSpinBox *LengthEdit() const { return m_edLen; }
    QSpinBox *ListLengthEdit(int i) const { return m_edLists[i]; }

    /// The layout; without force only when archive length, offset or length changed.
    void RecomputeLayout(bool force);
    /// The side lists; without force only when archive length or offset changed.
    void RecomputeLists(bool force);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void CreateActions();
    void PaintGrid();

    TWorkspace &m_ws;
    TGuiHost &m_host;
    QSpinBox *m_edLen = nullptr;
    QTableWidget *m_grid = nullptr;
    QSpinBox *m_edLists[ListCount] = {};
    QTableWidget *m_lists[ListCount] = {};
    QMenu *m_popup = nullptr;
    bool m_gradient = true;
    struct TState {
        int Count = -1, Offset = -1, Length = -1;
        bool operator==(const TState &) const = default;
    } m_layoutState, m_listsState;
};

} // namespace lot
