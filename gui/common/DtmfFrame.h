#pragma once
// The "DTMF" frame of the "Set Mode" page.

class QWidget;

namespace kpr5 {
class Workspace;
QWidget *createDtmfFrame(Workspace &workspace);
} // namespace kpr5
