#pragma once
/// @file What the statistics subcommands share: the data folder's archive
/// and method registry, prepared the way the window prepares them at start.

#include "cli/CliHost.h"
#include "cli/Command.h"
#include "shell/Workspace.h"
#include "stats/StatList.h"

#include <memory>

namespace lot::cli {

class TStatsCliSession {
public:
    /// name: the subcommand, used as the prefix of its own messages.
    TStatsCliSession(TCliContext &ctx, const QString &name);

    /// Game settings, registration and the filter list file, as at start-up
    /// (their errors are reported and the defaults stay, as in the window);
    /// with loadDraws also the draws file. False when the draws file failed.
    bool Open(bool loadDraws);

    TCliHost &Host() { return *m_host; }
    TWorkspace &Workspace() { return *m_ws; }
    TStatList &Stats() { return *m_stats; }

    /// The entry with this code; -1 after reporting an unknown code.
    int FindMethod(const QString &code);
    /// Reports "<name>: <message>" and returns the failure status.
    int Fail(const QString &message);

private:
    QString m_name;
    std::unique_ptr<TCliHost> m_host;
    std::unique_ptr<TWorkspace> m_ws;
    std::unique_ptr<TStatList> m_stats;
};

} // namespace lot::cli
