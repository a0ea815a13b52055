// "script": forecasts and back-tests of a script file, headless, on the
// data folder's archive, settings and stakes file, as the window runs them.

#include "archive/ArchiveController.h"
#include "cli/WorkspaceCommand.h"
#include "combs/CombsController.h"
#include "core/Format.h"
#include "scripts/ScriptsController.h"

namespace lot::cli {

class TScriptCommand : public TWorkspaceCommand {
public:
    TScriptCommand() : TWorkspaceCommand(QStringLiteral("script")) {}

protected:
    int Execute() override;

private:
    /// The options both actions share; false when one is bad (reported).
    bool TakeCommon(QString &file, quint32 &seed, bool &log);
    bool OpenAndLoad(const QString &file, bool log);
    int Report(const TOpResult &r, const TScriptRunResult &result);
    int Run();
    int Test();
};

int TScriptCommand::Execute() {
    const QString action = Args().isEmpty() ? QString() : Args().takeFirst();
    if (action == QLatin1String("run")) return Run();
    if (action == QLatin1String("test")) return Test();
    return Fail(action.isEmpty() ? QStringLiteral("script: missing action (run, test)")
                                 : QStringLiteral("script: unknown action: ") + action);
}

bool TScriptCommand::TakeCommon(QString &file, quint32 &seed, bool &log) {
    QString seedText;
    const bool hasSeed = TakeOption(Args(), QStringLiteral("--seed"), seedText);
    log = TakeFlag(Args(), QStringLiteral("--log"));
    seed = TScriptsController::ClockSeed();
    if (hasSeed) {
        bool ok = false;
        const qulonglong v = seedText.trimmed().toULongLong(&ok);
        if (!ok || v > 0xFFFFFFFFull) {
            FailUsage(QStringLiteral("--seed must be an integer 0..4294967295"));
            return false;
        }
        seed = quint32(v);
    }
    if (Args().isEmpty()) {
        FailUsage(QStringLiteral("missing FILE.lsc"));
        return false;
    }
    file = AbsolutePath(Args().takeFirst());
    return NoExtraArguments();
}

bool TScriptCommand::OpenAndLoad(const QString &file, bool log) {
    if (!Open({.WindowSettings = true, .DataLock = true, .GameSettings = true, .Draws = true})) return false;
    TWorkspace &ws = Ws();
    if (!ws.Scripts().UseScriptFile(file)) return false;
    if (ws.Scripts().IsEmpty()) {
        Fail(Format(QStringLiteral("script: \"%s\" holds no lines"), {file}));
        return false;
    }
    if (ws.Archive().IsEmpty()) {
        Fail(QStringLiteral("script: the archive is empty"));
        return false;
    }
    ws.Scripts().UseLog(log);
    // The list a freshly started window holds, for a first line of source CURR.
    ws.ComputeMatchClasses();
    ws.Combs().ReserveFullSet();
    return bool(ws.Combs().GenerateSavedCombs(ws.Stats().Registry()));
}

int TScriptCommand::Report(const TOpResult &r, const TScriptRunResult &result) {
    int variants = 0;
    for (const TScriptCycle &c : result.Cycles)
        variants += c.Variants;
    Out() << Format(QStringLiteral("Итого: циклов %d, вариантов %d, ставок %d"),
                    {int(result.Cycles.size()), variants, result.Stakes})
          << '\n';
    if (!result.LogFile.isEmpty()) Out() << Format(QStringLiteral("Журнал: %s"), {result.LogFile}) << '\n';
    if (!r) return 1;
    if (result.Stopped) Out() << QStringLiteral("Выполнение сценария прервано.") << '\n';
    return 0;
}

int TScriptCommand::Run() {
    QString offsetText, file;
    const bool hasOffset = TakeOption(Args(), QStringLiteral("--offset"), offsetText);
    quint32 seed = 0;
    bool log = false;
    if (!TakeCommon(file, seed, log)) return 1;
    if (!OpenAndLoad(file, log)) return 1;
    int offset = 0;
    if (hasOffset && !ReadInt(QStringLiteral("--offset"), offsetText, 0, Ws().Archive().MaxOffset(), offset))
        return 1;
    Ws().Archive().ChangeOffset(offset);

    Out() << Format(QStringLiteral("Зерно: %s"), {QString::number(seed)}) << '\n';
    QObject::connect(&Ws().Scripts(), &TScriptsController::CycleFinished, [this](const TScriptCycle &c) {
        Out() << Format(QStringLiteral("Цикл %d: смещение %d, строк %d, вариантов %d, ставок %d"),
                        {c.Cycle, c.Offset, c.Lines, c.Variants, c.Stakes})
              << '\n';
        Out().flush();
    });
    TScriptRunResult result;
    const TOpResult r = Ws().Scripts().RunForecast(seed, &result);
    return Report(r, result);
}

int TScriptCommand::Test() {
    QString countText, file;
    const bool hasCount = TakeOption(Args(), QStringLiteral("--count"), countText);
    quint32 seed = 0;
    bool log = false;
    if (!TakeCommon(file, seed, log)) return 1;
    if (!hasCount) return FailUsage(QStringLiteral("--count N is required"));
    if (!OpenAndLoad(file, log)) return 1;
    const int max = Ws().Scripts().MaxTestCount();
    if (max < 1) return FailUsage(QStringLiteral("a test needs an archive of two draws or more"));
    int count = 0;
    if (!ReadInt(QStringLiteral("--count"), countText, 1, max, count)) return 1;

    Out() << Format(QStringLiteral("Зерно: %s"), {QString::number(seed)}) << '\n';
    QObject::connect(&Ws().Scripts(), &TScriptsController::CycleFinished, [this](const TScriptCycle &c) {
        Out() << Format(QStringLiteral("Цикл %d: смещение %d, строк %d, вариантов %d, ставок %d"),
                        {c.Cycle, c.Offset, c.Lines, c.Variants, c.Stakes})
              << '\n';
        Out().flush();
    });
    TScriptRunResult result;
    const TOpResult r = Ws().Scripts().RunTest(count, seed, &result);
    return Report(r, result);
}

REGISTER_CLI_COMMAND(
    TScriptCommand, "script",
    "script run FILE.lsc [--offset K] [--seed S] [--log]\n"
    "    a forecast: the script file once at draws offset K (default 0), its stakes for the next\n"
    "    draw; RAND draws from a generator seeded with S (default: the clock; printed first);\n"
    "    --log writes ScriptLog_<time>.txt. Prints per run the offset, the lines, the variants\n"
    "    and the stakes added, then the totals; an error exits 1\n"
    "script test FILE.lsc --count N [--seed S] [--log]\n"
    "    a back-test: the script at offsets N, N-1, ..., 1 (N up to the draws minus 1), each\n"
    "    run's stakes checked against the draw it was made for; the same output");

} // namespace lot::cli
