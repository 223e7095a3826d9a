#pragma once
// The font editor Form4, opened modally by the "FONT" button.

namespace kpr5 {
class MainWindow;
// automatic: opened by the whole-radio read, which reads and closes at once.
void openFontWindow(MainWindow &window, bool automatic = false);
} // namespace kpr5
