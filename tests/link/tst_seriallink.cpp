// The serial link and the transfer engine against the simulated radio on a
// real pseudo-terminal: single exchanges, and every way a transfer ends.

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

sim::SimOptions silentRadio() {
    sim::SimOptions o;
    o.silent = true;
    return o;
}

// What a transfer does on a link to a started radio, through the engine.
using Script = std::function<void(sim::RadioSimulator &, SerialLink &, RecordingHost &)>;

// What the transfer leaves: messages, frames sent, busy, and how long it took.
struct Ending {
    QStringList messages;
    int frames = 0;
    bool busy = false;
    int minMs = 0, maxMs = 0;
};

void identifyAndSucceed(SerialLink &link, RecordingHost &host) {
    Operation op(link, host);
    if (op.begin() && op.identify()) op.succeed();
}

} // namespace

Q_DECLARE_METATYPE(Script)
Q_DECLARE_METATYPE(Ending)

class SerialLinkTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
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
        const Outcome next = link.readBlock(0x1240, &data);
        QVERIFY(next == Outcome::Rejected ||
                (next == Outcome::Accepted && data == QByteArray(64, '\0')));
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

    // How a transfer ends. Every ending clears busy and resets the progress;
    // no wait spins the CPU.
    void endings_data() {
        QTest::addColumn<Script>("script");
        QTest::addColumn<Ending>("want");
        const QString error = QStringLiteral("Error| Error");
        const QString success = QStringLiteral("Success| Finish");

        QTest::newRow("silent radio: three identifications, then Error")
            << Script([](sim::RadioSimulator &radio, SerialLink &link, RecordingHost &host) {
                   radio.setOptions(silentRadio());
                   Operation op(link, host);
                   QVERIFY(op.begin() && !op.identify());
                   QCOMPARE(link.completion(), Completion::StepFailed);
               })
            << Ending{{error}, 3, false, 2900, 4500};
        QTest::newRow("one failure is retried")
            << Script([](sim::RadioSimulator &radio, SerialLink &link, RecordingHost &host) {
                   sim::SimOptions o;
                   o.dropEvery = 2; // the second frame goes unanswered
                   radio.setOptions(o);
                   link.setReplyTimeout(150);
                   Operation op(link, host);
                   QVERIFY(op.begin() && op.identify());
                   QVERIFY(op.retry(3, [&] { return link.writeBlock(0x200, "xy"); }));
                   op.succeed();
               })
            << Ending{{success}, 3, false, 0, 1500};
        QTest::newRow("a quiet step shows no Success")
            << Script([](sim::RadioSimulator &, SerialLink &link, RecordingHost &host) {
                   Sequence wholeRadio(link, host);
                   wholeRadio.step(QStringLiteral("step"), [&] {
                       identifyAndSucceed(link, host);
                       return TransferResult::Success;
                   });
                   QCOMPARE(link.completion(), Completion::Announce);
               })
            << Ending{{}, 1, false, 0, 1000};
        QTest::newRow("a failure does not silence the next success")
            << Script([](sim::RadioSimulator &, SerialLink &link, RecordingHost &host) {
                   Operation failed(link, host);
                   QVERIFY(failed.begin());
                   failed.fail();
                   identifyAndSucceed(link, host);
               })
            << Ending{{error, success}, 1, false, 0, 1000};
        QTest::newRow("busy refuses a second transfer")
            << Script([](sim::RadioSimulator &, SerialLink &link, RecordingHost &host) {
                   Operation first(link, host);
                   QVERIFY(first.begin());
                   identifyAndSucceed(link, host);
               })
            << Ending{{}, 0, true, 0, 1000};
        QTest::newRow("closing during a wait ends without a message")
            << Script([](sim::RadioSimulator &radio, SerialLink &link, RecordingHost &host) {
                   radio.setOptions(silentRadio());
                   link.setReplyTimeout(5000);
                   QTimer::singleShot(100, &link, [&] { link.requestClose(); });
                   Operation op(link, host);
                   QVERIFY(op.begin() && !op.identify());
                   QCOMPARE(op.result(), TransferResult::Closed);
                   QCOMPARE(host.closed, 1);
                   QVERIFY2(!Operation(link, host).begin(), "nothing starts once closing");
               })
            << Ending{{}, 1, false, 0, 2000};
    }
    void endings() {
        QFETCH(Script, script);
        QFETCH(Ending, want);
        sim::RadioSimulator radio;
        SerialLink link;
        connectLink(link, radio);
        RecordingHost host;
        QElapsedTimer clock;
        clock.start();
        const double cpu0 = cpuSeconds();
        script(radio, link, host);
        const qint64 ms = clock.elapsed();
        QVERIFY2(cpuSeconds() - cpu0 < 0.3, "a wait must not spin");
        QVERIFY2(ms >= want.minMs && ms < want.maxMs, qPrintable(QString::number(ms)));
        QCOMPARE(host.texts(), want.messages);
        QCOMPARE(radio.frameCount(), want.frames);
        QCOMPARE(link.busy(), want.busy);
        QVERIFY2(!link.isOpen(), "the port is closed once a reply has arrived");
        if (!want.busy && host.started > 0 && host.closed == 0) {
            QCOMPARE(host.finished, host.started);
            QCOMPARE(host.percents.last(), 0);
        }
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
