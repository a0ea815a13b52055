// "filter": one filter step or a manual selection of statistics rows applied
// to a combination file, the way a script step or the statistics tab does it.

#include "cli/WorkspaceCommand.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "filters/FilterText.h"

namespace lot::cli {

class TFilterCommand : public TWorkspaceCommand {
public:
    TFilterCommand() : TWorkspaceCommand(QStringLiteral("filter")) {}

protected:
    int Execute() override;

private:
    int RunStep(const QString &filterText);
    int RunSelection(const QString &valueTexts);
    /// The filter text as one concrete step; false (reported) when its
    /// lengths or values are not single numbers where one is needed.
    bool MakePart(const QString &filterText, TFilterPart &part);
    bool OpenList();
    int SaveList();

    QString m_in;
    QString m_out;
    bool m_sorted = false;
};

int TFilterCommand::Execute() {
    QString offsetText, selectText;
    if (!TakeOption(Args(), QStringLiteral("--in"), m_in))
        return Fail(QStringLiteral("filter: --in FILE is required"));
    if (!TakeOption(Args(), QStringLiteral("--out"), m_out))
        return Fail(QStringLiteral("filter: --out FILE is required"));
    const bool hasOffset = TakeOption(Args(), QStringLiteral("--offset"), offsetText);
    m_sorted = TakeFlag(Args(), QStringLiteral("--sorted"));
    const bool hasSelect = TakeOption(Args(), QStringLiteral("--select"), selectText);

    // No data lock and no window settings: only the output file is written.
    if (!Open({.GameSettings = true, .Draws = true})) return 1;
    int offset = 0;
    if (hasOffset && !ReadInt(QStringLiteral("--offset"), offsetText, 0, Ws().Archive().MaxOffset(), offset))
        return 1;
    Ws().Archive().ChangeOffset(offset);
    Ws().Stats().UseSortedDraws(m_sorted);
    Ws().Stats().UsePrefetchs(false);

    if (hasSelect) return RunSelection(selectText);
    if (Args().size() != 1)
        return Fail(Args().isEmpty() ? QStringLiteral("filter: missing FILTER TEXT")
                                     : QStringLiteral("filter: unexpected argument: ") + Args()[1]);
    return RunStep(Args().first());
}

bool TFilterCommand::OpenList() {
    return bool(Ws().Combs().OpenCombsFile(AbsolutePath(m_in)));
}

int TFilterCommand::SaveList() {
    if (!Ws().Combs().SaveCombsFile(AbsolutePath(m_out))) return 1;
    Out() << Ws().Combs().Count() << '\n';
    return 0;
}

bool TFilterCommand::MakePart(const QString &filterText, TFilterPart &part) {
    const TFilterItem item = TextToFilter(Ws().Stats().Registry(), filterText);
    if (!item.Enabled || item.Method < 0) {
        Fail(Format(QStringLiteral("Некорректное описание фильтра: %s!"), {filterText}));
        return false;
    }
    const QList<int> lengths = ParseIntList(item.SampleLengths);
    if (lengths.size() != 1 || lengths[0] < 1) {
        Fail(QStringLiteral("filter: the sample length must be one number of 1 or more"));
        return false;
    }
    const QList<int> values = ParseIntList(item.LevelValues);
    QString levelValue = item.LevelValues;
    QString levelText = item.LevelValues;
    if (item.LevelMode != lmNone) {
        if (values.isEmpty() || (!IsListLevelMode(item.LevelMode) && values.size() != 1)) {
            Fail(QStringLiteral("filter: the values of this selection mode must be one number"));
            return false;
        }
        levelValue = IntListToText(values, QStringLiteral(","));
        if (!IsListLevelMode(item.LevelMode)) levelText = levelValue;
    }
    part = TFilterPart{};
    part.Enabled = true;
    part.Method = item.Method;
    part.SampleLength = lengths[0];
    part.SortColumn = item.SortColumn;
    part.BottomUp = item.BottomUp;
    part.MultiSelect = item.MultiSelect;
    part.KeepSelected = item.KeepSelected;
    part.LevelMode = item.LevelMode;
    part.LevelValue = levelValue;
    part.LevelText = levelText;
    part.OverrideCoefs = item.OverrideCoefs;
    part.Coefs = item.Coefs;
    part.StopMode = item.StopMode;
    part.StopValue = item.StopValue;
    return true;
}

int TFilterCommand::RunStep(const QString &filterText) {
    TFilterPart part;
    if (!MakePart(filterText, part)) return 1;
    if (!OpenList()) return 1;

    TFilterEngine &engine = Ws().Filters().Engine();
    QTextStream &out = Out();
    out << PartToText(Ws().Stats().Registry(), part) << '\n';
    engine.SetWriteLog([&out](const QString &line) { out << TCliHost::TerminalText(line) << '\n'; });
    const TOpResult r = Ws().Filters().RunFilterStep(part);
    engine.SetWriteLog(nullptr);
    return r ? SaveList() : 1;
}

int TFilterCommand::RunSelection(const QString &valueTexts) {
    QString lenText;
    const bool hasLen = TakeOption(Args(), QStringLiteral("--len"), lenText);
    const bool keep = TakeFlag(Args(), QStringLiteral("--keep"));
    const bool del = TakeFlag(Args(), QStringLiteral("--delete"));
    if (Args().isEmpty()) return Fail(QStringLiteral("filter: missing method CODE"));
    const QString code = Args().takeFirst();
    if (!Args().isEmpty()) return Fail(QStringLiteral("filter: unexpected argument: ") + Args().first());
    if (!hasLen) return Fail(QStringLiteral("filter: --len L is required"));
    if (keep == del) return Fail(QStringLiteral("filter: give one of --keep and --delete"));
    int length = 0;
    if (!ReadInt(QStringLiteral("--len"), lenText, TStatTable::MinSampleLength, TStatTable::MaxSampleLength,
                 length))
        return 1;

    TStatsController &stats = Ws().Stats();
    const int entry = stats.Registry().FindEntry(code);
    if (entry < 0) return Fail(Format(QStringLiteral("filter: unknown method \"%s\""), {code}));
    TStatTable &table = stats.Table();
    if (!table.SelectEntry(entry))
        return Fail(Format(QStringLiteral("filter: method \"%s\" is not listed in the statistics selector"),
                           {stats.Registry().EntryCode(entry)}));
    table.SetSampleLength(length);
    if (!stats.ComputeStatistics(true, m_sorted)) return 1;
    // Every text must name a row: a typo would otherwise silently filter by less.
    for (const QString &text : valueTexts.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (text.trimmed().isEmpty()) continue;
        if (table.SelectByValueTexts({text}) == 0)
            return Fail(Format(QStringLiteral("filter: no row has the value \"%s\""), {text.trimmed()}));
    }
    if (table.SelectedCount() == 0) return Fail(QStringLiteral("filter: --select names no value"));
    if (!OpenList()) return 1;
    if (!Ws().Filters().FilterBySelection(del)) return 1;
    return SaveList();
}

REGISTER_CLI_COMMAND(
    TFilterCommand, "filter",
    "filter --in A.lcv --out B.lcv [--offset K] [--sorted] \"FILTER TEXT\"\n"
    "    one filter step of a filter text (e.g. \"TSD1#NUMS:100#LDV:1,2#SF:1\") whose sample\n"
    "    length and single-value mode value are one number; prints the step, its log and the\n"
    "    number of combinations left\n"
    "filter --in A.lcv --out B.lcv [--offset K] [--sorted] --select \"V1;V2\" CODE --len L --keep|--delete\n"
    "    keeps or deletes the combinations having the values of the statistics rows whose\n"
    "    \"Значение\" texts are given; prints the number of combinations left");

} // namespace lot::cli
