#include "gui/radio/WholeRadioGui.h"

#include "core/radio/WholeRadio.h"
#include "gui/banks/GroupWindow.h"
#include "gui/files/BackupsGui.h"
#include "gui/font/FontWindow.h"
#include "gui/radio/VerifyGui.h"
#include "gui/shell/MainWindow.h"

#include <QAction>

namespace kpr5 {

void readAllGui(MainWindow &window) {
    // The font and group windows run their automatic read: the font window
    // reads all eight characters and closes, the group window reads the
    // groups, says "Success ALL DATA READ" and closes.
    const WholeRadioResult result = readAll(
        window.document(), window.link(), window,
        [&window] {
            openFontWindow(window, true);
            return true;
        },
        [&window] {
            openGroupWindow(window, true);
            return true;
        });
    // Nothing lost: a complete read is also kept as a backup.
    if (result.ok()) saveBackupGui(window);
}

void writeAllGui(MainWindow &window) {
    const WholeRadioResult result = writeAll(window.document(), window.link(), window, true);
    QAction *verify = verifyAfterWriteAction(window);
    if (result.ok() && verify && verify->isChecked()) verifyAfterWriteGui(window);
}

} // namespace kpr5
