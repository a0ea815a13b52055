#pragma once
/// @file Writing a sheet source into a new .xlsx file (libxlsxwriter, in
/// constant-memory mode so a list of millions of rows streams through).

#include "core/OpResult.h"

#include <functional>
#include <QString>

namespace lot {

class IHost;
class TSheetSource;

/// Data rows per worksheet: the sheet's row limit less the caption row. A
/// longer list continues on further sheets "Title (2)", "Title (3)", ...
inline constexpr qint64 XlsxRowsPerSheet = 1048575;

/// Called with the rows written so far; returning false stops the export.
using TXlsxTick = std::function<bool(qint64 done, qint64 total)>;

/// Writes the source: on each sheet a bold caption row (frozen), then the
/// rows; numbers as numbers, fills as the grid shows them. The file appears
/// whole or not at all: it is written beside the target and renamed over it
/// at the end, and removed after a failure or a stop. The failure's text is
/// returned, not shown; a stop returns the failure "Экспорт прерван".
TOpResult WriteXlsx(const QString &fileName, const TSheetSource &source, const TXlsxTick &tick = {},
                    qint64 rowsPerSheet = XlsxRowsPerSheet);

/// WriteXlsx with the progress window (its "Отмена" stops the export), the
/// status line and an error box on failure.
TOpResult ExportXlsx(IHost &host, const QString &fileName, const TSheetSource &source);

} // namespace lot
