#pragma once
// The "DTMF" frame of the "Set Mode" page.

class QWidget;

namespace kpr5 {
class MainWindow;
QWidget *createDtmfFrame(MainWindow &window);
} // namespace kpr5
