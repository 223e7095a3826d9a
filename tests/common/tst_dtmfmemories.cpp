// The DTMF memories: key filter, clean-up, defaults and the radio coding.

#include "core/common/DtmfMemories.h"

#include <QtTest>

using namespace kpr5;
using Action = DtmfMemories::KeyAction;

Q_DECLARE_METATYPE(kpr5::DtmfMemories::KeyAction)

class DtmfMemoriesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keyFilter_data();
    void keyFilter();
    void focusLossCleanUp_data();
    void focusLossCleanUp();
    void encodeMemory_data();
    void encodeMemory();
    void decodeMemory_data();
    void decodeMemory();
    void resetDefaults();
    void blocksAndFrames();
    void dialChannel_data();
    void dialChannel();
    void timingOutsideTheListIsKept();
    void shortBlockIsRefused();
};

void DtmfMemoriesTest::keyFilter_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("key");
    QTest::addColumn<Action>("action");
    const QChar bs(0x08);
    const QString sixteen = QStringLiteral("0123456789ABCD*#");
    QTest::newRow("digit") << QString() << QChar('5') << Action::Accept;
    QTest::newRow("upper A") << QStringLiteral("1") << QChar('A') << Action::Accept;
    QTest::newRow("lower a") << QStringLiteral("1") << QChar('a') << Action::Discard;
    QTest::newRow("E") << QString() << QChar('E') << Action::Discard;
    QTest::newRow("kana") << QString() << QChar(0x30A2) << Action::Discard;
    QTest::newRow("backspace") << QStringLiteral("12") << bs << Action::Accept;
    QTest::newRow("full: digit") << sixteen << QChar('1') << Action::Discard;
    QTest::newRow("17 pasted") << sixteen + QLatin1Char('1') << QChar('1') << Action::Empty;
    QTest::newRow("9 double-byte") << QString(9, QChar(0x3042)) << QChar('1') << Action::Empty;
    QTest::newRow("8 double-byte") << QString(8, QChar(0x3042)) << QChar('1') << Action::Accept;
}

void DtmfMemoriesTest::keyFilter() {
    QFETCH(QString, text);
    QFETCH(QChar, key);
    QFETCH(Action, action);
    QCOMPARE(DtmfMemories::filterKey(text, key), action);
}

void DtmfMemoriesTest::focusLossCleanUp_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("cleaned");
    QTest::newRow("valid") << QStringLiteral("12*#-ABCD") << QStringLiteral("12*#-ABCD");
    QTest::newRow("lower and blanks") << QStringLiteral("1a 2b") << QStringLiteral("12");
    QTest::newRow("double-byte") << QStringLiteral("１2あ3") << QStringLiteral("23");
}

void DtmfMemoriesTest::focusLossCleanUp() {
    QFETCH(QString, text);
    QFETCH(QString, cleaned);
    QCOMPARE(DtmfMemories::cleaned(text), cleaned);
}

void DtmfMemoriesTest::encodeMemory_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("1 2 3 #") << QStringLiteral("123#")
                             << QByteArray::fromHex("0102030F") + QByteArray(12, 0x11);
    QTest::newRow("* 0 - 9") << QStringLiteral("*0-9")
                             << QByteArray::fromHex("0E001009") + QByteArray(12, 0x11);
    QTest::newRow("empty") << QString() << QByteArray(16, 0x11);
    // A pasted text that never lost the focus: only digits, at most sixteen.
    QTest::newRow("unclean") << QStringLiteral("1x2")
                             << QByteArray::fromHex("0102") + QByteArray(14, 0x11);
    QTest::newRow("too long") << QString(20, QLatin1Char('7')) << QByteArray(16, 0x07);
}

void DtmfMemoriesTest::encodeMemory() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(DtmfMemories::encodeMemory(text), bytes);
}

void DtmfMemoriesTest::decodeMemory_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("all 0x11") << QByteArray(16, 0x11) << QString();
    QTest::newRow("01 11 02") << QByteArray::fromHex("011102") + QByteArray(13, 0x11)
                              << QStringLiteral("1");
    QTest::newRow("code above 0x11")
        << QByteArray::fromHex("0512FF01") + QByteArray(12, 0x11) << QStringLiteral("5");
    QTest::newRow("sixteen") << QByteArray::fromHex("000102030405060708090A0B0C0D0E0F")
                             << QStringLiteral("0123456789ABCD*#");
}

void DtmfMemoriesTest::decodeMemory() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(DtmfMemories::decodeMemory(bytes), text);
}

