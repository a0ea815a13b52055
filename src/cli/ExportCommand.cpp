// "export": a list into a new spreadsheet (.xlsx), with the columns, numbers
// and colours its grid in the window shows.

#include "cli/WorkspaceCommand.h"
#include "combs/CombsController.h"
#include "core/Format.h"
#include "export/ListSheets.h"
#include "export/XlsxExport.h"
#include "stakes/Ratings.h"
#include "stakes/StakesController.h"
#include "stats/StatsController.h"

namespace lot::cli {

namespace {

/// The ratings list as the "Рейтинг" tab shows it: its 20 cells in the
/// window's efficiency mode.
class TRatingsSheet : public TSheetSource {
public:
    TRatingsSheet(const TRatingsArray &rows, int effMode) : m_rows(rows), m_mode(effMode) {}
    QString Title() const override { return QStringLiteral("Рейтинг"); }
    int ColumnCount() const override { return RatingColumnCount; }
    QString ColumnCaption(int column) const override { return RatingColumnHeader(column); }
    qint64 RowCount() const override { return qint64(m_rows.size()); }
    TSheetCell Cell(qint64 row, int column) const override {
        return {RatingCellText(m_rows[size_t(row)], column, m_mode), TSheetCell::NoFill};
    }

private:
    const TRatingsArray &m_rows;
    int m_mode;
};

} // namespace

class TExportCommand : public TWorkspaceCommand {
public:
    TExportCommand() : TWorkspaceCommand(QStringLiteral("export")) {}

protected:
    int Execute() override;

private:
    int Write(const TSheetSource &sheet, const QString &file);
};

int TExportCommand::Write(const TSheetSource &sheet, const QString &file) {
    if (!ExportXlsx(Host(), file, sheet)) return 1;
    Out() << sheet.RowCount() << '\n';
    return 0;
}

int TExportCommand::Execute() {
    QStringList &args = Args();
    QString out;
    const bool hasOut = TakeOption(args, QStringLiteral("--out"), out);
    const bool sorted = TakeFlag(args, QStringLiteral("--sorted"));
    const bool colored = TakeFlag(args, QStringLiteral("--colored"));
    if (args.isEmpty())
        return FailUsage(
            QStringLiteral("what to export: draws, combs FILE.lcv, stats CODE, ratings or card"));
    const QString what = args.takeFirst().toLower();
    if (!hasOut) return FailUsage(QStringLiteral("--out FILE.xlsx is required"));
    const QString file = AbsolutePath(out);

    if (what == QStringLiteral("stats")) {
        // The statistics table is computed by the stats command, which writes
        // it when given --out.
        std::unique_ptr<TCommand> stats = CreateCommand(QStringLiteral("stats"));
        QStringList statsArgs = args;
        if (sorted) statsArgs << QStringLiteral("--sorted");
        statsArgs << QStringLiteral("--out") << out;
        TCliContext ctx{Ctx().DataDir, statsArgs, Ctx().Out, Ctx().Err, Ctx().AssumeYes, Ctx().Verbose};
        return stats ? stats->Run(ctx) : 1;
    }
    if (what == QStringLiteral("draws")) {
        if (!NoExtraArguments()) return 1;
        if (!Open({.GameSettings = true, .Draws = true})) return 1;
        TDrawsSheet sheet(Ws().Archive().Draws());
        sheet.Sorted = sorted;
        sheet.Colored = colored;
        sheet.ChannelSize = Ws().Stats().Registry().ChannelSize();
        return Write(sheet, file);
    }
    if (what == QStringLiteral("combs")) {
        if (args.isEmpty()) return FailUsage(QStringLiteral("combs FILE.lcv: the list to export is missing"));
        const QString list = AbsolutePath(args.takeFirst());
        if (!NoExtraArguments()) return 1;
        if (!Open({.GameSettings = true})) return 1;
        TCombsController &combs = Ws().Combs();
        if (!combs.OpenCombsFile(list)) return 1;
        TCombsSheet sheet;
        sheet.Combs = combs.Combs();
        sheet.Colored = colored;
        sheet.ChannelSize = Ws().Stats().Registry().ChannelSize();
        return Write(sheet, file);
    }
    if (what == QStringLiteral("card")) {
        if (!NoExtraArguments()) return 1;
        if (!Open({.GameSettings = true, .Draws = true})) return 1;
        TCardSheet sheet(Ws().Archive().Draws());
        sheet.ColorCard = colored;
        sheet.ColorCardSequences = colored;
        sheet.ChannelSize = Ws().Stats().Registry().ChannelSize();
        return Write(sheet, file);
    }
    if (what == QStringLiteral("ratings")) {
        if (!NoExtraArguments()) return 1;
        if (!Open({.WindowSettings = true})) return 1;
        if (!Ws().Stakes().ReadRatings()) return 1;
        if (Ws().Stakes().Ratings().IsEmpty()) return Fail(QStringLiteral("Рейтинг пуст!"));
        return Write(TRatingsSheet(Ws().Stakes().Ratings().Rows(), Ws().Stakes().RatingsEffMode()), file);
    }
    return FailUsage(
        Format(QStringLiteral("cannot export \"%s\" (draws, combs, stats, ratings or card)"), {what}));
}

REGISTER_CLI_COMMAND(
    TExportCommand, "export",
    "export draws [--sorted] [--colored] --out FILE.xlsx\n"
    "export combs FILE.lcv [--colored] --out FILE.xlsx\n"
    "export stats CODE --len L [--offset K] [--sorted] [--prefetch] --out FILE.xlsx\n"
    "export card [--colored] --out FILE.xlsx\n"
    "export ratings --out FILE.xlsx\n"
    "                                             a list into a new spreadsheet, as its grid shows\n"
    "                                             it (--colored: the number cells in their group\n"
    "                                             colours); prints the number of rows");

} // namespace lot::cli
