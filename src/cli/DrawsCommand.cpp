// "draws": the draws archive from the command line.

#include "archive/DemoDraws.h"
#include "archive/DrawsCsv.h"
#include "archive/DrawText.h"
#include "cli/WorkspaceCommand.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "core/Messages.h"

#include <QDate>

namespace lot::cli {

namespace {
// A demo archive is for trying the program out; far more draws than the
// operator has ever held would only make a needlessly large file.
constexpr int MaxDemoCount = 100000;
} // namespace

class TDrawsCommand : public TWorkspaceCommand {
public:
    TDrawsCommand() : TWorkspaceCommand(QStringLiteral("draws")) {}

protected:
    int Execute() override;

private:
    /// Takes the data lock and loads the archive, as the window does at start.
    bool OpenForChange() { return Open({.DataLock = true, .Draws = true}); }
    /// A damaged draws file is reported and its valid records are listed or
    /// exported all the same, as the window shows them.
    bool OpenForReading() { return Open({.Draws = true, .KeepDamagedDraws = true}); }
    int List();
    int Export();
    int Import();
    int Add();
    int Delete();
    int Demo();
};

int TDrawsCommand::Execute() {
    const QString action = Args().isEmpty() ? QString() : Args().takeFirst();
    if (action == QLatin1String("list")) return List();
    if (action == QLatin1String("export")) return Export();
    if (action == QLatin1String("import")) return Import();
    if (action == QLatin1String("add")) return Add();
    if (action == QLatin1String("delete")) return Delete();
    if (action == QLatin1String("demo")) return Demo();
    return Fail(action.isEmpty()
                    ? QStringLiteral("draws: missing action (list, import, export, add, delete, demo)")
                    : QStringLiteral("draws: unknown action: ") + action);
}

int TDrawsCommand::List() {
    if (!NoExtraArguments()) return 1;
    OpenForReading();
    for (const TDrawRec &draw : Ws().Archive().Draws().Draws())
        Out() << DrawToCsvLine(draw) << '\n';
    return 0;
}

int TDrawsCommand::Export() {
    if (Args().isEmpty()) return Fail(QStringLiteral("draws export: missing FILE"));
    const QString path = AbsolutePath(Args().takeFirst());
    if (!NoExtraArguments()) return 1;
    OpenForReading();
    return Ws().Archive().ExportDrawsCsv(path) ? 0 : 1;
}

int TDrawsCommand::Import() {
    if (Args().isEmpty()) return Fail(QStringLiteral("draws import: missing FILE"));
    const QString path = AbsolutePath(Args().takeFirst());
    if (!NoExtraArguments()) return 1;
    if (!OpenForChange()) return 1;
    TCsvImportResult result;
    if (!Ws().Archive().ImportDrawsCsv(path, &result)) return 1;
    Out() << Format(QStringLiteral("Добавлено тиражей: %d, уже были в архиве: %d, пропущено строк: %d"),
                    {result.Added, result.Duplicates, result.Skipped})
          << '\n';
    return 0;
}

int TDrawsCommand::Add() {
    QString numberText, dateText;
    const bool hasNumber = TakeOption(Args(), QStringLiteral("--number"), numberText);
    const bool hasDate = TakeOption(Args(), QStringLiteral("--date"), dateText);
    if (Args().isEmpty()) return Fail(QStringLiteral("draws add: missing \"n1;n2;n3;n4;n5;n6;e1;e2\""));
    const QString numbers = Args().takeFirst();
    if (!NoExtraArguments()) return 1;

    TDrawRec draw;
    if (!ParseDrawNumbersText(numbers, draw)) return Fail(QString::fromUtf8(msg::BadCombination));
    if (hasNumber) {
        bool ok = false;
        draw.DrawNumber = numberText.trimmed().toInt(&ok);
        if (!ok || draw.DrawNumber < 1)
            return Fail(Format(QStringLiteral("Некорректный номер тиража: \"%s\"!"), {numberText}));
    }
    QDate date = QDate::currentDate();
    if (hasDate) {
        try {
            date = DrawTextToDate(dateText);
        } catch (const std::exception &e) {
            return Fail(ExceptionText(e));
        }
    }
    SetDrawDateText(draw, DateToDrawText(date));

    if (!OpenForChange()) return 1;
    if (!hasNumber) draw.DrawNumber = Ws().Archive().NewDrawTemplate().DrawNumber;
    // The window lets a user type any number; a script should not get a
    // second draw under the same number by accident.
    if (Ws().Archive().Draws().FindDrawIndex(draw.DrawNumber) >= 0)
        return Fail(Format(QStringLiteral("Тираж № %d уже есть в архиве!"), {draw.DrawNumber}));
    if (!Ws().Archive().AddDraw(draw)) return 1;
    Out() << DrawToText(draw) << '\n';
    return 0;
}

int TDrawsCommand::Delete() {
    if (Args().isEmpty()) return Fail(QStringLiteral("draws delete: missing NUMBER"));
    const QString numberText = Args().takeFirst();
    if (!NoExtraArguments()) return 1;
    bool ok = false;
    const int number = numberText.trimmed().toInt(&ok);
    if (!ok) return Fail(Format(QStringLiteral("Некорректный номер тиража: \"%s\"!"), {numberText}));
    if (!OpenForChange()) return 1;
    if (Ws().Archive().Draws().FindDrawIndex(number) < 0)
        return Fail(Format(QStringLiteral("Тираж № %d не найден в архиве!"), {number}));
    if (!Host().Confirm(TArchiveController::DeleteConfirmText(1), TArchiveController::DeleteConfirmTitle(),
                        true))
        return 1;
    return Ws().Archive().DeleteDrawsByNumbers({number}) ? 0 : 1;
}

int TDrawsCommand::Demo() {
    QString countText, seedText, lastDateText;
    const bool hasCount = TakeOption(Args(), QStringLiteral("--count"), countText);
    const bool hasSeed = TakeOption(Args(), QStringLiteral("--seed"), seedText);
    const bool hasLastDate = TakeOption(Args(), QStringLiteral("--last-date"), lastDateText);
    const bool force = TakeFlag(Args(), QStringLiteral("--force"));
    if (!NoExtraArguments()) return 1;
    if (!hasCount || !hasSeed) return Fail(QStringLiteral("draws demo: --count N and --seed S are required"));

    bool ok = false;
    const int count = countText.toInt(&ok);
    if (!ok || count < 1 || count > MaxDemoCount)
        return Fail(Format(QStringLiteral("draws demo: --count must be 1..%d"), {MaxDemoCount}));
    const quint32 seed = seedText.toUInt(&ok);
    if (!ok) return Fail(QStringLiteral("draws demo: --seed must be an integer 0..4294967295"));
    QDate lastDate = QDate::currentDate();
    if (hasLastDate) {
        lastDate = QDate::fromString(lastDateText, Qt::ISODate);
        if (!lastDate.isValid()) return Fail(QStringLiteral("draws demo: --last-date must be YYYY-MM-DD"));
    }

    if (!OpenForChange()) return 1;
    if (!Ws().Archive().IsEmpty() && !force)
        return Fail(
            Format(QStringLiteral("В архиве уже есть тиражи (%d); --force заменит их демонстрационными."),
                   {Ws().Archive().Count()}));
    if (!Ws().Archive().ReplaceDraws(MakeDemoDraws(count, seed, lastDate))) return 1;
    Out() << Format(QStringLiteral("Архив тиражей: %d"), {Ws().Archive().Count()}) << '\n';
    return 0;
}

REGISTER_CLI_COMMAND(
    TDrawsCommand, "draws",
    "draws list                                   the archive as CSV on stdout, oldest first\n"
    "draws import FILE                            import draws from a CSV file\n"
    "draws export FILE                            write the archive to a CSV file\n"
    "draws add \"n1;n2;n3;n4;n5;n6;e1;e2\" [--number N] [--date \"5 Dec 2026\"]\n"
    "draws delete NUMBER                          delete a draw (asks; --yes confirms)\n"
    "draws demo --count N --seed S [--last-date YYYY-MM-DD] [--force]\n"
    "                                             write a synthetic archive");

} // namespace lot::cli
