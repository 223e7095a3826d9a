// The command line end to end: `kpr5 write` then `kpr5 read` against the
// simulated radio on a pseudo-terminal, CSV conversion, usage and failures.

#include "Files.h"
#include "Kpr5Process.h"
#include "SimFixture.h"
#include "cli/CommandLine.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <csignal>

using namespace kpr5;

namespace {

using Run = test::Kpr5Run;
using test::readFile;
using test::runKpr5;
using test::writeFile;

// The lines of a file without its first (date) line and the COMPORT line.
QList<QByteArray> comparable(const QByteArray &file) {
    QList<QByteArray> lines = file.split('\n');
    if (!lines.isEmpty()) lines.removeFirst();
    lines.removeIf(
        [](const QByteArray &l) { return l.startsWith("COMPORT") || l.startsWith("DEVICE"); });
    return lines;
}

// Golden inputs: a data file with a few rows and a value in every other
// region, and a font file of eight crossed characters.
QByteArray golden(const char *name) {
    return readFile(QFINDTESTDATA(QStringLiteral("../data/") + QLatin1String(name)));
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Written with --verify --quiet, the bank area changed once the read-back
    // has begun: only the verdict naming it is printed, and nothing of the
    // radio outside the regions the program writes changed. Read back without
    // --quiet. Both keep backups (the read's holds what its file holds), and a
    // read writes its file even without a backup folder. (Every value both
    // ways: tst_roundtrip; which region verify names: tst_verifybackup.)
    void writeThenReadGivesTheSameFiles() {
        QTemporaryDir dir;
        const QString partial = dir.filePath(QStringLiteral("partial.R5"));
        const QString font = dir.filePath(QStringLiteral("chars.FR5"));
        writeFile(partial, golden("partial.R5"));
        writeFile(font, golden("crossed.FR5"));
        const QStringList env{QStringLiteral("XDG_DATA_HOME=") + dir.filePath("data"),
                              QStringLiteral("KPR5_TEST_REPLY_TIMEOUT_MS=300")};
        sim::RadioSimulator radio;
        QVERIFY(radio.start());
        bool changed = false;
        const Run w = runKpr5(
            {"write", "--port", radio.portPath(), "--font", font, "--verify", "--quiet", partial},
            env, [&](QProcess &) {
                if (!changed && radio.frames().contains("QX~F01200R")) {
                    radio.write(0x200, QByteArray(2, char(0x77)));
                    changed = true;
                }
            });
        QVERIFY(changed);
        QCOMPARE(w.exitCode, 1);
        QCOMPARE(w.err, QStringLiteral("kpr5: Verify: banks differ (1 block)\n"));
        QCOMPARE(radio.read(0x1200, 7).toHex(), QByteArray("014086a4080207")); // 145 MHz, AM
        const QByteArray image = radio.image();
        QCOMPARE(image.mid(0x1A7C0, 0x1FE01 - 0x1A7C0), QByteArray(0x1FE01 - 0x1A7C0, '\0'));
        QCOMPARE(image.mid(0x94, 0x100 - 0x94), QByteArray(0x100 - 0x94, '\0'));

        const QString back = dir.filePath(QStringLiteral("back.R5"));
        const QString backFont = dir.filePath(QStringLiteral("back.FR5"));
        const Run r = runKpr5(
            {"read", "--port", radio.portPath(), "--output", back, "--font", backFont}, env);
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QVERIFY2(r.err.contains(QStringLiteral("Success")), qPrintable(r.err));
        QVERIFY(
            comparable(readFile(back)).contains("CH00120433.0000020720208080002005.0001TOWER\r"));
        QCOMPARE(comparable(readFile(backFont)), comparable(golden("crossed.FR5")));
        const QDir backups(dir.filePath(QStringLiteral("data/kpr5/backups")));
        QStringList kept = backups.entryList(QDir::Files, QDir::Name);
        QCOMPARE(kept.filter(QStringLiteral("-written.")).size(), 2);
        kept =
            kept.filter(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d_\\d{6}\\.F?R5$")));
        QCOMPARE(kept.size(), 2);
        QCOMPARE(comparable(readFile(back)), comparable(readFile(backups.filePath(kept.at(1)))));

        const Run warned =
            runKpr5({"read", "--port", radio.portPath(), "--output", back, "--quiet"},
                    {QStringLiteral("XDG_DATA_HOME=") + partial, env.at(1)});
        QCOMPARE(warned.exitCode, 0);
        QVERIFY2(warned.err.contains(QStringLiteral("warning: no backup kept")),
                 qPrintable(warned.err));
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
        const Run r =
            runKpr5({"read", "--port", radio.portPath(), "--output", out}, {}, [&](QProcess &p) {
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

    // Runs that fail (and help): the exit code, what they say, no file
    // written. A silent radio: one verdict line and no success line (how each
    // step ends is the fault matrix's).
    void usagePortAndFileErrors() {
        QTemporaryDir dir;
        const QString x = dir.filePath(QStringLiteral("x.R5"));
        const QString bad = dir.filePath(QStringLiteral("bad.txt"));
        const QString junk = dir.filePath(QStringLiteral("junk.CSV"));
        writeFile(bad, "CH0000");
        writeFile(junk, QByteArray(300, '\x01'));
        sim::SimOptions o;
        o.silent = true;
        sim::RadioSimulator silent(o);
        QVERIFY(silent.start());
        const struct {
            QStringList args;
            int exitCode;
            QString says;
        } runs[] = {{{"read", "--port", "/dev/kpr5-none", "--output", x}, 3, "no such device"},
                    {{"read"}, 2, ""},
                    {{"frobnicate"}, 2, ""},
                    {{"--help"}, 0, "Exit codes"},
                    {{"write", "--port", "COM1", bad}, 4, "This File don't Open"},
                    {{"import-csv", junk, x}, 4, "CSV File Error"},
                    {{"read", "--port", silent.portPath(), "--output", x}, 1, "groups: Error"}};
        Run r;
        for (const auto &run : runs) {
            r = runKpr5(run.args, {"KPR5_TEST_REPLY_TIMEOUT_MS=100"});
            QVERIFY2(r.exitCode == run.exitCode && (r.out + r.err).contains(run.says),
                     qPrintable(run.args.join(' ') + ": " + r.err));
            QVERIFY(!QFile::exists(x) && !r.err.contains(QStringLiteral("Success")));
        }
        QCOMPARE(r.err.count(QStringLiteral("did not complete")), 1);
        // A data file (an existing file, or any name ending in .R5) is for the window.
        const auto command = [](const QString &a) { return cli::isCommand({"kpr5", a}); };
        QVERIFY(command("read") && command("frobnicate") && command("--help"));
        QVERIFY(!command("radio.R5") && !command("old.r5") && !command("--no-splash"));
        QVERIFY(!command(bad));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
