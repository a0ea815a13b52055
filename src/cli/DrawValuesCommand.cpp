// "draw-values": the values of one archive entry under a method.

#include "cli/WorkspaceCommand.h"

namespace lot::cli {

class TDrawValuesCommand : public TWorkspaceCommand {
public:
    TDrawValuesCommand() : TWorkspaceCommand(QStringLiteral("draw-values")) {}

protected:
    int Execute() override {
        QString indexText;
        const bool hasIndex = TakeOption(Args(), QStringLiteral("--index"), indexText);
        const bool sorted = TakeFlag(Args(), QStringLiteral("--sorted"));
        if (!hasIndex || Args().size() != 1)
            return FailUsage(QStringLiteral("expected a method code and --index I"));
        bool ok = false;
        const int index = indexText.toInt(&ok);
        if (!ok) return FailUsage(QStringLiteral("not an index: ") + indexText);
        if (!Open({.GameSettings = true, .Draws = true})) return 1;
        const TStatList &stats = Ws().Stats().Registry();
        const int entry = stats.FindEntry(Args()[0]);
        if (entry < 0) return FailUsage(QStringLiteral("unknown method code: ") + Args()[0]);
        const int count = Ws().Archive().Count();
        if (index < 0 || index >= count)
            return FailUsage(QStringLiteral("index %1 is outside the archive (%2 draws, 0 = oldest)")
                                 .arg(index)
                                 .arg(count));
        auto stat = stats.CreateStat(entry);
        TStatDrawArray values;
        TStatScratch scratch;
        TLastValueArray lastValues;
        stat->DrawValues(index, count - 1, sorted, values, scratch, lastValues);
        for (const TStatDraw &v : values)
            Out() << stat->ValueToText(v) << '\n';
        return 0;
    }
};

REGISTER_CLI_COMMAND(
    TDrawValuesCommand, "draw-values",
    "draw-values CODE --index I [--sorted]        the values of archive entry I (0 = oldest)");

} // namespace lot::cli
