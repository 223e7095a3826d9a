#pragma once
// The Set Mode frames of the "Set Mode" page.

class QWidget;

namespace kpr5 {
class Workspace;
QWidget *createSetModeFrames(Workspace &workspace);
} // namespace kpr5
