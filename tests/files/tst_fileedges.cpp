// What the program makes of files from outside, and of targets that are not
// files: names cut to the radio's 16 slots (and said so), font files that
// are not, pipes and devices, failed saves.

#include "FailDevice.h"
#include "Files.h"
#include "Kpr5Process.h"
#include "cli/CommandLine.h"
#include "core/document/RadioDocument.h"
#include "core/files/CsvFile.h"
#include "core/files/DataFile.h"
#include "core/files/FontFile.h"
#include "core/files/TextLines.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kpr5;
using kpr5::test::writeFile;

namespace {

using Col = ChannelTable::Column;

const QString kCsvHeader = QStringLiteral(
    ",Freqency,mode,step,Carrier,Tone/DCS,Tx-tone,Rx-tone,DCS,Shift,Shift-Freq,Skip,Name,0");

QString csvRow(const QString &name, const QString &mode = QStringLiteral("FM"),
               const QString &carrier = QStringLiteral("2300Hz")) {
    return QStringLiteral(",145.00000,%1,5KHz,%2,None,88.5Hz,88.5Hz,023,Off,0.000MHz,,%3,1")
        .arg(mode, carrier, name);
}

// A CH line for `slot` up to its name (145 MHz, FM, all else at its start).
QString channelFields(int slot) {
    return QStringLiteral("CH%1").arg(slot, 4, 10, QLatin1Char('0')) +
           QStringLiteral("0145.0000000020008080000000.0000");
}

int runCli(const QStringList &arguments) {
    return cli::run(QStringList{QStringLiteral("kpr5")} + arguments);
}

} // namespace

class FileEdgesTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    // Names and titles measured in the radio's 16 slots: longer ones are cut
    // and the reader says so.
    void namesFromFiles() {
        const QString users12 = QStringLiteral(":1~:2~:3~:4~:5~:6~:7~:8~:1~:2~:3~:4~");
        const QString kanji16 = QStringLiteral(u"愛圧以伊位囲易移井域育一茨隠右宇");
        const std::pair<QString, QString> names[] = {
            {users12 + "ABCD", users12 + "ABCD"}, // 52 bytes
            {kanji16, kanji16},
            {kanji16 + "愛", kanji16},
            {"ABCDEFGHIJKLMNOP:1~", "ABCDEFGHIJKLMNOP"}};
        for (const QString source : {"CH", "TITLE", "CSV"}) {
            for (const auto &[text, shown] : names) {
                RadioDocument doc;
                QStringList notes;
                if (source == QLatin1String("CSV")) {
                    notes =
                        importCsv(doc.channels, textfile::encodeLines({kCsvHeader, csvRow(text)}))
                            .notes;
                } else {
                    const QString line = source == QLatin1String("CH") ? channelFields(0) : "TITLE";
                    notes = readDataFile(doc, textfile::encodeLines({"h", line + text})).notes;
                }
                const QString got = source == QLatin1String("TITLE")
                                        ? doc.title.displayText()
                                        : doc.channels.text(1, Col::NameCol);
                QVERIFY2(
                    got == shown && notes.size() == (shown != text ? 1 : 0) &&
                        notes.join(QString()).contains(QLatin1String(shown != text ? "cut" : "")),
                    qPrintable(source + ": " + text + " -> " + got + ", " + notes.join(", ")));
            }
        }
    }

    // ... and the command line warns of them.
    void commandLineWarns() {
        const QString csv = m_dir.filePath(QStringLiteral("long.CSV"));
        const QString data = m_dir.filePath(QStringLiteral("long.R5"));
        writeFile(csv, textfile::encodeLines({kCsvHeader, csvRow(QString(20, QLatin1Char('N'))),
                                              csvRow(QStringLiteral("X"), QStringLiteral("XM"))}));
        test::Kpr5Run run = test::runKpr5({"import-csv", csv, data});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.contains(QLatin1String("warning: ") + csv +
                                  QLatin1String(": Rows emptied, their mode")) &&
                     run.err.contains(QLatin1String("Names cut to the 16 characters the radio "
                                                    "holds: rows 1")),
                 qPrintable(run.err));
        writeFile(data, textfile::encodeLines({QStringLiteral("h"),
                                               channelFields(5) + QString(20, QLatin1Char('N'))}));
        run = test::runKpr5({"export-csv", data, m_dir.filePath("x.CSV")});
        QVERIFY2(run.exitCode == 0 && run.err.contains(QLatin1String("warning: ") + data +
                                                       QLatin1String(": CH0005: the name was cut")),
                 qPrintable(run.err));
    }

    // A font file without a font line: refused before the radio is touched.
    void fontFileThatIsNot() {
        const QString data = m_dir.filePath(QStringLiteral("any.R5"));
        const QString font = m_dir.filePath(QStringLiteral("not.FR5"));
        writeFile(data, textfile::encodeLines({QStringLiteral("h"), QStringLiteral("TITLE")}));
        writeFile(font, "Save Date and Time\r\nHello\r\nFile End\r\n");
        QCOMPARE(runCli({"write", "--port", "/dev/kpr5-never-used", "--font", font, data}),
                 int(cli::ExitFile));
    }

    void targetsThatAreNotFiles() {
        const QString data = m_dir.filePath(QStringLiteral("t.R5"));
        writeFile(data, textfile::encodeLines({QStringLiteral("h"), QStringLiteral("TITLEHI")}));
        const QString csv = m_dir.filePath(QStringLiteral("t.CSV"));
        writeFile(csv, textfile::encodeLines({kCsvHeader, csvRow(QStringLiteral("PIPE"))}));

        // A named pipe: its reader gets the file, and it stays a pipe.
        const QString fifo = m_dir.filePath(QStringLiteral("pipe"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(reader >= 0);
        QCOMPARE(runCli({"import-csv", csv, fifo}), int(cli::ExitOk));
        QByteArray got(65536, '\0');
        got.resize(int(std::max<ssize_t>(0, ::read(reader, got.data(), size_t(got.size())))));
        ::close(reader);
        QVERIFY2(got.contains("PIPE\r\n") && got.endsWith("File End\r\n"), got.constData());
        struct stat info {};
        QVERIFY(::stat(QFile::encodeName(fifo).constData(), &info) == 0 && S_ISFIFO(info.st_mode));

        // A device that takes nothing: the error, and it stays a device.
        QCOMPARE(runCli({"export-csv", data, "/dev/full"}), int(cli::ExitFile));
        QVERIFY(::stat("/dev/full", &info) == 0 && S_ISCHR(info.st_mode));

        // A folder is refused with the reason.
        QString error;
        QVERIFY(!textfile::saveFile(m_dir.path(), "x", &error));
        QVERIFY2(error.contains(QLatin1String("a folder")), qPrintable(error));
    }

    // Into a device that fails, to a path below a file, onto a disk that
    // fills up: an error with its reason, and the old file as it was.
    void failedSaves() {
        for (const QString kind : {"R5", "FR5", "CSV"}) {
            RadioDocument doc;
            FailDevice device(200);
            QVERIFY(device.open(QIODevice::WriteOnly));
            QString error;
            QVERIFY(!(kind == QLatin1String("R5")    ? writeDataFile(doc, 1, device, &error)
                      : kind == QLatin1String("FR5") ? writeFontFile(doc.font, device, {}, &error)
                                                     : exportCsv(doc.channels, device, &error)));
            QVERIFY(!error.isEmpty());
            const auto saveError = [&](const QString &path) {
                QString e;
                const bool ok = kind == QLatin1String("R5")    ? saveDataFile(doc, 1, path, &e)
                                : kind == QLatin1String("FR5") ? saveFontFile(doc.font, path, &e)
                                                               : saveCsv(doc.channels, path, &e);
                return ok ? QString() : e;
            };
            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("old.") + kind);
            writeFile(path, "old contents");
            QVERIFY(!saveError(path + QStringLiteral("/new.") + kind).isEmpty());
            {
                DiskFullAfter full(1024);
                QVERIFY(!saveError(path).isEmpty());
            }
            QCOMPARE(test::readFile(path), QByteArray("old contents"));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                     QStringList{QFileInfo(path).fileName()});
            QVERIFY(saveError(path).isEmpty()); // with room, the file is replaced
            QVERIFY(QFileInfo(path).size() > 1024);
        }
    }
};

QTEST_GUILESS_MAIN(FileEdgesTest)
#include "tst_fileedges.moc"
