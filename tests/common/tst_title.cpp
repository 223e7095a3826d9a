// The opening title: its coding, the user-character tokens, a title from a
// data file, and both transfers against the simulated radio.

#include "common/OpeningTitle.h"
#include "common/TitleTransfer.h"
#include "SimFixture.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace kpr5;
using kpr5::sim::RadioSimulator;
using kpr5::sim::SimOptions;
using kpr5::test::RecordingHost;

namespace {

constexpr int kFirst = 0x1A0;
constexpr int kLast = 0x1C1;

QByteArray hex(const char *text) { return QByteArray::fromHex(text); }

QByteArray padded(const QByteArray &bytes, int size)
{
    return bytes + QByteArray(size - bytes.size(), '\0');
}

QByteArray noise()
{
    QRandomGenerator gen(0x01A0);
    QByteArray image(sim::kImageSize, '\0');
    for (char &c : image)
        c = char(gen.bounded(256));
    return image;
}

} // namespace

class TitleTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void encodesTitleAndSetting_data();
    void encodesTitleAndSetting();
    void onlyTheHighDigitOfTheSettingCounts_data();
    void onlyTheHighDigitOfTheSettingCounts();
    void tokenFitsUpToFifteenBytes_data();
    void tokenFitsUpToFifteenBytes();
    void titleFromAFile_data();
    void titleFromAFile();
    void clearEmptiesEverything();

    void readShowsTheDisplayForm();
    void writeChangesOnlyTheTitleArea_data();
    void writeChangesOnlyTheTitleArea();
    void failedReadKeepsTheTitle();
    void quietStepShowsNoSuccess();

private:
    std::unique_ptr<RadioSimulator> m_radio;
    std::unique_ptr<SerialLink> m_link;
    RecordingHost m_host;
    QByteArray m_before;
};

void TitleTest::init()
{
    m_radio = std::make_unique<RadioSimulator>();
    QString error;
    QVERIFY2(m_radio->start(&error), qPrintable(error));
    m_before = noise();
    m_radio->setImage(m_before);
    m_link = std::make_unique<SerialLink>();
    m_link->setDevicePath(m_radio->portPath());
    m_host = RecordingHost();
}

void TitleTest::cleanup()
{
    m_link.reset();
    m_radio.reset();
}

void TitleTest::encodesTitleAndSetting_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<int>("moving");
    QTest::addColumn<QByteArray>("area");

    QTest::newRow("empty, OFF") << QString() << 0 << QByteArray(34, '\0');
    QTest::newRow("HELLO, ON") << QStringLiteral("HELLO") << 1
                               << padded(hex("480045004C004C004F00"), 32) + hex("1111");
    QTest::newRow("token then A") << QStringLiteral(":1~A") << 0 << padded(hex("40874100"), 34);
    QTest::newRow("two characters") << QStringLiteral("AB") << 1
                                    << padded(hex("41004200"), 32) + hex("1111");
    QTest::newRow("hiragana and katakana") << QStringLiteral(u"あｱ") << 0
                                           << padded(hex("A082B100"), 34);
    QTest::newRow("token at the end") << QStringLiteral("ABCDEFGHIJKLMNO:8~") << 0
                                      << hex("410042004300440045004600470048004900"
                                             "4A004B004C004D004E004F004787")
                                             + hex("0000");
}

void TitleTest::encodesTitleAndSetting()
{
    QFETCH(QString, display);
    QFETCH(int, moving);
    QFETCH(QByteArray, area);
    OpeningTitle t;
    t.setDisplayText(display);
    QVERIFY(t.setOpeningMoving(moving));
    t.takeOverDisplayText();
    QCOMPARE(t.encodeArea(), area);

    // And back: the same display text and setting.
    OpeningTitle back;
    QVERIFY(back.decodeArea(area + QByteArray(30, '\x55')));
    QCOMPARE(back.displayText(), display);
    QCOMPARE(back.openingMoving(), moving);
}

void TitleTest::onlyTheHighDigitOfTheSettingCounts_data()
{
    QTest::addColumn<quint8>("byte");
    QTest::addColumn<int>("moving");
    QTest::newRow("11") << quint8(0x11) << 1;
    QTest::newRow("10") << quint8(0x10) << 1;
    QTest::newRow("1F") << quint8(0x1F) << 1;
    QTest::newRow("00") << quint8(0x00) << 0;
    QTest::newRow("01") << quint8(0x01) << 0;
    QTest::newRow("21") << quint8(0x21) << 0;
    QTest::newRow("F1") << quint8(0xF1) << 0;
}

