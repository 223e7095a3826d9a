// The checks of the radio's replies. (The frames sent, hex digits and all,
// are every transfer's documented frames.)

#include "core/link/CommandFrame.h"

#include <QTest>

using namespace kpr5;

class CommandFrameTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
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
