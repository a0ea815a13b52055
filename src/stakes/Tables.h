#pragma once
/// @file The regular table stakes: a named rule that makes one stake per
/// draw by shifting six numbers around the number circle by a fixed step,
/// either its own last combination or the main numbers of the previous
/// draw. TTableRec (280 bytes) is also the record of the rules file. The
/// rule dialog's checks live here so the GUI and the command line share them.

#include "core/Lottery.h"

#include <cstddef>
#include <cstdint>
#include <QString>
#include <QStringList>
#include <vector>

namespace lot {

#pragma pack(push, 1)
/// One regular rule; 280 bytes, also the record of the rules file.
struct TTableRec {
    TShortString<255> Name;         ///< unique in the list; the comment of its stakes, Windows-1251
    uint8_t UseLastDraw = 0;        ///< 1: shift the previous draw's main numbers; 0: the current combination
    uint8_t Start[CombSize] = {};   ///< ascending; used with UseLastDraw 0
    uint8_t Current[CombSize] = {}; ///< the numbers of the rule's last stake
    uint8_t Padding[3] = {};        ///< zero
    int32_t Step = 0;               ///< -45..45
    int32_t Stakes = 0;             ///< stakes made by the rule
};
#pragma pack(pop)

static_assert(sizeof(TTableRec) == 280, "TTableRec is a 280-byte file record");
static_assert(offsetof(TTableRec, UseLastDraw) == 256);
static_assert(offsetof(TTableRec, Start) == 257);
static_assert(offsetof(TTableRec, Current) == 263);
static_assert(offsetof(TTableRec, Padding) == 269);
static_assert(offsetof(TTableRec, Step) == 272);
static_assert(offsetof(TTableRec, Stakes) == 276);

inline constexpr qint64 TableRecSize = qint64(sizeof(TTableRec));
inline constexpr int TableStepLimit = NumberCount; ///< steps -45..45
inline constexpr int TableNameMaxLength = 64;      ///< the dialog's limit
using TTablesArray = std::vector<TTableRec>;

QString TableName(const TTableRec &rec);
/// Stores text in Windows-1251, cut to the record's 255 bytes.
void SetTableName(TTableRec &rec, const QString &text);
TComb TableStart(const TTableRec &rec);
TComb TableCurrent(const TTableRec &rec);
void SetTableStart(TTableRec &rec, const TComb &comb);
void SetTableCurrent(TTableRec &rec, const TComb &comb);

/// A new rule: name, mode, step, start and current combination = start, no stakes.
TTableRec NewTableRule(const QString &name, bool useLastDraw, int step, const TComb &start);

/// The next combination of a rule: each base number (the rule's current
/// combination, or base when it uses the previous draw) shifted by the
/// step on the circle 1..45, sorted ascending.
TComb ShiftedTableComb(const TComb &base, int step);
/// AdvanceTable: the shifted combination becomes the current one and the
/// stake count grows by 1. lastDraw: the main numbers of the previous draw
/// (used only by a rule of that mode).
void AdvanceTable(TTableRec &rec, const TComb &lastDraw);

// ---- the list ------------------------------------------------------------------------------

inline constexpr int TableColumnCount = 5;
enum TTableColumn { tcName = 0, tcStart = 1, tcStep = 2, tcCurrent = 3, tcStakes = 4 };
/// "Комментарий", "Стартовая комбинация", "Шаг", "Текущая комбинация", "Ставок".
QString TableColumnHeader(int column);
QString TableCellText(const TTableRec &rec, int column);

// ---- the rule dialog's checks ----------------------------------------------------------------

/// The rule dialog's result, checked in the dialog's order: the start
/// combination (when it is asked for), then the name.
enum class TTableRuleError { None, BadCombination, EmptyName, DuplicateName };
/// Their messages: "Введена некорректная комбинация!", "Необходимо ввести
/// комментарий!", "Запись с таким комментарией уже присутствует в
/// списке!\rВыберите другой комментарий.".
QString TableRuleErrorText(TTableRuleError error);
/// Checks a rule as the dialog does: with askStart the start text must be
/// six distinct integers 1..45 separated by "," or ";" (start receives them
/// ascending); the name must not be empty nor equal one of names ignoring case.
TTableRuleError CheckTableRule(const QString &name, bool askStart, const QString &startText,
                               const QStringList &names, TComb *start = nullptr);

// ---- the rules file --------------------------------------------------------------------------

/// Reads the whole file: the record count is its size divided by 280 (a
/// partial record at the end is left out). Raises EError.
TTablesArray LoadTables(const QString &fileName);
/// Rewrites the file from rows in one atomic step. Raises EError.
void SaveTables(const QString &fileName, const TTablesArray &rows);

} // namespace lot
