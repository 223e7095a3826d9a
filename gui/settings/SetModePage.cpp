#include "gui/settings/SetModePage.h"

#include "core/settings/SettingsTransfer.h"
#include "gui/settings/SettingListWidget.h"
#include "gui/widgets/Workspace.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kpr5 {

namespace {

QPushButton *button(const char *name, const QString &caption, QWidget *parent) {
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

} // namespace

QWidget *createSetModeFrames(Workspace &workspace) {
    SettingsModel &model = workspace.document().settings;
    auto *page = new QWidget;
    auto *outer = new QVBoxLayout(page);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *columns = new QHBoxLayout;
    outer->addLayout(columns, 1);

    using Fr = SettingFrameId;
    const QList<QList<Fr>> layout = {
        {Fr::Display, Fr::Power, Fr::Transmitter, Fr::Repeater},
        {Fr::Receiver, Fr::Scanning, Fr::Sound},
        {Fr::Keys, Fr::Memory, Fr::BugDetector, Fr::ChannelDisplay},
    };
    for (const QList<Fr> &frames : layout) {
        auto *column = new QVBoxLayout;
        for (Fr f : frames)
            column->addWidget(settings::createItemFrame(model, f, page));
        column->addStretch(1);
        columns->addLayout(column);
    }

    auto *buttons = new QHBoxLayout;
    QPushButton *read = button("Set_Mode_Read", QStringLiteral("Read"), page);
    QPushButton *write = button("Set_Mode_Write", QStringLiteral("Write"), page);
    QPushButton *reset = button("Set_Mode_Clear", QStringLiteral("Reset"), page);
    for (QPushButton *b : {read, write, reset})
        disableDuringTransfer(b);
    buttons->addStretch(1);
    buttons->addWidget(read);
    buttons->addWidget(write);
    buttons->addWidget(reset);
    outer->addLayout(buttons);

    Workspace *w = &workspace;
    QObject::connect(read, &QPushButton::clicked, page, [w] {
        if (!w->transferRunning() && w->confirmUnsaved(SettingsRegion | DtmfRegion))
            readSettings(w->document().settings, w->document().dtmf, w->link(), w->host());
    });
    QObject::connect(write, &QPushButton::clicked, page, [w] {
        if (succeeded(
                writeSettings(w->document().settings, w->document().dtmf, w->link(), w->host())))
            w->markWritten(SettingsRegion | DtmfRegion);
    });
    QObject::connect(reset, &QPushButton::clicked, page, [w] {
        if (!w->transferRunning()) w->document().settings.resetSetMode();
    });
    return page;
}

} // namespace kpr5
