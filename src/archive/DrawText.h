#pragma once
/// @file The one-line text of a draw's numbers shared by the draw dialog and
/// the command line: six main numbers then two supplementary numbers,
/// separated by ";" or ",".

#include "core/Lottery.h"

#include <QString>

namespace lot {

/// Validates and reads "3;11;17;25;40;44;7;29": exactly eight words split on
/// "," and ";" (blanks around a word are ignored); words 1..6 are integers
/// 1..45 and all different (a non-integer counts as 0); words 7 and 8 are
/// integers 1..45 and may repeat a main number. On success fills
/// draw.Numbers and draw.Extra in the order typed and returns true; on
/// failure leaves `draw` untouched and returns false (the caller shows
/// "Введена некорректная комбинация!").
bool ParseDrawNumbersText(const QString &text, TDrawRec &draw);

/// The edit text of a draw's numbers: "3;11;17;25;40;44;7;29"; a zeroed
/// record gives "0;0;0;0;0;0;0;0".
QString DrawNumbersToEditText(const TDrawRec &draw);

} // namespace lot