void DtmfMemoriesTest::resetDefaults() {
    DtmfMemories d;
    // At start-up every list is at its first entry.
    for (int t = 0; t < DtmfMemories::kTimingCount; ++t)
        QCOMPARE(d.timing(DtmfMemories::Timing(t)), 0);
    d.setMemory(3, QStringLiteral("123"));
    for (int t = 0; t < DtmfMemories::kTimingCount; ++t)
        d.setTiming(DtmfMemories::Timing(t), 8);
    d.reset();
    QCOMPARE(d.memory(3), QString());
    QCOMPARE(d.timing(DtmfMemories::Wait), 1);
    QCOMPARE(d.timing(DtmfMemories::Head), 5);
    QCOMPARE(d.timing(DtmfMemories::Pause), 2);
    QCOMPARE(d.timing(DtmfMemories::Burst), 5);
    QCOMPARE(d.timing(DtmfMemories::DialChannel), 0);
    QCOMPARE(DtmfMemories::timingOptions(DtmfMemories::Wait).size(), 11);
    QCOMPARE(DtmfMemories::timingOptions(DtmfMemories::Head).size(), 23);
    QCOMPARE(DtmfMemories::timingOptions(DtmfMemories::Pause).at(17), QStringLiteral("1.0s"));
    QCOMPARE(DtmfMemories::timingOptions(DtmfMemories::Head).at(5), QStringLiteral("120ms"));
    QCOMPARE(DtmfMemories::timingOptions(DtmfMemories::DialChannel).at(8), QStringLiteral("9Ch"));
}

void DtmfMemoriesTest::blocksAndFrames() {
    DtmfMemories d;
    d.reset();
    d.setMemory(0, QStringLiteral("123#"));
    d.setMemory(9, QStringLiteral("*0-9"));
    d.setTiming(DtmfMemories::DialChannel, 4);
    const QByteArray b0 = d.encodeBlock(0);
    QCOMPARE(b0.size(), 51);
    QCOMPARE(b0.left(3), QByteArray::fromHex("010505"));
    QCOMPARE(b0.mid(3, 16), QByteArray::fromHex("0102030F") + QByteArray(12, 0x11));
    QCOMPARE(d.encodeBlock(1), QByteArray(64, 0x11));
    const QByteArray b2 = d.encodeBlock(2);
    QCOMPARE(b2.size(), 50);
    QCOMPARE(b2.mid(32, 16), QByteArray::fromHex("0E001009") + QByteArray(12, 0x11));
    QCOMPARE(int(b2[48]), 5); // Dial channel entry 4 plus 1
    QCOMPARE(int(b2[49]), 2); // Pause
    QVERIFY(d.encodeBlock(3).isEmpty());
}

void DtmfMemoriesTest::dialChannel_data() {
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("shown");
    QTest::newRow("0") << 0 << QStringLiteral("1Ch");
    QTest::newRow("9") << 9 << QStringLiteral("9Ch");
    QTest::newRow("10 keeps 3Ch") << 10 << QStringLiteral("3Ch");
}

void DtmfMemoriesTest::dialChannel() {
    QFETCH(int, byte);
    QFETCH(QString, shown);
    DtmfMemories d;
    d.setTiming(DtmfMemories::DialChannel, 2);
    QByteArray b2 = d.encodeBlock(2);
    b2[48] = char(byte);
    QVERIFY(d.decodeBlock(2, b2));
    QCOMPARE(DtmfMemories::timingOptions(DtmfMemories::DialChannel)
                 .at(d.timing(DtmfMemories::DialChannel)),
             shown);
}

void DtmfMemoriesTest::timingOutsideTheListIsKept() {
    DtmfMemories d;
    d.reset();
    QByteArray b0 = d.encodeBlock(0);
    b0[0] = char(11); // Wait has 11 entries
    b0[1] = char(23); // Head has 23
    b0[2] = char(0xFF);
    QVERIFY(d.decodeBlock(0, b0));
    QCOMPARE(d.timing(DtmfMemories::Wait), 1);
    QCOMPARE(d.timing(DtmfMemories::Head), 5);
    QCOMPARE(d.timing(DtmfMemories::Burst), 5);
    QVERIFY(!d.setTiming(DtmfMemories::Wait, 11));
    QVERIFY(!d.setTiming(DtmfMemories::Timing(7), 0));
}

void DtmfMemoriesTest::shortBlockIsRefused() {
    DtmfMemories d;
    d.setMemory(0, QStringLiteral("1"));
    QVERIFY(!d.decodeBlock(0, QByteArray(50, 0x11)));
    QVERIFY(!d.decodeBlock(5, QByteArray(64, 0x11)));
    QCOMPARE(d.memory(0), QStringLiteral("1"));
    QVERIFY(!d.setMemory(10, QStringLiteral("1")));
    QCOMPARE(d.memory(-1), QString());
}

QTEST_GUILESS_MAIN(DtmfMemoriesTest)
#include "tst_dtmfmemories.moc"
