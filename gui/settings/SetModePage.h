#pragma once
// The Set Mode frames of the "Set Mode" page.

class QWidget;

namespace kpr5 {
class MainWindow;
QWidget *createSetModeFrames(MainWindow &window);
} // namespace kpr5
