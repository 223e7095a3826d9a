#include "gui/radio/VerifyGui.h"

#include "core/radio/Verify.h"
#include "gui/widgets/Workspace.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace kpr5 {

namespace {
const QString kVerifyItem = QStringLiteral("VERIFY_AFTER_WRITE");
}

void addVerifyAfterWriteItem(QMenu *communication) {
    communication->addSeparator();
    QAction *verify = communication->addAction(QStringLiteral("Verify after write"));
    verify->setObjectName(kVerifyItem);
    verify->setCheckable(true);
}

bool verifyAfterWriteChecked(Workspace &workspace) {
    const auto *item = workspace.window()->findChild<QAction *>(kVerifyItem);
    return item && item->isChecked();
}

void verifyAfterWriteGui(Workspace &workspace) {
    const VerifyResult result =
        verifyWritten(workspace.document(), workspace.link(), workspace.host(), true);
    if (!result.started || workspace.link().closing()) return;
    workspace.host().message(result.reportLines().join(QLatin1Char('\n')), kVerifyTitle);
}

} // namespace kpr5
