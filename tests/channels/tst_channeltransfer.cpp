// Channel transfers end to end: the real link against the simulated radio on
// a pseudo-terminal. Records are built here from the documented byte layout,
// not with the program's own encoder.

#include "SimFixture.h"
#include "core/channels/ChannelTable.h"
#include "core/channels/ChannelTransfer.h"

using namespace kpr5;
using namespace kpr5::test;

namespace {

quint32 recordAddress(int record) {
    return 0x1200 + 64 * quint32(record - 1);
}
int recordOfRow(int row) {
    if (row >= 1101 && row <= 1300)
        return (row - 1101) % 2 == 0 ? 1101 + (row - 1101) / 2 : 1201 + (row - 1102) / 2;
    return row;
}

void put32(QByteArray &b, int at, quint32 v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// A record: frequency in Hz, mode code, step index, tone mode, tones, DCS,
// carrier, shift code and amount, skip, name of ASCII letters.
QByteArray record(quint32 hz, int mode = 1, int step = 7, int toneMode = 3, int tx = 8, int rx = 9,
                  int dcs = 2, int carrier = 20, int shift = 2, quint32 offset = 5000000,
                  bool skip = false, const QByteArray &name = "TOWER") {
    QByteArray b(64, '\0');
    b[0] = 1;
    put32(b, 1, hz);
    b[5] = char(mode);
    b[6] = char(step);
    put32(b, 7, offset);
    b[11] = char(shift);
    b[12] = char(toneMode);
    b[13] = char(tx);
    b[14] = char(rx);
    b[15] = char(dcs);
    b[16] = char(carrier);
    b[18] = 0x3E;
    b[19] = skip ? 1 : 0;
    b[20] = 0x0A;
    for (int i = 0; i < name.size() && i < 16; ++i)
        b[32 + 2 * i] = name[i];
    return b;
}

// A host that can act when the transfer reaches a row.
class ScriptedHost : public RecordingHost {
public:
    std::function<void(int)> atRow;
    void setCurrentRow(int r) override {
        RecordingHost::setCurrentRow(r);
        if (atRow) atRow(r);
    }
};

// Rows that stand for every row group: memory, PRG, dual-watch Main and Sub,
// PRIO, call, pass, TSF, bug detector.
const QList<int> kSampleRows = {1,    500,  1000, 1001, 1100, 1101, 1102, 1299, 1300, 1301,
                                1401, 1402, 1403, 1404, 1503, 1504, 1603, 1604, 1623};

} // namespace

class ChannelTransferTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readEveryRowGroup() {
        sim::RadioSimulator radio;
        for (int row : kSampleRows)
            radio.write(recordAddress(recordOfRow(row)), record(140000000 + 10000 * quint32(row)));
        radio.write(recordAddress(recordOfRow(1402)),
                    QByteArray(64, '\0')); // an empty call channel
        ChannelTable table;
        SerialLink link;
        connectLink(link, radio);
        ScriptedHost host;
        QVERIFY(succeeded(readChannels(table, link, host)));
        QCOMPARE(host.texts(), QStringList{QStringLiteral("Success| Finish")});
        QVERIFY(!link.busy());
        QCOMPARE(radio.frameCount(), 1 + 1623);

        for (int row : kSampleRows) {
            if (row == 1402) continue;
            const quint32 hz = 140000000 + 10000 * quint32(row);
            const QString freq = QStringLiteral("%1.%2MHz")
                                     .arg(hz / 1000000)
                                     .arg((hz % 1000000) / 10, 5, 10, QLatin1Char('0'));
            QCOMPARE(table.text(row, ChannelTable::FreqCol), freq);
            QCOMPARE(table.text(row, ChannelTable::ModeCol), QStringLiteral("FM"));
            QCOMPARE(table.text(row, ChannelTable::StepCol), QStringLiteral("25KHz"));
            QCOMPARE(table.text(row, ChannelTable::CarrierCol), QStringLiteral("2300Hz"));
            QCOMPARE(table.text(row, ChannelTable::ToneModeCol), QStringLiteral("TSQ"));
            QCOMPARE(table.text(row, ChannelTable::TxToneCol), QStringLiteral("88.5Hz"));
            QCOMPARE(table.text(row, ChannelTable::RxToneCol), QStringLiteral("91.5Hz"));
            QCOMPARE(table.text(row, ChannelTable::DcsCol), QStringLiteral("026"));
            QCOMPARE(table.text(row, ChannelTable::ShiftCol), QStringLiteral("-"));
            QCOMPARE(table.text(row, ChannelTable::ShiftFreqCol), QStringLiteral("5.000MHz"));
            QCOMPARE(table.text(row, ChannelTable::NameCol), QStringLiteral("TOWER"));
            QCOMPARE(table.inUse(row - 1), quint8(1));
        }
        // The call channel the radio reports as empty keeps its texts.
        QCOMPARE(table.text(1402, ChannelTable::FreqCol), QStringLiteral("433.00000MHz"));
        QCOMPARE(table.inUse(1401), quint8(0));
        // Every other row the radio holds empty is blank.
        QVERIFY(table.text(2, ChannelTable::FreqCol).isEmpty());
        QVERIFY(table.text(1602, ChannelTable::ModeCol).isEmpty());
        // Progress: row div 17, so 95 on the last row, then 100, then 0 at the end.
        const int hundred = int(host.percents.indexOf(100));
        QVERIFY(hundred > 0);
        QCOMPARE(host.percents[hundred - 1], 95);
        QCOMPARE(host.percents.last(), 0);
        QCOMPARE(host.maximum, 1704);
    }

