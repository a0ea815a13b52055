#include "cli/CliHost.h"

namespace lot::cli {

TCliHost::TCliHost(QTextStream &err, bool verbose, bool assumeYes)
    : m_err(err), m_verbose(verbose), m_assumeYes(assumeYes) {}

QString TCliHost::TerminalText(const QString &text) {
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

void TCliHost::Print(const QString &text) {
    m_err << TerminalText(text) << '\n';
    m_err.flush();
}

void TCliHost::ShowStatus(const QString &text) {
    if (m_verbose && !text.isEmpty()) Print(text);
}

void TCliHost::ShowError(const QString &text) {
    ++m_errors;
    Print(text);
}

void TCliHost::ShowInformation(const QString &text) {
    Print(text);
}
void TCliHost::ShowAttention(const QString &text) {
    Print(text);
}
void TCliHost::ShowWarning(const QString &text) {
    Print(text);
}

bool TCliHost::Confirm(const QString &text, const QString &title, bool defaultNo) {
    Q_UNUSED(title);
    Q_UNUSED(defaultNo);
    Print(text);
    Print(m_assumeYes ? QStringLiteral("Ответ: да (--yes)")
                      : QStringLiteral("Ответ: нет (подтвердите параметром --yes)"));
    return m_assumeYes;
}

} // namespace lot::cli
