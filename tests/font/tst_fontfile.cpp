// The user characters' radio form and their font file's rules. (Saving and
// loading back is held by tst_roundtrip, arbitrary files by the
// fuzz_fontfile corpus, failed saves by tst_fileedges.)

#include "Files.h"
#include "core/files/FontFile.h"
#include "core/font/FontImage.h"
#include "core/font/GlyphCodec.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace kpr5;

namespace {

FontFileResult readText(const QByteArray &text, FontImage &font) {
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    return readFontFile(buffer, font);
}

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

    // Files as the original program reads them (rows of "0" and "1" set
    // pixels, others leave them; blocks fill the characters in order, the
    // digit in their header unused; a ninth block only ends the load when it
    // changes pixels), each loaded onto a checkerboard:
    // tests/data/fontload/NAME.FR5 and NAME.FR5.loaded, the result and the
    // characters afterwards as this program saves them.
    void loadRules_data() {
        QTest::addColumn<QString>("path");
        const QDir folder(QFINDTESTDATA("../data/fontload"));
        for (const QString &name : folder.entryList({QStringLiteral("*.FR5")}))
            QTest::newRow(qPrintable(name)) << folder.filePath(name);
    }
    void loadRules() {
        QFETCH(QString, path);
        static const char *const results[] = {"Loaded", "EndedEarly", "WrongExtension",
                                              "CannotOpen", "NotFontFile"};
        FontImage font;
        for (int k = 0; k < 8; ++k)
            for (int p = 0; p < 256; ++p)
                font.setPixel(k, p / 16, p % 16, (p / 16 + p % 16 + k) % 2);
        QBuffer loaded;
        loaded.open(QIODevice::WriteOnly);
        loaded.write(results[int(readText(test::readFile(path), font))] + QByteArray("\r\n"));
        QVERIFY(writeFontFile(font, loaded, QDateTime(QDate(2026, 12, 6), QTime(9, 0))));
        QCOMPARE(
            QString::fromLatin1(loaded.data()).split(QStringLiteral("\r\n")),
            QString::fromLatin1(test::readFile(path + ".loaded")).split(QStringLiteral("\r\n")));
    }

    // Any case of ".FR5" opens (other names are refused, held by
    // tst_fontwindow); a file that cannot be opened says why.
    void extensionAndMissingFile() {
        QTemporaryDir dir;
        FontImage font;
        QVERIFY(saveFontFile(font, dir.filePath("a.fr5")));
        QCOMPARE(loadFontFile(dir.filePath("a.fr5"), font), FontFileResult::Loaded);
        QString error;
        QCOMPARE(loadFontFile(dir.filePath("missing.FR5"), font, &error),
                 FontFileResult::CannotOpen);
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(FontFileTest)
#include "tst_fontfile.moc"
