#include "banks/GroupWindow.h"

#include "app/MainWindow.h"

namespace kpr5 {

void openGroupWindow(MainWindow &window, bool automatic)
{
    Q_UNUSED(window);
    Q_UNUSED(automatic);
}

} // namespace kpr5
