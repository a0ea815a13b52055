#include "stats/PrefetchFiles.h"

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Host.h"
#include "core/HotLoop.h"
#include "stats/StatList.h"

#include <memory>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <vector>

namespace lot {

TPrefetchFiles::TPrefetchFiles(IHost &host, const TStatList &stats)
    : m_host(host), m_stats(stats), m_threads(HotLoopThreads()) {}

QString TPrefetchFiles::PrefetchDir() const {
    return QDir(m_dataDir).filePath(QStringLiteral("Prefetchs"));
}

QString TPrefetchFiles::FileNameForCode(const QString &code) const {
    return QDir(PrefetchDir())
        .filePath(QString::fromLatin1(ProgramName) + QLatin1Char('_') + code + QStringLiteral(".dfc"));
}

QString TPrefetchFiles::FileName(const TStatClass &statClass, int param) const {
    return FileNameForCode(statClass.Code(param));
}

TPrefetchTable TPrefetchFiles::ComputeTable(const TStatClass &statClass, int param, int threads) const {
    // One private instance per worker: CombValues keeps its scratch value in
    // the instance. They are made here, on the calling thread.
    // Each worker writes its instance on every combination; a spacer
    // allocated after each keeps two instances off one cache line.
    std::vector<std::unique_ptr<TCustomStat>> instances;
    std::vector<std::unique_ptr<char[]>> spacers;
    const auto makeEvaluator = [&]() -> TCombValuesFn {
        instances.push_back(statClass.Create(m_stats, param));
        spacers.push_back(std::make_unique<char[]>(256));
        return StatEvaluator(*instances.back());
    };
    return CountFullSet(makeEvaluator, threads, [this](int) { m_host.ProcessMessages(); });
}

bool TPrefetchFiles::CreatePrefetch(const TStatClass &statClass, int param) {
    const QString fileName = FileName(statClass, param);
    TBusyGuard busy(m_host);
    m_host.ShowStatus(Format(QStringLiteral("Создание файла предварительной выборки %s..."),
                             {QFileInfo(fileName).fileName()}));
    try {
        if (!QDir().mkpath(PrefetchDir()))
            throw EError(Format(QStringLiteral("Не удалось создать папку \"%s\""), {PrefetchDir()}));
        WritePrefetchFile(fileName, ComputeTable(statClass, param, m_threads));
        return true;
    } catch (const std::exception &e) {
        // An old file would describe other settings (that is why it is being
        // rebuilt), so none is better than a stale one.
        QFile::remove(fileName);
        m_host.ShowError(Format(QStringLiteral("Ошибка создания файла данных для полного набора "
                                               "вариантов!\r\rИмя файла: %s\r\r%s"),
                                {fileName, ExceptionText(e)}));
        return false;
    }
}

bool TPrefetchFiles::CreatePrefetch(int entry) {
    const TStatMethod &m = m_stats.Items(entry);
    return CreatePrefetch(*m.StatClass, m.Param);
}

std::optional<TPrefetchTable> TPrefetchFiles::OpenPrefetch(const TCustomStat &stat) {
    return OpenPrefetch(stat.Class(), stat.Param());
}

std::optional<TPrefetchTable> TPrefetchFiles::OpenPrefetch(const TStatClass &statClass, int param) {
    if (!m_enabled || !statClass.CanPrefetch()) return std::nullopt;
    const QString fileName = FileName(statClass, param);
    const auto openError = [&](const QString &reason) {
        m_host.ShowError(Format(QStringLiteral("Ошибка открытия файла данных для полного набора "
                                               "вариантов!\r\rИмя файла: %s\r\r%s"),
                                {fileName, reason}));
    };

    const QFileInfo info(fileName);
    if (!info.exists() || info.size() == 0) {
        if (!CreatePrefetch(statClass, param)) return std::nullopt;
    }
    for (bool rebuilt = false;; rebuilt = true) {
        try {
            return ReadPrefetchFile(fileName);
        } catch (const EPrefetchFormatError &e) {
            if (rebuilt) {
                openError(e.Message());
                return std::nullopt;
            }
            if (!CreatePrefetch(statClass, param)) return std::nullopt;
        } catch (const std::exception &e) {
            openError(ExceptionText(e));
            return std::nullopt;
        }
    }
}

bool TPrefetchFiles::CreateAllPrefetchs(bool force, uint16_t groups) {
    if (!force && !m_enabled) return true;
    const QString text = QStringLiteral("Создание файлов для полного набора комбинаций...");
    TBusyGuard busy(m_host);
    m_host.ShowStatus(text);
    try {
        TProgressGuard progress(m_host, text, m_stats.Count());
        for (int i = 0; i < m_stats.Count(); ++i) {
            const TStatMethod &m = m_stats.Items(i);
            if (m.StatClass->CanPrefetch()) {
                const QFileInfo info(FileName(*m.StatClass, m.Param));
                const bool present = info.exists() && info.size() > 0;
                if (!present || (groups & PrefetchGroupBit(m.StatClass->Group())) != 0) {
                    if (!CreatePrefetch(*m.StatClass, m.Param)) return false;
                }
            }
            m_host.ProgressStep();
        }
        return true;
    } catch (const std::exception &e) {
        m_host.ShowError(ExceptionText(e));
        return false;
    }
}

} // namespace lot
