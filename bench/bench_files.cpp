// Files and start-up: data file save and load of a full table, CSV import of
// 2000 lines, and the main window from nothing to usable.

#include "BenchCommon.h"
#include "Documents.h"

#include "core/document/RadioDocument.h"
#include "core/files/CsvFile.h"
#include "core/files/DataFile.h"
#include "gui/shell/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

namespace {
using namespace kpr5;

QList<bench::Row> fileBenchmarks() {
    QList<bench::Row> rows;
    QTemporaryDir dir;
    auto doc = std::make_unique<RadioDocument>();
    test::fillDocument(*doc, 1); // every row in use
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
