#include "gui/shell/MainWindow.h"

#include "gui/banks/BankPage.h"
#include "gui/channels/ChannelPage.h"
#include "gui/common/DtmfFrame.h"
#include "gui/common/OneTouchFrame.h"
#include "gui/common/TitleFrame.h"
#include "gui/files/BackupsGui.h"
#include "gui/files/FileMenuGui.h"
#include "gui/font/FontWindow.h"
#include "gui/radio/VerifyGui.h"
#include "gui/radio/WholeRadioGui.h"
#include "gui/settings/SetModePage.h"
#include "gui/settings/SettingFrame.h"
#include "gui/shell/VersionWindow.h"
#include "gui/widgets/FileDialog.h"
#include "gui/widgets/MessageDialog.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace kpr5 {

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("T_KP-R5 Clone Utility Version1_7"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_workspace = new Workspace(m_doc, m_link, *this, this);
    loadMainWindow();
    setupDocument();
}

MainWindow::~MainWindow() = default;

void MainWindow::loadMainWindow() {
    buildMenus();
    buildPages();
    // The set-up steps run in a fixed order. Steps that build tables (the
    // dual-watch row map, the code tables, the accepted double-byte set) are
    // built once by the core on first use; the pages' own set-up runs while
    // buildPages() creates them, in the order below:
    //  1. scan-mode list            (Set Mode page)
    //  2. identification frame, send threshold (link)
    //  3. dual-watch row map        (core)
    //  4. comPort = 1, progress 0
    //  5. step/tone/DCS/carrier tables (core)
    //  6. channel grid              (Memory page)
    //  7. accepted double-byte set  (core)
    //  8. bank editor, special row labels (Bank page)
    //  9. one-touch and DTMF lists  (Common Set / Set Mode pages)
    // 10. default settings, OP_DOUSA, Combo1 (settings model)
    // 11. applyLanguage(Japanese)   (settings model)
    // 12. configuration file        (app)
    // 13. Language = English, scan skip 0 (settings model)
    m_link.portSettings().comPort = 1;
    m_progressBar->setValue(0);
    connect(&m_doc.settings, &SettingsModel::languageChanged, m_workspace,
            &Workspace::languageApplied);
    m_doc.settings.setDefaults();
    m_doc.settings.applyLanguage(Japanese);
    readConfigurationGui(*m_workspace);
    m_doc.settings.setPosition(Family::Display, 0, English);
    m_doc.settings.setPosition(Family::Scan, 1, 0);
    updatePortChecks();
}

void MainWindow::buildMenus() {
    QMenuBar *bar = menuBar();
    auto addItem = [this](QMenu *menu, const char *name, const QString &caption,
                          void (*handler)(Workspace &)) {
        QAction *a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, [this, handler] { handler(*m_workspace); });
        return a;
    };
    // The File, COMPort, Communication and Help menus are off during a transfer.
    auto addMenu = [bar](const QString &caption, const char *name) {
        QMenu *menu = bar->addMenu(caption);
        menu->setObjectName(QLatin1String(name));
        disableDuringTransfer(menu->menuAction());
        return menu;
    };

    QMenu *file = addMenu(QStringLiteral("File(&F)"), "FILE");
    addItem(file, "ReadFile", QStringLiteral("Open(&O)"), openDataFileGui);
    addItem(file, "TEST_CLICK", QStringLiteral("Save(&S)"), saveDataFileGui);
    addItem(file, "FILE_INPORT", QStringLiteral("Import(&I)"), importCsvGui);
    addItem(file, "FILE_EXPORT", QStringLiteral("Export(&E)"), exportCsvGui);
    // Every whole-radio read is kept in the backup folder.
    file->addSeparator();
    addItem(file, "MenuBackups", QStringLiteral("Backups"), openBackupsGui);
    addDocumentItems(file);

    m_portMenu = addMenu(QStringLiteral("COMPort(&C)"), "MenuComPort");
    m_portGroup = new QActionGroup(this);
    m_portGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    for (int n = 1; n <= 16; ++n) {
        QAction *a = m_portMenu->addAction(QStringLiteral("COM%1").arg(n));
        a->setObjectName(QStringLiteral("MenuSetCom(%1)").arg(n));
        a->setCheckable(true);
        m_portGroup->addAction(a);
        connect(a, &QAction::triggered, this, [this, n] { selectPort(n); });
        m_comActions << a;
    }
    m_portMenu->addSeparator();
    m_detectedMenu = m_portMenu->addMenu(tr("Detected ports"));
    m_detectedMenu->setObjectName(QStringLiteral("MenuDetectedPorts"));
    connect(m_detectedMenu, &QMenu::aboutToShow, this, &MainWindow::refreshDetectedPorts);
    QAction *other = m_portMenu->addAction(tr("Device path..."));
    other->setObjectName(QStringLiteral("MenuDevicePath"));
    connect(other, &QAction::triggered, this, [this] {
        if (m_link.busy()) return;
        bool ok = false;
        const QString path = QInputDialog::getText(
            this, tr("Serial port"), tr("Device path (for example /dev/ttyUSB0):"),
            QLineEdit::Normal, m_link.portSettings().devicePath, &ok);
        if (ok && !path.trimmed().isEmpty()) selectDevicePath(path.trimmed());
    });

    QMenu *comm = addMenu(QStringLiteral("Communication(&T)"), "Tusin_Botton");
    addItem(comm, "ALL_WRITE", QStringLiteral("Write All Data(&A)"), writeAllGui);
    addItem(comm, "ALL_READ", QStringLiteral("Read All Data(&B)"), readAllGui);
    addVerifyAfterWriteItem(comm);

    QMenu *help = addMenu(QStringLiteral("Help(&H)"), "MenuHelp");
    QAction *version = help->addAction(QStringLiteral("Version Infomation(&A)"));
    version->setObjectName(QStringLiteral("MenuVersion"));
    connect(version, &QAction::triggered, this, &MainWindow::showVersion);
}

