// Names and the title in their three forms, the measure, the allowed set and
// the key filter.

#include "core/text/NameCodec.h"

#include <QtTest>

using namespace kpr5;
using namespace Qt::StringLiterals;

namespace {

QByteArray field(const QByteArray &head) {
    return head + QByteArray(32 - head.size(), '\0');
}

} // namespace

class NameCodecTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The radio's 32 bytes and the display form; "<>" both ways, "<" only
    // decoded, ">" only encoded.
    void radioForm_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("way");
        auto row = [](const char *tag, const QByteArray &bytes, const QString &display,
                      const char *way) {
            QTest::newRow(tag) << bytes << display << QString::fromLatin1(way);
        };
        row("all zero", field({}), QString(), "<>");
        row("user character then letter", field("\x40\x87\x41\x00"), ":1~A", "<>");
        row("user character 8", field("\x47\x87"), ":8~", "<>");
        row("half-width katakana", field(QByteArray("\xB1\x00", 2)), u"\uFF71"_s, "<>");
        row("hiragana", field("\xA0\x82"), u"\u3042"_s, "<>");
        row("empty slot between letters dropped", field(QByteArray("A\0\0\0B\0", 6)), "AB", "<");
        row("last slot used", field(QByteArray(30, '\0') + 'Z'), "Z", "<");
        row("lone lead byte", field(QByteArray("\x82\x00", 2)), u"\uFFFD"_s, "<");
        row("unassigned double-byte code", field("\x40\x85"), u"\uFFFD"_s, "<");
        row("short field", QByteArray("A\0B", 3), "AB", "<");
        row("bytes past 32 ignored", field("C") + "D", "C", "<");
        row("literal :9~", field(QByteArray(":\0009\0~\0", 6)), ":9~", ">");
        row("unrepresentable becomes ?", field(QByteArray("a\0?\0", 4)), u"a\u20AC"_s, ">");
        row("NUL takes no slot", field(QByteArray("a\0b\0", 4)), QStringLiteral("a\0b"), ">");
        row("seventeenth character dropped",
            QByteArray("A\0B\0C\0D\0E\0F\0G\0H\0I\0J\0K\0L\0M\0N\0O\0P\0", 32), "ABCDEFGHIJKLMNOPQ",
            ">");
    }
    void radioForm() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, display);
        QFETCH(QString, way);
        if (way.startsWith(QLatin1Char('<')))
            QCOMPARE(names::storedToDisplay(names::decodeField(bytes)), display);
        if (way.endsWith(QLatin1Char('>')))
            QCOMPARE(names::encodeField(names::displayToStored(display)).toHex(' '),
                     bytes.toHex(' '));
    }

    // Display form -> stored form (and back where the display holds no
    // stored user character), its measure in bytes and its tokens.
    void displayForm_data() {
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("bytes");
        QTest::addColumn<int>("tokens");
        auto row = [](const char *tag, const QString &display, const QString &stored, int bytes,
                      int tokens) { QTest::newRow(tag) << display << stored << bytes << tokens; };
        row("empty", "", "", 0, 0);
        row("one character", ":", ":", 1, 0);
        row("two characters", ":1", ":1", 2, 0);
        row("two tokens", ":1~:2~", u"\u2460\u2461"_s, 4, 2);
        row("every token", ":1~x:2~x:3~x:4~x:5~x:6~x:7~x:8~x",
            u"\u2460x\u2461x\u2462x\u2463x\u2464x\u2465x\u2466x\u2467x"_s, 24, 8);
        row("colon nine tilde", ":9~", ":9~", 3, 0);
        row("colon zero tilde", "x:0~", "x:0~", 4, 0);
        row("incomplete token", "ab:1", "ab:1", 4, 0);
        row("token after a colon", "::1~", u":\u2460"_s, 3, 1);
        row("full-width colon is no token", u"\uFF1A1~"_s, u"\uFF1A1~"_s, 4, 0);
        row("stored user character passes", u"\u2461"_s, u"\u2461"_s, 2, 0);
        row("hiragana", u"\u3042\u3044"_s, u"\u3042\u3044"_s, 4, 0);
        row("half-width katakana", u"\uFF71"_s, u"\uFF71"_s, 1, 0);
        row("mixed", u"A\u3042:3~"_s, u"A\u3042\u2462"_s, 5, 1);
    }
    void displayForm() {
        QFETCH(QString, display);
        QFETCH(QString, stored);
        QFETCH(int, bytes);
        QFETCH(int, tokens);
        QCOMPARE(names::displayToStored(display), stored);
        if (!display.contains(QChar(0x2461))) QCOMPARE(names::storedToDisplay(stored), display);
        QCOMPARE(names::measure(display), bytes);
        QCOMPARE(names::tokenCount(display), tokens);
    }

    void allowedSet_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("full-width space") << 0x8140 << true;
        QTest::newRow("geta mark, end of the first range") << 0x81AC << true;
        QTest::newRow("after the first range") << 0x81AD << false;
        QTest::newRow("full-width 0") << 0x824F << true;
        QTest::newRow("before full-width 0") << 0x824E << false;
        QTest::newRow("katakana vu ke") << 0x8396 << true;
        QTest::newRow("Greek alpha") << 0x839F << false;
        QTest::newRow("user character 1") << 0x8740 << false;
        QTest::newRow("sawa, after the kanji") << 0xE056 << true;
        QTest::newRow("zero never matches") << 0 << false;
    }
    void allowedSet() {
        QFETCH(int, code);
        QFETCH(bool, allowed);
        QCOMPARE(names::isAllowedDoubleByte(quint16(code)), allowed);
    }

    void filterAllowed_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");
        QTest::newRow("kanji outside the set") << u"A\u9B31B"_s << u"AB"_s;
        QTest::newRow("listed kanji") << u"\u611B\u6FA4\u4FCA"_s << u"\u611B\u6FA4\u4FCA"_s;
        QTest::newRow("tokens kept") << u":1~x"_s << u":1~x"_s;
        QTest::newRow("stored user character dropped") << u"\u2460x"_s << u"x"_s;
        QTest::newRow("unrepresentable dropped") << u"a\u20ACb"_s << u"ab"_s;
        QTest::newRow("NUL dropped") << QStringLiteral("a\0") << u"a"_s;
        QTest::newRow("half-width katakana kept") << u"\uFF71\uFF9F"_s << u"\uFF71\uFF9F"_s;
        QTest::newRow("Greek dropped") << u"\u03B1\u30A2"_s << u"\u30A2"_s;
    }
    void filterAllowed() {
        QFETCH(QString, text);
        QFETCH(QString, kept);
        QCOMPARE(names::filterAllowed(text), kept);
    }

    void keyFilter_data() {
        QTest::addColumn<QString>("current");
        QTest::addColumn<uint>("key");
        QTest::addColumn<bool>("title");
        QTest::addColumn<bool>("accepted");
        const QString fifteen = QStringLiteral("ABCDEFGHIJKLMNO");
        const QString sixteen = fifteen + QLatin1Char('P');
        QTest::newRow("15 bytes + single") << fifteen << uint('A') << false << true;
        QTest::newRow("15 bytes + double") << fifteen << 0x3042u << false << false;
        QTest::newRow("14 bytes + double") << fifteen.left(14) << 0x3042u << false << true;
        QTest::newRow("16 bytes + single") << sixteen << uint('A') << false << false;
        QTest::newRow("16 bytes + backspace") << sixteen << 8u << false << true;
        QTest::newRow("ctrl+v") << QString() << 22u << false << false;
        QTest::newRow("ctrl+v in title") << QString() << 22u << true << false;
        QTest::newRow("7 tokens are 14 bytes")
            << u":1~:2~:3~:4~:5~:6~:7~"_s << 0x3042u << false << true;
        QTest::newRow("8 tokens are 16 bytes")
            << u":1~:2~:3~:4~:5~:6~:7~:8~"_s << uint('A') << true << false;
        QTest::newRow("title: kanji outside the set") << QString() << 0x9B31u << true << false;
        QTest::newRow("name: kanji outside the set") << QString() << 0x9B31u << false << true;
        QTest::newRow("title: listed kanji") << QString() << 0x611Bu << true << true;
        QTest::newRow("half-width katakana is single-byte") << fifteen << 0xFF71u << true << true;
        QTest::newRow("unrepresentable") << QString() << 0x20ACu << false << false;
        QTest::newRow("outside the BMP") << QString() << 0x1F600u << false << false;
    }
    void keyFilter() {
        QFETCH(QString, current);
        QFETCH(uint, key);
        QFETCH(bool, title);
        QFETCH(bool, accepted);
        QCOMPARE(names::acceptKey(current, char32_t(key), title), accepted);
    }
};

QTEST_GUILESS_MAIN(NameCodecTest)
#include "tst_namecodec.moc"
