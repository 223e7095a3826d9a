// The settings transfers end to end against the simulated radio.

#include "SimFixture.h"
#include "core/common/DtmfMemories.h"
#include "core/settings/SettingsCatalogue.h"
#include "core/settings/SettingsCodec.h"
#include "core/settings/SettingsModel.h"
#include "core/settings/SettingsTransfer.h"

#include <QRandomGenerator>
#include <QtTest>

#include <memory>

using namespace kpr5;
using kpr5::sim::RadioSimulator;
using kpr5::sim::SimOptions;
using F = Family;

namespace {

constexpr quint32 kDtmfArea = 0x01100;
constexpr int kDtmfSize = 165;

// A settings model with every item moved off its default.
void moveOffDefaults(SettingsModel &m, int seed) {
    QRandomGenerator gen{quint32(seed)};
    for (const SettingItem &it : settings::catalogue()) {
        if (!it.hasList()) continue;
        const int shift = 1 + int(gen.bounded(qMax(1, it.optionCount() - 1)));
        QVERIFY(
            m.setPosition(it.family, it.element, (it.defaultPosition + shift) % it.optionCount()));
    }
}

QByteArray encodedArea(const SettingsModel &m) {
    return encodeSettingsBlock(m, 0) + encodeSettingsBlock(m, 1) + encodeSettingsBlock(m, 2);
}

} // namespace

class SettingsTransferTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void readShowsEveryItem();
    void readDecodesRadioForms();
    void writeReturnsTheSameImage();
    void writeTakesTheRadioBytesOfTheMoment();
    void retriesGetThrough();
    void failures_data();
    void failures();
    void readFailingAtDtmfKeepsTheSettings();
    void busyLinkRefuses();
    void quietStepShowsNoSuccess();
    void dtmfAloneMovesOnlyTheDtmfArea();

private:
    void loadRadio(const SettingsModel &positions, const DtmfMemories &dtmf, quint8 protect);

    std::unique_ptr<RadioSimulator> m_radio;
    std::unique_ptr<SerialLink> m_link;
    test::RecordingHost m_host;
    QByteArray m_radioArea; // the settings area the radio was given
};

void SettingsTransferTest::init() {
    m_radio = std::make_unique<RadioSimulator>();
    m_link = std::make_unique<SerialLink>();
    test::connectLink(*m_link, *m_radio, 1000);
    QRandomGenerator gen(0xC0FFEE);
    QByteArray noise(sim::kImageSize, '\0');
    for (char &c : noise)
        c = char(gen.bounded(256));
    m_radio->setImage(noise);
    m_host = test::RecordingHost();
}

void SettingsTransferTest::cleanup() {
    m_link.reset();
    m_radio.reset();
}

void SettingsTransferTest::loadRadio(const SettingsModel &positions, const DtmfMemories &dtmf,
                                     quint8 protect) {
    QByteArray area = encodedArea(positions);
    // What the program writes back as it came, and constants the radio holds
    // otherwise than the program writes them.
    int v = 0x37;
    for (int off : settings::kImageWrittenBack)
        area[off] = char(v++);
    for (const auto &c : settings::kConstants)
        area[c.offset] = char(c.value ^ 0x5A);
    m_radioArea = area;
    m_radio->write(0x00000, area);
    m_radio->write(settings::kWriteProtectAddress, QByteArray(1, char(protect)));
    m_radio->write(kDtmfArea, dtmf.encodeBlock(0) + dtmf.encodeBlock(1) + dtmf.encodeBlock(2));
}

