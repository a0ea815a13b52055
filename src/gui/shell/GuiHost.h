#pragma once

#include "core/Host.h"

#include <functional>
#include <QObject>
#include <QPointer>

class QLabel;
class QWidget;

namespace lot {

class TFormProgress;
class TFormWait;

/// The five kinds of the standard message boxes.
enum class TMessageKind { Error, Information, Attention, Warning, Confirmation };

/// The window system's side of IHost: wait cursor while busy, the status
/// line, modal message boxes, the progress and wait windows.
class TGuiHost : public QObject, public IHost {
    Q_OBJECT
public:
    /// Stands in for the modal message boxes (tests, automation): receives the
    /// kind, the title and the text; its result answers a confirmation.
    using TMessageInterceptor =
        std::function<bool(TMessageKind kind, const QString &title, const QString &text)>;

    /// Stands in for the file dialogs: receives whether a file is saved and
    /// the filter; an empty result cancels.
    using TFileInterceptor = std::function<QString(bool save, const QString &filter)>;

    explicit TGuiHost(QObject *parent = nullptr);
    ~TGuiHost() override;

    /// Owner of the message boxes and the progress window.
    void SetWindow(QWidget *window);
    /// The status bar panel that ShowStatus writes to.
    void SetStatusLabel(QLabel *label);
    void SetMessageInterceptor(TMessageInterceptor interceptor);
    void SetFileInterceptor(TFileInterceptor interceptor);

    /// Asks for a file to open or to save; filter as "Файлы тиражей (*.csv)",
    /// defaultSuffix without the dot; the dialog opens in the folder of the
    /// last choice, else in startDir when given. Empty when cancelled.
    QString ChooseFile(bool save, const QString &filter, const QString &defaultSuffix,
                       const QString &startDir = {});

    static QString MessageTitle(TMessageKind kind);

    void ShowStatus(const QString &text) override;
    void ProcessMessages() override;

    void ShowError(const QString &text) override;
    void ShowInformation(const QString &text) override;
    void ShowAttention(const QString &text) override;
    void ShowWarning(const QString &text) override;
    bool Confirm(const QString &text, const QString &title = {}, bool defaultNo = false) override;

    void WaitShow(const QString &text) override;
    void WaitText(const QString &text) override;
    void WaitClose() override;

    bool OpenWithDefault(const QString &pathOrUrl) override;

    QString StatusText() const;
    bool IsWaitOpen() const;
    /// The progress window while one is open (tests look at it).
    TFormProgress *ProgressWindow() const;

signals:
    /// Emitted when the busy counter leaves or returns to zero, so the
    /// window can disable and re-enable its actions at once.
    void BusyChanged(bool busy);

protected:
    void OnBusyChanged(bool busy) override;
    void OnProgressChanged() override;

private:
    bool ShowMessage(TMessageKind kind, const QString &title, const QString &text, bool defaultNo);

    QPointer<QWidget> m_window;
    QPointer<QLabel> m_statusLabel;
    QPointer<TFormProgress> m_progress;
    QPointer<TFormWait> m_wait;
    TMessageInterceptor m_interceptor;
    TFileInterceptor m_fileInterceptor;
    QString m_lastDir;
    int m_processDepth = 0;
};

} // namespace lot
