// "download": the results download from the command line.

#include "cli/WorkspaceCommand.h"
#include "core/Format.h"

namespace lot::cli {

namespace {
constexpr int CliAttemptLimit = 10;
} // namespace

class TDownloadCommand : public TWorkspaceCommand {
public:
    explicit TDownloadCommand(const QString &name = QStringLiteral("download")) : TWorkspaceCommand(name) {}

protected:
    int Execute() override {
        if (!NoExtraArguments()) return 1;
        // The download appends to the archive: the data lock, the game
        // settings (the sites and the proxy) and the draws file, as at start.
        if (!Open({.DataLock = true, .GameSettings = true, .SettingsRequired = true, .Draws = true}))
            return 1;
        TDownloadController &download = Ws().Download();
        int total = 0;
        QObject::connect(&download, &TDownloadController::MonthRead, [&](const QString &month, int added) {
            Out() << month << '\t' << added << '\n';
            Out().flush();
            total += added;
        });
        // A retry question is answered by --yes, else no (TCliHost); a dead
        // site is not retried for ever.
        download.SetAttemptLimit(CliAttemptLimit);
        const TOpResult r = download.DownloadDraws();
        Out() << Format(QStringLiteral("Загружено тиражей: %d"), {total}) << '\n';
        return r ? 0 : 1;
    }
};

/// The start-up switch "loadonly" of the window: download, then end.
class TLoadOnlyCommand : public TDownloadCommand {
public:
    TLoadOnlyCommand() : TDownloadCommand(QStringLiteral("loadonly")) {}
};

REGISTER_CLI_COMMAND(
    TDownloadCommand, "download",
    "download [--yes]                             bring the archive up to date from the results site\n"
    "                                             (section [DOWNLOAD] of Brantlee_6x45.ini); prints each\n"
    "                                             month read with the draws it added, then the total;\n"
    "                                             a retry question is answered no unless --yes (at\n"
    "                                             most 10 attempts)");
REGISTER_CLI_COMMAND(
    TLoadOnlyCommand, "loadonly",
    "loadonly [--yes]                             the same as download (the window's switch)");

} // namespace lot::cli
