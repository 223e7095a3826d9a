// The font window's transfers against the simulated radio on a pseudo-terminal.

#include "SimFixture.h"
#include "core/font/FontImage.h"
#include "core/font/FontTransfer.h"
#include "core/font/GlyphCodec.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTimer>

using namespace kpr5;
using kpr5::sim::RadioSimulator;
using kpr5::sim::SimOptions;

namespace {

QByteArray randomBytes(int n, quint32 seed) {
    QRandomGenerator rng(seed);
    QByteArray out(n, '\0');
    for (char &c : out)
        c = char(rng.bounded(256));
    return out;
}

void fillRandom(FontImage &font, quint32 seed) {
    const QByteArray bytes = randomBytes(8 * kGlyphBytes, seed);
    for (int k = 0; k < 8; ++k)
        decodeGlyph(bytes.mid(k * kGlyphBytes, kGlyphBytes), font, k);
}

QList<int> steps(int from, int step, int to) // from, from + step, ... to
{
    QList<int> out;
    for (int v = from; v <= to; v += step)
        out << v;
    return out;
}

// Everything one transfer needs, pointed at a started simulator.
struct Rig {
    explicit Rig(const SimOptions &options = {}) : radio(options), transfer(font, link, host) {}
    RadioSimulator radio;
    SerialLink link;
    test::RecordingHost host;
    FontImage font;
    FontTransfer transfer;
};

} // namespace

class FontTransferTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void singleWrite() {
        Rig rig;
        test::connectLink(rig.link, rig.radio, 200);
        fillRandom(rig.font, 11);
        QSignalSpy finished(&rig.transfer, &FontTransfer::finished);
        QVERIFY(rig.transfer.writeGlyph(3));
        QVERIFY(!rig.transfer.writeGlyph(4)); // busy
        QVERIFY(!rig.transfer.readGlyph(4));
        QCOMPARE(rig.transfer.writeAll(), TransferResult::NotStarted);
        QVERIFY(finished.wait(3000));
        QCOMPARE(finished.at(0).at(0).toBool(), true);

