// The channel record: the frequency and shift texts, a row decoded from and
// encoded to the radio's 64 bytes, and the bytes the program keeps or rewrites.

#include "Records.h"
#include "core/channels/ChannelRecord.h"
#include "core/channels/ChannelTable.h"

#include <QtTest>

using namespace kpr5;
using namespace kpr5::channeltext;
using C = kpr5::ChannelTable;
using kpr5::test::Record;

using kpr5::test::rowTexts;

class ChannelRecordTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void frequencyText() {
        const std::pair<quint32, const char *> cases[] = {
            {145000000u, "145.00000MHz"},  {1295000000u, "1295.00000MHz"},
            {118008325u, "118.00832MHz"}, // a tie rounds to even, down
            {118008335u, "118.00834MHz"}, // and up
            {118008326u, "118.00833MHz"},  {50000000u, "50.00000MHz"},
            {50000u, "0.05000MHz"},        {0u, "0.00000MHz"},
            {0xFFFFFFFFu, "4294.96730MHz"}}; // beyond 32 bits when read back
        for (const auto &[hz, text] : cases) {
            QCOMPARE(channeltext::frequencyText(hz), QLatin1String(text));
            const quint64 back =
                QString::fromLatin1(text).remove('.').chopped(3).toULongLong() * 10;
            QCOMPARE(frequencyHz(QLatin1String(text)), back > 0xFFFFFFFFu ? 0u : quint32(back));
        }
    }

    void malformedTexts() {
        for (const char *text : {"", "145.000MHz", "12950.00000MHz", "1a5.00000MHz"})
            QCOMPARE(frequencyHz(QLatin1String(text)), 0u);
        for (quint32 hz : {0u, 600000u, 5000000u, 10000000u, 999995000u})
            QCOMPARE(shiftAmountHz(shiftAmountText(hz)), std::optional<quint32>(hz));
        QCOMPARE(shiftAmountText(600999), QStringLiteral("0.600MHz"));
        QCOMPARE(shiftAmountText(10000000), QStringLiteral("10.000MHz"));
        for (const char *text : {"", "1000.000MHz", "0.6x0MHz"})
            QCOMPARE(shiftAmountHz(QLatin1String(text)), std::nullopt);
    }

    // Only the low nibble of the in-use, mode, step, shift and skip bytes counts.
    void decodeARecord() {
        Record clean(433500000);
        clean.mode(1).step(10).shift(2, 5000000).toneMode(5).tones(0, 38).dcs(5).carrier(0);
        clean.skip().nameField(QByteArray("\xB1\x00", 2));
        const QByteArray nibbles =
            Record(clean).set(0, 0x11).set(5, 0x21).set(6, 0x3A).set(11, 0x12).set(19, 0x31);
        C t;
        decodeChannel(nibbles, t, 1102);
        QCOMPARE(rowTexts(t, 1102), QStringLiteral("433.50000MHz|FM|100KHz|300Hz|DCS|67.0Hz|"
                                                   "250.3Hz|036|-|5.000MHz|*|\uFF71"));
        QCOMPARE(t.inUse(1101), quint8(1));
        QCOMPARE(t.stepIndex(1101), quint8(10));
        QCOMPARE(t.storedName(1101), QStringLiteral("\uFF71"));
        QCOMPARE(encodeChannel(t, 1102).toByteArray(), clean.bytes());
    }

    void encodeRules_data() {
        QTest::addColumn<QStringList>("texts"); // frequency, mode, tone mode, shift, amount
        QTest::addColumn<QList<uint>>("bytes"); // Hz, mode, tone mode, shift, amount
        auto row = [](const char *tag, const char *texts, QList<uint> bytes) {
            QTest::newRow(tag) << QString::fromUtf8(texts).split(QLatin1Char('|')) << bytes;
        };
        row("0.600MHz with +", "145.00000MHz|FM|None|+|0.600MHz", {145000000, 1, 0, 1, 600000});
        row("10.000MHz with -", "145.00000MHz|AM|TSQ|-|10.000MHz", {145000000, 2, 3, 2, 10000000});
        row("empty amount with +", "145.00000MHz|FM|None|+|", {145000000, 1, 0, 0, 0});
        row("long amount with -", "145.00000MHz|FM|None|-|1000.000MHz", {145000000, 1, 0, 0, 0});
        row("unknown shift text", "145.00000MHz|FM|None|plus|0.600MHz",
            {145000000, 1, 0, 0, 600000});
        row("unknown texts", "145MHz|USB|CTCSS|Off|0.000MHz", {0, 0, 0, 0, 0});
    }
    void encodeRules() {
        QFETCH(QStringList, texts);
        QFETCH(QList<uint>, bytes);
        C t;
        decodeChannel(Record(), t, 1);
        const int columns[] = {C::FreqCol, C::ModeCol, C::ToneModeCol, C::ShiftCol,
                               C::ShiftFreqCol};
        for (int i = 0; i < 5; ++i)
            t.setText(1, columns[i], texts[i]);
        QByteArray want = Record(bytes[0]).mode(int(bytes[1])).toneMode(int(bytes[2]));
        test::put32(want, 7, bytes[4]);
        want[11] = char(bytes[3]);
        QCOMPARE(encodeChannel(t, 1).toByteArray().toHex(' '), want.toHex(' '));
    }

    // An empty slot is written as zeros, so that writing deletes the radio's channel.
    void emptySlotAndOutsideRowsEncodeAsZeros() {
        C t;
        decodeChannel(Record(), t, 500);
        t.setInUse(499, 0); // texts stay, the slot is empty
        for (int row : {500, 0, 1625})
            QCOMPARE(encodeChannel(t, row).toByteArray(), QByteArray(64, '\0'));
    }

    // Row 1401 holds the VHF call channel: its texts stay when it reads as empty.
    void inUseIsTheLowNibble() {
        for (const auto &[byte0, inUse] :
             {std::pair{0x00, false}, {0x10, false}, {0x11, true}, {0x08, true}}) {
            C t;
            const QString before = rowTexts(t, 1401);
            decodeChannel(Record(146000000).carrier(3).set(0, byte0), t, 1401);
            QCOMPARE(t.inUse(1400), quint8(inUse));
            QCOMPARE(rowTexts(t, 1401) == before, !inUse);
        }
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
