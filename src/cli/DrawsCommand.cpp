// "draws": the draws archive from the command line.

#include "archive/DemoDraws.h"
#include "archive/DrawsCsv.h"
#include "archive/DrawText.h"
#include "cli/CliHost.h"
#include "cli/Command.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "shell/Workspace.h"

#include <QDate>
#include <QFileInfo>

namespace lot::cli {

namespace {
// A demo archive is for trying the program out; far more draws than the
// operator has ever held would only make a needlessly large file.
constexpr int MaxDemoCount = 100000;

QString AbsolutePath(const QString &path) {
    return QFileInfo(path).absoluteFilePath();
}
} // namespace

class TDrawsCommand : public TCommand {
public:
    int Run(TCliContext &ctx) override;

private:
    int List();
    int Export();
    int Import();
    int Add();
    int Delete();
    int Demo();

    /// Reports arguments nobody took; true when there were none.
    bool NoExtraArguments();
    int Fail(const QString &message);
    /// Takes the data lock and loads the archive, as the window does at start.
    bool OpenForChange();

    TCliContext *m_ctx = nullptr;
    QStringList m_args;
    std::unique_ptr<TCliHost> m_host;
    std::unique_ptr<TWorkspace> m_ws;
};

int TDrawsCommand::Run(TCliContext &ctx) {
    m_ctx = &ctx;
    m_args = ctx.Args;
    m_host = std::make_unique<TCliHost>(ctx.Err, ctx.Verbose, ctx.AssumeYes);
    m_ws = std::make_unique<TWorkspace>(*m_host, ctx.DataDir);
    const QString action = m_args.isEmpty() ? QString() : m_args.takeFirst();
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

int TDrawsCommand::Fail(const QString &message) {
    m_host->ShowError(message);
    return 1;
}

bool TDrawsCommand::NoExtraArguments() {
    if (m_args.isEmpty()) return true;
    Fail(QStringLiteral("draws: unexpected argument: ") + m_args.first());
    return false;
}

bool TDrawsCommand::OpenForChange() {
    if (!m_ws->AcquireDataLock()) {
        m_host->ShowError(TWorkspace::DataLockMessage());
        return false;
    }
    return m_ws->LoadDraws();
}

int TDrawsCommand::List() {
    if (!NoExtraArguments()) return 1;
    if (!m_ws->LoadDraws()) return 1;
    for (const TDrawRec &draw : m_ws->Archive().Draws())
        m_ctx->Out << DrawToCsvLine(draw) << '\n';
    return 0;
}

int TDrawsCommand::Export() {
    if (m_args.isEmpty()) return Fail(QStringLiteral("draws export: missing FILE"));
    const QString path = AbsolutePath(m_args.takeFirst());
    if (!NoExtraArguments()) return 1;
    if (!m_ws->LoadDraws()) return 1;
    return m_ws->ExportDrawsCsv(path) ? 0 : 1;
}

int TDrawsCommand::Import() {
    if (m_args.isEmpty()) return Fail(QStringLiteral("draws import: missing FILE"));
    const QString path = AbsolutePath(m_args.takeFirst());
    if (!NoExtraArguments()) return 1;
    if (!OpenForChange()) return 1;
    TCsvImportResult result;
    if (!m_ws->ImportDrawsCsv(path, &result)) return 1;
    m_ctx->Out << Format(QStringLiteral("Добавлено тиражей: %d, уже были в архиве: %d, пропущено строк: %d"),
                         {result.Added, result.Duplicates, result.Skipped})
               << '\n';
    return 0;
}

int TDrawsCommand::Add() {
    QString numberText, dateText;
    const bool hasNumber = TakeOption(m_args, QStringLiteral("--number"), numberText);
    const bool hasDate = TakeOption(m_args, QStringLiteral("--date"), dateText);
    if (m_args.isEmpty()) return Fail(QStringLiteral("draws add: missing \"n1;n2;n3;n4;n5;n6;e1;e2\""));
    const QString numbers = m_args.takeFirst();
    if (!NoExtraArguments()) return 1;

    TDrawRec draw;
    if (!ParseDrawNumbersText(numbers, draw)) return Fail(QStringLiteral("Введена некорректная комбинация!"));
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
    if (!hasNumber) draw.DrawNumber = m_ws->NewDrawTemplate().DrawNumber;
    // The window lets a user type any number; a script should not get a
    // second draw under the same number by accident.
    if (m_ws->Archive().FindDrawIndex(draw.DrawNumber) >= 0)
        return Fail(Format(QStringLiteral("Тираж № %d уже есть в архиве!"), {draw.DrawNumber}));
    if (!m_ws->AddDraw(draw)) return 1;
    m_ctx->Out << DrawToText(draw) << '\n';
    return 0;
}

int TDrawsCommand::Delete() {
    if (m_args.isEmpty()) return Fail(QStringLiteral("draws delete: missing NUMBER"));
    const QString numberText = m_args.takeFirst();
    if (!NoExtraArguments()) return 1;
    bool ok = false;
    const int number = numberText.trimmed().toInt(&ok);
    if (!ok) return Fail(Format(QStringLiteral("Некорректный номер тиража: \"%s\"!"), {numberText}));
    if (!OpenForChange()) return 1;
    if (m_ws->Archive().FindDrawIndex(number) < 0)
        return Fail(Format(QStringLiteral("Тираж № %d не найден в архиве!"), {number}));
    if (!m_host->Confirm(TWorkspace::DeleteConfirmText(1), TWorkspace::DeleteConfirmTitle(), true)) return 1;
    return m_ws->DeleteDrawsByNumbers({number}) ? 0 : 1;
}

int TDrawsCommand::Demo() {
    QString countText, seedText, lastDateText;
    const bool hasCount = TakeOption(m_args, QStringLiteral("--count"), countText);
    const bool hasSeed = TakeOption(m_args, QStringLiteral("--seed"), seedText);
    const bool hasLastDate = TakeOption(m_args, QStringLiteral("--last-date"), lastDateText);
    const bool force = TakeFlag(m_args, QStringLiteral("--force"));
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
    if (!m_ws->Archive().IsEmpty() && !force)
        return Fail(
            Format(QStringLiteral("В архиве уже есть тиражи (%d); --force заменит их демонстрационными."),
                   {m_ws->Archive().Count()}));
    if (!m_ws->ReplaceDraws(MakeDemoDraws(count, seed, lastDate))) return 1;
    m_ctx->Out << Format(QStringLiteral("Архив тиражей: %d"), {m_ws->Archive().Count()}) << '\n';
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
