// "graph", "detail" and "sums-distribution": the graph views as text.

#include "cli/WorkspaceCommand.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "stats/GraphViews.h"
#include "stats/StatList.h"
#include "stats/StatsController.h"

#include <QLocale>

namespace lot::cli {

namespace {

QString RealText(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

} // namespace

class TGraphCommand : public TWorkspaceCommand {
public:
    TGraphCommand() : TWorkspaceCommand(QStringLiteral("graph")) {}

protected:
    int Execute() override {
        QString lenText, offsetText;
        const bool hasLen = TakeOption(Args(), QStringLiteral("--len"), lenText);
        const bool hasOffset = TakeOption(Args(), QStringLiteral("--offset"), offsetText);
        const bool sorted = TakeFlag(Args(), QStringLiteral("--sorted"));
        if (Args().isEmpty()) return FailUsage(QStringLiteral("missing method CODE"));
        const QString code = Args().takeFirst();
        if (!NoExtraArguments()) return 1;
        int length = 100;
        if (hasLen && !ReadInt(QStringLiteral("--len"), lenText, 1, 2147483647, length)) return 1;
        if (!Open({.GameSettings = true, .Draws = true})) return 1;
        int offset = 0;
        if (hasOffset &&
            !ReadInt(QStringLiteral("--offset"), offsetText, 0, Ws().Archive().MaxOffset(), offset))
            return 1;
        const TStatList &registry = Ws().Stats().Registry();
        const int entry = registry.FindEntry(code);
        if (entry < 0) return FailUsage(QStringLiteral("unknown method code: ") + code);
        if (!registry.HasGraph(entry))
            return FailUsage(Format(QStringLiteral("method %s has no graph"), {registry.EntryCode(entry)}));
        const TGraphSample sample = ComputeGraphSample(registry, entry, offset, length, sorted);
        for (const TGraphPoint &p : sample.Points)
            Out() << p.X << '\t' << p.Y << '\n';
        if (!sample.Points.isEmpty()) {
            Out() << GraphMeanTitle << '\t' << RealText(sample.Mean) << '\n';
            Out() << GraphModeTitle << '\t' << sample.Mode << '\n';
        }
        return 0;
    }
};

class TDetailCommand : public TWorkspaceCommand {
public:
    TDetailCommand() : TWorkspaceCommand(QStringLiteral("detail")) {}

protected:
    int Execute() override {
        QString indexText, offsetText, colsText;
        const bool hasIndex = TakeOption(Args(), QStringLiteral("--index"), indexText);
        const bool hasOffset = TakeOption(Args(), QStringLiteral("--offset"), offsetText);
        const bool hasCols = TakeOption(Args(), QStringLiteral("--cols"), colsText);
        const bool sorted = TakeFlag(Args(), QStringLiteral("--sorted"));
        if (hasIndex == !Args().isEmpty())
            return FailUsage(QStringLiteral("expected --index I or a combination \"n1;n2;n3;n4;n5;n6\""));
        TComb numbers;
        if (!hasIndex) {
            try {
                numbers = TextToComb(Args().takeFirst());
            } catch (const EError &e) {
                return FailUsage(e.Message());
            }
            if (!IsValidComb(numbers)) return FailUsage(QStringLiteral("numbers must lie in 1..45"));
        }
        if (!NoExtraArguments()) return 1;
        if (!Open({.GameSettings = true, .Draws = true})) return 1;
        const TStatList &registry = Ws().Stats().Registry();
        const int count = Ws().Archive().Count();
        int cols = registry.MatrixCols();
        if (hasCols && !ReadInt(QStringLiteral("--cols"), colsText, 1, NumberCount, cols)) return 1;
        int position = 0;
        if (hasIndex) {
            if (!ReadInt(QStringLiteral("--index"), indexText, 0, count - 1, position)) return 1;
            const TDrawRec &draw = Ws().Archive().Draws().Draws()[size_t(position)];
            numbers = DrawToComb(draw);
            Out() << "Номер тиража: " << draw.DrawNumber << '\n';
            Out() << "Дата тиража: " << DrawDateText(draw) << '\n';
        } else {
            // A combination stands for the draw after the newest draw in use.
            int offset = 0;
            if (hasOffset &&
                !ReadInt(QStringLiteral("--offset"), offsetText, 0, Ws().Archive().MaxOffset(), offset))
                return 1;
            position = std::max(0, count - offset);
        }
        if (sorted) SortComb(numbers);
        Out() << "Числа: " << CombToText(numbers) << '\n';
        for (const TDetailValue &v : DetailValues(registry, numbers, position, sorted))
            Out() << v.Caption << '\t' << v.Value << '\n';
        // The numbers in the grid of `cols` columns; "." for the others.
        const int rows = MatrixRows(cols);
        for (int r = 0; r < rows; ++r) {
            QStringList cells;
            for (int c = 0; c < cols; ++c) {
                const int n = r * cols + c + 1;
                bool drawn = false;
                for (uint8_t x : numbers.N)
                    drawn = drawn || x == n;
                cells << (n > NumberCount ? QString() : drawn ? QString::number(n) : QStringLiteral("."));
            }
            Out() << cells.join(QLatin1Char('\t')) << '\n';
        }
        return 0;
    }
};

class TSumsDistributionCommand : public TWorkspaceCommand {
public:
    TSumsDistributionCommand() : TWorkspaceCommand(QStringLiteral("sums-distribution")) {}

protected:
    int Execute() override {
        if (!NoExtraArguments()) return 1;
        if (!Open({.Draws = true})) return 1;
        const TSumsDistribution d = ComputeSumsDistribution(Ws().Archive().Draws().Draws());
        QHash<int, qint64> actual;
        for (const TSumsDistribution::TTally &t : d.Actual)
            actual.insert(t.Sum, t.Count);
        Out() << "Сумма\tТиражей\tКомбинаций\n";
        for (const TSumsDistribution::TTally &t : d.Theoretical)
            Out() << t.Sum << '\t' << actual.value(t.Sum) << '\t' << t.Count << '\n';
        for (int k = 0; k < 3; ++k)
            Out() << d.RangeTitle(k) << '\n';
        return 0;
    }
};

REGISTER_CLI_COMMAND(
    TGraphCommand, "graph",
    "graph CODE [--len L] [--offset K] [--sorted]\n"
    "                                             the graph of method CODE over the L newest draws\n"
    "                                             in use (default 100): draw number and value per\n"
    "                                             line, then the mean and the mode lines");
REGISTER_CLI_COMMAND(
    TDetailCommand, "detail",
    "detail (--index I | \"n1;..;n6\" [--offset K]) [--cols K] [--sorted]\n"
    "                                             every graph method's value of archive entry I\n"
    "                                             (0 = oldest) or of a combination, then the\n"
    "                                             numbers in a grid of K columns");
REGISTER_CLI_COMMAND(TSumsDistributionCommand, "sums-distribution",
                     "sums-distribution                            draws and combinations per sum, then the\n"
                     "                                             three sum ranges");

} // namespace lot::cli