    void writeMatchesTheDocumentedImage() {
        ChannelTable table;
        // Row 5: 433.00000 MHz NFM, 25 kHz step, TSQ 88.5 Hz, DCS 023, minus 5 MHz, skipped, TOWER.
        sim::RadioSimulator source;
        source.write(recordAddress(5),
                     record(433000000, 0, 7, 3, 8, 8, 0, 20, 2, 5000000, true, "TOWER"));
        source.write(recordAddress(recordOfRow(1102)), record(145500000));
        source.write(recordAddress(1410), record(145000000)); // the only pass channel
        {
            SerialLink link;
            connectLink(link, source);
            RecordingHost host;
            QVERIFY(succeeded(readChannels(table, link, host)));
        }

        sim::RadioSimulator radio;
        radio.setImage(QByteArray(sim::kImageSize, char(0x5A))); // stale bytes everywhere
        SerialLink link;
        connectLink(link, radio);
        RecordingHost host;
        QVERIFY(succeeded(writeChannels(table, link, host)));
        QCOMPARE(host.texts(), QStringList{QStringLiteral("Success| Finish")});

        QByteArray expected(sim::kImageSize, char(0x5A));
        auto place = [&](quint32 a, const QByteArray &b) { expected.replace(int(a), b.size(), b); };
        for (int row = 1; row <= 1623; ++row)
            place(recordAddress(recordOfRow(row)), QByteArray(64, '\0'));
        place(recordAddress(5), record(433000000, 0, 7, 3, 8, 8, 0, 20, 2, 5000000, true, "TOWER"));
        place(recordAddress(1201), record(145500000)); // row 1102 is record 1201
        place(recordAddress(1410), record(145000000));
        // The call channels and bug-detector rows keep their texts when the radio
        // reports them empty, but they are not in use: they are written empty.
        QCOMPARE(table.text(1401, ChannelTable::FreqCol), QStringLiteral("145.00000MHz"));
        QCOMPARE(table.inUse(1400), quint8(0));
        // Pass table: entry 6 and the head, everything else 0xFF.
        QByteArray pass(808, char(0xFF));
        pass.replace(6 * 8, 8, QByteArray::fromHex("4086A408FFFF64FF"));
        pass.replace(100 * 8, 8, QByteArray::fromHex("4086A4080606FFFF"));
        place(0xC00, pass);
        QCOMPARE(radio.image().toHex(), expected.toHex());
        const QList<QByteArray> frames = radio.frames();
        QCOMPARE(frames.size(), 1 + 1623 + 13);
        QCOMPARE(frames.last(), "QX~F00F00W" + QByteArray(64, 'F') + "4086A4080606FFFF");
    }

