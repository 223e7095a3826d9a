// Channel transfers end to end against the simulated radio on a
// pseudo-terminal: the frames sent and the radio's image afterwards, and
// when the pass table is rewritten (the order of a selection made from the
// bottom up: tst_mainwindow transferButtons).

#include "Records.h"
#include "SimFixture.h"
#include "core/channels/ChannelRecord.h"
#include "core/channels/ChannelTable.h"
#include "core/channels/ChannelTransfer.h"

using namespace kpr5;
using namespace kpr5::test;
using C = kpr5::ChannelTable;

namespace {

quint32 addressOfRow(int row) {
    return *memorymap::recordAddress(*memorymap::rowToRecord(row));
}

quint32 hzOfRow(int row) {
    return 140000000 + 10000 * quint32(row);
}

// Rows that stand for every row group: memory, PRG, dual-watch Main and Sub,
// PRIO, call, pass, TSF, bug detector.
const QList<int> kSampleRows = {1,    1000, 1001, 1100, 1101, 1102, 1299, 1300,
                                1301, 1401, 1403, 1404, 1503, 1504, 1604, 1623};

} // namespace

class ChannelTransferTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readTheWholeTable() {
        SimRig rig;
        for (int row : kSampleRows)
            rig.radio.write(addressOfRow(row), Record(hzOfRow(row)));
        C table;
        QVERIFY(succeeded(readChannels(table, rig.link, rig.host)));
        QCOMPARE(rig.host.texts(), QStringList{QStringLiteral("Success| Finish")});
        const QList<QByteArray> frames = rig.radio.frames();
        QCOMPARE(frames.size(), 1 + 1623);
        QCOMPARE(frames[1], QByteArray("QX~F01200R"));
        QCOMPARE(frames[1102], QByteArray("QX~F13E00R")); // row 1102 is record 1201
        QCOMPARE(frames.last(), QByteArray("QX~F1A780R"));
        for (int row = 1; row <= 1623; ++row) {
            const bool sample = kSampleRows.contains(row);
            QCOMPARE(table.inUse(row - 1), quint8(sample));
            if (sample)
                QCOMPARE(table.text(row, C::FreqCol), channeltext::frequencyText(hzOfRow(row)));
            else if (!C::isCallRow(row) && !C::isBugRow(row))
                QVERIFY(table.text(row, C::FreqCol).isEmpty());
        }
        // A call channel the radio reports as empty keeps its texts (so do the
        // bug-detector presets).
        QCOMPARE(table.text(1402, C::FreqCol), QStringLiteral("433.00000MHz"));
        // Progress: row div 17, so 95 on the last row, then 100, then 0 at the end.
        const QList<int> &percents = rig.host.percents;
        QCOMPARE(percents.mid(percents.indexOf(100) - 1, 2), (QList<int>{95, 100}));
        QCOMPARE(percents.last(), 0);
        QCOMPARE(rig.host.maximum, 1704);
    }

    void writeMatchesTheDocumentedImage() {
        C table;
        for (int row = 1; row <= 1623; ++row) // as read from an empty radio
            decodeChannel(QByteArray(64, '\0'), table, row);
        // Row 5: 433.00000 MHz NFM, 25 kHz step, TSQ 88.5 Hz, DCS 023, minus 5 MHz, skipped, TOWER.
        Record row5(433000000);
        row5.mode(0).step(7).toneMode(3).carrier(20).shift(2, 5000000).skip().name("TOWER");
        decodeChannel(row5, table, 5);
        decodeChannel(Record(145500000), table, 1102);
        decodeChannel(Record(145000000), table, 1410); // the only pass channel in use
        decodeChannel(Record(144000000), table, 1411);
        table.setInUse(1410, 0); // its texts stay

        SimRig rig;
        rig.radio.setImage(QByteArray(sim::kImageSize, char(0x5A))); // stale bytes everywhere
        QVERIFY(succeeded(writeChannels(table, rig.link, rig.host)));

        QByteArray expected(sim::kImageSize, char(0x5A));
        expected.replace(0x1200, 1623 * 64, QByteArray(1623 * 64, '\0'));
        expected.replace(0x1300, 64, row5.bytes());
        expected.replace(0x13E00, 64, Record(145500000).bytes()); // row 1102 is record 1201
        expected.replace(0x17240, 64, Record(145000000).bytes());
        // Pass table: entry 6 and the head, everything else 0xFF.
        QByteArray pass(808, char(0xFF));
        pass.replace(6 * 8, 8, QByteArray::fromHex("4086A408FFFF64FF"));
        pass.replace(100 * 8, 8, QByteArray::fromHex("4086A4080606FFFF"));
        expected.replace(0xC00, 808, pass);
        QCOMPARE(rig.radio.image().toHex(), expected.toHex());
        const QList<QByteArray> frames = rig.radio.frames();
        QCOMPARE(frames.size(), 1 + 1623 + 13);
        QCOMPARE(frames[1102].left(10), QByteArray("QX~F13E00W"));
        QCOMPARE(frames.last(), "QX~F00F00W" + QByteArray(64, 'F') + "4086A4080606FFFF");
    }

    void passTableFollowsWrittenPassChannels_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<bool>("passTable");
        QTest::newRow("ends in pass rows") << 1400 << 1404 << true;
        QTest::newRow("starts in pass rows") << 1503 << 1510 << true;
        QTest::newRow("spans the pass rows") << 1300 << 1600 << true;
        QTest::newRow("before the pass rows") << 1300 << 1403 << false;
        QTest::newRow("after the pass rows") << 1504 << 1600 << false;
    }
    void passTableFollowsWrittenPassChannels() {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(bool, passTable);
        SimRig rig;
        C table;
        QVERIFY(succeeded(transferChannels(table, Direction::Write,
                                           RowRange::selection(first, last), rig.link, rig.host)));
        QCOMPARE(rig.radio.frameCount(), 1 + (last - first + 1) + (passTable ? 13 : 0));
        QCOMPARE(rig.radio.read(0xC00, 1) == QByteArray(1, char(0xFF)), passTable);
        // A selection's percentage is its own: 100 after its last row, not before.
        const QList<int> &percents = rig.host.percents;
        QVERIFY(percents.at(last - first - 1) < 100 && percents.at(last - first) == 100);
    }
};

QTEST_GUILESS_MAIN(ChannelTransferTest)
#include "tst_channeltransfer.moc"
