#include "font/FontWindow.h"

#include "app/MainWindow.h"

namespace kpr5 {

void openFontWindow(MainWindow &window, bool automatic)
{
    Q_UNUSED(window);
    Q_UNUSED(automatic);
}

} // namespace kpr5
