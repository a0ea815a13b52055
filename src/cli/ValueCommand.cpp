// "value": the values of one combination under a method.

#include "cli/WorkspaceCommand.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"

namespace lot::cli {

class TValueCommand : public TWorkspaceCommand {
public:
    TValueCommand() : TWorkspaceCommand(QStringLiteral("value")) {}

protected:
    int Execute() override {
        QString offsetText;
        const bool hasOffset = TakeOption(Args(), QStringLiteral("--offset"), offsetText);
        if (Args().size() != 2)
            return FailUsage(
                QStringLiteral("expected a method code and a combination \"n1;n2;n3;n4;n5;n6\""));
        TComb comb;
        try {
            comb = TextToComb(Args()[1]);
        } catch (const EError &e) {
            return FailUsage(e.Message());
        }
        if (!IsValidComb(comb)) return FailUsage(QStringLiteral("numbers must lie in 1..45: ") + Args()[1]);
        if (!Open({.GameSettings = true, .Draws = true})) return 1;
        // Methods with a reference draw read the newest draw in use: the
        // offset hides the newest draws, as in the window.
        int offset = 0;
        if (hasOffset &&
            !ReadInt(QStringLiteral("--offset"), offsetText, 0, Ws().Archive().MaxOffset(), offset))
            return 1;
        const TStatList &stats = Ws().Stats().Registry();
        const int entry = stats.FindEntry(Args()[0]);
        if (entry < 0) return FailUsage(QStringLiteral("unknown method code: ") + Args()[0]);
        auto stat = stats.CreateStat(entry);
        stat->LoadDraws(-1, Ws().Archive().Count() - 1 - offset, false);
        TStatDrawArray values;
        stat->CombValues(comb, values);
        for (const TStatDraw &v : values)
            Out() << stat->ValueToText(v) << '\n';
        return 0;
    }
};

REGISTER_CLI_COMMAND(
    TValueCommand, "value",
    "value CODE \"n1;n2;n3;n4;n5;n6\" [--offset K]   the values of a combination under a method; a method\n"
    "                                             with a reference draw reads the newest draw in use\n"
    "                                             (the archive's newest but K, default 0)");

} // namespace lot::cli
