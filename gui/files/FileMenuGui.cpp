#include "gui/files/FileMenuGui.h"

#include "core/files/Configuration.h"
#include "core/files/CsvFile.h"
#include "core/files/DataFile.h"
#include "gui/shell/MainWindow.h"
#include "gui/widgets/FileDialog.h"
#include "gui/widgets/MessageDialog.h"

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

bool transferRunning(MainWindow &window) {
    return window.link().state.transferBusy != 0;
}

// A file that could not be written is reported, never announced as saved.
void reportSaveFailure(MainWindow &window, const QString &path, const QString &reason) {
    ui::showMessage(&window, QStringLiteral("Error"), QStringLiteral(" Error"),
                    QStringLiteral("%1\n%2").arg(QDir::toNativeSeparators(path), reason));
}

} // namespace

void openDataFileGui(MainWindow &window) {
    if (transferRunning(window)) return;
    const QString path = ui::getOpenFileName(&window, kDataOpenFilter, window.startDirectory());
    if (path.isEmpty()) return;
    const DataFileResult result = openDataFile(window.document(), path);
    ui::showMessage(&window, result.message(), result.title(),
                    result.ok() ? result.notes.join(QLatin1Char('\n')) : result.error);
}

void saveDataFileGui(MainWindow &window) {
    if (transferRunning(window)) return;
    const QString path = ui::getSaveFileName(&window, kDataSaveFilter, window.startDirectory());
    if (path.isEmpty()) return;
    QString error;
    if (!saveDataFile(window.document(), window.link().state.comPort, path, &error)) {
        reportSaveFailure(window, path, error);
        return;
    }
    ui::showMessage(&window, QStringLiteral("Save File"), QStringLiteral("Finish"));
}

void importCsvGui(MainWindow &window) {
    if (transferRunning(window)) return;
    const QString path = ui::getOpenFileName(&window, kCsvOpenFilter, window.startDirectory());
    if (path.isEmpty()) return;
    window.setProgressMaximum(ChannelTable::kFirstBugRow - 1);
    const CsvImportResult result = importCsvFile(window.document().channels, path);
    window.setProgressValue(result.rowsFilled);
    ui::showMessage(&window, result.message(), result.title(),
                    result.ok() ? result.notes.join(QLatin1Char('\n')) : result.error);
    window.setProgressValue(0);
}

void exportCsvGui(MainWindow &window) {
    if (transferRunning(window)) return;
    const QString path = ui::getSaveFileName(&window, kCsvSaveFilter, window.startDirectory());
    if (path.isEmpty()) return;
    window.setProgressMaximum(ChannelTable::kRows);
    QString error;
    if (!saveCsv(window.document().channels, path, &error)) {
        window.setProgressValue(0);
        reportSaveFailure(window, path, error);
        return;
    }
    window.setProgressValue(ChannelTable::kRows);
    ui::showMessage(&window, QStringLiteral("Save File"), QStringLiteral("Finish"));
}

void readConfigurationGui(MainWindow &window) {
    const config::PortChoice choice = config::readConfiguration(config::configurationReadPath());
    window.link().state.comPort = choice.comPort;
    window.link().setDevicePath(choice.devicePath);
    window.updatePortChecks();
}

void writeConfigurationGui(MainWindow &window) {
    const QString path = config::configurationPath();
    if (path.isEmpty()) return;
    QString error;
    if (!config::writeConfiguration(window.document(), window.link().state.comPort,
                                    window.link().devicePath(), path, &error))
        qWarning("kpr5: the configuration file %s could not be written: %s", qPrintable(path),
                 qPrintable(error));
}

} // namespace kpr5
