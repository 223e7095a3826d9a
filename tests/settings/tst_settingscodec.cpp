// The byte coding of the settings area and the write-protect byte.

#include "core/settings/SettingsCatalogue.h"
#include "core/settings/SettingsCodec.h"
#include "core/settings/SettingsModel.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>

using namespace kpr5;
using F = Family;

namespace {

QByteArray encodeAll(const SettingsModel &m) {
    return encodeSettingsBlock(m, 0) + encodeSettingsBlock(m, 1) + encodeSettingsBlock(m, 2);
}

void setImageByte(SettingsModel &m, int offset, int value) {
    m.setImageBytes(offset, QByteArray(1, char(value)));
}

} // namespace

class SettingsCodecTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void constantsAndUnnamedBytes();
    void decodeExamples_data();
    void decodeExamples();
    void encodeExamples_data();
    void encodeExamples();
    void dialRing_data();
    void dialRing();
    void everyKeyFunctionRoundTrips();
    void unmatchedKeyByteLeavesTheList();
    void byteOutsideTheListKeepsThePosition_data();
    void byteOutsideTheListKeepsThePosition();
    void languageByteSwitchesToJapanese();
    void writeProtect_data();
    void writeProtect();
};

void SettingsCodecTest::constantsAndUnnamedBytes() {
    SettingsModel m;
    // Image bytes that are not written back make no difference.
    m.setImageBytes(0, QByteArray(148, char(0x5A)));
    const QByteArray all = encodeAll(m);
    QCOMPARE(int(quint8(all[0])), 0xA5);
    QCOMPARE(int(quint8(all[9])), 0x04);
    QCOMPARE(int(quint8(all[50])), 0x01);
    QCOMPARE(int(quint8(all[51])), 0x0C);
    QCOMPARE(int(quint8(all[55])), 0x02);
    QCOMPARE(int(quint8(all[56])), 0x02);
    QCOMPARE(int(quint8(all[64 + 17])), 0x06);
    for (int unnamed : {8,  12,     20,     21,      22,      24,      26,      27,      28,
                        29, 30,     31,     33,      34,      43,      54,      58,      59,
                        60, 64 + 2, 64 + 6, 64 + 15, 64 + 27, 64 + 35, 64 + 63, 128 + 0, 128 + 14})
        QVERIFY2(all[unnamed] == '\0', qPrintable(QString::number(unnamed)));
}

void SettingsCodecTest::decodeExamples_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("family");
    QTest::addColumn<int>("element");
    QTest::addColumn<int>("position");
    QTest::newRow("sensitivity 0x00") << 48 << 0x00 << int(F::Toutyou) << 1 << 0;
    QTest::newRow("preset band 0x01") << 14 << 0x01 << int(F::Display) << 14 << 1;
    QTest::newRow("preset band 0x04") << 14 << 0x04 << int(F::Display) << 14 << 1;
    QTest::newRow("tv ch 0") << 13 << 0x00 << int(F::Display) << 13 << 0;
    QTest::newRow("contrast 10") << 64 + 18 << 10 << int(F::Display) << 3 << 9;
    QTest::newRow("channel display on") << 7 << 0x0D << int(F::Combo1) << 0 << 1;
    QTest::newRow("scan mode 39") << 38 << 39 << int(F::Scan) << 0 << 39;
    QTest::newRow("moni active on") << 64 + 58 << 3 << int(F::Key) << 3 << 3;
}

void SettingsCodecTest::decodeExamples() {
    QFETCH(int, offset);
    QFETCH(int, byte);
    QFETCH(int, family);
    QFETCH(int, element);
    QFETCH(int, position);
    SettingsModel m;
    setImageByte(m, offset, byte);
    decodeSettings(m);
    QCOMPARE(m.position(F(family), element), position);
}

void SettingsCodecTest::encodeExamples_data() {
    QTest::addColumn<int>("family");
    QTest::addColumn<int>("element");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("byte");
    QTest::newRow("sensitivity 1") << int(F::Toutyou) << 1 << 0 << 48 << 0x01;
    QTest::newRow("preset band 1200MHz") << int(F::Display) << 14 << 1 << 14 << 0x04;
    QTest::newRow("channel display on 7") << int(F::Combo1) << 0 << 1 << 7 << 0x0D;
    QTest::newRow("language japanese") << int(F::Display) << 0 << 0 << 62 << 0x01;
    QTest::newRow("language english") << int(F::Display) << 0 << 1 << 62 << 0x00;
    QTest::newRow("lamp key 1") << int(F::Key) << 7 << 1 << 64 + 32 << 0x15;
}

void SettingsCodecTest::encodeExamples() {
    QFETCH(int, family);
    QFETCH(int, element);
    QFETCH(int, position);
    QFETCH(int, offset);
    QFETCH(int, byte);
    SettingsModel m;
    QVERIFY(m.setPosition(F(family), element, position));
    QCOMPARE(int(quint8(encodeAll(m)[offset])), byte);
}

