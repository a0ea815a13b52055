#include "stakes/Tables.h"

#include "core/AtomicFile.h"
#include "core/Codec1251.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"
#include "stakes/StakeRec.h"

#include <cstring>
#include <QFile>

namespace lot {

QString TableName(const TTableRec &rec) {
    return FromCp1251(QByteArray(rec.Name.Chars, rec.Name.Length));
}

void SetTableName(TTableRec &rec, const QString &text) {
    const QByteArray bytes = ToCp1251(text).left(int(sizeof rec.Name.Chars));
    std::memset(rec.Name.Chars, 0, sizeof rec.Name.Chars);
    std::memcpy(rec.Name.Chars, bytes.constData(), size_t(bytes.size()));
    rec.Name.Length = uint8_t(bytes.size());
}

TComb TableStart(const TTableRec &rec) {
    TComb c;
    std::memcpy(c.N, rec.Start, sizeof c.N);
    return c;
}

TComb TableCurrent(const TTableRec &rec) {
    TComb c;
    std::memcpy(c.N, rec.Current, sizeof c.N);
    return c;
}

void SetTableStart(TTableRec &rec, const TComb &comb) {
    std::memcpy(rec.Start, comb.N, sizeof rec.Start);
}

void SetTableCurrent(TTableRec &rec, const TComb &comb) {
    std::memcpy(rec.Current, comb.N, sizeof rec.Current);
}

TTableRec NewTableRule(const QString &name, bool useLastDraw, int step, const TComb &start) {
    TTableRec rec;
    SetTableName(rec, name);
    rec.UseLastDraw = useLastDraw ? 1 : 0;
    TComb sorted = start;
    SortComb(sorted);
    SetTableStart(rec, sorted);
    SetTableCurrent(rec, sorted);
    rec.Step = step;
    rec.Stakes = 0;
    return rec;
}

TComb ShiftedTableComb(const TComb &base, int step) {
    TComb c;
    for (int i = 0; i < CombSize; ++i)
        c[i] = uint8_t(ShiftNumber(base[i], step));
    SortComb(c);
    return c;
}

void AdvanceTable(TTableRec &rec, const TComb &lastDraw) {
    const TComb base = rec.UseLastDraw ? lastDraw : TableCurrent(rec);
    SetTableCurrent(rec, ShiftedTableComb(base, rec.Step));
    ++rec.Stakes;
}

QString TableColumnHeader(int column) {
    switch (column) {
    case tcName:
        return QStringLiteral("Комментарий");
    case tcStart:
        return QStringLiteral("Стартовая комбинация");
    case tcStep:
        return QStringLiteral("Шаг");
    case tcCurrent:
        return QStringLiteral("Текущая комбинация");
    case tcStakes:
        return QStringLiteral("Ставок");
    default:
        return QString();
    }
}

namespace {

/// A rule of the previous draw has no start combination, nor a current one
/// before its first stake: no numbers rather than six zeros.
QString CombCellText(const TComb &c) {
    for (int i = 0; i < CombSize; ++i)
        if (c[i] != 0) return CombToText(c);
    return QString();
}

} // namespace

QString TableCellText(const TTableRec &rec, int column) {
    switch (column) {
    case tcName:
        return TableName(rec);
    case tcStart:
        return CombCellText(TableStart(rec));
    case tcStep:
        return QString::number(rec.Step);
    case tcCurrent:
        return CombCellText(TableCurrent(rec));
    case tcStakes:
        return QString::number(rec.Stakes);
    default:
        return QString();
    }
}

QString TableRuleErrorText(TTableRuleError error) {
    switch (error) {
    case TTableRuleError::BadCombination:
        return QStringLiteral("Введена некорректная комбинация!");
    case TTableRuleError::EmptyName:
        return QStringLiteral("Необходимо ввести комментарий!");
    case TTableRuleError::DuplicateName:
        return QStringLiteral(
            "Запись с таким комментарией уже присутствует в списке!\rВыберите другой комментарий.");
    case TTableRuleError::None:
        break;
    }
    return QString();
}

TTableRuleError CheckTableRule(const QString &name, bool askStart, const QString &startText,
                               const QStringList &names, TComb *start) {
    if (askStart) {
        TNumberSet numbers;
        if (!ParseStakeNumbers(startText, numbers)) return TTableRuleError::BadCombination;
        if (start)
            for (int i = 0; i < CombSize; ++i)
                (*start)[i] = numbers.Numbers[i];
    }
    // Blanks name nothing either.
    if (name.trimmed().isEmpty()) return TTableRuleError::EmptyName;
    for (const QString &other : names)
        if (other.compare(name, Qt::CaseInsensitive) == 0) return TTableRuleError::DuplicateName;
    return TTableRuleError::None;
}

TTablesArray LoadTables(const QString &fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) throw EError(file.errorString());
    const qint64 count = file.size() / TableRecSize;
    TTablesArray rows(static_cast<size_t>(count));
    if (count > 0) {
        const qint64 bytes = count * TableRecSize;
        if (file.read(reinterpret_cast<char *>(rows.data()), bytes) != bytes) {
            const QString reason = file.errorString();
            throw EError(reason.isEmpty() ? QStringLiteral("Файл регулярных ставок прочитан не полностью.")
                                          : reason);
        }
    }
    // Values a damaged file could hold never reach the shift or the list.
    for (TTableRec &rec : rows) {
        rec.UseLastDraw = rec.UseLastDraw ? 1 : 0;
        rec.Step = qBound(-TableStepLimit, rec.Step, TableStepLimit);
    }
    return rows;
}

void SaveTables(const QString &fileName, const TTablesArray &rows) {
    TAtomicFile file(fileName);
    if (!rows.empty())
        file.Write(reinterpret_cast<const char *>(rows.data()), qint64(rows.size()) * TableRecSize);
    file.Commit();
}

} // namespace lot
