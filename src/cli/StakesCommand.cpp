// "stakes": the stakes file from the command line.

#include "archive/ArchiveController.h"
#include "cli/WorkspaceCommand.h"
#include "combs/CombsController.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "stakes/StakeRec.h"

#include <limits>
#include <QStringList>

namespace lot::cli {

class TStakesCommand : public TWorkspaceCommand {
public:
    TStakesCommand() : TWorkspaceCommand(QStringLiteral("stakes")) {}

protected:
    int Execute() override;

private:
    /// Every command that changes the stakes takes the data lock and, since
    /// it checks the stakes afterwards, reads the prices and the draws.
    bool OpenForChange() { return Open({.DataLock = true, .GameSettings = true, .Draws = true}); }
    /// The draw options of add and add-list; false when one is bad (reported).
    bool TakeDrawOptions(bool &hasDraw, int &draw, int &draws);
    /// A comment as the stake dialogs take it; false when it is refused (reported).
    bool CheckComment(const QString &comment);
    int PrintCount();
    int List();
    int Add();
    int AddList();
    int Check();
    int Delete();
};

int TStakesCommand::Execute() {
    const QString action = Args().isEmpty() ? QString() : Args().takeFirst();
    if (action == QLatin1String("list")) return List();
    if (action == QLatin1String("add")) return Add();
    if (action == QLatin1String("add-list")) return AddList();
    if (action == QLatin1String("check")) return Check();
    if (action == QLatin1String("delete")) return Delete();
    return Fail(action.isEmpty()
                    ? QStringLiteral("stakes: missing action (list, add, add-list, check, delete)")
                    : QStringLiteral("stakes: unknown action: ") + action);
}

bool TStakesCommand::TakeDrawOptions(bool &hasDraw, int &draw, int &draws) {
    QString drawText, drawsText;
    hasDraw = TakeOption(Args(), QStringLiteral("--draw"), drawText);
    const bool hasDraws = TakeOption(Args(), QStringLiteral("--draws"), drawsText);
    draws = 1;
    if (hasDraw && !ReadInt(QStringLiteral("--draw"), drawText, 1, std::numeric_limits<int>::max(), draw))
        return false;
    // The ranges of the dialogs' spin edits.
    return !hasDraws || ReadInt(QStringLiteral("--draws"), drawsText, 1, 65535, draws);
}

bool TStakesCommand::CheckComment(const QString &comment) {
    if (comment.trimmed().isEmpty()) {
        Fail(QString::fromUtf8(msg::StakeCommentMissing));
        return false;
    }
    if (comment.size() > StakeCommentMaxLength) {
        Fail(Format(QStringLiteral("Комментарий к ставке длиннее %d символов!"), {StakeCommentMaxLength}));
        return false;
    }
    return true;
}

int TStakesCommand::PrintCount() {
    Out() << Ws().Stakes().CountText() << '\n';
    return 0;
}

int TStakesCommand::List() {
    if (!NoExtraArguments()) return 1;
    // No lock: a listing may run beside the window that holds it.
    if (!Ws().Stakes().OpenForReading()) return 1;
    const TOpResult r = Ws().Stakes().VisitStakes([&](qint64, const TStakeRec &rec) {
        if (IsEmptyRow(rec)) {
            Out() << '\n';
            return;
        }
        QStringList cells;
        for (int c = 0; c < StakeColumnCount; ++c)
            cells << StakeCellText(rec, c);
        Out() << cells.join(QLatin1Char('\t')) << '\n';
    });
    return r ? 0 : 1;
}

int TStakesCommand::Add() {
    bool hasDraw = false;
    int draw = 0, draws = 1;
    QString comment = ManualStakeComment();
    TakeOption(Args(), QStringLiteral("--comment"), comment);
    if (!TakeDrawOptions(hasDraw, draw, draws)) return 1;
    if (Args().isEmpty()) return Fail(QStringLiteral("stakes add: missing \"n1;n2;n3;n4;n5;n6\""));
    const QString numbersText = Args().takeFirst();
    if (!NoExtraArguments()) return 1;
    TNumberSet numbers;
    if (!ParseStakeNumbers(numbersText, numbers)) return Fail(QString::fromUtf8(msg::BadCombination));
    if (!CheckComment(comment)) return 1;

    if (!OpenForChange()) return 1;
    TStakeRec rec = Ws().Stakes().NewManualStake(numbers);
    if (hasDraw) rec.DrawNumber = draw;
    SetStakeComment(rec, comment);
    if (!Ws().Stakes().AddStake(rec, draws)) return 1;
    return PrintCount();
}

int TStakesCommand::AddList() {
    bool hasDraw = false;
    int draw = 0, draws = 1;
    QString comment;
    const bool hasComment = TakeOption(Args(), QStringLiteral("--comment"), comment);
    if (!TakeDrawOptions(hasDraw, draw, draws)) return 1;
    if (Args().isEmpty()) return Fail(QStringLiteral("stakes add-list: missing FILE.lcv"));
    const QString path = AbsolutePath(Args().takeFirst());
    if (!NoExtraArguments()) return 1;
    if (!hasComment) return Fail(QStringLiteral("stakes add-list: --comment TEXT is required"));
    if (!CheckComment(comment)) return 1;

    if (!OpenForChange()) return 1;
    // The file becomes the combination list, whose size each stake records.
    if (!Ws().Combs().OpenCombsFile(path)) return 1;
    if (Ws().Combs().IsEmpty())
        return Fail(Format(QStringLiteral("В файле \"%s\" нет ни одной комбинации!"), {path}));
    if (!hasDraw) draw = Ws().Stakes().NextDrawNumber();
    if (!Ws().Stakes().AddStakesForCombs(Ws().Combs().Combs(), draw, draws, comment)) return 1;
    return PrintCount();
}

int TStakesCommand::Check() {
    if (!NoExtraArguments()) return 1;
    if (!OpenForChange()) return 1;
    qint64 checked = 0;
    if (!Ws().Stakes().CheckStakesManual(&checked)) return 1;
    Out() << Format(QStringLiteral("Проверено ставок: %d"), {checked}) << '\n';
    return 0;
}

int TStakesCommand::Delete() {
    QString rowsText, conditionText, valueText;
    const bool byRows = TakeOption(Args(), QStringLiteral("--rows"), rowsText);
    const bool byCondition = TakeOption(Args(), QStringLiteral("--condition"), conditionText);
    const bool hasValue = TakeOption(Args(), QStringLiteral("--value"), valueText);
    const bool all = TakeFlag(Args(), QStringLiteral("--all"));
    if (!NoExtraArguments()) return 1;
    if (int(byRows) + int(byCondition) + int(all) != 1 || byCondition != hasValue)
        return Fail(QStringLiteral("stakes delete: give one of --rows A-B, --condition C --value V, --all"));

    qint64 first = 0, last = 0;
    int condition = 0, value = 0;
    if (byRows) {
        const QStringList ends = rowsText.split(QLatin1Char('-'));
        bool okFirst = false, okLast = false;
        first = ends.value(0).trimmed().toLongLong(&okFirst);
        last = ends.size() == 2 ? ends[1].trimmed().toLongLong(&okLast) : first;
        if (ends.size() == 1) okLast = okFirst;
        if (ends.size() > 2 || !okFirst || !okLast || first < 1 || last < first)
            return Fail(QStringLiteral("stakes delete: --rows must be A-B with 1 <= A <= B"));
    }
    if (byCondition &&
        (!ReadInt(QStringLiteral("--condition"), conditionText, 0, StakeConditionCount - 1, condition) ||
         !ReadInt(QStringLiteral("--value"), valueText, 0, StakeConditionValueMax, value)))
        return 1;

    if (!OpenForChange()) return 1;
    TStakesController &stakes = Ws().Stakes();
    const QString title = TArchiveController::DeleteConfirmTitle();
    qint64 removed = 0;
    if (byRows) {
        // Rows count from 1 as in the grid. A range past the file is refused
        // by the delete itself, before anything is asked.
        if (last <= stakes.Count() &&
            !Host().Confirm(TArchiveController::DeleteConfirmText(int(last - first + 1)), title, true))
            return 1;
        if (!stakes.DeleteSelectedStakes(first - 1, last - 1, &removed)) return 1;
    } else if (byCondition) {
        if (!Host().Confirm(Format(QStringLiteral("Удалить ставки по условию \"%s\" %d?"),
                                   {StakeConditionText(condition), value}),
                            title, true))
            return 1;
        if (!stakes.DeleteStakesByOverlaps(condition, value, &removed)) return 1;
    } else {
        removed = stakes.Count();
        if (removed > 0) {
            if (!Host().Confirm(TArchiveController::DeleteConfirmText(int(qMin<qint64>(removed, INT_MAX))),
                                title, true))
                return 1;
            if (!stakes.StakeClear()) return 1;
        }
    }
    Out() << Format(QStringLiteral("Удалено ставок: %d"), {removed}) << '\n';
    return PrintCount();
}

REGISTER_CLI_COMMAND(
    TStakesCommand, "stakes",
    "stakes list                                  every record of the stakes file, the grid's cells\n"
    "                                             joined by tabs (a separator as an empty line)\n"
    "stakes add \"n1;n2;n3;n4;n5;n6\" [--draw N] [--draws K] [--comment TEXT]\n"
    "                                             one manual stake, then the check\n"
    "stakes add-list FILE.lcv [--draw N] [--draws K] --comment TEXT\n"
    "                                             a stake for every combination of the file\n"
    "stakes check                                 check the stakes against the archive\n"
    "stakes delete --rows A-B | --condition C --value V | --all\n"
    "                                             delete stakes (asks; --yes confirms); C: 0 =, 1 >,\n"
    "                                             2 >=, 3 <, 4 <= the overlap count V");

} // namespace lot::cli
