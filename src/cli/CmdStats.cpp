// "stats": the statistics table of one method, as the statistics tab shows it.

#include "cli/CliHost.h"
#include "cli/Command.h"
#include "core/Format.h"
#include "shell/Workspace.h"
#include "stats/StatTable.h"

namespace lot::cli {

class TStatsCommand : public TCommand {
public:
    int Run(TCliContext &ctx) override;

private:
    int Fail(const QString &message);
    /// Reads an integer option within bounds; false (reported) when it is not one.
    bool ReadInt(const QString &name, const QString &text, int min, int max, int &value);

    std::unique_ptr<TCliHost> m_host;
};

int TStatsCommand::Fail(const QString &message) {
    m_host->ShowError(message);
    return 1;
}

bool TStatsCommand::ReadInt(const QString &name, const QString &text, int min, int max, int &value) {
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok || v < min || v > max) {
        Fail(Format(QStringLiteral("stats: %s must be an integer %d..%d"), {name, min, max}));
        return false;
    }
    value = int(v);
    return true;
}

int TStatsCommand::Run(TCliContext &ctx) {
    m_host = std::make_unique<TCliHost>(ctx.Err, ctx.Verbose, ctx.AssumeYes);
    QStringList args = ctx.Args;
    QString lenText, offsetText, sortText;
    const bool hasLen = TakeOption(args, QStringLiteral("--len"), lenText);
    const bool hasOffset = TakeOption(args, QStringLiteral("--offset"), offsetText);
    const bool hasSort = TakeOption(args, QStringLiteral("--sort"), sortText);
    const bool sorted = TakeFlag(args, QStringLiteral("--sorted"));
    const bool prefetch = TakeFlag(args, QStringLiteral("--prefetch"));
    const bool descending = TakeFlag(args, QStringLiteral("--desc"));
    if (args.isEmpty()) return Fail(QStringLiteral("stats: missing method CODE"));
    const QString code = args.takeFirst();
    if (!args.isEmpty()) return Fail(QStringLiteral("stats: unexpected argument: ") + args.first());
    if (!hasLen) return Fail(QStringLiteral("stats: --len L is required"));

    int length = 0;
    if (!ReadInt(QStringLiteral("--len"), lenText, TStatTable::MinSampleLength, TStatTable::MaxSampleLength,
                 length))
        return 1;
    int sortColumn = scCount;
    if (hasSort && !ReadInt(QStringLiteral("--sort"), sortText, 0, StatColumnCount - 1, sortColumn)) return 1;

    TWorkspace ws(*m_host, ctx.DataDir);
    // Read-only: no data lock and no window settings, so nothing on disk
    // changes except prefetch files that --prefetch has to build.
    if (!ws.LoadDraws()) return 1;
    ws.LoadGameSettings();
    if (ws.Archive().IsEmpty()) return Fail(QStringLiteral("stats: the draws archive is empty"));

    int offset = 0;
    if (hasOffset && !ReadInt(QStringLiteral("--offset"), offsetText, 0, ws.MaxDrawsOffset(), offset))
        return 1;
    ws.Archive().SetOffset(offset);

    const int entry = ws.Stats().FindEntry(code);
    if (entry < 0) return Fail(Format(QStringLiteral("stats: unknown method \"%s\""), {code}));
    TStatTable &table = ws.StatTable();
    if (!table.SelectEntry(entry))
        return Fail(Format(QStringLiteral("stats: method \"%s\" is not listed in the statistics selector"),
                           {ws.Stats().EntryCode(entry)}));
    table.SetSampleLength(length);
    table.SetSort(sortColumn, descending);
    ws.Prefetchs().SetEnabled(prefetch);
    table.SetSortedDraws(sorted);
    try {
        table.ComputeStatistics(true);
    } catch (const std::exception &e) {
        return Fail(ExceptionText(e));
    }

    for (const QString &line : table.TextLines())
        ctx.Out << line << '\n';
    return 0;
}

REGISTER_CLI_COMMAND(
    TStatsCommand, "stats",
    "stats CODE --len L [--offset K] [--sorted] [--prefetch] [--sort COL] [--desc]\n"
    "    the statistics table of method CODE over the L newest draws in use (tab-separated:\n"
    "    the 20 column captions, one line per row, then the summary figures); --sort takes\n"
    "    a column number 0..19 (default 1, \"Количество\"), --prefetch compares with the\n"
    "    full set (building a missing prefetch file first)");

} // namespace lot::cli
