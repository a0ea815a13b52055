// "regular": the regular table stakes from the command line.

#include "archive/ArchiveController.h"
#include "cli/WorkspaceCommand.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "core/OpResult.h"
#include "stakes/StakeRec.h"
#include "stakes/TablesController.h"

#include <limits>
#include <QStringList>

namespace lot::cli {

class TRegularCommand : public TWorkspaceCommand {
public:
    TRegularCommand() : TWorkspaceCommand(QStringLiteral("regular")) {}

protected:
    int Execute() override;

private:
    /// The rules live while the tab "Регуляры" is shown: a hidden tab keeps none.
    bool OpenRules(bool change);
    int List();
    int Add();
    int Stake();
    int Test();
    /// Rows of the names given, or every row without names; false when a
    /// name is unknown (reported).
    bool RowsOf(const QStringList &names, QList<int> &rows);
    void PrintRule(int row);
};

int TRegularCommand::Execute() {
    const QString action = Args().isEmpty() ? QString() : Args().takeFirst();
    if (action == QLatin1String("list")) return List();
    if (action == QLatin1String("add")) return Add();
    if (action == QLatin1String("stake")) return Stake();
    if (action == QLatin1String("test")) return Test();
    return Fail(action.isEmpty() ? QStringLiteral("regular: missing action (list, add, stake, test)")
                                 : QStringLiteral("regular: unknown action: ") + action);
}

bool TRegularCommand::OpenRules(bool change) {
    const bool ok =
        change ? Open({.WindowSettings = true, .DataLock = true, .GameSettings = true, .Draws = true})
               : Open({.WindowSettings = true});
    if (!ok) return false;
    if (!Ws().Tables().TabVisible()) {
        Fail(QStringLiteral("Вкладка \"Регуляры\" скрыта: регулярные ставки не загружаются."));
        return false;
    }
    return bool(Ws().Tables().LoadTables());
}

void TRegularCommand::PrintRule(int row) {
    QStringList cells;
    for (int c = 0; c < TableColumnCount; ++c)
        cells << TableCellText(Ws().Tables().At(row), c);
    Out() << cells.join(QLatin1Char('\t')) << '\n';
}

bool TRegularCommand::RowsOf(const QStringList &names, QList<int> &rows) {
    const TTablesController &tables = Ws().Tables();
    if (names.isEmpty()) {
        for (int i = 0; i < tables.Count(); ++i)
            rows << i;
        return true;
    }
    for (const QString &name : names) {
        const int row = tables.Find(name);
        if (row < 0) {
            Fail(Format(QStringLiteral("Регулярная ставка \"%s\" не найдена!"), {name}));
            return false;
        }
        rows << row;
    }
    return true;
}

int TRegularCommand::List() {
    if (!NoExtraArguments()) return 1;
    if (!OpenRules(false)) return 1;
    for (int i = 0; i < Ws().Tables().Count(); ++i)
        PrintRule(i);
    return 0;
}

int TRegularCommand::Add() {
    if (Args().isEmpty() || Args().first().startsWith(QLatin1String("--")))
        return Fail(QStringLiteral("regular add: missing NAME"));
    const QString name = Args().takeFirst();
    QString stepText, startText;
    const bool hasStep = TakeOption(Args(), QStringLiteral("--step"), stepText);
    const bool hasStart = TakeOption(Args(), QStringLiteral("--start"), startText);
    const bool lastDraw = TakeFlag(Args(), QStringLiteral("--last-draw"));
    if (!NoExtraArguments()) return 1;
    int step = 1;
    if (hasStep && !ReadInt(QStringLiteral("--step"), stepText, -TableStepLimit, TableStepLimit, step))
        return 1;
    if (hasStart == lastDraw)
        return Fail(QStringLiteral("regular add: give either --start \"n1;..;n6\" or --last-draw"));
    if (name.size() > TableNameMaxLength)
        return Fail(
            Format(QStringLiteral("Комментарий к ставке длиннее %d символов!"), {TableNameMaxLength}));
    if (!OpenRules(true)) return 1;

    TComb start;
    const TTableRuleError error = CheckTableRule(name, hasStart, startText, Ws().Tables().Names(), &start);
    if (error != TTableRuleError::None) return Fail(TableRuleErrorText(error));
    if (!Ws().Tables().AddRules(NewTableRule(name, lastDraw, step, start), {}, {})) return 1;
    PrintRule(Ws().Tables().Count() - 1);
    return 0;
}

int TRegularCommand::Stake() {
    const QStringList names = Args();
    Args().clear();
    if (!OpenRules(true)) return 1;
    QList<int> rows;
    if (!RowsOf(names, rows)) return 1;
    if (rows.isEmpty()) return Fail(QStringLiteral("Список регулярных ставок пуст!"));
    TTablesController &tables = Ws().Tables();
    for (int row : rows) {
        TTableRec advanced;
        TStakeRec stake;
        if (!Guarded(Ws().Host(), QString(), [&] { tables.NextStake(row, advanced, stake); })) return 1;
        if (!tables.CommitStake(row, advanced, stake, 1)) return 1;
        Out() << Format(QStringLiteral("%d\t%s\t%s"),
                        {stake.DrawNumber, StakeCellText(stake, scNumbers), StakeComment(stake)})
              << '\n';
    }
    return 0;
}

int TRegularCommand::Test() {
    QString countText;
    if (!TakeOption(Args(), QStringLiteral("--count"), countText))
        return Fail(QStringLiteral("regular test: --count N is required"));
    const QStringList names = Args();
    Args().clear();
    if (!OpenRules(true)) return 1;
    TTablesController &tables = Ws().Tables();
    const int max = tables.MaxTestCount();
    if (max < 1) return Fail(QStringLiteral("Для теста необходимо не менее двух тиражей в архиве!"));
    int count = 0;
    if (!ReadInt(QStringLiteral("--count"), countText, 1, max, count)) return 1;
    QList<int> rows;
    if (!RowsOf(names, rows)) return 1;
    if (rows.isEmpty()) return Fail(QStringLiteral("Список регулярных ставок пуст!"));
    int appended = 0;
    const TOpResult r = tables.TestRules(rows, count, &appended);
    Out() << Format(QStringLiteral("Ставок сделано: %d"), {appended}) << '\n';
    Out() << Ws().Stakes().CountText() << '\n' << Ws().Stakes().RatingsCountText() << '\n';
    return r ? 0 : 1;
}

REGISTER_CLI_COMMAND(
    TRegularCommand, "regular",
    "regular list\n"
    "    one line per regular stake rule: name, start combination, step, current combination and\n"
    "    stakes made, joined by a tab\n"
    "regular add NAME [--step S] (--start \"n1;..;n6\" | --last-draw)\n"
    "    a new rule shifting its start combination (or the previous draw's numbers) by S, -45..45,\n"
    "    1 by default\n"
    "regular stake [NAME...]\n"
    "    the stake of each named rule (every rule without names) for the next draw\n"
    "regular test --count N [NAME...]\n"
    "    tests the rules over the N past draws: one regular stake per rule and draw, then checks\n"
    "    the stakes and updates the ratings");

} // namespace lot::cli
