#pragma once
// The File menu: data file Open/Save, CSV Import/Export; and the
// configuration file of the main window (read at start-up, written when a
// serial port is chosen). Each menu command does nothing while a radio
// transfer runs; its dialogs start in Workspace::startDirectory().

#include "core/document/DocumentState.h"

#include <QStringList>

namespace kpr5 {
class Workspace;
void openDataFileGui(Workspace &workspace); // ReadFile
void saveDataFileGui(Workspace &workspace); // TEST_CLICK
void importCsvGui(Workspace &workspace);    // FILE_INPORT
void exportCsvGui(Workspace &workspace);    // FILE_EXPORT

// Opens the data file at `path` as Open does once its dialog has given the
// name (recent files, the command line, a file dropped on the window).
bool openDataFilePathGui(Workspace &workspace, const QString &path);
// Saves the document as the "Save changes?" question's Save does: into the
// file it came from, or through Save's dialog when it has none. False when
// the dialog was cancelled or the file could not be written.
bool saveDocumentGui(Workspace &workspace);
// The "Save changes?" question (Save, Discard, Cancel) about `regions`;
// true: go on. Installed as the workspace's unsaved-changes guard.
bool confirmUnsavedGui(Workspace &workspace, Regions regions);
// The question alone: Save, Discard or Cancel (Discard without asking when
// nothing in `regions` is unsaved).
enum class SaveAnswer { Save, Discard, Cancel };
SaveAnswer askSaveChangesGui(Workspace &workspace, Regions regions);
// The data files last opened or saved, newest first (at most 8).
QStringList recentDataFiles();
constexpr int kRecentFiles = 8;

// Set-up step 12: the serial port (and a remembered device path) from the
// configuration file.
void readConfigurationGui(Workspace &workspace);
// After a port was chosen: the whole edited image and the port into the
// configuration file. No dialog and no message.
void writeConfigurationGui(Workspace &workspace);
} // namespace kpr5
