// Whole channel read and write at 57600 baud against the wire time they need,
// and the CPU the program spends meanwhile.

#include "BenchCommon.h"

#include "RadioSimulator.h"
#include "Records.h"
#include "core/channels/ChannelTable.h"
#include "core/channels/ChannelTransfer.h"
#include "core/link/SerialLink.h"

#include <QElapsedTimer>

namespace {
using namespace kpr5;

QList<bench::Row> channelBenchmarks() {
    QList<bench::Row> rows;
    sim::SimOptions o;
    o.baud = 57600;
    sim::RadioSimulator radio(o);
    radio.start();
    // A full radio: every record in use.
    for (int r = 1; r <= 1623; ++r)
        radio.write(0x1200 + 64 * quint32(r - 1), test::Record(145000000).name("X"));
    ChannelTable table;
    SerialLink link;
    link.portSettings().devicePath = radio.portPath();
    NullTransferHost host;

    const auto measure = [&](const QString &name, double wireBytes,
                             const std::function<bool()> &run) {
        QElapsedTimer t;
        t.start();
        const double cpu0 = bench::threadCpuSeconds();
        const bool ok = run();
        const double wall = t.nsecsElapsed() / 1e9;
        const double cpu = bench::threadCpuSeconds() - cpu0;
        const double wire = bench::wireSeconds(wireBytes);
        rows << bench::Row{name + QStringLiteral(", wall time"), wall, QStringLiteral("s")};
        rows << bench::Row{name + QStringLiteral(", wall / wire time"), wall / wire,
                           QStringLiteral("ratio")};
        rows << bench::Row{name + QStringLiteral(", CPU / wall time"), cpu / wall,
                           QStringLiteral("ratio")};
        if (!ok) rows << bench::Row{name + QStringLiteral(" FAILED"), 1, QString()};
    };
    const double ident = 10 + 16;
    measure(QStringLiteral("channels: full read at 57600"), ident + 1623.0 * (11 + 143),
            [&] { return succeeded(readChannels(table, link, host)); });
    measure(QStringLiteral("channels: full write at 57600"),
            ident + 1623.0 * (139 + 145) + 12.0 * (139 + 145) + (91 + 97),
            [&] { return succeeded(writeChannels(table, link, host)); });
    return rows;
}

const bench::Register reg(QStringLiteral("channels"), channelBenchmarks);
} // namespace
