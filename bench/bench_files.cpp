// Files and start-up: data file save and load of a full table, CSV import of
// 2000 lines, and the main window from nothing to usable.

#include "BenchCommon.h"

#include "core/channels/ChannelTable.h"
#include "core/document/RadioDocument.h"
#include "core/files/CsvFile.h"
#include "core/files/DataFile.h"
#include "gui/shell/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

namespace {
using namespace kpr5;

void fillTable(ChannelTable &t) {
    for (int row = 1; row <= 1603; ++row) {
        if (ChannelTable::isCallRow(row)) continue;
        t.setText(row, ChannelTable::FreqCol, QStringLiteral("%1.12500MHz").arg(140 + row % 300));
        t.setText(row, ChannelTable::ModeCol, QStringLiteral("FM"));
        t.setText(row, ChannelTable::StepCol, QStringLiteral("12.5KHz"));
        t.setText(row, ChannelTable::CarrierCol, QStringLiteral("2300Hz"));
        t.setText(row, ChannelTable::ToneModeCol, QStringLiteral("Tone"));
        t.setText(row, ChannelTable::TxToneCol, QStringLiteral("88.5Hz"));
        t.setText(row, ChannelTable::RxToneCol, QStringLiteral("88.5Hz"));
        t.setText(row, ChannelTable::DcsCol, QStringLiteral("023"));
        t.setText(row, ChannelTable::ShiftCol, QStringLiteral("+"));
        t.setText(row, ChannelTable::ShiftFreqCol, QStringLiteral("0.600MHz"));
        t.setText(row, ChannelTable::NameCol, QStringLiteral("CH%1").arg(row));
        t.setStepIndex(row - 1, 4);
        t.setCarrierIndex(row - 1, 20);
        t.setStoredName(row - 1, QStringLiteral("CH%1").arg(row));
        t.setInUse(row - 1, 1);
    }
}

QList<bench::Row> fileBenchmarks() {
    QList<bench::Row> rows;
    QTemporaryDir dir;
    auto doc = std::make_unique<RadioDocument>();
    fillTable(doc->channels);
    const QString path = dir.filePath(QStringLiteral("full.R5"));
    const int n = 20;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < n; ++i)
        saveDataFile(*doc, 1, path, nullptr);
    rows << bench::Row{QStringLiteral("files: data file save, full table"),
                       t.nsecsElapsed() / 1e6 / n, QStringLiteral("ms")};
    t.restart();
    for (int i = 0; i < n; ++i)
        openDataFile(*doc, path);
    rows << bench::Row{QStringLiteral("files: data file load, full table"),
                       t.nsecsElapsed() / 1e6 / n, QStringLiteral("ms")};

    QByteArray csv = exportCsv(doc->channels);
    const QList<QByteArray> lines = csv.split('\n');
    QByteArray big = lines.first() + '\n';
    for (int i = 0; i < 2000; ++i)
        big += lines.at(1 + i % 1603) + '\n';
    t.restart();
    for (int i = 0; i < n; ++i)
        importCsv(doc->channels, big);
    rows << bench::Row{QStringLiteral("files: CSV import of 2000 lines"),
                       t.nsecsElapsed() / 1e6 / n, QStringLiteral("ms")};
    return rows;
}

QList<bench::Row> startupBenchmark() {
    QList<bench::Row> rows;
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) return rows;
    QElapsedTimer t;
    t.start();
    const int n = 5;
    for (int i = 0; i < n; ++i) {
        MainWindow w;
        w.show();
        QCoreApplication::processEvents();
    }
    rows << bench::Row{QStringLiteral("start-up: main window usable (splash skipped)"),
                       t.nsecsElapsed() / 1e6 / n, QStringLiteral("ms")};
    return rows;
}

const bench::Register files(QStringLiteral("files"), fileBenchmarks);
const bench::Register startup(QStringLiteral("startup"), startupBenchmark);
} // namespace
