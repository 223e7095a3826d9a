// The memory map: record addresses, the dual-watch interleave, the region
// table and the pass table.

#include "core/channels/ChannelRecord.h"
#include "core/channels/ChannelTable.h"
#include "core/link/MemoryMap.h"

#include <QtTest>

#include <set>

using namespace kpr5;
using namespace kpr5::memorymap;

namespace {

QByteArray entryBytes(const QByteArray &table, int i) {
    return table.mid(8 * i, 8);
}

QByteArray hexBytes(const char *hex) {
    return QByteArray::fromHex(QByteArray(hex));
}

// Follow the chain from the head upwards; the entries in the order visited.
QList<int> walkUp(const PassTable &t) {
    QList<int> visited;
    int e = t[kPassHead].higherLink;
    while (e != 255 && e != kPassHead && visited.size() <= 100) {
        visited << e;
        e = t[std::size_t(e)].higherLink;
    }
    return visited;
}

quint32 units(const PassEntry &e) {
    return e.mhz * 100000 + e.fraction;
}

} // namespace

class MemoryMapTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rowAddresses_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("record");
        QTest::addColumn<uint>("address");
        QTest::newRow("row 1") << 1 << 1 << 0x01200u;
        QTest::newRow("row 1000") << 1000 << 1000 << 0x10BC0u;
        QTest::newRow("row 1100") << 1100 << 1100 << 0x01200u + 64u * 1099u;
        QTest::newRow("row 1101 main") << 1101 << 1101 << 0x01200u + 64u * 1100u;
        QTest::newRow("row 1102 sub") << 1102 << 1201 << 0x13E00u;
        QTest::newRow("row 1103 main") << 1103 << 1102 << 0x01200u + 64u * 1101u;
        QTest::newRow("row 1299 main") << 1299 << 1200 << 0x01200u + 64u * 1199u;
        QTest::newRow("row 1300") << 1300 << 1300 << 0x156C0u;
        QTest::newRow("row 1301") << 1301 << 1301 << 0x01200u + 64u * 1300u;
        QTest::newRow("row 1623") << 1623 << 1623 << 0x1A780u;
    }

    void rowAddresses() {
        QFETCH(int, row);
        QFETCH(int, record);
        QFETCH(uint, address);
        QCOMPARE(rowToRecord(row), std::optional<int>(record));
        QCOMPARE(recordAddress(record), std::optional<quint32>(address));
    }

    void rowsWithoutRecord() {
        QCOMPARE(rowToRecord(0), std::nullopt);
        QCOMPARE(rowToRecord(1624), std::nullopt);
        QCOMPARE(rowToRecord(-5), std::nullopt);
        QCOMPARE(recordAddress(0), std::nullopt);
        QCOMPARE(recordAddress(1624), std::nullopt);
    }

    void everyRecordOnceAndInsideTheChannelRegion() {
        std::set<int> records;
        const MemoryRegion &ch = region(RegionId::Channels);
        for (int row = 1; row <= 1623; ++row) {
            const std::optional<int> r = rowToRecord(row);
            QVERIFY(r);
            records.insert(*r);
            const quint32 a = *recordAddress(*r);
            QVERIFY(a >= ch.first && a + 63 <= ch.last);
        }
        QCOMPARE(int(records.size()), 1623);
        QCOMPARE(*recordAddress(1623) + 63, ch.last);
        QCOMPARE(dualWatchRecords()[0], 1101);
        QCOMPARE(dualWatchRecords()[199], 1300);
    }

    void regionTableIsConsistent() {
        quint32 previousLast = 0;
        bool first = true;
        for (const MemoryRegion &r : kRegions) {
            QVERIFY(first || r.first > previousLast); // ascending, no overlap
            first = false;
            previousLast = r.last;
            QVERIFY(r.readCount <= MemoryRegion::kMaxBlocks &&
                    r.writeCount <= MemoryRegion::kMaxBlocks);
            for (int i = 0; i < r.writeCount; ++i) {
                const MemoryBlock &b = r.writes[std::size_t(i)];
                QVERIFY(b.length >= 1 && b.length <= 64);
                QVERIFY(b.address >= r.first && b.address + quint32(b.length) - 1 <= r.last);
            }
            for (int i = 0; i < r.readCount; ++i)
                QVERIFY(r.reads[std::size_t(i)].address >= r.first);
        }
    }

    void passTableBlocks() {
        const MemoryRegion &r = region(RegionId::PassTable);
        QCOMPARE(r.writeCount, 13);
        const QList<BlockData> blocks = memorymap::passTableBlocks(PassTable{});
        QCOMPARE(blocks.size(), 13);
        QByteArray joined;
        for (int k = 0; k < 12; ++k) {
            QCOMPARE(blocks[k].address, 0x00C00u + 64u * quint32(k));
            QCOMPARE(blocks[k].data.size(), 64);
            joined += blocks[k].data;
        }
        QCOMPARE(blocks[12].address, 0x00F00u);
        QCOMPARE(blocks[12].data.size(), 40);
        joined += blocks[12].data;
        QCOMPARE(joined, passTableBytes(PassTable{}));
    }

    void noPassChannelGivesAllFF() {
        const QByteArray bytes = passTableBytes(buildPassTable(PassChannels{}));
        QCOMPARE(bytes.size(), 808);
        QCOMPARE(bytes, QByteArray(808, char(0xFF)));
    }

    void onePassChannelAtRow1410() {
        ChannelTable table;
        table.setText(1410, ChannelTable::FreqCol, QStringLiteral("145.00000MHz"));
        table.setInUse(1409, 1);
        // a pass row with a frequency but not in use does not count
        table.setText(1411, ChannelTable::FreqCol, QStringLiteral("144.00000MHz"));

        const QByteArray bytes = passTableBytes(buildPassTable(passChannels(table)));
        QCOMPARE(bytes.size(), 808);
        for (int i = 0; i < 101; ++i) {
            if (i == 6)
                QCOMPARE(entryBytes(bytes, i).toHex(' '), QByteArray("40 86 a4 08 ff ff 64 ff"));
            else if (i == 100)
                QCOMPARE(entryBytes(bytes, i).toHex(' '), QByteArray("40 86 a4 08 06 06 ff ff"));
            else
                QCOMPARE(entryBytes(bytes, i), QByteArray(8, char(0xFF)));
        }
    }

    void allHundredPassChannels() {
        PassChannels ch;
        // frequencies in an order unrelated to the rows
        for (int i = 0; i < 100; ++i)
            ch[std::size_t(i)] = 14400000u + quint32((i * 37) % 100) * 1250u;
        const PassTable t = buildPassTable(ch);
        QCOMPARE(t[kPassHead].spareLink, quint8(0));
        const QList<int> chain = walkUp(t);
        QCOMPARE(chain.size(), 100);
        QCOMPARE(t[std::size_t(chain.last())].higherLink, quint8(100));
        QCOMPARE(t[std::size_t(chain.first())].lowerLink, quint8(100));
        QCOMPARE(units(t[kPassHead]), units(t[std::size_t(chain.first())]));
        for (int k = 1; k < chain.size(); ++k) {
            QVERIFY(units(t[std::size_t(chain[k - 1])]) < units(t[std::size_t(chain[k])]));
            QCOMPARE(int(t[std::size_t(chain[k])].lowerLink), chain[k - 1]);
        }
        const QByteArray bytes = passTableBytes(t);
        QCOMPARE(entryBytes(bytes, 100).mid(4, 1), hexBytes("00"));
    }

    void someChannelsChainInFrequencyOrder() {
        PassChannels ch;
        ch[3] = 43300000;  // 433.00000
        ch[10] = 14500000; // 145.00000
        ch[50] = 12900000; // 129.00000
        const PassTable t = buildPassTable(ch);
        QCOMPARE(walkUp(t), (QList<int>{50, 10, 3}));
        QCOMPARE(t[kPassHead].spareLink, quint8(50));
        QCOMPARE(t[kPassHead].lowerLink, quint8(255));
        QCOMPARE(t[50].lowerLink, quint8(100));
        QCOMPARE(t[10].lowerLink, quint8(50));
        QCOMPARE(t[3].lowerLink, quint8(10));
        QCOMPARE(t[3].higherLink, quint8(255));
        QCOMPARE(t[3].spareLink, quint8(255));
        const QByteArray bytes = passTableBytes(t);
        QCOMPARE(entryBytes(bytes, 3), hexBytes("40 0E CF 19 FF FF 0A FF")); // 433,000,000 Hz
    }

    void passChannelAt255MHzIsWrittenAsAFrequency() {
        // 255 MHz must not be confused with the "unset" mark.
        PassChannels ch;
        ch[0] = 25500000;
        const QByteArray bytes = passTableBytes(buildPassTable(ch));
        QCOMPARE(entryBytes(bytes, 0), hexBytes("C0 FD 32 0F FF FF 64 FF"));
    }
};

QTEST_GUILESS_MAIN(MemoryMapTest)
#include "tst_memorymap.moc"