        QCOMPARE(rig.radio.frames(),
                 (QList<QByteArray>{"QX~KP-R5", glyphWriteFrame(rig.font, 3).chopped(1)}));
        QVERIFY(rig.radio.frames().at(1).startsWith("QX~F01060W"));
        QCOMPARE(rig.radio.read(0x1060, 32), encodeGlyph(rig.font, 3));
        QCOMPARE(rig.radio.read(0x1040, 32), QByteArray(32, '\0'));
        QCOMPARE(rig.host.texts(), QStringList{QStringLiteral("Success Font Write| Finish")});
        QCOMPARE(rig.host.progressValues, (QList<int>{50, 100, 0}));
        QCOMPARE(rig.host.started, 1);
        QCOMPARE(rig.host.finished, 1);
        QCOMPARE(rig.transfer.state(), int(FontTransfer::Idle));
        QVERIFY(!rig.link.isOpen());
    }

    void singleRead_data() {
        QTest::addColumn<bool>("quiet");
        QTest::newRow("from the button") << false;
        QTest::newRow("from the whole-radio read") << true;
    }
    void singleRead() {
        QFETCH(bool, quiet);
        Rig rig;
        test::connectLink(rig.link, rig.radio, 200);
        const QByteArray area = randomBytes(256, 5);
        rig.radio.write(0x1000, area);
        rig.transfer.setQuiet(quiet);
        QSignalSpy finished(&rig.transfer, &FontTransfer::finished);
        QVERIFY(rig.transfer.readGlyph(2));
        QVERIFY(finished.wait(3000));

        QCOMPARE(rig.radio.frames(), (QList<QByteArray>{"QX~KP-R5", "QX~F01040R"}));
        QCOMPARE(encodeGlyph(rig.font, 2), area.mid(0x40, 32));
        for (int k = 0; k < 8; ++k)
            QVERIFY(k == 2 || rig.font.isEmpty(k));
        QCOMPARE(rig.host.texts(),
                 quiet ? QStringList() : QStringList{QStringLiteral("Success Font Read| Finish")});
        QCOMPARE(rig.host.progressValues, (QList<int>{50, 100, 0}));
    }

    void readAll() {
        SimOptions paced;
        paced.baud = 57600; // like the real wire
        Rig rig(paced);
        test::connectLink(rig.link, rig.radio, 200);
        const QByteArray area = randomBytes(256, 21);
        rig.radio.write(0x1000, area);
        QCOMPARE(rig.transfer.readAll(), TransferResult::Success);

        QList<QByteArray> frames{"QX~KP-R5"};
        for (int k = 0; k < 8; ++k) {
            frames << glyphReadFrame(k).chopped(1);
            QCOMPARE(encodeGlyph(rig.font, k), area.mid(32 * k, 32));
        }
        QCOMPARE(rig.radio.frames(), frames);
        QCOMPARE(rig.host.progressValues, steps(12, 12, 96) + QList<int>({100, 0}));
        QCOMPARE(rig.host.texts(), QStringList{QStringLiteral("All Font Data Read| Finish")});
        QCOMPARE(rig.transfer.state(), int(FontTransfer::Idle));
        QCOMPARE(rig.host.finished, 1);
    }

    void writeAll() {
        SimOptions paced;
        paced.baud = 57600;
        Rig rig(paced);
        test::connectLink(rig.link, rig.radio, 200);
        fillRandom(rig.font, 33);
        QCOMPARE(rig.transfer.writeAll(), TransferResult::Success);

        QByteArray expected;
        QList<QByteArray> frames{"QX~KP-R5"};
        for (int k = 0; k < 8; ++k) {
            expected += encodeGlyph(rig.font, k);
            frames << glyphWriteFrame(rig.font, k).chopped(1);
        }
        QCOMPARE(rig.radio.read(0x1000, 256), expected);
        QCOMPARE(rig.radio.read(0x0FFF, 1), QByteArray(1, '\0'));
        QCOMPARE(rig.radio.read(0x1100, 1), QByteArray(1, '\0'));
        QCOMPARE(rig.radio.frames(), frames);
        QCOMPARE(rig.host.progressValues, steps(12, 12, 84) + QList<int>({100, 0}));
        QCOMPARE(rig.host.texts(), QStringList{QStringLiteral("All Font Data Write| Finish")});
    }

    // A reply without "OK" ends a single transfer at once, without a retry.
    void badAcknowledgement_data() {
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("corruptEvery");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("frames");
        QTest::newRow("write: identification") << true << 1 << FontTransfer::fontDataError(11) << 1;
        QTest::newRow("write: glyph") << true << 2 << FontTransfer::fontDataError(12) << 2;
        QTest::newRow("read: identification") << false << 1 << FontTransfer::fontDataError(13) << 1;
    }
    void badAcknowledgement() {
        QFETCH(bool, write);
        QFETCH(int, corruptEvery);
        QFETCH(QString, text);
        QFETCH(int, frames);
        SimOptions options;
        options.corruptEvery = corruptEvery;
        Rig rig(options);
        test::connectLink(rig.link, rig.radio, 200);
        rig.font.setPixel(0, 0, 0, 1);
        QSignalSpy finished(&rig.transfer, &FontTransfer::finished);
        QVERIFY(write ? rig.transfer.writeGlyph(0) : rig.transfer.readGlyph(0));
        QVERIFY(finished.wait(3000));
        QCOMPARE(finished.at(0).at(0).toBool(), false);
        QTest::qWait(500); // nothing is resent
        QCOMPARE(rig.radio.frameCount(), frames);
        QCOMPARE(rig.host.texts(), QStringList{text + QStringLiteral("| Error")});
        QCOMPARE(rig.transfer.state(), int(FontTransfer::Idle));
        QCOMPARE(rig.host.finished, 1);
        QCOMPARE(rig.transfer.timeoutCount(), 0);
        QVERIFY(!write || rig.font.pixel(0, 0, 0) == 1);
    }

    void messageTexts() {
        QCOMPARE(FontTransfer::fontDataError(11),
                 QString::fromUtf8("Font Data Error\u3000COM_TYPE \uFF11\uFF11"));
        QCOMPARE(FontTransfer::fontDataError(13),
                 QString::fromUtf8("Font Data Error\u3000COM_TYPE \uFF11\uFF13"));
    }

    // A radio that never answers: every expiry resends, the 21st gives up.
    void silentRadio() {
        SimOptions options;
        options.silent = true;
        Rig rig(options);
        test::connectLink(rig.link, rig.radio, 200);
        QSignalSpy finished(&rig.transfer, &FontTransfer::finished);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(rig.transfer.readGlyph(1));
        QVERIFY(finished.wait(10000));
        const qint64 ms = clock.elapsed();
        QVERIFY2(ms >= 21 * 200 - 50 && ms < 8000, qPrintable(QString::number(ms)));
        QCOMPARE(rig.host.texts(), QStringList{QStringLiteral("Com Error| Error")});
        QCOMPARE(rig.radio.frameCount(), 21); // the first frame and 20 resends
        for (const QByteArray &f : rig.radio.frames())
            QCOMPARE(f, QByteArray("QX~KP-R5"));
        QCOMPARE(rig.transfer.timeoutCount(), 0);
        QCOMPARE(rig.transfer.state(), int(FontTransfer::Idle));
        QCOMPARE(rig.host.finished, 1);
        QVERIFY(!rig.link.isOpen());
    }

    // A lost glyph reply is asked for again; the reply that follows is whole.
    void singleReadResendsLostReply() {
        SimOptions options;
        options.dropEvery = 2; // the first glyph read gets no answer
        Rig rig(options);
        test::connectLink(rig.link, rig.radio, 200);
        const QByteArray area = randomBytes(256, 8);
        rig.radio.write(0x1000, area);
        QSignalSpy finished(&rig.transfer, &FontTransfer::finished);
        QVERIFY(rig.transfer.readGlyph(7));
        QVERIFY(finished.wait(3000));
        QCOMPARE(rig.radio.frames(), (QList<QByteArray>{"QX~KP-R5", "QX~F010E0R", "QX~F010E0R"}));
        QCOMPARE(encodeGlyph(rig.font, 7), area.mid(0xE0, 32));
        QCOMPARE(rig.transfer.timeoutCount(), 1);
        QCOMPARE(rig.host.texts(), QStringList{QStringLiteral("Success Font Read| Finish")});
    }

    void allTransferGivesUp_data() {
        QTest::addColumn<int>("dropEvery");
        QTest::addColumn<int>("shortEvery");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<int>("frames");
        QTest::addColumn<int>("glyphsRead");
        // No answer: three identifications, then "Error".
        QTest::newRow("silent") << 0 << 0 << true << 3 << 0;
        // Never more than three failures in a row, but ten in all.
        QTest::newRow("failures over the whole transfer") << 2 << 3 << false << 15 << 4;
    }
    void allTransferGivesUp() {
        QFETCH(int, dropEvery);
        QFETCH(int, shortEvery);
        QFETCH(bool, silent);
        QFETCH(int, frames);
        QFETCH(int, glyphsRead);
        SimOptions options;
        options.dropEvery = dropEvery;
        options.shortEvery = shortEvery;
        options.silent = silent;
        Rig rig(options);
        test::connectLink(rig.link, rig.radio, 200);
        const QByteArray area = randomBytes(256, 3);
        rig.radio.write(0x1000, area);
        QCOMPARE(rig.transfer.readAll(), TransferResult::Failed);
        QCOMPARE(rig.radio.frameCount(), frames);
        QCOMPARE(rig.host.texts(), QStringList{QStringLiteral("Error| Error")});
        for (int k = 0; k < 8; ++k) {
            if (k < glyphsRead)
                QCOMPARE(encodeGlyph(rig.font, k), area.mid(32 * k, 32));
            else
                QVERIFY(rig.font.isEmpty(k));
        }
        QCOMPARE(rig.host.progressValues, steps(12, 12, 12 * glyphsRead) + QList<int>({0}));
        QCOMPARE(rig.transfer.state(), int(FontTransfer::Idle));
        QCOMPARE(rig.host.finished, 1);
        QVERIFY(!rig.link.isOpen());
        // Expiries of the polling wait count towards "Com Error" as well.
        QVERIFY(rig.transfer.timeoutCount() >= 3);
    }

    void portError() {
        Rig rig;
        rig.link.portSettings().devicePath = test::missingPort();
        QSignalSpy finished(&rig.transfer, &FontTransfer::finished);
        QVERIFY(rig.transfer.writeGlyph(0));
        QCOMPARE(finished.count(), 1);
        QCOMPARE(rig.transfer.readAll(), TransferResult::PortError);
        QCOMPARE(rig.host.texts(), (QStringList{QStringLiteral("Port Error| Error"),
                                                QStringLiteral("Port Error| Error")}));
        QVERIFY(!rig.host.messages.at(0).detail.isEmpty());
        QCOMPARE(rig.transfer.state(), int(FontTransfer::Idle));
        QCOMPARE(rig.host.finished, 2);
    }

    void abortEndsSilently() {
        SimOptions options;
        options.silent = true;
        Rig rig(options);
        test::connectLink(rig.link, rig.radio, 200);
        QTimer::singleShot(300, &rig.transfer, [&] { rig.transfer.abort(); });
        QCOMPARE(rig.transfer.readAll(), TransferResult::Closed);
        QVERIFY(rig.host.messages.isEmpty());
        QCOMPARE(rig.transfer.state(), int(FontTransfer::Idle));
        QVERIFY(!rig.link.isOpen());

        // A single transfer stops too: no more resends.
        QVERIFY(rig.transfer.writeGlyph(0));
        QTest::qWait(100);
        rig.transfer.abort();
        const int sent = rig.radio.frameCount();
        QTest::qWait(600);
        QCOMPARE(rig.radio.frameCount(), sent);
        QVERIFY(rig.host.messages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(FontTransferTest)
#include "tst_fonttransfer.moc"
