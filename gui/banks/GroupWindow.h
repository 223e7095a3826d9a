#pragma once
// The group window `Form5` "BANK-LINK Setting", opened by `GROUP_SET`: the
// grid `MSFlexGrid1` of 11 groups x 50 banks, `GROUP_READ`, `GROUP_WRITE`,
// `Command1` "Clear" and `Command2` "OK". It edits the main window's group
// table and has a serial link of its own (200 ms reply timer, the main
// window's port) whose busy flag is the window's own.

#include "core/link/SerialLink.h"
#include "core/link/Transfer.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace kpr5 {

class BankTable;
class GroupTable;
class Workspace;

// automatic: opened by the whole-radio read, which reads and closes at once.
// Does nothing while the main window's transfer runs; resets the banks when
// their total is not 1000.
// The result is the automatic read's (NotStarted when it did not run).
// `announce`: the automatic read says "Success ALL DATA READ".
TransferResult openGroupWindow(Workspace &workspace, bool automatic = false, bool announce = true);

class GroupWindow : public QDialog, public TransferHost {
    Q_OBJECT
public:
    // Grid geometry: row 0 the header, rows 1-11 Group0..Group9, GroupB;
    // column 0 the group names; banks in blocks of ten from column 1 with a
    // narrow separator column after each block (11, 22, 33, 44).
    static constexpr int kRows = 12;
    static constexpr int kColumns = 55;
    static constexpr int kNameColumnTwips = 700;
    static constexpr int kBankColumnTwips = 200;
    static constexpr int kSeparatorTwips = 20;
    static int columnOfBank(int bank);   // 1..54
    static int bankOfColumn(int column); // -1 for column 0, separators and beyond
    static bool isSeparator(int column);

    // Cell colours: the classic 16-colour palette's 1 (blue), 12 (light red)
    // and 8 (grey).
    static QColor basicColour(int index);

    // For tests: construct and show() without exec(). The window paints the
    // groups at once (unavailable banks cleared and grey); in automatic mode
    // the group read starts as soon as the window is shown.
    // `port`: the main window's port settings, shared.
    GroupWindow(BankTable &banks, GroupTable &groups, SharedPortSettings port, bool automatic,
                QWidget *parent = nullptr);
    // The automatic read ends without its "Success ALL DATA READ".
    void setAnnounce(bool announce) { m_announce = announce; }
    ~GroupWindow() override;

    SerialLink &link() { return m_link; }
    bool busy() const { return m_link.busy(); }
    // The main window's document state: a read asks about unsaved groups
    // first and is a load, a write that succeeded keeps the groups as
    // written, and Ctrl+Z / Ctrl+Y undo and redo the group edits.
    void attach(Workspace &workspace);
    TransferResult automaticResult() const { return m_automaticResult; }
    QTableWidget *grid() const { return m_grid; }

    // The buttons' handlers.
    void readGroupsClicked();
    void writeGroupsClicked();
    void clearClicked();
    void okClicked();
    void cellClicked(int row, int column);
    // Escape: closes, or stops a transfer that runs.
    void reject() override;

    // TransferHost: the window has no progress display.
    void setProgressMaximum(int) override {}
    void setProgressValue(int) override {}
    void setPercent(int) override {}
    void message(const QString &text, const QString &title, const QString &detail) override;
    void transferStarted() override;
    void transferFinished() override;
    void closeWindow() override;
    void processEvents() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildGrid();
    void repaint();
    void paintCell(int group, int bank);
    void setButtonsEnabled(bool enabled);

    BankTable &m_banks;
    GroupTable &m_groups;
    SerialLink m_link;
    Workspace *m_workspace = nullptr;
    bool m_automatic;
    bool m_automaticStarted = false;
    bool m_announce = true;
    TransferResult m_automaticResult = TransferResult::NotStarted;
    bool m_closeWhenIdle = false;
    QTableWidget *m_grid = nullptr;
    QPushButton *m_read = nullptr;
    QPushButton *m_write = nullptr;
    QPushButton *m_clear = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_stop = nullptr;
};

} // namespace kpr5
