// The ratings operations of the stakes controller: load, save, sort,
// refresh from the stakes file, the CSV export and the efficiency mode.

#include "core/AtomicFile.h"
#include "core/Codec1251.h"
#include "core/DataFolder.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "core/Host.h"
#include "core/Messages.h"
#include "core/Money.h"
#include "core/WindowSettings.h"
#include "stakes/StakesController.h"

#include <algorithm>
#include <QFileInfo>
#include <QLocale>
#include <QSet>

namespace lot {

namespace {

QString Text(const char *utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

void TStakesController::AccumulateRating(const TStakeRec &rec) {
    m_ratings.Accumulate(rec);
}

QString TStakesController::RatingsCountText() const {
    return Format(QStringLiteral("Рейтинг: %d"), {m_ratings.Count()});
}

TOpResult TStakesController::ReadRatings() {
    const QString path = m_files.RatingsFile();
    if (!QFileInfo::exists(path)) return {};
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QStringLiteral("Загрузка файла рейтинга..."));
    const TOpResult r =
        Guarded(m_host, Text("Ошибка чтения файла рейтинга!\r\r%s"), [&] { m_ratings.Load(path); });
    m_ratingsUnread = !r;
    emit RatingsChanged();
    return r;
}

TOpResult TStakesController::LoadRatings() {
    const TOpResult r = ReadRatings();
    // A file that could not be read is not written over with what was read of it.
    if (!r || !QFileInfo::exists(m_files.RatingsFile())) return r;
    return SortRatings(m_ratingsSortColumn, m_ratingsSortDescending);
}

TOpResult TStakesController::SaveRatings() {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QStringLiteral("Сохранение файла рейтинга..."));
    const TOpResult r = Guarded(m_host, Text("Ошибка записи в файл рейтинга!\r\r%s"), [&] {
        const QString path = m_files.RatingsFile();
        if (m_ratingsUnread && QFileInfo::exists(path))
            (void)BackupFile(path, QStringLiteral("Нет свободного имени для копии файла рейтинга."));
        m_ratingsUnread = false;
        m_ratings.Save(path);
    });
    emit RatingsChanged();
    return r;
}

TOpResult TStakesController::SortRatings(int column, bool descending) {
    {
        TBusyGuard busy(m_host);
        m_host.ShowStatus(QStringLiteral("Сортировка рейтинга..."));
        if (column >= 0 && column < RatingColumnCount) {
            m_ratingsSortColumn = column;
            m_ratingsSortDescending = descending;
            m_ratings.Sort(column, descending);
        }
    }
    return SaveRatings();
}

TOpResult TStakesController::RatingsRefresh(bool *refused) {
    if (refused) *refused = false;
    if (!m_ratings.IsEmpty() &&
        !m_host.Confirm(Text("Пересчитать рейтинг только по текущим ставкам?\r\rНакопленные ранее данные по "
                             "удаленным ставкам будут потеряны."))) {
        if (refused) *refused = true;
        return {};
    }
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QStringLiteral("Обновление рейтинга..."));
    TRatings rebuilt;
    const TOpResult r = Guarded(m_host, Text("Ошибка обновления рейтинга!\r\r%s"), [&] {
        if (!m_file.IsOpen()) return;
        ReadEachStake([&](qint64, const TStakeRec &rec) {
            if (rec.DrawNumber >= 0 && rec.Checked) rebuilt.Accumulate(rec);
        });
    });
    if (!r) return r;
    m_ratings = std::move(rebuilt);
    return SortRatings(m_ratingsSortColumn, m_ratingsSortDescending);
}

TOpResult TStakesController::ExportRatingsCsv(const QString &fileName) {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QStringLiteral("Экспорт в CSV-файл..."));
    return Guarded(m_host, Text("Ошибка экспорта рейтинга в CSV-файл!\r\r%s"), [&] {
        const QStringList lines = RatingsCsvLines(m_ratings.Rows(), QLocale().decimalPoint().at(0));
        WriteFileAtomically(fileName, ToCp1251(JoinLinesCrLf(lines)));
    });
}

TOpResult TStakesController::StakesGraphDraws(TStakeGraph &graph) {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QStringLiteral("Создание графиков..."));
    const TOpResult r = Guarded(m_host, QString(), [&] {
        TProfitDrawArray draws;
        if (m_file.IsOpen())
            ReadEachStake([&](qint64, const TStakeRec &rec) {
                if (rec.DrawNumber >= 0) AddProfitDraw(draws, rec.DrawNumber, rec.Profit);
            });
        graph = ProfitDrawsGraph(draws);
    });
    m_host.ShowStatus(QString());
    return r;
}

TOpResult TStakesController::StakesGraphComments(const QStringList &comments, bool profits,
                                                 TStakeGraph &graph) {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QStringLiteral("Создание графиков..."));
    const TOpResult r = Guarded(m_host, QString(), [&] {
        if (comments.isEmpty() || !m_file.IsOpen()) throw EError(GraphNoDataText());
        QSet<QString> keys;
        for (const QString &c : comments)
            keys.insert(c.toCaseFolded());
        const TRecentDraws recent = m_file.SeekRecentDraws(100);
        if (recent.Draws < 2) throw EError(GraphNoDataText());
        TStakeGraph g;
        g.Caption = profits ? QStringLiteral("График профита для всех ставок по тиражам")
                            : QStringLiteral("График количества совпадений для всех ставок по тиражам");
        std::vector<TStakeRec> block(static_cast<size_t>(TStakesFile::BlockRecords));
        const qint64 count = m_file.Count();
        for (qint64 at = recent.FirstIndex; at < count;) {
            const qint64 got =
                m_file.ReadRecords(at, block.data(), std::min(TStakesFile::BlockRecords, count - at));
            if (got <= 0) break;
            for (qint64 i = 0; i < got; ++i) {
                const TStakeRec &rec = block[size_t(i)];
                if (!rec.Checked || rec.DrawNumber <= 0 || rec.Overlaps.Count < 0) continue;
                const QString comment = StakeComment(rec);
                if (!keys.contains(comment.toCaseFolded())) continue;
                const double y = profits ? double(rec.Profit) / TMoney::Scale : double(rec.Overlaps.Count);
                g.Points.push_back({comment, rec.DrawNumber, y, true, true, 0});
            }
            at += got;
        }
        graph = std::move(g);
    });
    m_host.ShowStatus(QString());
    return r;
}

int TStakesController::RatingsEffMode() const {
    const int mode = m_settings.RatingsEffMode();
    return mode >= 0 && mode < RatingEffModeCount ? mode : remAbsolute;
}

TOpResult TStakesController::SetRatingsEffMode(int mode) {
    if (mode < 0 || mode >= RatingEffModeCount) return {};
    const TOpResult r = Guarded(m_host, Text(msg::SettingsSaveError), [&] {
        m_settings.SetRatingsEffMode(mode);
        m_settings.Save();
    });
    emit RatingsChanged();
    return r;
}

} // namespace lot
