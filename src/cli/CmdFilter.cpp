// "filter": one filter step or a manual selection of statistics rows applied
// to a combination file, the way a script step or the statistics tab does it.

#include "cli/CliHost.h"
#include "cli/Command.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "filters/FilterText.h"
#include "shell/Workspace.h"

#include <QFileInfo>

namespace lot::cli {

class TFilterCommand : public TCommand {
public:
    int Run(TCliContext &ctx) override;

private:
    int RunStep(const QString &filterText);
    int RunSelection(const QString &valueTexts);
    /// The filter text as one concrete step; false (reported) when its
    /// lengths or values are not single numbers where one is needed.
    bool MakePart(const QString &filterText, TFilterPart &part);
    bool ReadInt(const QString &name, const QString &text, int min, int max, int &value);
    bool OpenList();
    int SaveList();
    int Fail(const QString &message);

    TCliContext *m_ctx = nullptr;
    QStringList m_args;
    std::unique_ptr<TCliHost> m_host;
    std::unique_ptr<TWorkspace> m_ws;
    QString m_in;
    QString m_out;
};

int TFilterCommand::Fail(const QString &message) {
    m_host->ShowError(message);
    return 1;
}

bool TFilterCommand::ReadInt(const QString &name, const QString &text, int min, int max, int &value) {
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok || v < min || v > max) {
        Fail(Format(QStringLiteral("filter: %s must be an integer %d..%d"), {name, min, max}));
        return false;
    }
    value = int(v);
    return true;
}

int TFilterCommand::Run(TCliContext &ctx) {
    m_ctx = &ctx;
    m_args = ctx.Args;
    m_host = std::make_unique<TCliHost>(ctx.Err, ctx.Verbose, ctx.AssumeYes);
    QString offsetText, selectText;
    if (!TakeOption(m_args, QStringLiteral("--in"), m_in))
        return Fail(QStringLiteral("filter: --in FILE is required"));
    if (!TakeOption(m_args, QStringLiteral("--out"), m_out))
        return Fail(QStringLiteral("filter: --out FILE is required"));
    const bool hasOffset = TakeOption(m_args, QStringLiteral("--offset"), offsetText);
    const bool sorted = TakeFlag(m_args, QStringLiteral("--sorted"));
    const bool hasSelect = TakeOption(m_args, QStringLiteral("--select"), selectText);

    m_ws = std::make_unique<TWorkspace>(*m_host, ctx.DataDir);
    // No data lock and no window settings: only the output file is written.
    if (!m_ws->LoadDraws()) return 1;
    m_ws->LoadGameSettings();
    int offset = 0;
    if (hasOffset && !ReadInt(QStringLiteral("--offset"), offsetText, 0, m_ws->MaxDrawsOffset(), offset))
        return 1;
    m_ws->Archive().SetOffset(offset);
    m_ws->StatTable().SetSortedDraws(sorted);
    m_ws->Prefetchs().SetEnabled(false);

    if (hasSelect) return RunSelection(selectText);
    if (m_args.size() != 1)
        return Fail(m_args.isEmpty() ? QStringLiteral("filter: missing FILTER TEXT")
                                     : QStringLiteral("filter: unexpected argument: ") + m_args[1]);
    return RunStep(m_args.first());
}

bool TFilterCommand::OpenList() {
    return m_ws->Combs().OpenCombsFile(QFileInfo(m_in).absoluteFilePath());
}

int TFilterCommand::SaveList() {
    if (!m_ws->Combs().SaveCombsFile(QFileInfo(m_out).absoluteFilePath())) return 1;
    m_ctx->Out << m_ws->Combs().Count() << '\n';
    return 0;
}

bool TFilterCommand::MakePart(const QString &filterText, TFilterPart &part) {
    const TFilterItem item = TextToFilter(m_ws->Stats(), filterText);
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

    TStatList &stats = m_ws->Stats();
    TFilterEngine &filters = m_ws->Filters();
    QTextStream &out = m_ctx->Out;
    out << PartToText(stats, part) << '\n';
    filters.SetWriteLog([&out](const QString &line) { out << TCliHost::TerminalText(line) << '\n'; });
    // A step's own coefficients last for the step only, as in a script run.
    stats.PushWeightCoefs();
    int status = 0;
    try {
        filters.ApplyFilterPart(part);
    } catch (const std::exception &e) {
        status = Fail(ExceptionText(e));
    }
    stats.PopWeightCoefs();
    filters.SetWriteLog(nullptr);
    return status != 0 ? status : SaveList();
}

int TFilterCommand::RunSelection(const QString &valueTexts) {
    QString lenText;
    const bool hasLen = TakeOption(m_args, QStringLiteral("--len"), lenText);
    const bool keep = TakeFlag(m_args, QStringLiteral("--keep"));
    const bool del = TakeFlag(m_args, QStringLiteral("--delete"));
    if (m_args.isEmpty()) return Fail(QStringLiteral("filter: missing method CODE"));
    const QString code = m_args.takeFirst();
    if (!m_args.isEmpty()) return Fail(QStringLiteral("filter: unexpected argument: ") + m_args.first());
    if (!hasLen) return Fail(QStringLiteral("filter: --len L is required"));
    if (keep == del) return Fail(QStringLiteral("filter: give one of --keep and --delete"));
    int length = 0;
    if (!ReadInt(QStringLiteral("--len"), lenText, TStatTable::MinSampleLength, TStatTable::MaxSampleLength,
                 length))
        return 1;

    const int entry = m_ws->Stats().FindEntry(code);
    if (entry < 0) return Fail(Format(QStringLiteral("filter: unknown method \"%s\""), {code}));
    TStatTable &table = m_ws->StatTable();
    if (!table.SelectEntry(entry))
        return Fail(Format(QStringLiteral("filter: method \"%s\" is not listed in the statistics selector"),
                           {m_ws->Stats().EntryCode(entry)}));
    table.SetSampleLength(length);
    try {
        table.ComputeStatistics(true);
    } catch (const std::exception &e) {
        return Fail(ExceptionText(e));
    }
    // Every text must name a row: a typo would otherwise silently filter by less.
    for (const QString &text : valueTexts.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (text.trimmed().isEmpty()) continue;
        if (table.SelectByValueTexts({text}) == 0)
            return Fail(Format(QStringLiteral("filter: no row has the value \"%s\""), {text.trimmed()}));
    }
    if (table.SelectedCount() == 0) return Fail(QStringLiteral("filter: --select names no value"));
    if (!OpenList()) return 1;
    if (!m_ws->Filters().FilterBySelection(del)) return 1;
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
