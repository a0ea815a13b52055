// "systems": the systems (wheels) from the command line: the catalogue's
// list, downloads, a local system, its guarantees, system play and
// publishing.

#include "catalogue/CatalogueController.h"
#include "cli/WorkspaceCommand.h"
#include "combs/CombsController.h"
#include "core/Codec1251.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "stakes/StakeRec.h"
#include "stakes/StakesController.h"
#include "stats/StatsController.h"
#include "systems/SystemGuarantee.h"
#include "systems/SystemsController.h"

#include <limits>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace lot::cli {

class TSystemsCommand : public TWorkspaceCommand {
public:
    TSystemsCommand() : TWorkspaceCommand(QStringLiteral("systems")) {}

protected:
    int Execute() override;

private:
    int List();
    int Download();
    int Show();
    int Check();
    int Play();
    int Publish();
    void PrintItem(int row);
    /// The catalogue's name and e-mail of the user (what makes a system one's own).
    void UseCatalogueIdentity();
    /// The local file of the system for the N given, or FILE itself; n
    /// receives N (from the file name, else 0). False when there is none (reported).
    bool SystemFile(const QString &arg, QString &path, int &n);
};

int TSystemsCommand::Execute() {
    const QString action = Args().isEmpty() ? QString() : Args().takeFirst();
    if (action == QLatin1String("list")) return List();
    if (action == QLatin1String("download")) return Download();
    if (action == QLatin1String("show")) return Show();
    if (action == QLatin1String("check")) return Check();
    if (action == QLatin1String("play")) return Play();
    if (action == QLatin1String("publish")) return Publish();
    return Fail(action.isEmpty()
                    ? QStringLiteral("systems: missing action (list, download, show, check, play, publish)")
                    : QStringLiteral("systems: unknown action: ") + action);
}

void TSystemsCommand::PrintItem(int row) {
    const TSystemItem &item = Ws().Systems().At(row);
    QStringList cells{QString::number(item.Info.Id)};
    for (int c = 0; c < SystemColumnCount; ++c)
        cells << SystemCellText(item, c)
                     .replace(QLatin1Char('\t'), QLatin1Char(' '))
                     .replace(QLatin1Char('\r'), QLatin1Char(' '))
                     .replace(QLatin1Char('\n'), QLatin1Char(' '));
    Out() << cells.join(QLatin1Char('\t')) << '\n';
}

void TSystemsCommand::UseCatalogueIdentity() {
    TCatalogueController &catalogue = Ws().Catalogue();
    if (catalogue.LoadSettings())
        Ws().Systems().SetUser(catalogue.Settings().UserName, catalogue.Settings().UserMail);
}

int TSystemsCommand::List() {
    const bool local = TakeFlag(Args(), QStringLiteral("--local"));
    if (!NoExtraArguments()) return 1;
    if (!Open({.WindowSettings = true})) return 1;
    UseCatalogueIdentity();
    TSystemsController &systems = Ws().Systems();
    if (local) {
        // The files as the play finds them: N, the file, its lines.
        QDir dir(systems.Dir());
        for (const QString &name : dir.entryList({QStringLiteral("6-*-*_*.dat")}, QDir::Files, QDir::Name)) {
            const int n = SystemNumsOfFileName(name);
            if (n <= 0) continue;
            QFile f(dir.filePath(name));
            const int lines =
                f.open(QIODevice::ReadOnly) ? int(SystemContentLines(FromCp1251(f.readAll())).size()) : 0;
            Out() << Format(QStringLiteral("%.2d\t%s\t%d"), {n, name, lines}) << '\n';
        }
        return 0;
    }
    if (!systems.LoadSystems()) return 1;
    for (int i = 0; i < systems.Count(); ++i)
        PrintItem(i);
    return 0;
}

int TSystemsCommand::Download() {
    if (Args().isEmpty()) return Fail(QStringLiteral("systems download: missing ID"));
    QList<int> ids;
    for (const QString &arg : Args()) {
        int id = 0;
        if (!ReadInt(QStringLiteral("ID"), arg, 0, std::numeric_limits<int>::max(), id)) return 1;
        ids << id;
    }
    Args().clear();
    if (!Open({.WindowSettings = true, .DataLock = true})) return 1;
    UseCatalogueIdentity();
    TSystemsController &systems = Ws().Systems();
    if (!systems.LoadSystems()) return 1;
    QList<int> rows;
    for (int id : ids) {
        const int row = systems.FindId(id);
        if (row < 0) return Fail(Format(QStringLiteral("Система #%d в online-каталоге не найдена!"), {id}));
        rows << row;
    }
    const TOpResult r = systems.DownloadSystems(rows);
    for (int row : rows)
        if (systems.At(row).Loaded) Out() << systems.LocalPath(systems.At(row).Info) << '\n';
    return r ? 0 : 1;
}