void SettingsTransferTest::readShowsEveryItem() {
    SettingsModel radioSide;
    moveOffDefaults(radioSide, 1);
    DtmfMemories radioDtmf;
    const QString digits = QStringLiteral("0123456789ABCD*#-");
    for (int i = 0; i < 10; ++i)
        radioDtmf.setMemory(i, digits.mid(i, 1 + i));
    radioDtmf.setTiming(DtmfMemories::Wait, 10);
    radioDtmf.setTiming(DtmfMemories::Head, 22);
    radioDtmf.setTiming(DtmfMemories::Burst, 3);
    radioDtmf.setTiming(DtmfMemories::Pause, 17);
    radioDtmf.setTiming(DtmfMemories::DialChannel, 8);
    loadRadio(radioSide, radioDtmf, 0x01);

    SettingsModel settings;
    DtmfMemories dtmf;
    QVERIFY(succeeded(readSettings(settings, dtmf, *m_link, m_host)));
    for (const SettingItem &it : settings::catalogue()) {
        if (!it.hasList() || it.family == F::Mem || (it.family == F::Key && it.element == 12))
            continue;
        QVERIFY2(settings.position(it.family, it.element) ==
                     radioSide.position(it.family, it.element),
                 qPrintable(settings::controlName(it.family, it.element)));
    }
    QCOMPARE(settings.position(F::Mem, 0), 1);
    QCOMPARE(settings.language(), radioSide.position(F::Display, 0));
    QCOMPARE(settings.image(), m_radioArea);
    for (int i = 0; i < 10; ++i)
        QCOMPARE(dtmf.memory(i), radioDtmf.memory(i));
    for (int t = 0; t < DtmfMemories::kTimingCount; ++t)
        QCOMPARE(dtmf.timing(DtmfMemories::Timing(t)), radioDtmf.timing(DtmfMemories::Timing(t)));

    QCOMPARE(m_host.maximum, 100);
    QCOMPARE(m_host.progressValues, (QList<int>{0, 10, 20, 35, 50, 55, 65, 80, 100, 100}));
    QCOMPARE(m_host.percents, (QList<int>{10, 20, 35, 50, 55, 65, 80, 100, 100, 0}));
    QCOMPARE(m_host.texts(), QStringList{QStringLiteral("Success| Finish")});
    QVERIFY(!m_link->busy());
    const QList<QByteArray> frames = m_radio->frames();
    QCOMPARE(frames, (QList<QByteArray>{"QX~KP-R5T", "QX~F00000R", "QX~F00040R", "QX~F00080R",
                                        "QX~F1FE01R", "QX~F01100R", "QX~F01133R", "QX~F01173R"}));
}

void SettingsTransferTest::readDecodesRadioForms() {
    QByteArray area(148, '\0');
    area[14] = 0x01;       // Preset band(Main): a value below 3 is the position
    area[48] = 0x00;       // Sensitivity: zero gives "1"
    area[53] = char(0x68); // Wild key: the last function
    area[62] = 0x01;       // Language: Japanese
    area[7] = 0x01;        // channel display: non-zero is ON
    area[64 + 29] = 0x01;  // Dial Ring third option
    area[64 + 31] = 0x01;
    area[64 + 58] = 0x03; // Moni active on: Both bands
    area[44] = 0x30;      // Illumination: beyond the list
    m_radio->write(0, area);
    m_radio->write(settings::kWriteProtectAddress, QByteArray(1, 0x0F));

    SettingsModel settings;
    DtmfMemories dtmf;
    QVERIFY(settings.setPosition(F::Display, 1, 6));
    QVERIFY(settings.setPosition(F::Mem, 0, 2));
    QVERIFY(succeeded(readSettings(settings, dtmf, *m_link, m_host)));
    QCOMPARE(settings.options(F::Display, 14).at(settings.position(F::Display, 14)),
             QStringLiteral("1200MHz"));
    QCOMPARE(settings.options(F::Toutyou, 1).at(settings.position(F::Toutyou, 1)),
             QStringLiteral("1"));
    QCOMPARE(settings.position(F::Key, 6), 50);
    QCOMPARE(settings.language(), int(Japanese));
    QCOMPARE(settings.options(F::Key, 3).at(settings.position(F::Key, 3)),
             QStringLiteral("両ﾊﾞﾝﾄﾞ"));
    QCOMPARE(settings.position(F::Combo1, 0), 1);
    QCOMPARE(settings.position(F::Key, 5), 2);
    QCOMPARE(settings.position(F::Display, 1), 6);
    QCOMPARE(settings.position(F::Mem, 0), 0); // digit F is beyond the list; cleared by the decode
}

