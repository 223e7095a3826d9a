#pragma once
// The main window `Form1`: the hub that lives for the whole run. It owns the
// edited image (RadioDocument) and the serial link, shows the four pages of
// `TabStrip1`, and is the host through which transfers report progress and
// messages.

#include "core/document/RadioDocument.h"
#include "core/link/SerialLink.h"
#include "core/link/Transfer.h"
#include "gui/widgets/Twips.h"

#include <QMainWindow>

#include <functional>

class QAction;
class QActionGroup;
class QLineEdit;
class QMenu;
class QProgressBar;
class QStackedWidget;
class QTabBar;

namespace kpr5 {

class MainWindow : public QMainWindow, public TransferHost {
    Q_OBJECT
public:
    enum Page { MemoryPage = 1, BankPage = 2, CommonSetPage = 3, SetModePage = 4 };

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    RadioDocument &document() { return m_doc; }
    SerialLink &link() { return m_link; }
    TransferHost &host() { return *this; }

    QTabBar *tabStrip() const { return m_tabs; }
    // `A_FRAME(index)`, index 0..3 for pages 1..4.
    QWidget *pageFrame(int index) const;
    int currentPage() const; // 1..4
    void selectPage(int page);
    QProgressBar *progressBar() const { return m_progressBar; }
    QLineEdit *progressText() const { return m_progressText; }

    // The page guard (set by the bank page): asked before the page changes
    // from `from` to `to`; false keeps `from`.
    void setPageGuard(std::function<bool(int from, int to)> guard) {
        m_pageGuard = std::move(guard);
    }
    // The channel grid moves its current row through this (set by the Memory page).
    void setCurrentRowHandler(std::function<void(int)> handler) {
        m_rowHandler = std::move(handler);
    }
    // Redrawing of the channel grid during transfers (set by the Memory page).
    void setGridRedrawHandler(std::function<void(bool)> handler) {
        m_redrawHandler = std::move(handler);
    }

    // The folder file dialogs start in: the program's folder when it is
    // writable, else the user's home.
    QString startDirectory() const;

    // The port menu: `MenuSetCom(1..16)`; a device path for ports that are not COMn.
    void selectPort(int n);
    void selectDevicePath(const QString &path);
    // Called after the port changed (the configuration file is written here).
    void setPortChangedHandler(std::function<void()> handler) {
        m_portChanged = std::move(handler);
    }
    void updatePortChecks();

    // Shown modally from `MenuVersion`.
    void showVersion();

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

    // Enable or disable the controls that finishTransfer re-enables.
    void setTransferControlsEnabled(bool enabled);

Q_SIGNALS:
    void pageEntered(int page);
    void transferBegan();
    void transferEnded();
    void languageApplied(int language);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void loadMainWindow();
    void buildMenus();
    void buildPages();
    void onTabChange(int index);
    void refreshDetectedPorts();

    RadioDocument m_doc;
    SerialLink m_link;
    QTabBar *m_tabs = nullptr;
    QStackedWidget *m_stack = nullptr;
    QProgressBar *m_progressBar = nullptr;
    QLineEdit *m_progressText = nullptr;
    QMenu *m_portMenu = nullptr;
    QMenu *m_detectedMenu = nullptr;
    QActionGroup *m_portGroup = nullptr;
    QList<QAction *> m_comActions;
    int m_shownPage = 1;
    bool m_switchingPage = false;
    std::function<bool(int, int)> m_pageGuard;
    std::function<void(int)> m_rowHandler;
    std::function<void(bool)> m_redrawHandler;
    std::function<void()> m_portChanged;
};

} // namespace kpr5
