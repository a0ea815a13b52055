// "card", "layout" and "repeats": the tabular views of where numbers fall.

#include "cli/WorkspaceCommand.h"
#include "core/Format.h"
#include "export/ListSheets.h"
#include "stats/DrawViews.h"

namespace lot::cli {

class TCardCommand : public TWorkspaceCommand {
public:
    TCardCommand() : TWorkspaceCommand(QStringLiteral("card")) {}

protected:
    int Execute() override {
        QString countText;
        const bool hasCount = TakeOption(Args(), QStringLiteral("--count"), countText);
        if (!NoExtraArguments()) return 1;
        int count = 2147483647;
        if (hasCount && !ReadInt(QStringLiteral("--count"), countText, 1, 2147483647, count)) return 1;
        if (!Open({.Draws = true})) return 1;
        const TCardSheet card(Ws().Archive().Draws());
        QStringList line;
        for (int c = 0; c < card.ColumnCount(); ++c)
            line << card.ColumnCaption(c);
        Out() << line.join(QLatin1Char('\t')) << '\n';
        for (qint64 r = 0; r < std::min<qint64>(count, card.RowCount()); ++r) {
            line.clear();
            for (int c = 0; c < card.ColumnCount(); ++c)
                line << card.Cell(r, c).Value.toString();
            Out() << line.join(QLatin1Char('\t')) << '\n';
        }
        return 0;
    }
};

class TLayoutCommand : public TWorkspaceCommand {
public:
    TLayoutCommand() : TWorkspaceCommand(QStringLiteral("layout")) {}

protected:
    int Execute() override {
        QString lenText, offsetText, listsText;
        const bool hasLen = TakeOption(Args(), QStringLiteral("--len"), lenText);
        const bool hasOffset = TakeOption(Args(), QStringLiteral("--offset"), offsetText);
        const bool hasLists = TakeOption(Args(), QStringLiteral("--lists"), listsText);
        if (!NoExtraArguments()) return 1;
        int length = 100;
        if (hasLen && !ReadInt(QStringLiteral("--len"), lenText, 1, 2147483647, length)) return 1;
        QList<int> lists{50, 100, 200, 300, 400};
        if (hasLists) {
            lists.clear();
            for (const QString &part : listsText.split(QLatin1Char(','))) {
                int value = 0;
                if (!ReadInt(QStringLiteral("--lists"), part.trimmed(), 1, 2147483647, value)) return 1;
                lists << value;
            }
        }
        if (!Open({.Draws = true})) return 1;
        int offset = 0;
        if (hasOffset &&
            !ReadInt(QStringLiteral("--offset"), offsetText, 0, Ws().Archive().MaxOffset(), offset))
            return 1;
        const TDrawsArray &draws = Ws().Archive().Draws().Draws();
        const TLayout layout = ComputeLayout(draws, offset, length);
        QStringList line{QStringLiteral("Кол-во")};
        for (int d : layout.Draws)
            line << QString::number(d);
        Out() << line.join(QLatin1Char('\t')) << '\n';
        for (int r = 0; r < layout.Counts.size(); ++r)
            Out() << layout.Counts[r] << '\t' << layout.Cells[r].join(QLatin1Char('\t')) << '\n';
        for (int length : lists) {
            const TLayoutList list = ComputeLayoutList(draws, offset, length);
            Out() << '\n' << "Кол-во\t" << list.Header << '\n';
            for (const TLayoutList::TRow &row : list.Rows)
                Out() << row.Count << '\t' << row.Numbers << '\n';
        }
        return 0;
    }
};

class TRepeatsCommand : public TWorkspaceCommand {
public:
    TRepeatsCommand() : TWorkspaceCommand(QStringLiteral("repeats")) {}

protected:
    int Execute() override {
        QString lenText, deepText;
        const bool hasLen = TakeOption(Args(), QStringLiteral("--len"), lenText);
        const bool hasDeep = TakeOption(Args(), QStringLiteral("--deep"), deepText);
        if (!NoExtraArguments()) return 1;
        int length = 100, deep = 100;
        if (hasLen && !ReadInt(QStringLiteral("--len"), lenText, 1, 2147483647, length)) return 1;
        if (hasDeep && !ReadInt(QStringLiteral("--deep"), deepText, 1, 2147483647, deep)) return 1;
        if (!Open({.Draws = true})) return 1;
        Out() << "Тираж\tСовпадений\tКол-во повторов\tСписок тиражей\n";
        for (const TRepeatRow &row : ComputeRepeats(Ws().Archive().Draws().Draws(), length, deep))
            Out() << row.Draw << '\t' << row.Shared << '\t' << row.Count << '\t' << row.DrawsList << '\n';
        return 0;
    }
};

REGISTER_CLI_COMMAND(
    TCardCommand, "card",
    "card [--count N]                             the draws card: a row per draw, newest first,\n"
    "                                             number n in column n, then E1 and E2");
REGISTER_CLI_COMMAND(
    TLayoutCommand, "layout",
    "layout [--len L] [--offset K] [--lists A,B,C,D,E]\n"
    "                                             the layout of the L newest draws in use (rows:\n"
    "                                             counts, columns: newest occurrence), then the\n"
    "                                             side lists (default 50,100,200,300,400)");
REGISTER_CLI_COMMAND(
    TRepeatsCommand, "repeats",
    "repeats [--len L] [--deep D]                 numbers each of the L newest draws shares with\n"
    "                                             each of the D draws before it");

} // namespace lot::cli
