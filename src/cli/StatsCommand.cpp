// "stats": the statistics table of one method, as the statistics tab shows it.

#include "cli/WorkspaceCommand.h"
#include "core/Format.h"
#include "export/ListSheets.h"
#include "export/XlsxExport.h"
#include "stats/StatTable.h"

namespace lot::cli {

class TStatsCommand : public TWorkspaceCommand {
public:
    TStatsCommand() : TWorkspaceCommand(QStringLiteral("stats")) {}

protected:
    int Execute() override;
};

int TStatsCommand::Execute() {
    QStringList &args = Args();
    QString lenText, offsetText, sortText;
    const bool hasLen = TakeOption(args, QStringLiteral("--len"), lenText);
    const bool hasOffset = TakeOption(args, QStringLiteral("--offset"), offsetText);
    const bool hasSort = TakeOption(args, QStringLiteral("--sort"), sortText);
    QString outFile;
    const bool toSheet = TakeOption(args, QStringLiteral("--out"), outFile);
    const bool sorted = TakeFlag(args, QStringLiteral("--sorted"));
    const bool prefetch = TakeFlag(args, QStringLiteral("--prefetch"));
    const bool descending = TakeFlag(args, QStringLiteral("--desc"));
    if (args.isEmpty()) return FailUsage(QStringLiteral("missing method CODE"));
    const QString code = args.takeFirst();
    if (!NoExtraArguments()) return 1;
    if (!hasLen) return FailUsage(QStringLiteral("--len L is required"));

    int length = 0;
    if (!ReadInt(QStringLiteral("--len"), lenText, TStatTable::MinSampleLength, TStatTable::MaxSampleLength,
                 length))
        return 1;
    int sortColumn = scCount;
    if (hasSort && !ReadInt(QStringLiteral("--sort"), sortText, 0, StatColumnCount - 1, sortColumn)) return 1;

    // Read-only: no data lock and no window settings, so nothing on disk
    // changes except prefetch files that --prefetch has to build.
    if (!Open({.GameSettings = true, .Draws = true})) return 1;
    TArchiveController &archive = Ws().Archive();
    if (archive.IsEmpty()) return FailUsage(QStringLiteral("the draws archive is empty"));

    int offset = 0;
    if (hasOffset && !ReadInt(QStringLiteral("--offset"), offsetText, 0, archive.MaxOffset(), offset))
        return 1;
    archive.ChangeOffset(offset);

    TStatsController &stats = Ws().Stats();
    const int entry = stats.Registry().FindEntry(code);
    if (entry < 0) return FailUsage(Format(QStringLiteral("unknown method \"%s\""), {code}));
    TStatTable &table = stats.Table();
    if (!table.SelectEntry(entry))
        return FailUsage(Format(QStringLiteral("method \"%s\" is not listed in the statistics selector"),
                                {stats.Registry().EntryCode(entry)}));
    table.SetSampleLength(length);
    table.SetSort(sortColumn, descending);
    stats.UsePrefetchs(prefetch);
    if (!stats.ComputeStatistics(true, sorted)) return 1;

    if (toSheet) {
        if (!ExportXlsx(Host(), AbsolutePath(outFile), TStatsSheet(table))) return 1;
        Out() << table.RowCount() << '\n';
        return 0;
    }
    for (const QString &line : table.TextLines())
        Out() << line << '\n';
    return 0;
}

REGISTER_CLI_COMMAND(
    TStatsCommand, "stats",
    "stats CODE --len L [--offset K] [--sorted] [--prefetch] [--sort COL] [--desc] [--out FILE.xlsx]\n"
    "    the statistics table of method CODE over the L newest draws in use (tab-separated:\n"
    "    the 20 column captions, one line per row, then the summary figures); --sort takes\n"
    "    a column number 0..19 (default 1, \"Количество\"), --prefetch compares with the\n"
    "    full set (building a missing prefetch file first); --out writes the table into a\n"
    "    spreadsheet instead and prints its row count");

} // namespace lot::cli
