#pragma once
// The "Memory" page: the channel grid MSFlexGrid1 and its buttons, the row
// commands (Delete key, `Clear_Botton`, `ALL_Reset`, `LIST_SET` Up/Down),
// the channel transfer buttons, and the detail editor opened on a row.

#include "core/channels/ChannelValidation.h"

#include <QWidget>

#include <functional>

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

private:
    bool transferRunning() const;
    // Runs `change` with the grid disabled and not painting, then restores
    // the current cell and the selection (columns 1-12).
    void changeRows(const std::function<void()> &change);
    void transferEnded();

    Workspace &m_workspace;
    ChannelGridView *m_grid = nullptr;
    QPushButton *m_reset = nullptr;
    edit::EditState m_edit;
};

} // namespace kpr5
