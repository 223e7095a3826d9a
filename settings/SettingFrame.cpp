#include "settings/SettingFrame.h"

#include "app/MainWindow.h"
#include "settings/SettingListWidget.h"
#include "settings/SettingsTransfer.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kpr5 {

QWidget *createSettingFrame(MainWindow &window)
{
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

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const char *names[] = {"SETTING_READ", "SETTING_WRITE", "SETTING_RESET"};
    const QString captions[] = {QStringLiteral("Read"), QStringLiteral("Write"), QStringLiteral("Reset")};
    QPushButton *b[3];
    for (int i = 0; i < 3; ++i) {
        b[i] = new QPushButton(captions[i], box);
        b[i]->setObjectName(QLatin1String(names[i]));
        buttons->addWidget(b[i]);
    }
    outer->addLayout(buttons);

    MainWindow *w = &window;
    QObject::connect(b[0], &QPushButton::clicked, box, [w] {
        readSettings(w->document().settings, w->document().dtmf, w->link(), w->host());
    });
    QObject::connect(b[1], &QPushButton::clicked, box, [w] {
        writeSettings(w->document().settings, w->document().dtmf, w->link(), w->host());
    });
    QObject::connect(b[2], &QPushButton::clicked, box, [w] {
        if (w->link().state.transferBusy == 0)
            w->document().settings.resetCommon();
    });
    return box;
}

} // namespace kpr5
