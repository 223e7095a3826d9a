// CSV channel files: export, import with its checks, files from spreadsheets,
// and an independent reading of the exported file by Python's csv module.

#include "Documents.h"
#include "Files.h"
#include "core/files/CsvFile.h"
#include "core/files/TextLines.h"
#include "core/text/Cp932.h"
#include "core/text/NameCodec.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace kpr5;
using namespace Qt::StringLiterals;
using Col = ChannelTable::Column;

namespace {

const QString kHeader = QStringLiteral("\"\",\"Freqency\",\"mode\",\"step\",\"Carrier\",\"Tone/"
                                       "DCS\",\"Tx-tone\",\"Rx-tone\",\"DCS\",\"Shift\","
                                       "\"Shift-Freq\",\"Skip\",\"Name\",\"0\"");

// A valid data line's fields 1..14 (field 1 the label, 14 the row number).
QStringList goodFields() {
    return {"Bank000-0", "145.00000", "FM", "12.5KHz",  "2300Hz", "TSQ",  "88.5Hz",
            "100.0Hz",   "023",       "-",  "0.600MHz", "",       "NAME", "1"};
}

QString quotedLine(const QStringList &fields) {
    return u"\""_s + fields.join(u"\",\""_s) + u"\""_s;
}

QByteArray csvFile(const QStringList &dataLines, const QString &header = kHeader) {
    return textfile::encodeLines(QStringList{header} + dataLines);
}

// The table's index bytes of a row, which the cells do not show.
QList<int> indices(const ChannelTable &t, int slot) {
    return {t.inUse(slot),       t.stepIndex(slot),   t.carrierIndex(slot),
            t.txToneIndex(slot), t.rxToneIndex(slot), t.dcsIndex(slot)};
}

// A channel in use named `name` (ASCII) in `row`.
void keep(ChannelTable &t, int row, const QByteArray &name) {
    decodeChannel(test::Record(430000000).name(name), t, row);
}

} // namespace

class CsvFileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Row 2 named with a comma, quotes and katakana; the rest as exported
    // from an empty table.
    void exportReadByPython() {
        const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
        QVERIFY2(!python.isEmpty(),
                 "python3 is needed to check the export with an independent CSV reader");
        ChannelTable t;
        const QString name = u"A,\"B\" ｶﾅ"_s;
        keep(t, 2, "");
        t.setText(2, Col::NameCol, name);
        t.setStoredName(1, names::displayToStored(name));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("channels.CSV"));
        QString error;
        QVERIFY2(saveCsv(t, path, &error), qPrintable(error));
        const QByteArray bytes = test::readFile(path);
        QVERIFY(bytes.endsWith("\"1623\"\r\n"));
        const QStringList lines = textfile::decodeLines(bytes);
        QCOMPARE(lines.at(0), kHeader);
        QCOMPARE(lines.at(1),
                 quotedLine({"Bank000-0", "", "", "", "", "", "", "", "", "", "", "", "", "1"}));

        QProcess p;
        p.start(python, {QStringLiteral("-c"),
                         QStringLiteral("import csv, json, sys\n"
                                        "rows = list(csv.reader(open(sys.argv[1], "
                                        "encoding='cp932', newline=''), strict=True))\n"
                                        "print(json.dumps([len(rows), sorted({len(r) for r in "
                                        "rows}), rows[2][12], rows[2][13], rows[1401][0]]))\n"),
                         path});
        QVERIFY(p.waitForFinished(30000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        QCOMPARE(QJsonDocument::fromJson(p.readAllStandardOutput()).array(),
                 (QJsonArray{1624, QJsonArray{14}, name, "2", "CALL-VHF"}));
    }

    // A header is taken quoted or not, with exactly its 14 columns; a file
    // without one is refused whole.
    void header() {
        const QString plain =
            ",Freqency,mode,step,Carrier,Tone/DCS,Tx-tone,Rx-tone,DCS,Shift,Shift-Freq,Skip,Name,0";
        const std::pair<QString, bool> headers[] = {
            {kHeader, true},
            {plain, true},
            {QString(kHeader).replace(u"\"0\""_s, u"0"_s), true},
            {kHeader + u",\"\""_s, false},
            {plain + u",X"_s, false},
            {QString(kHeader).remove(u",\"Skip\""_s), false},
            {QString(100, QLatin1Char('x')), false},
            {QString(), false}};
        for (const auto &[header, accepted] : headers) {
            ChannelTable t;
            keep(t, 1, "OLD");
            const CsvImportResult r = importCsv(t, csvFile({quotedLine(goodFields())}, header));
            QVERIFY2(csv::isHeader(header) == accepted && r.ok() == accepted &&
                         t.text(1, Col::NameCol) == (accepted ? u"NAME"_s : u"OLD"_s),
                     qPrintable(header));
            if (!accepted) QCOMPARE(r.message() + '|' + r.title(), u"CSV File Error| Error"_s);
        }
    }

    void fieldChecks_data() {
        QTest::addColumn<int>("field"); // 1-based field of the line
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("cell"); // the row's cell afterwards; "-" = row emptied
        for (const QStringList &f : test::tableRows(QFINDTESTDATA("../data/csv-fields.tsv")))
            QTest::addRow("field %s: %s", qPrintable(f[0]), qPrintable(f[1]))
                << f[0].toInt() << f[1] << f[2];
        // A double-byte character of code page 932 outside the names' allowed set.
        QString notAllowed;
        for (quint16 code = 0x889F; notAllowed.isEmpty(); ++code)
            if (cp932::toUnicode(code) && !names::isAllowedDoubleByte(code))
                notAllowed = QChar(*cp932::toUnicode(code));
        QTest::newRow("name filtered") << 13 << "A" + notAllowed + "ラ" << u"Aラ"_s;
    }
    void fieldChecks() {
        QFETCH(int, field);
        QFETCH(QString, value);
        QFETCH(QString, cell);
        QStringList fields = goodFields();
        fields[field - 1] = value;
        ChannelTable t;
        const QString row2 = test::rowTexts(t, 2);
        QVERIFY(importCsv(t, csvFile({quotedLine(fields)})).ok());
        QCOMPARE(test::rowTexts(t, 2), row2); // beyond the file: untouched
        if (cell == QLatin1String("-")) {
            QCOMPARE(test::rowTexts(t, 1), QString(ChannelTable::kColumns - 1, QLatin1Char('|')));
            QCOMPARE(indices(t, 0), QList<int>(6, 0));
            return;
        }
        QCOMPARE(t.inUse(0), quint8(1));
        if (field >= 2 && field <= 13) QCOMPARE(t.text(1, field - 1), cell);
        QVERIFY(!t.text(1, Col::NameCol).isEmpty());
        QCOMPARE(t.storedName(0), names::displayToStored(t.text(1, Col::NameCol)));
        if (value == QLatin1String("JR")) QCOMPARE(int(t.carrierIndex(0)), 28);
        if (field == 14 || field == 1) QCOMPARE(indices(t, 0), (QList<int>{1, 4, 20, 8, 12, 0}));
    }

    // Lines land in the rows by their position, whatever their label and
    // row number say, the call channels among them; the bug-detector rows
    // are never reached.
    void twoThousandLinesStopAtRow1603() {
        QStringList lines;
        for (int i = 1; i <= 2000; ++i)
            lines << quotedLine(goodFields().replaceInStrings(u"NAME"_s, u"N%1"_s.arg(i)));
        ChannelTable t;
        const QString bug = test::rowTexts(t, 1604);
        const CsvImportResult r = importCsv(t, csvFile(lines));
        QVERIFY(r.ok() && r.rowsFilled == 1603 && r.rowsEmptied == 0);
        for (int row : {1, 1401, 1603})
            QCOMPARE(t.text(row, Col::NameCol), u"N%1"_s.arg(row));
        QCOMPARE(test::rowTexts(t, 1604), bug);
    }

    // UTF-8 with or without a byte-order mark (read as UTF-8, with the code
    // page 932 forms of the characters Linux and macOS write otherwise), code
    // page 932, any line ends, quotes, binary after the header.
    void spreadsheetFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("names"); // rows 1.. afterwards; "-" = emptied
        const QString folder = QFINDTESTDATA("../data/spreadsheet");
        for (const QStringList &f : test::tableRows(folder + "/names.tsv"))
            QTest::newRow(qPrintable(f[0]))
                << test::readFile(folder + '/' + f[0]) << f[1].split(QLatin1Char('|'));
    }
    void spreadsheetFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, names);
        ChannelTable t;
        keep(t, 1, "keep");
        keep(t, 2, "keep");
        QVERIFY(importCsv(t, bytes).ok());
        for (int i = 0; i < names.size(); ++i) {
            const bool emptied = names[i] == QLatin1String("-");
            QCOMPARE(t.inUse(i), quint8(emptied ? 0 : 1));
            QCOMPARE(t.text(i + 1, emptied ? Col::FreqCol : Col::NameCol),
                     emptied ? QString() : names[i]);
        }
    }

    // A file of another name or too large is refused and changes nothing.
    void refusedFilesChangeNothing() {
        QTemporaryDir dir;
        const std::tuple<const char *, QByteArray, CsvImportResult::Status> files[] = {
            {"data.txt", csvFile({quotedLine(goodFields())}), CsvImportResult::WrongExtension},
            {"big.CSV", QByteArray(textfile::kMaxFileSize + 1, ','), CsvImportResult::Unreadable},
            {"good.Csv", csvFile({quotedLine(goodFields())}), CsvImportResult::Imported}};
        for (const auto &[name, bytes, status] : files) {
            test::writeFile(dir.filePath(name), bytes);
            RadioDocument doc;
            test::fillDocument(doc, 7);
            const QByteArray before = exportCsv(doc.channels);
            const CsvImportResult r = importCsvFile(doc.channels, dir.filePath(name));
            QCOMPARE(r.status, status);
            if (r.ok())
                QCOMPARE(doc.channels.text(1, Col::NameCol), u"NAME"_s);
            else
                QVERIFY(r.message() + '|' + r.title() == u"CSV File Error| Error"_s &&
                        exportCsv(doc.channels) == before);
        }
    }
};

QTEST_GUILESS_MAIN(CsvFileTest)
#include "tst_csvfile.moc"
