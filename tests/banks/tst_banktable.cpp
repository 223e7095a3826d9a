// The bank table and the group table: their rules and their radio bytes.

#include "core/banks/BankTable.h"
#include "core/banks/GroupTable.h"
#include "core/link/CommandFrame.h"

#include <QSignalSpy>
#include <QtTest>

using namespace kpr5;

namespace {
QByteArray hex(const char *text) {
    return QByteArray::fromHex(text);
}

BankTable::Counts countsOf(std::initializer_list<std::pair<int, int>> banks) {
    BankTable::Counts c{};
    for (auto [bank, count] : banks)
        c[bank] = count;
    return c;
}
} // namespace

class BankTableTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadedCountsShowThousandUntilEdited();
    void blocksCarryCountsAndFixedAreaSizes();
    void countsDecodeFromLowByteAndLowNibble_data();
    void countsDecodeFromLowByteAndLowNibble();
    void shortBlockDataIsNotReadPastItsEnd();
    void textBecomesCount_data();
    void textBecomesCount();

    void groupEncoding_data();
    void groupEncoding();
    void groupDecodingIgnoresUnusedBits();
    void groupWriteFramesHaveTheirOwnLengths();
    void emptyBanksAreClearedFromEveryGroup();
};

void BankTableTest::loadedCountsShowThousandUntilEdited() {
    BankTable t;
    QSignalSpy changed(&t, &BankTable::changed);
    // What a radio may hold: 990 channels in all.
    t.decodeCounts(0, hex("6400C80026028C00") + QByteArray(56, '\0'), 32); // 100, 200, 550, 140
    QCOMPARE(t.shownTotal(), 990);
    t.markLoaded();
    QCOMPARE(t.sum(), 990);
    QCOMPARE(t.shownTotal(), 1000);
    QVERIFY(t.totalIsValid());
    QVERIFY(changed.count() > 0);

    // Up moves the shown number, not the real sum.
    QVERIFY(t.stepCount(0, 1));
    QCOMPARE(t.shownTotal(), 1001);
    QVERIFY(!t.totalIsValid());

    // Any edit recomputes.
    t.setCount(0, 110);
    QCOMPARE(t.shownTotal(), 1000);
    QCOMPARE(t.sum(), 1000);

    t.setCount(1, 5000); // clamped to the 1000 channels
    QCOMPARE(t.count(1), 1000);
    t.reset();
    QCOMPARE(t.counts(), BankTable::defaultCounts());
    QCOMPARE(t.shownTotal(), 1000);
}

void BankTableTest::blocksCarryCountsAndFixedAreaSizes() {
    BankTable t;
    t.setCounts(countsOf({{0, 1000}, {31, 0x123}, {32, 0x0304}, {49, 7}}));
    const QByteArray area = t.encodeArea();
    QCOMPARE(area.size(), 128);
    QCOMPARE(area.left(4), hex("E8030000"));
    QCOMPARE(area.mid(62, 2), hex("2301"));
    QCOMPARE(area.mid(64, 2), hex("0403"));
    QCOMPARE(area.mid(98, 2), hex("0700"));

    const CommandFrame block0 = blockWriteFrame(0x00200, area.left(64));
    QCOMPARE(block0.size(), 139);
    QVERIFY(block0.startsWith("QX~F00200WE8030000"));

    const CommandFrame block1 = blockWriteFrame(0x00240, area.mid(64));
    QCOMPARE(block1.size(), 139);
    QVERIFY(block1.startsWith("QX~F00240W0403"));
    QVERIFY(block1.endsWith(QByteArray("0700") + "6400C80064000300640064001400" +
                            QByteArray(28, '0') + '\r'));
}

void BankTableTest::countsDecodeFromLowByteAndLowNibble_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("count");
    QTest::newRow("1000") << hex("E803") << 1000;
    QTest::newRow("high nibble ignored") << hex("64F0") << 100;
    QTest::newRow("above 1000 is clamped") << hex("FF0F") << 1000;
    QTest::newRow("zero") << hex("0000") << 0;
}

void BankTableTest::countsDecodeFromLowByteAndLowNibble() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, count);
    BankTable t;
    t.decodeCounts(49, bytes + hex("0500"), 2); // the second bank does not exist
    QCOMPARE(t.count(49), count);
    QCOMPARE(t.count(0), 100);
}

void BankTableTest::shortBlockDataIsNotReadPastItsEnd() {
    BankTable t;
    t.decodeCounts(0, hex("0A000B"), 32); // one and a half banks
    QCOMPARE(t.count(0), 10);
    QCOMPARE(t.count(1), 100);
}

