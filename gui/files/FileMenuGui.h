#pragma once
// The File menu: data file Open/Save, CSV Import/Export; and the
// configuration file of the main window (read at start-up, written when a
// serial port is chosen). Each menu command does nothing while a radio
// transfer runs; its dialogs start in Workspace::startDirectory().

namespace kpr5 {
class Workspace;
void openDataFileGui(Workspace &workspace); // ReadFile
void saveDataFileGui(Workspace &workspace); // TEST_CLICK
void importCsvGui(Workspace &workspace);    // FILE_INPORT
void exportCsvGui(Workspace &workspace);    // FILE_EXPORT

// Set-up step 12: the serial port (and a remembered device path) from the
// configuration file.
void readConfigurationGui(Workspace &workspace);
// After a port was chosen: the whole edited image and the port into the
// configuration file. No dialog and no message.
void writeConfigurationGui(Workspace &workspace);
} // namespace kpr5
