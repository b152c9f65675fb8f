#include "backup/backupui.h"

#include "backup/backupdata.h"
#include "platform/base/clock.h"
#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "platform/ui/uiservice.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QProgressDialog>
#include <QStandardPaths>

namespace {

// A modal progress with a cancel button, fed by the service's lines.
class Progress
{
public:
    Progress(const QString& title, int tables, QWidget* parent) : dialog_(title, QStringLiteral("Отказ"), 0, 0, parent)
    {
        meter_.tables = tables;
        dialog_.setWindowTitle(title);
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(0);
        dialog_.setAutoClose(false);
        dialog_.setAutoReset(false);
        dialog_.show();
    }
    DbBackup::Progress callback()
    {
        return [this](const QString& line) {
            if (dialog_.wasCanceled()) {
                // The engine finishes what it started before the files can go: the dialog stays,
                // so nothing else starts meanwhile, and says why it waits.
                if (!stopping_) {
                    stopping_ = true;
                    dialog_.setCancelButton(nullptr);
                    dialog_.setLabelText(QStringLiteral("Прекъсване… Изчаква се базата данни да приключи започнатото."));
                }
                if (!dialog_.isVisible()) dialog_.show();
            } else {
                if (meter_.take(line)) {
                    dialog_.setMaximum(meter_.tables);
                    dialog_.setValue(meter_.done);
                }
                if (!line.isEmpty()) dialog_.setLabelText(line.section(u':', 1).trimmed());
            }
            QApplication::processEvents();
            return !dialog_.wasCanceled();
        };
    }

private:
    QProgressDialog dialog_;
    Backup::Meter meter_;
    bool stopping_ = false;
};

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

} // namespace

void BackupUi::backupDatabase(SQLConnection& connection, const QString& statePath, QWidget* parent)
{
    Backup::Record record(statePath);
    const ConnectionParams& p = connection.params();
    QString folder;
    if (p.embedded()) {
        QString start = record.folder();
        if (start.isEmpty()) start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        folder = QFileDialog::getExistingDirectory(parent, QStringLiteral("Папка за архива"), start);
        if (folder.isEmpty()) return;
        record.setFolder(folder);
    }
    const int tables = Backup::tableCount(connection);
    Backup::Outcome out;
    {
        Progress progress(QStringLiteral("Архивиране на базата данни"), tables, parent);
        out = Backup::backup(p, folder, progress.callback());
    }
    if (!out.done) {
        UiService::current().showMessage(QStringLiteral("Архивирането е прекъснато. Архив не е записан."));
        return;
    }
    record.noteBackup(Clock::today());
    UiService::current().showMessage(
        out.onServer ? QStringLiteral("Базата данни е архивирана на сървъра %1 във файла:\r%2").arg(p.server, out.path)
                     : QStringLiteral("Базата данни е архивирана във файла:\r%1").arg(native(out.path)));
}

bool BackupUi::restoreDatabase(SQLConnection& connection, const QString& statePath, QWidget* parent)
{
    const ConnectionParams& p = connection.params();
    UiService& ui = UiService::current();
    QString file;
    if (p.embedded()) {
        file = QFileDialog::getOpenFileName(parent, QStringLiteral("Архив за възстановяване"), Backup::Record(statePath).folder(),
                                            QStringLiteral("Архиви на базата данни (*.fbk);;Всички файлове (*)"));
        if (file.isEmpty()) return false;
    } else {
        // The file is on the server's disk, which no file dialog here can show.
        file = QInputDialog::getText(parent, QStringLiteral("Възстановяване от архив"),
                                     QStringLiteral("Път до архива на сървъра %1:").arg(p.server), QLineEdit::Normal,
                                     QFileInfo(p.database).path() + u'/')
                   .trimmed();
        if (file.isEmpty()) return false;
    }
    const int tables = Backup::tableCount(connection);
    Backup::Outcome out;
    {
        Progress progress(QStringLiteral("Възстановяване от архив"), tables, parent);
        out = Backup::restore(p, file, progress.callback());
    }
    if (!out.done) {
        ui.showMessage(QStringLiteral("Възстановяването е прекъснато. Текущата база данни не е променена."));
        return false;
    }
    if (out.onServer) {
        ui.showMessage(QStringLiteral("Архивът е възстановен на сървъра %1 в новата база данни:\r%2\rТекущата база данни "
                                      "не е променена. За да работите с възстановената, посочете я в група [database] "
                                      "на файла с настройки.")
                           .arg(p.server, out.path));
        return false;
    }
    const QString bak = Backup::bakPath(p.database);
    if (!ui.askYesNo(QStringLiteral("Архивът %1 е проверен.\rДа замени ли текущата база данни? Тя ще бъде запазена "
                                    "като %2.")
                         .arg(native(file), native(bak)))) {
        QFile::remove(out.path);
        return false;
    }
    // Windows other than the main one show the old database's rows: they are closed first.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != parent && w->isVisible()) w->close();
    Backup::replace(connection, out.path);
    ui.showMessage(QStringLiteral("Базата данни е възстановена от архива %1.\rПредишната база данни е запазена като %2.")
                       .arg(native(file), native(bak)));
    return true;
}

void BackupUi::remindAtStart(const QString& statePath)
{
    const QString text = Backup::Record(statePath).reminder(Clock::today());
    if (!text.isEmpty()) UiService::current().showMessage(text);
}
