#include "gui/files/BackupsGui.h"

#include "core/files/Backups.h"
#include "gui/shell/MainWindow.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace kpr5 {

void saveBackupGui(MainWindow &window) {
    QString error;
    if (!saveBackup(window.document(), window.link().state.comPort, backupDirectory(),
                    QDateTime::currentDateTime(), nullptr, &error))
        window.message(kBackupErrorText, kErrorTitle, error);
}

void openBackupsGui(MainWindow &window) {
    Q_UNUSED(window);
    const QString dir = backupDirectory();
    QDir().mkpath(dir);
    QDesktopServices::openUrl(QUrl::fromLocalFile(dir));
}

} // namespace kpr5
