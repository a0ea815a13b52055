// "prefetch": the full-set distribution files of the statistic methods.

#include "cli/WorkspaceCommand.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "core/Messages.h"

#include <QFileInfo>

namespace lot::cli {

class TPrefetchCommand : public TWorkspaceCommand {
public:
    TPrefetchCommand() : TWorkspaceCommand(QStringLiteral("prefetch")) {}

protected:
    int Execute() override;

private:
    int Build();
    int Dump();
    /// The registry with the data folder's game settings: the parameter
    /// ranges and the values depend on them.
    bool OpenRegistry();
};

int TPrefetchCommand::Execute() {
    const QString action = Args().isEmpty() ? QString() : Args().takeFirst();
    if (action == QLatin1String("build")) return Build();
    if (action == QLatin1String("dump")) return Dump();
    return Fail(action.isEmpty() ? QStringLiteral("prefetch: missing action (build, dump)")
                                 : QStringLiteral("prefetch: unknown action: ") + action);
}

bool TPrefetchCommand::OpenRegistry() {
    if (!Open({.GameSettings = true, .SettingsRequired = true})) return false;
    Ws().Stats().UsePrefetchs(true);
    return true;
}

int TPrefetchCommand::Build() {
    const bool force = TakeFlag(Args(), QStringLiteral("--force"));
    QString codesText;
    const bool hasCodes = TakeOption(Args(), QStringLiteral("--codes"), codesText);
    if (!NoExtraArguments()) return 1;
    if (!OpenRegistry()) return 1;
    TStatsController &stats = Ws().Stats();
    const TStatList &registry = stats.Registry();

    QList<int> entries;
    if (hasCodes) {
        for (const QString &word : codesText.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QString code = word.trimmed();
            const int entry = registry.FindEntry(code);
            if (entry < 0) return Fail(QStringLiteral("prefetch: unknown method code: ") + code);
            if (!registry.CanPrefetch(entry))
                return Fail(QStringLiteral("prefetch: method has no full-set distribution: ") + code);
            entries << entry;
        }
        for (int entry : entries) {
            const TStatMethod &m = registry.Items(entry);
            const QFileInfo info(stats.Prefetchs().FileName(*m.StatClass, m.Param));
            if (force || !info.exists() || info.size() == 0)
                if (!stats.CreatePrefetch(entry)) return 1;
        }
    } else {
        // Like the start-up switches: "fullrecreate" (every file) with
        // --force, "fullrefresh" (the missing ones) without.
        if (!stats.CreateAllPrefetchs(true, force ? PrefetchGroupsAll : PrefetchGroupsNone)) return 1;
        for (int i = 0; i < registry.Count(); ++i)
            if (registry.CanPrefetch(i)) entries << i;
    }
    for (int entry : entries) {
        const TStatMethod &m = registry.Items(entry);
        const QString file = stats.Prefetchs().FileName(*m.StatClass, m.Param);
        Out() << registry.EntryCode(entry) << '\t' << QFileInfo(file).fileName() << '\t'
              << (QFileInfo(file).size() / 12 - 1) << '\n';
    }
    return 0;
}

int TPrefetchCommand::Dump() {
    if (Args().isEmpty()) return Fail(QStringLiteral("prefetch: dump CODE"));
    const QString code = Args().takeFirst();
    if (!NoExtraArguments()) return 1;
    if (!OpenRegistry()) return 1;
    const TStatList &registry = Ws().Stats().Registry();
    const int entry = registry.FindEntry(code);
    if (entry < 0) return Fail(QStringLiteral("prefetch: unknown method code: ") + code);
    const TStatMethod &m = registry.Items(entry);
    const QString file = Ws().Stats().Prefetchs().FileName(*m.StatClass, m.Param);
    TPrefetchTable table;
    try {
        table = ReadPrefetchFile(file);
    } catch (const std::exception &e) {
        return Fail(Format(msg::PrefetchOpenError, {file, ExceptionText(e)}));
    }
    const std::unique_ptr<TCustomStat> stat = registry.CreateStat(entry);
    for (const TPrefetchRec &r : table.Records) {
        TStatDraw v;
        v.Key = r.Key;
        v.Count = r.Count;
        Out() << r.Key.W(1) << '\t' << r.Key.W(2) << '\t' << r.Key.W(3) << '\t' << r.Key.W(4) << '\t'
              << stat->ValueToText(v) << '\t' << r.Count << '\n';
    }
    Out() << "trailer\t" << table.MinCount << '\t' << table.MaxCount << "\t0\n";
    return 0;
}

REGISTER_CLI_COMMAND(
    TPrefetchCommand, "prefetch",
    "prefetch build [--force] [--codes C1,C2]     build the missing full-set files under DATA/Prefetchs\n"
    "                                             (--force: rebuild them all); lists code, file, records\n"
    "prefetch dump CODE                           one line per record: the four key words, the value\n"
    "                                             text and the count; then the trailer");

} // namespace lot::cli
