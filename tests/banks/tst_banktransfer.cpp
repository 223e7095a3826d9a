// Bank and group transfers end to end against the simulated radio.

#include "SimFixture.h"
#include "core/banks/BankTable.h"
#include "core/banks/BankTransfer.h"
#include "core/banks/GroupTable.h"
#include "core/banks/GroupTransfer.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace kpr5;
using kpr5::sim::RadioSimulator;
using kpr5::sim::SimOptions;
using kpr5::test::RecordingHost;

namespace {

QByteArray noise() {
    QRandomGenerator gen(0x5eed);
    QByteArray image(sim::kImageSize, '\0');
    for (char &c : image)
        c = char(gen.bounded(256));
    return image;
}

// The image outside [first, last] must be as before.
void compareOutside(const QByteArray &before, const QByteArray &after, int first, int last) {
    QCOMPARE(after.size(), before.size());
    QCOMPARE(after.left(first), before.left(first));
    QCOMPARE(after.mid(last + 1), before.mid(last + 1));
}

} // namespace

class BankTransferTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void bankReadTakesBothBlocksAndShowsThousand();
    void bankWriteChangesOnlyTheBankArea();
    void groupReadDecodesBothBlocks_data();
    void groupReadDecodesBothBlocks();
    void groupWriteChangesOnlyTheGroupArea();
    void silentRadioEndsWithError_data();
    void silentRadioEndsWithError();
    void banksReceivedBeforeAFailureStay();

private:
    std::unique_ptr<RadioSimulator> m_radio;
    std::unique_ptr<SerialLink> m_link;
    RecordingHost m_host;
    QByteArray m_before;
};

void BankTransferTest::init() {
    m_radio = std::make_unique<RadioSimulator>();
    QString error;
    QVERIFY2(m_radio->start(&error), qPrintable(error));
    m_before = noise();
    m_radio->setImage(m_before);
    m_link = std::make_unique<SerialLink>();
    m_link->portSettings().devicePath = m_radio->portPath();
    m_host = RecordingHost();
}

void BankTransferTest::cleanup() {
    m_link.reset();
    m_radio.reset();
}

void BankTransferTest::bankReadTakesBothBlocksAndShowsThousand() {
    // 49 banks of 20 and a last bank of 19: 999 channels. The high byte's
    // upper nibble carries nothing.
    QByteArray area;
    for (int b = 0; b < 50; ++b)
        area += QByteArray::fromHex(b == 49 ? "13A0" : "14F0");
    area += QByteArray(28, '\x55');
    m_radio->write(0x200, area);
    m_before = m_radio->image();

    BankTable banks;
    QVERIFY(succeeded(readBanks(banks, *m_link, m_host)));
    for (int b = 0; b < 49; ++b)
        QCOMPARE(banks.count(b), 20);
    QCOMPARE(banks.count(49), 19);
    QCOMPARE(banks.sum(), 999);
    QCOMPARE(banks.shownTotal(), 1000);
    QCOMPARE(m_host.percents, (QList<int>{20, 60, 100, 0}));
    QCOMPARE(m_host.messages.size(), 1);
    QCOMPARE(m_host.messages[0].text, QStringLiteral("Success"));
    QCOMPARE(m_host.messages[0].title, QStringLiteral(" Finish"));
    QVERIFY(!m_link->busy());
    QCOMPARE(m_radio->image(), m_before);
    QCOMPARE(m_radio->frames(), (QList<QByteArray>{"QX~KP-R5T", "QX~F00200R", "QX~F00240R"}));
}

void BankTransferTest::bankWriteChangesOnlyTheBankArea() {
    BankTable banks;
    BankTable::Counts c{};
    c[0] = 1000;
    banks.setCounts(c);
    Sequence wholeRadio(*m_link, m_host); // a step of the whole-radio write: no "Success"
    QVERIFY(succeeded(wholeRadio.step(QStringLiteral("banks"),
                                      [&] { return writeBanks(banks, *m_link, m_host); })));
    QVERIFY(m_host.messages.isEmpty());
    QCOMPARE(m_link->completion(), Completion::Announce);

    const QByteArray after = m_radio->image();
    compareOutside(m_before, after, 0x200, 0x27F);
    QCOMPARE(after.mid(0x200, 128), banks.encodeArea());
    QCOMPARE(after.mid(0x200, 4), QByteArray::fromHex("E8030000"));
    QCOMPARE(after.mid(0x264, 28),
             QByteArray::fromHex("6400C800640003006400640014000000") + QByteArray(12, '\0'));
}

void BankTransferTest::groupReadDecodesBothBlocks_data() {
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<QString>("text");
    QTest::newRow("from the window") << false << QStringLiteral("OK");
    QTest::newRow("whole-radio read") << true << QStringLiteral("Success ALL DATA READ");
}

