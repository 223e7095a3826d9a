#include "gui/files/FileMenuGui.h"

#include "core/files/Configuration.h"
#include "core/files/CsvFile.h"
#include "core/files/DataFile.h"
#include "gui/widgets/FileDialog.h"
#include "gui/widgets/History.h"
#include "gui/widgets/MessageDialog.h"
#include "gui/widgets/Workspace.h"

#include <QDir>
#include <QFileInfo>

namespace kpr5 {

namespace {

const QString kDataSaveFilter =
    QStringLiteral("KPR5ファイル(*.R5)|*.R5|すべてのファイル(*.*)|*.*|");
const QString kDataOpenFilter = QStringLiteral("R5|*.R5|R5 Files (*.R5)|*.R5|All Files (*.*)|*.*");
const QString kCsvSaveFilter =
    QStringLiteral("CSVファイル(*.CSV)|*.CSV|すべてのファイル(*.*)|*.*|");
const QString kCsvOpenFilter =
    QStringLiteral("CSV|*.CSV|CSV Files (*.CSV)|*.CSV|All Files (*.*)|*.*");

// A file that could not be written is reported, never announced as saved.
void reportSaveFailure(Workspace &workspace, const QString &path, const QString &reason) {
    ui::showMessage(workspace.window(), QStringLiteral("Error"), QStringLiteral(" Error"),
                    QStringLiteral("%1\n%2").arg(QDir::toNativeSeparators(path), reason));
}

void addRecentDataFile(const QString &path) {
    QStringList files = recentDataFiles();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    files.removeAll(absolute);
    files.prepend(absolute);
    ui::setSetting(QStringLiteral("recentFiles"), QStringList(files.mid(0, kRecentFiles)));
}

// Where Save's dialog starts: at the document's own file when it has one.
QString saveStart(Workspace &workspace) {
    const DocumentState &state = workspace.documentState();
    if (state.source() == DocumentState::Source::File) return state.filePath();
    return workspace.startDirectory();
}

// Save into `path`; the document then comes from that file and is unchanged.
bool saveDataFileTo(Workspace &workspace, const QString &path) {
    QString error;
    if (!saveDataFile(workspace.document(), workspace.link().portSettings().comPort, path,
                      &error)) {
        reportSaveFailure(workspace, path, error);
        return false;
    }
    // A bank total other than 1000 leaves the banks and the one-touch keys
    // out of the file: they stay unsaved.
    Regions saved = kFileRegions;
    if (!workspace.document().banks.totalIsValid()) saved &= ~Regions(BanksRegion | OneTouchRegion);
    workspace.markWritten(saved);
    workspace.documentState().setSource(DocumentState::Source::File, path);
    addRecentDataFile(path);
    ui::showMessage(workspace.window(), QStringLiteral("Save File"), QStringLiteral("Finish"));
    return true;
}

} // namespace

void openDataFileGui(Workspace &workspace) {
    if (workspace.transferRunning()) return;
    const QString path =
        ui::getOpenFileName(workspace.window(), kDataOpenFilter, workspace.startDirectory());
    if (path.isEmpty()) return;
    openDataFilePathGui(workspace, path);
}

bool openDataFilePathGui(Workspace &workspace, const QString &path) {
    if (workspace.transferRunning()) return false;
    // A name Open refuses anyway is refused before the question.
    if (hasDataFileExtension(path) && !workspace.confirmUnsaved(kFileRegions)) return false;
    DocumentState &state = workspace.documentState();
    state.beginLoad();
    const DataFileResult result = openDataFile(workspace.document(), path);
    state.endLoad();
    if (result.ok()) {
        // What the file left out is taken as it stands: nothing counts as changed.
        state.markSaved(kFileRegions);
        state.setSource(DocumentState::Source::File, path);
        addRecentDataFile(path);
    }
    ui::showMessage(workspace.window(), result.message(), result.title(),
                    result.ok() ? result.notes.join(QLatin1Char('\n')) : result.error);
    return result.ok();
}

void saveDataFileGui(Workspace &workspace) {
    if (workspace.transferRunning()) return;
    const QString path =
        ui::getSaveFileName(workspace.window(), kDataSaveFilter, saveStart(workspace));
    if (path.isEmpty()) return;
    saveDataFileTo(workspace, path);
}

bool saveDocumentGui(Workspace &workspace) {
    if (workspace.transferRunning()) return false;
    const DocumentState &state = workspace.documentState();
    if (state.source() == DocumentState::Source::File && !state.filePath().isEmpty())
        return saveDataFileTo(workspace, state.filePath());
    const QString path =
        ui::getSaveFileName(workspace.window(), kDataSaveFilter, saveStart(workspace));
    return !path.isEmpty() && saveDataFileTo(workspace, path);
}

SaveAnswer askSaveChangesGui(Workspace &workspace, Regions regions) {
    const DocumentState &state = workspace.documentState();
    const Regions changed = state.modifiedRegions() & regions;
    if (!changed) return SaveAnswer::Discard;
    QStringList parts;
    for (int i = 0; i < kRegionCount; ++i) {
        if (changed & (1u << i)) parts << DocumentState::regionName(Region(1u << i));
    }
    const QString detail =
        QStringLiteral("Not saved yet: %1.").arg(parts.join(QStringLiteral(", ")));
    switch (ui::askSaveChanges(workspace.window(), QStringLiteral("Save changes?"),
                               QStringLiteral("Unsaved changes"), detail)) {
    case ui::Answer::Save:
        return SaveAnswer::Save;
    case ui::Answer::Discard:
        return SaveAnswer::Discard;
    default:
        return SaveAnswer::Cancel;
    }
}

bool confirmUnsavedGui(Workspace &workspace, Regions regions) {
    switch (askSaveChangesGui(workspace, regions)) {
    case SaveAnswer::Save:
        return saveDocumentGui(workspace);
    case SaveAnswer::Discard:
        return true;
    case SaveAnswer::Cancel:
        break;
    }
    return false;
}

QStringList recentDataFiles() {
    return ui::setting(QStringLiteral("recentFiles")).toStringList();
}

void importCsvGui(Workspace &workspace) {
    if (workspace.transferRunning()) return;
    const QString path =
        ui::getOpenFileName(workspace.window(), kCsvOpenFilter, workspace.startDirectory());
    if (path.isEmpty()) return;
    if (hasCsvExtension(path) && !workspace.confirmUnsaved(ChannelsRegion)) return;
    workspace.host().setProgressMaximum(ChannelTable::kFirstBugRow - 1);
    CsvImportResult result;
    {
        const History::Scope step(workspace.history(), QStringLiteral("Import CSV"));
        result = importCsvFile(workspace.document().channels, path);
    }
    workspace.host().setProgressValue(result.rowsFilled);
    ui::showMessage(workspace.window(), result.message(), result.title(),
                    result.ok() ? result.notes.join(QLatin1Char('\n')) : result.error);
    workspace.host().setProgressValue(0);
}

void exportCsvGui(Workspace &workspace) {
    if (workspace.transferRunning()) return;
    const QString path =
        ui::getSaveFileName(workspace.window(), kCsvSaveFilter, workspace.startDirectory());
    if (path.isEmpty()) return;
    workspace.host().setProgressMaximum(ChannelTable::kRows);
    QString error;
    if (!saveCsv(workspace.document().channels, path, &error)) {
        workspace.host().setProgressValue(0);
        reportSaveFailure(workspace, path, error);
        return;
    }
    workspace.host().setProgressValue(ChannelTable::kRows);
    ui::showMessage(workspace.window(), QStringLiteral("Save File"), QStringLiteral("Finish"));
}

void readConfigurationGui(Workspace &workspace) {
    const config::PortChoice choice = config::readConfiguration(config::configurationReadPath());
    PortSettings &port = workspace.link().portSettings();
    port.comPort = choice.comPort;
    port.devicePath = choice.devicePath;
    workspace.setBackupsKept(choice.keepBackups);
}

void writeConfigurationGui(Workspace &workspace) {
    const QString path = config::configurationPath();
    if (path.isEmpty()) return;
    QString error;
    const PortSettings &port = workspace.link().portSettings();
    config::PortChoice choice;
    choice.comPort = port.comPort;
    choice.devicePath = port.devicePath;
    choice.keepBackups = workspace.backupsKept();
    if (!config::writeConfiguration(workspace.document(), choice, path, &error))
        qWarning("kpr5: the configuration file %s could not be written: %s", qPrintable(path),
                 qPrintable(error));
}

} // namespace kpr5