bool TSystemsCommand::SystemFile(const QString &arg, QString &path, int &n) {
    bool isNumber = false;
    const int asNumber = arg.toInt(&isNumber);
    if (isNumber) {
        if (asNumber < CombSize + 1 || asNumber > NumberCount) {
            FailUsage(QStringLiteral("N must be an integer 7..45"));
            return false;
        }
        const QStringList files = SystemFilesFor(Ws().Systems().Dir(), asNumber);
        if (files.isEmpty()) {
            Fail(SystemNotFoundText(asNumber));
            return false;
        }
        path = QDir(Ws().Systems().Dir()).filePath(files.first());
        n = asNumber;
        return true;
    }
    path = AbsolutePath(arg);
    if (!QFileInfo(path).isFile()) {
        Fail(Format(QStringLiteral("Файл \"%s\" не найден!"), {path}));
        return false;
    }
    n = SystemNumsOfFileName(path);
    return true;
}

int TSystemsCommand::Show() {
    if (Args().isEmpty()) return Fail(QStringLiteral("systems show: missing N"));
    const QString arg = Args().takeFirst();
    if (!NoExtraArguments()) return 1;
    if (!Open({.WindowSettings = true})) return 1;
    QString path;
    int n = 0;
    if (!SystemFile(arg, path, n)) return 1;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return Fail(Format(QStringLiteral("Не удалось открыть файл \"%s\": %s"), {path, f.errorString()}));
    for (const QString &line : SystemContentLines(FromCp1251(f.readAll())))
        Out() << line << '\n';
    return 0;
}

int TSystemsCommand::Check() {
    if (Args().isEmpty()) return Fail(QStringLiteral("systems check: missing N or FILE"));
    const QString arg = Args().takeFirst();
    if (!NoExtraArguments()) return 1;
    if (!Open({.WindowSettings = true})) return 1;
    QString path;
    int n = 0;
    if (!SystemFile(arg, path, n)) return 1;
    TGuaranteeTable table;
    const TOpResult r =
        Guarded(Ws().Host(), QString::fromUtf8("Ошибка загрузки комбинаций системы!\r\r%s"), [&] {
            const std::vector<TComb> positions = ReadSystemPositions(path, n);
            if (n < CombSize + 1)
                throw EError(
                    Format(QStringLiteral("Система над %d числами не может быть проверена: нужно от 7 "
                                          "до 45 чисел!"),
                           {n}));
            Ws().Host().ShowStatus(QStringLiteral("Проверка гарантий системы..."));
            table = GuaranteeTable(positions, n);
        });
    if (!r) return 1;
    for (const QString &line : GuaranteeTableLines(table))
        Out() << line << '\n';
    return 0;
}

int TSystemsCommand::Play() {
    const bool restricted = TakeFlag(Args(), QStringLiteral("--filter"));
    QString drawText, drawsText, comment, listFile;
    const bool hasDraw = TakeOption(Args(), QStringLiteral("--draw"), drawText);
    const bool hasDraws = TakeOption(Args(), QStringLiteral("--draws"), drawsText);
    const bool hasComment = TakeOption(Args(), QStringLiteral("--comment"), comment);
    const bool hasList = TakeOption(Args(), QStringLiteral("--list"), listFile);
    if (!NoExtraArguments()) return 1;
    int draw = 0, draws = 1;
    if (hasDraw && !ReadInt(QStringLiteral("--draw"), drawText, 1, std::numeric_limits<int>::max(), draw))
        return 1;
    if (hasDraws && !ReadInt(QStringLiteral("--draws"), drawsText, 1, 65535, draws)) return 1;
    if (hasComment && comment.trimmed().isEmpty()) return Fail(QString::fromUtf8(msg::StakeCommentMissing));
    if (comment.size() > StakeCommentMaxLength)
        return Fail(
            Format(QStringLiteral("Комментарий к ставке длиннее %d символов!"), {StakeCommentMaxLength}));

    if (!Open({.WindowSettings = true, .DataLock = true, .GameSettings = true, .Draws = true})) return 1;
    const bool listed = hasList ? bool(Ws().Combs().OpenCombsFile(AbsolutePath(listFile)))
                                : bool(Ws().Combs().GenerateSavedCombs(Ws().Stats().Registry()));
    if (!listed) return 1;
    if (Ws().Combs().IsEmpty()) return Fail(QStringLiteral("Список комбинаций пуст!"));
    TSystemsController &systems = Ws().Systems();
    TSystemPlay play;
    if (!systems.PrepareSystemPlay(!restricted, play)) return 1;
    if (!hasDraw) draw = Ws().Stakes().NextDrawNumber();
    int made = 0;
    const TOpResult r = systems.StakeSystem(play, draw, draws, hasComment ? comment : play.Comment, &made);
    Out() << QFileInfo(play.System.FilePath).fileName() << '\n';
    Out() << Format(QStringLiteral("Ставок сделано: %d"), {made}) << '\n';
    Out() << Ws().Stakes().CountText() << '\n';
    return r ? 0 : 1;
}

