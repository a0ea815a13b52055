#include "export/XlsxExport.h"

#include "core/Format.h"
#include "core/Host.h"
#include "export/Sheet.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdio>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <vector>

namespace lot {

namespace {

const QString Stopped = QStringLiteral("Экспорт прерван");

/// One workbook being written; closes (and so frees) itself in every case.
class TWorkbook {
public:
    explicit TWorkbook(const QByteArray &path) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.use_zip64 = LXW_TRUE;
        m_tmp = QFile::encodeName(QDir::tempPath());
        options.tmpdir = m_tmp.data();
        m_book = workbook_new_opt(path.constData(), &options);
    }
    ~TWorkbook() {
        if (m_book) workbook_close(m_book);
    }
    lxw_workbook *Book() const { return m_book; }
    /// Closes the workbook, which writes the file; LXW_NO_ERROR on success.
    lxw_error Close() {
        lxw_error error = workbook_close(m_book);
        m_book = nullptr;
        return error;
    }
    lxw_format *Caption() {
        if (!m_caption) {
            m_caption = workbook_add_format(m_book);
            format_set_bold(m_caption);
            format_set_bg_color(m_caption, 0xD9D9D9);
            format_set_border(m_caption, LXW_BORDER_THIN);
        }
        return m_caption;
    }
    /// The format of a cell with this fill and number of decimals (-1: none
    /// set), made once per pair.
    lxw_format *CellFormat(uint32_t fill, int decimals) {
        if (fill == TSheetCell::NoFill && decimals <= 0) return nullptr;
        const quint64 key = (quint64(fill) << 8) | quint64(uint8_t(decimals));
        auto found = m_formats.constFind(key);
        if (found != m_formats.cend()) return *found;
        lxw_format *format = workbook_add_format(m_book);
        if (fill != TSheetCell::NoFill) format_set_bg_color(format, fill & 0xFFFFFF);
        if (decimals > 0) {
            const QByteArray pattern = "0." + QByteArray(decimals, '0');
            format_set_num_format(format, pattern.constData());
        }
        m_formats.insert(key, format);
        return format;
    }

private:
    QByteArray m_tmp;
    lxw_workbook *m_book = nullptr;
    lxw_format *m_caption = nullptr;
    QHash<quint64, lxw_format *> m_formats;
};

QString LxwText(lxw_error error) {
    return QString::fromUtf8(lxw_strerror(error));
}

/// Column widths in characters from the captions and the first rows.
std::vector<double> ColumnWidths(const TSheetSource &source) {
    const int columns = source.ColumnCount();
    std::vector<double> widths(size_t(columns), 4);
    for (int c = 0; c < columns; ++c)
        widths[size_t(c)] = std::max<double>(widths[size_t(c)], source.ColumnCaption(c).size());
    const qint64 sample = std::min<qint64>(source.RowCount(), 200);
    for (qint64 r = 0; r < sample; ++r)
        for (int c = 0; c < columns; ++c)
            widths[size_t(c)] =
                std::max<double>(widths[size_t(c)], source.Cell(r, c).Value.toString().size());
    for (double &w : widths)
        w = std::min(w + 2, 80.0);
    return widths;
}

} // namespace

