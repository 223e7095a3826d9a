// Nothing lost: verify after write finds and names a region the radio holds
// differently from what was written; every complete whole-radio read is kept
// as a timestamped backup. Against the simulated radio (through the command
// line: tst_commandline).

#include "Documents.h"
#include "Files.h"
#include "SimFixture.h"

#include "core/document/RadioDocument.h"
#include "core/files/Backups.h"
#include "core/files/DataFile.h"
#include "core/files/FontFile.h"
#include "core/radio/Verify.h"
#include "core/radio/WholeRadio.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace kpr5;
using namespace kpr5::test;

namespace {

// The regions with the channels cut down to a few rows of each end and the
// dual-watch rows 1101..1104 (the whole table is read back elsewhere).
QList<VerifyRegion> fewChannels(QList<VerifyRegion> regions) {
    if (regions.isEmpty() || regions.first().name != QLatin1String("channels") ||
        regions.first().blocks.size() != 1623)
        qFatal("the channels come first, one block per row");
    QList<VerifyBlock> &channels = regions.first().blocks;
    channels = channels.mid(0, 2) + channels.mid(1100, 4) + channels.mid(1620);
    return regions;
}

} // namespace

class VerifyBackupTest : public QObject {
    Q_OBJECT
    RadioDocument m_doc;
    QByteArray m_written;

private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        // The radio as a whole-radio write of the document leaves it.
        fillDocument(m_doc, 5); // something in every region
        sim::RadioSimulator radio;
        SerialLink link;
        connectLink(link, radio);
        RecordingHost host;
        QVERIFY(writeAll(m_doc, link, host, true).ok());
        m_written = radio.image();
        // Read back as it is: no difference.
        const VerifyResult clean = verifyWritten(m_doc, link, host, true);
        QVERIFY(clean.ok());
    }

    // The radio's memory changed between the write and the read-back: the
    // region holding the change is named, and only that one.
    // The cases of tests/data/tst_verifybackup-changes.tsv.
    void changedMemoryIsNamed_data() {
        QTest::addColumn<quint32>("address");
        QTest::addColumn<QString>("region");
        for (const QStringList &c :
             tableRows(QFINDTESTDATA("../data/tst_verifybackup-changes.tsv")))
            QTest::newRow(qPrintable(c[0])) << c[1].toUInt(nullptr, 16) << c.value(2);
    }
    void changedMemoryIsNamed() {
        QFETCH(quint32, address);
        QFETCH(QString, region);
        sim::RadioSimulator radio;
        radio.setImage(m_written);
        SerialLink link;
        connectLink(link, radio);
        const QByteArray before = radio.read(address, 1);
        radio.write(address, QByteArray(1, char(before.at(0) ^ 0x5A)));

        // Every region, with the channels cut down to the rows around the
        // changes (the whole table is read back in the command-line test).
        RecordingHost host;
        const VerifyResult result =
            verifyRegions(fewChannels(writtenRegions(m_doc, true)), link, host);
        QVERIFY(result.started);
        QVERIFY(result.unread.isEmpty());
        QCOMPARE(host.messages.size(), 0); // the caller reports
        QVERIFY(!link.busy());
        if (region.isEmpty()) {
            QVERIFY(result.ok());
            QCOMPARE(result.reportLines(), QStringList{QStringLiteral("Verify: no difference")});
        } else {
            QCOMPARE(result.differing, QStringList{region});
            QCOMPARE(result.reportLines(),
                     QStringList{QStringLiteral("Verify: %1 differ (1 block)").arg(region)});
        }
    }

    void radioGoneIsNotAPass() {
        sim::SimOptions options;
        options.hangupAfter = 5; // the identification and three channel blocks answered
        sim::RadioSimulator radio(options);
        radio.setImage(m_written);
        SerialLink link;
        connectLink(link, radio, 60);
        RecordingHost host;
        const VerifyResult result = verifyWritten(m_doc, link, host, true);
        QVERIFY(!result.ok());
        QCOMPARE(result.unread.size(), 8);
        QCOMPARE(result.unread.first(), QStringLiteral("channels"));
        QVERIFY(result.reportLines().contains(QStringLiteral("Verify: groups not read back")));
        QCOMPARE(host.messages.size(), 1); // the transfer's own error
        QVERIFY(host.messages.first().title.trimmed() == QLatin1String("Error"));
        QVERIFY(!link.busy());
    }

    void backupFilesAreNamedByTimeAndNeverReplaced() {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("deep/backups"));
        const QDateTime when(QDate(2026, 12, 6), QTime(8, 15, 0));
        BackupFiles first, second;
        QString error;
        QVERIFY2(saveBackup(m_doc, 3, folder, when, &first, &error), qPrintable(error));
        QCOMPARE(QFileInfo(first.dataFile).fileName(), QStringLiteral("2026-12-06_081500.R5"));
        QCOMPARE(QFileInfo(first.fontFile).fileName(), QStringLiteral("2026-12-06_081500.FR5"));
        QVERIFY(saveBackup(m_doc, 3, folder, when, &second, &error));
        QCOMPARE(QFileInfo(second.dataFile).fileName(), QStringLiteral("2026-12-06_081500_2.R5"));
        QCOMPARE(QFileInfo(second.fontFile).fileName(), QStringLiteral("2026-12-06_081500_2.FR5"));
        // The font backup holds the characters (the data backup: tst_commandline).
        FontImage font;
        QCOMPARE(loadFontFile(first.fontFile, font), FontFileResult::Loaded);
        QCOMPARE(font.glyph(7), m_doc.font.glyph(7));

        // A folder that cannot be made: false with the reason.
        writeFile(dir.filePath(QStringLiteral("file")), {});
        QVERIFY(!saveBackup(m_doc, 3, dir.filePath(QStringLiteral("file/backups")), when, nullptr,
                            &error));
        QVERIFY(!error.isEmpty());

        // The folder keeps the newest sets only; what the program did not
        // name is left alone.
        writeFile(QDir(folder).filePath(QStringLiteral("mine.R5")), {});
        BackupFiles written, newest;
        QVERIFY(saveBackup(m_doc, 3, folder, when.addSecs(60), &written, &error,
                           BackupKind::Written, 10));
        QCOMPARE(QFileInfo(written.dataFile).fileName(),
                 QStringLiteral("2026-12-06_081600-written.R5"));
        QVERIFY(
            saveBackup(m_doc, 3, folder, when.addSecs(120), &newest, &error, BackupKind::Read, 2));
        QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name),
                 (QStringList{QStringLiteral("2026-12-06_081600-written.FR5"),
                              QStringLiteral("2026-12-06_081600-written.R5"),
                              QStringLiteral("2026-12-06_081700.FR5"),
                              QStringLiteral("2026-12-06_081700.R5"), QStringLiteral("mine.R5")}));
    }
};

QTEST_GUILESS_MAIN(VerifyBackupTest)
#include "tst_verifybackup.moc"
