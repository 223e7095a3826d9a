// Writes the seed corpora of the fuzz targets (fuzz/corpus/<target>/) from
// the program's own writers: a default document and one with every region
// filled (the tests' document builder, tests/support/Documents.h). Usage:
// kpr5-fuzz-seeds <corpus folder>
#include "Documents.h"
#include "core/channels/ChannelRecord.h"
#include "core/document/RadioDocument.h"
#include "core/files/Configuration.h"
#include "core/files/CsvFile.h"
#include "core/files/DataFile.h"
#include "core/files/FontFile.h"
#include "core/font/GlyphCodec.h"
#include "core/link/CommandFrame.h"
#include "core/settings/SettingsCodec.h"
#include "core/text/Cp932.h"
#include "core/text/NameCodec.h"
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
using namespace kpr5;
static QString root;
static void put(const char *target, const char *name, const QByteArray &b) {
    QDir().mkpath(root + "/" + target);
    QFile f(root + "/" + target + "/" + name);
    f.open(QIODevice::WriteOnly);
    f.write(b);
}
static QByteArray le16(int v) {
    QByteArray b;
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
    return b;
}
static QByteArray record(quint32 hz, int mode, int step, int carrier, int toneMode, int tx, int rx,
                         int dcs, int shift, quint32 sh, bool skip, const QString &name) {
    return test::Record(hz)
        .mode(mode)
        .step(step)
        .carrier(carrier)
        .toneMode(toneMode)
        .tones(tx, rx)
        .dcs(dcs)
        .shift(shift, sh)
        .skip(skip)
        .nameField(names::encodeField(name));
}
static QByteArray readReply(quint32 addr, const QByteArray &data64) {
    return "QX~F" + addressDigits(addr) + "R\r\r\n" + toHexDigits(data64) + "\r\n";
}
int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    root = argv[1];
    RadioDocument doc;
    const QByteArray recs[] = {
        record(145000000, 0, 2, 3, 1, 8, 8, 0, 1, 600000, false, QStringLiteral("CALL")),
        record(433500000, 1, 5, 0, 2, 0, 0, 20, 2, 5000000, true,
               QString::fromUtf8("無線\u2460局")),
        record(1295000000, 2, 15, 28, 3, 38, 12, 103, 0, 0, false, QStringLiteral(":1~ABC\"x,y")),
        record(50000, 3, 0, 1, 0, 0, 0, 0, 0, 0, false, QString()),
    };
    const int rows[] = {1, 2, 1404, 1000, 1401, 1623};
    test::fillDocument(doc, 0x5EED);
    for (int i = 0; i < 6; ++i)
        decodeChannel(recs[i % 4], doc.channels, rows[i]);
    doc.groups.setBankFlag(3, true);
    doc.title.setDisplayText(QStringLiteral("KP-R5 :2~TITLE"));
    doc.title.setOpeningMoving(1);
    doc.title.takeOverDisplayText();
    QByteArray img(148, '\0');
    for (int i = 0; i < 148; ++i)
        img[i] = char((i * 7) % 5);
    doc.settings.setImageBytes(0, img);
    decodeSettings(doc.settings);

    datafile::WriteOptions opt;
    opt.comPort = 4;
    opt.savedAt = QDateTime(QDate(2026, 12, 6), QTime(9, 15));
    RadioDocument empty;
    put("fuzz_datafile", "default.R5", dataFileBytes(empty, opt));
    put("fuzz_datafile", "filled.R5", dataFileBytes(doc, opt));
    opt.devicePath = "/dev/ttyUSB0";
    put("fuzz_configuration", "KPR5Writer.INI", dataFileBytes(doc, opt));
    put("fuzz_configuration", "port16.INI",
        "Save Date\r\nCOMPORT16\r\nDEVICE%2Fdev%2Fserial%2Fby-id%2Fusb-x\r\nFile End\r\n");
    put("fuzz_configuration", "badport.INI", "CO\r\nCOMPORT17\r\n");
    // Whole tables (1623 lines) make slow inputs: the first lines are enough.
    auto firstLines = [](const QByteArray &text, int n) {
        int cut = 0;
        for (int i = 0; i < n && cut >= 0; ++i)
            cut = text.indexOf('\n', cut) + 1;
        return text.left(cut);
    };
    put("fuzz_csv", "default.CSV", firstLines(exportCsv(empty.channels), 4));
    put("fuzz_csv", "filled.CSV", firstLines(exportCsv(doc.channels), 40));
    {
        QByteArray c = exportCsv(doc.channels);
        int cut = 0;
        for (int i = 0; i < 12; ++i)
            cut = c.indexOf('\n', cut) + 1;
        put("fuzz_csv", "short.CSV", c.left(cut));
        QByteArray spread = "\xEF\xBB\xBF" + QString::fromLatin1(c.left(cut)).toUtf8();
        spread.replace("\r\n", "\n");
        spread.replace("\"", "");
        put("fuzz_csv", "spreadsheet-utf8.CSV", spread);
    }
    {
        QByteArray f;
        QBuffer b(&f);
        b.open(QIODevice::WriteOnly);
        writeFontFile(doc.font, b, opt.savedAt);
        put("fuzz_fontfile", "font.FR5", f);
        QByteArray e;
        QBuffer b2(&e);
        b2.open(QIODevice::WriteOnly);
        writeFontFile(empty.font, b2, opt.savedAt);
        put("fuzz_fontfile", "empty.FR5", e);
        put("fuzz_fontfile", "ended-early.FR5", f.left(f.size() / 3));
    }
    for (int i = 0; i < 6; ++i) {
        const ChannelRecord r = encodeChannel(doc.channels, rows[i]);
        put("fuzz_channel", qPrintable(QString("row%1").arg(rows[i])),
            le16(rows[i] + 1) + r.toByteArray());
    }
    put("fuzz_channel", "unused", le16(11) + QByteArray(64, '\0'));
    const QByteArray bankArea = doc.banks.encodeArea();
    put("fuzz_banks", "default", QByteArray("\x00\x32\x40", 3) + BankTable().encodeArea());
    put("fuzz_banks", "filled",
        QByteArray("\x20\x12\x40", 3) + bankArea.left(64) + bankArea.mid(64));
    put("fuzz_groups", "filled", QByteArray("\x01\x06", 2) + doc.groups.encodeArea());
    put("fuzz_groups", "block1", QByteArray("\x07\x05", 2) + doc.groups.encodeGroups(6, 5));
    put("fuzz_onetouch", "default", QByteArray("\x00", 1) + OneTouchTable().encodeArea());
    put("fuzz_onetouch", "filled",
        QByteArray("\x01", 1) + bankArea.left(100) + doc.oneTouch.encodeArea());
    put("fuzz_title", "title", doc.title.encodeArea());
    put("fuzz_title", "empty", OpeningTitle().encodeArea());
    {
        QByteArray s;
        s.append(char(0x01));
        for (int b = 0; b < 3; ++b)
            s += encodeSettingsBlock(doc.settings, b);
        put("fuzz_settings", "image", s);
    }
    {
        SettingsModel m;
        QByteArray s;
        s.append(char(0x10));
        for (int b = 0; b < 3; ++b)
            s += encodeSettingsBlock(m, b);
        put("fuzz_settings", "default", s);
    }
    for (int b = 0; b < 3; ++b)
        put("fuzz_dtmf", qPrintable(QString("block%1").arg(b)),
            QByteArray(1, char(b + 1)) + doc.dtmf.encodeBlock(b));
    const QByteArray g0 = encodeGlyph(doc.font, 0), g1 = encodeGlyph(doc.font, 1);
    put("fuzz_glyph", "read-reply", readReply(glyphAddress(0), g0 + g1));
    put("fuzz_glyph", "glyph-bytes", g1);
    put("fuzz_glyph", "identify", "QX~KP-R5\r\r\n  OK\r\n");
    put("fuzz_reply", "read-reply", readReply(0x1200, recs[1]));
    put("fuzz_reply", "identify", "QX~KP-R5T\r\r\nOK\r\n");
    put("fuzz_reply", "write-reply",
        blockWriteFrame(0x100, doc.groups.encodeGroups(0, 6)) + "\r\nOK\r\n");
    put("fuzz_reply", "hex", toHexDigits(recs[2]));
    put("fuzz_names", "name", names::encodeField(QString::fromUtf8("無線\u2460局AB")));
    put("fuzz_names", "cp932-text", cp932::encode(QString::fromUtf8("ｶﾀｶﾅ 漢字 ①② ¥~ \\ :3~")));
    put("fuzz_names", "broken-lead", QByteArray("\x81\x0d\x0a\x82\xa0\xff\x80\xa0\xfc\xfc", 10));
    return 0;
}
