#pragma once
// The "OneTouch Memory" frame of the "Common Set" page.

class QWidget;

namespace kpr5 {
class MainWindow;
QWidget *createOneTouchFrame(MainWindow &window);
} // namespace kpr5
