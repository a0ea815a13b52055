#pragma once
/// @file Restarting the program and waiting for a previous instance to end.

#include <QList>
#include <QString>

namespace lot {

/// Starts program (default: this executable) again with the single argument
/// "restart" and the program folder as working folder, without waiting, then
/// asks the running application to quit. Returns false when the new process
/// could not be started (the application keeps running then).
bool Restart(const QString &program = {});

/// Ids of the running processes, other than this one, whose executable has
/// the file name exeName (Linux: /proc/<pid>/exe). An executable replaced
/// on disk while running still counts.
QList<qint64> FindOtherProcesses(const QString &exeName);

/// The wait of the "restart" switch: while another process runs exeName
/// (default: this executable's file name), sleeps intervalMs and looks again,
/// at most maxLooks looks. Returns true when no other instance runs.
bool WaitForOtherInstances(const QString &exeName = {}, int maxLooks = 601, int intervalMs = 100);

} // namespace lot
