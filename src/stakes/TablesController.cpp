#include "stakes/TablesController.h"

#include "archive/ArchiveController.h"
#include "combs/CombsController.h"
#include "core/CoreHelpers.h"
#include "core/DataFolder.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "core/Host.h"
#include "core/WindowSettings.h"
#include "stakes/StakesController.h"

#include <algorithm>
#include <QFileInfo>

namespace lot {

namespace {

QString Text(const char *utf8) {
    return QString::fromUtf8(utf8);
}

/// Six distinct numbers of 1..45.
bool IsPlayableComb(const TComb &c) {
    uint64_t seen = 0;
    for (int i = 0; i < CombSize; ++i) {
        if (!IsValidNumber(c[i]) || (seen >> c[i] & 1)) return false;
        seen |= uint64_t(1) << c[i];
    }
    return true;
}

} // namespace

TTablesController::TTablesController(IHost &host, const TDataFolder &files, const TWindowSettings &settings,
                                     TArchiveController &archive, TStakesController &stakes,
                                     const TCombsController &combs, QObject *parent)
    : QObject(parent), m_host(host), m_files(files), m_settings(settings), m_archive(archive),
      m_stakes(stakes), m_combs(combs) {}

QStringList TTablesController::Names() const {
    QStringList names;
    names.reserve(Count());
    for (const TTableRec &rec : m_rules)
        names.append(TableName(rec));
    return names;
}

int TTablesController::Find(const QString &name) const {
    for (int i = 0; i < Count(); ++i)
        if (TableName(m_rules[size_t(i)]).compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

bool TTablesController::TabVisible() const {
    return m_settings.TabTables();
}

void TTablesController::TabVisibilityChanged(bool visible) {
    if (visible) {
        (void)LoadTables();
        return;
    }
    m_rules.clear();
    emit TablesChanged();
}

TOpResult TTablesController::LoadTables() {
    const QString path = m_files.TablesFile();
    if (!TabVisible() || !QFileInfo::exists(path)) return {};
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QStringLiteral("Загрузка файла регулярных ставок..."));
    const TOpResult r = Guarded(m_host, Text("Ошибка чтения файла регулярных ставок!\r\r%s"),
                                [&] { m_rules = lot::LoadTables(path); });
    if (!r) m_rules.clear();
    emit TablesChanged();
    return r;
}

TOpResult TTablesController::SaveTables() {
    if (!TabVisible()) return {};
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QStringLiteral("Сохранение файла регулярных ставок..."));
    const TOpResult r = Guarded(m_host, Text("Ошибка записи в файл регулярных ставок!\r\r%s"),
                                [&] { lot::SaveTables(m_files.TablesFile(), m_rules); });
    emit TablesChanged();
    return r;
}

void TTablesController::Append(const TTableRec &rule) {
    m_rules.push_back(rule);
}

TOpResult TTablesController::AddRules(const TTableRec &rule, const QList<TComb> &selected,
                                      const QList<int> &positions) {
    const QString name = TableName(rule);
    const TTableRuleError error = CheckTableRule(name, false, QString(), Names());
    if (error != TTableRuleError::None) {
        m_host.ShowError(TableRuleErrorText(error));
        return TOpResult::Failure(TableRuleErrorText(error));
    }
    {
        TBusyGuard busy(m_host);
        m_host.ShowStatus(QStringLiteral("Создание регулярных ставок..."));
        if (rule.UseLastDraw || selected.size() <= 1) {
            TTableRec rec = rule;
            TComb start = TableStart(rec);
            SortComb(start);
            SetTableStart(rec, start);
            SetTableCurrent(rec, start);
            rec.Stakes = 0;
            Append(rec);
        } else {
            for (int i = 0; i < selected.size(); ++i) {
                const int position = i < positions.size() ? positions[i] : i + 1;
                Append(NewTableRule(Format(QStringLiteral("%s (%d)"), {name, position}), false, rule.Step,
                                    selected[i]));
            }
        }
    }
    return SaveTables();
}

TOpResult TTablesController::DeleteRules(QList<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int row : rows)
        if (row < 0 || row >= Count()) {
            const QString text = Format(Text("Запись со индексом %d в файле данных не найдена!"), {row});
            m_host.ShowError(text);
            return TOpResult::Failure(text);
        }
    {
        TBusyGuard busy(m_host);
        m_host.ShowStatus(QStringLiteral("Удаление регулярных ставок..."));
        for (auto it = rows.crbegin(); it != rows.crend(); ++it)
            m_rules.erase(m_rules.begin() + *it);
    }
    return SaveTables();
}

