// The user characters' radio form and their font file's rules. (Saving and
// loading back is held by tst_roundtrip, arbitrary files by the
// fuzz_fontfile corpus, failed saves by tst_fileedges.)

#include "Files.h"
#include "core/files/FontFile.h"
#include "core/font/FontImage.h"
#include "core/font/GlyphCodec.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kpr5;

namespace {

// A block: the header line and 16 rows, each row given or "0" * 16.
QByteArray block(const QByteArray &header, const QList<QByteArray> &rows = {}) {
    QByteArray out = header + "\r\n";
    for (int r = 0; r < 16; ++r)
        out += (r < rows.size() ? rows[r] : QByteArray(16, '0')) + "\r\n";
    return out;
}

FontFileResult readText(const QByteArray &text, FontImage &font) {
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    return readFontFile(buffer, font);
}

const QByteArray kHeader = "Save Date and Time 2026-12-06 09:00:00\r\n";

} // namespace

class FontFileTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Columns are bytes, rows bits, the lower eight rows in the second 16
    // bytes (the corners are held by the font transfer's frames).
    void glyphBytes() {
        FontImage font;
        font.setPixel(5, 0, 15, 1);
        font.setPixel(5, 10, 3, 1);
        const QByteArray bytes = encodeGlyph(font, 5);
        QCOMPARE(bytes, QByteArray(15, '\0') + '\x01' + QByteArray(3, '\0') + '\x04' +
                            QByteArray(12, '\0'));
        FontImage back;
        QVERIFY(decodeGlyph(bytes, back, 2));
        QCOMPARE(back.glyph(2), font.glyph(5));
        QVERIFY(back.isEmpty(5));
    }

    void readReplies() {
        const QByteArray glyph = QByteArray::fromHex("0102030405060708090A0B0C0D0E0F10"
                                                     "1112131415161718191A1B1C1D1E1F80");
        const QByteArray reply =
            "QX~F01020R\r\r\n" + toHexDigits(glyph) + QByteArray(64, 'F') + "\r\n";
        QCOMPARE(glyphFromReadReply(reply), std::optional<QByteArray>(glyph));
        QVERIFY(!glyphFromReadReply(reply.left(142)));
        QVERIFY(!glyphFromReadReply(reply + '\n'));
        QVERIFY(!glyphFromReadReply(QByteArray(reply).replace(20, 1, "a"))); // lower case
        QVERIFY(fontIdentifyOk("QX~KP-R5\r\r\n  OK\r\n"));
        QVERIFY(!fontIdentifyOk("QX~KP-R5\r\r\n  OX\r\n"));
        QVERIFY(!fontIdentifyOk("QX~KP-R5\r\r\n  O")); // too short to hold "OK"
    }

    // Byte for byte the file the original program writes for these pixels.
    void saveFormat() {
        FontImage font;
        font.setPixel(0, 0, 0, 1);
        font.setPixel(7, 15, 15, 1);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(writeFontFile(font, buffer, QDateTime(QDate(2026, 12, 6), QTime(9, 5, 7))));
        QCOMPARE(buffer.data(), test::readFile(QFINDTESTDATA("../data/two-pixels.FR5")));
    }

    void loadRules_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("result");
        QTest::addColumn<QList<int>>("changedGlyphs");
        const QByteArray ones(16, '1');
        const QByteArray zeros = QByteArray("0000000000000000\n").repeated(16);
        const auto row = [](const char *tag, const QByteArray &text, FontFileResult result,
                            const QList<int> &changed) {
            QTest::newRow(tag) << text << int(result) << changed;
        };
        row("header digit not used: blocks fill 0, 1 in order",
            kHeader + block("3", {ones}) + block("0") + "File End\r\n", FontFileResult::Loaded,
            {0, 1});
        row("four blocks change characters 0-3 only",
            kHeader + block("0") + block("1") + block("2") + block("3") + "File End\r\n",
            FontFileResult::Loaded, {0, 1, 2, 3});
        row("ends inside a block", kHeader + block("0") + "1\r\n0000\r\n",
            FontFileResult::EndedEarly, {0});
        row("lines before and between blocks are skipped",
            kHeader + "junk\r\n12\r\n9\r\n\r\n" + block("5") + "8\r\nFile End\r\n",
            FontFileResult::Loaded, {0});
        row("LF-only and CR-only line ends",
            "h\n0\n" + zeros + "1\r" + QByteArray(zeros).replace('\n', '\r'),
            FontFileResult::Loaded, {0, 1});
        row("empty file", QByteArray(), FontFileResult::NotFontFile, {});
        row("random bytes",
            QByteArray::fromHex("9f3c0a0d7e11ff0a300a8a2f0d0a") + QByteArray(300, '\x81'),
            FontFileResult::NotFontFile, {});
        row("rows without a valid one",
            kHeader + "0\r\n" + QByteArray("0000000020000000\r\n").repeated(16),
            FontFileResult::NotFontFile, {});
    }
    void loadRules() {
        QFETCH(QByteArray, text);
        QFETCH(int, result);
        QFETCH(QList<int>, changedGlyphs);
        FontImage font;
        for (int k = 0; k < 8; ++k)
            font.fillRect(k, 0, 0, 15, 15, 1); // everything set beforehand
        const FontImage::Glyph full = font.glyph(0);
        QCOMPARE(int(readText(text, font)), result);
        for (int k = 0; k < 8; ++k)
            QVERIFY2((font.glyph(k) == full) != changedGlyphs.contains(k),
                     qPrintable(QString::number(k)));
    }

    void rowCharacters() {
        FontImage font;
        font.fillRect(0, 0, 0, 15, 15, 1);
        font.setPixel(0, 0, 2, 0);
        // row 0: "2".."9" leave, "0" and non-digits clear, "1" sets;
        // row 1: too short, skipped; row 2 too long; row 3 with a double-byte
        // character counted as one (16 characters in 17 bytes).
        const QByteArray text =
            kHeader + block("0", {"0129x 3456789-01", "0000", QByteArray(17, '0'),
                                  QByteArray("\x82\xa0") + QByteArray(15, '1')});
        QCOMPARE(readText(text, font), FontFileResult::Loaded);
        QString rows;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 16; ++c)
                rows += QChar('0' + font.pixel(0, r, c));
        QCOMPARE(rows, QStringLiteral("0101001111111001"
                                      "1111111111111111"
                                      "1111111111111111"
                                      "0111111111111111"));
    }

    void ninthBlock() {
        // A ninth block that would change a pixel ends the load; the eight
        // before it are kept.
        QByteArray text = kHeader;
        for (int k = 0; k < 8; ++k)
            text += block(QByteArray::number(k), {QByteArray(16, '1')});
        FontImage font;
        QCOMPARE(readText(text + block("0") + "File End\r\n", font), FontFileResult::EndedEarly);
        for (int k = 0; k < 8; ++k)
            QCOMPARE(font.pixel(k, 0, 15), 1);
        // One with nothing to set (only "2".."9" and lines of the wrong length) does not.
        const QByteArray harmless = block("0", {QByteArray(16, '5'), "1", "1"})
                                        .replace(QByteArray(16, '0'), QByteArray(16, '9'));
        QCOMPARE(readText(text + harmless + "File End\r\n", font), FontFileResult::Loaded);
    }

    void extensionAndMissingFile() {
        QTemporaryDir dir;
        FontImage saved, font;
        saved.setPixel(3, 4, 5, 1);
        QVERIFY(saveFontFile(saved, dir.filePath("a.fr5")));
        QVERIFY(QFile::copy(dir.filePath("a.fr5"), dir.filePath("a.txt")));
        QCOMPARE(loadFontFile(dir.filePath("a.txt"), font), FontFileResult::WrongExtension);
        QVERIFY(font.isEmpty(3));
        QCOMPARE(loadFontFile(dir.filePath("a.fr5"), font), FontFileResult::Loaded);
        QCOMPARE(font.glyph(3), saved.glyph(3));
        QString error;
        QCOMPARE(loadFontFile(dir.filePath("missing.FR5"), font, &error),
                 FontFileResult::CannotOpen);
        QVERIFY(!error.isEmpty());
    }

    // A rectangle dragged either way fills its corners; out of range is
    // clipped or ignored, never written.
    void imageEdits() {
        FontImage font;
        QSignalSpy changed(&font, &FontImage::glyphChanged);
        font.fillRect(2, 9, 12, 3, 4, 1);
        font.togglePixel(2, 3, 4);
        font.fillRect(0, -5, -5, 40, 40, 1);
        font.setPixel(8, 0, 0, 1);
        font.setPixel(0, 16, 0, 1);
        font.togglePixel(0, 0, -1);
        QCOMPARE(changed.count(), 3);
        int set = 0;
        for (int r = 0; r < 16; ++r)
            for (int c = 0; c < 16; ++c)
                set += font.pixel(2, r, c) + font.pixel(0, r, c);
        QCOMPARE(set, 7 * 9 - 1 + 256);
        QCOMPARE(font.pixel(2, 3, 4) + 2 * font.pixel(2, 9, 12) + 4 * font.pixel(8, 0, 0), 2);
    }
};

QTEST_GUILESS_MAIN(FontFileTest)
#include "tst_fontfile.moc"
