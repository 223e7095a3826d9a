// "Read All Data" and "Write All Data" from the main window's menu, with the
// font and group windows in their automatic mode, against the simulated radio.

#include "GuiFixture.h"
#include "core/files/Backups.h"
#include "core/font/GlyphCodec.h"
#include "core/link/MemoryMap.h"
#include "gui/radio/WholeRadioGui.h"
#include "gui/shell/MainWindow.h"

using namespace kpr5;
using namespace kpr5::test;

namespace {
quint32 addressOfRow(int row) {
    return *memorymap::recordAddress(*memorymap::rowToRecord(row));
}

// The last row a verdict names as done ("rows 1–712 read", "the new rows
// 1–712", "Stopped after row 712"); 0 when none.
int lastRowNamed(const QString &verdict) {
    static const QRegularExpression re(QStringLiteral(
        "(?:rows? 1\u2013(?=\\d+ (?:read|and))|new rows? 1\u2013|after row )(\\d+)"));
    return re.match(verdict).captured(1).toInt();
}

// How a whole-radio transfer is made to fail: write or read, every how many replies
// the radio drops, after how many frames it vanishes and after how many Stop is
// pressed (0: never), and the cause the verdict names.
using Failure = std::tuple<bool, int, int, int, const char *>;
} // namespace
Q_DECLARE_METATYPE(Failure)

class WholeRadioGuiTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Backups of the reads go to the test locations, not the user's folder.
    void initTestCase() { usePrivateStandardPaths(); }

    // A window that never read, opened or drew characters leaves the radio's
    // own (its start-up blank is not the user's), and says so; one pixel
    // drawn and they go. Then the radio read from the menu, and written back
    // to a blank radio, which then holds the same regions.
    void readAndWriteAllFromTheMenu() {
        sim::RadioSimulator radio, blank;
        const QByteArray glyphs = QByteArray::fromHex("0102030405").repeated(51);
        blank.write(0x1000, glyphs);
        radio.write(0x1200, Record(145000000).name("A").bytes());
        radio.write(0x200,
                    QByteArray::fromHex("E803").leftJustified(128, '\0')); // bank 0: all 1000
        radio.write(0x100, QByteArray::fromHex("8000000000000000"));       // group 0: bank 0
        radio.write(0x1000, QByteArray::fromHex("01"));      // glyph 0: top-left pixel
        radio.write(0x1A0, QByteArray::fromHex("48004900")); // title "HI"
        MessageRecorder messages;
        MainWindow w;
        w.show();
        connectLink(w.link(), blank);
        click(w, QStringLiteral("ALL_WRITE"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Success| Finish")});
        QVERIFY(messages.records.first().detail.contains(QStringLiteral("not written")));
        QCOMPARE(blank.read(0x1000, int(glyphs.size())), glyphs);
        w.document().font.setPixel(0, 0, 0, 1);
        click(w, QStringLiteral("ALL_WRITE"));
        QCOMPARE(blank.read(0x1000, 32), encodeGlyph(w.document().font, 0));

        connectLink(w.link(), radio);
        messages.records.clear();
        click(w, QStringLiteral("ALL_READ"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Success ALL DATA READ| Finish")});
        // The rows are labelled from the banks read when the Memory page is entered.
        w.selectPage(MainWindow::BankPage);
        w.selectPage(MainWindow::MemoryPage);
        QCOMPARE(w.document().channels.rowLabel(1000), QStringLiteral("Bank000-999"));

        connectLink(w.link(), blank);
        messages.records.clear();
        click(w, QStringLiteral("ALL_WRITE"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Success| Finish")});
        for (const auto &[at, size] :
             {std::pair{0x1200, 5}, {0x200, 100}, {0x100, 8}, {0x1000, 256}, {0x1A0, 32}})
            QVERIFY2(blank.read(at, size) == radio.read(at, size),
                     qPrintable(QString::number(at, 16)));
    }

    // A whole-radio transfer that does not succeed ends with one verdict and
    // no "Success"; a read keeps no backup; what the verdict says is true of
    // the window (read) or the radio (write).
    void oneVerdict_data() {
        QTest::addColumn<Failure>("f");
        QTest::newRow("read, replies dropped") << Failure{false, 2, 0, 0, "channels failed"};
        QTest::newRow("write, replies dropped") << Failure{true, 2, 0, 0, "channels failed"};
        QTest::newRow("read, port vanishes")
            << Failure{false, 0, 300, 0, "port error during channels"};
        QTest::newRow("read, Stop") << Failure{false, 0, 0, 400, "stopped during channels"};
        QTest::newRow("write, Stop") << Failure{true, 0, 0, 400, "stopped during channels"};
    }
    void oneVerdict() {
        QFETCH(Failure, f);
        const auto [write, dropEvery, hangupAfter, stopAfter, cause] = f;
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
            radio.write(addressOfRow(row), Record(145000000).name("A").bytes());
            decodeChannel(Record(146000000).name("B").bytes(), w.document().channels, row);
        }
        const QByteArray before = radio.image();
        const auto backupCount = [] {
            return QDir(backupDirectory()).entryList(QDir::Files).size();
        };
        const auto backups = backupCount();
        QTimer stopper;
        connect(&stopper, &QTimer::timeout, &w, [&] {
            if (stopAfter > 0 && radio.frameCount() >= stopAfter) {
                stopper.stop();
                click(w, QStringLiteral("STOP_TRANSFER"));
            }
        });
        stopper.start(2);
        (write ? writeAllGui : readAllGui)(w.workspace());

        const QStringList texts = messages.texts();
        QVERIFY2(texts.filter(QRegularExpression(QStringLiteral("^Success"))).isEmpty(),
                 qPrintable(texts.join(QLatin1Char('\n'))));
        const QStringList verdicts =
            texts.filter(write ? QStringLiteral("Write All Data did not complete")
                               : QStringLiteral("Read All Data did not complete"));
        QCOMPARE(verdicts.size(), 1);
        const QString verdict = verdicts.first();
        QVERIFY2(verdict.contains(QStringLiteral("(%1)").arg(QLatin1String(cause))),
                 qPrintable(verdict));
        // A read that did not complete keeps no backup; a write keeps what it sent.
        QCOMPARE(backupCount(), backups + (write ? 2 : 0));

        const int last = lastRowNamed(verdict);
        QVERIFY2(last > 0 && last + 2 < ChannelTable::kRows, qPrintable(verdict));
        // A write that failed may have changed the row whose answer never came.
        const int firstOld = last + (write && stopAfter == 0 ? 2 : 1);
        for (int row : {1, last, firstOld, ChannelTable::kRows}) {
            const bool changed = row <= last;
            const quint32 at = addressOfRow(row);
            if (write)
                QCOMPARE(radio.read(at, 64),
                         changed ? encodeChannel(w.document().channels, row).toByteArray()
                                 : before.mid(int(at), 64));
            else
                QCOMPARE(w.document().channels.text(row, ChannelTable::NameCol),
                         QString(QLatin1Char(changed ? 'A' : 'B')));
        }
        QVERIFY(!w.link().busy());
    }
};

QTEST_MAIN(WholeRadioGuiTest)
#include "tst_wholeradiogui.moc"