void TitleTest::onlyTheHighDigitOfTheSettingCounts()
{
    QFETCH(quint8, byte);
    QFETCH(int, moving);
    OpeningTitle t;
    t.setOpeningMoving(1 - moving);
    QByteArray data(64, '\0');
    data[32] = char(byte);
    data[33] = char(0x11);
    QVERIFY(t.decodeArea(data));
    QCOMPARE(t.openingMoving(), moving);
    // Too short a block changes nothing.
    QVERIFY(!t.decodeArea(data.left(32)));
    QVERIFY(!t.setOpeningMoving(2));
    QCOMPARE(t.openingMoving(), moving);
}

void TitleTest::tokenFitsUpToFifteenBytes_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<bool>("appended");
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("15 single-byte") << QStringLiteral("ABCDEFGHIJKLMNO") << true;
    QTest::newRow("16 single-byte") << QStringLiteral("ABCDEFGHIJKLMNOP") << false;
    QTest::newRow("7 tokens and a letter (15)") << QStringLiteral(":1~:2~:3~:4~:5~:6~:7~A") << true;
    QTest::newRow("8 tokens (16)") << QStringLiteral(":1~:2~:3~:4~:5~:6~:7~:8~") << false;
    QTest::newRow("14 bytes of hiragana") << QStringLiteral(u"あいうえおかき") << true;
    QTest::newRow("16 bytes of hiragana") << QStringLiteral(u"あいうえおかきく") << false;
}

void TitleTest::tokenFitsUpToFifteenBytes()
{
    QFETCH(QString, display);
    QFETCH(bool, appended);
    OpeningTitle t;
    t.setDisplayText(display);
    QCOMPARE(t.appendUserCharacter(4), appended);
    QCOMPARE(t.displayText(), appended ? display + QStringLiteral(":5~") : display);
    QVERIFY(!t.appendUserCharacter(8));
    QVERIFY(!t.appendUserCharacter(-1));
}

void TitleTest::titleFromAFile_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<QString>("shown");

    QTest::newRow("plain") << QStringLiteral("KP-R5") << true << QStringLiteral("KP-R5");
    QTest::newRow("tokens") << QStringLiteral(":1~AB:8~") << true << QStringLiteral(":1~AB:8~");
    QTest::newRow("16 kanji, 32 bytes")
        << QStringLiteral(u"愛圧以伊位囲易移井域育一茨隠右宇") << true
        << QStringLiteral(u"愛圧以伊位囲易移井域育一茨隠右宇");
    QTest::newRow("33 bytes") << QStringLiteral(u"愛圧以伊位囲易移井域育一茨隠右宇A") << false
                              << QStringLiteral("old");
    QTest::newRow("kanji outside the set dropped")
        << QStringLiteral(u"A亜B") << true << QStringLiteral("AB");
    QTest::newRow("17 characters would not fit") << QStringLiteral("ABCDEFGHIJKLMNOPQ") << false
                                                 << QStringLiteral("old");
    QTest::newRow("17 before dropping, 16 after")
        << QStringLiteral(u"ABCDEFGHIJKLMNO亜P") << true
        << QStringLiteral("ABCDEFGHIJKLMNOP");
    QTest::newRow("empty") << QString() << true << QString();
}

void TitleTest::titleFromAFile()
{
    QFETCH(QString, text);
    QFETCH(bool, taken);
    QFETCH(QString, shown);
    OpeningTitle t;
    t.setDisplayText(QStringLiteral("old"));
    QCOMPARE(t.setFromFile(text), taken);
    QCOMPARE(t.displayText(), shown);
}

void TitleTest::clearEmptiesEverything()
{
    OpeningTitle t;
    t.setDisplayText(QStringLiteral("HELLO"));
    t.setOpeningMoving(1);
    t.takeOverDisplayText();
    QSignalSpy moving(&t, &OpeningTitle::openingMovingChanged);
    t.clear();
    QCOMPARE(t.displayText(), QString());
    QCOMPARE(t.storedTitle(), QString());
    QCOMPARE(t.openingMoving(), 0);
    QCOMPARE(moving.count(), 1);
    QCOMPARE(t.encodeArea(), QByteArray(34, '\0'));
}

// --- transfers ------------------------------------------------------------------

