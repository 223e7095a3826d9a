// The one-touch keys: their lists, the coding of the radio's 27 bytes, the
// data file's setters, and both transfers against the simulated radio.

#include "banks/BankTable.h"
#include "common/OneTouchTable.h"
#include "common/OneTouchTransfer.h"
#include "SimFixture.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace kpr5;
using kpr5::sim::RadioSimulator;
using kpr5::sim::SimOptions;
using kpr5::test::RecordingHost;

namespace {

constexpr int kFirst = 0x180;
constexpr int kLast = 0x19A;

// Only banks 3 (10 channels) and 7 (990 channels) hold channels.
void twoBanks(BankTable &banks)
{
    BankTable::Counts counts{};
    counts[3] = 10;
    counts[7] = 990;
    banks.setCounts(counts);
}

QByteArray unassignedArea()
{
    QByteArray out;
    for (int k = 0; k < OneTouchTable::kKeyCount; ++k)
        out += QByteArray::fromHex("FF0000");
    return out;
}

// Key 0 given by its three bytes, the other keys unassigned.
QByteArray firstKey(const QByteArray &hex)
{
    QByteArray area = unassignedArea();
    area.replace(0, 3, QByteArray::fromHex(hex));
    return area;
}

struct KeyState {
    bool unassigned;
    int bank;
    int channel;
};

KeyState state(const OneTouchTable &t, int key)
{
    return {t.isUnassigned(key), t.bankPosition(key), t.channelPosition(key)};
}

QByteArray noise()
{
    QRandomGenerator gen(0x0170);
    QByteArray image(sim::kImageSize, '\0');
    for (char &c : image)
        c = char(gen.bounded(256));
    return image;
}

} // namespace

class OneTouchTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void unassignedKeysAreWrittenAsFF();
    void assignedKeyIsWrittenAsBankAndChannel();
    void decodeSelectsPositions_data();
    void decodeSelectsPositions();
    void rebuildKeepsChoicesWherePossible();
    void choosingABankStartsAtChannelZero();
    void fileSettersFollowTheReader();
    void channelAbove255CannotBeWritten();
    void assignedKeyWithoutAnyBankCannotBeWritten();

    void readDecodesAgainstTheCurrentBanks();
    void writeChangesOnlyTheOneTouchArea();
    void refusedWriteSendsNothing();
    void silentRadioEndsWithErrorAndKeepsTheKeys();
    void quietStepShowsNoSuccess();

private:
    std::unique_ptr<RadioSimulator> m_radio;
    std::unique_ptr<SerialLink> m_link;
    RecordingHost m_host;
    QByteArray m_before;
};

void OneTouchTest::init()
{
    m_radio = std::make_unique<RadioSimulator>();
    QString error;
    QVERIFY2(m_radio->start(&error), qPrintable(error));
    m_before = noise();
    m_radio->setImage(m_before);
    m_link = std::make_unique<SerialLink>();
    m_link->setDevicePath(m_radio->portPath());
    m_host = RecordingHost();
}

void OneTouchTest::cleanup()
{
    m_link.reset();
    m_radio.reset();
}

void OneTouchTest::unassignedKeysAreWrittenAsFF()
{
    OneTouchTable t;
    QCOMPARE(t.encodeArea(), unassignedArea());
    // Reset brings a key back to unassigned, bank and channel "0".
    t.setUnassigned(2, false);
    t.selectBank(2, 4);
    t.selectChannel(2, 17);
    t.reset();
    QCOMPARE(t.encodeArea(), unassignedArea());
    QCOMPARE(t.bankPosition(2), 0);
    QCOMPARE(t.channelPosition(2), 0);
}

void OneTouchTest::assignedKeyIsWrittenAsBankAndChannel()
{
    BankTable banks;
    twoBanks(banks);
    OneTouchTable t;
    t.rebuildLists(banks);
    QCOMPARE(t.bankEntries(), (QStringList{"3", "7"}));
    t.setUnassigned(0, false);
    QVERIFY(t.selectBank(0, 0));
    QVERIFY(t.selectChannel(0, 5));
    t.setUnassigned(8, false);
    QVERIFY(t.selectBank(8, 1));
    QVERIFY(t.selectChannel(8, 255));

    QByteArray expected = firstKey("030500");
    expected.replace(24, 3, QByteArray::fromHex("07FF00"));
    QCOMPARE(t.encodeArea(), expected);

    // ... and back.
    OneTouchTable back;
    back.rebuildLists(banks);
    back.decodeArea(expected);
    QCOMPARE(back.bankEntries().at(back.bankPosition(0)), QStringLiteral("3"));
    QCOMPARE(back.channelEntries(0).at(back.channelPosition(0)), QStringLiteral("5"));
    QVERIFY(!back.isUnassigned(0));
    QCOMPARE(back.bankNumber(8), 7);
    QCOMPARE(back.channelPosition(8), 255);
    QVERIFY(back.isUnassigned(4));
}