TComb TTablesController::LastDrawNumbers() const {
    return m_archive.Draws().DrawNumbersAt(m_archive.Offset());
}

TStakeRec TTablesController::StakeOf(const TTableRec &rule) const {
    TStakeRec stake = m_stakes.NewManualStake(CombToNumberSet(TableCurrent(rule)));
    stake.Kind = skRegular;
    SetStakeComment(stake, TableName(rule));
    return stake;
}

void TTablesController::NextStake(int row, TTableRec &advanced, TStakeRec &stake) const {
    if (row < 0 || row >= Count())
        throw EError(Format(Text("Запись со индексом %d в файле данных не найдена!"), {row}));
    advanced = m_rules[size_t(row)];
    AdvanceTable(advanced, LastDrawNumbers());
    // A rule of the previous draw over an empty archive, or numbers a
    // damaged file brought in, would make a stake of no six numbers.
    if (!IsPlayableComb(TableCurrent(advanced)))
        throw EError(
            Format(Text("Регулярная ставка \"%s\" не дает корректной комбинации!"), {TableName(advanced)}));
    stake = StakeOf(advanced);
}

TOpResult TTablesController::CommitStake(int row, const TTableRec &advanced, const TStakeRec &stake,
                                         int drawsCount) {
    if (row < 0 || row >= Count()) {
        const QString text = Format(Text("Запись со индексом %d в файле данных не найдена!"), {row});
        m_host.ShowError(text);
        return TOpResult::Failure(text);
    }
    m_rules[size_t(row)] = advanced;
    const TOpResult saved = SaveTables();
    const TOpResult added = m_stakes.AddStake(stake, drawsCount);
    return saved ? added : saved;
}

int TTablesController::MaxTestCount() const {
    return qMax(0, m_archive.Count() - 1);
}

TOpResult TTablesController::TestRules(QList<int> rows, int count, int *appended) {
    if (appended) *appended = 0;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(std::remove_if(rows.begin(), rows.end(), [this](int r) { return r < 0 || r >= Count(); }),
               rows.end());
    count = qMin(count, MaxTestCount());
    if (count <= 0 || rows.isEmpty()) return {};

    TBusyGuard busy(m_host);
    m_host.ShowStatus(QStringLiteral("Создание ставок по регулярным табличным ставкам..."));
    if (m_freeze) m_freeze(true);
    const int offset = m_archive.Offset();
    TOpResult last;
    for (int v = count; v >= 1 && last; --v) {
        m_archive.ChangeOffset(v);
        for (int row : rows) {
            TTableRec &rule = m_rules[size_t(row)];
            TTableRec advanced;
            TStakeRec stake;
            last = Guarded(m_host, QString(), [&] { NextStake(row, advanced, stake); });
            if (!last) break;
            rule = advanced;
            last = m_stakes.AddStakes(stake, 1, true);
            if (!last) break;
            if (appended) ++*appended;
        }
    }
    m_archive.ChangeOffset(offset);
    if (m_freeze) m_freeze(false);
    const TOpResult saved = SaveTables();
    if (last) {
        last = m_stakes.CheckAndSave();
        m_stakes.RefreshStakesView(true, true);
    }
    return last ? saved : last;
}

} // namespace lot
