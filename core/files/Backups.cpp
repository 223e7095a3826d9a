#include "core/files/Backups.h"

#include "core/document/RadioDocument.h"
#include "core/files/DataFile.h"
#include "core/files/FontFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace kpr5 {

QString backupDirectory() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/kpr5/backups");
}

namespace {
// "2026-12-06_081500", "2026-12-06_081500_2-written"; the name without its
// extension identifies the set.
const QRegularExpression &backupName() {
    static const QRegularExpression re(
        QStringLiteral("^(\\d{4}-\\d{2}-\\d{2}_\\d{6}(?:_\\d+)?(?:-written)?)\\.(?:R5|FR5)$"));
    return re;
}
} // namespace

void pruneBackups(const QString &directory, int keep) {
    QDir dir(directory);
    QStringList sets;
    const QStringList names = dir.entryList(QDir::Files);
    for (const QString &name : names) {
        const auto m = backupName().match(name);
        if (m.hasMatch() && !sets.contains(m.captured(1))) sets << m.captured(1);
    }
    // The names start with the time: newest last once sorted ("_2" after its
    // stamp, "-written" after the read of the same second).
    std::sort(sets.begin(), sets.end());
    for (int i = 0; i < int(sets.size()) - qMax(keep, 1); ++i)
        for (const char *ext : {".R5", ".FR5"})
            dir.remove(sets.at(i) + QLatin1String(ext));
}

bool saveBackup(const RadioDocument &doc, int comPort, const QString &directory,
                const QDateTime &when, BackupFiles *files, QString *error, BackupKind kind,
                int keep) {
    if (!QDir().mkpath(directory)) {
        if (error) *error = QStringLiteral("cannot create the folder %1").arg(directory);
        return false;
    }
    const QDir dir(directory);
    const QString stamp = when.toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
    const QString suffix = kind == BackupKind::Written ? QStringLiteral("-written") : QString();
    QString base = stamp + suffix;
    for (int n = 2; QFileInfo::exists(dir.filePath(base + QStringLiteral(".R5"))) ||
                    QFileInfo::exists(dir.filePath(base + QStringLiteral(".FR5")));
         ++n)
        base = stamp + QStringLiteral("_%1").arg(n) + suffix;

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
    pruneBackups(directory, keep);
    return true;
}

} // namespace kpr5
