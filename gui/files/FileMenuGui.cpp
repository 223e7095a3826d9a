#include "gui/files/FileMenuGui.h"

#include "core/files/Configuration.h"
#include "core/files/CsvFile.h"
#include "core/files/DataFile.h"
#include "gui/widgets/FileDialog.h"
#include "gui/widgets/MessageDialog.h"
#include "gui/widgets/Workspace.h"

#include <QDir>

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

} // namespace

void openDataFileGui(Workspace &workspace) {
    if (workspace.transferRunning()) return;
    const QString path =
        ui::getOpenFileName(workspace.window(), kDataOpenFilter, workspace.startDirectory());
    if (path.isEmpty()) return;
    const DataFileResult result = openDataFile(workspace.document(), path);
    ui::showMessage(workspace.window(), result.message(), result.title(),
                    result.ok() ? result.notes.join(QLatin1Char('\n')) : result.error);
}

void saveDataFileGui(Workspace &workspace) {
    if (workspace.transferRunning()) return;
    const QString path =
        ui::getSaveFileName(workspace.window(), kDataSaveFilter, workspace.startDirectory());
    if (path.isEmpty()) return;
    QString error;
    if (!saveDataFile(workspace.document(), workspace.link().portSettings().comPort, path,
                      &error)) {
        reportSaveFailure(workspace, path, error);
        return;
    }
    ui::showMessage(workspace.window(), QStringLiteral("Save File"), QStringLiteral("Finish"));
}

void importCsvGui(Workspace &workspace) {
    if (workspace.transferRunning()) return;
    const QString path =
        ui::getOpenFileName(workspace.window(), kCsvOpenFilter, workspace.startDirectory());
    if (path.isEmpty()) return;
    workspace.host().setProgressMaximum(ChannelTable::kFirstBugRow - 1);
    const CsvImportResult result = importCsvFile(workspace.document().channels, path);
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
