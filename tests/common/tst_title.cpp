// The opening title: its coding, a title from a data file, and both
// transfers against the simulated radio.

#include "SimFixture.h"
#include "core/common/OpeningTitle.h"
#include "core/common/TitleTransfer.h"

#include <QtTest>

using namespace kpr5;
using kpr5::test::RecordingHost;

namespace {
QByteArray padded(const char *hex, int size) {
    const QByteArray bytes = QByteArray::fromHex(hex);
    return bytes + QByteArray(size - bytes.size(), '\0');
}
} // namespace

class TitleTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void coding_data();
    void coding();
    void onlyTheHighDigitOfTheSettingCounts_data();
    void onlyTheHighDigitOfTheSettingCounts();
    void titleFromAFile_data();
    void titleFromAFile();
    void transfersMoveOnlyTheTitleBytes_data();
    void transfersMoveOnlyTheTitleBytes();
    void failedReadKeepsTheTitle();
};

void TitleTest::coding_data() {
    QTest::addColumn<QString>("display");
    QTest::addColumn<int>("moving");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty, OFF") << QString() << 0 << QByteArray(34, '\0');
    QTest::newRow("HELLO, ON") << QStringLiteral("HELLO") << 1
                               << padded("480045004C004C004F00", 32) + "\x11\x11";
    QTest::newRow("token then A") << QStringLiteral(":1~A") << 0 << padded("40874100", 34);
    QTest::newRow("hiragana, katakana") << QStringLiteral(u"あｱ") << 0 << padded("A082B100", 34);
    QTest::newRow("16 characters, token last") << QStringLiteral("ABCDEFGHIJKLMNO:8~") << 0
                                               << padded("410042004300440045004600470048004900"
                                                         "4A004B004C004D004E004F004787",
                                                         34);
}

void TitleTest::coding() {
    QFETCH(QString, display);
    QFETCH(int, moving);
    QFETCH(QByteArray, bytes);
    OpeningTitle t;
    t.setDisplayText(display);
    QVERIFY(t.setOpeningMoving(moving));
    t.takeOverDisplayText();
    QCOMPARE(t.encodeArea(), bytes);

    OpeningTitle back;
    QVERIFY(back.decodeArea(bytes + QByteArray(30, '\x55')));
    QCOMPARE(back.displayText(), display);
    QCOMPARE(back.openingMoving(), moving);

    back.clear();
    QCOMPARE(back.displayText(), QString());
    QCOMPARE(back.storedTitle(), QString());
    QCOMPARE(back.openingMoving(), 0);
}

void TitleTest::onlyTheHighDigitOfTheSettingCounts_data() {
    QTest::addColumn<char>("byte");
    QTest::addColumn<int>("moving");
    QTest::newRow("11") << '\x11' << 1;
    QTest::newRow("1F") << '\x1F' << 1;
    QTest::newRow("01") << '\x01' << 0;
    QTest::newRow("21") << '\x21' << 0;
    QTest::newRow("F1") << '\xF1' << 0;
}

void TitleTest::onlyTheHighDigitOfTheSettingCounts() {
    QFETCH(char, byte);
    QFETCH(int, moving);
    OpeningTitle t;
    t.setOpeningMoving(1 - moving);
    QByteArray data(64, '\x11');
    data[32] = byte;
    QVERIFY(t.decodeArea(data));
    QCOMPARE(t.openingMoving(), moving);
    QVERIFY(!t.decodeArea(data.left(32))); // too short: no change
    QCOMPARE(t.openingMoving(), moving);
}

