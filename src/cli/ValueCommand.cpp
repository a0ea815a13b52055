// "value": the values of one combination under a method.

#include "cli/StatsCliSession.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"

namespace lot::cli {

class TValueCommand : public TCommand {
public:
    int Run(TCliContext &ctx) override {
        TStatsCliSession session(ctx, QStringLiteral("value"));
        if (ctx.Args.size() != 2)
            return session.Fail(
                QStringLiteral("expected a method code and a combination \"n1;n2;n3;n4;n5;n6\""));
        TComb comb;
        try {
            comb = TextToComb(ctx.Args[1]);
        } catch (const EError &e) {
            return session.Fail(e.Message());
        }
        if (!IsValidComb(comb))
            return session.Fail(QStringLiteral("numbers must lie in 1..45: ") + ctx.Args[1]);
        // Methods with a reference draw read the newest draw of the archive.
        if (!session.Open(true)) return 1;
        const int entry = session.FindMethod(ctx.Args[0]);
        if (entry < 0) return 1;
        auto stat = session.Stats().CreateStat(entry);
        stat->LoadDraws(-1, session.Workspace().Archive().Count() - 1, false);
        TStatDrawArray values;
        stat->CombValues(comb, values);
        for (const TStatDraw &v : values)
            ctx.Out << stat->ValueToText(v) << '\n';
        return 0;
    }
};

REGISTER_CLI_COMMAND(
    TValueCommand, "value",
    "value CODE \"n1;n2;n3;n4;n5;n6\"                the values of a combination under a method");

} // namespace lot::cli
