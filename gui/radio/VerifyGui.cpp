#include "gui/radio/VerifyGui.h"

#include "core/radio/Verify.h"
#include "gui/shell/MainWindow.h"

#include <QAction>

namespace kpr5 {

QAction *verifyAfterWriteAction(MainWindow &window) {
    return window.findChild<QAction *>(QStringLiteral("VERIFY_AFTER_WRITE"));
}

void verifyAfterWriteGui(MainWindow &window) {
    const VerifyResult result = verifyWritten(window.document(), window.link(), window, true);
    if (!result.started || window.link().closing()) return;
    window.host().message(result.reportLines().join(QLatin1Char('\n')), kVerifyTitle);
}

} // namespace kpr5