void OneTouchTest::decodeSelectsPositions_data()
{
    QTest::addColumn<QByteArray>("area");
    QTest::addColumn<bool>("unassigned");
    QTest::addColumn<int>("bank");
    QTest::addColumn<int>("channel");

    QTest::newRow("FF ignores the channel byte") << firstKey("FF0700") << true << 0 << 0;
    QTest::newRow("bank 7 channel 9") << firstKey("070900") << false << 1 << 9;
    QTest::newRow("third byte ignored") << firstKey("070955") << false << 1 << 9;
    QTest::newRow("empty bank") << firstKey("050400") << false << 0 << 0;
    QTest::newRow("bank beyond 49") << firstKey("320400") << false << 0 << 0;
    QTest::newRow("channel at the count") << firstKey("030A00") << false << 0 << 0;
    QTest::newRow("channel beyond the count") << firstKey("03FF00") << false << 0 << 0;
    QTest::newRow("last channel") << firstKey("030900") << false << 0 << 9;
    QTest::newRow("one byte only") << QByteArray::fromHex("07") << false << 1 << 0;
    QTest::newRow("nothing") << QByteArray() << true << 0 << 0;
}

void OneTouchTest::decodeSelectsPositions()
{
    QFETCH(QByteArray, area);
    QFETCH(bool, unassigned);
    QFETCH(int, bank);
    QFETCH(int, channel);

    BankTable banks;
    twoBanks(banks);
    OneTouchTable t;
    t.rebuildLists(banks);
    // Whatever the key showed before is replaced.
    t.setUnassigned(0, !unassigned);
    t.selectBank(0, 1);
    t.selectChannel(0, 700);

    t.decodeArea(area);
    QCOMPARE(t.isUnassigned(0), unassigned);
    QCOMPARE(t.bankPosition(0), bank);
    QCOMPARE(t.channelPosition(0), channel);
    for (int k = 1; k < OneTouchTable::kKeyCount; ++k)
        QVERIFY(t.isUnassigned(k));
}

void OneTouchTest::rebuildKeepsChoicesWherePossible()
{
    BankTable banks;
    twoBanks(banks);
    OneTouchTable t;
    t.rebuildLists(banks);
    // Key 0 on bank 7 channel 500, key 1 on bank 3 channel 9, key 2 on bank 3
    // channel 4 but unassigned.
    t.setUnassigned(0, false);
    t.selectBank(0, 1);
    t.selectChannel(0, 500);
    t.setUnassigned(1, false);
    t.selectChannel(1, 9);
    t.selectChannel(2, 4);
    QSignalSpy rebuilt(&t, &OneTouchTable::listsRebuilt);

    // Bank 2 gains channels and bank 3 shrinks to 5: bank 7 moves to position 2.
    banks.setCount(2, 5);
    banks.setCount(3, 5);
    t.rebuildLists(banks);
    QCOMPARE(rebuilt.count(), 1);
    QCOMPARE(t.bankEntries(), (QStringList{"2", "3", "7"}));
    QCOMPARE(t.bankNumber(0), 7);
    QCOMPARE(t.channelPosition(0), 500);
    QCOMPARE(t.bankNumber(1), 3);
    QCOMPARE(t.channelPosition(1), 0); // 9 is beyond the new count
    QCOMPARE(t.bankNumber(2), 3);
    QCOMPARE(t.channelPosition(2), 4);
    QVERIFY(!t.isUnassigned(0));
    QVERIFY(t.isUnassigned(2));

    // Bank 7 becomes empty: its key goes to position 0, channel 0, still assigned.
    banks.setCount(7, 0);
    banks.setCount(9, 990);
    t.rebuildLists(banks);
    QCOMPARE(t.bankEntries(), (QStringList{"2", "3", "9"}));
    QCOMPARE(t.bankPosition(0), 0);
    QCOMPARE(t.channelPosition(0), 0);
    QVERIFY(!t.isUnassigned(0));
    QCOMPARE(t.channelEntries(0).size(), 5);
}