// Measured in the radio's 16 slots, not in bytes: what does not fit is cut off.
void TitleTest::titleFromAFile_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("cut");

    const QString kanji16 = QStringLiteral(u"愛圧以伊位囲易移井域育一茨隠右宇");
    QTest::newRow("tokens") << QStringLiteral(":1~AB:8~") << QStringLiteral(":1~AB:8~") << false;
    QTest::newRow("16 kanji, 32 bytes") << kanji16 << kanji16 << false;
    QTest::newRow("12 user characters and ABCD, 40 bytes")
        << QStringLiteral(":1~").repeated(12) + QStringLiteral("ABCD")
        << QStringLiteral(":1~").repeated(12) + QStringLiteral("ABCD") << false;
    QTest::newRow("17 characters, 33 bytes") << kanji16 + QStringLiteral("A") << kanji16 << true;
    QTest::newRow("kanji outside the set")
        << QStringLiteral(u"A亜B") << QStringLiteral("AB") << false;
    QTest::newRow("cut after a whole token")
        << QStringLiteral("ABCDEFGHIJKLMNO:2~Q") << QStringLiteral("ABCDEFGHIJKLMNO:2~") << true;
    QTest::newRow("16 after dropping")
        << QStringLiteral(u"ABCDEFGHIJKLMNO亜P") << QStringLiteral("ABCDEFGHIJKLMNOP") << false;
}

void TitleTest::titleFromAFile() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QFETCH(bool, cut);
    OpeningTitle t;
    t.setDisplayText(QStringLiteral("old"));
    bool wasCut = !cut;
    t.setFromFile(text, &wasCut);
    QCOMPARE(wasCut, cut);
    QCOMPARE(t.displayText(), shown);
}

void TitleTest::transfersMoveOnlyTheTitleBytes_data() {
    QTest::addColumn<QString>("display");
    QTest::addColumn<int>("moving");
    QTest::addColumn<QByteArray>("digits");
    QTest::newRow("empty, OFF") << QString() << 0 << QByteArray(64, '0') + "0000";
    QTest::newRow("HELLO, ON") << QStringLiteral("HELLO") << 1
                               << QByteArray("480045004C004C004F00") + QByteArray(44, '0') + "1111";
    QTest::newRow("user characters") << QStringLiteral(":2~Z:3~") << 0
                                     << QByteArray("41875A004287") + QByteArray(52, '0') + "0000";
}

void TitleTest::transfersMoveOnlyTheTitleBytes() {
    QFETCH(QString, display);
    QFETCH(int, moving);
    QFETCH(QByteArray, digits);
    sim::RadioSimulator radio;
    SerialLink link;
    test::connectLink(link, radio);
    QByteArray image(sim::kImageSize, '\x5A');
    radio.setImage(image);

    OpeningTitle t;
    t.setDisplayText(display);
    t.setOpeningMoving(moving);
    RecordingHost host;
    QVERIFY(succeeded(writeTitle(t, link, host)));
    QCOMPARE(host.texts(), QStringList{"Success| Finish"});
    QCOMPARE(host.progressValues, (QList<int>{50, 100}));
    QCOMPARE(host.percents, (QList<int>{50, 100, 0}));
    QCOMPARE(radio.frames().last(), QByteArray("QX~F001A0W") + digits); // 79 with CR
    image.replace(0x1A0, 34, QByteArray::fromHex(digits));
    QCOMPARE(radio.image(), image);

    OpeningTitle back;
    Sequence wholeRadio(link, host); // as a step of the whole-radio read: no "Success"
    QVERIFY(succeeded(
        wholeRadio.step(QStringLiteral("title"), [&] { return readTitle(back, link, host); })));
    QCOMPARE(host.messages.size(), 1);
    QCOMPARE(radio.frames().last(), QByteArray("QX~F001A0R"));
    QCOMPARE(back.displayText(), display);
    QCOMPARE(back.storedTitle(), t.storedTitle());
    QCOMPARE(back.openingMoving(), moving);
}

void TitleTest::failedReadKeepsTheTitle() {
    sim::RadioSimulator radio;
    SerialLink link;
    test::connectLink(link, radio, 150);
    radio.setOptions([] {
        sim::SimOptions o;
        o.shortEvery = 1;
        return o;
    }());
    OpeningTitle t;
    t.setDisplayText(QStringLiteral("KEEP"));
    t.setOpeningMoving(1);
    RecordingHost host;
    QVERIFY(!succeeded(readTitle(t, link, host)));
    QVERIFY(!succeeded(writeTitle(t, link, host)));
    QCOMPARE(host.texts(), (QStringList{"Error| Error", "Error| Error"}));
    QCOMPARE(t.displayText(), QStringLiteral("KEEP"));
    QCOMPARE(t.openingMoving(), 1);
    QVERIFY(!link.busy());
}

QTEST_MAIN(TitleTest)
#include "tst_title.moc"
