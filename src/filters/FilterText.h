#pragma once
/// @file The text forms of filters: the filter text of a TFilterItem (read
/// and written), the variant part text of a TFilterPart and of a TFilterRec.
///
/// A filter text is words separated by "#", words 2 to 5 made of sub-words
/// separated by ":", e.g. "TSD1#NUMS:1000#LNO:#SF:1" or
/// "BMF8#SUMS:100-500;100#WMV:10#ST:3#0.5:-1:1:1:0". A run of separators
/// counts as one and separators at either end are ignored, so an empty word
/// cannot be written.

#include "filters/Filter.h"

#include <QString>
#include <QStringList>

namespace lot {

class TStatList;

/// The maximal runs of characters other than sep, in order.
QStringList SplitFilterWords(const QString &text, QChar sep);

/// Reads a number leniently: keeps "-" and the digits, takes "." and "," as
/// the decimal separator, drops every other character; 0 when what is left
/// is not a number.
double LenientNumber(const QString &text);
/// A coefficient in the shortest form that reads back to the same value,
/// with "." whatever the locale and never in exponent form.
QString CoefToText(long double value);

/// Reads a filter text; never fails. Unknown words fall back to defaults; a
/// method code naming no entry of list leaves Method at -1 and keeps the word
/// in MethodText.
TFilterItem TextToFilter(const TStatList &list, const QString &text);
/// Writes a filter text; empty for a disabled item.
QString FilterToText(const TStatList &list, const TFilterItem &item);
/// The variant part text: three letters, the code with the one sample
/// length, the mode code with LevelText; empty for a disabled part.
QString PartToText(const TStatList &list, const TFilterPart &part);
/// The enabled parts' texts joined by " + ".
QString FilterRecToText(const TStatList &list, const TFilterRec &rec);

} // namespace lot
