#pragma once
/// @file Rewriting a whole file safely: the bytes go to a temporary file in
/// the same folder that is renamed over the old file only once everything
/// is written, so a crash, a full disk or an error half-way never leaves a
/// half-written file behind.

#include <QByteArray>
#include <QSaveFile>
#include <QString>

namespace lot {

/// One atomic rewrite. Nothing replaces the old file until Commit(); an
/// object that goes away uncommitted (an error was raised meanwhile)
/// discards what it wrote. Every failure raises EError with the system's
/// reason.
class TAtomicFile {
public:
    explicit TAtomicFile(const QString &fileName);
    ~TAtomicFile();
    TAtomicFile(const TAtomicFile &) = delete;
    TAtomicFile &operator=(const TAtomicFile &) = delete;

    void Write(const char *data, qint64 size);
    void Write(const QByteArray &bytes) { Write(bytes.constData(), bytes.size()); }
    /// Renames the written file over the old one.
    void Commit();

private:
    [[noreturn]] void Fail();
    QSaveFile m_file;
    bool m_done = false;
};

/// Rewrites fileName with bytes in one atomic step.
void WriteFileAtomically(const QString &fileName, const QByteArray &bytes);

/// A free name for a copy of fileName kept beside it: "<file>.bak", or
/// "<file>.bak.N" (N = 1..999) when that name is taken. Raises EError with
/// noNameText when all are taken.
QString FreeBackupName(const QString &fileName, const QString &noNameText);

/// Copies the file as it is now to a free backup name (FreeBackupName) and
/// returns that name. Raises EError when it cannot be copied; nothing is
/// left half-written.
QString BackupFile(const QString &fileName, const QString &noNameText);

} // namespace lot
