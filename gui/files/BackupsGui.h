#pragma once
// The window's side of the backups: after a whole-radio read, and the File
// menu's "Backups" item that opens their folder.

namespace kpr5 {
class MainWindow;
// Saves the main window's document as a backup; a failure is reported as
// "Backup Error" titled " Error" with the reason.
void saveBackupGui(MainWindow &window);
// Opens the backup folder (created when missing) in the desktop's file manager.
void openBackupsGui(MainWindow &window);
} // namespace kpr5
