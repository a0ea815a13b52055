#pragma once
/// @file The description window of a method ("Описание методики расчета").

#include <QDialog>

class QTextBrowser;

namespace lot {

class TStatList;
class TWindowSettings;

/// A resizable tool window whose client area is a text browser showing the
/// description page of one registry entry (or the page of its help file,
/// once one exists). Its position and size are restored on opening and
/// stored on closing, in section "TFormFilterHelp" of the window settings.
class TFormFilterHelp : public QDialog {
    Q_OBJECT
public:
    static constexpr const char *Section = "TFormFilterHelp";

    TFormFilterHelp(const TStatList &registry, int entry, TWindowSettings &settings,
                    QWidget *parent = nullptr);
    ~TFormFilterHelp() override;

    /// Opens the window for the entry and shows it modally.
    static void Execute(const TStatList &registry, int entry, TWindowSettings &settings, QWidget *parent);

    QTextBrowser *Browser() const { return m_browser; }

private:
    void StorePlacement();

    TWindowSettings &m_settings;
    QTextBrowser *m_browser = nullptr;
    bool m_stored = false;
};

} // namespace lot
