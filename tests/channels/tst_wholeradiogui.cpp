// "Read All Data" and "Write All Data" from the main window's menu, with the
// font and group windows in their automatic mode, against the simulated radio.

#include "GuiFixture.h"
#include "core/channels/ChannelTable.h"
#include "core/font/GlyphCodec.h"
#include "gui/radio/WholeRadioGui.h"
#include "gui/shell/MainWindow.h"

#include <QAction>
#include <QStandardPaths>

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
} // namespace

class WholeRadioGuiTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Backups of the reads go to the test locations, not the user's folder.
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

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
