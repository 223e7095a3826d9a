#pragma once
// The "Bank" page: the frame "Bank Setting" with the 50 bank sizes
// (`Slider1(0..49)`, `Text1(0..49)`), their total `Total_Mem`, `BANK_UP(0)`
// "Up" / `BANK_UP(1)` "Down", `Bank_Clear`, `READ_BANK`, `WRITE_BANK` and
// `GROUP_SET`. Creating it also installs the main window's page guard (a
// bank total other than 1000 is reset before another page is shown) and
// relabels the channel table from the bank table whenever the Memory page
// is entered.

class QWidget;

namespace kpr5 {
class Workspace;
QWidget *createBankPage(Workspace &workspace);
} // namespace kpr5
