#pragma once
// Nothing read from the radio is lost: every whole-radio read is also kept as
// a data file and a font file named by the time of the read, in the user's
// data folder ("<data>/kpr5/backups", e.g. 2026-12-06_081500.R5 and
// 2026-12-06_081500.FR5).

#include <QDateTime>
#include <QString>

namespace kpr5 {

struct RadioDocument;

// The folder the backups go to. The same for the window and the command
// line (the generic data location, so it does not depend on the
// application's organization name).
QString backupDirectory();

struct BackupFiles {
    QString dataFile;
    QString fontFile;
};

// What a backup keeps: a complete read, or what a whole-radio write sent
// (its names end in "-written").
enum class BackupKind { Read, Written };

// How many backup sets the folder keeps unless the configuration file says
// otherwise (see core/files/Configuration.h).
constexpr int kDefaultBackupsKept = 100;

// Saves the document as "<yyyy-MM-dd_HHmmss>.R5" and ".FR5" in `directory`
// (created when missing). A name already taken gets "_2", "_3" ... so an
// earlier backup is never replaced. Then the folder is pruned to the newest
// `keep` sets. False with the reason when a file could not be written.
bool saveBackup(const RadioDocument &doc, int comPort, const QString &directory,
                const QDateTime &when, BackupFiles *files, QString *error,
                BackupKind kind = BackupKind::Read, int keep = kDefaultBackupsKept);

// Deletes the oldest backup sets beyond the newest `keep` (files named as
// saveBackup names them; nothing else in the folder is touched).
void pruneBackups(const QString &directory, int keep);

// The message for a backup that could not be written.
inline const QString kBackupErrorText = QStringLiteral("Backup Error");

} // namespace kpr5
