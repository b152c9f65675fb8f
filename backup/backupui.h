#pragma once

#include <QString>

class QWidget;
class SQLConnection;

// The "Система" menu's backup and restore, with their progress and questions, and the reminder
// the main window shows once at start. statePath is the file that remembers the folder and the
// day of the last backup.
namespace BackupUi {

void backupDatabase(SQLConnection& connection, const QString& statePath, QWidget* parent);
// True when the restored database took the current one's place (the caller re-reads its lists).
bool restoreDatabase(SQLConnection& connection, const QString& statePath, QWidget* parent);
void remindAtStart(const QString& statePath);

} // namespace BackupUi
