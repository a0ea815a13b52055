// "methods": the method registry, one line per entry.

#include "cli/StatsCliSession.h"

namespace lot::cli {

class TMethodsCommand : public TCommand {
public:
    int Run(TCliContext &ctx) override {
        TStatsCliSession session(ctx, QStringLiteral("methods"));
        if (!ctx.Args.isEmpty())
            return session.Fail(QStringLiteral("unexpected argument: ") + ctx.Args.first());
        session.Open(false);
        const TStatList &stats = session.Stats();
        const QChar tab(QLatin1Char('\t'));
        for (int i = 0; i < stats.Count(); ++i) {
            const TStatClass &cls = *stats.Items(i).StatClass;
            ctx.Out << i << tab << stats.EntryCode(i) << tab << GroupShortName(cls.Group()) << tab
                    << FlagLetters(cls.FullFlags()) << tab << stats.DisplayCaption(i, true) << '\n';
        }
        return 0;
    }
};

REGISTER_CLI_COMMAND(
    TMethodsCommand, "methods",
    "methods                                      the statistic methods: index, code, group,\n"
    "                                             flags and caption, tab-separated");

} // namespace lot::cli