int TSystemsCommand::Publish() {
    QString title, descr, author, blockText, url, mail;
    const bool hasTitle = TakeOption(Args(), QStringLiteral("--title"), title);
    const bool hasDescr = TakeOption(Args(), QStringLiteral("--descr"), descr);
    const bool hasAuthor = TakeOption(Args(), QStringLiteral("--author"), author);
    const bool hasBlock = TakeOption(Args(), QStringLiteral("--block"), blockText);
    TakeOption(Args(), QStringLiteral("--url"), url);
    TakeOption(Args(), QStringLiteral("--mail"), mail);
    if (Args().isEmpty() || Args().first().startsWith(QLatin1String("--")))
        return Fail(QStringLiteral("systems publish: missing FILE"));
    const QString path = AbsolutePath(Args().takeFirst());
    if (!NoExtraArguments()) return 1;
    if (!hasTitle || !hasDescr || !hasAuthor)
        return Fail(QStringLiteral("systems publish: --title T, --descr D and --author A are required"));
    int block = 0;
    if (hasBlock && !ReadInt(QStringLiteral("--block"), blockText, 0, 5, block)) return 1;
    if (!Open({.WindowSettings = true})) return 1;

    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return Fail(Format(QStringLiteral("Не удалось открыть файл \"%s\": %s"), {path, f.errorString()}));
    TSystemsController &systems = Ws().Systems();
    UseCatalogueIdentity();
    systems.SetUser(author.trimmed(), mail.trimmed().isEmpty() ? systems.UserMail() : mail.trimmed());
    tSystemData data = systems.NewSystem();
    TNormalisedSystem normal;
    if (!Guarded(Ws().Host(), QString(), [&] { normal = NormaliseSystemContent(FromCp1251(f.readAll())); }))
        return 1;
    data.Info.Title = title.trimmed();
    data.Info.Description = descr;
    data.Info.Author = author.trimmed();
    data.Info.Url = url;
    data.Info.Nums = uint8_t(normal.Nums >= 0 && normal.Nums <= 255 ? normal.Nums : 0);
    data.Info.Block = uint8_t(block);
    data.Info.CSize = normal.Count;
    data.Info.Created = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch());
    data.Content = normal.Content;
    QString error;
    if (CheckSystemData(data, &error) != TSystemField::None) return Fail(error);
    int row = -1;
    if (!systems.AddSystem(data, &row)) return 1;
    PrintItem(row);
    return 0;
}

REGISTER_CLI_COMMAND(
    TSystemsCommand, "systems",
    "systems list [--local]\n"
    "    the catalogue's systems, one line each: id, then the list's columns (title, author, N, block,\n"
    "    combinations, created, status, downloads, last download, description, link) joined by a tab;\n"
    "    with --local the local system files: N, file name and lines\n"
    "systems download ID...\n"
    "    downloads the systems into the folder \"Systems\", one per N, and prints their files\n"
    "systems show N\n"
    "    the lines of the local system for N numbers\n"
    "systems check (N | FILE)\n"
    "    the guarantees of the local system for N (or of a system file): one line per m = 3..6 drawn\n"
    "    numbers and k = 1..m, \"m<TAB>k<TAB>share\", the share of the cases in which a combination\n"
    "    holds k of them, in percent with two decimals (100.00 only when it holds in every case)\n"
    "systems play [--filter] [--draw N] [--draws K] [--comment TEXT] [--list FILE.lcv]\n"
    "    system play over the distinct numbers of the combination list (the initial list, or FILE):\n"
    "    the whole system, or with --filter only its combinations in the list; prints the system\n"
    "    file, the stakes made and the stakes count\n"
    "systems publish FILE --title T --descr D --author A [--block B] [--url U] [--mail M]\n"
    "    publishes the combinations of FILE (normalised as the system dialog does) as a new system\n"
    "    of the author with e-mail M, and prints its line");

} // namespace lot::cli
