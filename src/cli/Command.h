#pragma once
/// @file The command-line front end: one subcommand per class over TCommand,
/// registered by name with REGISTER_CLI_COMMAND.

#include "shell/Switches.h"

#include <functional>
#include <memory>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace lot::cli {

/// What a subcommand gets: the data folder, its own arguments (after the
/// subcommand name) and the two output streams (UTF-8).
struct TCliContext {
    QString DataDir;
    QStringList Args;
    QTextStream &Out;
    QTextStream &Err;
    bool AssumeYes = false; ///< --yes: answer confirmations with Yes
    bool Verbose = false;   ///< --verbose: status texts go to Err
};

class TCommand {
public:
    virtual ~TCommand() = default;
    /// Exit status: 0 success, 1 failure (the message is already on stderr).
    virtual int Run(TCliContext &ctx) = 0;
};

using TCommandFactory = std::function<std::unique_ptr<TCommand>()>;
/// name: the first word ("draws", "methods", ...); usage: one or more lines for --help.
bool RegisterCommand(const QString &name, const QString &usage, TCommandFactory factory);
/// A new instance of the subcommand registered under name; nullptr when none is.
std::unique_ptr<TCommand> CreateCommand(const QString &name);
/// Entry point used by main(); parses --data/--yes/--help and dispatches.
int RunCli(int argc, char **argv);
/// The same without creating the application object: args exclude the
/// program name; output goes to out and err. Without --data the data folder
/// is the program's folder.
int RunCliArgs(QStringList args, QTextStream &out, QTextStream &err);

} // namespace lot::cli

#define REGISTER_CLI_COMMAND(Class, name, usage)                                                             \
    static const bool registered_##Class =                                                                   \
        ::lot::cli::RegisterCommand(QStringLiteral(name), QStringLiteral(usage),                             \
                                    [] { return std::unique_ptr<::lot::cli::TCommand>(new Class()); })
