#include "gui/settings/SettingFrame.h"

#include "core/settings/SettingsTransfer.h"
#include "gui/settings/SettingListWidget.h"
#include "gui/shell/MainWindow.h"
#include "gui/widgets/TransferButtonsWidget.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kpr5 {

QWidget *createSettingFrame(MainWindow &window) {
    SettingsModel &model = window.document().settings;
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

    MainWindow *w = &window;
    addTransferButtons(
        outer, box, window, {"SETTING_READ", "SETTING_WRITE", "SETTING_RESET"},
        [w] { readSettings(w->document().settings, w->document().dtmf, w->link(), w->host()); },
        [w] { writeSettings(w->document().settings, w->document().dtmf, w->link(), w->host()); },
        [w] { w->document().settings.resetCommon(); });
    return box;
}

} // namespace kpr5
