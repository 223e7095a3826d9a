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

// Saves the document as "<yyyy-MM-dd_HHmmss>.R5" and ".FR5" in `directory`
// (created when missing). A name already taken gets "_2", "_3" ... so an
// earlier backup is never replaced. False with the reason when a file
// could not be written.
bool saveBackup(const RadioDocument &doc, int comPort, const QString &directory,
                const QDateTime &when, BackupFiles *files, QString *error);

// The message for a backup that could not be written.
inline const QString kBackupErrorText = QStringLiteral("Backup Error");

} // namespace kpr5
