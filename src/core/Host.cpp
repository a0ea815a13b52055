#include "core/Host.h"

#include "core/Errors.h"

namespace lot {

void IHost::BeginBusy() {
    if (++m_busy == 1) NotifyBusy(true);
}

void IHost::EndBusy() {
    if (m_busy == 0) return;
    if (--m_busy == 0) NotifyBusy(false);
}

void IHost::NotifyBusy(bool busy) {
    OnBusyChanged(busy);
    // A listener may remove itself: walk a copy.
    const auto listeners = m_busyListeners;
    for (const auto &[id, listener] : listeners)
        listener(busy);
}

int IHost::AddBusyListener(std::function<void(bool)> listener) {
    const int id = m_nextListener++;
    m_busyListeners[id] = std::move(listener);
    return id;
}

void IHost::RemoveBusyListener(int id) {
    m_busyListeners.erase(id);
}

void IHost::ProgressOpen(const QString &text, int steps, bool canCancel) {
    if (m_progressOpen) throw EError(QStringLiteral("Окно индикатора уже создано!"));
    m_progressOpen = true;
    m_progressCancelled = false;
    m_progressCanCancel = canCancel;
    m_progressPos = 0;
    m_progressMax = steps < 0 ? 0 : steps;
    m_progressText = text;
    OnProgressChanged();
}

void IHost::ProgressStep(int steps) {
    if (!m_progressOpen) return;
    m_progressPos = qMin(m_progressMax, m_progressPos + qMax(0, steps));
    OnProgressChanged();
    ProcessMessages();
}

void IHost::ProgressText(const QString &text) {
    m_progressText = text;
    if (m_progressOpen) OnProgressChanged();
}

void IHost::ProgressClose() {
    if (!m_progressOpen) return;
    m_progressOpen = false;
    OnProgressChanged();
}

} // namespace lot
