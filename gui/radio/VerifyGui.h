#pragma once
// Verify after write in the window: the check item "Verify after write"
// (`VERIFY_AFTER_WRITE`, Communication menu) and the read-back after a
// whole-radio write, reported in one box titled " Verify".

class QMenu;

namespace kpr5 {

class Workspace;

// Adds the check item to the Communication menu.
void addVerifyAfterWriteItem(QMenu *communication);
bool verifyAfterWriteChecked(Workspace &workspace);
void verifyAfterWriteGui(Workspace &workspace);

} // namespace kpr5
