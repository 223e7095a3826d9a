#include "gui/widgets/Workspace.h"

#include "gui/widgets/History.h"

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
    : QObject(window), m_document(document), m_link(link), m_host(host), m_window(window),
      m_state(new DocumentState(document, this)), m_history(new History(*m_state, this)) {
    m_history->setPageHooks([this] { return m_currentPage; },
                            [this](int page) { return selectPage(page) && m_currentPage == page; });
    connect(this, &Workspace::pageEntered, this, [this](int page) { m_currentPage = page; });
    // What a transfer of the main window's link changes is a load. It ends
    // once the transfer's handler has returned: the channel table reports
    // the rows a read changed only when the read's batch closes, after the
    // transfer has finished. The steps of a whole-radio transfer are one load.
    connect(this, &Workspace::transferBegan, this, [this] {
        m_loadEndScheduled = false;
        if (m_transferLoad) return;
        m_transferLoad = true;
        beginRadioLoad();
    });
    connect(this, &Workspace::transferEnded, this, [this] {
        if (!m_transferLoad || m_loadEndScheduled) return;
        m_loadEndScheduled = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!m_loadEndScheduled) return;
                m_loadEndScheduled = false;
                m_transferLoad = false;
                endRadioLoad();
            },
            Qt::QueuedConnection);
    });
}

bool Workspace::confirmUnsaved(Regions regions) {
    if (!m_state->isModified(regions)) return true;
    return !m_unsavedGuard || m_unsavedGuard(regions);
}

void Workspace::markWritten(Regions regions) {
    m_history->flush();
    m_state->markSaved(regions);
}

void Workspace::beginRadioLoad() {
    m_state->beginLoad();
}

void Workspace::endRadioLoad() {
    if (m_state->endLoad() & ChannelsRegion) m_state->setSource(DocumentState::Source::Radio);
}

Workspace::RadioLoad::RadioLoad(Workspace &workspace) : m_workspace(workspace) {
    m_workspace.beginRadioLoad();
}

Workspace::RadioLoad::~RadioLoad() {
    m_workspace.endRadioLoad();
}

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