void MainWindow::buildPages() {
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    m_tabs = new QTabBar(central);
    m_tabs->setObjectName(QStringLiteral("TabStrip1"));
    disableDuringTransfer(m_tabs);
    for (const char *tab : {"Memory", "Bank", "Common Set", "Set Mode"})
        m_tabs->addTab(QLatin1String(tab));
    m_tabs->setExpanding(false);
    m_stack = new QStackedWidget(central);
    for (int i = 0; i < 4; ++i) {
        auto *frame = new QFrame(m_stack);
        frame->setObjectName(QStringLiteral("A_FRAME(%1)").arg(i));
        new QVBoxLayout(frame);
        m_stack->addWidget(frame);
    }
    layout->addWidget(m_tabs);
    layout->addWidget(m_stack, 1);
    layout->addLayout(buildProgressRow(central));
    setCentralWidget(central);

    // Set Mode page first: its scan-mode list is step 1 of the set-up.
    const auto side = [](QWidget *left, int leftStretch, QLayout *right, int rightStretch) {
        auto *page = new QWidget;
        auto *row = new QHBoxLayout(page);
        row->setContentsMargins(0, 0, 0, 0);
        row->addWidget(left, leftStretch);
        row->addLayout(right, rightStretch);
        return page;
    };
    auto *dtmf = new QVBoxLayout;
    dtmf->addWidget(createDtmfFrame(*m_workspace));
    pageFrame(3)->layout()->addWidget(side(createSetModeFrames(*m_workspace), 3, dtmf, 1));
    pageFrame(0)->layout()->addWidget(createMemoryPage(*m_workspace));
    pageFrame(1)->layout()->addWidget(createBankPage(*m_workspace));
    auto *common = new QVBoxLayout;
    common->addWidget(createOneTouchFrame(*m_workspace));
    common->addWidget(createTitleFrame(*m_workspace));
    auto *font = new QPushButton(QStringLiteral("FONT"));
    font->setObjectName(QStringLiteral("Command1"));
    disableDuringTransfer(font);
    connect(font, &QPushButton::clicked, this, [this] { openFontWindow(*m_workspace, false); });
    common->addWidget(font, 0, Qt::AlignLeft);
    common->addStretch(1);
    pageFrame(2)->layout()->addWidget(side(createSettingFrame(*m_workspace), 2, common, 1));

    connect(m_tabs, &QTabBar::currentChanged, this, &MainWindow::onTabChange);
    m_stack->setCurrentIndex(0);
}

// `ProgressBar1`, `Progress`, what runs and how long it will take, and the
// way to stop it (Stop or Esc), between two blocks: never in the middle of an
// exchange.
QHBoxLayout *MainWindow::buildProgressRow(QWidget *central) {
    m_progressBar = new QProgressBar(central);
    m_progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressBar->setTextVisible(false);
    m_progressBar->setRange(0, 100);
    disableDuringTransfer(m_progressBar);
    m_progressText = new QLineEdit(central);
    m_progressText->setObjectName(QStringLiteral("Progress"));
    m_progressText->setReadOnly(true);
    m_progressText->setMaximumWidth(60);
    m_progressText->setText(QStringLiteral("0%"));
    m_activity = new QLabel(central);
    m_activity->setObjectName(QStringLiteral("TRANSFER_STATUS"));
    m_activity->setMinimumWidth(220);
    m_stop = new QPushButton(tr("Stop"), central);
    m_stop->setObjectName(QStringLiteral("STOP_TRANSFER"));
    m_stop->setToolTip(tr("Stop the transfer after the block in progress (Esc)"));
    m_stop->setEnabled(false);
    connect(m_stop, &QPushButton::clicked, this, [this] { m_link.requestStop(); });
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (m_link.busy()) m_link.requestStop();
    });
    auto *row = new QHBoxLayout;
    row->addWidget(m_progressBar, 1);
    row->addWidget(m_progressText);
    row->addWidget(m_activity);
    row->addWidget(m_stop);
    return row;
}

QWidget *MainWindow::pageFrame(int index) const {
    return m_stack->widget(index);
}

int MainWindow::currentPage() const {
    return m_shownPage;
}

