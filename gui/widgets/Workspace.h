#pragma once
// What the feature windows need from the program's main window: the edited
// radio, the link to it, the host that shows a transfer, a parent for their
// dialogs and the folder file dialogs start in, and the main window's events.
// Feature code takes a Workspace, never the main window itself.

#include "core/document/DocumentState.h"
#include "core/document/RadioDocument.h"
#include "core/link/SerialLink.h"
#include "core/link/Transfer.h"

#include <QObject>

#include <functional>

class QAction;
class QWidget;

namespace kpr5 {

class History;

class Workspace : public QObject {
    Q_OBJECT
public:
    // The pages of `TabStrip1`, 1..4.
    enum Page { MemoryPage = 1, BankPage = 2, CommonSetPage = 3, SetModePage = 4 };

    Workspace(RadioDocument &document, SerialLink &link, TransferHost &host, QWidget *window);

    RadioDocument &document() const { return m_document; }
    SerialLink &link() const { return m_link; }
    TransferHost &host() const { return m_host; }
    // The main window: the parent of every dialog.
    QWidget *window() const { return m_window; }
    bool transferRunning() const { return m_link.busy(); }

    // The folder file dialogs start in: the program's folder when it is
    // writable, else the user's home.
    QString startDirectory() const;

    // How many backup sets the backup folder keeps (0: the default), as the
    // configuration file says.
    int backupsKept() const { return m_backupsKept; }
    void setBackupsKept(int sets) { m_backupsKept = sets; }
    // --- the document as a whole ------------------------------------------------
    // Where it came from, whether it changed since, and its edits.
    DocumentState &documentState() const { return *m_state; }
    // Undo and redo.
    History &history() const { return *m_history; }

    // Before work that replaces `regions` (a file opened over them, a read):
    // when they hold unsaved changes, the "Save changes?" question. False
    // when the user cancelled (or the save failed): leave everything as it is.
    bool confirmUnsaved(Regions regions);
    void setUnsavedGuard(std::function<bool(Regions)> guard) { m_unsavedGuard = std::move(guard); }
    // A write to the radio succeeded: what it wrote is kept there.
    void markWritten(Regions regions);

    // A read from the radio: changes until it ends are no edits, and a read
    // of channels makes the document one "from the radio". Transfers of the
    // main window's link are such loads by themselves.
    class RadioLoad {
    public:
        explicit RadioLoad(Workspace &workspace);
        ~RadioLoad();
        RadioLoad(const RadioLoad &) = delete;
        RadioLoad &operator=(const RadioLoad &) = delete;

    private:
        Workspace &m_workspace;
    };

    // The page shown (1..4), and showing another (false when the page
    // guard kept the current one).
    int currentPage() const { return m_currentPage; }
    void setPageSelector(std::function<bool(int page)> select) { m_selectPage = std::move(select); }
    bool selectPage(int page) { return m_selectPage && m_selectPage(page); }

    // The bank page guards leaving it: asked before the page changes from
    // `from` to `to`; false keeps `from`.
    void setPageGuard(std::function<bool(int from, int to)> guard) {
        m_pageGuard = std::move(guard);
    }
    bool allowPageChange(int from, int to) const { return !m_pageGuard || m_pageGuard(from, to); }

Q_SIGNALS:
    void pageEntered(int page);
    void transferBegan();
    void transferEnded();
    void languageApplied(int language);
    // A channel transfer moves the grid's current row.
    void currentRowRequested(int row);

private:
    void beginRadioLoad();
    void endRadioLoad();

    RadioDocument &m_document;
    SerialLink &m_link;
    TransferHost &m_host;
    QWidget *m_window;
    std::function<bool(int, int)> m_pageGuard;
    int m_backupsKept = 0;
    DocumentState *m_state = nullptr;
    History *m_history = nullptr;
    std::function<bool(Regions)> m_unsavedGuard;
    std::function<bool(int)> m_selectPage;
    int m_currentPage = MemoryPage;
    bool m_transferLoad = false;
    bool m_loadEndScheduled = false;
};

// The controls a transfer disables and `finishTransfer` enables again. Each
// window marks its own controls when it builds them; the main window then
// switches every marked control below it.
void disableDuringTransfer(QWidget *control);
void disableDuringTransfer(QAction *action);
void setTransferControlsEnabled(QObject *root, bool enabled);

} // namespace kpr5
