// The memory map: record addresses with the dual-watch interleave, and the
// pass table.

#include "Records.h"
#include "core/channels/ChannelRecord.h"
#include "core/channels/ChannelTable.h"
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
    void rowAddresses_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("record"); // 0: none
        QTest::addColumn<uint>("address");
        QTest::newRow("row 1") << 1 << 1 << 0x01200u;
        QTest::newRow("row 1100") << 1100 << 1100 << 0x01200u + 64u * 1099u;
        QTest::newRow("row 1101 main") << 1101 << 1101 << 0x01200u + 64u * 1100u;
        QTest::newRow("row 1102 sub") << 1102 << 1201 << 0x13E00u;
        QTest::newRow("row 1103 main") << 1103 << 1102 << 0x01200u + 64u * 1101u;
        QTest::newRow("row 1299 main") << 1299 << 1200 << 0x01200u + 64u * 1199u;
        QTest::newRow("row 1300") << 1300 << 1300 << 0x156C0u;
        QTest::newRow("row 1301") << 1301 << 1301 << 0x01200u + 64u * 1300u;
        QTest::newRow("row 1623") << 1623 << 1623 << 0x1A780u;
        QTest::newRow("row 0") << 0 << 0 << 0u;
        QTest::newRow("row 1624") << 1624 << 0 << 0u;
    }
    void rowAddresses() {
        QFETCH(int, row);
        QFETCH(int, record);
        QFETCH(uint, address);
        QCOMPARE(rowToRecord(row), record ? std::optional<int>(record) : std::nullopt);
        QCOMPARE(recordAddress(record), address ? std::optional<quint32>(address) : std::nullopt);
    }

    void everyRecordOnce() {
        std::set<int> records;
        for (int row = 1; row <= 1623; ++row)
            records.insert(rowToRecord(row).value_or(0));
        QCOMPARE(int(records.size()), 1623);
        QCOMPARE(*records.begin(), 1);
        QCOMPARE(*records.rbegin(), 1623);
        QCOMPARE(recordAddress(1624), std::nullopt);
        QCOMPARE(rowToRecord(-5), std::nullopt);
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

    void passTableOfTheChannelTable() {
        ChannelTable table;
        table.setText(1410, ChannelTable::FreqCol, QStringLiteral("145.00000MHz"));
        table.setInUse(1409, 1);
        // a pass row with a frequency but not in use does not count
        table.setText(1411, ChannelTable::FreqCol, QStringLiteral("144.00000MHz"));
        QByteArray want(808, char(0xFF));
        want.replace(8 * 6, 8, QByteArray::fromHex("4086A408FFFF64FF"));
        want.replace(8 * 100, 8, QByteArray::fromHex("4086A4080606FFFF"));
        QCOMPARE(passTableBytes(buildPassTable(passChannels(table))), want);
    }
};

QTEST_GUILESS_MAIN(MemoryMapTest)
#include "tst_memorymap.moc"