void TitleTest::readShowsTheDisplayForm()
{
    // User character 2, an empty slot, "Z", then the setting byte 0x11.
    m_radio->write(kFirst, padded(hex("418700005A00"), 32) + hex("1100"));
    OpeningTitle t;
    QVERIFY(readTitle(t, *m_link, m_host));
    QCOMPARE(m_host.texts(), QStringList{"Success| Finish"});
    QCOMPARE(m_host.progressValues, (QList<int>{50, 100}));
    QCOMPARE(m_host.percents, (QList<int>{50, 100, 0}));
    QCOMPARE(t.displayText(), QStringLiteral(":2~Z"));
    QCOMPARE(t.storedTitle(), QStringLiteral(u"\u2461Z"));
    QCOMPARE(t.openingMoving(), 1);
    QCOMPARE(m_radio->frames().last(), QByteArray("QX~F001A0R"));
    QCOMPARE(m_link->state.transferBusy, 0);
}

void TitleTest::writeChangesOnlyTheTitleArea_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<int>("moving");
    QTest::addColumn<QByteArray>("digits");
    QTest::newRow("empty, OFF") << QString() << 0 << QByteArray(64, '0') + "0000";
    QTest::newRow("HELLO, ON") << QStringLiteral("HELLO") << 1
                               << QByteArray("480045004C004C004F00") + QByteArray(44, '0') + "1111";
}

void TitleTest::writeChangesOnlyTheTitleArea()
{
    QFETCH(QString, display);
    QFETCH(int, moving);
    QFETCH(QByteArray, digits);
    OpeningTitle t;
    t.setDisplayText(display);
    t.setOpeningMoving(moving);
    QVERIFY(writeTitle(t, *m_link, m_host));
    QCOMPARE(m_host.texts(), QStringList{"Success| Finish"});
    QCOMPARE(m_host.progressValues, (QList<int>{50, 100}));

    const QByteArray frame = m_radio->frames().last();
    QCOMPARE(frame, QByteArray("QX~F001A0W") + digits);
    QCOMPARE(frame.size() + 1, 79); // with its CR
    QCOMPARE(t.storedTitle(), display);
    const QByteArray after = m_radio->image();
    QCOMPARE(after.mid(kFirst, kLast - kFirst + 1), QByteArray::fromHex(digits.left(64)) + hex(moving ? "1111" : "0000"));
    QCOMPARE(after.left(kFirst), m_before.left(kFirst));
    QCOMPARE(after.mid(kLast + 1), m_before.mid(kLast + 1));
}

void TitleTest::failedReadKeepsTheTitle()
{
    // Every reply comes one byte short.
    m_radio->write(kFirst, padded(hex("5A00"), 34));
    m_link->setReplyTimeout(150);
    OpeningTitle t;
    t.setDisplayText(QStringLiteral("KEEP"));
    t.setOpeningMoving(1);
    SimOptions o;
    o.shortEvery = 1;
    m_radio->setOptions(o);
    QVERIFY(!readTitle(t, *m_link, m_host));
    QCOMPARE(m_host.texts(), QStringList{"Error| Error"});
    QCOMPARE(t.displayText(), QStringLiteral("KEEP"));
    QCOMPARE(t.openingMoving(), 1);
    QCOMPARE(m_link->state.transferBusy, 0);

    m_host = RecordingHost();
    QVERIFY(!writeTitle(t, *m_link, m_host));
    QCOMPARE(m_host.texts(), QStringList{"Error| Error"});
    QCOMPARE(m_radio->image(), m_before.left(kFirst) + padded(hex("5A00"), 34) + m_before.mid(kLast + 1));
}

void TitleTest::quietStepShowsNoSuccess()
{
    OpeningTitle t;
    m_link->state.completionMode = 1;
    QVERIFY(readTitle(t, *m_link, m_host));
    m_link->state.completionMode = 1;
    QVERIFY(writeTitle(t, *m_link, m_host));
    QVERIFY(m_host.messages.isEmpty());
    QCOMPARE(m_link->state.completionMode, 0);

    m_link->state.transferBusy = 7;
    QVERIFY(!readTitle(t, *m_link, m_host));
    QVERIFY(!writeTitle(t, *m_link, m_host));
    QVERIFY(m_host.messages.isEmpty());
    QCOMPARE(m_link->state.transferBusy, 7);
}

QTEST_MAIN(TitleTest)
#include "tst_title.moc"
