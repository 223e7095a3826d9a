#pragma once
// The Communication menu: whole-radio read (ALL_READ) and write (ALL_WRITE).

namespace kpr5 {
class Workspace;
void readAllGui(Workspace &workspace);
void writeAllGui(Workspace &workspace);
} // namespace kpr5
