// The ".R5" data file reader's rules and the lines it refuses. (The line
// formats and the writer's order are held by the earlier files in
// tst_roundtrip, the values by its radio -> file -> radio property, failed
// saves by tst_fileedges.)

#include "Files.h"
#include "Records.h"
#include "core/channels/ChannelRecord.h"
#include "core/document/RadioDocument.h"
#include "core/files/DataFile.h"
#include "core/files/TextLines.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kpr5;
using Col = ChannelTable::Column;

namespace {

QByteArray fileOf(const QStringList &lines) {
    return textfile::encodeLines(lines);
}

QStringList linesOf(const RadioDocument &doc) {
    datafile::WriteOptions o;
    o.savedAt = QDateTime(QDate(2026, 12, 6), QTime(9, 30, 0));
    return datafile::dataFileLines(doc, o);
}

// A channel line for `slot`: 145 MHz, FM, no squelch.
QString chLine(int slot, const QString &name = QString()) {
    return QStringLiteral("CH%1").arg(slot, 4, 10, QLatin1Char('0')) +
           QStringLiteral("0145.0000000020008080000000.0000") + name;
}

} // namespace

class DataFileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Texts the tables do not know are written as the first of their table.
    void unknownTextsAreWrittenAsTheFirst() {
        ChannelTable t;
        decodeChannel(test::Record(), t, 3);
        const Col columns[] = {Col::ModeCol, Col::ToneModeCol, Col::ShiftCol, Col::ShiftFreqCol,
                               Col::NameCol};
        const QStringList texts = {"ERROR", "??", "x", "junk", "N,AME \"x\""};
        for (int i = 0; i < texts.size(); ++i)
            t.setText(3, columns[i], texts[i]);
        ChannelTable back;
        QVERIFY(datafile::readChannelLine(back, datafile::channelLine(t, 2)));
        QStringList got;
        for (Col c : columns)
            got << back.text(3, c);
        QCOMPARE(got, (QStringList{"FM", "None", "Off", "0.000MHz", "N,AME \"x\""}));
    }

    // An XRAW line gives back the record bytes outside their tables, and
    // only those: here the mode, not the tone mode.
    void rawLineGivesBackOnlyTheBytesOutside() {
        RadioDocument doc;
        QVERIFY(readDataFile(doc, fileOf({"h", chLine(5), "XRAW0005023000008008000020"})).ok());
        QCOMPARE(doc.channels.text(6, Col::ToneModeCol), QStringLiteral("None"));
        QCOMPARE(encodeChannel(doc.channels, 6).bytes[5], quint8(23));
        QCOMPARE(encodeChannel(doc.channels, 6).bytes[12], quint8(0));
    }

    // A shown bank total other than 1000: no bank and one-touch lines, and
    // opening such a file keeps the banks.
    void bankTotalOtherThan1000() {
        RadioDocument doc;
        doc.banks.setCount(0, 50);
        const QStringList lines = linesOf(doc);
        QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^(BK|ONETOUCH)"))).size(), 0);
        BankTable::Counts counts{};
        counts[3] = 600;
        counts[7] = 400;
        doc.banks.setCounts(counts);
        QVERIFY(readDataFile(doc, fileOf(lines)).ok());
        QCOMPARE(doc.banks.counts(), counts);
    }

    // The first line is skipped even when it is a CH line; the call and
    // bug-detector channels, and without their lines the DTMF memories and
    // the settings, stay.
    void openingClearsChannelsOnly() {
        RadioDocument doc;
        ChannelTable &t = doc.channels;
        decodeChannel(test::Record(144500000).name("CALL"), t, 1401);
        decodeChannel(test::Record(145500000).name("GONE"), t, 10);
        const QString fixed = test::rowTexts(t, 1401) + test::rowTexts(t, 1623);
        doc.dtmf.setMemory(1, QStringLiteral("55"));
        doc.settings.setPosition(Family::Power, 1, 1);
        const DataFileResult r = readDataFile(
            doc, fileOf({chLine(20, "FIRST"), chLine(30, "SECOND"),
                         QStringLiteral("CH14020439.0000000620208080000000.0000UHF")}));
        QVERIFY(r.ok());
        QCOMPARE(r.channels, 2);
        QCOMPARE(t.inUse(20) + t.inUse(9), 0);
        QCOMPARE(t.text(31, Col::NameCol), QStringLiteral("SECOND"));
        QCOMPARE(test::rowTexts(t, 1401) + test::rowTexts(t, 1623), fixed);
        QCOMPARE(t.text(1403, Col::FreqCol), QStringLiteral("439.00000MHz"));
        QCOMPARE(doc.dtmf.memory(1), QStringLiteral("55"));
        QCOMPARE(doc.settings.position(Family::Power, 1), 1);
        // A file with SET_DTMF holds every memory: one without its line is empty.
        QVERIFY(readDataFile(doc, fileOf({"h", "SET_DTMF001005005002000"})).ok());
        QCOMPARE(doc.dtmf.memory(1), QString());
    }

    void otherLines_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("taken");
        for (const QStringList &f : test::tableRows(QFINDTESTDATA("../data/datafile-lines.tsv")))
            QTest::newRow(qPrintable(f[0])) << f[0] << (f[1] == QLatin1String("1"));
    }
    // A line the reader does not take is counted and changes nothing.
    void otherLines() {
        QFETCH(QString, line);
        QFETCH(bool, taken);
        RadioDocument doc, fresh;
        const DataFileResult r = readDataFile(doc, fileOf({"header", line, "File End"}));
        QVERIFY(r.ok() && readDataFile(fresh, fileOf({"header", "File End"})).ok());
        QCOMPARE(r.ignoredLines, taken ? 0 : 1);
        if (!taken) QCOMPARE(linesOf(doc), linesOf(fresh));
        if (line == QLatin1String("NUM_DTMF0091#"))
            QCOMPARE(doc.dtmf.memory(9), QStringLiteral("1#"));
        if (line.startsWith(QLatin1String("SET_DTMF")) && taken)
            QCOMPARE(doc.dtmf.timing(DtmfMemories::Wait) * 10 +
                         doc.dtmf.timing(DtmfMemories::DialChannel),
                     40);
    }

    // Keys saved while the lists still show older banks are written as the
    // lists will show them: key 0 on bank 5 is position 0 once banks 0-4 are
    // empty. (How a file's positions read is held by reader-rules.R5 in
    // tst_roundtrip.)
    void oneTouchKeysFollowTheFilesBanks() {
        RadioDocument stale;
        stale.oneTouch.selectBank(0, 5);
        stale.oneTouch.selectChannel(0, 50);
        stale.oneTouch.setUnassigned(0, false);
        BankTable::Counts counts{};
        std::fill(counts.begin() + 5, counts.begin() + 10, 200);
        stale.banks.setCounts(counts);
        RadioDocument back;
        QVERIFY(readDataFile(back, fileOf(linesOf(stale))).ok());
        QCOMPARE(back.oneTouch.bankNumber(0), 5);
        QCOMPARE(back.oneTouch.channelPosition(0), 50);
    }

    // Any case of ".R5" opens, other names and files that are not data files
    // are refused and change nothing.
    void extensionAndRefusedFiles() {
        const QByteArray good =
            "Save Date and Time\r\nCH00050145.0000000620208080000000.0000X\r\nFile End\r\n";
        QByteArray binary;
        for (int i = 0; i < 4096; ++i)
            binary += char((i * 7919 + 13) % 251);
        const std::tuple<const char *, QByteArray, DataFileResult::Status> files[] = {
            {"radio.r5", good, DataFileResult::Read},
            {"radio.R5.txt", good, DataFileResult::WrongExtension},
            {"radioR5", good, DataFileResult::WrongExtension},
            {"binary.R5", binary, DataFileResult::NotDataFile},
            {"empty.R5", {}, DataFileResult::NotDataFile},
            {"lf.R5", QByteArray(good).replace("\r\n", "\n"), DataFileResult::Read}};
        QTemporaryDir dir;
        for (const auto &[name, content, status] : files) {
            test::writeFile(dir.filePath(name), content);
            RadioDocument doc;
            decodeChannel(test::Record().name("KEEP"), doc.channels, 7);
            const DataFileResult r = openDataFile(doc, dir.filePath(name));
            QCOMPARE(r.status, status);
            QCOMPARE(doc.channels.text(6, Col::NameCol), r.ok() ? QStringLiteral("X") : QString());
            QCOMPARE(doc.channels.text(7, Col::NameCol),
                     r.ok() ? QString() : QStringLiteral("KEEP"));
            if (!r.ok())
                QCOMPARE(r.message() + '|' + r.title(),
                         QStringLiteral("This File don't Open|Error"));
        }
    }
};

QTEST_GUILESS_MAIN(DataFileTest)
#include "tst_datafile.moc"
