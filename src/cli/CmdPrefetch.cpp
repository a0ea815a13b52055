// "prefetch": the full-set distribution files of the statistic methods.

#include "archive/DrawsArchive.h"
#include "cli/CliHost.h"
#include "cli/Command.h"
#include "core/Errors.h"
#include "stats/PrefetchFiles.h"
#include "stats/StatList.h"

#include <QDir>
#include <QFileInfo>

namespace lot::cli {

class TPrefetchCommand : public TCommand {
public:
    int Run(TCliContext &ctx) override;

private:
    int Build();
    int Dump();

    /// The archive and the registry with the data folder's game settings.
    bool OpenRegistry();
    int Fail(const QString &message);
    bool NoExtraArguments();

    TCliContext *m_ctx = nullptr;
    QStringList m_args;
    std::unique_ptr<TCliHost> m_host;
    TDrawsArchive m_archive;
    std::unique_ptr<TStatList> m_stats;
    std::unique_ptr<TPrefetchFiles> m_files;
};

int TPrefetchCommand::Run(TCliContext &ctx) {
    m_ctx = &ctx;
    m_args = ctx.Args;
    m_host = std::make_unique<TCliHost>(ctx.Err, ctx.Verbose, ctx.AssumeYes);
    const QString action = m_args.isEmpty() ? QString() : m_args.takeFirst();
    if (action == QLatin1String("build")) return Build();
    if (action == QLatin1String("dump")) return Dump();
    return Fail(action.isEmpty() ? QStringLiteral("prefetch: missing action (build, dump)")
                                 : QStringLiteral("prefetch: unknown action: ") + action);
}

int TPrefetchCommand::Fail(const QString &message) {
    m_host->ShowError(message);
    return 1;
}

bool TPrefetchCommand::NoExtraArguments() {
    if (m_args.isEmpty()) return true;
    Fail(QStringLiteral("prefetch: unexpected argument: ") + m_args.first());
    return false;
}

bool TPrefetchCommand::OpenRegistry() {
    const QString drawsFile =
        QDir(m_ctx->DataDir).filePath(QString::fromLatin1(ProgramName) + QStringLiteral(".ldr"));
    try {
        m_archive.LoadDrawsFile(drawsFile);
    } catch (const std::exception &e) {
        Fail(QStringLiteral("Ошибка чтения файла тиражей!\r\r") + ExceptionText(e));
        return false;
    }
    m_stats = std::make_unique<TStatList>(&m_archive, m_ctx->DataDir);
    m_stats->SetHost(m_host.get());
    // The parameter ranges and the values depend on the game settings.
    if (!m_stats->LoadCombsGenerate() || !m_stats->LoadSettings() || !m_stats->LoadShredding()) return false;
    m_stats->RegisterAll();
    m_files = std::make_unique<TPrefetchFiles>(*m_host, *m_stats);
    m_files->SetDataDir(m_ctx->DataDir);
    m_files->SetEnabled(true);
    return true;
}

int TPrefetchCommand::Build() {
    const bool force = TakeFlag(m_args, QStringLiteral("--force"));
    QString codesText;
    const bool hasCodes = TakeOption(m_args, QStringLiteral("--codes"), codesText);
    if (!NoExtraArguments()) return 1;
    if (!OpenRegistry()) return 1;

    QList<int> entries;
    if (hasCodes) {
        for (const QString &word : codesText.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QString code = word.trimmed();
            const int entry = m_stats->FindEntry(code);
            if (entry < 0) return Fail(QStringLiteral("prefetch: unknown method code: ") + code);
            if (!m_stats->CanPrefetch(entry))
                return Fail(QStringLiteral("prefetch: method has no full-set distribution: ") + code);
            entries << entry;
        }
        for (int entry : entries) {
            const QFileInfo info(
                m_files->FileName(*m_stats->Items(entry).StatClass, m_stats->Items(entry).Param));
            if (force || !info.exists() || info.size() == 0)
                if (!m_files->CreatePrefetch(entry)) return 1;
        }
    } else {
        // Like the start-up switches: "fullrecreate" (every file) with
        // --force, "fullrefresh" (the missing ones) without.
        if (!m_files->CreateAllPrefetchs(true, force ? PrefetchGroupsAll : PrefetchGroupsNone)) return 1;
        for (int i = 0; i < m_stats->Count(); ++i)
            if (m_stats->CanPrefetch(i)) entries << i;
    }
    for (int entry : entries) {
        const TStatMethod &m = m_stats->Items(entry);
        const QString file = m_files->FileName(*m.StatClass, m.Param);
        m_ctx->Out << m_stats->EntryCode(entry) << '\t' << QFileInfo(file).fileName() << '\t'
                   << (QFileInfo(file).size() / 12 - 1) << '\n';
    }
    return 0;
}

int TPrefetchCommand::Dump() {
    if (m_args.isEmpty()) return Fail(QStringLiteral("prefetch: dump CODE"));
    const QString code = m_args.takeFirst();
    if (!NoExtraArguments()) return 1;
    if (!OpenRegistry()) return 1;
    const int entry = m_stats->FindEntry(code);
    if (entry < 0) return Fail(QStringLiteral("prefetch: unknown method code: ") + code);
    const TStatMethod &m = m_stats->Items(entry);
    const QString file = m_files->FileName(*m.StatClass, m.Param);
    TPrefetchTable table;
    try {
        table = ReadPrefetchFile(file);
    } catch (const std::exception &e) {
        return Fail(
            QStringLiteral("Ошибка открытия файла данных для полного набора вариантов!\r\rИмя файла: ") +
            file + QStringLiteral("\r\r") + ExceptionText(e));
    }
    const std::unique_ptr<TCustomStat> stat = m_stats->CreateStat(entry);
    for (const TPrefetchRec &r : table.Records) {
        TStatDraw v;
        v.Key = r.Key;
        v.Count = r.Count;
        m_ctx->Out << r.Key.W(1) << '\t' << r.Key.W(2) << '\t' << r.Key.W(3) << '\t' << r.Key.W(4) << '\t'
                   << stat->ValueToText(v) << '\t' << r.Count << '\n';
    }
    m_ctx->Out << "trailer\t" << table.MinCount << '\t' << table.MaxCount << "\t0\n";
    return 0;
}

REGISTER_CLI_COMMAND(
    TPrefetchCommand, "prefetch",
    "prefetch build [--force] [--codes C1,C2]     build the missing full-set files under DATA/Prefetchs\n"
    "                                             (--force: rebuild them all); lists code, file, records\n"
    "prefetch dump CODE                           one line per record: the four key words, the value\n"
    "                                             text and the count; then the trailer");

} // namespace lot::cli
