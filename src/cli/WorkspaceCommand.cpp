#include "cli/WorkspaceCommand.h"

#include "core/Format.h"

#include <QFileInfo>

namespace lot::cli {

int TWorkspaceCommand::Run(TCliContext &ctx) {
    m_ctx = &ctx;
    m_args = ctx.Args;
    m_host = std::make_unique<TCliHost>(ctx.Err, ctx.Verbose, ctx.AssumeYes);
    m_ws = std::make_unique<TWorkspace>(*m_host, ctx.DataDir);
    // No views to keep up to date: every command computes what it prints.
    m_ws->SetViewsFrozen(true);
    const int status = Execute();
    return m_drawsFailed ? 1 : status;
}

bool TWorkspaceCommand::Open(const TNeeds &needs) {
    // The window settings are read only when asked for, and never written:
    // the command line has no window, and a command must not rewrite the file.
    if (needs.WindowSettings && !m_ws->ReadWindowSettings()) return false;
    if (needs.GameSettings && !m_ws->LoadGameSettings() && needs.SettingsRequired) return false;
    if (needs.DataLock && !m_ws->Stakes().AcquireDataLock()) return false;
    // A command that checks stakes saves the ratings: they must hold the file's rows first.
    if (needs.DataLock && !m_ws->Stakes().ReadRatings()) return false;
    if (needs.Draws && !m_ws->Archive().LoadDraws()) {
        if (!needs.KeepDamagedDraws) return false;
        m_drawsFailed = true;
    }
    return true;
}

int TWorkspaceCommand::Fail(const QString &message) {
    m_host->ShowError(message);
    return 1;
}

int TWorkspaceCommand::FailUsage(const QString &message) {
    return Fail(m_name + QStringLiteral(": ") + message);
}

bool TWorkspaceCommand::NoExtraArguments() {
    if (m_args.isEmpty()) return true;
    FailUsage(QStringLiteral("unexpected argument: ") + m_args.first());
    return false;
}

bool TWorkspaceCommand::ReadInt(const QString &option, const QString &text, int min, int max, int &value) {
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok || v < min || v > max) {
        FailUsage(Format(QStringLiteral("%s must be an integer %d..%d"), {option, min, max}));
        return false;
    }
    value = int(v);
    return true;
}

QString TWorkspaceCommand::AbsolutePath(const QString &path) {
    return QFileInfo(path).absoluteFilePath();
}

} // namespace lot::cli
