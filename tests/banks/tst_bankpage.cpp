// The bank page on the real main window: the text boxes and sliders, Up and
// Down, the total and the page guard, a read and Reset.

#include "GuiFixture.h"
#include "core/banks/BankTable.h"
#include "core/channels/ChannelTable.h"
#include "gui/shell/MainWindow.h"

using namespace kpr5;
using namespace kpr5::test;

class BankPageTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A text box takes four digits at most and no other character typed; it
    // is taken over as a count when left or on Enter; slider, model and total
    // follow. Up and Down step the bank whose slider was clicked last; none
    // at first.
    void boxesSlidersAndSteps() {
        MainWindow w;
        w.selectPage(MainWindow::BankPage);
        click(w, QStringLiteral("BANK_UP(0)"));
        QCOMPARE(w.document().banks.counts(), BankTable::defaultCounts());
        QLineEdit *b = box(w, 3);
        for (const auto &[typed, enter, count] :
             {std::tuple{"12a3", false, 123}, {"09876", true, 987}}) {
            b->clear();
            type(b, QLatin1String(typed));
            enter ? QTest::keyClick(b, Qt::Key_Return) : leave(b);
            QVERIFY2(b->text() == QString::number(count) && slider(w, 3)->value() == count, typed);
            QCOMPARE(w.document().banks.count(3), count);
            QCOMPARE(total(w), QString::number(900 + count));
        }
        QTest::mouseClick(slider(w, 12), Qt::LeftButton); // may also move it
        slider(w, 12)->setValue(5);
        click(w, QStringLiteral("BANK_UP(0)"));
        QVERIFY(box(w, 12)->text() == "6" && slider(w, 12)->value() == 6 && total(w) == "1893");
        click(w, QStringLiteral("BANK_UP(1)"));
        QCOMPARE(w.document().banks.count(12), 5);
    }

    // Entering the page with a wrong total resets it silently. A wrong total
    // (the box being edited counts) is red and blocks writing; leaving the
    // page with it asks: Cancel stays, OK resets and goes, and the rows are
    // labelled from the reset counts.
    void pageGuard() {
        MainWindow w;
        MessageRecorder messages(ui::Answer::Cancel);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.document().banks.setCount(0, 7);
        w.selectPage(MainWindow::BankPage);
        QVERIFY(messages.records.isEmpty() && total(w) == "1000");
        QLineEdit *b = box(w, 3);
        b->setFocus();
        b->selectAll();
        type(b, QStringLiteral("5"));
        QCOMPARE(total(w), QStringLiteral("1000")); // not taken over yet
        w.selectPage(MainWindow::MemoryPage);
        QVERIFY(w.currentPage() == MainWindow::BankPage && w.tabStrip()->currentIndex() == 1);
        QCOMPARE(messages.texts(), QStringList{"Bank Total Error. Init Data?|Caution"});
        QVERIFY(messages.records.first().okCancel);
        QVERIFY(total(w) == "905" && totalIsRed(w) && !writeEnabled(w));

        messages.setAnswer(ui::Answer::Ok);
        w.selectPage(MainWindow::MemoryPage);
        QCOMPARE(w.currentPage(), int(MainWindow::MemoryPage));
        QCOMPARE(w.document().banks.counts(), BankTable::defaultCounts());
        QCOMPARE(w.document().channels.rowLabel(306), QStringLiteral("Bank003-5"));
    }

    // Counts read from the radio show 1000 (Write on) until edited; Reset
    // puts a wrong total right.
    void readAndReset() {
        sim::RadioSimulator radio;
        MainWindow w;
        connectLink(w.link(), radio, 200);
        MessageRecorder messages;
        // 40 banks of 20 channels: 800 in all.
        radio.write(0x200, QByteArray::fromHex("1400").repeated(40) + QByteArray(20, '\0'));
        w.selectPage(MainWindow::BankPage);
        click(w, QStringLiteral("READ_BANK"));
        QCOMPARE(messages.texts(), QStringList{"Success| Finish"});
        QVERIFY(total(w) == "1000" && !totalIsRed(w) && writeEnabled(w));
        slider(w, 45)->setValue(3);
        QVERIFY(total(w) == "803" && totalIsRed(w) && !writeEnabled(w));
        click(w, QStringLiteral("Bank_Clear"));
        QCOMPARE(w.document().banks.counts(), BankTable::defaultCounts());
        QVERIFY(box(w, 45)->text() == "0" && !totalIsRed(w) && writeEnabled(w));
    }

private:
    // Slider moves go through the slider's own change signal, as the user's do.
    static QSlider *slider(MainWindow &w, int bank) {
        return find<QSlider>(w, QStringLiteral("Slider1(%1)").arg(bank));
    }
    static QLineEdit *box(MainWindow &w, int b) {
        return find<QLineEdit>(w, QStringLiteral("Text1(%1)").arg(b));
    }
    static QString total(MainWindow &w) { return text(w, QStringLiteral("Total_Mem")); }
    static bool totalIsRed(MainWindow &w) {
        return find<QLineEdit>(w, QStringLiteral("Total_Mem"))->palette().color(QPalette::Text) ==
               QColor(255, 0, 0);
    }
    static bool writeEnabled(MainWindow &w) {
        return find(w, QStringLiteral("WRITE_BANK"))->isEnabled();
    }
};

QTEST_MAIN(BankPageTest)
#include "tst_bankpage.moc"
