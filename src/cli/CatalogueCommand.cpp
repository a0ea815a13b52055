// "catalogue": the online catalogue of scripts and systems from the command line.

#include "catalogue/CatalogueController.h"
#include "cli/WorkspaceCommand.h"
#include "core/Codec1251.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "core/OpResult.h"
#include "scripts/ScriptsController.h"
#include "systems/SystemFiles.h"

#include <QFile>
#include <QStringList>

#include <climits>

namespace lot::cli {

namespace {

/// A cell on one line: the list's texts may hold line breaks.
QString OneLine(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return text;
}

/// The combination lines of a system file as the system dialog keeps them. The numbers are
/// positions of the system, so they must start at 1: a system whose numbers start higher would
/// name positions beyond the N it is published with.
TNormalisedSystem ReadSystemLines(const QString &fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EError(
            Format(QStringLiteral("Не удалось прочитать файл \"%s\": %s"), {fileName, file.errorString()}));
    if (file.size() > 64 * 1024 * 1024)
        throw EError(Format(QStringLiteral("Файл \"%s\" слишком велик"), {fileName}));
    const TNormalisedSystem normal = NormaliseSystemContent(FromCp1251(file.readAll()));
    int low = 0;
    for (const QString &line : SystemContentLines(normal.Content))
        for (const QString &word : SystemLineWords(line))
            low = low == 0 ? word.toInt() : qMin(low, word.toInt());
    if (low != 0 && low != 1)
        throw EError(Format(QStringLiteral("Номера системы должны начинаться с 1, а не с %d"), {low}));
    return normal;
}

QString DateCell(const QDateTime &time) {
    return time.isValid() ? time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
}

} // namespace

class TCatalogueCommand : public TWorkspaceCommand {
public:
    TCatalogueCommand() : TWorkspaceCommand(QStringLiteral("catalogue")) {}

protected:
    int Execute() override;

private:
    TCatalogueController &Catalogue() { return Ws().Catalogue(); }
    /// The settings, a catalogue address and (for changes) the identity; false when missing.
    bool Ready(bool identity);
    bool ReadId(const QString &text, int32_t &id);
    int Scripts();
    int DownloadScript();
    int PublishScript();
    int DeleteScript();
    int Rate();
    int Rates();
    int Systems();
    int System();
    int DeleteSystem();
    int PublishSystem();
    int Identity();
};

int TCatalogueCommand::Execute() {
    const QString action = Args().isEmpty() ? QString() : Args().takeFirst();
    if (action == QLatin1String("scripts")) return Scripts();
    if (action == QLatin1String("download-script")) return DownloadScript();
    if (action == QLatin1String("publish-script")) return PublishScript();
    if (action == QLatin1String("delete-script")) return DeleteScript();
    if (action == QLatin1String("rate")) return Rate();
    if (action == QLatin1String("rates")) return Rates();
    if (action == QLatin1String("systems")) return Systems();
    if (action == QLatin1String("system")) return System();
    if (action == QLatin1String("delete-system")) return DeleteSystem();
    if (action == QLatin1String("publish-system")) return PublishSystem();
    if (action == QLatin1String("identity")) return Identity();
    return Fail(action.isEmpty()
                    ? QStringLiteral("catalogue: missing action (scripts, download-script, "
                                     "publish-script, delete-script, rate, rates, systems, system, "
                                     "delete-system, publish-system, identity)")
                    : QStringLiteral("catalogue: unknown action: ") + action);
}

bool TCatalogueCommand::Ready(bool identity) {
    if (!Catalogue().LoadSettings()) return false;
    if (!Catalogue().HasCatalogue()) {
        Fail(QStringLiteral(
            "catalogue: no catalogue address: set Url in section [CATALOGUE] of Brantlee_6x45.ini"));
        return false;
    }
    if (identity && !Catalogue().HasIdentity()) {
        Fail(QStringLiteral(
            "catalogue: no identity: run \"catalogue identity --name NAME --mail E-MAIL\" first"));
        return false;
    }
    return true;
}

bool TCatalogueCommand::ReadId(const QString &text, int32_t &id) {
    int value = 0;
    if (!ReadInt(QStringLiteral("ID"), text, 1, INT32_MAX, value)) return false;
    id = value;
    return true;
}

int TCatalogueCommand::Scripts() {
    QString filterText;
    const bool hasFilter = TakeOption(Args(), QStringLiteral("--filter"), filterText);
    if (!NoExtraArguments()) return 1;
    if (!Open({.WindowSettings = true}) || !Ready(false)) return 1;
    int filter = Catalogue().FilterItem() - 1;
    if (hasFilter && !ReadInt(QStringLiteral("--filter"), filterText, -1, 6, filter)) return 1;
    // The filter is for this run: the window's choice stays.
    Ws().Settings().SetScriptLibraryFilter(filter + 1);
    if (!Catalogue().RefreshScripts()) return 1;
    for (const tScriptInfo &s : Catalogue().Scripts()) {
        QStringList cells{QString::number(s.Id)};
        for (int c = 0; c < TCatalogueController::ColumnCount; ++c)
            cells << OneLine(TCatalogueController::CellText(s, c));
        Out() << cells.join(QLatin1Char('\t')) << '\n';
    }
    return 0;
}

int TCatalogueCommand::DownloadScript() {
    if (Args().size() != 1) return FailUsage(QStringLiteral("download-script needs one ID"));
    int32_t id = 0;
    if (!ReadId(Args().takeFirst(), id)) return 1;
    // The current script changes: not beside a window on the same folder.
    if (!Open({.DataLock = true}) || !Ready(false)) return 1;
    if (!Catalogue().DownloadScript(id)) return 1;
    Out() << Format(QStringLiteral("Строк: %d"), {Ws().Scripts().LineCount()}) << '\n';
    return 0;
}

int TCatalogueCommand::PublishScript() {
    QString title, descr, idText;
    const bool hasTitle = TakeOption(Args(), QStringLiteral("--title"), title);
    const bool hasDescr = TakeOption(Args(), QStringLiteral("--descr"), descr);
    const bool hasId = TakeOption(Args(), QStringLiteral("--id"), idText);
    const bool isPublic = TakeFlag(Args(), QStringLiteral("--public"));
    const bool universal = TakeFlag(Args(), QStringLiteral("--universal"));
    if (!NoExtraArguments()) return 1;
    if (!hasTitle || title.trimmed().isEmpty()) return FailUsage(QStringLiteral("--title T is required"));
    if (!hasDescr) descr.clear();
    int32_t id = -1;
    if (hasId && !ReadId(idText, id)) return 1;
    if (!Open({}) || !Ready(true)) return 1;
    if (!Ws().Scripts().LoadCurrentScript()) return 1;
    if (Ws().Scripts().IsEmpty()) return Fail(QStringLiteral("catalogue: the current script is empty"));
    tScriptData data = Catalogue().NewScriptData();
    data.Id = id;
    data.Title = title.trimmed();
    data.Description = descr;
    data.Public = isPublic;
    data.Universal = universal;
    bool free = false;
    if (!Catalogue().CheckTitle(data.Id, data.Title, &free)) return 1;
    if (!free) return Fail(TCatalogueController::TitleTakenText());
    int32_t newId = 0;
    if (!Catalogue().PublishScript(data, &newId)) return 1;
    Out() << newId << '\n';
    return 0;
}

int TCatalogueCommand::DeleteScript() {
    if (Args().size() != 1) return FailUsage(QStringLiteral("delete-script needs one ID"));
    int32_t id = 0;
    if (!ReadId(Args().takeFirst(), id)) return 1;
    if (!Open({.WindowSettings = true}) || !Ready(true)) return 1;
    // The title for the question, and the entry's own fields for the call.
    Ws().Settings().SetScriptLibraryFilter(3);
    if (!Catalogue().RefreshScripts()) return 1;
    QString title = QString::number(id);
    for (const tScriptInfo &s : Catalogue().Scripts())
        if (s.Id == id) title = s.Title;
    if (!Host().Confirm(TCatalogueController::DeleteQuestion(title))) return 1;
    return Catalogue().DeleteScript(id) ? 0 : 1;
}

int TCatalogueCommand::Rate() {
    QString comment;
    TakeOption(Args(), QStringLiteral("--comment"), comment);
    if (Args().size() != 2)
        return FailUsage(QStringLiteral("rate needs ID and VALUE (-1 hides, 0 takes back, 1..5)"));
    int32_t id = 0;
    int value = 0;
    if (!ReadId(Args().takeFirst(), id)) return 1;
    if (!ReadInt(QStringLiteral("VALUE"), Args().takeFirst(), -1, 5, value)) return 1;
    if (!Open({.WindowSettings = true}) || !Ready(true)) return 1;
    return Catalogue().RateScript(id, value, value > 0 ? comment : QString()) ? 0 : 1;
}

int TCatalogueCommand::Rates() {
    if (Args().size() != 1) return FailUsage(QStringLiteral("rates needs one ID"));
    int32_t id = 0;
    if (!ReadId(Args().takeFirst(), id)) return 1;
    if (!Open({}) || !Ready(false)) return 1;
    QList<tScriptRate> rates;
    if (!Catalogue().LoadRates(id, rates)) return 1;
    for (const tScriptRate &r : rates) {
        QStringList cells;
        for (int c = 0; c < TCatalogueController::RateColumnCount; ++c)
            cells << OneLine(TCatalogueController::RateCellText(r, c));
        Out() << cells.join(QLatin1Char('\t')) << '\n';
    }
    return 0;
}

int TCatalogueCommand::Systems() {
    if (!NoExtraArguments()) return 1;
    if (!Open({}) || !Ready(false)) return 1;
    QList<tSystemInfo> list;
    const TOpResult r = Guarded(Host(), QStringLiteral("Ошибка загрузки списка систем!\r\r%s"),
                                [&] { list = Catalogue().SystemCatalogue()->ListSystems(); });
    if (!r) return 1;
    for (const tSystemInfo &s : list) {
        const QStringList cells{QString::number(s.Id),
                                OneLine(s.Title),
                                OneLine(s.Author),
                                Format(QStringLiteral("%.2d"), {int(s.Nums)}),
                                QString::number(s.Block),
                                QString::number(s.CSize),
                                DateCell(s.Created),
                                QString::number(s.Downloads),
                                DateCell(s.LastDownload),
                                OneLine(s.Description),
                                OneLine(s.Url)};
        Out() << cells.join(QLatin1Char('\t')) << '\n';
    }
    return 0;
}

int TCatalogueCommand::System() {
    if (Args().size() != 1) return FailUsage(QStringLiteral("system needs one ID"));
    int32_t id = 0;
    if (!ReadId(Args().takeFirst(), id)) return 1;
    if (!Open({}) || !Ready(false)) return 1;
    QString content;
    const TOpResult r = Guarded(
        Host(),
        [id](const QString &reason) {
            return Format(QStringLiteral("Ошибка загрузки системы #%d!\r\r%s"), {id, reason});
        },
        [&] { content = Catalogue().SystemCatalogue()->SystemContent(id); });
    if (!r) return 1;
    for (const QString &line : SplitLines(content))
        Out() << line << '\n';
    return 0;
}

int TCatalogueCommand::DeleteSystem() {
    if (Args().size() != 1) return FailUsage(QStringLiteral("delete-system needs one ID"));
    int32_t id = 0;
    if (!ReadId(Args().takeFirst(), id)) return 1;
    if (!Open({}) || !Ready(true)) return 1;
    const QString errorText = QStringLiteral("Ошибка удаления системы!\r\r%s");
    tSystemData data;
    const TOpResult found = Guarded(Host(), errorText, [&] {
        for (const tSystemInfo &s : Catalogue().SystemCatalogue()->ListSystems())
            if (s.Id == id) data.Info = s;
        if (data.Info.Id != id) throw EError(Format(QStringLiteral("Система #%d не найдена"), {id}));
    });
    if (!found) return 1;
    if (!SystemIsOwn(data.Info, Catalogue().Settings().UserMail))
        return Fail(QStringLiteral("Вы можете удалять только свои системы!"));
    if (!Host().Confirm(
            Format(QStringLiteral("Вы действительно хотите удалить систему \"%s\"?"), {data.Info.Title})))
        return 1;
    int32_t result = -1;
    const TOpResult r = Guarded(Host(), errorText, [&] {
        result = Catalogue().SystemCatalogue()->SaveSystem(data, true);
        if (result != 0)
            throw EError(Format(QStringLiteral("Сервер не удалил систему (ответ %d)"), {result}));
    });
    return r ? 0 : 1;
}

int TCatalogueCommand::PublishSystem() {
    QString title, descr, url, blockText, idText;
    const bool hasTitle = TakeOption(Args(), QStringLiteral("--title"), title);
    TakeOption(Args(), QStringLiteral("--descr"), descr);
    TakeOption(Args(), QStringLiteral("--url"), url);
    const bool hasBlock = TakeOption(Args(), QStringLiteral("--block"), blockText);
    const bool hasId = TakeOption(Args(), QStringLiteral("--id"), idText);
    if (Args().size() != 1)
        return FailUsage(QStringLiteral("publish-system needs one FILE of combination lines"));
    const QString file = AbsolutePath(Args().takeFirst());
    int block = 0;
    if (hasBlock && !ReadInt(QStringLiteral("--block"), blockText, INT_MIN, INT_MAX, block)) return 1;
    int32_t id = 0;
    if (hasId && !ReadId(idText, id)) return 1;
    if (!Open({}) || !Ready(true)) return 1;

    tSystemData data;
    data.Info.Id = id;
    data.Info.Title = hasTitle ? title.trimmed() : QString();
    data.Info.Description = descr.trimmed();
    data.Info.Url = url.trimmed();
    data.Info.Author = Catalogue().Settings().UserName;
    data.Info.OwnerMail = Catalogue().Settings().UserMail;
    const QString errorText = id > 0 ? QStringLiteral("Ошибка изменения системы!\r\r%s")
                                     : QStringLiteral("Ошибка добавления системы!\r\r%s");
    int32_t result = -1;
    const TOpResult r = Guarded(Host(), errorText, [&] {
        const TNormalisedSystem lines = ReadSystemLines(file);
        data.Info.Nums = uint8_t(qBound(0, lines.Nums, 255));
        // Out of 0..5 either way, so the check below refuses it in its turn.
        data.Info.Block = uint8_t(block < 0 ? 255 : qMin(block, 255));
        data.Info.CSize = lines.Count;
        data.Content = lines.Content;
        // The dialog's checks, in its order, with its texts.
        QString refused;
        if (CheckSystemData(data, &refused) != TSystemField::None) throw EError(refused);
        result = Catalogue().SystemCatalogue()->SaveSystem(data, false);
        if (result <= 0)
            throw EError(Format(QStringLiteral("Сервер не сохранил систему (ответ %d)"), {result}));
    });
    if (!r) return 1;
    Out() << result << '\n';
    return 0;
}

int TCatalogueCommand::Identity() {
    QString name, mail;
    const bool hasName = TakeOption(Args(), QStringLiteral("--name"), name);
    const bool hasMail = TakeOption(Args(), QStringLiteral("--mail"), mail);
    if (!NoExtraArguments()) return 1;
    if (!hasName && !hasMail) {
        if (!Open({}) || !Catalogue().LoadSettings()) return 1;
        Out() << Catalogue().Settings().UserName << '\t' << Catalogue().Settings().UserMail << '\n';
        return 0;
    }
    if (!hasName || !hasMail || name.trimmed().isEmpty() || mail.trimmed().isEmpty())
        return FailUsage(QStringLiteral("identity needs both --name NAME and --mail E-MAIL"));
    if (!Open({}) || !Catalogue().LoadSettings()) return 1;
    return Catalogue().SetIdentity(name, mail) ? 0 : 1;
}

REGISTER_CLI_COMMAND(
    TCatalogueCommand, "catalogue",
    "catalogue scripts [--filter K]\n"
    "    the online scripts list of filter K (-1 hidden, 0 all, 1 all but hidden (default: the\n"
    "    window's choice), 2 mine, 3 public, 4 rated by me, 5 not rated by me, 6 new): one line\n"
    "    per entry, the id and then the list's columns, tab-separated\n"
    "catalogue download-script ID\n"
    "    the catalogue's script replaces the current script\n"
    "catalogue publish-script --title T [--descr D] [--public] [--universal] [--id ID]\n"
    "    publishes the current script (with --id: changes that entry of your own); prints its id\n"
    "catalogue delete-script ID        deletes an entry of your own (asks; --yes answers)\n"
    "catalogue rate ID VALUE [--comment C]\n"
    "    rates a script 1..5; 0 takes your rating back, -1 hides the script\n"
    "catalogue rates ID                the ratings of a script, tab-separated\n"
    "catalogue systems                 the systems list: id, title, author, numbers, block,\n"
    "    combinations, created, downloads, last download, description, link\n"
    "catalogue system ID               the combination lines of a system\n"
    "catalogue delete-system ID        deletes a system of your own (asks; --yes answers)\n"
    "catalogue publish-system FILE --title T --descr D [--block B] [--url U] [--id ID]\n"
    "    publishes the combination lines of FILE (six positions 1..N a line) as a system (with\n"
    "    --id: changes that system of your own); prints its id\n"
    "catalogue identity [--name NAME --mail E-MAIL]\n"
    "    shows or stores the name and e-mail the catalogue knows you by\n"
    "    (section [CATALOGUE] of Brantlee_6x45.ini: Url, CaFile, UserName, UserMail)");

} // namespace lot::cli
