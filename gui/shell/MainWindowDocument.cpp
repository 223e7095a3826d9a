// The main window's side of the edited document: the caption with the file
// name and the modified marker, the "Save changes?" question on closing,
// the Edit menu (undo, redo, rows through the clipboard, find), the recent
// files, Quit, and data files dropped on the window.

#include "gui/channels/ChannelPage.h"
#include "gui/files/FileMenuGui.h"
#include "gui/shell/MainWindow.h"
#include "gui/widgets/History.h"
#include "gui/widgets/MessageDialog.h"

#include "core/files/DataFile.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>

namespace kpr5 {

namespace {

// The first local ".R5" file of a drag, or nothing.
QString droppedDataFile(const QMimeData *mime) {
    if (!mime || !mime->hasUrls()) return QString();
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile() && hasDataFileExtension(url.toLocalFile())) return url.toLocalFile();
    }
    return QString();
}

} // namespace

QString MainWindow::baseCaption() {
    return QStringLiteral("T_KP-R5 Clone Utility Version1_7");
}

void MainWindow::setupDocument() {
    m_workspace->setUnsavedGuard(
        [this](Regions regions) { return confirmUnsavedGui(*m_workspace, regions); });
    m_workspace->setPageSelector([this](int page) {
        selectPage(page);
        return currentPage() == page;
    });
    m_channelPage = findChild<ChannelPage *>();
    // What the set-up made is the new, unchanged document.
    DocumentState &state = m_workspace->documentState();
    state.reset();
    connect(&state, &DocumentState::modifiedChanged, this, &QWidget::setWindowModified);
    connect(&state, &DocumentState::sourceChanged, this, &MainWindow::updateCaption);
    buildEditMenu();
    setAcceptDrops(true);
    updateCaption();
}

void MainWindow::updateCaption() {
    const DocumentState &state = m_workspace->documentState();
    QString what;
    switch (state.source()) {
    case DocumentState::Source::File:
        what = QFileInfo(state.filePath()).fileName();
        break;
    case DocumentState::Source::Radio:
        what = tr("from the radio");
        break;
    case DocumentState::Source::New:
        what = tr("new");
        break;
    }
    setWindowTitle(baseCaption() + QStringLiteral(" - ") + what + QStringLiteral("[*]"));
    setWindowModified(state.isModified());
}

// --- the File menu's additions ----------------------------------------------------

void MainWindow::addDocumentItems(QMenu *file) {
    file->addSeparator();
    m_recentMenu = file->addMenu(tr("Recent Files"));
    m_recentMenu->setObjectName(QStringLiteral("MenuRecent"));
    connect(m_recentMenu, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);
    fillRecentMenu();
    file->addSeparator();
    QAction *quit = file->addAction(tr("Quit"));
    quit->setObjectName(QStringLiteral("MenuQuit"));
    quit->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    quit->setMenuRole(QAction::QuitRole);
    connect(quit, &QAction::triggered, this, &QWidget::close);
}

void MainWindow::fillRecentMenu() {
    m_recentMenu->clear();
    const QStringList files = recentDataFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files.at(i);
        QAction *a = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
            ui::literalAmpersands(QDir::toNativeSeparators(path))));
        a->setObjectName(QStringLiteral("MenuRecentFile(%1)").arg(i + 1));
        connect(a, &QAction::triggered, this, [this, path] { openFile(path); });
    }
    m_recentMenu->setEnabled(!files.isEmpty());
}

bool MainWindow::openFile(const QString &path) {
    return openDataFilePathGui(*m_workspace, path);
}

// --- the Edit menu ------------------------------------------------------------------

void MainWindow::buildEditMenu() {
    auto *edit = new QMenu(QStringLiteral("Edit(&E)"), this);
    edit->setObjectName(QStringLiteral("MenuEdit"));
    menuBar()->insertMenu(m_portMenu->menuAction(), edit);
    disableDuringTransfer(edit->menuAction());

    History &history = m_workspace->history();
    m_undo = edit->addAction(tr("Undo"));
    m_undo->setObjectName(QStringLiteral("MenuUndo"));
    m_undo->setShortcut(QKeySequence::Undo);
    connect(m_undo, &QAction::triggered, this, [&history] { history.undo(); });
    m_redo = edit->addAction(tr("Redo"));
    m_redo->setObjectName(QStringLiteral("MenuRedo"));
    m_redo->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
    connect(m_redo, &QAction::triggered, this, [&history] { history.redo(); });
    edit->addSeparator();

    auto rowAction = [&](const char *name, const QString &caption, const QKeySequence &key,
                         void (ChannelPage::*handler)()) {
        QAction *a = edit->addAction(caption);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, [this, handler] {
            if (m_channelPage && currentPage() == MemoryPage) (m_channelPage->*handler)();
        });
        m_rowActions << a;
        return a;
    };
    rowAction("MenuCut", tr("Cut Rows"), QKeySequence::Cut, &ChannelPage::cutRows);
    rowAction("MenuCopy", tr("Copy Rows"), QKeySequence::Copy, &ChannelPage::copyRows);
    rowAction("MenuPaste", tr("Paste Rows"), QKeySequence::Paste, &ChannelPage::pasteRows);
    edit->addSeparator();
    rowAction("MenuFind", tr("Find..."), QKeySequence::Find, &ChannelPage::showFind);
    rowAction("MenuFindNext", tr("Find Next"), QKeySequence(Qt::Key_F3), &ChannelPage::findNext);

    connect(&history, &History::changed, this, &MainWindow::updateEditActions);
    connect(m_workspace, &Workspace::pageEntered, this, &MainWindow::updateEditActions);
    connect(m_workspace, &Workspace::transferBegan, this, &MainWindow::updateEditActions);
    connect(m_workspace, &Workspace::transferEnded, this, &MainWindow::updateEditActions);
    updateEditActions();
}

void MainWindow::updateEditActions() {
    History &history = m_workspace->history();
    const bool idle = !m_link.busy();
    m_undo->setText(history.undoText());
    m_redo->setText(history.redoText());
    m_undo->setEnabled(idle && history.canUndo());
    m_redo->setEnabled(idle && history.canRedo());
    for (QAction *a : std::as_const(m_rowActions))
        a->setEnabled(idle && m_channelPage && currentPage() == MemoryPage);
}

// --- closing and dropping --------------------------------------------------------------

bool MainWindow::confirmClose() {
    if (m_closeAnswered) {
        // Answered while a transfer ran; the transfer has ended now.
        if (m_link.busy()) return true;
        m_closeAnswered = false;
        if (m_saveOnClose) {
            m_saveOnClose = false;
            return saveDocumentGui(*m_workspace);
        }
        return true;
    }
    if (!m_link.busy()) return confirmUnsavedGui(*m_workspace, kFileRegions);
    // A transfer runs: ask now, and save once it has ended (it ends at its
    // next reply wait and closes the window again).
    const SaveAnswer answer = askSaveChangesGui(*m_workspace, kFileRegions);
    if (answer == SaveAnswer::Cancel) return false;
    m_closeAnswered = true;
    m_saveOnClose = answer == SaveAnswer::Save;
    return true;
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event) {
    if (!m_link.busy() && !droppedDataFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event) {
    const QString path = droppedDataFile(event->mimeData());
    if (path.isEmpty() || m_link.busy()) return;
    event->acceptProposedAction();
    // Opened once the drop has finished: the question and the message box
    // must not run inside the drag.
    QMetaObject::invokeMethod(
        this, [this, path] { openFile(path); }, Qt::QueuedConnection);
}

} // namespace kpr5