void SettingsTransferTest::writeReturnsTheSameImage() {
    SettingsModel radioSide;
    moveOffDefaults(radioSide, 11);
    DtmfMemories radioDtmf;
    radioDtmf.setMemory(0, QStringLiteral("123#"));
    radioDtmf.setMemory(6, QStringLiteral("0123456789ABCD*#"));
    radioDtmf.setMemory(9, QStringLiteral("*0-9"));
    radioDtmf.setTiming(DtmfMemories::Pause, 22);
    radioDtmf.setTiming(DtmfMemories::DialChannel, 4);
    loadRadio(radioSide, radioDtmf, 0x02);
    const QByteArray before = m_radio->image();

    SettingsModel settings;
    DtmfMemories dtmf;
    QVERIFY(succeeded(readSettings(settings, dtmf, *m_link, m_host)));
    m_radio->clearFrames();
    m_host = test::RecordingHost();
    QVERIFY(succeeded(writeSettings(settings, dtmf, *m_link, m_host)));

    QByteArray expected = before;
    for (const auto &c : settings::kConstants)
        expected[int(c.offset)] = char(c.value);
    QCOMPARE(m_radio->image(), expected);

    QCOMPARE(m_host.progressValues, (QList<int>{0, 10, 20, 35, 50, 65, 80, 85, 90, 100}));
    QCOMPARE(m_host.percents, (QList<int>{10, 20, 35, 50, 65, 80, 85, 90, 100, 0}));
    QCOMPARE(m_host.texts(), QStringList{QStringLiteral("Success| Finish")});
    const QList<QByteArray> frames = m_radio->frames();
    QCOMPARE(frames.size(), 10);
    QCOMPARE(frames[0], QByteArray("QX~KP-R5T"));
    QCOMPARE(frames.mid(1, 3), (QList<QByteArray>{"QX~F00000R", "QX~F00040R", "QX~F00080R"}));
    const int lengths[] = {138, 138, 50, 112, 138, 110}; // without the CR
    const char *starts[] = {"QX~F00000W", "QX~F00040W", "QX~F00080W",
                            "QX~F01100W", "QX~F01133W", "QX~F01173W"};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(frames[4 + i].size(), lengths[i]);
        QVERIFY(frames[4 + i].startsWith(starts[i]));
    }
}

void SettingsTransferTest::writeTakesTheRadioBytesOfTheMoment() {
    SettingsModel settings;
    DtmfMemories dtmf;
    QVERIFY(succeeded(readSettings(settings, dtmf, *m_link, m_host)));
    // The radio changed since the read: the bytes the program does not edit
    // go back as they are now; the items go as the pages show them.
    m_radio->write(1, QByteArray(1, 0x37));
    m_radio->write(0x40 + 28, QByteArray(1, char(0x99)));
    QVERIFY(settings.setPosition(F::Toutyou, 1, 0));
    QVERIFY(settings.setPosition(F::Display, 14, 1));
    QVERIFY(settings.setPosition(F::Key, 5, 2));
    QVERIFY(settings.setPosition(F::Display, 0, Japanese));
    dtmf.setMemory(0, QStringLiteral("123#"));
    QVERIFY(succeeded(writeSettings(settings, dtmf, *m_link, m_host)));
    const QByteArray area = m_radio->read(0, 148);
    QCOMPARE(int(quint8(area[1])), 0x37);
    QCOMPARE(int(quint8(area[64 + 28])), 0x99);
    QCOMPARE(int(area[48]), 0x01);
    QCOMPARE(int(area[14]), 0x04);
    QCOMPARE(int(area[64 + 29]), 1);
    QCOMPARE(int(area[64 + 31]), 1);
    QCOMPARE(int(area[62]), 1);
    QCOMPARE(m_radio->read(0x01103, 16), QByteArray::fromHex("0102030F") + QByteArray(12, 0x11));
}

