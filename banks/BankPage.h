#pragma once
// The "Bank" page: the frame "Bank Setting" with the 50 bank sizes.

class QWidget;

namespace kpr5 {
class MainWindow;
QWidget *createBankPage(MainWindow &window);
} // namespace kpr5
