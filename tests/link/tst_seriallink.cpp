// The serial link against the simulated radio on a real pseudo-terminal.

#include "SimFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include <sys/resource.h>

using namespace kpr5;
using namespace kpr5::test;

namespace {
double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}
} // namespace

class SerialLinkTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void identifyAndBlocks() {
        sim::RadioSimulator radio;
        SerialLink link;
        connectLink(link, radio);
        QCOMPARE(link.identify(), Outcome::Accepted);

        QByteArray record(64, '\0');
        for (int i = 0; i < 64; ++i)
            record[i] = char(i * 3);
        radio.write(0x13E00, record);
        QByteArray data;
        QCOMPARE(link.readBlock(0x13E00, &data), Outcome::Accepted);
        QCOMPARE(data, record);

        const QByteArray block = QByteArray::fromHex("0102030405");
        QCOMPARE(link.writeBlock(0x1A780, block), Outcome::Accepted);
        QCOMPARE(radio.read(0x1A780, 5), block);
        QCOMPARE(radio.read(0x1A785, 1), QByteArray(1, '\0'));

        const QList<QByteArray> frames = radio.frames();
        QCOMPARE(frames.size(), 3);
        QCOMPARE(frames[0], QByteArray("QX~KP-R5T"));
        QCOMPARE(frames[1], QByteArray("QX~F13E00R"));
        QCOMPARE(frames[2], QByteArray("QX~F1A780W0102030405"));
        QVERIFY2(!link.isOpen(), "the port is closed once a reply has arrived");
    }

    void faultsAreFailedExchanges_data() {
        QTest::addColumn<QString>("fault");
        QTest::newRow("dropped") << "drop";
        QTest::newRow("short") << "short";
        QTest::newRow("corrupted") << "corrupt";
    }
    void faultsAreFailedExchanges() {
        QFETCH(QString, fault);
        sim::SimOptions o;
        if (fault == QLatin1String("drop"))
            o.dropEvery = 1;
        else if (fault == QLatin1String("short"))
            o.shortEvery = 1;
        else
            o.corruptEvery = 1;
        sim::RadioSimulator radio(o);
        SerialLink link;
        connectLink(link, radio, 150);
        QCOMPARE(link.identify(), Outcome::Rejected);
        QByteArray data;
        QCOMPARE(link.readBlock(0x1200, &data), Outcome::Rejected);
        QCOMPARE(link.writeBlock(0x1200, QByteArray(64, '\0')), Outcome::Rejected);
    }

    void lateReplyIsNotTakenForTheNextOne() {
        sim::SimOptions o;
        o.lateEvery = 2; // the read's reply comes late
        o.lateMs = 300;
        sim::RadioSimulator radio(o);
        SerialLink link;
        connectLink(link, radio, 150);
        QCOMPARE(link.identify(), Outcome::Accepted);
        QByteArray data;
        QCOMPARE(link.readBlock(0x1200, &data), Outcome::Rejected);
        QTest::qWait(400);
        // A block read closes and reopens the port; the stale bytes of the late
        // reply arrive with the new one and make it too long, never wrong data.
        const Outcome o2 = link.readBlock(0x1240, &data);
        QVERIFY(o2 == Outcome::Rejected ||
                (o2 == Outcome::Accepted && data == QByteArray(64, '\0')));
    }

    void identificationIsTriedThreeTimes() {
        sim::SimOptions o;
        o.silent = true;
        sim::RadioSimulator radio(o);
        SerialLink link;
        connectLink(link, radio);
        RecordingHost host;
        Operation op(link, host);
        QVERIFY(op.begin());
        QVERIFY(link.busy());
        QElapsedTimer t;
        t.start();
        const double cpu0 = cpuSeconds();
        QVERIFY(!op.identify());
        const qint64 ms = t.elapsed();
        const double cpu = cpuSeconds() - cpu0;
        QCOMPARE(radio.frameCount(), 3);
        QVERIFY2(ms >= 2900 && ms < 4500, qPrintable(QString::number(ms)));
        QVERIFY2(cpu < 0.3, qPrintable(QStringLiteral("CPU %1 s while waiting").arg(cpu)));
        QCOMPARE(host.texts(), QStringList{QStringLiteral("Error| Error")});
        QVERIFY(!link.busy());
        QCOMPARE(link.completion(), Completion::StepFailed);
        QCOMPARE(host.finished, 1);
        QCOMPARE(host.percents.last(), 0);
    }

    void retryRecoversFromOneFailure() {
        sim::SimOptions o;
        o.dropEvery = 2; // the second frame goes unanswered
        sim::RadioSimulator radio(o);
        SerialLink link;
        connectLink(link, radio, 150);
        RecordingHost host;
        Operation op(link, host);
        QVERIFY(op.begin());
        QVERIFY(op.identify());
        QVERIFY(op.retry(3, [&] { return link.writeBlock(0x200, QByteArray(64, 'x')); }));
        QCOMPARE(radio.frameCount(), 3);
        op.succeed();
        QCOMPARE(host.texts(), QStringList{QStringLiteral("Success| Finish")});
        QVERIFY(!link.busy());
    }

    void quietStepShowsNoSuccess() {
        sim::RadioSimulator radio;
        SerialLink link;
        connectLink(link, radio);
        RecordingHost host;
        Sequence wholeRadio(link, host);
        wholeRadio.step(QStringLiteral("step"), [&] {
            Operation op(link, host);
            if (op.begin() && op.identify()) op.succeed();
            return op.result();
        });
        QVERIFY(host.messages.isEmpty());
        QCOMPARE(link.completion(), Completion::Announce);
    }

    void failureDoesNotSilenceTheNextSuccess() {
        sim::RadioSimulator radio;
        SerialLink link;
        connectLink(link, radio);
        RecordingHost host;
        Operation failed(link, host);
        QVERIFY(failed.begin());
        failed.fail();
        QCOMPARE(link.completion(), Completion::StepFailed);
        Operation next(link, host);
        QVERIFY(next.begin());
        QVERIFY(next.identify());
        next.succeed();
        QCOMPARE(host.texts(),
                 (QStringList{QStringLiteral("Error| Error"), QStringLiteral("Success| Finish")}));
    }

    void busyRefusesASecondTransfer() {
        SerialLink link;
        RecordingHost host;
        Operation first(link, host);
        QVERIFY(first.begin());
        Operation second(link, host);
        QVERIFY(!second.begin());
        QVERIFY(link.busy());
    }

    void unopenablePortIsAPortError() {
        SerialLink link;
        link.portSettings().devicePath = missingPort();
        RecordingHost host;
        Operation op(link, host);
        QVERIFY(op.begin());
        QVERIFY(!op.identify());
        QCOMPARE(host.messages.size(), 1);
        QCOMPARE(host.messages[0].text, QStringLiteral("Port Error"));
        QCOMPARE(host.messages[0].title, QStringLiteral(" Error"));
        QVERIFY2(host.messages[0].detail.contains(QStringLiteral("no such device")),
                 qPrintable(host.messages[0].detail));
        QVERIFY(!link.busy());
    }

    void vanishedPortIsUsableAgainWhenBack() {
        sim::SimOptions o;
        o.linkPath = QDir::temp().filePath(
            QStringLiteral("kpr5-test-%1").arg(QCoreApplication::applicationPid()));
        sim::RadioSimulator radio(o);
        SerialLink link;
        connectLink(link, radio, 150);
        QCOMPARE(link.identify(), Outcome::Accepted);
        radio.hangUp();
        QCOMPARE(link.identify(), Outcome::PortError);
        QVERIFY(!link.portError().isEmpty());
        QVERIFY(radio.reconnect());
        QCOMPARE(link.identify(), Outcome::Accepted);
    }

    void closeRequestEndsTheWait() {
        sim::SimOptions o;
        o.silent = true;
        sim::RadioSimulator radio(o);
        SerialLink link;
        connectLink(link, radio, 5000);
        QTimer::singleShot(100, &link, [&] { link.requestClose(); });
        QElapsedTimer t;
        t.start();
        QCOMPARE(link.identify(), Outcome::Closing);
        QVERIFY(t.elapsed() < 2000);
        RecordingHost host;
        Operation op(link, host);
        QVERIFY2(!op.begin(), "no transfer starts once the window is closing");
    }

    void comPortNames() {
        QCOMPARE(PortSettings::comNumberFromText(QStringLiteral("COM12")), 12);
        QCOMPARE(PortSettings::comNumberFromText(QStringLiteral("com3")), 3);
        QCOMPARE(PortSettings::comNumberFromText(QStringLiteral("/dev/ttyUSB0")), 0);
        SerialLink link;
        link.portSettings().comPort = 3;
#ifdef Q_OS_WIN
        QCOMPARE(link.portName(), QStringLiteral("COM3"));
#else
        QCOMPARE(link.portName(), QStringLiteral("/dev/ttyS2"));
#endif
        link.portSettings().devicePath = QStringLiteral("/dev/ttyUSB0");
        QCOMPARE(link.portName(), QStringLiteral("/dev/ttyUSB0"));
    }
};

QTEST_GUILESS_MAIN(SerialLinkTest)
#include "tst_seriallink.moc"
