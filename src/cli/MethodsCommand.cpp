// "methods": the method registry, one line per entry.

#include "cli/WorkspaceCommand.h"

namespace lot::cli {

class TMethodsCommand : public TWorkspaceCommand {
public:
    TMethodsCommand() : TWorkspaceCommand(QStringLiteral("methods")) {}

protected:
    int Execute() override {
        if (!NoExtraArguments()) return 1;
        Open({.GameSettings = true});
        const TStatList &stats = Ws().Stats().Registry();
        const QChar tab(QLatin1Char('\t'));
        for (int i = 0; i < stats.Count(); ++i) {
            const TStatClass &cls = *stats.Items(i).StatClass;
            Out() << i << tab << stats.EntryCode(i) << tab << GroupShortName(cls.Group()) << tab
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