    void selectionTouchesOnlyItsRecords() {
        sim::RadioSimulator radio;
        for (int row = 1095; row <= 1110; ++row)
            radio.write(recordAddress(recordOfRow(row)), record(145000000 + 10000 * quint32(row)));
        ChannelTable table;
        SerialLink link;
        connectLink(link, radio);
        RecordingHost host;
        // Bottom-up: current row below the selection's end.
        QVERIFY(succeeded(
            transferChannels(table, Direction::Read, RowRange::selection(1104, 1099), link, host)));
        QStringList expected{QStringLiteral("QX~KP-R5T")};
        for (int row = 1099; row <= 1104; ++row)
            expected << QStringLiteral("QX~F%1R")
                            .arg(recordAddress(recordOfRow(row)), 5, 16, QLatin1Char('0'))
                            .toUpper()
                            .replace(QLatin1String("X~F"), QLatin1String("X~F"));
        QStringList got;
        for (const QByteArray &f : radio.frames())
            got << QString::fromLatin1(f);
        QCOMPARE(got, expected);
        QCOMPARE(host.rows.first(), 1099);
        QCOMPARE(table.text(1098, ChannelTable::FreqCol), QString());
        QVERIFY(!table.text(1099, ChannelTable::FreqCol).isEmpty());
        QVERIFY(!table.text(1104, ChannelTable::FreqCol).isEmpty());
        QVERIFY(table.text(1105, ChannelTable::FreqCol).isEmpty());
        QCOMPARE(host.percents.mid(0, 6), (QList<int>{16, 33, 50, 66, 83, 100}));

        radio.clearFrames();
        QVERIFY(succeeded(transferChannels(table, Direction::Write, RowRange::selection(1102, 1101),
                                           link, host)));
        const QList<QByteArray> frames = radio.frames();
        QCOMPARE(frames.size(), 3);
        QVERIFY(frames[1].startsWith(
            "QX~F" + QByteArray::number(recordAddress(1101), 16).toUpper().rightJustified(5, '0') +
            "W"));
        QVERIFY(frames[2].startsWith(
            "QX~F" + QByteArray::number(recordAddress(1201), 16).toUpper().rightJustified(5, '0') +
            "W"));
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
        sim::RadioSimulator radio;
        ChannelTable table;
        SerialLink link;
        connectLink(link, radio);
        RecordingHost host;
        QVERIFY(succeeded(transferChannels(table, Direction::Write,
                                           RowRange::selection(first, last), link, host)));
        const int frames = radio.frameCount();
        QCOMPARE(frames, 1 + (last - first + 1) + (passTable ? 13 : 0));
        QCOMPARE(radio.read(0xC00, 1) == QByteArray(1, char(0xFF)), passTable);
    }

    void noRadio() {
        sim::SimOptions o;
        o.silent = true;
        sim::RadioSimulator radio(o);
        ChannelTable table;
        SerialLink link;
        connectLink(link, radio, 100);
        RecordingHost host;
        QVERIFY(!succeeded(readChannels(table, link, host)));
        QCOMPARE(radio.frameCount(), 3);
        QCOMPARE(host.texts(), QStringList{QStringLiteral("Error| Error")});
        QVERIFY(!link.busy());
    }

    void droppedRepliesAreRetried() {
        sim::RadioSimulator clean, faulty;
        for (int row = 1; row <= 1623; row += 7)
            clean.write(recordAddress(recordOfRow(row)),
                        record(144000000 + 1000 * quint32(row), row % 4));
        sim::SimOptions o;
        o.dropEvery = 100;
        faulty.setOptions(o);
        faulty.setImage(clean.image());
        ChannelTable a, b;
        {
            SerialLink link;
            connectLink(link, clean);
            RecordingHost host;
            QVERIFY(succeeded(readChannels(a, link, host)));
        }
        SerialLink link;
        connectLink(link, faulty, 100);
        RecordingHost host;
        QVERIFY(succeeded(readChannels(b, link, host)));
        QCOMPARE(host.texts(), QStringList{QStringLiteral("Success| Finish")});
        QVERIFY(faulty.frameCount() > 1624);
        for (int row = 1; row <= 1623; ++row)
            for (int c = 1; c <= 12; ++c)
                QCOMPARE(b.text(row, c), a.text(row, c));
    }

    void tooManyFailuresKeepTheRowsRead() {
        sim::RadioSimulator radio;
        for (int row = 1; row <= 60; ++row)
            radio.write(recordAddress(row), record(145000000 + 10000 * quint32(row)));
        ChannelTable table;
        table.setText(55, ChannelTable::FreqCol, QStringLiteral("999.00000MHz"));
        SerialLink link;
        connectLink(link, radio, 50);
        ScriptedHost host;
        host.atRow = [&](int row) {
            if (row == 50) {
                sim::SimOptions o;
                o.silent = true;
                radio.setOptions(o);
            }
        };
        QVERIFY(!succeeded(readChannels(table, link, host)));
        QCOMPARE(host.texts(), QStringList{QStringLiteral("Error| Error")});
        QCOMPARE(radio.frameCount(), 1 + 49 + 30);
        QCOMPARE(table.text(49, ChannelTable::FreqCol), QStringLiteral("145.49000MHz"));
        QCOMPARE(table.text(55, ChannelTable::FreqCol), QStringLiteral("999.00000MHz"));
        QVERIFY(!link.busy());
    }

    void closingMidTransferShowsNoMessage() {
        sim::RadioSimulator radio;
        ChannelTable table;
        SerialLink link;
        connectLink(link, radio);
        ScriptedHost host;
        host.atRow = [&](int row) {
            if (row == 100) link.requestClose();
        };
        QVERIFY(!succeeded(readChannels(table, link, host)));
        QVERIFY(host.messages.isEmpty());
        QCOMPARE(host.closed, 1);
        QVERIFY(radio.frameCount() <= 101);
    }
};

QTEST_GUILESS_MAIN(ChannelTransferTest)
#include "tst_channeltransfer.moc"
