// The settings: the catalogue and the model of list positions, the byte
// coding of the radio's settings area, and the settings and DTMF transfers
// against the simulated radio.

#include "Files.h"
#include "SimFixture.h"
#include "core/common/DtmfMemories.h"
#include "core/settings/SettingsCatalogue.h"
#include "core/settings/SettingsCodec.h"
#include "core/settings/SettingsModel.h"
#include "core/settings/SettingsTransfer.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QSignalSpy>
#include <QtTest>

using namespace kpr5;
using kpr5::test::SimRig;
using F = Family;

namespace {

QByteArray encodeAll(const SettingsModel &m) {
    return encodeSettingsBlock(m, 0) + encodeSettingsBlock(m, 1) + encodeSettingsBlock(m, 2);
}

// Every item with a list moved off its default.
void moveOffDefaults(SettingsModel &m, quint32 seed) {
    QRandomGenerator gen(seed);
    for (const SettingItem &it : settings::catalogue()) {
        if (!it.hasList()) continue;
        const int shift = 1 + int(gen.bounded(qMax(1, it.optionCount() - 1)));
        QVERIFY(
            m.setPosition(it.family, it.element, (it.defaultPosition + shift) % it.optionCount()));
    }
}

QByteArray dtmfArea(const DtmfMemories &d) {
    return d.encodeBlock(0) + d.encodeBlock(1) + d.encodeBlock(2);
}

} // namespace

class SettingsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The catalogue holds every control once, with the same options in both
    // languages, and no key function code twice.
    void catalogueIsWhole() {
        QSet<QString> names;
        for (int f = 0; f < kFamilyCount; ++f)
            for (int e = 0; e < settings::familySize(F(f)); ++e) {
                const SettingItem *it = settings::item(F(f), e);
                const QString name = settings::controlName(F(f), e);
                QVERIFY2(it && it->optionsJa.size() == it->optionsEn.size(), qPrintable(name));
                QVERIFY2(!it->hasList() || it->optionCount() > it->defaultPosition,
                         qPrintable(name));
                names.insert(name);
            }
        QCOMPARE(size_t(names.size()), settings::catalogue().size());
        const auto &codes = settings::keyFunctionCodes();
        QCOMPARE(QSet<quint8>(codes.begin(), codes.end()).size(), settings::kKeyFunctionCount);
        SettingsModel m;
        QSignalSpy spy(&m, &SettingsModel::positionChanged);
        QVERIFY(!m.setPosition(F::Display, 1, 9) && !m.setPosition(F::Key, 6, -1));
        QVERIFY(!m.setPosition(F::Power, 3, 0) && !m.setPosition(F(99), 0, 0));
        QCOMPARE(spy.count(), 0);
    }

    // Start-up ends by selecting English while the lists were built in
    // Japanese with the item already at English: selecting it again applies
    // it. The resets leave the language alone.
    void languageItemDrivesTheLanguage() {
        SettingsModel m;
        QSignalSpy lang(&m, &SettingsModel::languageChanged);
        QVERIFY(m.setPosition(F::Display, 0, Japanese));
        QCOMPARE(m.language(), int(Japanese));
        QVERIFY(m.setPosition(F::Display, 0, English));
        QVERIFY(m.applyLanguage(Japanese));
        QVERIFY(m.setPosition(F::Display, 0, English));
        QCOMPARE(m.language(), int(English));
        m.resetSetMode();
        m.resetCommon();
        QCOMPARE(m.position(F::Display, 0), int(English));
        // The Language byte read from the radio switches it too.
        m.setImageBytes(62, QByteArray(1, 0x01));
        decodeSettings(m);
        QCOMPARE(m.language(), int(Japanese));
        QCOMPARE(lang.count(), 5);
    }

    // An item at a position is written as a byte at its offset; a byte read
    // gives a position (tests/data/tst_settings-coding.tsv).
    void itemCoding_data() { test::tableData(QFINDTESTDATA("../data/tst_settings-coding.tsv")); }
    void itemCoding() {
        QFETCH(QStringList, c);
        const auto item = std::find_if(
            settings::catalogue().begin(), settings::catalogue().end(), [&](const SettingItem &it) {
                return settings::controlName(it.family, it.element) == c[0];
            });
        QVERIFY(item != settings::catalogue().end());
        const int offset = c[2].toInt(), readPosition = c[5].toInt();
        SettingsModel m;
        m.setImageBytes(0, QByteArray(148, char(0x5A))); // bytes that are not written back
        QVERIFY(m.setPosition(item->family, item->element, c[1].toInt()));
        QCOMPARE(int(quint8(encodeAll(m)[offset])), c[3].toInt(nullptr, 0));
        SettingsModel back;
        const int before = readPosition == 1 ? 0 : 1;
        QVERIFY(back.setPosition(item->family, item->element, before));
        back.setImageBytes(offset, QByteArray(1, char(c[4].toInt(nullptr, 0))));
        decodeSettings(back);
        QCOMPARE(back.position(item->family, item->element),
                 readPosition < 0 ? before : readPosition);
    }

    // Write Protect is the low digit of its own byte; a digit beyond the list leaves 0.
    void writeProtect() {
        for (const QString &c : QStringLiteral("00=0 01=1 02=2 12=2 03=0 0A=0").split(' ')) {
            SettingsModel m; // "byte=position"
            QVERIFY(m.setPosition(F::Mem, 0, 1));
            decodeSettings(m);
            decodeWriteProtect(m, quint8(c.section('=', 0, 0).toUInt(nullptr, 16)));
            QCOMPARE(m.position(F::Mem, 0), c.section('=', 1).toInt());
        }
    }

    // The read shows the items (each one's coding: tst_roundtrip and the
    // table above) and the DTMF area (the blocks each button
    // moves: tst_mainwindow transferButtons). The write reads the three
    // blocks again: the bytes the program does not edit go back as the radio
    // holds them then; the constants as the radio expects them; every other
    // byte from the items.
    void readAndWriteMatchTheDocumentedImage() {
        SimRig rig;
        QRandomGenerator gen(0xC0FFEE);
        QByteArray noise(sim::kImageSize, '\0');
        for (char &c : noise)
            c = char(gen.bounded(256));
        rig.radio.setImage(noise);
        SettingsModel radioSide;
        moveOffDefaults(radioSide, 1);
        DtmfMemories radioDtmf;
        for (int i = 0; i < 10; ++i)
            radioDtmf.setMemory(i, QStringLiteral("0123456789ABCD*#-").mid(i, 1 + i));
        for (int t = 0; t < DtmfMemories::kTimingCount; ++t)
            radioDtmf.setTiming(DtmfMemories::Timing(t), 3 + t);
        QByteArray area = encodeAll(radioSide);
        area[1] = 0x37; // a byte the program does not edit
        rig.radio.write(0, area);
        rig.radio.write(settings::kWriteProtectAddress, QByteArray(1, 0x01));
        rig.radio.write(0x01100, dtmfArea(radioDtmf));

        SettingsModel settings;
        DtmfMemories dtmf;
        QVERIFY(succeeded(readSettings(settings, dtmf, rig.link, rig.host)));
        QCOMPARE(settings.position(F::Display, 3), radioSide.position(F::Display, 3));
        QCOMPARE(settings.position(F::Mem, 0), 1); // from its own byte
        QCOMPARE(settings.image(), area);
        QCOMPARE(dtmfArea(dtmf), dtmfArea(radioDtmf));

        moveOffDefaults(settings, 11);
        QByteArray expected = rig.radio.image();
        expected.replace(0, 148, encodeAll(settings));
        expected.replace(0x1100, 165, dtmfArea(dtmf)); // as its own test shows
        for (const auto &[off, value] : std::initializer_list<std::pair<int, int>>{
                 {0, 0xA5}, {9, 0x04}, {50, 0x01}, {51, 0x0C}, {55, 0x02}, {56, 0x02}, {81, 0x06}})
            expected[off] = char(value);
        // Only those bytes come from the image: every byte no item names is 0.
        SettingsModel zeros, stale;
        stale.setImageBytes(0, QByteArray(148, char(0x5A)));
        const QList<int> writtenBack{1, 52, 64 + 7, 64 + 28, 128 + 15, 128 + 16};
        for (int i = 0; i < 148; ++i)
            QCOMPARE(encodeAll(zeros)[i] != encodeAll(stale)[i], writtenBack.contains(i));
        int v = 0x37; // the radio changed since the read
        for (int off : writtenBack) {
            rig.radio.write(quint32(off), QByteArray(1, char(v)));
            expected[off] = char(v++);
        }
        rig.host = test::RecordingHost();
        QVERIFY(succeeded(writeSettings(settings, dtmf, rig.link, rig.host)));
        QCOMPARE(rig.radio.image().toHex(' '), expected.toHex(' '));
        QCOMPARE(rig.host.percents, (QList<int>{10, 20, 35, 50, 65, 80, 85, 90, 100, 0}));
    }

    void dtmfMatchesTheDocumentedImage() {
        SimRig rig;
        QByteArray image(sim::kImageSize, '\x5A');
        rig.radio.setImage(image);
        DtmfMemories dtmf;
        dtmf.setMemory(0, QStringLiteral("123#"));
        dtmf.setMemory(9, QStringLiteral("*0-9"));
        for (int t = 0; t < DtmfMemories::kTimingCount; ++t)
            dtmf.setTiming(DtmfMemories::Timing(t), 3 + t); // Wait, Head, Burst, Pause, Dial
        QVERIFY(succeeded(writeDtmf(dtmf, rig.link, rig.host)));
        // Wait, Head, Burst; the ten memories of 16 bytes; Dial channel + 1, Pause.
        QByteArray area =
            QByteArray::fromHex("030405") + QByteArray(160, 0x11) + QByteArray::fromHex("0806");
        area.replace(3, 4, QByteArray::fromHex("0102030F"));
        area.replace(3 + 9 * 16, 4, QByteArray::fromHex("0E001009"));
        image.replace(0x1100, 165, area);
        QCOMPARE(rig.radio.image(), image);
        QCOMPARE(rig.radio.frames().mid(1, 1),
                 QList<QByteArray>{"QX~F01100W" + area.left(51).toHex().toUpper()});
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_settings.moc"
