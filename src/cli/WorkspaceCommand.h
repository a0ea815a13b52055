#pragma once
/// @file TWorkspaceCommand: the base of every subcommand that works on the
/// data folder. It opens the workspace the way the window does at start, as
/// far as the command needs it, so a command implements only its own work:
/// it checks its arguments, calls Open() and does what it is for.

#include "cli/CliHost.h"
#include "cli/Command.h"
#include "shell/Workspace.h"

#include <memory>
#include <QString>
#include <QStringList>

namespace lot::cli {

class TWorkspaceCommand : public TCommand {
public:
    /// name: the subcommand ("draws", "stats", ...).
    explicit TWorkspaceCommand(const QString &name) : m_name(name) {}

    int Run(TCliContext &ctx) final;

protected:
    /// What a command opens. Commands that change data take the data lock,
    /// so they refuse to run beside a window on the same folder; reading
    /// commands need no lock.
    struct TNeeds {
        /// The window settings, read only: the switches a run of the
        /// window would use (sorted draws, prefetch files, stake and
        /// script options), so the command does what the window does.
        bool WindowSettings = false;
        bool DataLock = false;     ///< the stakes file, as at start-up
        bool GameSettings = false; ///< game settings, methods and filter list file
        /// The game settings must have been read (the command's output
        /// depends on them); without it their defaults do, as in the window.
        bool SettingsRequired = false;
        bool Draws = false; ///< the draws file
        /// A damaged draws file is reported and the command goes on with its
        /// valid records, as the window does, ending with status 1. Without
        /// it a damaged file stops the command.
        bool KeepDamagedDraws = false;
    };
    /// The command's own work; returns the exit status.
    virtual int Execute() = 0;
    /// Opens what the command needs, in the order of the window's start-up.
    /// False when the command cannot go on (its reason is shown).
    bool Open(const TNeeds &needs);

    const QString &Name() const { return m_name; }
    TCliContext &Ctx() { return *m_ctx; }
    QTextStream &Out() { return m_ctx->Out; }
    /// The arguments after the subcommand name; commands take theirs out.
    QStringList &Args() { return m_args; }
    const QStringList &Args() const { return m_args; }
    TCliHost &Host() { return *m_host; }
    TWorkspace &Ws() { return *m_ws; }

    /// Shows message and returns the failure status.
    int Fail(const QString &message);
    /// Fail("<name>: " + message).
    int FailUsage(const QString &message);
    /// Reports an argument nobody took; true when there was none.
    bool NoExtraArguments();
    /// Reads an integer option within bounds; false (reported as "<name>:
    /// <option> must be an integer <min>..<max>") when it is not one.
    bool ReadInt(const QString &option, const QString &text, int min, int max, int &value);
    /// A path given on the command line, absolute.
    static QString AbsolutePath(const QString &path);

private:
    QString m_name;
    TCliContext *m_ctx = nullptr;
    QStringList m_args;
    std::unique_ptr<TCliHost> m_host;
    std::unique_ptr<TWorkspace> m_ws;
    bool m_drawsFailed = false;
};

} // namespace lot::cli
