// The font window's transfers against the simulated radio on a
// pseudo-terminal: the single-character transfers driven by the port's
// events, and the polling transfers of all eight characters.

#include "SimFixture.h"
#include "core/font/FontImage.h"
#include "core/font/FontTransfer.h"
#include "core/font/GlyphCodec.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSignalSpy>

using namespace kpr5;
using namespace Qt::StringLiterals;
using kpr5::sim::SimOptions;

namespace {

QByteArray randomBytes(int n, quint32 seed) {
    QRandomGenerator rng(seed);
    QByteArray out(n, '\0');
    for (char &c : out)
        c = char(rng.bounded(256));
    return out;
}

// A started radio, the font window's link to it and a transfer on it.
struct Rig : test::SimRig {
    explicit Rig(const SimOptions &options = {})
        : SimRig(FontTransfer::kTimerMs, options), transfer(font, link, host) {}
    FontImage font;
    FontTransfer transfer;

    // Runs a single-character transfer to its end; whether it succeeded.
    bool single(bool write, int k) {
        QSignalSpy finished(&transfer, &FontTransfer::finished);
        if (!(write ? transfer.writeGlyph(k) : transfer.readGlyph(k))) return false;
        return finished.wait(10000) && finished.at(0).at(0).toBool();
    }
};

} // namespace

class FontTransferTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // One character written, then another read; while one runs no other starts.
    void singleCharacter() {
        Rig rig;
        rig.font.setPixel(3, 0, 0, 1);   // top left
        rig.font.setPixel(3, 15, 15, 1); // bottom right
        QSignalSpy finished(&rig.transfer, &FontTransfer::finished);
        QVERIFY(rig.transfer.writeGlyph(3));
        QVERIFY(!rig.transfer.writeGlyph(4) && !rig.transfer.readGlyph(4));
        QCOMPARE(rig.transfer.writeAll(), TransferResult::NotStarted);
        QVERIFY(finished.wait(3000) && finished.at(0).at(0).toBool());
        const QByteArray glyph = "01" + QByteArray(60, '0') + "80";
        QCOMPARE(rig.radio.frames(), (QList<QByteArray>{"QX~KP-R5", "QX~F01060W" + glyph}));
        QCOMPARE(rig.radio.read(0x1040, 96),
                 QByteArray(32, '\0') + QByteArray::fromHex(glyph) + QByteArray(32, '\0'));
        QCOMPARE(rig.host.texts(), QStringList{u"Success Font Write| Finish"_s});
        QCOMPARE(rig.host.progressValues, (QList<int>{50, 100, 0}));
        QCOMPARE(rig.host.finished, 1);
        QCOMPARE(rig.transfer.state(), int(FontTransfer::Idle));
        QVERIFY(!rig.link.isOpen());

        const QByteArray area = randomBytes(256, 5);
        rig.radio.write(0x1000, area);
        rig.radio.clearFrames();
        rig.host = test::RecordingHost();
        QVERIFY(rig.single(false, 2));
        QCOMPARE(rig.radio.frames(), (QList<QByteArray>{"QX~KP-R5", "QX~F01040R"}));
        QCOMPARE(encodeGlyph(rig.font, 2), area.mid(64, 32));
        QVERIFY(rig.font.pixel(3, 15, 15) && rig.font.isEmpty(1)); // the others as they were
    }

    void allCharacters() {
        SimOptions paced;
        paced.baud = 57600; // like the real wire
        Rig rig(paced);
        const QByteArray area = randomBytes(256, 33);
        for (int k = 0; k < 8; ++k)
            decodeGlyph(area.mid(32 * k, 32), rig.font, k);
        QCOMPARE(rig.transfer.writeAll(), TransferResult::Success);
        // Character k at 0x1000 + 32 k (the order: tst_mainwindow transferButtons).
        QCOMPARE(rig.radio.frames().last(), "QX~F010E0W" + area.mid(224).toHex().toUpper());
        QCOMPARE(rig.radio.read(0xFFF, 258), '\0' + area + '\0');
        QCOMPARE(rig.host.progressValues, (QList<int>{12, 24, 36, 48, 60, 72, 84, 100, 0}));
        QCOMPARE(rig.host.texts(), QStringList{u"All Font Data Write| Finish"_s});

        Rig back(paced);
        back.radio.setImage(rig.radio.image());
        QCOMPARE(back.transfer.readAll(), TransferResult::Success);
        for (int k = 0; k < 8; ++k)
            QCOMPARE(encodeGlyph(back.font, k), area.mid(32 * k, 32));
    }

    // A reply without "OK" ends a single transfer at once, without a retry
    // (the glyph frames' codes and the message: the fault matrix).
    void badAcknowledgement() {
        SimOptions options;
        options.corruptEvery = 1;
        Rig rig(options);
        QVERIFY(!rig.single(false, 0));
        QTest::qWait(500); // nothing is resent
        QCOMPARE(rig.radio.frameCount(), 1);
        QCOMPARE(rig.transfer.timeoutCount(), 0);
    }

    // A radio that never answers: a resend on every expiry of the timer, not
    // sooner, and the port closed after the last (the count and the message:
    // the fault matrix).
    void resendsWaitForTheTimer() {
        SimOptions options;
        options.silent = true;
        Rig rig(options);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!rig.single(false, 1));
        const qint64 ms = clock.elapsed();
        QVERIFY2(ms >= 21 * FontTransfer::kTimerMs - 50 && ms < 8000,
                 qPrintable(QString::number(ms)));
        QCOMPARE(rig.radio.frameCount(), 21);
        QCOMPARE(rig.transfer.timeoutCount(), 0);
        QCOMPARE(rig.transfer.state(), int(FontTransfer::Idle));
        QVERIFY(!rig.link.isOpen());
    }

    // Never more than three failures in a row, but ten in all end it; the
    // expiries of its waits count towards "Com Error" as well.
    void allCharactersGiveUpAfterTenFailures() {
        SimOptions options;
        options.dropEvery = 2;
        options.shortEvery = 3;
        Rig rig(options);
        const QByteArray area = randomBytes(256, 3);
        rig.radio.write(0x1000, area);
        QCOMPARE(rig.transfer.readAll(), TransferResult::Failed);
        QCOMPARE(rig.radio.frameCount(), 15);
        QCOMPARE(rig.host.texts(), QStringList{u"Error| Error"_s});
        for (int k = 0; k < 8; ++k)
            QVERIFY(k < 4 ? encodeGlyph(rig.font, k) == area.mid(32 * k, 32) : rig.font.isEmpty(k));
        QVERIFY(rig.transfer.timeoutCount() >= 3);
    }
};

QTEST_GUILESS_MAIN(FontTransferTest)
#include "tst_fonttransfer.moc"
