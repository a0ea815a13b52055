// "shredding": the formulas of the shredding methods SHR1..SHR3.

#include "cli/WorkspaceCommand.h"
#include "stats/methods/ShreddingFormula.h"

namespace lot::cli {

class TShreddingCommand : public TWorkspaceCommand {
public:
    TShreddingCommand() : TWorkspaceCommand(QStringLiteral("shredding")) {}

protected:
    int Execute() override {
        const QString action = Args().isEmpty() ? QString() : Args().takeFirst();
        if (action == QLatin1String("list")) return List();
        if (action == QLatin1String("set")) return Set();
        return Fail(action.isEmpty() ? QStringLiteral("shredding: missing action (list, set)")
                                     : QStringLiteral("shredding: unknown action: ") + action);
    }

private:
    void Print(int k) {
        const TShreddingData &s = Ws().Stats().Registry().Shredding();
        Out() << k << '\t' << s.Digits(k) << '\t' << s.Formula(k) << '\n';
    }

    int List() {
        if (!NoExtraArguments()) return 1;
        if (!Open({.GameSettings = true})) return 1;
        for (int k = 1; k <= 3; ++k)
            Print(k);
        return 0;
    }

    int Set() {
        QString digitsText;
        const bool hasDigits = TakeOption(Args(), QStringLiteral("--digits"), digitsText);
        if (Args().size() != 2)
            return FailUsage(QStringLiteral("expected a formula number 1..3 and a formula"));
        int k = 0, digits = 0;
        if (!ReadInt(QStringLiteral("N"), Args()[0], 1, 3, k)) return 1;
        if (hasDigits && !ReadInt(QStringLiteral("--digits"), digitsText, 0, MaxShreddingDigits, digits))
            return 1;
        const QString formula = Args()[1];
        Args().clear();
        // The window's prefetch switch decides whether the formula's files are
        // rebuilt or removed.
        if (!Open({.WindowSettings = true, .DataLock = true, .GameSettings = true, .SettingsRequired = true}))
            return 1;
        TShreddingData data = Ws().Stats().Registry().Shredding();
        (k == 1 ? data.Formula1 : k == 2 ? data.Formula2 : data.Formula3) = formula;
        if (hasDigits)
            (k == 1 ? data.Formula1Digits : k == 2 ? data.Formula2Digits : data.Formula3Digits) = digits;
        if (!Ws().Stats().ApplyShredding(data)) return 1;
        Print(k);
        return 0;
    }
};

REGISTER_CLI_COMMAND(
    TShreddingCommand, "shredding",
    "shredding list                             the three formulas: number, digits, formula\n"
    "shredding set N \"FORMULA\" [--digits K]      formula N (1..3) and the digits it keeps (0..9);\n"
    "                                           checked first, then saved, the methods registered\n"
    "                                           again and the formulas' prefetch files rebuilt");

} // namespace lot::cli
