#include "channels/WholeRadioGui.h"

#include "app/MainWindow.h"
#include "banks/GroupWindow.h"
#include "channels/WholeRadio.h"
#include "font/FontWindow.h"

namespace kpr5 {

void readAllGui(MainWindow &window)
{
    // The font and group windows run their automatic read: the font window
    // reads all eight characters and closes, the group window reads the
    // groups, says "Success ALL DATA READ" and closes.
    readAll(
        window.document(), window.link(), window,
        [&window] {
            openFontWindow(window, true);
            return true;
        },
        [&window] {
            openGroupWindow(window, true);
            return true;
        });
}

void writeAllGui(MainWindow &window) { writeAll(window.document(), window.link(), window, true); }

} // namespace kpr5
