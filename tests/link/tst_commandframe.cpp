#include "core/link/CommandFrame.h"

#include <QTest>

using namespace kpr5;

class CommandFrameTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void addressDigits_data() {
        QTest::addColumn<quint32>("address");
        QTest::addColumn<QByteArray>("digits");
        QTest::newRow("first channel") << quint32(0x1200) << QByteArray("01200");
        QTest::newRow("record 1623") << quint32(0x1A780) << QByteArray("1A780");
        QTest::newRow("zero") << quint32(0) << QByteArray("00000");
        QTest::newRow("write protect") << quint32(0x1FE01) << QByteArray("1FE01");
        QTest::newRow("top") << quint32(0x1FFFF) << QByteArray("1FFFF");
    }
    void addressDigits() {
        QFETCH(quint32, address);
        QFETCH(QByteArray, digits);
        QCOMPARE(kpr5::addressDigits(address), digits);
        QCOMPARE(blockReadFrame(address), "QX~F" + digits + "R\r");
    }

    void hexDigits() {
        for (int b = 0; b < 256; ++b) {
            const QByteArray two = encodeHexByte(quint8(b));
            QCOMPARE(two, QByteArray::number(b, 16).rightJustified(2, '0').toUpper());
            QCOMPARE(decodeHexDigit(two[0]) * 16 + decodeHexDigit(two[1]), b);
        }
        QCOMPARE(decodeHexDigit('a'), -1);
        QCOMPARE(decodeHexDigit('G'), -1);
        QCOMPARE(decodeHexDigit(':'), -1);
    }

    void frames() {
        QCOMPARE(identificationFrame(), QByteArray("QX~KP-R5T\r"));
        QCOMPARE(fontIdentificationFrame(), QByteArray("QX~KP-R5\r"));
        const CommandFrame zero = blockWriteFrame(0x1200, QByteArray(64, '\0'));
        QCOMPARE(zero.size(), 139);
        QCOMPARE(zero, "QX~F01200W" + QByteArray(128, '0') + "\r");
        QCOMPARE(blockWriteFrame(0x100, QByteArray::fromHex("81FF")),
                 QByteArray("QX~F00100W81FF\r"));
    }

    void replies() {
        const QByteArray ident = "QX~KP-R5T\r\r\nOK\r\n";
        QVERIFY(acceptIdentifyReply(ident));
        QVERIFY(!acceptIdentifyReply(ident + 'x')); // 17 bytes, "OK" still at 12
        QVERIFY(!acceptIdentifyReply(QByteArray(16, 'O')));
        QVERIFY(!acceptIdentifyReply(QByteArray()));

        const QByteArray head = "QX~F01200R\r\r\n";
        QByteArray read = head + QByteArray(128, 'A') + "\r\n";
        QCOMPARE(read.size(), 143);
        QCOMPARE(acceptReadReply(read).value(), QByteArray(64, char(0xAA)));
        QByteArray swapped = read;
        std::swap(swapped[141], swapped[142]);
        QVERIFY(!acceptReadReply(swapped));
        QByteArray lower = read;
        lower[20] = 'a';
        QVERIFY2(!acceptReadReply(lower), "non-hexadecimal data digits are not data");
        QVERIFY(!acceptReadReply(read.left(142)));

        const int l = 139;
        QByteArray write(l + 6, ' ');
        write[l + 2] = 'O';
        write[l + 3] = 'K';
        QVERIFY(acceptWriteReply(write, l));
        QVERIFY(!acceptWriteReply(write + ' ', l)); // 146 bytes with "OK" inside
        QVERIFY(!acceptFontIdentifyReply(ident));
    }
};

QTEST_GUILESS_MAIN(CommandFrameTest)
#include "tst_commandframe.moc"
