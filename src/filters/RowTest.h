#pragma once
/// @file The row test of the selection modes: which rows of a statistics
/// table a filter step selects, judged on the texts of the row.

#include "filters/Filter.h"

#include <cstdint>
#include <QString>

namespace lot {

/// The texts of one statistics-table row as a filter step reads them.
struct TStatValues {
    QString Value;            ///< "Значение"
    int32_t Key = 0;          ///< ParseValue of Value: what mode 31 compares
    QString Count;            ///< "Количество"
    QString CountPercent;     ///< "Кол-во в %"
    QString Deviation;        ///< "Отклонение"
    QString DeviationPercent; ///< "Откл-ие в %"
    QString Depth;            ///< "Глубина"
    QString DepthPercent;     ///< "Глубина в %"
    QString Weight;           ///< "Вес"
    QString PeriodMin;        ///< "Период min"
    QString Period;           ///< "Период"
    QString PeriodMax;        ///< "Период max"
};

/// The integer of a text (trimmed); raises EConvertError when it is not one.
int StrictInt(const QString &text);
/// The decimal number of a text (trimmed, "." or "," as separator); raises
/// EConvertError when it is not one.
double StrictNumber(const QString &text);
/// The integer of a text, or def when it is not one.
int IntOr(const QString &text, int def);
/// The decimal number of a text, or def when it is not one.
double NumberOr(const QString &text, double def);

/// True when the part's selection mode selects the row. Threshold modes read
/// LevelValue as one integer; list modes read it as integers or numbers
/// separated by "," or ";". Raises EConvertError for a threshold or list item
/// that is not a number and for a row text a list mode cannot compare.
bool RowMatches(const TFilterPart &part, const TStatValues &row);

} // namespace lot
