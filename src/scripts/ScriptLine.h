#pragma once
/// @file Script lines and their options: TScriptOptions with the tables of
/// source lists and stake modes, the grammar of a line (JoinScriptLine,
/// LineOptions, LineFilter, LineComments) and of its options word
/// (OptionsToText, OptionsToShortText, TextToOptions, OptionsCaption).
///
/// A line is nine fields separated by "|": the options word, the filter
/// texts of the seven slots (an empty slot written as one blank) and the
/// comment, e.g. "FULL:0#RAND|TSD1#NUMS:1000#LNO:#SF:1| | | | | | |my comment".
/// Reading takes field i as the i-th maximal run of characters other than
/// "|", trimmed, so a run of "|" counts as one separator.

#include <cstdint>
#include <QString>
#include <QStringList>

namespace lot {

/// Source lists (index, code): where a line's combinations come from.
enum TScriptSource : uint8_t {
    srcFull = 0, ///< "FULL": the list generated with the saved parameters
    srcExcl = 1, ///< "EXCL": the same without the DrawsExclude newest draws
    srcCurr = 2, ///< "CURR": the list as the previous variant or line left it
};
inline constexpr int ScriptSourceCount = 3;

/// Stake modes (index, code): what a line stakes when more than one
/// combination is left.
enum TScriptStakeMode : uint8_t {
    ssmRand = 0,  ///< "RAND": one combination at random
    ssmFirst = 1, ///< "FIRST"
    ssmLast = 2,  ///< "LAST"
    ssmAll = 3,   ///< "ALL": every combination
    ssmSysA = 4,  ///< "SYSA": system play, the whole system
    ssmSysC = 5,  ///< "SYSC": system play, system combinations in the list
    ssmStop = 6,  ///< "STOP": stop the script
    ssmSkip = 7,  ///< "SKIP": make no stake
    ssmNone = 8,  ///< "NONE": never make stakes
};
inline constexpr int ScriptStakeModeCount = 9;

/// Number of fields of a script line: options, seven filters, comment.
inline constexpr int ScriptFieldCount = 9;

/// The options of a script line.
struct TScriptOptions {
    int32_t DrawsExclude = 0;    ///< newest draws removed for source EXCL, 0..2147483647
    uint8_t Source = srcFull;    ///< TScriptSource
    uint8_t StakeMode = ssmRand; ///< TScriptStakeMode
    bool ClearStakes = false;    ///< "CLR": every stake is deleted before the line runs
    bool NewOnly = false;        ///< "NEX": a stake already in the stakes file is not added again

    friend bool operator==(const TScriptOptions &, const TScriptOptions &) = default;
};

// ---- the tables ---------------------------------------------------------------------------
/// "FULL", "EXCL", "CURR"; empty outside the table.
QString ScriptSourceCode(int index);
/// The caption of the line dialog; "# ERROR #" outside the table.
QString ScriptSourceCaption(int index);
/// The caption of the script list ("Исключить %d тиражей" with its "%d"
/// unformatted); "# ERROR #" outside the table.
QString ScriptSourceShortCaption(int index);
/// "RAND" ... "NONE"; empty outside the table.
QString ScriptStakeModeCode(int index);
/// The caption of the line dialog and of the stake mode log line; "# ERROR #" outside.
QString ScriptStakeModeCaption(int index);
/// The caption of the script list; "# ERROR #" outside the table.
QString ScriptStakeModeShortCaption(int index);

// ---- the line grammar ------------------------------------------------------------------------
/// The maximal runs of characters other than "|", each trimmed, in order.
QStringList ScriptLineFields(const QString &line);
/// Field 1: the options word.
QString LineOptions(const QString &line);
/// Field slot + 1: the filter text of slot 1..7; empty for another slot.
QString LineFilter(const QString &line, int slot);
/// Field 9: the comment.
QString LineComments(const QString &line);
/// The options word, then per slot its text (a single blank when it is
/// empty after trimming) and "|", then the comment unless it is empty
/// after trimming. Texts are written as typed; filters beyond the seventh
/// are ignored and missing ones are empty.
QString JoinScriptLine(const QString &options, const QStringList &filters, const QString &comment);
/// A line that is empty after trimming separates groups of lines.
bool IsScriptSeparator(const QString &line);

// ---- the options word ---------------------------------------------------------------------------
/// The form stored in lines: "FULL:0#RAND", "EXCL:5#LAST#CLR#NEX".
QString OptionsToText(const TScriptOptions &options);
/// The form of logs, status texts and stake comments: ":" and the number
/// only for EXCL, no "CLR" ("FULL#RAND", "EXCL:5#LAST#NEX").
QString OptionsToShortText(const TScriptOptions &options);
/// Reads an options word; never fails. Sources match as case-insensitive
/// prefixes, stake codes and flags as whole words without regard to case;
/// anything else falls back to zero.
TScriptOptions TextToOptions(const QString &text);
/// The "Опции" column: "Исключить 5 тиражей; Последняя; Удалить ставки;
/// Только новые ставки".
QString OptionsCaption(const TScriptOptions &options);

} // namespace lot
