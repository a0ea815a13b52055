#pragma once
/// @file IHost for the command line: message boxes become lines on stderr,
/// confirmations are answered by --yes, and nothing ever waits for input.

#include "core/Host.h"

#include <QTextStream>

namespace lot::cli {

class TCliHost : public IHost {
public:
    /// err: where messages go; verbose: status texts too; assumeYes: the
    /// answer to every confirmation.
    TCliHost(QTextStream &err, bool verbose, bool assumeYes);

    void ShowStatus(const QString &text) override;
    void ShowError(const QString &text) override;
    void ShowInformation(const QString &text) override;
    void ShowAttention(const QString &text) override;
    void ShowWarning(const QString &text) override;
    bool Confirm(const QString &text, const QString &title = {}, bool defaultNo = false) override;

    /// Number of error messages shown so far.
    int ErrorCount() const { return m_errors; }

    /// Message text for a terminal: the CR line breaks of the message boxes
    /// become LF, so no line overwrites another.
    static QString TerminalText(const QString &text);

private:
    void Print(const QString &text);

    QTextStream &m_err;
    bool m_verbose;
    bool m_assumeYes;
    int m_errors = 0;
};

} // namespace lot::cli
