// The DTMF memories, the one-touch keys and the opening title: what may be
// typed, their radio bytes, and the one-touch and title transfers against the
// simulated radio.

#include "SimFixture.h"
#include "core/banks/BankTable.h"
#include "core/common/DtmfMemories.h"
#include "core/common/OneTouchTable.h"
#include "core/common/OneTouchTransfer.h"
#include "core/common/OpeningTitle.h"
#include "core/common/TitleTransfer.h"

#include <QtTest>

using namespace kpr5;
using namespace Qt::StringLiterals;
using kpr5::test::SimRig;
using Action = DtmfMemories::KeyAction;

Q_DECLARE_METATYPE(kpr5::DtmfMemories::KeyAction)

namespace {

QByteArray hex(const char *text) {
    return QByteArray::fromHex(text);
}

// Only banks 3 (10 channels) and 7 (990 channels) hold channels.
BankTable::Counts twoBanks() {
    BankTable::Counts counts{};
    counts[3] = 10;
    counts[7] = 990;
    return counts;
}

// The one-touch area with key 0 given by its three bytes, the others unassigned.
QByteArray keys(const char *firstKey = "FF0000") {
    return hex(firstKey) + hex("FF0000").repeated(OneTouchTable::kKeyCount - 1);
}

// Key k on bank list position p, channel c, assigned.
void assign(OneTouchTable &t, int k, int p, int c) {
    t.setUnassigned(k, false);
    QVERIFY(t.selectBank(k, p));
    QVERIFY(t.selectChannel(k, c));
}

} // namespace

class CommonTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dtmfKeys_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QChar>("key");
        QTest::addColumn<Action>("action");
        const QString sixteen = u"0123456789ABCD*#"_s;
        QTest::newRow("digit") << QString() << QChar('5') << Action::Accept;
        QTest::newRow("upper A") << u"1"_s << QChar('A') << Action::Accept;
        QTest::newRow("lower a") << u"1"_s << QChar('a') << Action::Discard;
        QTest::newRow("E") << QString() << QChar('E') << Action::Discard;
        QTest::newRow("backspace") << u"12"_s << QChar(0x08) << Action::Accept;
        QTest::newRow("full: digit") << sixteen << QChar('1') << Action::Discard;
        QTest::newRow("17 pasted") << sixteen + u"1"_s << QChar('1') << Action::Empty;
        QTest::newRow("9 double-byte") << QString(9, QChar(0x3042)) << QChar('1') << Action::Empty;
        QTest::newRow("8 double-byte") << QString(8, QChar(0x3042)) << QChar('1') << Action::Accept;
    }
    void dtmfKeys() {
        QFETCH(QString, text);
        QFETCH(QChar, key);
        QFETCH(Action, action);
        QCOMPARE(DtmfMemories::filterKey(text, key), action);
        QCOMPARE(DtmfMemories::cleaned(u"12*#-ABCD 1a \uFF11\u3042"_s), u"12*#-ABCD1"_s);
    }

    // The radio's 16 bytes of a memory; "<>" both ways, ">" only encoded, "<"
    // only decoded. (Digits and "*#-": the DTMF transfer's documented image.)
    void dtmfMemory_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("way");
        auto row = [](const char *text, const QByteArray &bytes, const char *way) {
            QTest::newRow(text) << QString::fromLatin1(text) << bytes << QString::fromLatin1(way);
        };
        row("", QByteArray(16, 0x11), "<>");
        row("0123456789ABCD*#", hex("000102030405060708090A0B0C0D0E0F"), "<>");
        row("1x2", hex("0102") + QByteArray(14, 0x11), ">"); // pasted, never lost the focus
        row("77777777777777777777", QByteArray(16, 0x07), ">");
        row("1", hex("011102") + QByteArray(13, 0x11), "<");
        row("5", hex("0512FF01") + QByteArray(12, 0x11), "<");
    }
    void dtmfMemory() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, way);
        if (way.endsWith(QLatin1Char('>'))) QCOMPARE(DtmfMemories::encodeMemory(text), bytes);
        if (way.startsWith(QLatin1Char('<'))) QCOMPARE(DtmfMemories::decodeMemory(bytes), text);
    }

    // A timing byte read from the radio gives its list position; a byte
    // outside the list (-1) keeps the position.
    void dtmfTimings() {
        using D = DtmfMemories;
        const struct {
            D::Timing timing;
            int block, offset, byte, position;
        } cases[] = {{D::DialChannel, 2, 48, 0, 0},   {D::DialChannel, 2, 48, 9, 8},
                     {D::DialChannel, 2, 48, 10, -1}, {D::Wait, 0, 0, 11, -1},
                     {D::Head, 0, 1, 23, -1},         {D::Burst, 0, 2, 0xFF, -1}};
        for (const auto &[t, block, offset, byte, position] : cases) {
            DtmfMemories d;
            QVERIFY(d.setTiming(t, 2));
            QByteArray data = d.encodeBlock(block);
            data[offset] = char(byte);
            QVERIFY(d.decodeBlock(block, data));
            QCOMPARE(d.timing(t), position < 0 ? 2 : position);
            QVERIFY(!d.setTiming(t, DtmfMemories::timingOptions(t).size()));
            // A short block or another block number changes nothing.
            QVERIFY(!d.decodeBlock(block, data.left(data.size() - 1)) && !d.decodeBlock(3, data));
        }
    }

    // `RESET_DTMF`: memories empty, Wait 1, Head 5, Burst 5, Pause 2, Dial 0.
    void dtmfReset() {
        DtmfMemories d;
        d.setMemory(3, u"123"_s);
        d.reset();
        QCOMPARE(d.memory(3), QString());
        QList<int> timings;
        for (int t = 0; t < DtmfMemories::kTimingCount; ++t)
            timings << d.timing(DtmfMemories::Timing(t));
        QCOMPARE(timings, (QList<int>{1, 5, 5, 2, 0}));
    }

    // Key 0's bytes read back: unassigned, bank list position, channel position,
    // and whether they are written back as they came.
    void oneTouchCoding_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<int>>("key"); // unassigned, bank position, channel position
        QTest::addColumn<bool>("same");
        QTest::newRow("unassigned") << keys() << QList<int>{1, 0, 0} << true;
        QTest::newRow("bank 3 channel 5") << keys("030500") << QList<int>{0, 0, 5} << true;
        QTest::newRow("bank 7 channel 255") << keys("07FF00") << QList<int>{0, 1, 255} << true;
        QTest::newRow("FF ignores the channel") << keys("FF0700") << QList<int>{1, 0, 0} << false;
        QTest::newRow("third byte ignored") << keys("070955") << QList<int>{0, 1, 9} << false;
        QTest::newRow("empty bank") << keys("050400") << QList<int>{0, 0, 0} << false;
        QTest::newRow("no such bank") << keys("320400") << QList<int>{0, 0, 0} << false;
        QTest::newRow("channel at the count") << keys("030A00") << QList<int>{0, 0, 0} << false;
        QTest::newRow("one byte only") << hex("07") << QList<int>{0, 1, 0} << false;
        QTest::newRow("nothing") << QByteArray() << QList<int>{1, 0, 0} << false;
    }
    void oneTouchCoding() {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<int>, key);
        QFETCH(bool, same);
        BankTable banks;
        banks.setCounts(twoBanks());
        OneTouchTable t;
        t.rebuildLists(banks);
        QCOMPARE(t.bankEntries(), (QStringList{"3", "7"}));
        assign(t, 0, 1, 700); // replaced by what is read
        t.decodeArea(bytes);
        QCOMPARE((QList<int>{t.isUnassigned(0), t.bankPosition(0), t.channelPosition(0)}), key);
        for (int k = 1; k < OneTouchTable::kKeyCount; ++k)
            QVERIFY(t.isUnassigned(k));
        if (same) QCOMPARE(t.encodeArea(), bytes);
    }

    void oneTouchListsFollowTheBanks() {
        BankTable banks;
        banks.setCounts(twoBanks());
        OneTouchTable t;
        t.rebuildLists(banks);
        assign(t, 0, 1, 500);  // bank 7
        assign(t, 1, 0, 9);    // bank 3
        t.selectChannel(2, 4); // bank 3, unassigned
        // Bank 2 gains channels and bank 3 shrinks to 5: bank 7 moves to position 2.
        banks.setCount(2, 5);
        banks.setCount(3, 5);
        t.rebuildLists(banks);
        QCOMPARE(t.bankEntries(), (QStringList{"2", "3", "7"}));
        QCOMPARE(t.bankNumber(0), 7);
        QCOMPARE(t.channelPosition(0), 500);
        QCOMPARE(t.bankNumber(1), 3);
        QCOMPARE(t.channelPosition(1), 0); // 9 is beyond the new count
        QCOMPARE(t.channelPosition(2), 4);
        QVERIFY(t.isUnassigned(2));
        // Bank 7 becomes empty: its key goes to position 0, channel 0, still assigned.
        banks.setCount(7, 0);
        banks.setCount(9, 990);
        t.rebuildLists(banks);
        QCOMPARE(t.encodeArea().left(3), hex("020000"));
        QVERIFY(!t.isUnassigned(0));
    }

    // A key that cannot be written is named, and never written as another channel.
    void unwritableKeys() {
        BankTable banks;
        banks.setCounts(twoBanks());
        OneTouchTable t;
        t.rebuildLists(banks);
        assign(t, 4, 1, 300);
        QVERIFY(t.unwritableReason().contains(u"key 5"_s));
        QCOMPARE(t.encodeArea().mid(12, 3), hex("FF0000")); // 300 would be 0x2C in one byte
        t.setUnassigned(4, true);
        QVERIFY(t.unwritableReason().isEmpty());
        banks.setCounts({}); // no bank holds channels
        t.rebuildLists(banks);
        t.setUnassigned(6, false);
        QVERIFY(t.unwritableReason().contains(u"key 7"_s));
        QCOMPARE(t.encodeArea(), keys());

        // The write refuses before it starts.
        SimRig rig;
        QVERIFY(!succeeded(writeOneTouch(t, rig.link, rig.host)));
        QCOMPARE(rig.host.texts(), QStringList{u"Error| Error"_s});
        QVERIFY(rig.host.messages[0].detail.contains(u"key 7"_s));
        QCOMPARE(rig.radio.frameCount(), 0);
        QCOMPARE(rig.host.started, 0);
    }

    void oneTouchTransfers() {
        SimRig rig;
        QByteArray image(sim::kImageSize, '\x5A');
        rig.radio.setImage(image);
        BankTable banks;
        banks.setCounts(twoBanks());
        OneTouchTable t;
        t.rebuildLists(banks);
        assign(t, 0, 0, 5);
        assign(t, 3, 1, 200);
        QVERIFY(succeeded(writeOneTouch(t, rig.link, rig.host)));
        QCOMPARE(rig.host.texts(), QStringList{u"Success| Finish"_s});
        QCOMPARE(rig.host.progressValues, (QList<int>{50, 100}));
        QByteArray area = keys("030500");
        area.replace(9, 3, hex("07C800"));
        QCOMPARE(rig.radio.frames().last(), "QX~F00180W" + area.toHex().toUpper());
        image.replace(0x180, 27, area);
        QCOMPARE(rig.radio.image(), image);

        // Read back into a table whose lists still show the default banks:
        // the radio's bank numbers are looked up among the banks as they are now.
        OneTouchTable back;
        QVERIFY(succeeded(readOneTouch(back, banks, rig.link, rig.host)));
        QCOMPARE(rig.radio.frames().last(), QByteArray("QX~F00180R"));
        QCOMPARE(back.bankEntries(), (QStringList{"3", "7"}));
        QCOMPARE(back.encodeArea(), area);
    }

    // Only the high digit of the setting byte counts: 1 is ON.
    void titleSettingByte() {
        for (const auto &[byte, moving] : std::initializer_list<std::pair<int, int>>{
                 {0x11, 1}, {0x1F, 1}, {0x01, 0}, {0x21, 0}}) {
            OpeningTitle t;
            t.setOpeningMoving(1 - moving);
            QByteArray data(64, '\x11');
            data[32] = char(byte);
            QVERIFY(t.decodeArea(data));
            QCOMPARE(t.openingMoving(), moving);
            QVERIFY(!t.decodeArea(data.left(32))); // too short: no change
            QCOMPARE(t.openingMoving(), moving);
        }
    }

    // Measured in the radio's 16 slots after dropping what the set does not
    // hold (the lengths themselves: tst_fileedges' names from files).
    void titleFromAFile_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("cut");
        QTest::newRow("tokens") << u":1~AB:8~"_s << u":1~AB:8~"_s << false;
        QTest::newRow("kanji outside the set") << u"A亜B"_s << u"AB"_s << false;
        QTest::newRow("cut after a whole token")
            << u"ABCDEFGHIJKLMNO:2~Q"_s << u"ABCDEFGHIJKLMNO:2~"_s << true;
        QTest::newRow("16 after dropping")
            << u"ABCDEFGHIJKLMNO亜P"_s << u"ABCDEFGHIJKLMNOP"_s << false;
    }
    void titleFromAFile() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(bool, cut);
        OpeningTitle t;
        t.setDisplayText(u"old"_s);
        bool wasCut = !cut;
        t.setFromFile(text, &wasCut);
        QCOMPARE(wasCut, cut);
        QCOMPARE(t.displayText(), shown);
    }

    // The title and its setting as the radio holds them (34 bytes), written
    // and read back.
    void titleTransfers_data() {
        QTest::addColumn<QString>("display");
        QTest::addColumn<int>("moving");
        QTest::addColumn<QByteArray>("bytes");
        auto row = [](const char *tag, const QString &display, int moving, const char *hexBytes) {
            QTest::newRow(tag) << display << moving
                               << hex(hexBytes).leftJustified(32, '\0') +
                                      QByteArray(2, char(0x11 * moving));
        };
        row("empty, OFF", QString(), 0, "");
        row("HELLO, ON", u"HELLO"_s, 1, "480045004C004C004F00");
        row("user characters", u":2~Z:3~"_s, 0, "41875A004287");
        row("hiragana, katakana", u"\u3042\uFF71"_s, 0, "A082B100");
        row("16 characters, token last", u"ABCDEFGHIJKLMNO:8~"_s, 0,
            "4100420043004400450046004700480049004A004B004C004D004E004F004787");
    }
    void titleTransfers() {
        QFETCH(QString, display);
        QFETCH(int, moving);
        QFETCH(QByteArray, bytes);
        SimRig rig;
        QByteArray image(sim::kImageSize, '\x5A');
        rig.radio.setImage(image);
        OpeningTitle t;
        t.setDisplayText(display);
        t.setOpeningMoving(moving);
        QVERIFY(succeeded(writeTitle(t, rig.link, rig.host)));
        QCOMPARE(rig.host.texts(), QStringList{u"Success| Finish"_s});
        QCOMPARE(rig.host.percents, (QList<int>{50, 100, 0}));
        QCOMPARE(rig.radio.frames().last(), "QX~F001A0W" + bytes.toHex().toUpper());
        image.replace(0x1A0, 34, bytes);
        QCOMPARE(rig.radio.image(), image);

        OpeningTitle back;
        QVERIFY(succeeded(readTitle(back, rig.link, rig.host)));
        QCOMPARE(rig.radio.frames().last(), QByteArray("QX~F001A0R"));
        QCOMPARE(back.displayText(), display);
        QCOMPARE(back.storedTitle(), t.storedTitle());
        QCOMPARE(back.openingMoving(), moving);
    }
};

QTEST_GUILESS_MAIN(CommonTest)
#include "tst_common.moc"
