#include "gui/files/BackupsGui.h"

#include "core/files/Backups.h"
#include "gui/widgets/Workspace.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace kpr5 {

void saveBackupGui(Workspace &workspace, BackupKind kind) {
    QString error;
    const int keep = workspace.backupsKept() > 0 ? workspace.backupsKept() : kDefaultBackupsKept;
    if (!saveBackup(workspace.document(), workspace.link().portSettings().comPort,
                    backupDirectory(), QDateTime::currentDateTime(), nullptr, &error, kind, keep))
        workspace.host().message(kBackupErrorText, kErrorTitle, error);
}

void openBackupsGui(Workspace &workspace) {
    Q_UNUSED(workspace);
    const QString dir = backupDirectory();
    QDir().mkpath(dir);
    QDesktopServices::openUrl(QUrl::fromLocalFile(dir));
}

} // namespace kpr5
