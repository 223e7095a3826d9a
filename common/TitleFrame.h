#pragma once
// The "Title Name" frame of the "Common Set" page.

class QWidget;

namespace kpr5 {
class MainWindow;
QWidget *createTitleFrame(MainWindow &window);
} // namespace kpr5
