#pragma once
// The "Memory" page: the channel grid MSFlexGrid1 and its buttons.

class QWidget;

namespace kpr5 {
class MainWindow;
QWidget *createMemoryPage(MainWindow &window);
} // namespace kpr5
