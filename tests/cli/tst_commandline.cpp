// The command line end to end: `kpr5 write` then `kpr5 read` against the
// simulated radio on a pseudo-terminal, CSV conversion, usage and failures.

#include "SimFixture.h"
#include "cli/CommandLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <functional>

using namespace kpr5;

namespace {

struct Run {
    int exitCode = -1;
    QString out, err;
};

Run runKpr5(const QStringList &args, int timeoutMs = 120000,
            const QString &replyTimeout = QString(),
            const std::function<void(QProcess &)> &whileRunning = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Backups of the reads go to a folder of the test's own.
    static QTemporaryDir dataHome;
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome.path());
    if (!replyTimeout.isEmpty())
        env.insert(QStringLiteral("KPR5_TEST_REPLY_TIMEOUT_MS"), replyTimeout);
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kpr5"), args);
    QElapsedTimer clock;
    clock.start();
    while (!p.waitForFinished(whileRunning ? 5 : timeoutMs) && clock.elapsed() < timeoutMs)
        if (whileRunning) whileRunning(p);
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished();
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The lines of a file without its first (date) line and the COMPORT line.
QList<QByteArray> comparable(const QByteArray &file) {
    QList<QByteArray> lines = file.split('\n');
    if (!lines.isEmpty()) lines.removeFirst();
    lines.removeIf(
        [](const QByteArray &l) { return l.startsWith("COMPORT") || l.startsWith("DEVICE"); });
    return lines;
}

const char *const kDataFile = "Save Date and Time 2026-12-06 08:00:00\r\n"
                              "CH00000145.0000010720208080002000.6001REPEATER\r\n"
                              "CH00120433.0000020720208080002005.0001TOWER\r\n"
                              "CH10011145.5000000000000080800000000.0000\r\n"
                              "CH14091145.0000000000000080800000000.0000PASS\r\n"
                              "BK0000500500000000000000000000000000\r\n"
                              "BK0001000000000000000000000000000000\r\n"
                              "BK0002000000000000000000000000000000\r\n"
                              "BK0003000000000000000000000000000000\r\n"
                              "BK0004000000000000000000000000000000\r\n"
                              "ONETOUCH_BANK000001255255255255255255255\r\n"
                              "ONETOUCH_CHDA005010000000000000000000000\r\n"
                              "NUM_DTMF0011234#\r\n"
                              "NUM_DTMF009*0-9\r\n"
                              "SET_DTMF001005005002000\r\n"
                              "TITLEHELLO:1~\r\n"
                              "GRD0010000000100000000000000000000000000000000000000011\r\n"
                              "SD01001001000007000000000000000000000000000000000000\r\n"
                              "COMPORT01\r\n"
                              "File End\r\n";

QByteArray fontFile() {
    QByteArray f = "Save Date and Time 2026-12-06 08:00:00\r\n";
    for (int k = 0; k < 8; ++k) {
        f += QByteArray::number(k) + "\r\n";
        for (int row = 0; row < 16; ++row) {
            QByteArray line(16, '0');
            line[(row + k) % 16] = '1';
            line[15 - row] = '1';
            f += line + "\r\n";
        }
    }
    return f + "File End\r\n";
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writeThenReadGivesTheSameFiles() {
        QTemporaryDir dir;
        const QString partial = dir.filePath(QStringLiteral("partial.R5"));
        const QString canonical = dir.filePath(QStringLiteral("radio.R5"));
        const QString font = dir.filePath(QStringLiteral("chars.FR5"));
        writeFile(partial, kDataFile);
        writeFile(font, fontFile());
        // A complete file in the program's own form (CSV round trip through the
        // data file keeps the channels; here the data file itself is used).
        QCOMPARE(
            runKpr5({QStringLiteral("export-csv"), partial, dir.filePath(QStringLiteral("c.CSV"))})
                .exitCode,
            0);

        sim::RadioSimulator radio;
        QVERIFY(radio.start());
        const Run w = runKpr5({QStringLiteral("write"), QStringLiteral("--port"), radio.portPath(),
                               QStringLiteral("--font"), font, QStringLiteral("--quiet"), partial});
        QVERIFY2(w.exitCode == 0, qPrintable(w.err));

        // What the radio holds, by the documented layouts.
        QCOMPARE(radio.read(0x1200, 7).toHex(),
                 QByteArray("014086a4080207")); // 145 MHz, AM, 25 kHz
        QCOMPARE(radio.read(0x1200 + 12 * 64, 1).toHex(), QByteArray("01"));
        QCOMPARE(radio.read(0x200, 6).toHex(), QByteArray("f401f4010000")); // 500, 500, 0
        QCOMPARE(radio.read(0x240 + 36, 28).toHex(),
                 QByteArray("6400c800640003006400640014000000000000000000000000000000"));
        QCOMPARE(radio.read(0x180, 6).toHex(), QByteArray("000500010a00"));
        QCOMPARE(radio.read(0x183 + 3 * 1 + 3, 3).toHex(), QByteArray("ff0000"));
        QCOMPARE(radio.read(0x1A0, 14).toHex(), QByteArray("480045004c004c004f0040870000"));
        QCOMPARE(radio.read(0x100, 8).toHex(),
                 QByteArray("808000000000c000"));                            // banks 0, 8, 48, 49
        QCOMPARE(radio.read(0x1113, 6).toHex(), QByteArray("010203040f11")); // memory 1: 1234#
        // Glyph 0: pixel (0,0) and (0,15) set: column 0 byte 0 bit 0, column 15 bit 0.
        QCOMPARE(radio.read(0x1000, 1).toHex(), QByteArray("01"));
        // Nothing outside the regions the program writes.
        const QByteArray image = radio.image();
        QCOMPARE(image.mid(0x1A7C0, 0x1FE01 - 0x1A7C0), QByteArray(0x1FE01 - 0x1A7C0, '\0'));
        QCOMPARE(image.mid(0x94, 0x100 - 0x94), QByteArray(0x100 - 0x94, '\0'));

        const QString back = dir.filePath(QStringLiteral("back.R5"));
        const QString backFont = dir.filePath(QStringLiteral("back.FR5"));
        const Run r =
            runKpr5({QStringLiteral("read"), QStringLiteral("--port"), radio.portPath(),
                     QStringLiteral("--output"), back, QStringLiteral("--font"), backFont});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));

