#include "stats/PrefetchFiles.h"

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Host.h"
#include "core/HotLoop.h"
#include "core/Messages.h"
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

void TPrefetchFiles::CreatePrefetch(const TStatClass &statClass, int param) {
    const QString fileName = FileName(statClass, param);
    TBusyGuard busy(m_host);
    m_host.ShowStatus(Format(QStringLiteral("Создание файла предварительной выборки %s..."),
                             {QFileInfo(fileName).fileName()}));
    try {
        if (!QDir().mkpath(PrefetchDir()))
            throw EError(Format(QStringLiteral("Не удалось создать папку \"%s\""), {PrefetchDir()}));
        WritePrefetchFile(fileName, ComputeTable(statClass, param, m_threads));
    } catch (const std::exception &e) {
        // An old file would describe other settings (that is why it is being
        // rebuilt), so none is better than a stale one.
        QFile::remove(fileName);
        throw EError(Format(msg::PrefetchCreateError, {fileName, ExceptionText(e)}));
    }
}

void TPrefetchFiles::CreatePrefetch(int entry) {
    const TStatMethod &m = m_stats.Items(entry);
    CreatePrefetch(*m.StatClass, m.Param);
}

std::optional<TPrefetchTable> TPrefetchFiles::OpenPrefetch(const TCustomStat &stat) {
    return OpenPrefetch(stat.Class(), stat.Param());
}

std::optional<TPrefetchTable> TPrefetchFiles::OpenPrefetch(const TStatClass &statClass, int param) {
    if (!m_enabled || !statClass.CanPrefetch()) return std::nullopt;
    const QString fileName = FileName(statClass, param);
    const QFileInfo info(fileName);
    if (!info.exists() || info.size() == 0) CreatePrefetch(statClass, param);
    for (bool rebuilt = false;; rebuilt = true) {
        try {
            return ReadPrefetchFile(fileName);
        } catch (const EPrefetchFormatError &e) {
            if (rebuilt) throw EError(Format(msg::PrefetchOpenError, {fileName, e.Message()}));
        } catch (const std::exception &e) {
            throw EError(Format(msg::PrefetchOpenError, {fileName, ExceptionText(e)}));
        }
        CreatePrefetch(statClass, param);
    }
}

void TPrefetchFiles::CreateAllPrefetchs(bool force, uint16_t groups) {
    if (!force && !m_enabled) return;
    const QString text = QStringLiteral("Создание файлов для полного набора комбинаций...");
    TBusyGuard busy(m_host);
    m_host.ShowStatus(text);
    TProgressGuard progress(m_host, text, m_stats.Count());
    for (int i = 0; i < m_stats.Count(); ++i) {
        const TStatMethod &m = m_stats.Items(i);
        if (m.StatClass->CanPrefetch()) {
            const QFileInfo info(FileName(*m.StatClass, m.Param));
            const bool present = info.exists() && info.size() > 0;
            if (!present || (groups & PrefetchGroupBit(m.StatClass->Group())) != 0)
                CreatePrefetch(*m.StatClass, m.Param);
        }
        m_host.ProgressStep();
    }
}

} // namespace lot
