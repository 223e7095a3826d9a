// The serial link alone: exchanges per second unpaced, and 1623 block reads at
// 57600 baud against the wire time they need.

#include "BenchCommon.h"

#include "RadioSimulator.h"
#include "core/link/MemoryMap.h"
#include "core/link/SerialLink.h"

#include <QElapsedTimer>

namespace {
using namespace kpr5;

QList<bench::Row> linkBenchmarks() {
    QList<bench::Row> rows;
    {
        sim::RadioSimulator radio;
        radio.start();
        SerialLink link;
        link.portSettings().devicePath = radio.portPath();
        const int n = 2000;
        QElapsedTimer t;
        t.start();
        int ok = 0;
        QByteArray data;
        for (int i = 0; i < n; ++i)
            ok += link.readBlock(0x1200 + 64 * quint32(i % 1623), &data) == Outcome::Accepted;
        rows << bench::Row{QStringLiteral("link: unpaced block reads"), n * 1000.0 / t.elapsed(),
                           QStringLiteral("exchanges/s")};
        if (ok != n)
            rows << bench::Row{QStringLiteral("link: unpaced failed reads"), double(n - ok),
                               QStringLiteral("reads")};
    }
    {
        sim::SimOptions o;
        o.baud = 57600;
        sim::RadioSimulator radio(o);
        radio.start();
        SerialLink link;
        link.portSettings().devicePath = radio.portPath();
        QElapsedTimer t;
        t.start();
        const double cpu0 = bench::threadCpuSeconds();
        QByteArray data;
        int ok = 0;
        for (int row = 1; row <= 1623; ++row)
            ok += link.readBlock(*memorymap::recordAddress(*memorymap::rowToRecord(row)), &data) ==
                  Outcome::Accepted;
        const double wall = t.nsecsElapsed() / 1e9;
        const double cpu = bench::threadCpuSeconds() - cpu0;
        const double wire = bench::wireSeconds(1623.0 * (11 + 143));
        rows << bench::Row{QStringLiteral("link: 1623 reads at 57600, wall time"), wall,
                           QStringLiteral("s")};
        rows << bench::Row{QStringLiteral("link: 1623 reads, wall / wire time"), wall / wire,
                           QStringLiteral("ratio")};
        rows << bench::Row{QStringLiteral("link: 1623 reads, CPU / wall time"), cpu / wall,
                           QStringLiteral("ratio")};
        if (ok != 1623)
            rows << bench::Row{QStringLiteral("link: paced failed reads"), double(1623 - ok),
                               QStringLiteral("reads")};
    }
    return rows;
}

const bench::Register reg(QStringLiteral("link"), linkBenchmarks);
} // namespace
