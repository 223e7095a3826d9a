#pragma once
// The group window Form5 "BANK-LINK Setting", opened by GROUP_SET.

namespace kpr5 {
class MainWindow;
// automatic: opened by the whole-radio read, which reads and closes at once.
void openGroupWindow(MainWindow &window, bool automatic = false);
} // namespace kpr5
