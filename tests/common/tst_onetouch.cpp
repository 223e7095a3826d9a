// The one-touch keys: the coding of the radio's 27 bytes against the list of
// non-empty banks, the list rebuild, the data file's setters, and both
// transfers against the simulated radio.

#include "SimFixture.h"
#include "core/banks/BankTable.h"
#include "core/common/OneTouchTable.h"
#include "core/common/OneTouchTransfer.h"

#include <QtTest>

using namespace kpr5;
using kpr5::test::RecordingHost;

namespace {

// Only banks 3 (10 channels) and 7 (990 channels) hold channels.
BankTable::Counts twoBanks() {
    BankTable::Counts counts{};
    counts[3] = 10;
    counts[7] = 990;
    return counts;
}

// Key 0 given by its three bytes (hexadecimal), the other keys unassigned.
QByteArray area(const char *firstKey = "FF0000") {
    QByteArray out = QByteArray::fromHex(firstKey);
    for (int k = 1; k < OneTouchTable::kKeyCount; ++k)
        out += QByteArray::fromHex("FF0000");
    return out;
}

// Key k on bank list position p, channel c, assigned.
void assign(OneTouchTable &t, int k, int p, int c) {
    t.setUnassigned(k, false);
    QVERIFY(t.selectBank(k, p));
    QVERIFY(t.selectChannel(k, c));
}

} // namespace

class OneTouchTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void coding_data();
    void coding();
    void rebuildKeepsChoicesWherePossible();
    void fileSettersFollowTheReader();
    void unwritableKeysAreNamed();
    void transfersMoveOnlyTheOneTouchBytes();
    void refusedAndFailedTransfers();

private:
    BankTable m_banks;
};

void OneTouchTest::init() {
    m_banks.setCounts(twoBanks());
}

void OneTouchTest::coding_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("unassigned");
    QTest::addColumn<int>("bank");    // list position read back
    QTest::addColumn<int>("channel"); // channel position read back
    QTest::addColumn<bool>("same");   // written back unchanged

    QTest::newRow("unassigned") << area() << true << 0 << 0 << true;
    QTest::newRow("bank 3 channel 5") << area("030500") << false << 0 << 5 << true;
    QTest::newRow("bank 7 channel 255") << area("07FF00") << false << 1 << 255 << true;
    QTest::newRow("FF ignores the channel") << area("FF0700") << true << 0 << 0 << false;
    QTest::newRow("third byte ignored") << area("070955") << false << 1 << 9 << false;
    QTest::newRow("empty bank") << area("050400") << false << 0 << 0 << false;
    QTest::newRow("no such bank") << area("320400") << false << 0 << 0 << false;
    QTest::newRow("channel at the count") << area("030A00") << false << 0 << 0 << false;
    QTest::newRow("one byte only") << QByteArray::fromHex("07") << false << 1 << 0 << false;
    QTest::newRow("nothing") << QByteArray() << true << 0 << 0 << false;
}

void OneTouchTest::coding() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, unassigned);
    QFETCH(int, bank);
    QFETCH(int, channel);
    QFETCH(bool, same);

    OneTouchTable t;
    t.rebuildLists(m_banks);
    QCOMPARE(t.bankEntries(), (QStringList{"3", "7"}));
    assign(t, 0, 1, 700); // replaced by what is read
    t.decodeArea(bytes);
    QCOMPARE(t.isUnassigned(0), unassigned);
    QCOMPARE(t.bankPosition(0), bank);
    QCOMPARE(t.channelPosition(0), channel);
    for (int k = 1; k < OneTouchTable::kKeyCount; ++k)
        QVERIFY(t.isUnassigned(k));
    if (same) QCOMPARE(t.encodeArea(), bytes);
}

void OneTouchTest::rebuildKeepsChoicesWherePossible() {
    OneTouchTable t;
    t.rebuildLists(m_banks);
    assign(t, 0, 1, 500);  // bank 7
    assign(t, 1, 0, 9);    // bank 3
    t.selectChannel(2, 4); // bank 3, unassigned

    // Bank 2 gains channels and bank 3 shrinks to 5: bank 7 moves to position 2.
    m_banks.setCount(2, 5);
    m_banks.setCount(3, 5);
    t.rebuildLists(m_banks);
    QCOMPARE(t.bankEntries(), (QStringList{"2", "3", "7"}));
    QCOMPARE(t.bankNumber(0), 7);
    QCOMPARE(t.channelPosition(0), 500);
    QCOMPARE(t.bankNumber(1), 3);
    QCOMPARE(t.channelPosition(1), 0); // 9 is beyond the new count
    QCOMPARE(t.channelPosition(2), 4);
    QVERIFY(t.isUnassigned(2));

    // Bank 7 becomes empty: its key goes to position 0, channel 0, still assigned.
    m_banks.setCount(7, 0);
    m_banks.setCount(9, 990);
    t.rebuildLists(m_banks);
    QCOMPARE(t.bankPosition(0), 0);
    QCOMPARE(t.channelPosition(0), 0);
    QVERIFY(!t.isUnassigned(0));
    QCOMPARE(t.encodeArea().left(3), QByteArray::fromHex("020000"));
}

