// The bank page on the real main window: the text boxes and sliders, Up and
// Down, the total and the page guard, the channel-table labels, and the
// shown total after a read.

#include "GuiFixture.h"
#include "core/banks/BankTable.h"
#include "core/channels/ChannelTable.h"
#include "gui/shell/MainWindow.h"

#include <QSlider>
#include <QTabBar>
#include <QtTest>

using namespace kpr5;
using namespace kpr5::test;

namespace {

QSlider *slider(MainWindow &w, int bank) {
    return find<QSlider>(w, QStringLiteral("Slider1(%1)").arg(bank));
}
QLineEdit *box(MainWindow &w, int bank) {
    return find<QLineEdit>(w, QStringLiteral("Text1(%1)").arg(bank));
}
QString total(MainWindow &w) {
    return text(w, QStringLiteral("Total_Mem"));
}
bool totalIsRed(MainWindow &w) {
    return find<QLineEdit>(w, QStringLiteral("Total_Mem"))->palette().color(QPalette::Text) ==
           QColor(255, 0, 0);
}
bool writeEnabled(MainWindow &w) {
    return find(w, QStringLiteral("WRITE_BANK"))->isEnabled();
}

// Slider moves as the user makes them (the slider's own change signal).
void moveSliders(MainWindow &w, std::initializer_list<std::pair<int, int>> moves) {
    for (auto [bank, value] : moves)
        slider(w, bank)->setValue(value);
}
// Bank 0 holds every channel.
void oneBigBank(MainWindow &w) {
    moveSliders(w, {{0, 1000}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}});
    moveSliders(w, {{9, 0}});
}

} // namespace

class BankPageTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void controls() {
        MainWindow w;
        QVERIFY(find<QLineEdit>(w, QStringLiteral("Total_Mem"))->isReadOnly());
        const QList<QPair<QString, QString>> buttons = {
            {"BANK_UP(0)", "Up"},       {"BANK_UP(1)", "Down"},       {"Bank_Clear", "Reset"},
            {"READ_BANK", "Bank Read"}, {"WRITE_BANK", "Bank Write"}, {"GROUP_SET", "Bank_Link"}};
        for (const auto &[name, caption] : buttons)
            QCOMPARE(find<QAbstractButton>(w, name)->text(), caption);
        slider(w, 49);
    }

    // A text box filters keys and is taken over as a count when left or on
    // Enter; slider, model and total follow.
    void textBoxTakesItsValueOver_data() {
        QTest::addColumn<QString>("typed");  // through the key filter
        QTest::addColumn<QString>("pasted"); // past the key filter
        QTest::addColumn<bool>("enter");     // Enter instead of leaving the box
        QTest::addColumn<int>("count");
        QTest::newRow("letters are not typed") << "12a3"
                                               << "" << false << 123;
        QTest::newRow("fifth digit refused") << "09876"
                                             << "" << false << 987;
        QTest::newRow("12a3 pasted") << ""
                                     << "12a3" << false << 123;
        QTest::newRow("above 1000 with enter") << "2000"
                                               << "" << true << 100;
    }
    void textBoxTakesItsValueOver() {
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(bool, enter);
        QFETCH(int, count);
        MainWindow w;
        w.selectPage(MainWindow::BankPage);
        QLineEdit *b = box(w, 3);
        b->selectAll();
        QTest::keyClick(b, Qt::Key_Backspace);
        type(b, typed);
        if (!pasted.isEmpty()) b->insert(pasted);
        if (enter)
            QTest::keyClick(b, Qt::Key_Return);
        else
            leave(b);
        QCOMPARE(b->text(), QString::number(count));
        QCOMPARE(slider(w, 3)->value(), count);
        QCOMPARE(w.document().banks.count(3), count);
        QCOMPARE(total(w), QString::number(900 + count));
    }

    // Up and Down step the bank whose slider was clicked last; none at first.
    void upAndDownStepTheClickedBank_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("expected");
        QTest::newRow("up") << 5 << "BANK_UP(0)" << 6;
        QTest::newRow("down at 0") << 0 << "BANK_UP(1)" << 0;
    }
    void upAndDownStepTheClickedBank() {
        QFETCH(int, start);
        QFETCH(QString, button);
        QFETCH(int, expected);
        MainWindow w;
        w.selectPage(MainWindow::BankPage);
        click(w, button);
        QCOMPARE(w.document().banks.counts(), BankTable::defaultCounts());

        QTest::mouseClick(slider(w, 12), Qt::LeftButton); // may also move it
        moveSliders(w, {{0, 0}, {1, 0}, {12, start}});
        const int before = w.document().banks.shownTotal();
        click(w, button);
        QCOMPARE(w.document().banks.count(12), expected);
        QCOMPARE(box(w, 12)->text(), QString::number(expected));
        QCOMPARE(slider(w, 12)->value(), expected);
        QCOMPARE(total(w), QString::number(before + expected - start));
    }

    // A total other than 1000 is red and blocks writing; Reset puts it right.
    void wrongTotalIsRedAndBlocksWriting() {
        MainWindow w;
        w.selectPage(MainWindow::BankPage);
        QVERIFY(!totalIsRed(w));
        moveSliders(w, {{4, 99}});
        QCOMPARE(total(w), QStringLiteral("999"));
        QVERIFY(totalIsRed(w) && !writeEnabled(w));
        moveSliders(w, {{20, 1}});
        QVERIFY(!totalIsRed(w) && writeEnabled(w));
        moveSliders(w, {{4, 0}});
        click(w, QStringLiteral("Bank_Clear"));
        QCOMPARE(w.document().banks.counts(), BankTable::defaultCounts());
        QCOMPARE(box(w, 20)->text(), QStringLiteral("0"));
        QVERIFY(writeEnabled(w));
    }

    // Leaving the page with a wrong total asks; Cancel stays, OK resets and goes.
    void cautionOnLeaving() {
        MainWindow w;
        MessageRecorder messages(ui::Answer::Cancel);
        w.selectPage(MainWindow::BankPage);
        moveSliders(w, {{0, 50}});
        for (int page : {1, 3, 4}) {
            w.selectPage(page);
            QCOMPARE(w.currentPage(), int(MainWindow::BankPage));
            QCOMPARE(w.tabStrip()->currentIndex(), 1);
        }
        QCOMPARE(messages.texts().size(), 3);
        QCOMPARE(messages.texts().first(), QStringLiteral("Bank Total Error. Init Data?|Caution"));
        QVERIFY(messages.records.first().okCancel);
        QCOMPARE(total(w), QStringLiteral("950"));

        messages.setAnswer(ui::Answer::Ok);
        oneBigBank(w);
        moveSliders(w, {{1, 100}});
        w.selectPage(MainWindow::MemoryPage);
        QCOMPARE(w.currentPage(), int(MainWindow::MemoryPage));
        QCOMPARE(w.document().banks.counts(), BankTable::defaultCounts());
        QCOMPARE(w.document().channels.rowLabel(101), QStringLiteral("Bank001-0"));
    }

    // The box being edited counts before the page changes.
    void textBeingEditedCountsBeforeThePageChanges() {
        MainWindow w;
        MessageRecorder messages(ui::Answer::Cancel);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.selectPage(MainWindow::BankPage);
        QLineEdit *b = box(w, 3);
        b->setFocus();
        b->selectAll();
        type(b, QStringLiteral("5"));
        QCOMPARE(total(w), QStringLiteral("1000")); // not taken over yet
        w.selectPage(MainWindow::SetModePage);
        QCOMPARE(messages.records.size(), 1);
        QCOMPARE(w.currentPage(), int(MainWindow::BankPage));
        QCOMPARE(total(w), QStringLiteral("905"));
    }

    void enteringTheBankPageWithAWrongTotalResetsSilently() {
        MainWindow w;
        MessageRecorder messages;
        w.document().banks.setCount(0, 7);
        QCOMPARE(total(w), QStringLiteral("907"));
        w.selectPage(MainWindow::BankPage);
        QVERIFY(messages.records.isEmpty());
        QCOMPARE(total(w), QStringLiteral("1000"));
        QCOMPARE(box(w, 0)->text(), QStringLiteral("100"));
    }

    // Counts read from the radio show 1000 until edited, let the page go and
    // label the rows they cover once the Memory page is entered. A failed read leaves Write off
    // while the total is wrong.
    void readCounts() {
        sim::RadioSimulator radio;
        MainWindow w;
        connectLink(w.link(), radio, 200);
        MessageRecorder messages;
        QByteArray area;
        for (int b = 0; b < 50; ++b) // 40 banks of 20 channels: 800 in all
            area += QByteArray::fromHex(b < 40 ? "1400" : "0000");
        radio.write(0x200, area);
        w.selectPage(MainWindow::BankPage);
        click(w, QStringLiteral("READ_BANK"));
        QCOMPARE(messages.texts(), QStringList{"Success| Finish"});
        QCOMPARE(box(w, 39)->text(), QStringLiteral("20"));
        QCOMPARE(total(w), QStringLiteral("1000"));
        QVERIFY(!totalIsRed(w) && writeEnabled(w));
        QCOMPARE(w.document().channels.rowLabel(800), QStringLiteral("Bank007-99")); // not yet
        w.selectPage(MainWindow::MemoryPage);
        QCOMPARE(w.currentPage(), int(MainWindow::MemoryPage));
        QCOMPARE(w.document().channels.rowLabel(800), QStringLiteral("Bank039-19"));
        w.selectPage(MainWindow::BankPage);
        moveSliders(w, {{45, 3}});
        QCOMPARE(total(w), QStringLiteral("803"));
        QVERIFY(totalIsRed(w) && !writeEnabled(w));

        sim::SimOptions silent;
        silent.silent = true;
        radio.setOptions(silent);
        click(w, QStringLiteral("READ_BANK"));
        QCOMPARE(messages.texts().last(), QStringLiteral("Error| Error"));
        QVERIFY(find(w, QStringLiteral("READ_BANK"))->isEnabled());
        QVERIFY(!writeEnabled(w));
        QCOMPARE(total(w), QStringLiteral("803"));
    }
};

QTEST_MAIN(BankPageTest)
#include "tst_bankpage.moc"