void BankTransferTest::groupReadDecodesBothBlocks() {
    QFETCH(bool, automatic);
    QFETCH(QString, text);
    QByteArray area(88, '\0');
    area.replace(0, 8, QByteArray::fromHex("818000000000C0FF"));      // group 0: 0, 7, 8, 48, 49
    area.replace(8 * 10, 8, QByteArray::fromHex("000000000001003F")); // GroupB: 47
    m_radio->write(0x100, area);
    m_radio->write(0x158, QByteArray(8, '\xFF')); // beyond the groups
    m_before = m_radio->image();

    GroupTable groups;
    groups.setLinked(5, 5, true); // overwritten by the radio's group 5
    m_link->setReplyTimeout(200);
    QVERIFY(succeeded(readGroups(groups, *m_link, m_host,
                                 automatic ? GroupReadEnding::AllDataRead : GroupReadEnding::Ok)));
    QCOMPARE(groups.encodeArea(), [&] {
        QByteArray expected = area;
        expected[7] = 0; // byte 7 of each group carries nothing
        expected[8 * 10 + 7] = 0;
        return expected;
    }());
    QVERIFY(!groups.isLinked(5, 5));
    QCOMPARE(m_host.messages.size(), 1);
    QCOMPARE(m_host.messages[0].text, text);
    QCOMPARE(m_host.messages[0].title, QStringLiteral(" Finish"));
    QCOMPARE(m_host.started, 1);
    QCOMPARE(m_host.finished, 1);
    QCOMPARE(m_radio->image(), m_before);
    QCOMPARE(m_radio->frames(), (QList<QByteArray>{"QX~KP-R5T", "QX~F00100R", "QX~F00130R"}));
}

void BankTransferTest::groupWriteChangesOnlyTheGroupArea() {
    GroupTable groups;
    for (int b : {0, 7, 8, 48, 49})
        groups.setLinked(0, b, true);
    groups.setLinked(10, 1, true);
    QVERIFY(succeeded(writeGroups(groups, *m_link, m_host)));
    QCOMPARE(m_host.messages.size(), 1);
    QCOMPARE(m_host.messages[0].text, QStringLiteral("Success Group Data Write"));

    const QByteArray after = m_radio->image();
    compareOutside(m_before, after, 0x100, 0x157);
    QCOMPARE(after.mid(0x100, 8), QByteArray::fromHex("818000000000C000"));
    QCOMPARE(after.mid(0x100, 88), groups.encodeArea());
    const auto frames = m_radio->frames();
    QCOMPARE(frames.size(), 3);
    QCOMPARE(frames[1].size() + 1, 107);
    QCOMPARE(frames[2].size() + 1, 91);
}

void BankTransferTest::silentRadioEndsWithError_data() {
    QTest::addColumn<int>("which");
    QTest::newRow("bank read") << 0;
    QTest::newRow("bank write") << 1;
    QTest::newRow("group read") << 2;
    QTest::newRow("group write") << 3;
}

void BankTransferTest::silentRadioEndsWithError() {
    QFETCH(int, which);
    SimOptions o;
    o.silent = true;
    m_radio->setOptions(o);
    m_link->setReplyTimeout(100);
    BankTable banks;
    GroupTable groups;
    bool ok = true;
    switch (which) {
    case 0:
        ok = succeeded(readBanks(banks, *m_link, m_host));
        break;
    case 1:
        ok = succeeded(writeBanks(banks, *m_link, m_host));
        break;
    case 2:
        ok = succeeded(readGroups(groups, *m_link, m_host, GroupReadEnding::AllDataRead));
        break;
    case 3:
        ok = succeeded(writeGroups(groups, *m_link, m_host));
        break;
    }
    QVERIFY(!ok);
    QCOMPARE(m_radio->frameCount(), 3); // three identification attempts
    QCOMPARE(m_host.messages.size(), 1);
    QCOMPARE(m_host.messages[0].text, QStringLiteral("Error"));
    QCOMPARE(m_host.messages[0].title, QStringLiteral(" Error"));
    QVERIFY(!m_link->busy());
    QCOMPARE(m_host.finished, 1);
    QCOMPARE(m_radio->image(), m_before);
}

void BankTransferTest::banksReceivedBeforeAFailureStay() {
    QByteArray area;
    for (int b = 0; b < 50; ++b)
        area += QByteArray::fromHex("1400");
    m_radio->write(0x200, area);
    SimOptions o;
    o.corruptEvery = 3; // frames 3, 6, ...: the reply's CR LF is swapped
    o.dropEvery = 4;    // frame 4 has no reply
    o.shortEvery = 5;   // frame 5 lacks its last byte
    m_radio->setOptions(o);
    m_link->setReplyTimeout(150);

    BankTable banks;
    QVERIFY(!succeeded(readBanks(banks, *m_link, m_host)));
    for (int b = 0; b < 32; ++b)
        QCOMPARE(banks.count(b), 20);
    QCOMPARE(banks.count(32), 0);
    QCOMPARE(banks.shownTotal(), 640); // the received blocks were taken as edits
    QCOMPARE(m_host.messages.size(), 1);
    QCOMPARE(m_host.messages[0].text, QStringLiteral("Error"));
    QCOMPARE(m_radio->frameCount(), 5);
}

QTEST_GUILESS_MAIN(BankTransferTest)
#include "tst_banktransfer.moc"
