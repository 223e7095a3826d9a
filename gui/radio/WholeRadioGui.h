#pragma once
// The Communication menu: whole-radio read (ALL_READ) and write (ALL_WRITE).

namespace kpr5 {
class MainWindow;
void readAllGui(MainWindow &window);
void writeAllGui(MainWindow &window);
} // namespace kpr5
