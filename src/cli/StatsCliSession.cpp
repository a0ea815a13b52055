#include "cli/StatsCliSession.h"

namespace lot::cli {

TStatsCliSession::TStatsCliSession(TCliContext &ctx, const QString &name)
    : m_name(name), m_host(std::make_unique<TCliHost>(ctx.Err, ctx.Verbose, ctx.AssumeYes)),
      m_ws(std::make_unique<TWorkspace>(*m_host, ctx.DataDir)),
      m_stats(std::make_unique<TStatList>(&m_ws->Archive(), m_ws->DataDir())) {
    m_stats->SetHost(m_host.get());
}

bool TStatsCliSession::Open(bool loadDraws) {
    // The order of the window's start-up: the parameter ranges depend on the
    // game settings, the favourites and names on the registered entries.
    m_stats->LoadCombsGenerate();
    m_stats->LoadSettings();
    m_stats->LoadShredding();
    m_stats->RegisterAll();
    m_stats->LoadFilterList(m_stats->FilterListFileName(), true);
    return !loadDraws || m_ws->LoadDraws();
}

int TStatsCliSession::FindMethod(const QString &code) {
    const int entry = m_stats->FindEntry(code);
    if (entry < 0) Fail(QStringLiteral("unknown method code: ") + code);
    return entry;
}

int TStatsCliSession::Fail(const QString &message) {
    m_host->ShowError(m_name + QStringLiteral(": ") + message);
    return 1;
}

} // namespace lot::cli
