// The channel record: byte layout, frequency and shift texts, the code tables,
// round trips between table rows and records, and random records.

#include "core/channels/ChannelRecord.h"
#include "core/channels/ChannelTable.h"
#include "core/channels/ChannelTables.h"
#include "core/text/Cp932.h"
#include "core/text/NameCodec.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace kpr5;
namespace ct = kpr5::channeltables;
using C = kpr5::ChannelTable;

namespace {

quint32 le32(const ChannelRecord &r, int at) {
    return quint32(r.bytes[std::size_t(at)]) | quint32(r.bytes[std::size_t(at + 1)]) << 8 |
           quint32(r.bytes[std::size_t(at + 2)]) << 16 |
           quint32(r.bytes[std::size_t(at + 3)]) << 24;
}

// A complete channel in row `row`.
void fillRow(ChannelTable &t, int row, const QString &freq,
             const QString &shift = QStringLiteral("Off"),
             const QString &amount = QStringLiteral("0.000MHz")) {
    const int slot = row - 1;
    t.setText(row, C::FreqCol, freq);
    t.setText(row, C::ModeCol, QStringLiteral("FM"));
    t.setText(row, C::StepCol, QStringLiteral("5KHz"));
    t.setText(row, C::CarrierCol, QStringLiteral("2300Hz"));
    t.setText(row, C::ToneModeCol, QStringLiteral("None"));
    t.setText(row, C::TxToneCol, QStringLiteral("88.5Hz"));
    t.setText(row, C::RxToneCol, QStringLiteral("88.5Hz"));
    t.setText(row, C::DcsCol, QStringLiteral("023"));
    t.setText(row, C::ShiftCol, shift);
    t.setText(row, C::ShiftFreqCol, amount);
    t.setStepIndex(slot, 0);
    t.setCarrierIndex(slot, 20);
    t.setTxToneIndex(slot, 8);
    t.setRxToneIndex(slot, 8);
    t.setDcsIndex(slot, 0);
    t.setInUse(slot, 1);
}

QByteArray validRecord(QRandomGenerator &rng) {
    QByteArray b(64, '\0');
    auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = char(v >> (8 * i));
    };
    b[0] = 1;
    put32(1, (rng.bounded(53099u, 130000000u)) * 10u);
    b[5] = char(rng.bounded(ct::kModeCount));
    b[6] = char(rng.bounded(ct::kStepCount));
    put32(7, rng.bounded(1000000u) * 1000u);
    b[11] = char(rng.bounded(ct::kShiftCount));
    b[12] = char(rng.bounded(ct::kToneModeCount));
    b[13] = char(rng.bounded(ct::kToneCount));
    b[14] = char(rng.bounded(ct::kToneCount));
    b[15] = char(rng.bounded(ct::kDcsCount));
    b[16] = char(rng.bounded(ct::kCarrierCount));
    b[18] = 0x3E;
    b[19] = char(rng.bounded(2));
    b[20] = 0x0A;
    // a name of up to 16 slots, from single-byte codes, the allowed set and the user characters
    const auto &allowed = names::allowedDoubleByteTable();
    const int slotCount = int(rng.bounded(17));
    for (int k = 0; k < slotCount; ++k) {
        quint16 code = 0;
        switch (rng.bounded(3)) {
        case 0:
            do
                code = quint16(rng.bounded(0x20, 0x100));
            while (cp932::isLeadByte(quint8(code)));
            break;
        case 1:
            do
                code = allowed[rng.bounded(824)];
            while (!cp932::toUnicode(code));
            break;
        default:
            code = quint16(0x8740 + rng.bounded(8));
        }
        b[32 + 2 * k] = char(code & 0xFF);
        b[33 + 2 * k] = char(code >> 8);
    }
    return b;
}

} // namespace

class ChannelRecordTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void codeTables() {
        QCOMPARE(ct::stepTexts().size(), 16);
        QCOMPARE(ct::toneTexts().size(), 39);
        QCOMPARE(ct::dcsTexts().size(), 104);
        QCOMPARE(ct::carrierTexts().size(), 29);
        QCOMPARE(ct::toneText(8), QStringLiteral("88.5Hz"));
        QCOMPARE(ct::toneText(38), QStringLiteral("250.3Hz"));
        QCOMPARE(ct::dcsText(0), QStringLiteral("023"));
        QCOMPARE(ct::dcsText(103), QStringLiteral("754"));
        QCOMPARE(ct::carrierText(0), QStringLiteral("300Hz"));
        QCOMPARE(ct::carrierText(20), QStringLiteral("2300Hz"));
        QCOMPARE(ct::carrierText(27), QStringLiteral("3000Hz"));
        QCOMPARE(ct::carrierText(28), QStringLiteral("\uFF2A\uFF32"));
        QCOMPARE(ct::stepText(15), QStringLiteral("1MHz"));
        QCOMPARE(ct::modeText(0), QStringLiteral("NFM"));
        QCOMPARE(ct::toneModeText(1), QStringLiteral("Train"));
        QCOMPARE(ct::toneModeText(5), QStringLiteral("DCS"));
        // checked lookups
        QCOMPARE(ct::toneText(39), kInvalidCodeText);
        QCOMPARE(ct::toneText(-1), kInvalidCodeText);
        QCOMPARE(ct::dcsText(104), kInvalidCodeText);
        QCOMPARE(ct::carrierText(29), kInvalidCodeText);
        QCOMPARE(ct::modeText(4), kInvalidCodeText);
        QCOMPARE(ct::shiftText(7), QStringLiteral("Off"));
        QCOMPARE(ct::toneIndex(QStringLiteral("159.8Hz")), std::nullopt);
    }

    void frequencyText_data() {
        QTest::addColumn<uint>("hz");
        QTest::addColumn<QString>("text");
        QTest::newRow("145 MHz") << 145000000u << QStringLiteral("145.00000MHz");
        QTest::newRow("1295 MHz") << 1295000000u << QStringLiteral("1295.00000MHz");
        QTest::newRow("118.00833") << 118008330u << QStringLiteral("118.00833MHz");
        QTest::newRow("tie rounds to even, down") << 118008325u << QStringLiteral("118.00832MHz");
        QTest::newRow("tie rounds to even, up") << 118008335u << QStringLiteral("118.00834MHz");
        QTest::newRow("above tie rounds up") << 118008326u << QStringLiteral("118.00833MHz");
        QTest::newRow("50 MHz") << 50000000u << QStringLiteral("50.00000MHz");
        QTest::newRow("0.5 MHz") << 500000u << QStringLiteral("0.50000MHz");
        QTest::newRow("below 100 kHz") << 50000u << QStringLiteral("0.05000MHz");
        QTest::newRow("10 Hz") << 10u << QStringLiteral("0.00001MHz");
        QTest::newRow("zero") << 0u << QStringLiteral("0.00000MHz");
        QTest::newRow("largest") << 0xFFFFFFFFu << QStringLiteral("4294.96730MHz");
    }

    void frequencyText() {
        QFETCH(uint, hz);
        QFETCH(QString, text);
        QCOMPARE(channeltext::frequencyText(hz), text);
    }

    void frequencyHz_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<uint>("hz");
        QTest::newRow("13 characters") << QStringLiteral("1295.00000MHz") << 1295000000u;
        QTest::newRow("12 characters") << QStringLiteral("118.00833MHz") << 118008330u;
        QTest::newRow("11 characters") << QStringLiteral("50.12345MHz") << 50123450u;
        QTest::newRow("10 characters") << QStringLiteral("0.50000MHz") << 500000u;
        QTest::newRow("below 100 kHz round trip") << QStringLiteral("0.05000MHz") << 50000u;
        QTest::newRow("empty") << QString() << 0u;
        QTest::newRow("too short") << QStringLiteral("145.000MHz") << 0u;
        QTest::newRow("14 characters") << QStringLiteral("12950.00000MHz") << 0u;
        QTest::newRow("letters where digits belong") << QStringLiteral("1a5.00000MHz") << 0u;
        QTest::newRow("beyond 32 bits") << QStringLiteral("5000.00000MHz") << 0u;
    }

    void frequencyHz() {
        QFETCH(QString, text);
        QFETCH(uint, hz);
        QCOMPARE(channeltext::frequencyHz(text), hz);
    }

    void shiftAmount_data() {
        QTest::addColumn<uint>("hz");
        QTest::addColumn<QString>("text");
        QTest::newRow("600 kHz") << 600000u << QStringLiteral("0.600MHz");
        QTest::newRow("5 MHz") << 5000000u << QStringLiteral("5.000MHz");
        QTest::newRow("10 MHz") << 10000000u << QStringLiteral("10.000MHz");
        QTest::newRow("999.995 MHz") << 999995000u << QStringLiteral("999.995MHz");
        QTest::newRow("zero") << 0u << QStringLiteral("0.000MHz");
    }

    void shiftAmount() {
        QFETCH(uint, hz);
        QFETCH(QString, text);
        QCOMPARE(channeltext::shiftAmountText(hz), text);
        QCOMPARE(channeltext::shiftAmountHz(text), std::optional<quint32>(hz));
    }

    void shiftAmountTextDropsHertz() {
        QCOMPARE(channeltext::shiftAmountText(600999), QStringLiteral("0.600MHz"));
        QCOMPARE(channeltext::shiftAmountHz(QString()), std::nullopt);
        QCOMPARE(channeltext::shiftAmountHz(QStringLiteral("1000.000MHz")), std::nullopt);
        QCOMPARE(channeltext::shiftAmountHz(QStringLiteral("0.6x0MHz")), std::nullopt);
    }

    void encodeExamples() {
        ChannelTable t;
        fillRow(t, 5, QStringLiteral("118.00833MHz"), QStringLiteral("+"),
                QStringLiteral("0.600MHz"));
        t.setText(5, C::ModeCol, QStringLiteral("WFM"));
        t.setText(5, C::ToneModeCol, QStringLiteral("TSQ"));
        t.setText(5, C::SkipCol, QStringLiteral("*"));
        t.setStepIndex(4, 7);
        t.setTxToneIndex(4, 12);
        t.setRxToneIndex(4, 13);
        t.setDcsIndex(4, 103);
        t.setCarrierIndex(4, 28);
        t.setStoredName(4, QStringLiteral("\u2460A"));
        const ChannelRecord r = encodeChannel(t, 5);
        QCOMPARE(r.bytes[0], quint8(0x01));
        QCOMPARE(le32(r, 1), 118008330u);
        QCOMPARE(r.bytes[5], quint8(3));
        QCOMPARE(r.bytes[6], quint8(7));
        QCOMPARE(le32(r, 7), 600000u);
        QCOMPARE(r.bytes[11], quint8(1));
        QCOMPARE(r.bytes[12], quint8(3));
        QCOMPARE(r.bytes[13], quint8(12));
        QCOMPARE(r.bytes[14], quint8(13));
        QCOMPARE(r.bytes[15], quint8(103));
        QCOMPARE(r.bytes[16], quint8(28));
        QCOMPARE(r.bytes[17], quint8(0x00));
        QCOMPARE(r.bytes[18], quint8(0x3E));
        QCOMPARE(r.bytes[19], quint8(0x01));
        QCOMPARE(r.bytes[20], quint8(0x0A));
        for (int i = 21; i < 32; ++i)
            QCOMPARE(r.bytes[std::size_t(i)], quint8(0));
        QCOMPARE(r.toByteArray().mid(32).toHex(),
                 (QByteArray("\x40\x87\x41\x00", 4) + QByteArray(28, '\0')).toHex());
    }

    void shiftOffWithoutAmount_data() {
        QTest::addColumn<QString>("shift");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<uint>("offsetHz");
        QTest::addColumn<int>("shiftCode");
        QTest::newRow("0.600MHz with +")
            << QStringLiteral("+") << QStringLiteral("0.600MHz") << 600000u << 1;
        QTest::newRow("10.000MHz with -")
            << QStringLiteral("-") << QStringLiteral("10.000MHz") << 10000000u << 2;
        QTest::newRow("empty amount with +") << QStringLiteral("+") << QString() << 0u << 0;
        QTest::newRow("long amount with -")
            << QStringLiteral("-") << QStringLiteral("1000.000MHz") << 0u << 0;
        QTest::newRow("unknown shift text")
            << QStringLiteral("plus") << QStringLiteral("0.600MHz") << 600000u << 0;
    }

    void shiftOffWithoutAmount() {
        QFETCH(QString, shift);
        QFETCH(QString, amount);
        QFETCH(uint, offsetHz);
        QFETCH(int, shiftCode);
        ChannelTable t;
        fillRow(t, 1, QStringLiteral("145.00000MHz"), shift, amount);
        const ChannelRecord r = encodeChannel(t, 1);
        QCOMPARE(le32(r, 7), offsetHz);
        QCOMPARE(int(r.bytes[11]), shiftCode);
    }

    void unknownTextsEncodeAsZero() {
        ChannelTable t;
        fillRow(t, 1, QStringLiteral("145.00000MHz"));
        t.setText(1, C::ModeCol, QStringLiteral("USB"));
        t.setText(1, C::ToneModeCol, QStringLiteral("CTCSS"));
        t.setText(1, C::FreqCol, QStringLiteral("145MHz"));
        const ChannelRecord r = encodeChannel(t, 1);
        QCOMPARE(r.bytes[5], quint8(0));
        QCOMPARE(r.bytes[12], quint8(0));
        QCOMPARE(le32(r, 1), 0u);
    }

    void emptySlotAndOutsideRowsEncodeAsZeros() {
        ChannelTable t;
        fillRow(t, 500, QStringLiteral("145.00000MHz"));
        t.setInUse(499, 0); // texts stay, the slot is empty
        QCOMPARE(encodeChannel(t, 500).toByteArray(), QByteArray(64, '\0'));
        QCOMPARE(encodeChannel(t, 0).toByteArray(), QByteArray(64, '\0'));
        QCOMPARE(encodeChannel(t, 1625).toByteArray(), QByteArray(64, '\0'));
    }

    void fixedBytesAreRewritten() {
        QRandomGenerator rng(7);
        QByteArray rec = validRecord(rng);
        rec[17] = char(0x55);
        rec[18] = char(0x00);
        rec[20] = char(0xFF);
        rec[25] = char(0x12);
        ChannelTable t;
        decodeChannel(rec, t, 10);
        const ChannelRecord r = encodeChannel(t, 10);
        QCOMPARE(r.bytes[17], quint8(0x00));
        QCOMPARE(r.bytes[18], quint8(0x3E));
        QCOMPARE(r.bytes[20], quint8(0x0A));
        QCOMPARE(r.bytes[25], quint8(0x00));
    }

    void inUseIsTheLowNibble_data() {
        QTest::addColumn<int>("byte0");
        QTest::addColumn<bool>("inUse");
        QTest::newRow("0x00") << 0x00 << false;
        QTest::newRow("0x10") << 0x10 << false;
        QTest::newRow("0xF0") << 0xF0 << false;
        QTest::newRow("0x01") << 0x01 << true;
        QTest::newRow("0x11") << 0x11 << true;
        QTest::newRow("0x08") << 0x08 << true;
    }

    void inUseIsTheLowNibble() {
        QFETCH(int, byte0);
        QFETCH(bool, inUse);
        ChannelTable t; // row 1401 holds the VHF call channel
        QRandomGenerator rng(1);
        QByteArray rec = validRecord(rng);
        rec[0] = char(byte0);
        decodeChannel(rec, t, 1401);
        QCOMPARE(t.inUse(1400), quint8(inUse ? 1 : 0));
        if (!inUse) { // nothing but inUse changes
            QCOMPARE(t.text(1401, C::FreqCol), QStringLiteral("145.00000MHz"));
            QCOMPARE(t.carrierIndex(1400), quint8(20));
        } else {
            QCOMPARE(t.text(1401, C::FreqCol),
                     channeltext::frequencyText(quint32(quint8(rec[1])) | quint8(rec[2]) << 8 |
                                                quint8(rec[3]) << 16 |
                                                quint32(quint8(rec[4])) << 24));
        }
    }

    void decodeFieldsAndNibbles() {
        QByteArray rec(64, '\0');
        rec[0] = 0x01;
        const quint32 hz = 433500000;
        for (int i = 0; i < 4; ++i)
            rec[1 + i] = char(hz >> (8 * i));
        rec[5] = char(0x21); // low nibble 1: FM
        rec[6] = char(0x3A); // low nibble 10: 100KHz
        rec[7] = char(0x40); // 5,000,000 Hz = 0x004C4B40
        rec[8] = char(0x4B);
        rec[9] = char(0x4C);
        rec[11] = char(0x12); // low nibble 2: "-"
        rec[12] = char(0x05); // DCS
        rec[13] = 0;
        rec[14] = 38;
        rec[15] = 5;
        rec[16] = 0;
        rec[19] = char(0x31); // low nibble 1: skipped
        rec[32] = char(0xB1);
        ChannelTable t;
        decodeChannel(rec, t, 1102);
        QCOMPARE(t.text(1102, C::FreqCol), QStringLiteral("433.50000MHz"));
        QCOMPARE(t.text(1102, C::ModeCol), QStringLiteral("FM"));
        QCOMPARE(t.text(1102, C::StepCol), QStringLiteral("100KHz"));
        QCOMPARE(t.stepIndex(1101), quint8(10));
        QCOMPARE(t.text(1102, C::CarrierCol), QStringLiteral("300Hz"));
        QCOMPARE(t.text(1102, C::ToneModeCol), QStringLiteral("DCS"));
        QCOMPARE(t.text(1102, C::TxToneCol), QStringLiteral("67.0Hz"));
        QCOMPARE(t.text(1102, C::RxToneCol), QStringLiteral("250.3Hz"));
        QCOMPARE(t.text(1102, C::DcsCol), QStringLiteral("036"));
        QCOMPARE(t.text(1102, C::ShiftCol), QStringLiteral("-"));
        QCOMPARE(t.text(1102, C::ShiftFreqCol), QStringLiteral("5.000MHz"));
        QCOMPARE(t.text(1102, C::SkipCol), QStringLiteral("*"));
        QCOMPARE(t.text(1102, C::NameCol), QStringLiteral("\uFF71"));
        QCOMPARE(t.storedName(1101), QStringLiteral("\uFF71"));
        QCOMPARE(t.inUse(1101), quint8(1));
    }

    void outOfRangeBytesShowErrorAndAreKept() {
        QRandomGenerator rng(3);
        QByteArray rec = validRecord(rng);
        rec[5] = char(0x07);  // mode 7
        rec[12] = char(0x0C); // tone mode 12
        rec[13] = char(39);
        rec[14] = char(255);
        rec[15] = char(104);
        rec[16] = char(29);
        rec[11] = char(0x09); // shift 9 shows "Off"
        ChannelTable t;
        decodeChannel(rec, t, 20);
        for (int col : {int(C::ModeCol), int(C::ToneModeCol), int(C::TxToneCol), int(C::RxToneCol),
                        int(C::DcsCol), int(C::CarrierCol)})
            QCOMPARE(t.text(20, col), kInvalidCodeText);
        QCOMPARE(t.text(20, C::ShiftCol), QStringLiteral("Off"));
        QCOMPARE(t.txToneIndex(19), quint8(39));
        QCOMPARE(t.rxToneIndex(19), quint8(255));

        // written back unchanged: the same bytes go to the radio
        ChannelRecord r = encodeChannel(t, 20);
        QCOMPARE(r.bytes[5], quint8(0x07));
        QCOMPARE(r.bytes[12], quint8(0x0C));
        QCOMPARE(r.bytes[13], quint8(39));
        QCOMPARE(r.bytes[14], quint8(255));
        QCOMPARE(r.bytes[15], quint8(104));
        QCOMPARE(r.bytes[16], quint8(29));

        // an edited mode replaces the kept byte
        t.setText(20, C::ModeCol, QStringLiteral("AM"));
        QCOMPARE(encodeChannel(t, 20).bytes[5], quint8(2));
        t.setText(20, C::ModeCol, kInvalidCodeText); // e.g. a commit of an undefined mode
        QCOMPARE(encodeChannel(t, 20).bytes[5], quint8(0));
    }

    void randomRecordsNeverFail() {
        QRandomGenerator rng(99);
        ChannelTable t;
        for (int i = 0; i < 20000; ++i) {
            QByteArray rec(int(rng.bounded(81)), '\0');
            for (char &c : rec)
                c = char(rng.bounded(256));
            const int row = int(rng.bounded(1628)) - 2; // some rows outside the table
            decodeChannel(rec, t, row);
            if (row < 1 || row > C::kSlots || t.inUse(row - 1) == 0) continue;
            // every cell shows a table entry or the error mark
            QVERIFY(ct::modeCode(t.text(row, C::ModeCol)) ||
                    t.text(row, C::ModeCol) == kInvalidCodeText);
            QVERIFY(ct::toneIndex(t.text(row, C::TxToneCol)) ||
                    t.text(row, C::TxToneCol) == kInvalidCodeText);
            QVERIFY(ct::dcsIndex(t.text(row, C::DcsCol)) ||
                    t.text(row, C::DcsCol) == kInvalidCodeText);
            QVERIFY(ct::carrierIndex(t.text(row, C::CarrierCol)) ||
                    t.text(row, C::CarrierCol) == kInvalidCodeText);
            QVERIFY(ct::shiftCode(t.text(row, C::ShiftCol)));
            const QString freq = t.text(row, C::FreqCol);
            QVERIFY(freq.endsWith(QLatin1String("MHz")) && freq.size() >= 10 && freq.size() <= 13);
            const ChannelRecord r = encodeChannel(t, row);
            QCOMPARE(r.bytes[18], quint8(0x3E));
            QCOMPARE(r.bytes[20], quint8(0x0A));
            // the frequency survives, rounded to 10 Hz
            if (rec.size() >= 5) {
                const quint32 hz = quint32(quint8(rec[1])) | quint32(quint8(rec[2])) << 8 |
                                   quint32(quint8(rec[3])) << 16 | quint32(quint8(rec[4])) << 24;
                const qint64 diff = qint64(le32(r, 1)) - qint64(hz);
                QVERIFY2(diff >= -5 && diff <= 5, qPrintable(freq));
            }
        }
    }
};

QTEST_GUILESS_MAIN(ChannelRecordTest)
#include "tst_channelrecord.moc"
