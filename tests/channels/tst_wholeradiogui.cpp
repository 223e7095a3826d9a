// "Read All Data" and "Write All Data" from the main window's menu, with the
// font and group windows in their automatic mode, against the simulated radio.

#include "GuiFixture.h"
#include "core/channels/ChannelRecord.h"
#include "core/channels/ChannelTable.h"
#include "core/files/Backups.h"
#include "core/font/GlyphCodec.h"
#include "core/link/MemoryMap.h"
#include "gui/radio/WholeRadioGui.h"
#include "gui/shell/MainWindow.h"

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>

using namespace kpr5;
using namespace kpr5::test;

namespace {
QByteArray channel145() {
    QByteArray b(64, '\0');
    b[0] = 1;
    b[1] = char(0x40); // 145,000,000 Hz little-endian
    b[2] = char(0x86);
    b[3] = char(0xA4);
    b[4] = char(0x08);
    b[12] = 0;
    b[13] = 8;
    b[14] = 8;
    b[16] = 20;
    b[32] = 'A';
    return b;
}

// Channel records with a frequency and a one-letter name.
QByteArray channel(quint32 hz, char name) {
    QByteArray b = channel145();
    for (int i = 0; i < 4; ++i)
        b[1 + i] = char(hz >> (8 * i));
    b[32] = name;
    return b;
}

quint32 addressOfRow(int row) {
    return *memorymap::recordAddress(*memorymap::rowToRecord(row));
}

int backupCount() {
    return int(QDir(backupDirectory()).entryList(QDir::Files).size());
}

// The last row a verdict names as done ("rows 1–712 read", "the new rows
// 1–712", "Stopped after row 712"); 0 when none.
int lastRowNamed(const QString &verdict) {
    static const QRegularExpression re(QStringLiteral(
        "(?:rows? 1\u2013(\\d+) (?:read|and)|new rows? 1\u2013(\\d+)|after row (\\d+))"));
    const auto m = re.match(verdict);
    if (!m.hasMatch()) return 0;
    for (int i = 1; i <= 3; ++i)
        if (!m.captured(i).isEmpty()) return m.captured(i).toInt();
    return 0;
}
} // namespace

class WholeRadioGuiTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Backups of the reads go to the test locations, not the user's folder.
    void initTestCase() { usePrivateStandardPaths(); }

    void readAllFromTheMenu() {
        sim::RadioSimulator radio;
        radio.write(0x1200, channel145());
        QByteArray banks(128, '\0');
        banks[0] = char(0xE8); // bank 0 holds all 1000 channels
        banks[1] = 0x03;
        radio.write(0x200, banks);
        radio.write(0x100, QByteArray::fromHex("8000000000000000")); // group 0: bank 0
        radio.write(0x1000, QByteArray::fromHex("01"));              // glyph 0: top-left pixel
        radio.write(0x1A0, QByteArray::fromHex("48004900"));         // title "HI"
        MessageRecorder messages;
        MainWindow w;
        w.show();
        connectLink(w.link(), radio);
        w.findChild<QAction *>(QStringLiteral("ALL_READ"))->trigger();
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Success ALL DATA READ| Finish")});
        RadioDocument &doc = w.document();
        QCOMPARE(doc.channels.text(1, ChannelTable::FreqCol), QStringLiteral("145.00000MHz"));
        QCOMPARE(doc.channels.text(1, ChannelTable::NameCol), QStringLiteral("A"));
        // The rows are labelled from the banks read when the Memory page is entered.
        w.selectPage(MainWindow::BankPage);
        w.selectPage(MainWindow::MemoryPage);
        QCOMPARE(doc.channels.rowLabel(1000), QStringLiteral("Bank000-999"));
        QCOMPARE(encodeGlyph(doc.font, 0).left(1), QByteArray::fromHex("01"));
        QCOMPARE(doc.title.displayText(), QStringLiteral("HI"));
        QVERIFY(!w.link().busy());
        QVERIFY(w.findChild<QWidget *>(QStringLiteral("TabStrip1"))->isEnabled());

        // ... and written back to a blank radio, which then holds the same regions.
        sim::RadioSimulator blank;
        connectLink(w.link(), blank);
        messages.records.clear();
        w.findChild<QAction *>(QStringLiteral("ALL_WRITE"))->trigger();
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Success| Finish")});
        QCOMPARE(blank.read(0x1200, 5), radio.read(0x1200, 5));
        QCOMPARE(blank.read(0x200, 100), radio.read(0x200, 100));
        QCOMPARE(blank.read(0x100, 8), radio.read(0x100, 8));
        QCOMPARE(blank.read(0x1000, 256), radio.read(0x1000, 256));
        QCOMPARE(blank.read(0x1A0, 32), radio.read(0x1A0, 32));
    }

    // A whole-radio transfer that does not succeed ends with one verdict and
    // no "Success"; a read keeps no backup; what the verdict says is true of
    // the window (read) or the radio (write).
    void oneVerdict_data() {
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("dropEvery");
        QTest::addColumn<int>("hangupAfter");
        QTest::addColumn<int>("stopAfter"); // frames before Stop is pressed
        QTest::addColumn<QString>("cause");
        QTest::newRow("read, replies dropped past the limit")
            << false << 2 << 0 << 0 << "channels failed";
        QTest::newRow("write, replies dropped past the limit")
            << true << 2 << 0 << 0 << "channels failed";
        QTest::newRow("read, port vanishes")
            << false << 0 << 300 << 0 << "port error during channels";
        QTest::newRow("read, Stop") << false << 0 << 0 << 400 << "stopped during channels";
        QTest::newRow("write, Stop") << true << 0 << 0 << 400 << "stopped during channels";
    }
    void oneVerdict() {
        QFETCH(bool, write);
        QFETCH(int, dropEvery);
        QFETCH(int, hangupAfter);
        QFETCH(int, stopAfter);
        QFETCH(QString, cause);
        sim::SimOptions options;
        options.dropEvery = dropEvery;
        options.hangupAfter = hangupAfter;
        sim::RadioSimulator radio(options);
        MessageRecorder messages;
        MainWindow w;
        w.show();
        connectLink(w.link(), radio, 60);
        // The radio holds "A" channels, the window "B" channels.
        for (int row = 1; row <= ChannelTable::kRows; ++row) {
            radio.write(addressOfRow(row), channel(145000000, 'A'));
            decodeChannel(channel(146000000, 'B'), w.document().channels, row);
        }
        const QByteArray before = radio.image();
        const int backups = backupCount();
        QTimer stopper;
        connect(&stopper, &QTimer::timeout, &w, [&] {
            if (stopAfter > 0 && radio.frameCount() >= stopAfter) {
                stopper.stop();
                w.findChild<QPushButton *>(QStringLiteral("STOP_TRANSFER"))->click();
            }
        });
        stopper.start(2);
        (write ? writeAllGui : readAllGui)(w.workspace());

        const QString head = write ? QStringLiteral("Write All Data did not complete")
                                   : QStringLiteral("Read All Data did not complete");
        QStringList verdicts;
        for (const auto &m : messages.records) {
            QVERIFY2(!m.text.startsWith(QStringLiteral("Success")), qPrintable(m.text));
            if (m.text.startsWith(head)) verdicts << m.text;
        }
        QCOMPARE(verdicts.size(), 1);
        const QString verdict = verdicts.first();
        QVERIFY2(verdict.contains(QStringLiteral("(%1)").arg(cause)), qPrintable(verdict));
        QCOMPARE(messages.texts().filter(QStringLiteral("Port Error")).size(),
                 hangupAfter > 0 ? 1 : 0);
        // A read that did not complete keeps no backup; a write keeps what it sent.
        QCOMPARE(backupCount(), backups + (write ? 2 : 0));

        const int last = lastRowNamed(verdict);
        QVERIFY2(last > 0 && last + 2 < ChannelTable::kRows, qPrintable(verdict));
        // A write that failed may have changed the row whose answer never came.
        const int firstOld = last + (write && stopAfter == 0 ? 2 : 1);
        for (int row : {1, last, firstOld, ChannelTable::kRows}) {
            const bool changed = row <= last;
            if (write) {
                const QByteArray now = radio.read(addressOfRow(row), 64);
                QCOMPARE(now, changed ? encodeChannel(w.document().channels, row).toByteArray()
                                      : before.mid(int(addressOfRow(row)), 64));
            } else {
                QCOMPARE(w.document().channels.text(row, ChannelTable::NameCol),
                         QString(QLatin1Char(changed ? 'A' : 'B')));
            }
        }
        QVERIFY(!w.link().busy());
    }

    // The start-up blank is not the user's characters: a window that never
    // read, opened or drew any leaves the radio's own, and says so.
    void writeAllKeepsTheRadiosCharacters() {
        sim::RadioSimulator radio;
        const QByteArray glyphs = QByteArray::fromHex("0102030405").repeated(51);
        radio.write(0x1000, glyphs);
        MessageRecorder messages;
        MainWindow w;
        w.show();
        connectLink(w.link(), radio);
        w.findChild<QAction *>(QStringLiteral("ALL_WRITE"))->trigger();
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Success| Finish")});
        QVERIFY(messages.records.first().detail.contains(QStringLiteral("not written")));
        QCOMPARE(radio.read(0x1000, int(glyphs.size())), glyphs);
        QVERIFY(!radio.frames().contains("QX~F01000W" + QByteArray(64, '0')));

        // One pixel drawn: all eight go.
        w.document().font.setPixel(0, 0, 0, 1);
        w.findChild<QAction *>(QStringLiteral("ALL_WRITE"))->trigger();
        QCOMPARE(radio.read(0x1000, 32), encodeGlyph(w.document().font, 0));
    }

    void readAllWithoutARadioReportsEveryStep() {
        sim::SimOptions o;
        o.silent = true;
        sim::RadioSimulator radio(o);
        MessageRecorder messages;
        MainWindow w;
        w.show();
        connectLink(w.link(), radio, 100);
        readAllGui(w.workspace());
        // Every step says "Error"; one verdict closes the read.
        QCOMPARE(messages.records.size(), 8);
        for (const auto &m : messages.records.mid(0, 7))
            QCOMPARE(m.text + m.title, QStringLiteral("Error Error"));
        QVERIFY(messages.records.last().text.startsWith(
            QStringLiteral("Read All Data did not complete")));
        QCOMPARE(radio.frameCount(), 7 * 3);
        QVERIFY(!w.link().busy());
    }
};

QTEST_MAIN(WholeRadioGuiTest)
#include "tst_wholeradiogui.moc"
