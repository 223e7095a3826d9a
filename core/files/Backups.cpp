#include "core/files/Backups.h"

#include "core/document/RadioDocument.h"
#include "core/files/DataFile.h"
#include "core/files/FontFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kpr5 {

QString backupDirectory() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/kpr5/backups");
}

bool saveBackup(const RadioDocument &doc, int comPort, const QString &directory,
                const QDateTime &when, BackupFiles *files, QString *error) {
    if (!QDir().mkpath(directory)) {
        if (error) *error = QStringLiteral("cannot create the folder %1").arg(directory);
        return false;
    }
    const QDir dir(directory);
    const QString stamp = when.toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
    QString base = stamp;
    for (int n = 2; QFileInfo::exists(dir.filePath(base + QStringLiteral(".R5"))) ||
                    QFileInfo::exists(dir.filePath(base + QStringLiteral(".FR5")));
         ++n)
        base = stamp + QStringLiteral("_%1").arg(n);

    BackupFiles saved{dir.filePath(base + QStringLiteral(".R5")),
                      dir.filePath(base + QStringLiteral(".FR5"))};
    datafile::WriteOptions options;
    options.comPort = comPort;
    options.savedAt = when;
    QString why;
    if (!saveDataFile(doc, options, saved.dataFile, &why)) {
        if (error) *error = QStringLiteral("%1: %2").arg(saved.dataFile, why);
        return false;
    }
    if (!saveFontFile(doc.font, saved.fontFile, &why, when)) {
        if (error) *error = QStringLiteral("%1: %2").arg(saved.fontFile, why);
        return false;
    }
    if (files) *files = saved;
    return true;
}

} // namespace kpr5