void OneTouchTest::fileSettersFollowTheReader() {
    OneTouchTable t;
    t.rebuildLists(m_banks);
    t.setBankFromFile(0, 7); // a bank number
    t.setChannelFromFile(0, 989);
    QCOMPARE(t.bankPosition(0), 1);
    QCOMPARE(t.channelPosition(0), 989);
    QVERIFY(!t.isUnassigned(0));

    t.setBankFromFile(0, 3); // 989 is beyond bank 3
    QCOMPARE(t.channelPosition(0), 0);
    t.setChannelFromFile(0, 10);
    QCOMPARE(t.channelPosition(0), 0);

    t.setBankFromFile(1, 5); // not in the list: assigned, positions kept
    QVERIFY(!t.isUnassigned(1));
    QCOMPARE(t.bankPosition(1), 0);

    t.setBankFromFile(0, OneTouchTable::kFileUnassigned);
    QVERIFY(t.isUnassigned(0));
    QCOMPARE(t.bankPosition(0), 0);
    t.setBankFromFile(9, 7); // no such key
}

void OneTouchTest::unwritableKeysAreNamed() {
    OneTouchTable t;
    t.rebuildLists(m_banks);
    assign(t, 4, 1, 300);
    QVERIFY(t.unwritableReason().contains(QStringLiteral("key 5")));
    // Never a wrong channel: 300 would be 0x2C in one byte.
    QCOMPARE(t.encodeArea().mid(12, 3), QByteArray::fromHex("FF0000"));
    t.setUnassigned(4, true);
    QVERIFY(t.unwritableReason().isEmpty());

    // Assigned while no bank holds channels.
    m_banks.setCounts(BankTable::Counts{});
    t.rebuildLists(m_banks);
    QVERIFY(t.bankEntries().isEmpty());
    t.setUnassigned(6, false);
    QVERIFY(t.unwritableReason().contains(QStringLiteral("key 7")));
    QCOMPARE(t.encodeArea(), area());
}

void OneTouchTest::transfersMoveOnlyTheOneTouchBytes() {
    sim::RadioSimulator radio;
    SerialLink link;
    test::connectLink(link, radio);
    QByteArray before(sim::kImageSize, '\x5A');
    radio.setImage(before);

    OneTouchTable t;
    t.rebuildLists(m_banks);
    assign(t, 0, 0, 5);
    assign(t, 3, 1, 200);
    RecordingHost host;
    QVERIFY(succeeded(writeOneTouch(t, link, host)));
    QCOMPARE(host.texts(), QStringList{"Success| Finish"});
    QCOMPARE(host.progressValues, (QList<int>{50, 100}));
    QByteArray expected = area("030500");
    expected.replace(9, 3, QByteArray::fromHex("07C800"));
    QCOMPARE(radio.frames().last(), QByteArray("QX~F00180W") + expected.toHex().toUpper());
    before.replace(0x180, 27, expected);
    QCOMPARE(radio.image(), before);

    // Read back into a table whose lists still show the default banks 0-9:
    // the radio's bank numbers are looked up among the banks as they are now.
    OneTouchTable back;
    Sequence wholeRadio(link, host); // as a step of the whole-radio read: no "Success"
    QVERIFY(succeeded(wholeRadio.step(QStringLiteral("one-touch keys"),
                                      [&] { return readOneTouch(back, m_banks, link, host); })));
    QCOMPARE(host.messages.size(), 1);
    QCOMPARE(radio.frames().last(), QByteArray("QX~F00180R"));
    QCOMPARE(back.bankEntries(), (QStringList{"3", "7"}));
    QCOMPARE(back.encodeArea(), expected);
    QVERIFY(!link.busy());
}

void OneTouchTest::refusedAndFailedTransfers() {
    sim::RadioSimulator radio;
    SerialLink link;
    test::connectLink(link, radio, 150);
    OneTouchTable t;
    t.rebuildLists(m_banks);
    assign(t, 8, 1, 256);

    RecordingHost host;
    QVERIFY(!succeeded(writeOneTouch(t, link, host)));
    QCOMPARE(host.texts(), QStringList{"Error| Error"});
    QVERIFY(host.messages[0].detail.contains(QStringLiteral("key 9")));
    QCOMPARE(radio.frameCount(), 0);
    QCOMPARE(host.started, 0);

    // A silent radio: three identification attempts, then "Error"; the keys
    // and lists stay as they were.
    radio.setOptions([] {
        sim::SimOptions o;
        o.silent = true;
        return o;
    }());
    host = RecordingHost();
    QVERIFY(!succeeded(readOneTouch(t, BankTable(), link, host)));
    QCOMPARE(host.texts(), QStringList{"Error| Error"});
    QCOMPARE(radio.frameCount(), 3);
    QCOMPARE(t.bankEntries(), (QStringList{"3", "7"}));
    QCOMPARE(t.channelPosition(8), 256);
    QVERIFY(!link.busy());

    test::OtherTransfer busy(link, host); // another transfer runs: nothing happens
    QVERIFY(!succeeded(writeOneTouch(OneTouchTable(), link, host)));
    QCOMPARE(radio.frameCount(), 3);
}

QTEST_MAIN(OneTouchTest)
#include "tst_onetouch.moc"
