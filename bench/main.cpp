// kpr5-bench: measures what users feel, against the simulated radio on a real
// pseudo-terminal, and prints a table of ratios (not pass/fail).
//
//   kpr5-bench            every benchmark
//   kpr5-bench link       only the serial link benchmarks (groups: link,
//                         channels, files, startup)

#include "BenchCommon.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char *argv[]) {
    // Offscreen unless a display is asked for: the start-up benchmark builds
    // the main window.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList wanted = app.arguments().mid(1);
    QTextStream out(stdout);
    out << QStringLiteral("%1 %2 %3\n")
               .arg(QStringLiteral("benchmark"), -44)
               .arg(QStringLiteral("figure"), 14)
               .arg(QStringLiteral("unit"));
    out.flush();
    for (const kpr5::bench::Benchmark &b : kpr5::bench::registry()) {
        if (!wanted.isEmpty() && !wanted.contains(b.group)) continue;
        for (const kpr5::bench::Row &r : b.run()) {
            out << QStringLiteral("%1 %2 %3\n")
                       .arg(r.name, -44)
                       .arg(r.value, 14, 'f', 3)
                       .arg(r.unit);
            out.flush();
        }
    }
    return 0;
}