void MainWindow::selectPage(int page) {
    m_tabs->setCurrentIndex(page - 1);
}

void MainWindow::onTabChange(int index) {
    if (m_switchingPage) return;
    const int to = index + 1;
    const int from = m_shownPage;
    if (to == from) return;
    if (!m_workspace->allowPageChange(from, to)) {
        m_switchingPage = true;
        m_tabs->setCurrentIndex(from - 1);
        m_switchingPage = false;
        return;
    }
    m_shownPage = to;
    m_stack->setCurrentIndex(index);
    Q_EMIT m_workspace->pageEntered(to);
}

void MainWindow::updatePortChecks() {
    const PortSettings &port = m_link.portSettings();
    const bool byNumber = port.devicePath.isEmpty();
    for (int i = 0; i < m_comActions.size(); ++i)
        m_comActions[i]->setChecked(byNumber && port.comPort == i + 1);
}

void MainWindow::selectPort(int n) {
    if (m_link.busy()) {
        updatePortChecks();
        return;
    }
    m_link.portSettings().comPort = n;
    m_link.portSettings().devicePath.clear();
    portChanged();
}

void MainWindow::selectDevicePath(const QString &path) {
    if (m_link.busy()) return;
    const int n = PortSettings::comNumberFromText(path);
    if (n >= 1 && n <= 16) {
        selectPort(n);
        return;
    }
    m_link.portSettings().devicePath = path;
    portChanged();
}

void MainWindow::portChanged() {
    updatePortChecks();
    writeConfigurationGui(*m_workspace);
}

void MainWindow::refreshDetectedPorts() {
    m_detectedMenu->clear();
    const auto ports = QSerialPortInfo::availablePorts();
    if (ports.isEmpty()) {
        QAction *none = m_detectedMenu->addAction(tr("(no serial ports found)"));
        none->setEnabled(false);
        return;
    }
    for (const QSerialPortInfo &info : ports) {
        const QString path = info.systemLocation();
        QString caption = path;
        if (!info.description().isEmpty())
            caption += QStringLiteral("  (%1)").arg(info.description());
        QAction *a = m_detectedMenu->addAction(caption);
        a->setCheckable(true);
        a->setChecked(m_link.portName() == path);
        connect(a, &QAction::triggered, this, [this, path] { selectDevicePath(path); });
    }
}

void MainWindow::showVersion() {
    if (m_link.busy()) return;
    VersionWindow w(this);
    w.move(geometry().topLeft() + QPoint(twipsToPixels(1000), twipsToPixels(2000)));
    w.exec();
}

// --- TransferHost -----------------------------------------------------------

void MainWindow::setProgressMaximum(int maximum) {
    m_progressBar->setMaximum(maximum);
}

void MainWindow::setProgressValue(int value) {
    m_progressBar->setValue(qBound(m_progressBar->minimum(), value, m_progressBar->maximum()));
}

void MainWindow::setPercent(int percent) {
    m_progressText->setText(QString::number(percent) + QLatin1Char('%'));
}

void MainWindow::setCurrentRow(int row) {
    Q_EMIT m_workspace->currentRowRequested(row);
}

void MainWindow::message(const QString &text, const QString &title, const QString &detail) {
    ui::showMessage(this, text, title, detail);
}

void MainWindow::setTransferControlsEnabled(bool enabled) {
    kpr5::setTransferControlsEnabled(this, enabled);
}

void MainWindow::transferStarted() {
    setTransferControlsEnabled(false);
    m_stop->setEnabled(true);
    m_activityShown.invalidate();
    Q_EMIT m_workspace->transferBegan();
}

void MainWindow::transferFinished() {
    m_stop->setEnabled(false);
    m_activity->clear();
    setTransferControlsEnabled(true);
    Q_EMIT m_workspace->transferEnded();
}

void MainWindow::stepStarted(const QString &name) {
    m_activity->setText(name.isEmpty() ? name : name.at(0).toUpper() + name.mid(1));
}

void MainWindow::blocksDone(const QString &what, int done, int total, int secondsLeft) {
    // A few times a second is enough for the eye; every block would cost
    // a repaint of the row at the wire's pace.
    if (done < total && m_activityShown.isValid() && m_activityShown.elapsed() < 200) return;
    m_activityShown.start();
    m_activity->setText(blocksDoneText(what, done, total, secondsLeft));
}

void MainWindow::closeWindow() {
    // The transfer ended because the window is closing: close it once the
    // transfer's stack has unwound.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void MainWindow::processEvents() {
    QCoreApplication::processEvents();
}

void MainWindow::closeEvent(QCloseEvent *event) {
    if (!confirmClose()) {
        // A close asked for during a transfer ended that transfer; the save
        // that was to follow did not happen, so the window stays and works.
        m_link.withdrawClose();
        event->ignore();
        return;
    }
    m_link.closePort();
    if (m_link.busy()) {
        // Let the running transfer end itself at its reply wait.
        m_link.requestClose();
        finishTransfer(m_link, *this);
        event->ignore();
        return;
    }
    m_link.requestClose();
    event->accept();
}

} // namespace kpr5
