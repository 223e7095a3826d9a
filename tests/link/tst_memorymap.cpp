// The memory map: record addresses with the dual-watch interleave, and the
// pass table.

#include "Records.h"
#include "core/link/MemoryMap.h"

#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <set>

using namespace kpr5;
using namespace kpr5::memorymap;

class MemoryMapTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every row holds its own record; rows 1101-1300 interleave the
    // dual-watch records in pairs (the channel transfer test shows the
    // addresses).
    void everyRecordOnce() {
        std::set<int> records;
        for (int row = 1; row <= 1623; ++row)
            records.insert(rowToRecord(row).value_or(0));
        QCOMPARE(int(records.size()), 1623);
        QCOMPARE(*records.begin(), 1);
        QCOMPARE(*records.rbegin(), 1623);
        QCOMPARE(rowToRecord(1299), 1200);
        for (int outside : {-5, 0, 1624})
            QCOMPARE(rowToRecord(outside), std::nullopt);
        QCOMPARE(recordAddress(1624), std::nullopt);
    }

    // Any set of pass channels: entries in use chained from the head in
    // ascending frequency, everything else 0xFF.
    void passTableChainsByFrequency() {
        QRandomGenerator rng(5);
        for (int n : {0, 1, 2, 3, 37, 99, 100}) {
            PassChannels channels;
            QList<int> used;
            for (int i = 0; i < 100; ++i)
                used << i;
            std::shuffle(used.begin(), used.end(), rng);
            used = used.mid(0, n);
            std::set<quint32> taken;
            for (int i : used) {
                quint32 units;
                do
                    units = n == 1 ? 25500000 : rng.bounded(429496730u); // 255 MHz is no "unset"
                while (!taken.insert(units).second);
                channels[std::size_t(i)] = units;
            }
            std::sort(used.begin(), used.end(), [&](int a, int b) {
                return *channels[std::size_t(a)] < *channels[std::size_t(b)];
            });

            QByteArray want(808, char(0xFF));
            auto entry = [&](int at, int of, int spare, int higher, int lower) {
                QByteArray e(8, char(0xFF));
                test::put32(e, 0, *channels[std::size_t(of)] * 10);
                e[4] = char(spare);
                e[5] = char(higher);
                e[6] = char(lower);
                want.replace(8 * at, 8, e);
            };
            for (int k = 0; k < n; ++k)
                entry(used[k], used[k], 255,
                      k + 1 < n  ? used[k + 1]
                      : n == 100 ? 100
                                 : 255,
                      k == 0 ? 100 : used[k - 1]);
            if (n > 0) entry(kPassHead, used[0], n == 100 ? 0 : used[0], used[0], 255);
            QCOMPARE(passTableBytes(buildPassTable(channels)).toHex(' '), want.toHex(' '));
        }
    }
};

QTEST_GUILESS_MAIN(MemoryMapTest)
#include "tst_memorymap.moc"
