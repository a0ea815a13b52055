// "combs": the combination list from the command line.

#include "cli/WorkspaceCommand.h"

namespace lot::cli {

namespace {
bool ParseInt(const QString &text, int &value) {
    bool ok = false;
    value = text.trimmed().toInt(&ok);
    return ok;
}
} // namespace

class TCombsCommand : public TWorkspaceCommand {
public:
    TCombsCommand() : TWorkspaceCommand(QStringLiteral("combs")) {}

protected:
    int Execute() override;

private:
    int Generate();
    int Count();
    int Exclude();
};

int TCombsCommand::Execute() {
    const QString action = Args().isEmpty() ? QString() : Args().takeFirst();
    if (action == QLatin1String("generate")) return Generate();
    if (action == QLatin1String("count")) return Count();
    if (action == QLatin1String("exclude")) return Exclude();
    return Fail(action.isEmpty() ? QStringLiteral("combs: missing action (generate, count, exclude)")
                                 : QStringLiteral("combs: unknown action: ") + action);
}

int TCombsCommand::Generate() {
    QString modeText, parameters, out;
    const bool hasMode = TakeOption(Args(), QStringLiteral("--mode"), modeText);
    const bool hasParam = TakeOption(Args(), QStringLiteral("--param"), parameters);
    if (!TakeOption(Args(), QStringLiteral("--out"), out))
        return Fail(QStringLiteral("combs: --out FILE is required"));
    if (!NoExtraArguments()) return 1;

    // Without --mode the saved generation parameters apply, as at start-up.
    int mode = 0;
    if (hasMode) {
        if (!ParseInt(modeText, mode)) return Fail(QStringLiteral("combs: --mode must be an integer"));
    } else {
        if (!Ws().Stats().LoadCombsGenerate()) return 1;
        mode = Ws().Stats().Registry().CombsGenerateMode();
        if (!hasParam) parameters = Ws().Stats().Registry().CombsGenerateParameters();
    }

    TCombsController &list = Ws().Combs();
    if (!list.GenerateCombs(true, mode, parameters)) return 1;
    if (!list.SaveCombsFile(AbsolutePath(out))) return 1;
    Out() << list.Count() << '\n';
    return 0;
}

int TCombsCommand::Count() {
    if (Args().isEmpty()) return Fail(QStringLiteral("combs: count FILE.lcv"));
    const QString file = AbsolutePath(Args().takeFirst());
    if (!NoExtraArguments()) return 1;
    TCombsController &list = Ws().Combs();
    if (!list.OpenCombsFile(file)) return 1;
    Out() << list.Count() << '\n';
    return 0;
}

int TCombsCommand::Exclude() {
    QString in, out, lastText, offsetText;
    if (!TakeOption(Args(), QStringLiteral("--in"), in))
        return Fail(QStringLiteral("combs: --in FILE is required"));
    if (!TakeOption(Args(), QStringLiteral("--out"), out))
        return Fail(QStringLiteral("combs: --out FILE is required"));
    if (!TakeOption(Args(), QStringLiteral("--last"), lastText))
        return Fail(QStringLiteral("combs: --last N is required"));
    const bool hasOffset = TakeOption(Args(), QStringLiteral("--offset"), offsetText);
    if (!NoExtraArguments()) return 1;
    int last = 0, offset = 0;
    if (!ParseInt(lastText, last) || last < 0)
        return Fail(QStringLiteral("combs: --last must be an integer of 0 or more"));
    if (hasOffset && (!ParseInt(offsetText, offset) || offset < 0))
        return Fail(QStringLiteral("combs: --offset must be an integer of 0 or more"));

    if (!Open({.Draws = true})) return 1;

    TCombsController &list = Ws().Combs();
    if (!list.OpenCombsFile(AbsolutePath(in))) return 1;
    list.MakeUndoCopy(false);
    // Past the oldest draw nothing is in use: the offset is not clamped.
    list.ExcludeLastDraws(Ws().Archive().Draws(), last, offset);
    if (!list.SaveCombsFile(AbsolutePath(out))) return 1;
    Out() << list.Count() << '\n';
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
