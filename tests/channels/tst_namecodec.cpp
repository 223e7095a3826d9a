// Names and the title in their three forms, the measure, the allowed set and
// the key filter.

#include "core/text/Cp932.h"
#include "core/text/NameCodec.h"

#include <QtTest>

using namespace kpr5;

namespace {

QByteArray field(const QByteArray &head) {
    QByteArray f = head;
    f.append(QByteArray(32 - head.size(), '\0'));
    return f;
}

const QString kOne = QStringLiteral("\u2460");
const QString kTwo = QStringLiteral("\u2461");
const QString kEight = QStringLiteral("\u2467");

} // namespace

class NameCodecTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void decodeField_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("display");
        QTest::newRow("all zero") << field({}) << QString() << QString();
        QTest::newRow("empty slot between letters is dropped")
            << field(QByteArray("\x41\x00\x00\x00\x42\x00", 6)) << QStringLiteral("AB")
            << QStringLiteral("AB");
        QTest::newRow("user character then letter")
            << field(QByteArray("\x40\x87\x41\x00", 4)) << kOne + QStringLiteral("A")
            << QStringLiteral(":1~A");
        QTest::newRow("user character 8")
            << field(QByteArray("\x47\x87", 2)) << kEight << QStringLiteral(":8~");
        QTest::newRow("half-width katakana")
            << field(QByteArray("\xB1\x00", 2)) << QStringLiteral("\uFF71")
            << QStringLiteral("\uFF71");
        QTest::newRow("hiragana") << field(QByteArray("\xA0\x82", 2)) << QStringLiteral("\u3042")
                                  << QStringLiteral("\u3042");
        QTest::newRow("last slot used") << QByteArray(30, '\0') + QByteArray("Z\0", 2)
                                        << QStringLiteral("Z") << QStringLiteral("Z");
        QTest::newRow("lone lead byte code")
            << field(QByteArray("\x82\x00", 2)) << QStringLiteral("\uFFFD")
            << QStringLiteral("\uFFFD");
        QTest::newRow("unassigned double-byte code")
            << field(QByteArray("\x40\x85", 2)) << QStringLiteral("\uFFFD")
            << QStringLiteral("\uFFFD");
        QTest::newRow("short field")
            << QByteArray("A\0B", 3) << QStringLiteral("AB") << QStringLiteral("AB");
        QTest::newRow("bytes past 32 ignored")
            << field("C") + QByteArray("D\0", 2) << QStringLiteral("C") << QStringLiteral("C");
    }

    void decodeField() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, stored);
        QFETCH(QString, display);
        QCOMPARE(names::decodeField(bytes), stored);
        QCOMPARE(names::storedToDisplay(stored), display);
    }

    void encodeField_data() {
        QTest::addColumn<QString>("display");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QString() << field({});
        QTest::newRow("token and letter")
            << QStringLiteral(":1~A") << field(QByteArray("\x40\x87\x41\x00", 4));
        QTest::newRow("half-width katakana")
            << QStringLiteral("\uFF71") << field(QByteArray("\xB1\x00", 2));
        QTest::newRow("hiragana") << QStringLiteral("\u3042") << field(QByteArray("\xA0\x82", 2));
        QTest::newRow("literal :9~") << QStringLiteral(":9~")
                                     << field(QByteArray(":\0"
                                                         "9\0"
                                                         "~\0",
                                                         6));
        QTest::newRow("unrepresentable becomes ?")
            << QStringLiteral("a\u20AC") << field(QByteArray("a\0?\0", 4));
        QTest::newRow("NUL takes no slot") << QStringLiteral("a") + QChar(0) + QStringLiteral("b")
                                           << field(QByteArray("a\0b\0", 4));
        QTest::newRow("seventeenth character dropped")
            << QStringLiteral("ABCDEFGHIJKLMNOPQ")
            << QByteArray("A\0B\0C\0D\0E\0F\0G\0H\0I\0J\0K\0L\0M\0N\0O\0P\0", 32);
    }

    void encodeField() {
        QFETCH(QString, display);
        QFETCH(QByteArray, bytes);
        const QByteArray encoded = names::encodeField(names::displayToStored(display));
        QCOMPARE(encoded.size(), 32);
        QCOMPARE(encoded.toHex(' '), bytes.toHex(' '));
    }

    void displayToStored_data() {
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("one character") << QStringLiteral(":") << QStringLiteral(":");
        QTest::newRow("two characters") << QStringLiteral(":1") << QStringLiteral(":1");
        QTest::newRow("two tokens") << QStringLiteral(":1~:2~") << kOne + kTwo;
        QTest::newRow("token at the end")
            << QStringLiteral("ab:8~") << QStringLiteral("ab") + kEight;
        QTest::newRow("colon nine tilde stays") << QStringLiteral(":9~") << QStringLiteral(":9~");
        QTest::newRow("colon zero tilde stays") << QStringLiteral("x:0~") << QStringLiteral("x:0~");
        QTest::newRow("incomplete token stays") << QStringLiteral("ab:1") << QStringLiteral("ab:1");
        QTest::newRow("token after a colon")
            << QStringLiteral("::1~") << QStringLiteral(":") + kOne;
        QTest::newRow("full-width colon is not a token")
            << QStringLiteral("\uFF1A1~") << QStringLiteral("\uFF1A1~");
        QTest::newRow("stored user character passes") << kTwo << kTwo;
    }

    void displayToStored() {
        QFETCH(QString, display);
        QFETCH(QString, stored);
        QCOMPARE(names::displayToStored(display), stored);
    }

    void storedDisplayRoundTrip() {
        QString all;
        for (int n = 1; n <= 8; ++n)
            all += QChar(char16_t(0x2460 + n - 1)) + QStringLiteral("x");
        const QString display = names::storedToDisplay(all);
        QCOMPARE(display, QStringLiteral(":1~x:2~x:3~x:4~x:5~x:6~x:7~x:8~x"));
        QCOMPARE(names::displayToStored(display), all);
        QCOMPARE(names::decodeField(names::encodeField(all)), all);
    }

    void measure_data() {
        QTest::addColumn<QString>("display");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("tokens");
        QTest::newRow("empty") << QString() << 0 << 0;
        QTest::newRow("two tokens") << QStringLiteral(":1~:2~") << 4 << 2;
        QTest::newRow("literal :9~") << QStringLiteral(":9~") << 3 << 0;
        QTest::newRow("colon one") << QStringLiteral(":1") << 2 << 0;
        QTest::newRow("hiragana") << QStringLiteral("\u3042\u3044") << 4 << 0;
        QTest::newRow("half-width katakana") << QStringLiteral("\uFF71") << 1 << 0;
        QTest::newRow("mixed") << QStringLiteral("A\u3042:3~") << 5 << 1;
        QTest::newRow("fifteen bytes") << QStringLiteral("ABCDEFGHIJKLMNO") << 15 << 0;
    }

    void measure() {
        QFETCH(QString, display);
        QFETCH(int, length);
        QFETCH(int, tokens);
        QCOMPARE(names::measure(display), length);
        QCOMPARE(names::tokenCount(display), tokens);
    }

    void allowedTable() {
        const auto &table = names::allowedDoubleByteTable();
        QCOMPARE(int(table.size()), 844);
        const int used =
            int(std::count_if(table.begin(), table.end(), [](quint16 c) { return c != 0; }));
        QCOMPARE(used, 824);
        // the unused entries are the last 20
        for (int i = 824; i < 844; ++i)
            QCOMPARE(table[std::size_t(i)], quint16(0));
        // the kanji are in code order, then 澤 and 俊
        QCOMPARE(table[380], quint16(0x88A4)); // 愛
        QCOMPARE(table[821], quint16(0x9861)); // 和
        QCOMPARE(table[822], quint16(0xE056));
        QCOMPARE(table[823], quint16(0x8F72));
        for (int i = 1; i < 822; ++i)
            QVERIFY(table[std::size_t(i - 1)] < table[std::size_t(i)]);
        // every kanji entry is a real code
        for (int i = 380; i < 824; ++i)
            QVERIFY(cp932::toUnicode(table[std::size_t(i)]).has_value());
    }

    void allowedSet_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("full-width space") << 0x8140 << true;
        QTest::newRow("geta mark, end of first range") << 0x81AC << true;
        QTest::newRow("after first range") << 0x81AD << false;
        QTest::newRow("large circle") << 0x81FC << true;
        QTest::newRow("full-width 0") << 0x824F << true;
        QTest::newRow("before full-width 0") << 0x824E << false;
        QTest::newRow("small n") << 0x82F1 << true;
        QTest::newRow("katakana vu ke") << 0x8396 << true;
        QTest::newRow("Greek alpha") << 0x839F << false;
        QTest::newRow("user character 1") << 0x8740 << false;
        QTest::newRow("sawa") << 0xE056 << true;
        QTest::newRow("shun") << 0x8F72 << true;
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
        QTest::newRow("kanji outside the set dropped")
            << QStringLiteral("A\u9B31B") << QStringLiteral("AB");
        QTest::newRow("listed kanji kept")
            << QStringLiteral("\u611B\u6FA4\u4FCA") << QStringLiteral("\u611B\u6FA4\u4FCA");
        QTest::newRow("tokens kept") << QStringLiteral(":1~x") << QStringLiteral(":1~x");
        QTest::newRow("stored user character dropped")
            << kOne + QStringLiteral("x") << QStringLiteral("x");
        QTest::newRow("unrepresentable dropped")
            << QStringLiteral("a\u20ACb") << QStringLiteral("ab");
        QTest::newRow("NUL dropped") << QStringLiteral("a") + QChar(0) << QStringLiteral("a");
        QTest::newRow("half-width katakana kept")
            << QStringLiteral("\uFF71\uFF9F") << QStringLiteral("\uFF71\uFF9F");
        QTest::newRow("Greek dropped")
            << QStringLiteral("\u03B1\u30A2") << QStringLiteral("\u30A2");
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
        const QString fourteen = QStringLiteral("ABCDEFGHIJKLMN");
        const QString sixteen = fifteen + QStringLiteral("P");
        QTest::newRow("15 bytes + single") << fifteen << uint('A') << false << true;
        QTest::newRow("15 bytes + double") << fifteen << uint(0x3042) << false << false;
        QTest::newRow("14 bytes + double") << fourteen << uint(0x3042) << false << true;
        QTest::newRow("16 bytes + single") << sixteen << uint('A') << false << false;
        QTest::newRow("16 bytes + backspace") << sixteen << 8u << false << true;
        QTest::newRow("ctrl+v") << QString() << 22u << false << false;
        QTest::newRow("ctrl+v in title") << QString() << 22u << true << false;
        QTest::newRow("tokens count 2 each")
            << QStringLiteral(":1~:2~:3~:4~:5~:6~:7~") << uint('A') << false << true; // 14 bytes
        QTest::newRow("tokens 16 bytes")
            << QStringLiteral(":1~:2~:3~:4~:5~:6~:7~:8~") << uint('A') << true << false;
        QTest::newRow("title: kanji outside the set") << QString() << uint(0x9B31) << true << false;
        QTest::newRow("name: kanji outside the set") << QString() << uint(0x9B31) << false << true;
        QTest::newRow("title: listed kanji") << QString() << uint(0x611B) << true << true;
        QTest::newRow("half-width katakana is single-byte")
            << fifteen << uint(0xFF71) << true << true;
        QTest::newRow("unrepresentable") << QString() << uint(0x20AC) << false << false;
        QTest::newRow("outside the BMP") << QString() << uint(0x1F600) << false << false;
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
