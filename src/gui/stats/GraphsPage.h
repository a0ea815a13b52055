#pragma once
/// @file The graphs tab "Графики": the graph value of one method over the
/// newest draws in use, with its mean and its most frequent value.

#include "gui/shell/Page.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace lot {

class TGraphChart;

class TGraphsPage : public QWidget, public TPage {
    Q_OBJECT
public:
    static constexpr int DefaultLength = 100;

    TGraphsPage(TWorkspace &workspace, TGuiHost &host, TActionList &actions, QWidget *parent = nullptr);

    QString Caption() const override;
    TPageControl Control() const override { return TPageControl::Main; }
    QList<TMenuEntries> MenuEntries() const override;
    void LoadWindowSettings(const TWindowSettings &settings, const QString &section) override;
    void SaveWindowSettings(TWindowSettings &settings, const QString &section) const override;
    QList<TScreenshotRender> ScreenshotRenders() const override;

    QComboBox *MethodSelector() const { return m_cbMethod; }
    QSpinBox *LengthEdit() const { return m_edLen; }
    QCheckBox *MarksBox() const { return m_cbMarks; }
    TGraphChart *Chart() const { return m_chart; }

    /// Draws the graph; without force it skips the work when nothing it
    /// depends on changed since the last drawing.
    void Recompute(bool force);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateActions();
    void FillSelector();
    void SumsDistributionExecute();

    TWorkspace &m_ws;
    TGuiHost &m_host;
    QComboBox *m_cbMethod = nullptr;
    QSpinBox *m_edLen = nullptr;
    QCheckBox *m_cbMarks = nullptr;
    TGraphChart *m_chart = nullptr;
    /// What the last drawing was made of: archive length, offset, sample
    /// length and method entry.
    struct TDrawn {
        int Count = -1, Offset = -1, Length = -1, Entry = -1;
        bool operator==(const TDrawn &) const = default;
    } m_drawn;
    QList<int> m_entries; ///< the selector's entries
};

} // namespace lot