void SettingsTransferTest::retriesGetThrough() {
    SimOptions o;
    o.dropEvery = 2; // every second frame goes unanswered: each step needs its second attempt
    m_radio->setOptions(o);
    m_link->setReplyTimeout(150);
    SettingsModel settings;
    DtmfMemories dtmf;
    m_radio->write(38, QByteArray(1, 39));
    QVERIFY(succeeded(readSettings(settings, dtmf, *m_link, m_host)));
    QCOMPARE(settings.position(F::Scan, 0), 39);
    QCOMPARE(m_host.texts(), QStringList{QStringLiteral("Success| Finish")});
    m_host = test::RecordingHost();
    QVERIFY(succeeded(writeSettings(settings, dtmf, *m_link, m_host)));
    QCOMPARE(m_host.texts(), QStringList{QStringLiteral("Success| Finish")});
}

void SettingsTransferTest::failures_data() {
    QTest::addColumn<int>("operation"); // 0 read, 1 write, 2 read DTMF, 3 write DTMF
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    for (int op = 0; op < 4; ++op) {
        const QByteArray name = QByteArray::number(op);
        QTest::newRow(name + " silent") << op << "silent"
                                        << "Error| Error";
        QTest::newRow(name + " no port") << op << "port"
                                         << "Port Error| Error";
        QTest::newRow(name + " corrupt") << op << "corrupt"
                                         << "Error| Error";
    }
}

void SettingsTransferTest::failures() {
    QFETCH(int, operation);
    QFETCH(QString, fault);
    QFETCH(QString, message);
    m_link->setReplyTimeout(150);
    SimOptions o;
    if (fault == QLatin1String("silent"))
        o.silent = true;
    else if (fault == QLatin1String("corrupt"))
        o.corruptEvery = 1;
    if (fault == QLatin1String("port")) m_link->portSettings().devicePath = test::missingPort();
    m_radio->setOptions(o);

    SettingsModel settings;
    DtmfMemories dtmf;
    m_radio->write(62, QByteArray(1, 0x01)); // Language Japanese
    bool ok = false;
    switch (operation) {
    case 0:
        ok = succeeded(readSettings(settings, dtmf, *m_link, m_host));
        break;
    case 1:
        ok = succeeded(writeSettings(settings, dtmf, *m_link, m_host));
        break;
    case 2:
        ok = succeeded(readDtmf(dtmf, *m_link, m_host));
        break;
    case 3:
        ok = succeeded(writeDtmf(dtmf, *m_link, m_host));
        break;
    }
    QVERIFY(!ok);
    QCOMPARE(m_host.texts(), QStringList{message});
    QVERIFY(!m_link->busy());
    QCOMPARE(m_link->completion(), Completion::StepFailed);
    QCOMPARE(m_host.finished, 1);
    QCOMPARE(m_host.percents.last(), 0);
}

void SettingsTransferTest::readFailingAtDtmfKeepsTheSettings() {
    // The radio falls silent once the write-protect byte has been read.
    struct Host : test::RecordingHost {
        std::function<void(int)> onPercent;
        void setPercent(int p) override {
            RecordingHost::setPercent(p);
            if (onPercent) onPercent(p);
        }
    } host;
    host.onPercent = [this](int p) {
        if (p == 55) {
            SimOptions o;
            o.silent = true;
            m_radio->setOptions(o);
        }
    };
    m_link->setReplyTimeout(150);
    m_radio->write(62, QByteArray(1, 0x01));
    m_radio->write(settings::kWriteProtectAddress, QByteArray(1, 0x01));
    SettingsModel settings;
    DtmfMemories dtmf;
    dtmf.setMemory(2, QStringLiteral("22"));
    QVERIFY(!succeeded(readSettings(settings, dtmf, *m_link, host)));
    QCOMPARE(settings.language(), int(Japanese));
    QCOMPARE(settings.position(F::Mem, 0), 1);
    QCOMPARE(dtmf.memory(2), QStringLiteral("22"));
    QCOMPARE(host.texts(), QStringList{QStringLiteral("Error| Error")});
    QCOMPARE(host.percents, (QList<int>{10, 20, 35, 50, 55, 0}));
    // Identification, three settings blocks, the write-protect byte, then three attempts.
    QCOMPARE(m_radio->frameCount(), 8);
}