void BankTableTest::textBecomesCount_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::newRow("plain") << "250" << 250;
    QTest::newRow("leading zeros") << "0042" << 42;
    QTest::newRow("letters dropped") << "12a3" << 123;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("nothing but letters") << "abc" << 0;
    QTest::newRow("1000") << "1000" << 1000;
    QTest::newRow("above 1000") << "1500" << 100;
    QTest::newRow("very long") << "123456789012345678901234567890" << 100;
    QTest::newRow("long zeros") << "0000000000000007" << 7;
    QTest::newRow("wide digits are not digits") << QStringLiteral("\uFF11\uFF12") << 0;
}

void BankTableTest::textBecomesCount() {
    QFETCH(QString, text);
    QFETCH(int, count);
    QCOMPARE(BankTable::countFromText(text), count);
}

void BankTableTest::groupEncoding_data() {
    QTest::addColumn<int>("group");
    QTest::addColumn<QList<int>>("banks");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("0, 7, 8, 48, 49")
        << 0 << QList<int>{0, 7, 8, 48, 49} << hex("8180000000 00C000");
    QTest::newRow("none") << 3 << QList<int>{} << hex("0000000000000000");
    QTest::newRow("GroupB 47") << 10 << QList<int>{47} << hex("0000000000010000");
    QTest::newRow("every bank") << 5 << [] {
        QList<int> all;
        for (int b = 0; b < 50; ++b)
            all << b;
        return all;
    }() << hex("FFFFFFFFFFFFC000");
}

void BankTableTest::groupEncoding() {
    QFETCH(int, group);
    QFETCH(QList<int>, banks);
    QFETCH(QByteArray, bytes);
    GroupTable t;
    for (int b : banks)
        t.setLinked(group, b, true);
    QCOMPARE(t.encodeGroup(group), bytes);
    QCOMPARE(t.encodeArea().mid(8 * group, 8), bytes);
    QCOMPARE(t.encodeArea().size(), 88);

    GroupTable back;
    back.decodeGroup(group, bytes);
    for (int b = 0; b < 50; ++b)
        QCOMPARE(back.isLinked(group, b), banks.contains(b));
}

void BankTableTest::groupDecodingIgnoresUnusedBits() {
    GroupTable t;
    t.decodeGroups(0, 2,
                   hex("000000000000 3F FF"
                       "0000000000008001"));
    for (int b = 0; b < 50; ++b)
        QVERIFY2(!t.isLinked(0, b), qPrintable(QString::number(b)));
    QVERIFY(t.isLinked(1, 48));
    QVERIFY(!t.isLinked(1, 49));
    QCOMPARE(t.encodeGroup(1), hex("0000000000008000"));
    // Only seven bytes of a last group are needed; fewer leave it alone.
    t.decodeGroup(2, hex("80000000000040"));
    QVERIFY(t.isLinked(2, 0) && t.isLinked(2, 49));
    t.decodeGroup(2, hex("000000000000"));
    QVERIFY(t.isLinked(2, 0));
    t.decodeGroup(11, hex("FFFFFFFFFFFFFFFF")); // no such group
}

void BankTableTest::groupWriteFramesHaveTheirOwnLengths() {
    GroupTable t;
    t.setLinked(10, 49, true);
    const CommandFrame block0 = blockWriteFrame(0x00100, t.encodeGroups(0, 6));
    const CommandFrame block1 = blockWriteFrame(0x00130, t.encodeGroups(6, 5));
    QCOMPARE(block0.size(), 107);
    QCOMPARE(block1.size(), 91);
    QVERIFY(block1.endsWith("40"
                            "00\r"));
    QCOMPARE(writeReplyLength(int(block1.size())), 97);
}

void BankTableTest::emptyBanksAreClearedFromEveryGroup() {
    BankTable banks;
    GroupTable groups;
    for (int g = 0; g < 11; ++g) {
        groups.setLinked(g, 3, true);
        groups.setLinked(g, 12, true);
    }
    banks.setCount(3, 0);
    groups.setBankFlag(3, true);
    groups.clearUnavailable(banks);
    for (int g = 0; g < 11; ++g) {
        QVERIFY(!groups.isLinked(g, 3));
        QVERIFY(!groups.isLinked(g, 12)); // banks 10-49 are empty by default
    }
    QVERIFY(groups.bankFlag(3));
    groups.setLinked(0, 5, true);
    groups.clear();
    QVERIFY(!groups.isLinked(0, 5));
    QCOMPARE(GroupTable::groupName(10), QStringLiteral("GroupB"));
    QCOMPARE(GroupTable::groupName(0), QStringLiteral("Group0"));
}

QTEST_GUILESS_MAIN(BankTableTest)
#include "tst_banktable.moc"
