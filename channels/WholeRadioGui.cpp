#include "channels/WholeRadioGui.h"

#include "app/MainWindow.h"

namespace kpr5 {

void readAllGui(MainWindow &window) { Q_UNUSED(window); }
void writeAllGui(MainWindow &window) { Q_UNUSED(window); }

} // namespace kpr5
