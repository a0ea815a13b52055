#pragma once

#include "filters/Filter.h"

#include <array>
#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace lot {

class IHost;
class TStatList;
class TStatTable;

/// The line dialog: comment, options (source list, excluded draws, stake
/// mode, the two boxes) and the seven filter fields, each with a button
/// "..." that edits it in the filter dialog. On OK the line is
/// JoinScriptLine of the fields as typed; nothing else is validated.
class TFormScript : public QDialog {
    Q_OBJECT
public:
    /// stats and table: what the filter dialog offers (methods, sample length).
    TFormScript(const TStatList &stats, const TStatTable &table, IHost *host = nullptr,
                QWidget *parent = nullptr);

    /// EditScriptLine: title set by the caller ("Создание новой строки",
    /// "Редактирование строки"), excludedDraws the combination tab's value,
    /// line the line to fill from (empty: a new one). On OK line becomes the
    /// new line and true is returned.
    static bool EditScriptLine(const TStatList &stats, const TStatTable &table, IHost *host, QWidget *parent,
                               const QString &title, int excludedDraws, QString &line);

    /// The excluded-draws field before a line fills the dialog.
    void SetExcludedDraws(int draws);
    /// Fills the fields from a line; an empty line leaves a new one.
    void SetLine(const QString &line);
    /// The line the fields make.
    QString Line() const;
    /// What "..." and a double click do: reads field slot (1..7) with
    /// TextToFilter, edits it in the filter dialog and on OK writes
    /// FilterToText of the result into the field.
    bool EditFilterField(int slot);

    QLineEdit *CommentEdit() const { return m_edComment; }
    QComboBox *SourceBox() const { return m_cbSource; }
    QSpinBox *DrawsEdit() const { return m_edDraws; }
    QComboBox *StakeModeBox() const { return m_cbStakeMode; }
    QCheckBox *ClearStakesBox() const { return m_chClear; }
    QCheckBox *NewOnlyBox() const { return m_chNewOnly; }
    /// slot 1..7.
    QLineEdit *FilterEdit(int slot) const;
    QPushButton *FilterButton(int slot) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const TStatList &m_stats;
    const TStatTable &m_table;
    IHost *m_host;
    QLineEdit *m_edComment = nullptr;
    QComboBox *m_cbSource = nullptr;
    QSpinBox *m_edDraws = nullptr;
    QComboBox *m_cbStakeMode = nullptr;
    QCheckBox *m_chClear = nullptr;
    QCheckBox *m_chNewOnly = nullptr;
    std::array<QLineEdit *, FilterSlotCount> m_edFilters{};
    std::array<QPushButton *, FilterSlotCount> m_btFilters{};
};

} // namespace lot
