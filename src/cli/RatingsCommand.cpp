// "ratings": the ratings of the stake comments from the command line.

#include "cli/WorkspaceCommand.h"
#include "core/Format.h"
#include "core/OpResult.h"
#include "scripts/RatingScript.h"
#include "scripts/ScriptFile.h"
#include "stakes/RatingChance.h"
#include "stakes/StakesController.h"
#include "stats/StatsController.h"

#include <limits>
#include <QStringList>

namespace lot::cli {

class TRatingsCommand : public TWorkspaceCommand {
public:
    TRatingsCommand() : TWorkspaceCommand(QStringLiteral("ratings")) {}

protected:
    int Execute() override;

private:
    int List();
    int Refresh();
    int Export();
    int ToScript();
};

int TRatingsCommand::Execute() {
    const QString action = Args().isEmpty() ? QString() : Args().takeFirst();
    if (action == QLatin1String("list")) return List();
    if (action == QLatin1String("refresh")) return Refresh();
    if (action == QLatin1String("export")) return Export();
    if (action == QLatin1String("to-script")) return ToScript();
    return Fail(action.isEmpty()
                    ? QStringLiteral("ratings: missing action (list, refresh, export, to-script)")
                    : QStringLiteral("ratings: unknown action: ") + action);
}

int TRatingsCommand::List() {
    const bool chance = TakeFlag(Args(), QStringLiteral("--chance"));
    if (!NoExtraArguments()) return 1;
    // The efficiency mode is the window's; nothing is written.
    if (!Open({.WindowSettings = true})) return 1;
    if (!Ws().Stakes().ReadRatings()) return 1;
    const int mode = Ws().Stakes().RatingsEffMode();
    for (const TRatingRec &rec : Ws().Stakes().Ratings().Rows()) {
        QStringList cells;
        for (int c = 0; c < RatingColumnCount; ++c)
            cells << RatingCellText(rec, c, mode);
        if (chance) cells << RatingChanceText(rec);
        Out() << cells.join(QLatin1Char('\t')) << '\n';
    }
    return 0;
}

int TRatingsCommand::Refresh() {
    if (!NoExtraArguments()) return 1;
    if (!Open({.DataLock = true})) return 1;
    bool refused = false;
    if (!Ws().Stakes().RatingsRefresh(&refused)) return 1;
    if (refused) return 1;
    Out() << Ws().Stakes().RatingsCountText() << '\n';
    return 0;
}

int TRatingsCommand::Export() {
    if (Args().isEmpty()) return Fail(QStringLiteral("ratings export: missing FILE.csv"));
    const QString path = AbsolutePath(Args().takeFirst());
    if (!NoExtraArguments()) return 1;
    if (!Ws().Stakes().ReadRatings()) return 1;
    if (Ws().Stakes().Ratings().IsEmpty()) return Fail(QStringLiteral("Рейтинг пуст!"));
    return Ws().Stakes().ExportRatingsCsv(path) ? 0 : 1;
}

int TRatingsCommand::ToScript() {
    QString out;
    if (!TakeOption(Args(), QStringLiteral("--out"), out))
        return Fail(QStringLiteral("ratings to-script: --out FILE.lsc is required"));
    QList<int> rows;
    while (!Args().isEmpty()) {
        int row = 0;
        if (!ReadInt(QStringLiteral("ROW"), Args().takeFirst(), 1, std::numeric_limits<int>::max(), row))
            return 1;
        rows << row;
    }
    if (rows.isEmpty()) return Fail(QStringLiteral("ratings to-script: missing ROW"));
    // The filter texts are read against the registry of the game settings.
    if (!Open({.GameSettings = true})) return 1;
    if (!Ws().Stakes().ReadRatings()) return 1;
    const TRatings &ratings = Ws().Stakes().Ratings();
    QStringList lines;
    bool rejected = false;
    for (int row : rows) {
        if (row > ratings.Count())
            return Fail(
                Format(QStringLiteral("В рейтинге нет строки %d (строк: %d)!"), {row, ratings.Count()}));
        const QString comment = RatingComment(ratings.At(row - 1));
        const QString line = RatingToScriptLine(comment);
        if (!IsRatingScriptLine(Ws().Stats().Registry(), line)) {
            Ws().Host().ShowError(
                Format(QStringLiteral("Строку\r\r%s\r\rневозможно добавить в сценарий!"), {comment}));
            rejected = true;
            continue;
        }
        lines << line;
    }
    if (lines.isEmpty()) return 1;
    const QString path = AbsolutePath(out);
    const TOpResult r = Guarded(
        Ws().Host(),
        [&](const QString &reason) {
            return Format(QStringLiteral("Ошибка записи в файл \"%s\"!\r\r%s"), {path, reason});
        },
        [&] { WriteScriptFile(path, lines); });
    if (!r) return 1;
    Out() << Format(QStringLiteral("Строк добавлено: %d"), {lines.size()}) << '\n';
    return rejected ? 1 : 0;
}

REGISTER_CLI_COMMAND(
    TRatingsCommand, "ratings",
    "ratings list [--chance]\n"
    "    one line per rating row in the file's (the last sort) order: the list's 20 cells joined by\n"
    "    a tab, E0..E6 in the window's efficiency mode; --chance adds the probability that as many\n"
    "    random stakes would reach the row's overlaps\n"
    "ratings refresh\n"
    "    rebuilds the ratings from the checked stakes (asks first when ratings exist: --yes)\n"
    "ratings export FILE.csv\n"
    "    the CSV export (Windows-1251, CR LF)\n"
    "ratings to-script ROW... --out FILE.lsc\n"
    "    the script lines of rows ROW (1-based, list order) written to FILE.lsc");

} // namespace lot::cli