void SettingsTransferTest::busyLinkRefuses() {
    test::OtherTransfer busy(*m_link, m_host);
    SettingsModel settings;
    DtmfMemories dtmf;
    QVERIFY(!succeeded(readSettings(settings, dtmf, *m_link, m_host)));
    QVERIFY(!succeeded(writeSettings(settings, dtmf, *m_link, m_host)));
    QVERIFY(!succeeded(readDtmf(dtmf, *m_link, m_host)));
    QVERIFY(!succeeded(writeDtmf(dtmf, *m_link, m_host)));
    QCOMPARE(m_radio->frameCount(), 0);
    QVERIFY(m_host.messages.isEmpty());
    QVERIFY(m_link->busy());
}

void SettingsTransferTest::quietStepShowsNoSuccess() {
    SettingsModel settings;
    DtmfMemories dtmf;
    Sequence wholeRadio(*m_link, m_host);
    QVERIFY(succeeded(wholeRadio.step(QStringLiteral("settings"), [&] {
        return readSettings(settings, dtmf, *m_link, m_host);
    })));
    QVERIFY(succeeded(wholeRadio.step(QStringLiteral("settings"), [&] {
        return writeSettings(settings, dtmf, *m_link, m_host);
    })));
    QVERIFY(m_host.messages.isEmpty());
    QCOMPARE(m_link->completion(), Completion::Announce);
}

void SettingsTransferTest::dtmfAloneMovesOnlyTheDtmfArea() {
    DtmfMemories radioDtmf;
    radioDtmf.setMemory(4, QStringLiteral("4444"));
    radioDtmf.setTiming(DtmfMemories::Head, 9);
    m_radio->write(kDtmfArea,
                   radioDtmf.encodeBlock(0) + radioDtmf.encodeBlock(1) + radioDtmf.encodeBlock(2));
    const QByteArray before = m_radio->image();

    DtmfMemories dtmf;
    QVERIFY(succeeded(readDtmf(dtmf, *m_link, m_host)));
    QCOMPARE(dtmf.memory(4), QStringLiteral("4444"));
    QCOMPARE(dtmf.timing(DtmfMemories::Head), 9);
    QCOMPARE(m_radio->frames(),
             (QList<QByteArray>{"QX~KP-R5T", "QX~F01100R", "QX~F01133R", "QX~F01173R"}));
    QCOMPARE(m_host.texts(), QStringList{QStringLiteral("Success| Finish")});
    QCOMPARE(m_host.percents, (QList<int>{35, 70, 100, 100, 0}));

    dtmf.setMemory(4, QStringLiteral("*"));
    dtmf.setMemory(8, QStringLiteral("88"));
    m_host = test::RecordingHost();
    QVERIFY(succeeded(writeDtmf(dtmf, *m_link, m_host)));
    QByteArray expected = before;
    const QByteArray area = dtmf.encodeBlock(0) + dtmf.encodeBlock(1) + dtmf.encodeBlock(2);
    expected.replace(int(kDtmfArea), kDtmfSize, area);
    QCOMPARE(m_radio->image(), expected);
    QCOMPARE(m_host.texts(), QStringList{QStringLiteral("Success| Finish")});
    QCOMPARE(m_host.percents, (QList<int>{10, 40, 70, 100, 0}));
}

QTEST_MAIN(SettingsTransferTest)
#include "tst_settingstransfer.moc"
