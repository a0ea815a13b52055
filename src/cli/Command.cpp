#include "cli/Command.h"

#include <cstdio>
#include <map>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace lot::cli {

namespace {
struct Entry {
    QString usage;
    TCommandFactory factory;
};
std::map<QString, Entry> &Registry() {
    static std::map<QString, Entry> registry;
    return registry;
}

void PrintUsage(QTextStream &s) {
    s << "Usage: Brantlee_6x45-cli [--data DIR] [--yes] [--verbose] COMMAND [ARGS...]\n";
    for (const auto &[name, entry] : Registry()) {
        Q_UNUSED(name);
        for (const QString &line : entry.usage.split(QLatin1Char('\n')))
            s << "  " << line << "\n";
    }
}
} // namespace

std::unique_ptr<TCommand> CreateCommand(const QString &name) {
    auto it = Registry().find(name);
    return it == Registry().end() ? nullptr : it->second.factory();
}

bool RegisterCommand(const QString &name, const QString &usage, TCommandFactory factory) {
    Registry()[name] = Entry{usage, std::move(factory)};
    return true;
}

int RunCli(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    return RunCliArgs(app.arguments().mid(1), out, err);
}

int RunCliArgs(QStringList args, QTextStream &out, QTextStream &err) {
    QString dataDir;
    if (!TakeOption(args, QStringLiteral("--data"), dataDir))
        dataDir = QCoreApplication::applicationDirPath();
    dataDir = QDir(dataDir).absolutePath();
    const bool yes = TakeFlag(args, QStringLiteral("--yes"));
    const bool verbose = TakeFlag(args, QStringLiteral("--verbose"));
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("help")) {
        PrintUsage(args.isEmpty() ? err : out);
        return args.isEmpty() ? 1 : 0;
    }
    const QString name = args.takeFirst();
    auto it = Registry().find(name);
    if (it == Registry().end()) {
        err << "Unknown command: " << name << "\n";
        PrintUsage(err);
        return 1;
    }
    if (!QFileInfo(dataDir).isDir()) {
        err << "Data folder does not exist: " << dataDir << "\n";
        return 1;
    }
    TCliContext ctx{dataDir, args, out, err, yes, verbose};
    auto command = it->second.factory();
    const int rc = command->Run(ctx);
    out.flush();
    err.flush();
    return rc;
}

} // namespace lot::cli
