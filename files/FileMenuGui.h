#pragma once
// The File menu: data file Open/Save, CSV Import/Export.

namespace kpr5 {
class MainWindow;
void openDataFileGui(MainWindow &window);   // ReadFile
void saveDataFileGui(MainWindow &window);   // TEST_CLICK
void importCsvGui(MainWindow &window);      // FILE_INPORT
void exportCsvGui(MainWindow &window);      // FILE_EXPORT
} // namespace kpr5
