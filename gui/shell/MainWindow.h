#pragma once
// The main window `Form1`: the hub that lives for the whole run. It owns the
// edited image (RadioDocument) and the serial link, puts the feature pages
// into the four pages of `TabStrip1` (each page gets the narrow Workspace,
// not the window), and is the host through which transfers report progress
// and messages.

#include "core/document/RadioDocument.h"
#include "core/link/SerialLink.h"
#include "core/link/Transfer.h"
#include "gui/widgets/Twips.h"
#include "gui/widgets/Workspace.h"

#include <QElapsedTimer>
#include <QMainWindow>

class QAction;
class QActionGroup;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QMenu;
class QProgressBar;
class QStackedWidget;
class QTabBar;

namespace kpr5 {

class ChannelPage;

class MainWindow : public QMainWindow, public TransferHost {
    Q_OBJECT
public:
    enum Page {
        MemoryPage = Workspace::MemoryPage,
        BankPage = Workspace::BankPage,
        CommonSetPage = Workspace::CommonSetPage,
        SetModePage = Workspace::SetModePage
    };

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    RadioDocument &document() { return m_doc; }
    SerialLink &link() { return m_link; }
    TransferHost &host() { return *this; }
    Workspace &workspace() { return *m_workspace; }

    QTabBar *tabStrip() const { return m_tabs; }
    // `A_FRAME(index)`, index 0..3 for pages 1..4.
    QWidget *pageFrame(int index) const;
    int currentPage() const; // 1..4
    void selectPage(int page);
    QProgressBar *progressBar() const { return m_progressBar; }
    QLineEdit *progressText() const { return m_progressText; }

    // The folder file dialogs start in (see Workspace::startDirectory).
    QString startDirectory() const { return m_workspace->startDirectory(); }

    // The port menu: `MenuSetCom(1..16)`; a device path for ports that are not COMn.
    void selectPort(int n);
    void selectDevicePath(const QString &path);
    // The check marks of the port menu after the port changed elsewhere.
    void updatePortChecks();

    // Shown modally from `MenuVersion`.
    void showVersion();

    // Opens a data file as File > Open does once a name is chosen (the
    // command line's file, a file dropped on the window, recent files).
    bool openFile(const QString &path);
    // The window's caption without the file name and the modified marker.
    static QString baseCaption();

    // TransferHost
    void setProgressMaximum(int maximum) override;
    void setProgressValue(int value) override;
    void setPercent(int percent) override;
    void setCurrentRow(int row) override;
    void message(const QString &text, const QString &title, const QString &detail) override;
    void transferStarted() override;
    void transferFinished() override;
    void closeWindow() override;
    void processEvents() override;
    void stepStarted(const QString &name) override;
    void blocksDone(const QString &what, int done, int total, int secondsLeft) override;

    // Enable or disable the controls that finishTransfer re-enables.
    void setTransferControlsEnabled(bool enabled);

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // The document's side of the window (MainWindowDocument.cpp): the
    // caption, the unsaved-changes question, the Edit menu, recent files
    // and Quit.
    void setupDocument();
    void addDocumentItems(QMenu *file);
    void buildEditMenu();
    void updateEditActions();
    void fillRecentMenu();
    void updateCaption();
    bool confirmClose();

    void loadMainWindow();
    void buildMenus();
    void buildPages();
    QHBoxLayout *buildProgressRow(QWidget *central);
    void onTabChange(int index);
    void refreshDetectedPorts();
    void portChanged();

    RadioDocument m_doc;
    SerialLink m_link;
    Workspace *m_workspace = nullptr;
    QTabBar *m_tabs = nullptr;
    QStackedWidget *m_stack = nullptr;
    QProgressBar *m_progressBar = nullptr;
    QLineEdit *m_progressText = nullptr;
    QLabel *m_activity = nullptr;
    QElapsedTimer m_activityShown;
    QPushButton *m_stop = nullptr;
    QMenu *m_portMenu = nullptr;
    QMenu *m_detectedMenu = nullptr;
    QActionGroup *m_portGroup = nullptr;
    QList<QAction *> m_comActions;
    int m_shownPage = 1;
    bool m_switchingPage = false;

    ChannelPage *m_channelPage = nullptr;
    QMenu *m_recentMenu = nullptr;
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
    QList<QAction *> m_rowActions; // Cut, Copy, Paste, Find, Find Next
    bool m_closeAnswered = false;  // asked while a transfer ran: do not ask again
    bool m_saveOnClose = false;
};

} // namespace kpr5
