#include "files/FileMenuGui.h"

#include "app/MainWindow.h"

namespace kpr5 {

void openDataFileGui(MainWindow &window) { Q_UNUSED(window); }
void saveDataFileGui(MainWindow &window) { Q_UNUSED(window); }
void importCsvGui(MainWindow &window) { Q_UNUSED(window); }
void exportCsvGui(MainWindow &window) { Q_UNUSED(window); }

} // namespace kpr5
