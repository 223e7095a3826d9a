#pragma once
// The File menu: data file Open/Save, CSV Import/Export; and the
// configuration file of the main window (read at start-up, written when a
// serial port is chosen). Each menu command does nothing while a radio
// transfer runs; its dialogs start in MainWindow::startDirectory().

namespace kpr5 {
class MainWindow;
void openDataFileGui(MainWindow &window); // ReadFile
void saveDataFileGui(MainWindow &window); // TEST_CLICK
void importCsvGui(MainWindow &window);    // FILE_INPORT
void exportCsvGui(MainWindow &window);    // FILE_EXPORT

// Set-up step 12: the serial port (and a remembered device path) from the
// configuration file.
void readConfigurationGui(MainWindow &window);
// After a port was chosen: the whole edited image and the port into the
// configuration file. No dialog and no message.
void writeConfigurationGui(MainWindow &window);
} // namespace kpr5
