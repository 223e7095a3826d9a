#pragma once
// The window's side of the backups: after a whole-radio read, and the File
// menu's "Backups" item that opens their folder.

#include "core/files/Backups.h"

namespace kpr5 {
class Workspace;
// Saves the main window's document as a backup (a complete read, or what a
// whole-radio write sent) and prunes the folder to the sets the
// configuration keeps; a failure is reported as "Backup Error" titled
// " Error" with the reason.
void saveBackupGui(Workspace &workspace, BackupKind kind);
// Opens the backup folder (created when missing) in the desktop's file manager.
void openBackupsGui(Workspace &workspace);
} // namespace kpr5
