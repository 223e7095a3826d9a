// The user characters' radio form and their font file's rules. (Saving and
// loading back is held by tst_roundtrip, arbitrary files by the
// fuzz_fontfile corpus, failed saves by tst_fileedges.)

#include "core/files/FontFile.h"
#include "core/font/FontImage.h"
#include "core/font/GlyphCodec.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
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
    // --- glyph bytes (the corners: the font transfer's documented frame) --------
    void glyphBytes_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("byteIndex");
        QTest::addColumn<int>("value");
        QTest::newRow("row 7 of column 0") << 7 << 0 << 0 << 0x80;
        QTest::newRow("top right") << 0 << 15 << 15 << 0x01;
        QTest::newRow("row 8 of column 0") << 8 << 0 << 16 << 0x01;
        QTest::newRow("row 10 of column 3") << 10 << 3 << 19 << 0x04;
    }
    void glyphBytes() {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(int, byteIndex);
        QFETCH(int, value);
        FontImage font;
        font.setPixel(5, row, col, 1);
        const QByteArray bytes = encodeGlyph(font, 5);
        QByteArray expected(32, '\0');
        expected[byteIndex] = char(value);
        QCOMPARE(bytes, expected);

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
        QCOMPARE(reply.size(), 143);
        QCOMPARE(glyphFromReadReply(reply), std::optional<QByteArray>(glyph));
        QVERIFY(!glyphFromReadReply(reply.left(142)));
        QVERIFY(!glyphFromReadReply(reply + '\n'));
        QByteArray lower = reply;
        lower[20] = 'a'; // not an upper-case digit: never decoded as data
        QVERIFY(!glyphFromReadReply(lower));

        QVERIFY(fontIdentifyOk("QX~KP-R5\r\r\n  OK\r\n"));
        QVERIFY(!fontIdentifyOk("QX~KP-R5\r\r\n  OX\r\n"));
        QVERIFY(!fontIdentifyOk("QX~KP-R5\r\r\n  O")); // too short to hold "OK"
    }

    // --- the font file ---------------------------------------------------------
    void saveFormat() {
        FontImage font;
        font.setPixel(0, 0, 0, 1);
        font.setPixel(7, 15, 15, 1);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(writeFontFile(font, buffer, QDateTime(QDate(2026, 12, 6), QTime(9, 5, 7))));
        const QByteArray text = buffer.data();
        QVERIFY(text.endsWith("File End\r\n"));
        QCOMPARE(text.count("\r\n"), kFontFileLines);
        QCOMPARE(text.count('\n'), kFontFileLines); // no bare LF
        const QList<QByteArray> lines = text.split('\n');
        QCOMPARE(lines[0], QByteArray("Save Date and Time 2026-12-06 09:05:07\r"));
        QCOMPARE(lines[1], QByteArray("0\r"));
        QCOMPARE(lines[2], QByteArray("1000000000000000\r"));
        QCOMPARE(lines[1 + 7 * 17], QByteArray("7\r"));
        QCOMPARE(lines[1 + 7 * 17 + 16], QByteArray("0000000000000001\r"));
        QCOMPARE(lines[137], QByteArray("File End\r"));
    }

    void loadRules_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("result");
        // glyph, row, and the pixels of that row expected afterwards ("x" = unchanged)
        QTest::addColumn<QList<int>>("changedGlyphs");

        const QByteArray ones(16, '1');
        QTest::newRow("header digit not used: blocks fill 0, 1 in order")
            << kHeader + block("3", {ones}) + block("0") + "File End\r\n"
            << int(FontFileResult::Loaded) << QList<int>{0, 1};
        QTest::newRow("four blocks change characters 0-3 only")
            << kHeader + block("0") + block("1") + block("2") + block("3") + "File End\r\n"
            << int(FontFileResult::Loaded) << QList<int>{0, 1, 2, 3};
        QTest::newRow("ends inside a block") << kHeader + block("0") + "1\r\n0000\r\n"
                                             << int(FontFileResult::EndedEarly) << QList<int>{0};
        QTest::newRow("lines before and between blocks are skipped")
            << kHeader + "junk\r\n12\r\n9\r\n\r\n" + block("5") + "8\r\nFile End\r\n"
            << int(FontFileResult::Loaded) << QList<int>{0};
        QTest::newRow("LF-only and CR-only line ends")
            << QByteArray("h\n0\n") + QByteArray("0000000000000000\n").repeated(16) + "1\r" +
                   QByteArray("0000000000000000\r").repeated(16)
            << int(FontFileResult::Loaded) << QList<int>{0, 1};
        // Not a font file at all: refused, nothing changes.
        QTest::newRow("empty file")
            << QByteArray() << int(FontFileResult::NotFontFile) << QList<int>{};
        QTest::newRow("random bytes")
            << QByteArray::fromHex("9f3c0a0d7e11ff0a300a8a2f0d0a") + QByteArray(300, '\x81')
            << int(FontFileResult::NotFontFile) << QList<int>{};
        QTest::newRow("rows without a valid one")
            << kHeader + "0\r\n" + QByteArray("0000000020000000\r\n").repeated(16)
            << int(FontFileResult::NotFontFile) << QList<int>{};
    }
    void loadRules() {
        QFETCH(QByteArray, text);
        QFETCH(int, result);
        QFETCH(QList<int>, changedGlyphs);
        FontImage font;
        for (int k = 0; k < 8; ++k)
            font.fillRect(k, 0, 0, 15, 15, 1); // everything set beforehand
        FontImage before;
        for (int k = 0; k < 8; ++k)
            before.setGlyph(k, font.glyph(k));

        QCOMPARE(int(readText(text, font)), result);
        for (int k = 0; k < 8; ++k) {
            if (changedGlyphs.contains(k))
                QVERIFY2(font.glyph(k) != before.glyph(k), qPrintable(QString::number(k)));
            else
                QVERIFY2(font.glyph(k) == before.glyph(k), qPrintable(QString::number(k)));
        }
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
        const QList<int> expected = {0, 1, 0, 1, 0, 0, 1, 1, 1, 1, 1, 1, 1, 0, 0, 1};
        for (int c = 0; c < 16; ++c)
            QVERIFY2(font.pixel(0, 0, c) == expected[c], qPrintable(QString::number(c)));
        for (int c = 0; c < 16; ++c) {
            QCOMPARE(font.pixel(0, 1, c), 1);
            QCOMPARE(font.pixel(0, 2, c), 1);
            QCOMPARE(font.pixel(0, 3, c), c == 0 ? 0 : 1);
        }
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
        FontImage again;
        const QByteArray harmless = block("0", {QByteArray(16, '5'), "1", "1"})
                                        .replace(QByteArray(16, '0'), QByteArray(16, '9'));
        QCOMPARE(readText(text + harmless + "File End\r\n", again), FontFileResult::Loaded);
    }

    void wrongExtension() {
        QTemporaryDir dir;
        FontImage saved;
        saved.setPixel(3, 4, 5, 1);
        const QString good = dir.filePath(QStringLiteral("a.fr5"));
        QVERIFY(saveFontFile(saved, good));
        const QString bad = dir.filePath(QStringLiteral("a.txt"));
        QVERIFY(QFile::copy(good, bad));

        FontImage font;
        QCOMPARE(loadFontFile(bad, font), FontFileResult::WrongExtension);
        for (int k = 0; k < 8; ++k)
            QVERIFY(font.isEmpty(k));
        QCOMPARE(loadFontFile(good, font), FontFileResult::Loaded); // lower case is fine
        QCOMPARE(font.glyph(3), saved.glyph(3));
        QString error;
        QCOMPARE(loadFontFile(dir.filePath(QStringLiteral("missing.FR5")), font, &error),
                 FontFileResult::CannotOpen);
        QVERIFY(!error.isEmpty());
    }

    // --- the image --------------------------------------------------------------
    void imageEdits() {
        FontImage font;
        QSignalSpy changed(&font, &FontImage::glyphChanged);
        font.fillRect(2, 9, 12, 3, 4, 1); // corners in either order
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), 2);
        int set = 0;
        for (int r = 0; r < 16; ++r)
            for (int c = 0; c < 16; ++c)
                set += font.pixel(2, r, c);
        QCOMPARE(set, 7 * 9);
        QCOMPARE(font.pixel(2, 3, 4), 1);
        QCOMPARE(font.pixel(2, 9, 12), 1);
        font.togglePixel(2, 3, 4);
        QCOMPARE(font.pixel(2, 3, 4), 0);
        font.togglePixel(2, 3, 4);
        QCOMPARE(font.pixel(2, 3, 4), 1);

        // Out of range is ignored, never written.
        changed.clear();
        font.setPixel(8, 0, 0, 1);
        font.setPixel(-1, 0, 0, 1);
        font.setPixel(0, 16, 0, 1);
        font.togglePixel(0, 0, -1);
        font.fillRect(0, -5, -5, 40, 40, 1);
        QCOMPARE(font.pixel(8, 0, 0), 0);
        QCOMPARE(font.pixel(0, 15, 15), 1); // the clipped rectangle
        QCOMPARE(changed.count(), 1);
    }
};

QTEST_GUILESS_MAIN(FontFileTest)
#include "tst_fontfile.moc"
