#include "gui/widgets/TransferButtons.h"

#include "gui/widgets/Workspace.h"

#include <QBoxLayout>
#include <QPushButton>

namespace kpr5 {

TransferButtons addTransferButtons(QBoxLayout *outer, QWidget *parent, Workspace &workspace,
                                   const TransferButtonNames &names, std::function<void()> read,
                                   std::function<void()> write, std::function<void()> reset,
                                   bool alignRight) {
    auto *row = new QHBoxLayout;
    if (alignRight) row->addStretch(1);
    const auto button = [&](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, parent);
        b->setObjectName(QLatin1String(name));
        disableDuringTransfer(b);
        row->addWidget(b);
        return b;
    };
    TransferButtons b{button(names.read, QStringLiteral("Read")),
                      button(names.write, QStringLiteral("Write")),
                      button(names.reset, QStringLiteral("Reset"))};
    outer->addLayout(row);
    QObject::connect(b.read, &QPushButton::clicked, parent, std::move(read));
    QObject::connect(b.write, &QPushButton::clicked, parent, std::move(write));
    Workspace *w = &workspace;
    QObject::connect(b.reset, &QPushButton::clicked, parent, [w, reset = std::move(reset)] {
        if (!w->transferRunning()) reset();
    });
    return b;
}

} // namespace kpr5