void OneTouchTest::choosingABankStartsAtChannelZero()
{
    BankTable banks;
    twoBanks(banks);
    OneTouchTable t;
    t.rebuildLists(banks);
    t.selectBank(3, 1);
    t.selectChannel(3, 800);
    QCOMPARE(t.channelEntries(3).size(), 990);
    QVERIFY(t.selectBank(3, 1)); // the same bank again
    QCOMPARE(t.channelPosition(3), 0);
    QVERIFY(!t.selectBank(3, 2));
    QVERIFY(!t.selectBank(3, -1));
    QVERIFY(!t.selectChannel(3, 990));
    QCOMPARE(t.bankPosition(3), 1);
    QVERIFY(!t.selectChannel(9, 0));
    QVERIFY(t.isUnassigned(9));
}

void OneTouchTest::fileSettersFollowTheReader()
{
    BankTable banks;
    twoBanks(banks);
    OneTouchTable t;
    t.rebuildLists(banks);

    // A bank number, looked up in the list; then the channel.
    t.setBankFromFile(0, 7);
    t.setChannelFromFile(0, 989);
    QCOMPARE(state(t, 0).unassigned, false);
    QCOMPARE(t.bankPosition(0), 1);
    QCOMPARE(t.channelPosition(0), 989);

    // Another bank whose count the old channel exceeds: the channel goes back to 0.
    t.setBankFromFile(0, 3);
    QCOMPARE(t.bankPosition(0), 0);
    QCOMPARE(t.channelPosition(0), 0);
    t.setChannelFromFile(0, 10); // not below the count of bank 3
    QCOMPARE(t.channelPosition(0), 0);
    t.setChannelFromFile(0, 9);
    QCOMPARE(t.channelPosition(0), 9);

    // A bank that is not in the list assigns the key and keeps its positions.
    t.setBankFromFile(1, 5);
    QCOMPARE(t.isUnassigned(1), false);
    QCOMPARE(t.bankPosition(1), 0);

    // 255: unassigned, both lists at their first entry.
    t.setBankFromFile(0, OneTouchTable::kFileUnassigned);
    QVERIFY(t.isUnassigned(0));
    QCOMPARE(t.bankPosition(0), 0);
    QCOMPARE(t.channelPosition(0), 0);

    // Keys outside 0..8 are ignored.
    t.setBankFromFile(9, 7);
    t.setChannelFromFile(-1, 3);
}

void OneTouchTest::channelAbove255CannotBeWritten()
{
    BankTable banks;
    twoBanks(banks);
    OneTouchTable t;
    t.rebuildLists(banks);
    t.setUnassigned(4, false);
    t.selectBank(4, 1);
    t.selectChannel(4, 300);
    const QString reason = t.unwritableReason();
    QVERIFY(reason.contains(QStringLiteral("key 5")));
    QVERIFY(reason.contains(QStringLiteral("300")));
    // Never a wrong channel: 300 would be 0x2C in one byte.
    QCOMPARE(t.encodeArea().mid(12, 3), QByteArray::fromHex("FF0000"));

    // Unassigned, the same choice is no obstacle.
    t.setUnassigned(4, true);
    QVERIFY(t.unwritableReason().isEmpty());
}

void OneTouchTest::assignedKeyWithoutAnyBankCannotBeWritten()
{
    BankTable banks;
    banks.setCounts(BankTable::Counts{});
    OneTouchTable t;
    t.rebuildLists(banks);
    QVERIFY(t.bankEntries().isEmpty());
    QVERIFY(t.channelEntries(0).isEmpty());
    QVERIFY(t.unwritableReason().isEmpty());
    t.setUnassigned(6, false);
    QVERIFY(t.unwritableReason().contains(QStringLiteral("key 7")));
    QCOMPARE(t.encodeArea(), unassignedArea());
    // Reading an assigned key finds no bank: position 0, channel 0.
    t.decodeArea(firstKey("030500"));
    QCOMPARE(state(t, 0).unassigned, false);
    QCOMPARE(t.bankNumber(0), -1);
}

// --- transfers ------------------------------------------------------------------

