#include "gui/settings/SettingFrame.h"

#include "core/settings/SettingsTransfer.h"
#include "gui/settings/SettingListWidget.h"
#include "gui/widgets/TransferButtons.h"
#include "gui/widgets/Workspace.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kpr5 {

QWidget *createSettingFrame(Workspace &workspace) {
    SettingsModel &model = workspace.document().settings;
    auto *box = new QGroupBox(settings::settingFrameCaption());
    box->setObjectName(QStringLiteral("setting"));
    auto *outer = new QVBoxLayout(box);
    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    // Display items on the left; transmitter, sound and squelch items on the right.
    settings::addItemRows(model, SettingFrameId::CommonLeft, grid, 0, box);
    grid->setColumnMinimumWidth(3, 16);
    settings::addItemRows(model, SettingFrameId::CommonRight, grid, 4, box);
    outer->addLayout(grid);
    outer->addStretch(1);

    Workspace *w = &workspace;
    addTransferButtons(
        outer, box, workspace, {"SETTING_READ", "SETTING_WRITE", "SETTING_RESET"},
        [w] {
            if (!w->transferRunning() && w->confirmUnsaved(SettingsRegion | DtmfRegion))
                readSettings(w->document().settings, w->document().dtmf, w->link(), w->host());
        },
        [w] {
            if (succeeded(writeSettings(w->document().settings, w->document().dtmf, w->link(),
                                        w->host())))
                w->markWritten(SettingsRegion | DtmfRegion);
        },
        [w] { w->document().settings.resetCommon(); });
    return box;
}

} // namespace kpr5
