#pragma once
// The frame "Setting" of the "Common Set" page.

class QWidget;

namespace kpr5 {
class Workspace;
QWidget *createSettingFrame(Workspace &workspace);
} // namespace kpr5
