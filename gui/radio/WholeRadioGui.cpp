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
    // groups, says "Success ALL DATA READ" when every step so far succeeded,
    // and closes.
    WholeRadioReadSteps steps;
    steps.userCharacters = [&workspace] { return openFontWindow(workspace, true); };
    steps.groups = [&workspace](bool announce) {
        return openGroupWindow(workspace, true, announce);
    };
    const WholeRadioResult result =
        readAll(workspace.document(), workspace.link(), workspace.host(), steps);
    reportVerdict(workspace.host(), result, false);
    // Nothing lost: a complete read is also kept as a backup.
    if (result.ok()) saveBackupGui(workspace, BackupKind::Read);
}

void writeAllGui(Workspace &workspace) {
    RadioDocument &doc = workspace.document();
    // The user characters go only when the window holds real ones: the
    // start-up blank would wipe the radio's, which its names use.
    const WholeRadioResult result =
        writeAll(doc, workspace.link(), workspace.host(), doc.font.known());
    reportVerdict(workspace.host(), result, true);
    if (!result.started || result.closing) return;
    if (result.ok()) workspace.markWritten(kAllRegions);
    // What was sent is kept too, complete or not.
    saveBackupGui(workspace, BackupKind::Written);
    if (result.ok() && verifyAfterWriteChecked(workspace)) verifyAfterWriteGui(workspace);
}

} // namespace kpr5
