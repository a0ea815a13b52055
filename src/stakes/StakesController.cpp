#include "stakes/StakesController.h"

#include "core/DataFolder.h"
#include "core/Host.h"
#include "core/Messages.h"

namespace lot {

TStakesController::TStakesController(IHost &host, const TDataFolder &files, QObject *parent)
    : QObject(parent), m_host(host), m_files(files) {}

TStakesController::~TStakesController() {
    // The host may already be half torn down here: close without messages.
    try {
        m_file.CloseStakes();
    } catch (const std::exception &) {
    }
}

QString TStakesController::CountText() const {
    return Format(QStringLiteral("Ставок: %d"), {Count()});
}

QString TStakesController::DataLockMessage() {
    return QStringLiteral(
        "Невозможно получить монопольный доступ к файлам данных!\r\rВозможные причины данной ошибки: \r\r1) "
        "Вы пытаетесь запустить вторую копию программы из одного и того же каталога. Корректная работа "
        "нескольких копий программы возможна только из разных каталогов.\r\r2) Для программы нет прав на "
        "запись в том каталоге, где она расположена. Например: в Windows 7 и выше по умолчанию запрещена "
        "запись в c:\\Program Files.\r\rПрограмма будет закрыта!");
}

TOpResult TStakesController::LoadStakes() {
    m_host.ShowStatus(QStringLiteral("Загрузка файла ставок..."));
    TOpResult r;
    try {
        m_file.OpenStakes(m_files.StakesFile());
    } catch (const std::exception &) {
        // Refused by another copy or by the folder's rights: that is what
        // the data-lock message explains; a read error box before it would
        // only say the same less clearly.
        r = Refused(m_host, DataLockMessage());
    }
    if (r) {
        r = Guarded(m_host, QString::fromUtf8(msg::StakesReadError), [&] { m_file.CheckVersion(m_host); });
        if (!r) {
            // A refused load holds no lock: the caller ends or carries on without data.
            try {
                m_file.CloseStakes();
            } catch (const std::exception &) {
            }
        }
    }
    m_host.ShowStatus(QString());
    emit StakesChanged();
    return r;
}

TOpResult TStakesController::AcquireDataLock() {
    const TOpResult r = LoadStakes();
    if (r || r.Message() == DataLockMessage()) return r;
    return Refused(m_host, DataLockMessage());
}

TOpResult TStakesController::CloseStakes() {
    if (!m_file.IsOpen()) return {};
    m_host.ShowStatus(QStringLiteral("Сохранение файла ставок..."));
    const TOpResult r =
        Guarded(m_host, QString::fromUtf8(msg::StakesWriteError), [&] { m_file.CloseStakes(); });
    m_host.ShowStatus(QString());
    return r;
}

} // namespace lot
