// The channel record: the frequency and shift texts, a row decoded from and
// encoded to the radio's 64 bytes, and the bytes the program keeps or rewrites.

#include "Files.h"
#include "Records.h"
#include "core/channels/ChannelRecord.h"
#include "core/channels/ChannelTable.h"

#include <QFile>
#include <QtTest>

using namespace kpr5;
using namespace kpr5::channeltext;
using C = kpr5::ChannelTable;
using kpr5::test::Record;

using kpr5::test::rowTexts;

class ChannelRecordTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The cases of tests/data/tst_channelrecord-cases.tsv, by their first column.
    void cases_data() { test::tableData(QFINDTESTDATA("../data/tst_channelrecord-cases.tsv")); }
    void cases() {
        QFETCH(QStringList, c);
        if (c[0] == "frequency") {
            if (c[3].endsWith('>')) QCOMPARE(frequencyText(c[1].toUInt()), c[2]);
            if (c[3].startsWith('<')) QCOMPARE(frequencyHz(c[2]), c[1].toUInt());
        } else if (c[0] == "shift") {
            const std::optional<quint32> hz =
                c[1] == "-" ? std::nullopt : std::optional<quint32>(c[1].toUInt());
            if (c[3].endsWith('>')) QCOMPARE(shiftAmountText(*hz), c[2]);
            if (c[3].startsWith('<')) QCOMPARE(shiftAmountHz(c[2]), hz);
        } else { // a row's texts as the editor leaves them, in the radio's bytes
            C t;
            decodeChannel(Record(), t, 1);
            const int columns[] = {C::FreqCol, C::ModeCol, C::ToneModeCol, C::ShiftCol,
                                   C::ShiftFreqCol};
            for (int i = 0; i < 5; ++i)
                t.setText(1, columns[i], c[1].section('|', i, i));
            const QStringList b = c[2].split('|');
            QByteArray want = Record(b[0].toUInt()).mode(b[1].toInt()).toneMode(b[2].toInt());
            test::put32(want, 7, b[4].toUInt());
            want[11] = char(b[3].toInt());
            QCOMPARE(encodeChannel(t, 1).toByteArray().toHex(' '), want.toHex(' '));
        }
    }

    // Only the low nibble of the in-use, mode, step, shift and skip bytes counts.
    void decodeARecord() {
        Record clean(433500000);
        clean.mode(1).step(10).shift(2, 5000000).toneMode(5).tones(0, 38).dcs(5).carrier(0);
        clean.skip().nameField(QByteArray("\xB1\x00", 2));
        const QByteArray nibbles =
            Record(clean).set(0, 0x18).set(5, 0x21).set(6, 0x3A).set(11, 0x12).set(19, 0x31);
        C t;
        decodeChannel(nibbles, t, 1102);
        QCOMPARE(rowTexts(t, 1102), QStringLiteral("433.50000MHz|FM|100KHz|300Hz|DCS|67.0Hz|"
                                                   "250.3Hz|036|-|5.000MHz|*|\uFF71"));
        QCOMPARE(t.inUse(1101), quint8(1));
        QCOMPARE(t.stepIndex(1101), quint8(10));
        QCOMPARE(t.storedName(1101), QStringLiteral("\uFF71"));
        QCOMPARE(encodeChannel(t, 1102).toByteArray(), clean.bytes());
    }

    // An empty slot is written as zeros, so that writing deletes the radio's
    // channel; a high nibble alone in the in-use byte is an empty slot.
    void emptySlotAndOutsideRowsEncodeAsZeros() {
        C t;
        decodeChannel(Record(), t, 500);
        decodeChannel(Record().set(0, 0x10), t, 500); // texts stay, the slot is empty
        QCOMPARE(t.text(500, C::FreqCol), QStringLiteral("145.00000MHz"));
        for (int row : {500, 0, 1625})
            QCOMPARE(encodeChannel(t, row).toByteArray(), QByteArray(64, '\0'));
    }

    // Index bytes outside their tables show "ERROR" and go back to the radio
    // unchanged; the fixed bytes go back as the radio expects them.
    void oddBytesAreKeptAndFixedBytesRewritten() {
        QByteArray odd =
            Record().mode(7).toneMode(12).tones(39, 255).dcs(104).carrier(29).shift(9, 0);
        odd[17] = char(0x55);
        odd[18] = 0;
        odd[20] = char(0xFF);
        odd[25] = 0x12;
        C t;
        decodeChannel(odd, t, 20);
        QCOMPARE(rowTexts(t, 20), QStringLiteral("145.00000MHz|ERROR|5KHz|ERROR|ERROR|ERROR|ERROR|"
                                                 "ERROR|Off|0.000MHz||"));
        const QByteArray written = encodeChannel(t, 20).toByteArray();
        Record kept;
        kept.mode(7).toneMode(12).tones(39, 255).dcs(104).carrier(29);
        QCOMPARE(written.toHex(' '), kept.bytes().toHex(' '));
        // An edited cell replaces the kept byte; a commit of an undefined mode writes 0.
        t.setText(20, C::ModeCol, QStringLiteral("AM"));
        t.setText(20, C::ToneModeCol, QStringLiteral("None"));
        QCOMPARE(QList<int>({t.keptModeByte(19), t.keptToneModeByte(19)}), QList<int>({-1, -1}));
        QCOMPARE(encodeChannel(t, 20).bytes[5], quint8(2));
        QCOMPARE(encodeChannel(t, 20).bytes[12], quint8(0));
        t.setText(20, C::ModeCol, QStringLiteral("ERROR"));
        QCOMPARE(encodeChannel(t, 20).bytes[5], quint8(0));
    }
};

QTEST_GUILESS_MAIN(ChannelRecordTest)
#include "tst_channelrecord.moc"
