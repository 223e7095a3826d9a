// The ".R5" data file reader's rules and the lines it refuses. (The line
// formats and the writer's order are held by the earlier files in
// tst_roundtrip, the values by its radio -> file -> radio property, failed
// saves by tst_fileedges.)

#include "ChannelRows.h"
#include "Files.h"
#include "core/channels/ChannelRecord.h"
#include "core/document/RadioDocument.h"
#include "core/files/DataFile.h"
#include "core/files/TextLines.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kpr5;

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
    // Lines the reader must not take, on an empty row and on a call channel.
    void ignoredChannelLines_data() {
        QTest::addColumn<QString>("line");
        const auto fixed = [](const char *f) { return QString::fromLatin1(f) + QLatin1Char('A'); };
        QTest::newRow("carrier 29") << fixed("0433.0000020729208080002005.0001");
        QTest::newRow("tx tone 39") << fixed("0433.0000020720239080002005.0001");
        QTest::newRow("rx tone 39") << fixed("0433.0000020720208390002005.0001");
        QTest::newRow("dcs 104") << fixed("0433.0000020720208081042005.0001");
        QTest::newRow("letter in a number") << fixed("0433.00O00020720208080002005.0001");
        QTest::newRow("too short") << QStringLiteral("0433.0000020720208080002005");
    }
    void ignoredChannelLines() {
        QFETCH(QString, line);
        for (int slot : {5, 1400}) {
            ChannelTable t;
            const QStringList before = rowTexts(t, slot + 1);
            QVERIFY(!datafile::readChannelLine(
                t, QStringLiteral("CH%1").arg(slot, 4, 10, QLatin1Char('0')) + line));
            QCOMPARE(rowTexts(t, slot + 1), before);
        }
        ChannelTable t;
        QVERIFY(!datafile::readChannelLine(t, QStringLiteral("CH1624") + line));
    }

    void channelLineEdges() {
        ChannelTable t;
        // A step index above the table reads as step 0; 32 bytes of name are
        // taken, characters outside the code page are dropped.
        const QString name32 = QStringLiteral("ア").repeated(16);
        QVERIFY(datafile::readChannelLine(
            t, QStringLiteral("CH00000145.0000001620208080000000.0000") + name32));
        QCOMPARE(int(t.stepIndex(0)), 0);
        QCOMPARE(t.text(1, Col::StepCol), QStringLiteral("5KHz"));
        QCOMPARE(t.text(1, Col::NameCol), name32);
        QVERIFY(datafile::readChannelLine(t, chLine(1, QStringLiteral("AB\u2603C"))));
        QCOMPARE(t.text(2, Col::NameCol), QStringLiteral("ABC"));

        // Texts the tables do not know are written as the first of their table.
        setChannel(t, 3, QStringLiteral("145.00000MHz"), QStringLiteral("ERROR"), 3, 5,
                   QStringLiteral("??"), 0, 38, 103, QStringLiteral("x"), QStringLiteral("junk"),
                   false, QStringLiteral("N,AME \"x\""));
        ChannelTable back;
        QVERIFY(datafile::readChannelLine(back, datafile::channelLine(t, 2)));
        QCOMPARE(back.text(3, Col::ModeCol), QStringLiteral("FM"));
        QCOMPARE(back.text(3, Col::ToneModeCol), QStringLiteral("None"));
        QCOMPARE(back.text(3, Col::ShiftCol), QStringLiteral("Off"));
        QCOMPARE(back.text(3, Col::ShiftFreqCol), QStringLiteral("0.000MHz"));
        QCOMPARE(back.text(3, Col::NameCol), QStringLiteral("N,AME \"x\""));
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
        RadioDocument other;
        BankTable::Counts counts{};
        counts[3] = 600;
        counts[7] = 400;
        other.banks.setCounts(counts);
        QVERIFY(readDataFile(other, fileOf(lines)).ok());
        QCOMPARE(other.banks.counts(), counts);
    }

    void openingClearsChannelsOnly() {
        RadioDocument doc;
        ChannelTable &t = doc.channels;
        setChannel(t, 1401, QStringLiteral("144.50000MHz"), QStringLiteral("AM"), 1, 1,
                   QStringLiteral("None"), 8, 8, 0, QStringLiteral("Off"),
                   QStringLiteral("0.000MHz"), false, QStringLiteral("CALL"));
        setChannel(t, 10, QStringLiteral("145.50000MHz"), QStringLiteral("AM"), 1, 1,
                   QStringLiteral("None"), 8, 8, 0, QStringLiteral("Off"),
                   QStringLiteral("0.000MHz"), false, QStringLiteral("GONE"));
        const QStringList call = rowTexts(t, 1401);
        const QStringList bug = rowTexts(t, 1623);
        doc.dtmf.setMemory(1, QStringLiteral("55"));
        doc.settings.setPosition(Family::Power, 1, 1);
        // The first line is skipped even when it is a CH line; a file without
        // SET_DTMF keeps the DTMF memories.
        const DataFileResult r = readDataFile(
            doc, fileOf({chLine(20, "FIRST"), chLine(30, "SECOND"),
                         QStringLiteral("CH14020439.0000000620208080000000.0000UHF")}));
        QVERIFY(r.ok());
        QCOMPARE(r.channels, 2);
        QCOMPARE(t.inUse(20), quint8(0));
        QCOMPARE(t.text(31, Col::NameCol), QStringLiteral("SECOND"));
        QCOMPARE(t.inUse(9), quint8(0));
        QCOMPARE(rowTexts(t, 1401), call);
        QCOMPARE(rowTexts(t, 1623), bug);
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
        const auto row = [](const char *name, const QString &line, bool taken) {
            QTest::newRow(name) << line << taken;
        };
        row("NUM_DTMF009", "NUM_DTMF0091#", true);
        row("NUM_DTMF 17 digits", "NUM_DTMF00112345678901234567", false);
        row("NUM_DTMF010", "NUM_DTMF0101", false);
        row("NUM_DTMF empty", "NUM_DTMF003", false);
        row("SET_DTMF", "SET_DTMF004003002001000", true);
        row("SET_DTMF 22", "SET_DTMF00400300200100", false);
        row("BK short", "BK000010010010010010010010010010", false);
        row("BK0005", "BK0005100100100100100100100100100100", false);
        row("GRD11", "GRD11" + QString(50, QLatin1Char('1')), false);
        row("GRD 54", "GRD01" + QString(49, QLatin1Char('1')), false);
        row("GRD digit 2", "GRD012" + QString(49, QLatin1Char('1')), false);
        row("GRX", "GRX" + QString(50, QLatin1Char('1')), false);
        row("GRI 49", "GRI" + QString(49, QLatin1Char('1')), false);
        row("GRI digit 2", "GRI2" + QString(49, QLatin1Char('1')), false);
        row("SD12", "SD12001", false);
        row("SD00", "SD00001", false);
        row("ONETOUCH short", "ONETOUCH_BANK" + QString(26, QLatin1Char('0')), false);
        row("ONETOUCH other", "ONETOUCH_XXXX" + QString(27, QLatin1Char('0')), false);
        row("XSET", "XSET001001001", true);
        row("XSET moving not a number", "XSET00100100X", false);
        row("XSET display not a number", "XSET001X01001", false);
    }
    void otherLines() {
        QFETCH(QString, line);
        QFETCH(bool, taken);
        RadioDocument doc;
        const DataFileResult r = readDataFile(doc, fileOf({"header", line, "File End"}));
        QVERIFY(r.ok());
        QCOMPARE(r.ignoredLines, taken ? 0 : 1);
        if (QTest::currentDataTag() == QLatin1String("NUM_DTMF009"))
            QCOMPARE(doc.dtmf.memory(9), QStringLiteral("1#"));
        if (QTest::currentDataTag() == QLatin1String("SET_DTMF")) {
            QCOMPARE(doc.dtmf.timing(DtmfMemories::Wait), 4);
            QCOMPARE(doc.dtmf.timing(DtmfMemories::DialChannel), 0);
        }
    }

    // A file holds a key's position in the list of non-empty banks, which its
    // BK lines give: a position beyond them is the first bank, a channel at
    // or beyond its bank's count channel 0.
    void oneTouchKeysFollowTheFilesBanks() {
        RadioDocument doc;
        const QByteArray bytes = fileOf({
            "Save Date and Time",
            "BK0000000500500000000000000000000000", // banks 1 and 2
            "BK0001000000000000000000000000000000",
            "BK0002000000000000000000000000000000",
            "BK0003000000000000000000000000000000",
            "BK0004000000000000000000000000000000",
            "ONETOUCH_BANK001255000007255255255255255",
            "ONETOUCH_CHDA499000500000000000000000000",
            "File End",
        });
        QVERIFY(readDataFile(doc, bytes).ok());
        QCOMPARE(doc.oneTouch.bankList(), (QList<int>{1, 2}));
        QCOMPARE(doc.oneTouch.bankNumber(0), 2);
        QCOMPARE(doc.oneTouch.channelPosition(0), 499);
        QVERIFY(doc.oneTouch.isUnassigned(1));
        QCOMPARE(doc.oneTouch.bankNumber(2), 1);
        QCOMPARE(doc.oneTouch.channelPosition(2), 0); // 500 is beyond bank 1
        QCOMPARE(doc.oneTouch.bankNumber(3), 1);      // position 7 is beyond the list
        QCOMPARE(doc.channels.rowLabel(1), QStringLiteral("Bank001-0"));

        // Keys saved while the lists still show older banks are written as
        // the lists will show them: key 0 on bank 5 is position 0 once banks
        // 0-4 are empty.
        RadioDocument stale;
        stale.oneTouch.selectBank(0, 5);
        stale.oneTouch.selectChannel(0, 50);
        stale.oneTouch.setUnassigned(0, false);
        BankTable::Counts counts{};
        for (int b = 5; b < 10; ++b)
            counts[std::size_t(b)] = 200;
        stale.banks.setCounts(counts);
        RadioDocument back;
        QVERIFY(readDataFile(back, fileOf(linesOf(stale))).ok());
        QCOMPARE(back.oneTouch.bankNumber(0), 5);
        QCOMPARE(back.oneTouch.channelPosition(0), 50);
    }

    void extensionAndRefusedFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("status");
        const QByteArray good =
            "Save Date and Time\r\nCH00050145.0000000620208080000000.0000X\r\nFile End\r\n";
        QTest::newRow(".r5") << "radio.r5" << good << int(DataFileResult::Read);
        QTest::newRow(".R5.txt") << "radio.R5.txt" << good << int(DataFileResult::WrongExtension);
        QTest::newRow("R5 without dot") << "radioR5" << good << int(DataFileResult::WrongExtension);
        QByteArray binary;
        for (int i = 0; i < 4096; ++i)
            binary += char((i * 7919 + 13) % 251);
        QTest::newRow("binary") << "binary.R5" << binary << int(DataFileResult::NotDataFile);
        QTest::newRow("empty") << "empty.R5" << QByteArray() << int(DataFileResult::NotDataFile);
        QTest::newRow("LF only") << "lf.R5" << QByteArray(good).replace("\r\n", "\n")
                                 << int(DataFileResult::Read);
    }
    void extensionAndRefusedFiles() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(int, status);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        test::writeFile(path, content);
        RadioDocument doc;
        doc.channels.setText(7, Col::NameCol, QStringLiteral("KEEP"));
        doc.channels.setInUse(6, 1);
        const DataFileResult r = openDataFile(doc, path);
        QCOMPARE(int(r.status), status);
        if (r.ok()) {
            QCOMPARE(doc.channels.inUse(6), quint8(0));
            QCOMPARE(doc.channels.text(6, Col::NameCol), QStringLiteral("X"));
        } else {
            QCOMPARE(r.message(), QStringLiteral("This File don't Open"));
            QCOMPARE(r.title(), QStringLiteral("Error"));
            QCOMPARE(doc.channels.text(7, Col::NameCol), QStringLiteral("KEEP"));
            QCOMPARE(doc.channels.inUse(6), quint8(1));
        }
    }
};

QTEST_GUILESS_MAIN(DataFileTest)
#include "tst_datafile.moc"
