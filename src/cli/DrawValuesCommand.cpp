// "draw-values": the values of one archive entry under a method.

#include "cli/StatsCliSession.h"

namespace lot::cli {

class TDrawValuesCommand : public TCommand {
public:
    int Run(TCliContext &ctx) override {
        TStatsCliSession session(ctx, QStringLiteral("draw-values"));
        QStringList args = ctx.Args;
        QString indexText;
        const bool hasIndex = TakeOption(args, QStringLiteral("--index"), indexText);
        const bool sorted = TakeFlag(args, QStringLiteral("--sorted"));
        if (!hasIndex || args.size() != 1)
            return session.Fail(QStringLiteral("expected a method code and --index I"));
        bool ok = false;
        const int index = indexText.toInt(&ok);
        if (!ok) return session.Fail(QStringLiteral("not an index: ") + indexText);
        if (!session.Open(true)) return 1;
        const int entry = session.FindMethod(args[0]);
        if (entry < 0) return 1;
        const int count = session.Workspace().Archive().Count();
        if (index < 0 || index >= count)
            return session.Fail(QStringLiteral("index %1 is outside the archive (%2 draws, 0 = oldest)")
                                    .arg(index)
                                    .arg(count));
        auto stat = session.Stats().CreateStat(entry);
        TStatDrawArray values;
        TStatScratch scratch;
        TLastValueArray lastValues;
        stat->DrawValues(index, count - 1, sorted, values, scratch, lastValues);
        for (const TStatDraw &v : values)
            ctx.Out << stat->ValueToText(v) << '\n';
        return 0;
    }
};

REGISTER_CLI_COMMAND(
    TDrawValuesCommand, "draw-values",
    "draw-values CODE --index I [--sorted]        the values of archive entry I (0 = oldest)");

} // namespace lot::cli