void OneTouchTest::readDecodesAgainstTheCurrentBanks()
{
    QByteArray area = firstKey("030500");
    area.replace(3, 3, QByteArray::fromHex("070900"));
    m_radio->write(kFirst, area);
    BankTable banks;
    twoBanks(banks);
    OneTouchTable t; // lists still from the default banks 0-9

    QVERIFY(readOneTouch(t, banks, *m_link, m_host));
    QCOMPARE(m_host.texts(), QStringList{"Success| Finish"});
    QCOMPARE(m_host.progressValues, (QList<int>{50, 100}));
    QCOMPARE(m_host.percents, (QList<int>{50, 100, 0}));
    QCOMPARE(m_link->state.transferBusy, 0);
    QCOMPARE(t.bankEntries(), (QStringList{"3", "7"}));
    QCOMPARE(t.bankPosition(0), 0);
    QCOMPARE(t.channelPosition(0), 5);
    QCOMPARE(t.bankPosition(1), 1);
    QCOMPARE(t.channelPosition(1), 9);
    QVERIFY(t.isUnassigned(2));
    QCOMPARE(m_radio->frames().last(), QByteArray("QX~F00180R"));
}

void OneTouchTest::writeChangesOnlyTheOneTouchArea()
{
    BankTable banks;
    twoBanks(banks);
    OneTouchTable t;
    t.rebuildLists(banks);
    t.setUnassigned(0, false);
    t.selectChannel(0, 5);
    t.setUnassigned(3, false);
    t.selectBank(3, 1);
    t.selectChannel(3, 200);

    QVERIFY(writeOneTouch(t, *m_link, m_host));
    QCOMPARE(m_host.texts(), QStringList{"Success| Finish"});
    QCOMPARE(m_host.progressValues, (QList<int>{50, 100}));

    QByteArray expected = firstKey("030500");
    expected.replace(9, 3, QByteArray::fromHex("07C800"));
    const QByteArray frame = m_radio->frames().last();
    QCOMPARE(frame, QByteArray("QX~F00180W") + expected.toHex().toUpper());
    QCOMPARE(frame.size() + 1, 65);
    const QByteArray after = m_radio->image();
    QCOMPARE(after.mid(kFirst, kLast - kFirst + 1), expected);
    QCOMPARE(after.left(kFirst), m_before.left(kFirst));
    QCOMPARE(after.mid(kLast + 1), m_before.mid(kLast + 1));
}

void OneTouchTest::refusedWriteSendsNothing()
{
    BankTable banks;
    twoBanks(banks);
    OneTouchTable t;
    t.rebuildLists(banks);
    t.setUnassigned(8, false);
    t.selectBank(8, 1);
    t.selectChannel(8, 256);

    QVERIFY(!writeOneTouch(t, *m_link, m_host));
    QCOMPARE(m_host.texts(), QStringList{"Error| Error"});
    QVERIFY(m_host.messages[0].detail.contains(QStringLiteral("key 9")));
    QCOMPARE(m_radio->frameCount(), 0);
    QCOMPARE(m_radio->image(), m_before);
    QCOMPARE(m_link->state.transferBusy, 0);
    QCOMPARE(m_host.started, 0);
}

void OneTouchTest::silentRadioEndsWithErrorAndKeepsTheKeys()
{
    m_radio->setOptions([] { SimOptions o; o.silent = true; return o; }());
    m_link->setReplyTimeout(150);
    BankTable banks;
    twoBanks(banks);
    OneTouchTable t;
    t.setUnassigned(1, false);
    t.selectChannel(1, 42);

    QVERIFY(!readOneTouch(t, banks, *m_link, m_host));
    QCOMPARE(m_host.texts(), QStringList{"Error| Error"});
    QCOMPARE(m_radio->frameCount(), 3); // three identification attempts
    QCOMPARE(t.bankEntries().size(), 10); // not rebuilt
    QCOMPARE(t.channelPosition(1), 42);
    QCOMPARE(m_link->state.transferBusy, 0);
    QCOMPARE(m_link->state.completionMode, 2);

    m_host = RecordingHost();
    QVERIFY(!writeOneTouch(t, *m_link, m_host));
    QCOMPARE(m_host.texts(), QStringList{"Error| Error"});
}

void OneTouchTest::quietStepShowsNoSuccess()
{
    BankTable banks;
    OneTouchTable t;
    m_link->state.completionMode = 1;
    QVERIFY(writeOneTouch(t, *m_link, m_host));
    QVERIFY(m_host.messages.isEmpty());
    QCOMPARE(m_link->state.completionMode, 0);
    QCOMPARE(m_radio->read(kFirst, 27), unassignedArea());

    // Another transfer running: nothing happens.
    m_link->state.transferBusy = 99;
    QVERIFY(!readOneTouch(t, banks, *m_link, m_host));
    QVERIFY(!writeOneTouch(t, *m_link, m_host));
    QVERIFY(m_host.messages.isEmpty());
    QCOMPARE(m_link->state.transferBusy, 99);
}

QTEST_MAIN(OneTouchTest)
#include "tst_onetouch.moc"
