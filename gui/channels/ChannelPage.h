#pragma once
// The "Memory" page: the channel grid MSFlexGrid1 and its buttons, the row
// commands (Delete key, `Clear_Botton`, `ALL_Reset`, `LIST_SET` Up/Down),
// the channel transfer buttons, and the detail editor opened on a row.
// Beyond those: rows copied, cut and pasted through the system clipboard,
// and the find bar.

#include "core/channels/ChannelValidation.h"

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kpr5 {

class ChannelGridView;
class Workspace;

QWidget *createMemoryPage(Workspace &workspace);

class ChannelPage : public QWidget {
    Q_OBJECT
public:
    explicit ChannelPage(Workspace &workspace, QWidget *parent = nullptr);

    ChannelGridView *grid() const { return m_grid; }
    edit::EditState &editState() { return m_edit; }

    // Enter / double-click: the detail editor on the current row, shown
    // modally; its edit is committed when it closes. Does nothing while a
    // commit or a transfer runs, or on a bug-detector row.
    void openDetail();
    // The Delete key, `Clear_Botton`, `ALL_Reset`, `LIST_SET(0/1)`.
    void deleteRows();
    void clearRows();
    void resetAll();
    void moveRow(int delta);

    // The Edit menu's Copy, Cut and Paste (Ctrl+C, Ctrl+X, Ctrl+V): the
    // selected rows as tab-separated text on the clipboard; pasted rows fill
    // the rows from the current one down, after every one passed the checks
    // of CSV import. Cut and Paste leave call-channel rows as Delete and
    // Clear do, and never reach the bug-detector rows.
    void copyRows();
    void cutRows();
    void pasteRows();
    // Find (Ctrl+F) shows the find bar; Find Next (F3, Enter in the bar)
    // moves the current row to the next row whose frequency or name matches,
    // wrapping around.
    void showFind();
    void findNext();
    QLineEdit *findText() const { return m_findText; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool transferRunning() const;
    // Runs `change` with the grid disabled and not painting, then restores
    // the current cell and the selection (columns 1-12).
    void changeRows(const std::function<void()> &change);
    // Empties the selected rows as Delete does, as one undo step named `verb`.
    void emptySelectedRows(const char *verb);
    void transferEnded();

    Workspace &m_workspace;
    ChannelGridView *m_grid = nullptr;
    QPushButton *m_reset = nullptr;
    QWidget *m_findBar = nullptr;
    QLineEdit *m_findText = nullptr;
    QLabel *m_findStatus = nullptr;
    edit::EditState m_edit;
};

} // namespace kpr5
