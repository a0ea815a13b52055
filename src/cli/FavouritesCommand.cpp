// "favourites", "names" and "describe": the favourite methods, the custom
// method names and the description page of a method.

#include "cli/WorkspaceCommand.h"
#include "core/Format.h"
#include "stats/Favourites.h"
#include "stats/MethodDescription.h"

#include <QFileInfo>

namespace lot::cli {

namespace {

int ListedCount(const TStatList &registry) {
    int listed = 0;
    for (int i = 0; i < registry.Count(); ++i)
        if (registry.IsListed(i)) ++listed;
    return listed;
}

int CustomNameCount(const TStatList &registry) {
    int count = 0;
    for (int i = 0; i < registry.Count(); ++i)
        if (!registry.Items(i).CustomCaption.isEmpty()) ++count;
    return count;
}

} // namespace

class TFavouritesCommand : public TWorkspaceCommand {
public:
    TFavouritesCommand() : TWorkspaceCommand(QStringLiteral("favourites")) {}

protected:
    int Execute() override {
        const QString action = Args().isEmpty() ? QString() : Args().takeFirst();
        if (action == QLatin1String("list")) return List();
        if (action == QLatin1String("set")) return Set();
        if (action == QLatin1String("reset")) return Reset();
        return Fail(action.isEmpty() ? QStringLiteral("favourites: missing action (list, set, reset)")
                                     : QStringLiteral("favourites: unknown action: ") + action);
    }

private:
    const TStatList &Registry() { return Ws().Stats().Registry(); }

    int List() {
        if (!NoExtraArguments()) return 1;
        if (!Open({.GameSettings = true})) return 1;
        const TStatList &registry = Registry();
        for (const TMethodGroup &group : MethodGroups(registry))
            for (int entry : group.Entries)
                Out() << registry.EntryCode(entry) << '\t' << (registry.IsListed(entry) ? '*' : '-') << '\t'
                      << MethodName(registry, entry) << '\n';
        return 0;
    }

    int Set() {
        if (Args().isEmpty()) return FailUsage(QStringLiteral("missing method codes"));
        const QStringList codes = Args();
        Args().clear();
        if (!Open({.DataLock = true, .GameSettings = true})) return 1;
        QList<int> entries;
        for (const QString &code : codes) {
            const int entry = Registry().FindEntry(code);
            if (entry < 0) return FailUsage(QStringLiteral("unknown method code: ") + code);
            entries << entry;
        }
        return Report(Ws().Stats().SetFavouriteEntries(entries));
    }

    int Reset() {
        if (!NoExtraArguments()) return 1;
        if (!Open({.DataLock = true, .GameSettings = true})) return 1;
        return Report(Ws().Stats().ResetFavourites());
    }

    int Report(const TOpResult &r) {
        if (!r) return 1;
        Out() << Format(QStringLiteral("Избранных методов: %d из %d"),
                        {ListedCount(Registry()), Registry().Count()})
              << '\n';
        return 0;
    }
};

class TNamesCommand : public TWorkspaceCommand {
public:
    TNamesCommand() : TWorkspaceCommand(QStringLiteral("names")) {}

protected:
    int Execute() override {
        const QString action = Args().isEmpty() ? QString() : Args().takeFirst();
        if (action != QLatin1String("export") && action != QLatin1String("import"))
            return Fail(action.isEmpty() ? QStringLiteral("names: missing action (export, import)")
                                         : QStringLiteral("names: unknown action: ") + action);
        if (Args().isEmpty()) return FailUsage(action + QStringLiteral(": missing FILE.flt"));
        const QString file = AbsolutePath(Args().takeFirst());
        if (!NoExtraArguments()) return 1;
        TStatsController &stats = Ws().Stats();
        if (action == QLatin1String("export")) {
            if (!Open({.GameSettings = true})) return 1;
            if (!stats.ExportNames(file, {})) return 1;
            Out() << Format(QStringLiteral("Названий: %d"), {stats.Registry().Count()}) << '\n';
            return 0;
        }
        // A file that is not there would read as one without names and
        // clear every name.
        if (!QFileInfo(file).isFile()) return FailUsage(QStringLiteral("no such file: ") + file);
        if (!Open({.DataLock = true, .GameSettings = true})) return 1;
        if (!stats.ImportNames(file)) return 1;
        if (!stats.SaveFilterList(Ws().Files().FltFile(), true, false)) return 1;
        Out() << Format(QStringLiteral("Названий: %d"), {CustomNameCount(stats.Registry())}) << '\n';
        return 0;
    }
};

class TDescribeCommand : public TWorkspaceCommand {
public:
    TDescribeCommand() : TWorkspaceCommand(QStringLiteral("describe")) {}

protected:
    int Execute() override {
        if (Args().isEmpty()) return FailUsage(QStringLiteral("missing CODE"));
        const QString code = Args().takeFirst();
        if (!NoExtraArguments()) return 1;
        if (!Open({.GameSettings = true, .Draws = true})) return 1;
        const TStatList &registry = Ws().Stats().Registry();
        const int entry = registry.FindEntry(code);
        if (entry < 0) return FailUsage(QStringLiteral("unknown method code: ") + code);
        Out() << DescribeMethod(registry, entry).ToPlainText();
        return 0;
    }
};

REGISTER_CLI_COMMAND(
    TFavouritesCommand, "favourites",
    "favourites list                              the methods by group: code, * for a listed one\n"
    "                                             (- otherwise) and name, tab-separated\n"
    "favourites set CODE...                       only these methods are listed in the selectors\n"
    "favourites reset                             every method is listed again");
REGISTER_CLI_COMMAND(
    TNamesCommand, "names",
    "names export FILE.flt                        write the name of every method to FILE.flt\n"
    "names import FILE.flt                        take the custom method names of FILE.flt");
REGISTER_CLI_COMMAND(TDescribeCommand, "describe",
                     "describe CODE                                what a method measures, as plain text");

} // namespace lot::cli
