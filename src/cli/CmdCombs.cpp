// "combs": the combination list from the command line.

#include "archive/DrawsArchive.h"
#include "cli/CliHost.h"
#include "cli/Command.h"
#include "combs/CombList.h"
#include "core/Errors.h"
#include "stats/StatList.h"

#include <QDir>
#include <QFileInfo>

namespace lot::cli {

namespace {
bool ParseInt(const QString &text, int &value) {
    bool ok = false;
    value = text.trimmed().toInt(&ok);
    return ok;
}
} // namespace

class TCombsCommand : public TCommand {
public:
    int Run(TCliContext &ctx) override;

private:
    int Generate();
    int Count();
    int Exclude();

    int Fail(const QString &message);
    bool NoExtraArguments();

    TCliContext *m_ctx = nullptr;
    QStringList m_args;
    std::unique_ptr<TCliHost> m_host;
};

int TCombsCommand::Run(TCliContext &ctx) {
    m_ctx = &ctx;
    m_args = ctx.Args;
    m_host = std::make_unique<TCliHost>(ctx.Err, ctx.Verbose, ctx.AssumeYes);
    const QString action = m_args.isEmpty() ? QString() : m_args.takeFirst();
    if (action == QLatin1String("generate")) return Generate();
    if (action == QLatin1String("count")) return Count();
    if (action == QLatin1String("exclude")) return Exclude();
    return Fail(action.isEmpty() ? QStringLiteral("combs: missing action (generate, count, exclude)")
                                 : QStringLiteral("combs: unknown action: ") + action);
}

int TCombsCommand::Fail(const QString &message) {
    m_host->ShowError(message);
    return 1;
}

bool TCombsCommand::NoExtraArguments() {
    if (m_args.isEmpty()) return true;
    Fail(QStringLiteral("combs: unexpected argument: ") + m_args.first());
    return false;
}

int TCombsCommand::Generate() {
    QString modeText, parameters, out;
    const bool hasMode = TakeOption(m_args, QStringLiteral("--mode"), modeText);
    const bool hasParam = TakeOption(m_args, QStringLiteral("--param"), parameters);
    if (!TakeOption(m_args, QStringLiteral("--out"), out))
        return Fail(QStringLiteral("combs: --out FILE is required"));
    if (!NoExtraArguments()) return 1;

    // Without --mode the saved generation parameters apply, as at start-up.
    int mode = 0;
    if (hasMode) {
        if (!ParseInt(modeText, mode)) return Fail(QStringLiteral("combs: --mode must be an integer"));
    } else {
        TStatList stats(nullptr, m_ctx->DataDir);
        stats.SetHost(m_host.get());
        if (!stats.LoadCombsGenerate()) return 1;
        mode = stats.CombsGenerateMode();
        if (!hasParam) parameters = stats.CombsGenerateParameters();
    }

    TCombList list(*m_host);
    if (!list.GenerateCombs(true, mode, parameters)) return 1;
    if (!list.SaveCombsFile(QFileInfo(out).absoluteFilePath())) return 1;
    m_ctx->Out << list.Count() << '\n';
    return 0;
}

int TCombsCommand::Count() {
    if (m_args.isEmpty()) return Fail(QStringLiteral("combs: count FILE.lcv"));
    const QString file = QFileInfo(m_args.takeFirst()).absoluteFilePath();
    if (!NoExtraArguments()) return 1;
    TCombList list(*m_host);
    if (!list.OpenCombsFile(file)) return 1;
    m_ctx->Out << list.Count() << '\n';
    return 0;
}

int TCombsCommand::Exclude() {
    QString in, out, lastText, offsetText;
    if (!TakeOption(m_args, QStringLiteral("--in"), in))
        return Fail(QStringLiteral("combs: --in FILE is required"));
    if (!TakeOption(m_args, QStringLiteral("--out"), out))
        return Fail(QStringLiteral("combs: --out FILE is required"));
    if (!TakeOption(m_args, QStringLiteral("--last"), lastText))
        return Fail(QStringLiteral("combs: --last N is required"));
    const bool hasOffset = TakeOption(m_args, QStringLiteral("--offset"), offsetText);
    if (!NoExtraArguments()) return 1;
    int last = 0, offset = 0;
    if (!ParseInt(lastText, last) || last < 0)
        return Fail(QStringLiteral("combs: --last must be an integer of 0 or more"));
    if (hasOffset && (!ParseInt(offsetText, offset) || offset < 0))
        return Fail(QStringLiteral("combs: --offset must be an integer of 0 or more"));

    TDrawsArchive archive;
    const QString drawsFile =
        QDir(m_ctx->DataDir).filePath(QString::fromLatin1(ProgramName) + QStringLiteral(".ldr"));
    try {
        archive.LoadDrawsFile(drawsFile);
    } catch (const std::exception &e) {
        return Fail(QStringLiteral("Ошибка чтения файла тиражей!\r\r") + ExceptionText(e));
    }
    archive.SetOffset(offset);

    TCombList list(*m_host);
    if (!list.OpenCombsFile(QFileInfo(in).absoluteFilePath())) return 1;
    list.MakeUndoCopy(false);
    list.ExcludeLastDraws(archive, last);
    if (!list.SaveCombsFile(QFileInfo(out).absoluteFilePath())) return 1;
    m_ctx->Out << list.Count() << '\n';
    return 0;
}

REGISTER_CLI_COMMAND(
    TCombsCommand, "combs",
    "combs generate [--mode M] [--param TEXT] --out FILE.lcv\n"
    "                                             make a combination list (default: the saved\n"
    "                                             generation parameters); prints its count\n"
    "combs count FILE.lcv                         number of combinations a file holds\n"
    "combs exclude --in A.lcv --out B.lcv --last N [--offset K]\n"
    "                                             drop the main numbers of the last N draws in use\n"
    "                                             at offset K; prints the count left");

} // namespace lot::cli