        // The file read back equals the program's own saving of what was written.
        const QString expectedPath = dir.filePath(QStringLiteral("expected.R5"));
        QCOMPARE(runKpr5({QStringLiteral("import-csv"), dir.filePath(QStringLiteral("c.CSV")),
                          expectedPath})
                     .exitCode,
                 0);
        const QList<QByteArray> got = comparable(readAll(back));
        QVERIFY(got.contains("CH00120433.0000020720208080002005.0001TOWER\r"));
        QVERIFY(got.contains("TITLEHELLO:1~\r"));
        QVERIFY(got.contains("NUM_DTMF009*0-9\r"));
        QVERIFY(got.contains("BK0000500500000000000000000000000000\r"));
        QVERIFY(got.contains("ONETOUCH_BANK000001255255255255255255255\r"));
        QVERIFY(got.contains("ONETOUCH_CHDA005010000000000000000000000\r"));
        QCOMPARE(comparable(readAll(backFont)), comparable(fontFile()));

        // A second write of the file read back, and a second read: identical.
        const Run w2 =
            runKpr5({QStringLiteral("write"), QStringLiteral("--port"), radio.portPath(),
                     QStringLiteral("--font"), backFont, QStringLiteral("--quiet"), back});
        QVERIFY2(w2.exitCode == 0, qPrintable(w2.err));
        const QString again = dir.filePath(QStringLiteral("again.R5"));
        QCOMPARE(runKpr5({QStringLiteral("read"), QStringLiteral("--port"), radio.portPath(),
                          QStringLiteral("--output"), again})
                     .exitCode,
                 0);
        QCOMPARE(comparable(readAll(again)), got);
    }

    void readWithoutRadioWritesNothing() {
        QTemporaryDir dir;
        sim::SimOptions o;
        o.silent = true;
        sim::RadioSimulator radio(o);
        QVERIFY(radio.start());
        const QString out = dir.filePath(QStringLiteral("out.R5"));
        const Run r = runKpr5({QStringLiteral("read"), QStringLiteral("--port"), radio.portPath(),
                               QStringLiteral("--output"), out},
                              120000, QStringLiteral("100"));
        QCOMPARE(r.exitCode, 1);
        QVERIFY(!QFile::exists(out));
        for (const char *step : {"channels", "banks", "one-touch keys", "title", "settings",
                                 "user characters", "groups"})
            QVERIFY2(r.err.contains(QLatin1String(step) + QLatin1String(": Error")),
                     qPrintable(r.err));
        // 3 identification attempts for each of the seven steps, and no
        // success line before the one verdict line.
        QCOMPARE(radio.frameCount(), 21);
        QVERIFY2(!r.err.contains(QStringLiteral("Success")), qPrintable(r.err));
        QCOMPARE(r.err.count(QStringLiteral("did not complete")), 1);
    }

    // Ctrl+C stops a read between two blocks: exit 130, no file.
    void ctrlCStopsARead() {
        QTemporaryDir dir;
        sim::SimOptions o;
        o.baud = 57600; // as slow as the radio, so that the read is still running
        sim::RadioSimulator radio(o);
        QVERIFY(radio.start());
        const QString out = dir.filePath(QStringLiteral("out.R5"));
        bool sent = false;
        const Run r = runKpr5({QStringLiteral("read"), QStringLiteral("--port"), radio.portPath(),
                               QStringLiteral("--output"), out},
                              120000, QString(), [&](QProcess &p) {
                                  if (!sent && radio.frameCount() >= 40) {
                                      ::kill(pid_t(p.processId()), SIGINT);
                                      sent = true;
                                  }
                              });
        QVERIFY(sent);
        QCOMPARE(r.exitCode, 130);
        QVERIFY(!QFile::exists(out));
        QVERIFY2(r.err.contains(QStringLiteral("stopped during channels")), qPrintable(r.err));
        QVERIFY(radio.frameCount() < 60); // between two blocks, not at the end
    }

    void portAndUsageErrors() {
        QTemporaryDir dir;
        const Run missing = runKpr5({QStringLiteral("read"), QStringLiteral("--port"),
                                     QStringLiteral("/dev/kpr5-none"), QStringLiteral("--output"),
                                     dir.filePath(QStringLiteral("x.R5"))});
        QCOMPARE(missing.exitCode, 3);
        QVERIFY2(missing.err.contains(QStringLiteral("no such device")), qPrintable(missing.err));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("x.R5"))));
        QCOMPARE(runKpr5({QStringLiteral("read")}).exitCode, 2);
        QCOMPARE(runKpr5({QStringLiteral("frobnicate")}).exitCode, 2);
        const Run help = runKpr5({QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.contains(QStringLiteral("Exit codes")));
        writeFile(dir.filePath(QStringLiteral("bad.txt")), "CH0000");
        const Run wrongExtension =
            runKpr5({QStringLiteral("write"), QStringLiteral("--port"), QStringLiteral("COM1"),
                     dir.filePath(QStringLiteral("bad.txt"))});
        QCOMPARE(wrongExtension.exitCode, 4);
        QVERIFY(wrongExtension.err.contains(QStringLiteral("This File don't Open")));
        // A data file (an existing file, or any name ending in .R5) is for the window.
        const auto command = [](const QString &a) { return cli::isCommand({"kpr5", a}); };
        QVERIFY(command("read") && command("frobnicate") && command("--help"));
        QVERIFY(!command("radio.R5") && !command("old.r5") && !command("--no-splash"));
        QVERIFY(!command(dir.filePath(QStringLiteral("bad.txt"))));
    }

    void csvConversions() {
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("a.R5"));
        writeFile(data, kDataFile);
        const QString csv = dir.filePath(QStringLiteral("a.CSV"));
        QCOMPARE(runKpr5({QStringLiteral("export-csv"), data, csv}).exitCode, 0);
        const QByteArray text = readAll(csv);
        QVERIFY(text.startsWith("\"\",\"Freqency\",\"mode\""));
        QCOMPARE(text.count("\r\n"), 1624);
        const QString back = dir.filePath(QStringLiteral("b.R5"));
        QCOMPARE(runKpr5({QStringLiteral("import-csv"), csv, back}).exitCode, 0);
        QVERIFY(readAll(back).contains("CH00120433.0000020720208080002005.0001TOWER\r\n"));
        writeFile(dir.filePath(QStringLiteral("junk.CSV")), QByteArray(300, '\x01'));
        const Run junk =
            runKpr5({QStringLiteral("import-csv"), dir.filePath(QStringLiteral("junk.CSV")), back});
        QCOMPARE(junk.exitCode, 4);
        QVERIFY(junk.err.contains(QStringLiteral("CSV File Error")));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
