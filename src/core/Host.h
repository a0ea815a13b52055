#pragma once
/// @file IHost: how the engine reaches the user. The GUI implements it with
/// Qt widgets, the command line with stderr and options, the tests with a
/// recording fake. It lives in core because every engine area reports
/// through it.

#include <QString>

#include <functional>
#include <map>

namespace lot {

class IHost {
public:
    virtual ~IHost() = default;

    // ---- busy state (counter kept here; hooks tell the front end) ----
    void BeginBusy();
    void EndBusy(); ///< never below 0
    bool IsIdle() const { return m_busy == 0; }
    int BusyCount() const { return m_busy; }
    /// listener(true) when the host becomes busy, listener(false) when it is
    /// idle again (after the front end's own OnBusyChanged). Returns an id
    /// for RemoveBusyListener.
    int AddBusyListener(std::function<void(bool)> listener);
    void RemoveBusyListener(int id);

    /// Puts the text into the status line and lets pending events run.
    virtual void ShowStatus(const QString &text) = 0;
    /// Lets pending events run (repaint, "Стоп").
    virtual void ProcessMessages() {}

    // ---- the five message boxes ----
    virtual void ShowError(const QString &text) = 0;       ///< "Ошибка"
    virtual void ShowInformation(const QString &text) = 0; ///< "Информация"
    virtual void ShowAttention(const QString &text) = 0;   ///< "Внимание!"
    virtual void ShowWarning(const QString &text) = 0;     ///< "Предупреждение"
    /// Yes/No question; title empty means "Подтверждение".
    virtual bool Confirm(const QString &text, const QString &title = {}, bool defaultNo = false) = 0;

    // ---- progress window (one at a time) and wait window ----
    /// Raises EError "Окно индикатора уже создано!" when one is open.
    void ProgressOpen(const QString &text, int steps, bool canCancel = false);
    void ProgressStep(int steps = 1); ///< never past the last step
    void ProgressText(const QString &text);
    void ProgressClose();
    bool ProgressIsOpen() const { return m_progressOpen; }
    int ProgressPosition() const { return m_progressPos; }
    int ProgressMax() const { return m_progressMax; }
    /// True after the user pressed "Отмена" in the progress window.
    bool ProgressCancelled() const { return m_progressCancelled; }
    bool ProgressCanCancel() const { return m_progressCanCancel; }
    void RequestProgressCancel() { m_progressCancelled = true; }

    virtual void WaitShow(const QString &text) { ShowStatus(text); }
    virtual void WaitText(const QString &text) { ShowStatus(text); }
    virtual void WaitClose() {}

    /// Opens a file or address with the system's default handler.
    virtual bool OpenWithDefault(const QString &pathOrUrl) {
        Q_UNUSED(pathOrUrl);
        return false;
    }

protected:
    virtual void OnBusyChanged(bool busy) { Q_UNUSED(busy); }
    virtual void OnProgressChanged() {} ///< opened, stepped, text changed or closed

private:
    void NotifyBusy(bool busy);

    int m_busy = 0;
    std::map<int, std::function<void(bool)>> m_busyListeners;
    int m_nextListener = 0;
    bool m_progressOpen = false;
    bool m_progressCancelled = false;
    bool m_progressCanCancel = false;
    int m_progressPos = 0;
    int m_progressMax = 0;
    QString m_progressText;

public:
    const QString &ProgressCaption() const { return m_progressText; }
};

/// RAII busy guard: BeginBusy now, EndBusy (and an empty status line, when
/// asked) on every exit path.
class TBusyGuard {
public:
    explicit TBusyGuard(IHost &host, bool clearStatus = true) : m_host(host), m_clear(clearStatus) {
        m_host.BeginBusy();
    }
    ~TBusyGuard() {
        if (m_clear) m_host.ShowStatus(QString());
        m_host.EndBusy();
    }
    TBusyGuard(const TBusyGuard &) = delete;
    TBusyGuard &operator=(const TBusyGuard &) = delete;

private:
    IHost &m_host;
    bool m_clear;
};

/// Closes the progress window on every exit path.
class TProgressGuard {
public:
    TProgressGuard(IHost &host, const QString &text, int steps, bool canCancel = false) : m_host(host) {
        m_host.ProgressOpen(text, steps, canCancel);
    }
    ~TProgressGuard() { m_host.ProgressClose(); }
    TProgressGuard(const TProgressGuard &) = delete;
    TProgressGuard &operator=(const TProgressGuard &) = delete;

private:
    IHost &m_host;
};

} // namespace lot