TOpResult WriteXlsx(const QString &fileName, const TSheetSource &source, const TXlsxTick &tick,
                    qint64 rowsPerSheet) {
    const QFileInfo target(fileName);
    if (fileName.isEmpty() || target.isDir())
        return TOpResult::Failure(Format(QStringLiteral("Некорректное имя файла: \"%s\""), {fileName}));
    if (!target.absoluteDir().exists())
        return TOpResult::Failure(
            Format(QStringLiteral("Папка не найдена: \"%s\""), {target.absolutePath()}));
    rowsPerSheet = std::clamp<qint64>(rowsPerSheet, 1, XlsxRowsPerSheet);
    const QString partial = target.absoluteFilePath() + QStringLiteral(".~part");
    const QByteArray partialPath = QFile::encodeName(partial);
    const int columns = std::min(source.ColumnCount(), int(LXW_COL_MAX));
    const qint64 rows = std::max<qint64>(source.RowCount(), 0);
    const std::vector<double> widths = ColumnWidths(source);

    TOpResult result;
    {
        TWorkbook book(partialPath);
        if (!book.Book())
            return TOpResult::Failure(Format(QStringLiteral("Не удалось создать файл \"%s\""), {partial}));
        qint64 row = 0;
        int part = 1;
        lxw_error error = LXW_NO_ERROR;
        do {
            lxw_worksheet *sheet =
                workbook_add_worksheet(book.Book(), SheetName(source.Title(), part).toUtf8().constData());
            if (!sheet) {
                error = LXW_ERROR_SHEETNAME_ALREADY_USED;
                break;
            }
            for (int c = 0; c < columns; ++c)
                worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), widths[size_t(c)], nullptr);
            worksheet_freeze_panes(sheet, 1, 0);
            for (int c = 0; c < columns && error == LXW_NO_ERROR; ++c)
                error = worksheet_write_string(sheet, 0, lxw_col_t(c),
                                               source.ColumnCaption(c).toUtf8().constData(), book.Caption());
            const qint64 end = std::min(rows, row + rowsPerSheet);
            for (lxw_row_t line = 1; row < end && error == LXW_NO_ERROR; ++row, ++line) {
                for (int c = 0; c < columns && error == LXW_NO_ERROR; ++c) {
                    const TSheetCell cell = source.Cell(row, c);
                    const TSheetValue value = ClassifySheetValue(cell.Value);
                    lxw_format *format = book.CellFormat(cell.Fill, value.IsNumber ? value.Decimals : 0);
                    if (value.IsNumber)
                        error = worksheet_write_number(sheet, line, lxw_col_t(c), value.Number, format);
                    else if (!value.Text.isEmpty())
                        error = worksheet_write_string(sheet, line, lxw_col_t(c),
                                                       value.Text.toUtf8().constData(), format);
                    else if (format)
                        error = worksheet_write_blank(sheet, line, lxw_col_t(c), format);
                }
                if (tick && (row & 1023) == 1023 && !tick(row + 1, rows)) {
                    result = TOpResult::Failure(Stopped);
                    break;
                }
            }
            ++part;
        } while (result && error == LXW_NO_ERROR && row < rows);
        if (result && error == LXW_NO_ERROR) error = book.Close();
        if (result && error != LXW_NO_ERROR)
            result = TOpResult::Failure(
                Format(QStringLiteral("Ошибка записи файла \"%s\": %s"), {fileName, LxwText(error)}));
    }
    if (result && tick && !tick(rows, rows)) result = TOpResult::Failure(Stopped);
    if (result &&
        std::rename(partialPath.constData(), QFile::encodeName(target.absoluteFilePath()).constData()) != 0)
        result = TOpResult::Failure(Format(QStringLiteral("Не удалось записать файл \"%s\""), {fileName}));
    if (!result) QFile::remove(partial);
    return result;
}

TOpResult ExportXlsx(IHost &host, const QString &fileName, const TSheetSource &source) {
    const qint64 rows = std::max<qint64>(source.RowCount(), 1);
    constexpr int Steps = 100;
    TOpResult result;
    {
        TProgressGuard progress(host, Format(QStringLiteral("Экспорт: %s"), {source.Title()}), Steps, true);
        int shown = 0;
        result = WriteXlsx(fileName, source, [&](qint64 done, qint64) {
            const int step = int(done * Steps / rows);
            if (step > shown) {
                host.ProgressStep(step - shown);
                shown = step;
            }
            host.ProcessMessages();
            return !host.ProgressCancelled();
        });
    }
    if (result) {
        host.ShowStatus(Format(QStringLiteral("Экспортировано строк: %d"), {source.RowCount()}));
    } else if (result.Message() == Stopped) {
        host.ShowStatus(Stopped);
    } else {
        host.ShowError(Format(QStringLiteral("Ошибка экспорта!\r\r%s"), {result.Message()}));
    }
    return result;
}

} // namespace lot