void SettingsCodecTest::dialRing_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("byte29");
    QTest::addColumn<int>("byte31");
    QTest::newRow("first") << 0 << 0 << 0;
    QTest::newRow("second") << 1 << 0 << 1;
    QTest::newRow("third") << 2 << 1 << 1;
    QTest::newRow("fourth") << 3 << 1 << 0;
}

void SettingsCodecTest::dialRing() {
    QFETCH(int, position);
    QFETCH(int, byte29);
    QFETCH(int, byte31);
    SettingsModel m;
    QVERIFY(m.setPosition(F::Key, 5, position));
    const QByteArray block1 = encodeSettingsBlock(m, 1);
    QCOMPARE(int(block1[29]), byte29);
    QCOMPARE(int(block1[31]), byte31);

    SettingsModel back;
    back.setImageBytes(64, block1);
    decodeSettings(back);
    QCOMPARE(back.position(F::Key, 5), position);
    // Any non-zero byte counts as set.
    setImageByte(back, 64 + 29, byte29 * 0x40);
    setImageByte(back, 64 + 31, byte31 * 0x09);
    QVERIFY(back.setPosition(F::Key, 5, (position + 1) % 4));
    decodeSettings(back);
    QCOMPARE(back.position(F::Key, 5), position);
}

void SettingsCodecTest::everyKeyFunctionRoundTrips() {
    for (int p = 0; p < settings::kKeyFunctionCount; ++p) {
        SettingsModel m;
        QVERIFY(m.setPosition(F::Key, 6, p));
        QVERIFY(m.setPosition(F::Key, 7, settings::kKeyFunctionCount - 1 - p));
        SettingsModel back;
        back.setImageBytes(0, encodeAll(m));
        decodeSettings(back);
        QCOMPARE(back.position(F::Key, 6), p);
        QCOMPARE(back.position(F::Key, 7), settings::kKeyFunctionCount - 1 - p);
    }
}

void SettingsCodecTest::unmatchedKeyByteLeavesTheList() {
    SettingsModel m;
    QVERIFY(m.setPosition(F::Key, 6, 17));
    QVERIFY(m.setPosition(F::Key, 7, 33));
    setImageByte(m, 53, 0x00);
    setImageByte(m, 64 + 32, 0xFF);
    decodeSettings(m);
    QCOMPARE(m.position(F::Key, 6), 17);
    QCOMPARE(m.position(F::Key, 7), 33);
}

void SettingsCodecTest::byteOutsideTheListKeepsThePosition_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("family");
    QTest::addColumn<int>("element");
    QTest::newRow("illumination 9") << 44 << 9 << int(F::Display) << 1;
    QTest::newRow("scan mode 40") << 38 << 40 << int(F::Scan) << 0;
    QTest::newRow("preset band 2") << 14 << 2 << int(F::Display) << 14;
    QTest::newRow("sensitivity 6") << 48 << 6 << int(F::Toutyou) << 1;
    QTest::newRow("moni key tx 4") << 128 + 13 << 4 << int(F::Key) << 11;
}

void SettingsCodecTest::byteOutsideTheListKeepsThePosition() {
    QFETCH(int, offset);
    QFETCH(int, byte);
    QFETCH(int, family);
    QFETCH(int, element);
    SettingsModel m;
    QVERIFY(m.setPosition(F(family), element, 1));
    setImageByte(m, offset, byte);
    decodeSettings(m);
    QCOMPARE(m.position(F(family), element), 1);
}

void SettingsCodecTest::languageByteSwitchesToJapanese() {
    SettingsModel m;
    QSignalSpy spy(&m, &SettingsModel::languageChanged);
    setImageByte(m, 62, 0x01);
    decodeSettings(m);
    QCOMPARE(m.position(F::Display, 0), int(Japanese));
    QCOMPARE(m.language(), int(Japanese));
    QCOMPARE(spy.count(), 1);
    setImageByte(m, 62, 0x00);
    decodeSettings(m);
    QCOMPARE(m.language(), int(English));
}

void SettingsCodecTest::writeProtect_data() {
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("position");
    QTest::newRow("0x00") << 0x00 << 0;
    QTest::newRow("0x01") << 0x01 << 1;
    QTest::newRow("0x02") << 0x02 << 2;
    QTest::newRow("0x12 low digit") << 0x12 << 2;
    QTest::newRow("0x03 beyond") << 0x03 << 0;
    QTest::newRow("0x0A beyond") << 0x0A << 0;
}

void SettingsCodecTest::writeProtect() {
    QFETCH(int, byte);
    QFETCH(int, position);
    SettingsModel m;
    QVERIFY(m.setPosition(F::Mem, 0, 1));
    decodeSettings(m); // clears it before the write-protect read
    QCOMPARE(m.position(F::Mem, 0), 0);
    decodeWriteProtect(m, quint8(byte));
    QCOMPARE(m.position(F::Mem, 0), position);
}

QTEST_GUILESS_MAIN(SettingsCodecTest)
#include "tst_settingscodec.moc"
