#include "gui/shell/GuiHost.h"

#include "gui/shell/FormProgress.h"
#include "gui/shell/FormWait.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace lot {

namespace {

// Message texts keep the system's CR line breaks; the label wants LF.
QString DisplayText(const QString &text) {
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

QWidget *CentreOf(QWidget *window) {
    return window ? window : QApplication::activeWindow();
}

} // namespace

TGuiHost::TGuiHost(QObject *parent) : QObject(parent) {}

TGuiHost::~TGuiHost() {
    delete m_progress;
    delete m_wait;
    if (BusyCount() > 0) QApplication::restoreOverrideCursor();
}

void TGuiHost::SetWindow(QWidget *window) {
    m_window = window;
}
void TGuiHost::SetStatusLabel(QLabel *label) {
    m_statusLabel = label;
}
void TGuiHost::SetMessageInterceptor(TMessageInterceptor interceptor) {
    m_interceptor = std::move(interceptor);
}

void TGuiHost::SetFileInterceptor(TFileInterceptor interceptor) {
    m_fileInterceptor = std::move(interceptor);
}

QString TGuiHost::ChooseFile(bool save, const QString &filter, const QString &defaultSuffix,
                             const QString &startDir) {
    if (m_fileInterceptor) return m_fileInterceptor(save, filter);
    QFileDialog dialog(CentreOf(m_window));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(defaultSuffix);
    if (!m_lastDir.isEmpty())
        dialog.setDirectory(m_lastDir);
    else if (!startDir.isEmpty())
        dialog.setDirectory(startDir);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString file = dialog.selectedFiles().constFirst();
    m_lastDir = QFileInfo(file).absolutePath();
    return file;
}

QString TGuiHost::MessageTitle(TMessageKind kind) {
    switch (kind) {
    case TMessageKind::Error:
        return QStringLiteral("Ошибка");
    case TMessageKind::Information:
        return QStringLiteral("Информация");
    case TMessageKind::Attention:
        return QStringLiteral("Внимание!");
    case TMessageKind::Warning:
        return QStringLiteral("Предупреждение");
    case TMessageKind::Confirmation:
        return QStringLiteral("Подтверждение");
    }
    return {};
}

void TGuiHost::ShowStatus(const QString &text) {
    if (m_statusLabel) {
        m_statusLabel->setText(text);
        m_statusLabel->repaint();
    }
    ProcessMessages();
}

// User input is let through on purpose: "Стоп" has to reach the script while
// it runs. Every action is disabled while busy, so input cannot start a second
// operation; the depth guard keeps a nested status update from recursing.
void TGuiHost::ProcessMessages() {
    if (m_processDepth > 0 || !QCoreApplication::instance()) return;
    ++m_processDepth;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    --m_processDepth;
}

void TGuiHost::ShowError(const QString &text) {
    ShowMessage(TMessageKind::Error, {}, text, false);
}
void TGuiHost::ShowInformation(const QString &text) {
    ShowMessage(TMessageKind::Information, {}, text, false);
}
void TGuiHost::ShowAttention(const QString &text) {
    ShowMessage(TMessageKind::Attention, {}, text, false);
}
void TGuiHost::ShowWarning(const QString &text) {
    ShowMessage(TMessageKind::Warning, {}, text, false);
}

bool TGuiHost::Confirm(const QString &text, const QString &title, bool defaultNo) {
    return ShowMessage(TMessageKind::Confirmation, title, text, defaultNo);
}

bool TGuiHost::ShowMessage(TMessageKind kind, const QString &title, const QString &text, bool defaultNo) {
    const QString caption = title.isEmpty() ? MessageTitle(kind) : title;
    if (m_interceptor) return m_interceptor(kind, caption, text);

    // A box opened while busy must still show the normal cursor.
    const bool busyCursor = BusyCount() > 0;
    if (busyCursor) QApplication::setOverrideCursor(Qt::ArrowCursor);

    QMessageBox box(CentreOf(m_window));
    box.setWindowTitle(caption);
    box.setText(DisplayText(text));
    box.setTextFormat(Qt::PlainText);
    bool result = true;
    switch (kind) {
    case TMessageKind::Error:
        box.setIcon(QMessageBox::Critical);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case TMessageKind::Information:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case TMessageKind::Attention:
    case TMessageKind::Warning:
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case TMessageKind::Confirmation: {
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
        box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
        box.setDefaultButton(defaultNo ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        break;
    }
    }
    const int answer = box.exec();
    if (kind == TMessageKind::Confirmation) result = answer == QMessageBox::Yes;
    if (busyCursor) QApplication::restoreOverrideCursor();
    return result;
}

void TGuiHost::OnBusyChanged(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
    emit BusyChanged(busy);
}

void TGuiHost::OnProgressChanged() {
    if (!ProgressIsOpen()) {
        if (m_progress) {
            m_progress->hide();
            m_progress->deleteLater();
            m_progress = nullptr;
        }
        return;
    }
    if (!m_progress) {
        m_progress = new TFormProgress(m_window, ProgressCanCancel(), [this] { RequestProgressCancel(); });
        m_progress->SetState(ProgressCaption(), ProgressPosition(), ProgressMax());
        m_progress->show();
        m_progress->raise();
    }
    m_progress->SetState(ProgressCaption(), ProgressPosition(), ProgressMax());
}

TFormProgress *TGuiHost::ProgressWindow() const {
    return m_progress;
}

void TGuiHost::WaitShow(const QString &text) {
    if (!m_wait) {
        m_wait = new TFormWait(m_window);
        m_wait->SetText(text);
        m_wait->show();
        m_wait->raise();
    } else {
        m_wait->SetText(text);
    }
    ShowStatus(text);
}

void TGuiHost::WaitText(const QString &text) {
    if (m_wait) m_wait->SetText(text);
    ShowStatus(text);
}

void TGuiHost::WaitClose() {
    if (!m_wait) return;
    m_wait->hide();
    m_wait->deleteLater();
    m_wait = nullptr;
}

bool TGuiHost::IsWaitOpen() const {
    return m_wait != nullptr;
}

QString TGuiHost::StatusText() const {
    return m_statusLabel ? m_statusLabel->text() : QString();
}

bool TGuiHost::OpenWithDefault(const QString &pathOrUrl) {
    const QUrl url = QFileInfo::exists(pathOrUrl) ? QUrl::fromLocalFile(pathOrUrl) : QUrl(pathOrUrl);
    return url.isValid() && QDesktopServices::openUrl(url);
}

} // namespace lot
