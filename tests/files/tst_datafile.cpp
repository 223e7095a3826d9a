// The ".R5" data file: line formats, writer order, the reader's rules, and
// saving that either replaces the file completely or leaves it alone.

#include "ChannelRows.h"
#include "FailDevice.h"
#include "core/channels/ChannelTables.h"
#include "core/document/RadioDocument.h"
#include "core/files/DataFile.h"
#include "core/files/TextLines.h"
#include "core/text/Cp932.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace kpr5;

namespace {

QByteArray fileOf(const QStringList &lines) {
    return textfile::encodeLines(lines);
}

QStringList linesOf(const RadioDocument &doc, int comPort = 1) {
    datafile::WriteOptions o;
    o.comPort = comPort;
    o.savedAt = QDateTime(QDate(2026, 12, 6), QTime(9, 30, 0));
    return datafile::dataFileLines(doc, o);
}

} // namespace

class DataFileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void channelFields_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("squelch");
        QTest::addColumn<QString>("shift");
        QTest::addColumn<QString>("shiftFreq");
        QTest::addColumn<int>("carrier");
        QTest::addColumn<QString>("expectedShiftFreq");
        QTest::newRow("WFM, DCS, +") << "WFM"
                                     << "DCS"
                                     << "+"
                                     << "0.600MHz" << 28 << "0.600MHz";
        QTest::newRow("AM, Train") << "AM"
                                   << "Train"
                                   << "Off"
                                   << "999.995MHz" << 0 << "999.995MHz";
        QTest::newRow("empty shift frequency") << "FM"
                                               << "SQ"
                                               << "Off"
                                               << "" << 13 << "0.000MHz";
        QTest::newRow("unknown texts") << "ERROR"
                                       << "??"
                                       << "x"
                                       << "junk" << 5 << "0.000MHz";
    }
    void channelFields() {
        QFETCH(QString, mode);
        QFETCH(QString, squelch);
        QFETCH(QString, shift);
        QFETCH(QString, shiftFreq);
        QFETCH(int, carrier);
        QFETCH(QString, expectedShiftFreq);
        ChannelTable t;
        setChannel(t, 1, QStringLiteral("1295.12345MHz"), mode, 3, carrier, squelch, 0, 38, 103,
                   shift, shiftFreq, false, QStringLiteral("N,AME \"x\""));
        const QString line = datafile::channelLine(t, 0);
        // The fixed part is always 38 characters: the name starts at position 39.
        QCOMPARE(line.mid(38), QStringLiteral("N,AME \"x\""));
        QCOMPARE(line.mid(6, 10), QStringLiteral("1295.12345"));

        ChannelTable back;
        QVERIFY(datafile::readChannelLine(back, line));
        const QStringList known{"FM", "AM", "NFM", "WFM"};
        QCOMPARE(back.text(1, Col::ModeCol), known.contains(mode) ? mode : QStringLiteral("FM"));
        QCOMPARE(back.text(1, Col::ToneModeCol),
                 QStringList({"None", "Tone", "TSQ", "SQ", "DCS", "Train"}).contains(squelch)
                     ? squelch
                     : QStringLiteral("None"));
        QCOMPARE(back.text(1, Col::ShiftCol),
                 QStringList({"+", "-"}).contains(shift) ? shift : QStringLiteral("Off"));
        QCOMPARE(back.text(1, Col::ShiftFreqCol), expectedShiftFreq);
        QCOMPARE(int(back.carrierIndex(0)), carrier);
        QCOMPARE(back.text(1, Col::CarrierCol), channeltables::carrierText(carrier));
        QCOMPARE(int(back.rxToneIndex(0)), 38);
        QCOMPARE(int(back.dcsIndex(0)), 103);
        QCOMPARE(back.text(1, Col::FreqCol), QStringLiteral("1295.12345MHz"));
    }

    // Lines the reader must not take, on an empty row and on a call channel.
    void ignoredChannelLines_data() {
        QTest::addColumn<QString>("fixedPart");
        QTest::addColumn<QString>("name");
        const QString good = QStringLiteral("0433.0000020720208080002005.0001");
        QTest::newRow("carrier 29") << QStringLiteral("0433.0000020729208080002005.0001") << "A";
        QTest::newRow("tx tone 39") << QStringLiteral("0433.0000020720239080002005.0001") << "A";
        QTest::newRow("rx tone 39") << QStringLiteral("0433.0000020720208390002005.0001") << "A";
        QTest::newRow("dcs 104") << QStringLiteral("0433.0000020720208081042005.0001") << "A";
        QTest::newRow("letter in a number")
            << QStringLiteral("0433.00O00020720208080002005.0001") << "A";
        QTest::newRow("too short") << good.left(30) << "";
    }
    void ignoredChannelLines() {
        QFETCH(QString, fixedPart);
        QFETCH(QString, name);
        for (int slot : {5, 1400}) {
            ChannelTable t;
            const QStringList before = rowTexts(t, slot + 1);
            const QString line = QStringLiteral("CH") +
                                 QStringLiteral("%1").arg(slot, 4, 10, QLatin1Char('0')) +
                                 fixedPart + name;
            QVERIFY(!datafile::readChannelLine(t, line));
            QCOMPARE(rowTexts(t, slot + 1), before);
        }
        ChannelTable t;
        QVERIFY(!datafile::readChannelLine(
            t, QStringLiteral("CH1624") + QStringLiteral("0433.0000020720208080002005.0001")));
    }

    void channelLineEdges() {
        ChannelTable t;
        // A step index above the table reads as step 0; 32 bytes of name are taken,
        // double-byte characters outside the allowed set are dropped.
        const QString name32 = QStringLiteral("ア").repeated(16);
        QVERIFY(datafile::readChannelLine(
            t, QStringLiteral("CH00000145.0000001620208080000000.0000") + name32));
        QCOMPARE(int(t.stepIndex(0)), 0);
        QCOMPARE(t.text(1, Col::StepCol), QStringLiteral("5KHz"));
        QCOMPARE(t.text(1, Col::NameCol), name32);
        QCOMPARE(t.text(1, Col::FreqCol), QStringLiteral("145.00000MHz"));
        QCOMPARE(t.text(1, Col::ShiftFreqCol), QStringLiteral("0.000MHz"));
        const QString outside = QString(QChar(0x2603)); // not in code page 932
        QVERIFY(datafile::readChannelLine(
            t, QStringLiteral("CH00010145.0000000620208080000000.000") + QStringLiteral("0AB") +
                   outside + QStringLiteral("C")));
        QCOMPARE(t.text(2, Col::NameCol), QStringLiteral("ABC"));
    }

    void writerOrderAndBankTotal() {
        RadioDocument doc;
        doc.dtmf.setMemory(9, QStringLiteral("123*#"));
        doc.dtmf.setMemory(2, QStringLiteral("A-B"));
        QStringList lines = linesOf(doc, 3);
        QCOMPARE(lines.first(), QStringLiteral("Save Date and Time 2026/12/06 09:30:00"));
        QStringList tags;
        for (const QString &l : std::as_const(lines).mid(1))
            tags << (l.startsWith(QLatin1String("CH"))
                         ? QStringLiteral("CH")
                         : l.left(l.startsWith(QLatin1String("ONE")) ? 13 : 4));
        tags.removeDuplicates();
        QCOMPARE(tags,
                 (QStringList{"CH",   "BK00", "ONETOUCH_BANK", "ONETOUCH_CHDA", "NUM_", "SET_",
                              "TITL", "GRD0", "GRD1",          "GRI0",          "SD01", "SD02",
                              "SD03", "SD04", "SD05",          "SD06",          "SD07", "SD08",
                              "SD09", "SD10", "SD11",          "XSET",          "COMP", "File"}));
        QVERIFY(lines.contains(QStringLiteral("NUM_DTMF009123*#")));
        QVERIFY(lines.indexOf(QStringLiteral("NUM_DTMF002A-B")) <
                lines.indexOf(QStringLiteral("NUM_DTMF009123*#")));
        QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^CH"))).size(),
                 23); // call and bug-detector presets
        QVERIFY(lines.contains(QStringLiteral("COMPORT03")));
        QCOMPARE(lines.last(), QStringLiteral("File End"));
        QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^BK000[0-4]"))).size(), 5);
        QVERIFY(lines.contains(QStringLiteral("BK0000100100100100100100100100100100")));
        QVERIFY(lines.contains(QStringLiteral("TITLE")));
        QVERIFY(lines.contains(QStringLiteral("GRD10") + QString(50, QLatin1Char('0'))));
        for (const QString &l : lines) {
            if (l.startsWith(QLatin1String("SD"))) QCOMPARE((l.size() - 4) % 3, 0);
        }
        QCOMPARE(lines.filter(QStringLiteral("SD09")).first().size(), 4 + 9);
        QCOMPARE(lines.filter(QStringLiteral("SD10")).first().size(), 4 + 36);

        // A shown bank total other than 1000: no bank and one-touch lines, and
        // opening such a file keeps the banks.
        doc.banks.setCount(0, 50);
        QCOMPARE(doc.banks.shownTotal(), 950);
        lines = linesOf(doc);
        QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^(BK|ONETOUCH)"))).size(), 0);
        RadioDocument other;
        BankTable::Counts counts{};
        counts[3] = 600;
        counts[7] = 400;
        other.banks.setCounts(counts);
        QVERIFY(readDataFile(other, fileOf(lines)).ok());
        QCOMPARE(other.banks.counts(), counts);
        QCOMPARE(other.dtmf.memory(9), QStringLiteral("123*#"));
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
        // SET_DTMF keeps the DTMF memories; a bare TITLE line is taken.
        const QByteArray bytes =
            fileOf({QStringLiteral("CH00200145.0000000620208080000000.0000FIRST"),
                    QStringLiteral("CH00300146.0000000620208080000000.0000SECOND"),
                    QStringLiteral("CH14020439.0000000620208080000000.0000UHF")});
        const DataFileResult r = readDataFile(doc, bytes);
        QVERIFY(r.ok());
        QCOMPARE(r.channels, 2);
        QCOMPARE(t.inUse(20), quint8(0));
        QCOMPARE(t.text(31, Col::NameCol), QStringLiteral("SECOND"));
        QCOMPARE(t.text(10, Col::FreqCol), QString());
        QCOMPARE(t.inUse(9), quint8(0));
        QCOMPARE(rowTexts(t, 1401), call);
        QCOMPARE(rowTexts(t, 1623), bug);
        QCOMPARE(t.text(1403, Col::FreqCol), QStringLiteral("439.00000MHz"));
        QCOMPARE(doc.dtmf.memory(1), QStringLiteral("55"));
        QCOMPARE(doc.settings.position(Family::Power, 1), 1);
        // A file with SET_DTMF holds every memory: one without its line is empty.
        QVERIFY(readDataFile(
                    doc, fileOf({QStringLiteral("h"), QStringLiteral("SET_DTMF001005005002000")}))
                    .ok());
        QCOMPARE(doc.dtmf.memory(1), QString());
    }

    void otherLines_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("taken");
        QTest::newRow("NUM_DTMF009") << "NUM_DTMF0091#" << true;
        QTest::newRow("NUM_DTMF 17 digits") << "NUM_DTMF00112345678901234567" << false;
        QTest::newRow("NUM_DTMF010") << "NUM_DTMF0101" << false;
        QTest::newRow("NUM_DTMF empty") << "NUM_DTMF003" << false;
        QTest::newRow("SET_DTMF") << "SET_DTMF004003002001000" << true;
        QTest::newRow("SET_DTMF 22") << "SET_DTMF00400300200100" << false;
        QTest::newRow("BK short") << "BK000010010010010010010010010010" << false;
        QTest::newRow("BK0005") << "BK0005100100100100100100100100100100" << false;
        QTest::newRow("GRD11") << QStringLiteral("GRD11") + QString(50, QLatin1Char('1')) << false;
        QTest::newRow("GRD 54") << QStringLiteral("GRD01") + QString(49, QLatin1Char('1')) << false;
        QTest::newRow("GRD digit 2")
            << QStringLiteral("GRD012") + QString(49, QLatin1Char('1')) << false;
        QTest::newRow("GRX") << QStringLiteral("GRX") + QString(50, QLatin1Char('1')) << false;
        QTest::newRow("SD12") << "SD12001" << false;
        QTest::newRow("SD00") << "SD00001" << false;
        QTest::newRow("ONETOUCH short")
            << QStringLiteral("ONETOUCH_BANK") + QString(26, QLatin1Char('0')) << false;
        QTest::newRow("ONETOUCH other")
            << QStringLiteral("ONETOUCH_XXXX") + QString(27, QLatin1Char('0')) << false;
    }
    void otherLines() {
        QFETCH(QString, line);
        QFETCH(bool, taken);
        RadioDocument doc;
        const QByteArray bytes =
            fileOf({QStringLiteral("header"), line, QStringLiteral("File End")});
        const DataFileResult r = readDataFile(doc, bytes);
        QVERIFY(r.ok());
        QCOMPARE(r.ignoredLines, taken ? 0 : 1);
        if (QTest::currentDataTag() == QLatin1String("NUM_DTMF009"))
            QCOMPARE(doc.dtmf.memory(9), QStringLiteral("1#"));
        if (QTest::currentDataTag() == QLatin1String("SET_DTMF")) {
            QCOMPARE(doc.dtmf.timing(DtmfMemories::Wait), 4);
            QCOMPARE(doc.dtmf.timing(DtmfMemories::DialChannel), 0);
        }
    }

    void oneTouchLines() {
        BankTable banks;
        BankTable::Counts counts{};
        counts[3] = 500;
        counts[7] = 500;
        banks.setCounts(counts);
        datafile::OneTouchKeys keys{};
        keys[0] = {false, 1, 5};   // bank 7, channel 5
        keys[1] = {false, 0, 499}; // bank 3, channel 499
        const QString bankLine = datafile::oneTouchBankLine(keys);
        const QString channelLine = datafile::oneTouchChannelLine(keys);
        QCOMPARE(bankLine,
                 QStringLiteral("ONETOUCH_BANK001000") + QStringLiteral("255").repeated(7));
        QCOMPARE(channelLine,
                 QStringLiteral("ONETOUCH_CHDA005499") + QStringLiteral("000").repeated(7));
        QCOMPARE(bankLine.size(), 40);

        datafile::OneTouchKeys back{};
        back[8] = {false, 1, 3};
        QVERIFY(datafile::readOneTouchLine(bankLine, back, banks));
        QVERIFY(datafile::readOneTouchLine(channelLine, back, banks));
        QVERIFY(back == keys);

        // A position beyond the non-empty banks: the first bank, channel 0; a
        // channel at or beyond its bank's count: channel 0.
        datafile::OneTouchKeys odd{};
        QVERIFY(datafile::readOneTouchLine(
            QStringLiteral("ONETOUCH_BANK002001") + QStringLiteral("255").repeated(7), odd, banks));
        QVERIFY(datafile::readOneTouchLine(
            QStringLiteral("ONETOUCH_CHDA007500") + QStringLiteral("000").repeated(7), odd, banks));
        QVERIFY(odd[0] == (datafile::OneTouchKey{false, 0, 7}));
        QVERIFY(odd[1] == (datafile::OneTouchKey{false, 1, 0}));
        QVERIFY(odd[2].noSet);
    }

    // A file of the original layout holds the key's position in the list of
    // non-empty banks; its BK lines give that list.
    void oneTouchKeysFollowTheFilesBanks() {
        RadioDocument doc;
        const QByteArray bytes = fileOf({
            QStringLiteral("Save Date and Time"),
            QStringLiteral("BK0000000500500000000000000000000000"), // banks 1 and 2
            QStringLiteral("BK0001000000000000000000000000000000"),
            QStringLiteral("BK0002000000000000000000000000000000"),
            QStringLiteral("BK0003000000000000000000000000000000"),
            QStringLiteral("BK0004000000000000000000000000000000"),
            QStringLiteral("ONETOUCH_BANK001255000255255255255255255"),
            QStringLiteral("ONETOUCH_CHDA499000500000000000000000000"),
            QStringLiteral("File End"),
        });
        QVERIFY(readDataFile(doc, bytes).ok());
        QCOMPARE(doc.oneTouch.bankList(), (QList<int>{1, 2}));
        QVERIFY(!doc.oneTouch.isUnassigned(0));
        QCOMPARE(doc.oneTouch.bankNumber(0), 2);
        QCOMPARE(doc.oneTouch.channelPosition(0), 499);
        QVERIFY(doc.oneTouch.isUnassigned(1));
        QCOMPARE(doc.oneTouch.bankNumber(2), 1);
        QCOMPARE(doc.oneTouch.channelPosition(2), 0); // 500 is beyond bank 1
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
        QVERIFY(stale.banks.totalIsValid());
        const QStringList lines = linesOf(stale);
        QVERIFY(
            lines.contains(QStringLiteral("ONETOUCH_BANK000") + QStringLiteral("255").repeated(8)));
        QVERIFY(
            lines.contains(QStringLiteral("ONETOUCH_CHDA050") + QStringLiteral("000").repeated(8)));
        RadioDocument back;
        QVERIFY(readDataFile(back, fileOf(lines)).ok());
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
        QTest::newRow(".R5") << "radio.R5" << good << int(DataFileResult::Read);
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
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
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

    // Lines with the right tags and anything after them: nothing breaks, and
    // every slot in use shows a frequency.
    void arbitraryLines() {
        const QStringList tags{"CH",       "CH0",         "CH1623",        "CH9999",
                               "BK000",    "BK0004",      "ONETOUCH_BANK", "ONETOUCH_CHDA",
                               "NUM_DTMF", "NUM_DTMF009", "SET_DTMF",      "TITLE",
                               "GRD",      "GRD10",       "GRI",           "SD",
                               "SD01",     "SD11",        "COMPORT",       "File End",
                               ""};
        const QString alphabet =
            QStringLiteral("0123456789012345678901234567890.-+*#ABCDxyz :~1ア①\u00FF\"\t");
        quint32 seed = 12345;
        auto next = [&seed](quint32 n) {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 8) % n;
        };
        for (int round = 0; round < 20; ++round) {
            QStringList lines{QStringLiteral("header")};
            for (int i = 0; i < 300; ++i) {
                QString line = tags.at(int(next(quint32(tags.size()))));
                const int length = int(next(80));
                for (int c = 0; c < length; ++c)
                    line += alphabet.at(int(next(quint32(alphabet.size()))));
                lines << line;
            }
            RadioDocument doc;
            QVERIFY(readDataFile(doc, textfile::encodeLines(lines)).ok());
            for (int slot = 0; slot < ChannelTable::kRows; ++slot) {
                if (doc.channels.inUse(slot))
                    QVERIFY(
                        doc.channels.text(slot + 1, Col::FreqCol).endsWith(QLatin1String("MHz")));
            }
            QVERIFY(doc.banks.count(49) <= BankTable::kMaxCount);
            // What was read is written and read back the same way.
            const QByteArray saved = fileOf(linesOf(doc));
            RadioDocument again;
            QVERIFY(readDataFile(again, saved).ok());
            QCOMPARE(fileOf(linesOf(again)), saved);
        }
    }

    void failedWritesSurface() {
        RadioDocument doc;
        FailDevice device(200);
        QVERIFY(device.open(QIODevice::WriteOnly));
        QString error;
        QVERIFY(!writeDataFile(doc, 1, device, &error));
        QVERIFY(!error.isEmpty());

        QTemporaryDir dir;
        // A path whose parent is a file.
        const QString notADir = dir.filePath(QStringLiteral("plain"));
        QFile plain(notADir);
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        error.clear();
        QVERIFY(!saveDataFile(doc, 1, notADir + QStringLiteral("/radio.R5"), &error));
        QVERIFY(!error.isEmpty());
    }

    // The disk fills up while the new file is written: the old file stays
    // as it was and no temporary file is left behind.
    void failedSaveLeavesOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("radio.R5"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old contents\r\n");
        f.close();

        RadioDocument doc;
        rlimit old{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        QString error;
        const bool saved = saveDataFile(doc, 1, path, &error);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);

        QVERIFY(!saved);
        QVERIFY(!error.isEmpty());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("old contents\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("radio.R5")});

        // And with room, the file is replaced completely.
        f.close();
        QVERIFY(saveDataFile(doc, 1, path, &error));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().endsWith("File End\r\n"));
    }
};

QTEST_GUILESS_MAIN(DataFileTest)
#include "tst_datafile.moc"
