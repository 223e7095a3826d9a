#pragma once
// The frame "Setting" of the "Common Set" page.

class QWidget;

namespace kpr5 {
class MainWindow;
QWidget *createSettingFrame(MainWindow &window);
} // namespace kpr5
