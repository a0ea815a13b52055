#pragma once
/// @file TStakesController: the stakes area. It owns the stakes file, which
/// is also the data lock of the data folder, holds the user-level operations
/// on it with their error boundary (the file raises) and tells views about
/// changes.

#include "core/OpResult.h"
#include "stakes/StakesFile.h"

#include <QObject>
#include <QString>

namespace lot {

class IHost;
class TDataFolder;

class TStakesController : public QObject {
    Q_OBJECT
public:
    TStakesController(IHost &host, const TDataFolder &files, QObject *parent = nullptr);
    /// Closes the stakes file (ending the data lock) without messages when
    /// CloseStakes() did not.
    ~TStakesController() override;

    TStakesFile &File() { return m_file; }
    const TStakesFile &File() const { return m_file; }
    bool IsOpen() const { return m_file.IsOpen(); }
    qint64 Count() const { return m_file.Count(); }
    /// "Ставок: %d" for the status bar.
    QString CountText() const;

    /// The message shown when the data lock cannot be taken.
    static QString DataLockMessage();
    /// Start-up load of the stakes file, which takes the data lock: status
    /// "Загрузка файла ставок...", the exclusive open, then the version check
    /// (a file of another version is copied to "<file>.bak[.N]" and emptied
    /// after the warning). A file that cannot be opened or is locked by
    /// another copy shows DataLockMessage() (a read error box before it
    /// would only say the same less clearly); a later error shows "Ошибка
    /// чтения файла ставок!\r\r%s". On failure the file is closed and no
    /// lock is held.
    TOpResult LoadStakes();
    /// LoadStakes as the first step of using the data folder: a failure
    /// ends with DataLockMessage(), shown once.
    TOpResult AcquireDataLock();
    /// Closes the stakes file with status "Сохранение файла ставок..."
    /// (error box "Ошибка записи в файл ставок!\r\r%s"), ending the data lock.
    TOpResult CloseStakes();

signals:
    /// The stakes file or its record count changed.
    void StakesChanged();

private:
    IHost &m_host;
    const TDataFolder &m_files;
    TStakesFile m_file;
};

} // namespace lot
