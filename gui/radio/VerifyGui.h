#pragma once
// "Verify after write" in the Communication menu: after a successful
// whole-radio write, the written regions are read back and the result shown
// in a message box.

class QAction;

namespace kpr5 {
class MainWindow;
// The check item `VERIFY_AFTER_WRITE` of the Communication menu; null when absent.
QAction *verifyAfterWriteAction(MainWindow &window);
// Reads the regions back and shows "Verify: no difference" or the regions
// that differ, titled " Verify".
void verifyAfterWriteGui(MainWindow &window);
} // namespace kpr5
