#include "gui/radio/WholeRadioGui.h"

#include "core/radio/WholeRadio.h"
#include "gui/banks/GroupWindow.h"
#include "gui/files/BackupsGui.h"
#include "gui/font/FontWindow.h"
#include "gui/radio/VerifyGui.h"
#include "gui/widgets/Workspace.h"

namespace kpr5 {

void readAllGui(Workspace &workspace) {
    // Everything is replaced: unsaved changes are offered for saving first,
    // and the whole read is one load (a new undo history).
    if (workspace.transferRunning() || !workspace.confirmUnsaved(kFileRegions)) return;
    const Workspace::RadioLoad load(workspace);
    // The font and group windows run their automatic read: the font window
    // reads all eight characters and closes, the group window reads the
    // groups, says "Success ALL DATA READ" and closes.
    WholeRadioReadSteps steps;
    steps.userCharacters = [&workspace] { return openFontWindow(workspace, true); };
    steps.groups = [&workspace] { return openGroupWindow(workspace, true); };
    const WholeRadioResult result =
        readAll(workspace.document(), workspace.link(), workspace.host(), steps);
    // Nothing lost: a complete read is also kept as a backup.
    if (result.ok()) saveBackupGui(workspace);
}

void writeAllGui(Workspace &workspace) {
    const WholeRadioResult result =
        writeAll(workspace.document(), workspace.link(), workspace.host(), true);
    if (result.ok()) workspace.markWritten(kAllRegions);
    if (result.ok() && verifyAfterWriteChecked(workspace)) verifyAfterWriteGui(workspace);
}

} // namespace kpr5
