#pragma once
// The "Read", "Write", "Reset" button row that several frames share: the two
// transfer buttons run their operation on the main window's link, and Reset
// acts only while no transfer runs. A transfer disables all three.

#include <functional>

class QBoxLayout;
class QPushButton;
class QWidget;

namespace kpr5 {

class Workspace;

struct TransferButtonNames {
    const char *read;
    const char *write;
    const char *reset;
};

struct TransferButtons {
    QPushButton *read;
    QPushButton *write;
    QPushButton *reset;
};

// Adds the row to `outer` (right-aligned when `alignRight`).
TransferButtons addTransferButtons(QBoxLayout *outer, QWidget *parent, Workspace &workspace,
                                   const TransferButtonNames &names, std::function<void()> read,
                                   std::function<void()> write, std::function<void()> reset,
                                   bool alignRight = true);

} // namespace kpr5
