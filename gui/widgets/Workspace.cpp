#include "gui/widgets/Workspace.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace kpr5 {

namespace {
const char *const kTransferControl = "kpr5DisabledDuringTransfer";
}

Workspace::Workspace(RadioDocument &document, SerialLink &link, TransferHost &host, QWidget *window)
    : QObject(window), m_document(document), m_link(link), m_host(host), m_window(window) {}

QString Workspace::startDirectory() const {
    const QString dir = QCoreApplication::applicationDirPath();
    const QFileInfo info(dir);
    if (info.isDir() && info.isWritable()) return dir;
    return QDir::homePath();
}

void disableDuringTransfer(QWidget *control) {
    control->setProperty(kTransferControl, true);
}

void disableDuringTransfer(QAction *action) {
    action->setProperty(kTransferControl, true);
}

void setTransferControlsEnabled(QObject *root, bool enabled) {
    const auto objects = root->findChildren<QObject *>();
    for (QObject *o : objects) {
        if (!o->property(kTransferControl).toBool()) continue;
        if (auto *action = qobject_cast<QAction *>(o))
            action->setEnabled(enabled);
        else if (auto *w = qobject_cast<QWidget *>(o))
            w->setEnabled(enabled);
    }
}

} // namespace kpr5
