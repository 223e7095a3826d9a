// CSV channel files: export, import with its checks, files from spreadsheets,
// and an independent reading of the exported file by Python's csv module.

#include "ChannelRows.h"
#include "Documents.h"
#include "Files.h"
#include "core/files/CsvFile.h"
#include "core/files/TextLines.h"
#include "core/text/Cp932.h"
#include "core/text/NameCodec.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace kpr5;
using namespace Qt::StringLiterals;

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
    QStringList q;
    for (const QString &f : fields)
        q << QLatin1Char('"') + f + QLatin1Char('"');
    return q.join(QLatin1Char(','));
}

// A double-byte character of code page 932 outside the names' allowed set.
QString notAllowed() {
    for (quint16 code = 0x889F; code < 0x9FFC; ++code) {
        const auto c = cp932::toUnicode(code);
        if (c && !names::isAllowedDoubleByte(code)) return QString(QChar(*c));
    }
    return QString();
}

QByteArray csvFile(const QStringList &dataLines, const QString &header = kHeader) {
    return textfile::encodeLines(QStringList{header} + dataLines);
}

// A table with every row in use, row 1 named with a comma, quotes and katakana.
void fillTable(RadioDocument &doc) {
    test::fillDocument(doc, 7);
    const QString name = QStringLiteral("A,\"B\" ｶﾅ");
    doc.channels.setText(1, Col::NameCol, name);
    doc.channels.setStoredName(0, names::displayToStored(name));
}

} // namespace

class CsvFileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void exportFormat() {
        ChannelTable t;
        const QStringList lines = textfile::decodeLines(exportCsv(t));
        QCOMPARE(lines.size(), 1624);
        QCOMPARE(lines.at(0), kHeader);
        QCOMPARE(lines.at(0).size() - lines.at(0).count(QLatin1Char(',')), 100);
        QCOMPARE(
            lines.at(1),
            QStringLiteral(
                "\"Bank000-0\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"1\""));
        QCOMPARE(lines.at(1401),
                 QStringLiteral(
                     "\"CALL-VHF\",\"145.00000\",\"FM\",\"5KHz\",\"2300Hz\",\"None\",\"88.5Hz\","
                     "\"88.5Hz\",\"023\",\"Off\",\"0.000MHz\",\"\",\"\",\"1401\""));
        QVERIFY(lines.at(1623).startsWith(QStringLiteral("\"BUG - 19\",\"321.13500\"")));
        QVERIFY(exportCsv(t).endsWith("\"1623\"\r\n"));
    }

    void pythonReadsTheExport() {
        const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
        QVERIFY2(!python.isEmpty(),
                 "python3 is needed to check the export with an independent CSV reader");
        RadioDocument doc;
        fillTable(doc);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("channels.CSV"));
        QString error;
        QVERIFY(saveCsv(doc.channels, path, &error));
        QProcess p;
        p.start(python, {QStringLiteral("-c"),
                         QStringLiteral("import csv, json, sys\n"
                                        "rows = list(csv.reader(open(sys.argv[1], "
                                        "encoding='cp932', newline=''), strict=True))\n"
                                        "print(json.dumps([len(rows), sorted({len(r) for r in "
                                        "rows}), rows[1][12], rows[1][13], rows[1401][0]]))\n"),
                         path});
        QVERIFY(p.waitForFinished(30000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        const QJsonArray out = QJsonDocument::fromJson(p.readAllStandardOutput()).array();
        QCOMPARE(out.at(0).toInt(), 1624);
        QCOMPARE(out.at(1).toArray(), QJsonArray{14});
        QCOMPARE(out.at(2).toString(), QStringLiteral("A,\"B\" ｶﾅ"));
        QCOMPARE(out.at(3).toString(), QStringLiteral("1"));
        QCOMPARE(out.at(4).toString(), QStringLiteral("CALL-VHF"));
    }

    void header_data() {
        QTest::addColumn<QString>("header");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("as exported") << kHeader << true;
        QTest::newRow("unquoted") << ",Freqency,mode,step,Carrier,Tone/"
                                     "DCS,Tx-tone,Rx-tone,DCS,Shift,Shift-Freq,Skip,Name,0"
                                  << true;
        QTest::newRow("numbers unquoted")
            << QString(kHeader).replace(QStringLiteral("\"0\""), QStringLiteral("0")) << true;
        QTest::newRow("extra quoted column") << kHeader + QStringLiteral(",\"\"") << false;
        QTest::newRow("extra column") << ",Freqency,mode,step,Carrier,Tone/"
                                         "DCS,Tx-tone,Rx-tone,DCS,Shift,Shift-Freq,Skip,Name,0,X"
                                      << false;
        QTest::newRow("one column less")
            << QString(kHeader).remove(QStringLiteral(",\"Skip\"")) << false;
        QTest::newRow("100 other characters") << QString(100, QLatin1Char('x')) << false;
        QTest::newRow("empty") << QString() << false;
    }
    void header() {
        QFETCH(QString, header);
        QFETCH(bool, accepted);
        QCOMPARE(csv::isHeader(header), accepted);
        ChannelTable t;
        setChannel(t, 1, QStringLiteral("430.00000MHz"), QStringLiteral("FM"), 0, 0,
                   QStringLiteral("None"), 8, 8, 0, QStringLiteral("Off"),
                   QStringLiteral("0.000MHz"), false, QStringLiteral("OLD"));
        const CsvImportResult r = importCsv(t, csvFile({quotedLine(goodFields())}, header));
        QCOMPARE(r.ok(), accepted);
        QCOMPARE(t.text(1, Col::NameCol),
                 accepted ? QStringLiteral("NAME") : QStringLiteral("OLD"));
        if (!accepted) {
            QCOMPARE(r.message(), QStringLiteral("CSV File Error"));
            QCOMPARE(r.title(), QStringLiteral(" Error"));
        }
    }

    void fieldChecks_data() {
        QTest::addColumn<int>("field"); // 1-based field of the line
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("cell"); // the row's cell afterwards; "-" = row emptied
        const auto row = [](const char *tag, int field, const QString &value, const QString &cell) {
            QTest::newRow(tag) << field << value << cell;
        };
        row("JR", 5, "JR", "ＪＲ");
        row("ＪＲ", 5, "ＪＲ", "ＪＲ");
        row("carrier 2300", 5, "2300", "-");
        row("frequency 145", 2, "145", "-");
        row("frequency 145.5", 2, "145.5", "145.50000MHz");
        row("frequency 0145.00000", 2, "0145.00000", "145.00000MHz");
        row("frequency 12345.0", 2, "12345.0", "-");
        row("six decimals", 2, "145.123456", "-");
        row("with MHz", 2, "145.00000MHz", "-");
        row("frequency empty", 2, "", "-");
        row("823.99999", 2, "823.99999", "823.99999MHz");
        row("824.00000", 2, "824.00000", "-");
        row("849.99999", 2, "849.99999", "-");
        row("850.00000", 2, "850.00000", "850.00000MHz");
        row("869.00000", 2, "869.00000", "-");
        row("894.99999", 2, "894.99999", "-");
        row("895", 2, "895.0", "895.00000MHz");
        row("mode fm", 3, "fm", "-");
        row("mode WFM", 3, "WFM", "WFM");
        row("step 12.5kHz", 4, "12.5kHz", "-");
        row("squelch Train", 6, "Train", "Train");
        row("squelch tone", 6, "tone", "-");
        row("tx tone 88.5", 7, "88.5", "-");
        row("rx tone 250.3Hz", 8, "250.3Hz", "250.3Hz");
        row("dcs 23", 9, "23", "-");
        row("dcs 754", 9, "754", "754");
        row("shift plus", 10, "plus", "-");
        row("shift 0.6", 11, "0.6", "0.600MHz");
        row("shift 5.000MHz", 11, "5.000MHz", "5.000MHz");
        row("shift text kept", 11, "abc", "abc");
        row("skip *", 12, "*", "*");
        row("skip ※", 12, "※", "*");
        row("skip x", 12, "x", "-");
        row("name with comma", 13, "A,B", "A,B");
        row("label ignored", 1, "Bank007-7", "Bank007-7");
        row("row number ignored", 14, "700", "700");
        row("name filtered", 13, "A" + notAllowed() + "ラ", "Aラ");
    }
    void fieldChecks() {
        QFETCH(int, field);
        QFETCH(QString, value);
        QFETCH(QString, cell);
        QStringList fields = goodFields();
        fields[field - 1] = value;
        ChannelTable t;
        const QStringList row2 = rowTexts(t, 2);
        QVERIFY(importCsv(t, csvFile({quotedLine(fields)})).ok());
        QCOMPARE(rowTexts(t, 2), row2); // beyond the file: untouched
        if (cell == QLatin1String("-")) {
            for (int c = 1; c <= ChannelTable::kColumns; ++c)
                QCOMPARE(t.text(1, c), QString());
            QCOMPARE(rowTexts(t, 1).last(), QStringLiteral("in0 st0 ca0 tx0 rx0 dcs0"));
            return;
        }
        QCOMPARE(t.inUse(0), quint8(1));
        if (field >= 2 && field <= 13) QCOMPARE(t.text(1, field - 1), cell);
        QCOMPARE(t.text(1, Col::NameCol).isEmpty(), false);
        QCOMPARE(t.storedName(0), names::displayToStored(t.text(1, Col::NameCol)));
        if (QTest::currentDataTag() == QLatin1String("JR")) QCOMPARE(int(t.carrierIndex(0)), 28);
        if (field == 14 || field == 1)
            QCOMPARE(rowTexts(t, 1).last(), QStringLiteral("in1 st4 ca20 tx8 rx12 dcs0"));
    }

    // Lines land in the rows by their position, whatever their label and
    // row number say, the call channels among them; the bug-detector rows
    // are never reached.
    void twoThousandLinesStopAtRow1603() {
        QStringList lines;
        for (int i = 0; i < 2000; ++i) {
            QStringList f = goodFields();
            f[12] = QStringLiteral("N%1").arg(i + 1);
            lines << quotedLine(f);
        }
        ChannelTable t;
        const QStringList bug = rowTexts(t, 1604);
        const CsvImportResult r = importCsv(t, csvFile(lines));
        QVERIFY(r.ok());
        QCOMPARE(r.rowsFilled, 1603);
        QCOMPARE(r.rowsEmptied, 0);
        QCOMPARE(t.text(1, Col::NameCol), QStringLiteral("N1"));
        QCOMPARE(t.text(1603, Col::NameCol), QStringLiteral("N1603"));
        QCOMPARE(t.text(1401, Col::NameCol), QStringLiteral("N1401"));
        QCOMPARE(rowTexts(t, 1604), bug);
    }

    void spreadsheetFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("names"); // rows 1.. afterwards; "-" = emptied
        const QByteArray header =
            ",Freqency,mode,step,Carrier,Tone/DCS,Tx-tone,Rx-tone,DCS,Shift,Shift-Freq,Skip,Name,0";
        const QByteArray line =
            "Bank000-0,145.00000,FM,5KHz,JR,None,88.5Hz,88.5Hz,023,Off,0.000MHz,,";
        QTest::newRow("UTF-8 with BOM, LF")
            << QByteArray("\xEF\xBB\xBF" + header + "\n" + line + "\xEF\xBD\xB1\xEF\xBD\xB2,1\n")
            << QStringList{"ｱｲ", "keep"};
        // UTF-8 without a byte-order mark is read as UTF-8, with the code page
        // 932 forms of the characters Linux and macOS write otherwise; bytes
        // that are not UTF-8 are code page 932.
        QTest::newRow("UTF-8 without BOM")
            << QByteArray(header + "\r\n" + line + u"ラジオ:1~局,1\r\n"_s.toUtf8())
            << QStringList{u"ラジオ:1~局"_s, "keep"};
        QTest::newRow("UTF-8 forms of Linux and macOS")
            << QByteArray(header + "\r\n" + line +
                          u"\u301C\u2212\u2016\u00A2\u00A3\u00AC\u2014\u00A5,1\r\n"_s.toUtf8())
            << QStringList{u"\uFF5E\uFF0D\u2225\uFFE0\uFFE1\uFFE2\u2015\\"_s};
        QTest::newRow("not UTF-8: code page 932")
            << QByteArray(header + "\r\n" + line + "A\xB1,1\r\n") << QStringList{u"Aｱ"_s};
        QTest::newRow("CR only") << QByteArray(header + "\r" + line + "A,1\r" + line + "B,2\r")
                                 << QStringList{"A", "B"};
        QTest::newRow("trailing empty lines")
            << QByteArray(header + "\r\n" + line + "A,1\r\n\r\n,,,,,,,,,,,,,\r\n\r\n")
            << QStringList{"A", "keep"};
        QTest::newRow("empty line inside")
            << QByteArray(header + "\r\n\r\n" + line + "B,2\r\n") << QStringList{"-", "B"};
        QTest::newRow("no final line end")
            << QByteArray(header + "\r\n" + line + "A,1") << QStringList{"A", "keep"};
        QTest::newRow("quote inside a field")
            << QByteArray(header + "\r\n" + line + "\"A \"\"Q\"\", B\",1\r\n")
            << QStringList{"A \"Q\", B", "keep"};
        QByteArray garbage;
        for (int i = 0; i < 3000; ++i)
            garbage += char((i * 131 + 7) % 256);
        QTest::newRow("binary after the header")
            << QByteArray(header + "\r\n" + garbage) << QStringList{"-"};
    }
    void spreadsheetFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, names);
        ChannelTable t;
        for (int row = 1; row <= 2; ++row)
            setChannel(t, row, QStringLiteral("430.00000MHz"), QStringLiteral("FM"), 0, 0,
                       QStringLiteral("None"), 8, 8, 0, QStringLiteral("Off"),
                       QStringLiteral("0.000MHz"), false, QStringLiteral("keep"));
        QVERIFY(importCsv(t, bytes).ok());
        for (int i = 0; i < names.size(); ++i) {
            const int row = i + 1;
            if (names[i] == QLatin1String("-")) {
                QCOMPARE(t.inUse(row - 1), quint8(0));
                QCOMPARE(t.text(row, Col::FreqCol), QString());
            } else {
                QCOMPARE(t.text(row, Col::NameCol), names[i]);
                QCOMPARE(t.inUse(row - 1), quint8(1));
            }
        }
    }

    void refusedFilesChangeNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("status");
        QTest::newRow("not .CSV") << "data.txt" << csvFile({quotedLine(goodFields())})
                                  << int(CsvImportResult::WrongExtension);
        QTest::newRow("too large") << "big.CSV" << QByteArray(textfile::kMaxFileSize + 1, ',')
                                   << int(CsvImportResult::Unreadable);
        QTest::newRow("good") << "good.Csv" << csvFile({quotedLine(goodFields())})
                              << int(CsvImportResult::Imported);
    }
    void refusedFilesChangeNothing() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, status);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        test::writeFile(path, bytes);
        RadioDocument doc;
        fillTable(doc);
        ChannelTable &t = doc.channels;
        const QByteArray before = exportCsv(t);
        const CsvImportResult r = importCsvFile(t, path);
        QCOMPARE(int(r.status), status);
        if (r.ok()) {
            QCOMPARE(t.text(1, Col::NameCol), QStringLiteral("NAME"));
            return;
        }
        QCOMPARE(r.message(), QStringLiteral("CSV File Error"));
        QCOMPARE(r.title(), QStringLiteral(" Error"));
        QCOMPARE(exportCsv(t), before);
    }
};

QTEST_GUILESS_MAIN(CsvFileTest)
#include "tst_csvfile.moc"
