// The bank table and the bank-link groups: their rules, their radio bytes,
// and their transfers against the simulated radio (the blocks each button
// moves: tst_mainwindow transferButtons).

#include "SimFixture.h"
#include "core/banks/BankTable.h"
#include "core/banks/BankTransfer.h"
#include "core/banks/GroupTable.h"
#include "core/banks/GroupTransfer.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace kpr5;
using namespace Qt::StringLiterals;
using kpr5::test::SimRig;

namespace {

QByteArray hex(const char *text) {
    return QByteArray::fromHex(text);
}

// A radio full of random bytes, so that every byte a transfer moves shows.
void fillWithNoise(sim::RadioSimulator &radio) {
    QRandomGenerator gen(0x5eed);
    QByteArray image(sim::kImageSize, '\0');
    for (char &c : image)
        c = char(gen.bounded(256));
    radio.setImage(image);
}

} // namespace

class BanksTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Counts read from a radio show a total of 1000 until one is edited.
    void shownTotal() {
        BankTable t;
        t.decodeCounts(0, hex("6400C80026028C00") + QByteArray(56, '\0'), 32); // 990 in all
        QCOMPARE(t.shownTotal(), 990);
        t.markLoaded();
        QCOMPARE(t.sum(), 990);
        QVERIFY(t.totalIsValid());
        QVERIFY(t.stepCount(0, 1)); // Up moves the shown number, not the real sum
        QCOMPARE(t.shownTotal(), 1001);
        t.setCount(0, 110); // any edit recomputes
        QCOMPARE(t.shownTotal(), 1000);
        t.setCount(1, 5000); // clamped to the 1000 channels
        QCOMPARE(t.count(1), 1000);
        QVERIFY(!t.stepCount(1, 1));
        t.setCount(2, 0);
        QVERIFY(!t.stepCount(2, -1));
    }

    // Two bytes a bank ("bytes=count"): the low byte and the high byte's low
    // nibble, at most 1000; half a bank is no count.
    void countsDecode() {
        for (const QString &c : u"E803=1000 64F0=100 FF0F=1000 0000=0 0A=42"_s.split(' ')) {
            BankTable t;
            t.setCount(49, 42);
            t.decodeCounts(48, hex("0500") + QByteArray::fromHex(c.section('=', 0, 0).toLatin1()),
                           32); // banks 48 and 49; there is no bank 50
            QCOMPARE(t.count(48), 5);
            QCOMPARE(t.count(49), c.section('=', 1).toInt());
        }
    }

    // A bank's text box taken over as a count ("text=count"; wide digits are no digits).
    void textBecomesCount() {
        for (const QString &c : u"250=250 12a3=123 =0 1000=1000 1500=100 0000000000000007=7 "
                                u"123456789012345678901234567890=100 \uFF11\uFF12=0"_s.split(' '))
            QCOMPARE(BankTable::countFromText(c.section('=', 0, 0)), c.section('=', 1).toInt());
    }

    void groupDecodingIgnoresUnusedBits() {
        GroupTable t;
        t.decodeGroups(0, 2, hex("000000000000 3F FF 0000000000008001"));
        for (int b = 0; b < 50; ++b)
            QVERIFY2(!t.isLinked(0, b), qPrintable(QString::number(b)));
        QCOMPARE(t.encodeGroup(1), hex("0000000000008000"));
        // Seven bytes of a last group are enough; fewer leave it alone.
        t.decodeGroup(2, hex("80000000000040"));
        QVERIFY(t.isLinked(2, 0) && t.isLinked(2, 49));
        t.decodeGroup(2, hex("000000000000"));
        QVERIFY(t.isLinked(2, 0));
        t.decodeGroup(11, hex("FFFFFFFFFFFFFFFF")); // no such group
    }

    void emptyBanksAreClearedFromEveryGroup() {
        BankTable banks;
        GroupTable groups;
        for (int g = 0; g < 11; ++g) {
            groups.setLinked(g, 3, true);
            groups.setLinked(g, 12, true); // banks 10-49 are empty by default
            groups.setLinked(g, 4, true);
        }
        banks.setCount(3, 0);
        groups.setBankFlag(3, true);
        groups.clearUnavailable(banks);
        for (int g = 0; g < 11; ++g)
            QVERIFY(!groups.isLinked(g, 3) && !groups.isLinked(g, 12) && groups.isLinked(g, 4));
        QVERIFY(groups.bankFlag(3));
    }

    // The write: 50 counts, then the sizes of PRG, Dual, PRIO, CALL, PASS, TSF
    // and BUG.
    void bankTransfers() {
        SimRig rig;
        fillWithNoise(rig.radio);
        QByteArray expected = rig.radio.image();
        BankTable banks;
        BankTable::Counts c{};
        c[0] = 1000;
        c[49] = 7;
        banks.setCounts(c);
        QVERIFY(succeeded(writeBanks(banks, rig.link, rig.host)));
        QCOMPARE(rig.host.maximum, 100);
        const QByteArray area = hex("E803") + QByteArray(96, '\0') + hex("0700") +
                                hex("6400C80064000300640064001400") + QByteArray(14, '\0');
        expected.replace(0x200, 128, area);
        QCOMPARE(rig.radio.image(), expected);

        // Read back (the upper nibble of a count: countsDecode).
        rig.host = test::RecordingHost();
        BankTable back;
        QVERIFY(succeeded(readBanks(back, rig.link, rig.host)));
        for (int b = 0; b < 50; ++b)
            QCOMPARE(back.count(b), c[b]);
        QCOMPARE(back.shownTotal(), 1000);
        QCOMPARE(rig.host.maximum, 100);
        QCOMPARE(rig.host.percents, (QList<int>{20, 60, 100, 0}));
        QCOMPARE(rig.radio.image(), expected);
    }

    // The write: block 1 ends right after its 80 digits, not padded to block
    // 0's length (the noise around shows it). The read drops the flags of
    // empty banks (the whole-radio read's own ending: tst_wholeradiogui).
    void groupTransfers() {
        SimRig rig(200);
        fillWithNoise(rig.radio);
        QByteArray expected = rig.radio.image();
        GroupTable groups;
        for (int b : {0, 7, 8, 48, 49})
            groups.setLinked(0, b, true);
        groups.setLinked(10, 49, true);
        QVERIFY(succeeded(writeGroups(groups, rig.link, rig.host)));
        QByteArray area(88, '\0');
        area.replace(0, 8, hex("818000000000C000"));
        area.replace(80, 8, hex("0000000000004000"));
        expected.replace(0x100, 88, area);
        QCOMPARE(rig.radio.image(), expected);

        area.replace(0, 8, hex("8181000000000000"));  // group 0: 0, 7, 8, 15
        area.replace(80, 8, hex("1000000000010000")); // GroupB: 3, 47
        rig.radio.write(0x100, area);
        expected = rig.radio.image();
        rig.host = test::RecordingHost();
        groups.setLinked(5, 5, true); // overwritten by the radio's group 5
        BankTable banks;              // banks 0-9 hold channels
        banks.setCount(7, 0);
        QVERIFY(succeeded(readGroups(groups, rig.link, rig.host, GroupReadEnding::Ok, &banks)));
        QByteArray want(88, '\0');
        want.replace(0, 8, hex("8080000000000000"));
        want.replace(80, 8, hex("1000000000000000"));
        QCOMPARE(groups.encodeArea().toHex(' '), want.toHex(' '));
        QCOMPARE(rig.host.texts(), QStringList{QStringLiteral("OK| Finish")});
        QCOMPARE(rig.radio.image(), expected);
    }
};

QTEST_GUILESS_MAIN(BanksTest)
#include "tst_banks.moc"
