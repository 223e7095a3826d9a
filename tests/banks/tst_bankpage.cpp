// The bank page on the real main window: editing rules, total, page guard,
// channel-table labels, and the bank transfers through its buttons.

#include "GuiFixture.h"
#include "core/banks/BankTable.h"
#include "core/channels/ChannelTable.h"
#include "gui/shell/MainWindow.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QtTest>

using namespace kpr5;
using namespace kpr5::test;

namespace {

QSlider *slider(MainWindow &w, int bank) {
    return w.findChild<QSlider *>(QStringLiteral("Slider1(%1)").arg(bank));
}

QLineEdit *text(MainWindow &w, int bank) {
    return w.findChild<QLineEdit *>(QStringLiteral("Text1(%1)").arg(bank));
}

QLineEdit *total(MainWindow &w) {
    return w.findChild<QLineEdit *>(QStringLiteral("Total_Mem"));
}

QPushButton *button(MainWindow &w, const QString &name) {
    return w.findChild<QPushButton *>(name);
}

void leave(QWidget *widget) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(widget, &out);
}

bool totalIsRed(MainWindow &w) {
    return total(w)->palette().color(QPalette::Text) == QColor(255, 0, 0);
}

// Slider moves as the user makes them (the slider's own change signal).
void moveSliders(MainWindow &w, std::initializer_list<std::pair<int, int>> moves) {
    for (auto [bank, value] : moves)
        slider(w, bank)->setValue(value);
}

} // namespace

class BankPageTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void controlsExist();
    void defaultTableLabelsTheMemoryRows();
    void oneBigBankLabelsEveryRowInIt();
    void textBoxTakesItsValueOver_data();
    void textBoxTakesItsValueOver();
    void upAndDownStepTheClickedBank_data();
    void upAndDownStepTheClickedBank();
    void wrongTotalIsRedAndBlocksWriting();
    void cautionCancelKeepsTheBankPage();
    void cautionOkResetsAndMovesOn();
    void textBeingEditedCountsBeforeThePageChanges();
    void enteringTheBankPageWithAWrongTotalResetsSilently();
    void radioCountsShowThousandUntilEdited();
    void failedReadLeavesWriteOffWhileTotalIsWrong();
    void writeSendsTheTable();
};

void BankPageTest::controlsExist() {
    MainWindow w;
    for (int b = 0; b < 50; ++b) {
        QVERIFY(slider(w, b));
        QVERIFY(text(w, b));
        QCOMPARE(text(w, b)->text(), QString::number(b < 10 ? 100 : 0));
    }
    QCOMPARE(total(w)->text(), QStringLiteral("1000"));
    QVERIFY(total(w)->isReadOnly());
    const QList<QPair<QString, QString>> buttons = {
        {"BANK_UP(0)", "Up"},       {"BANK_UP(1)", "Down"},       {"Bank_Clear", "Reset"},
        {"READ_BANK", "Bank Read"}, {"WRITE_BANK", "Bank Write"}, {"GROUP_SET", "Bank_Link"}};
    for (const auto &[name, caption] : buttons) {
        QVERIFY2(button(w, name), qPrintable(name));
        QCOMPARE(button(w, name)->text(), caption);
    }
    QVERIFY(button(w, "WRITE_BANK")->isEnabled());
}

void BankPageTest::defaultTableLabelsTheMemoryRows() {
    MainWindow w;
    const ChannelTable &t = w.document().channels;
    QCOMPARE(t.rowLabel(1), QStringLiteral("Bank000-0"));
    QCOMPARE(t.rowLabel(100), QStringLiteral("Bank000-99"));
    QCOMPARE(t.rowLabel(101), QStringLiteral("Bank001-0"));
    QCOMPARE(t.rowLabel(400), QStringLiteral("Bank003-99"));
    QCOMPARE(t.rowLabel(1000), QStringLiteral("Bank009-99"));
    QCOMPARE(t.rowLabel(1001), QStringLiteral("PRG - 0A"));
    QCOMPARE(t.rowLabel(1623), QStringLiteral("BUG - 19"));
}

void BankPageTest::oneBigBankLabelsEveryRowInIt() {
    MainWindow w;
    MessageRecorder messages;
    w.selectPage(MainWindow::BankPage);
    moveSliders(
        w, {{0, 1000}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}, {9, 0}});
    QCOMPARE(total(w)->text(), QStringLiteral("1000"));
    QCOMPARE(text(w, 0)->text(), QStringLiteral("1000"));
    // Labels follow the banks only when the Memory page is entered.
    QCOMPARE(w.document().channels.rowLabel(101), QStringLiteral("Bank001-0"));
    w.selectPage(MainWindow::MemoryPage);
    QCOMPARE(w.currentPage(), int(MainWindow::MemoryPage));
    QVERIFY(messages.records.isEmpty());
    for (int row = 1; row <= 1000; ++row)
        QCOMPARE(w.document().channels.rowLabel(row), QStringLiteral("Bank000-%1").arg(row - 1));
    QCOMPARE(w.document().channels.rowLabel(1101), QStringLiteral("Dual0(Main) "));
}

void BankPageTest::textBoxTakesItsValueOver_data() {
    QTest::addColumn<QString>("typed");  // through the key filter
    QTest::addColumn<QString>("pasted"); // past the key filter
    QTest::addColumn<bool>("enter");     // Enter instead of leaving the box
    QTest::addColumn<int>("count");

    QTest::newRow("1500 left") << "1500"
                               << "" << false << 100;
    QTest::newRow("letters are not typed") << "12a3"
                                           << "" << false << 123;
    QTest::newRow("12a3 pasted") << ""
                                 << "12a3" << false << 123;
    QTest::newRow("emptied") << ""
                             << "" << false << 0;
    QTest::newRow("fifth digit refused") << "09876"
                                         << "" << false << 987;
    QTest::newRow("enter") << "0250"
                           << "" << true << 250;
    QTest::newRow("above 1000 with enter") << "2000"
                                           << "" << true << 100;
    QTest::newRow("long paste") << ""
                                << "99999999999999999999" << false << 100;
}

void BankPageTest::textBoxTakesItsValueOver() {
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(bool, enter);
    QFETCH(int, count);
    MainWindow w;
    w.selectPage(MainWindow::BankPage);
    QLineEdit *box = text(w, 3);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), QString());
    QTest::keyClicks(box, typed);
    if (!pasted.isEmpty()) box->insert(pasted);
    if (enter)
        QTest::keyClick(box, Qt::Key_Return);
    else
        leave(box);
    QCOMPARE(box->text(), QString::number(count));
    QCOMPARE(slider(w, 3)->value(), count);
    QCOMPARE(w.document().banks.count(3), count);
    QCOMPARE(total(w)->text(), QString::number(900 + count));
}

void BankPageTest::upAndDownStepTheClickedBank_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("expected");
    QTest::newRow("up at 1000") << 1000 << "BANK_UP(0)" << 1000;
    QTest::newRow("down at 0") << 0 << "BANK_UP(1)" << 0;
    QTest::newRow("up") << 5 << "BANK_UP(0)" << 6;
    QTest::newRow("down") << 5 << "BANK_UP(1)" << 4;
}

void BankPageTest::upAndDownStepTheClickedBank() {
    QFETCH(int, start);
    QFETCH(QString, button);
    QFETCH(int, expected);
    MainWindow w;
    w.selectPage(MainWindow::BankPage);
    // No bank is selected at first: nothing happens.
    QTest::mouseClick(::button(w, button), Qt::LeftButton);
    QCOMPARE(w.document().banks.counts(), BankTable::defaultCounts());

    // Clicking the slider selects its bank (the click may also move it).
    QTest::mouseClick(slider(w, 12), Qt::LeftButton);
    moveSliders(w, {{0, 0}, {1, 0}, {12, start}});
    const int before = w.document().banks.shownTotal();
    QTest::mouseClick(::button(w, button), Qt::LeftButton);
    QCOMPARE(w.document().banks.count(12), expected);
    QCOMPARE(text(w, 12)->text(), QString::number(expected));
    QCOMPARE(slider(w, 12)->value(), expected);
    QCOMPARE(total(w)->text(), QString::number(before + expected - start));
}

void BankPageTest::wrongTotalIsRedAndBlocksWriting() {
    MainWindow w;
    w.selectPage(MainWindow::BankPage);
    QVERIFY(!totalIsRed(w));
    moveSliders(w, {{4, 99}});
    QCOMPARE(total(w)->text(), QStringLiteral("999"));
    QVERIFY(totalIsRed(w));
    QVERIFY(!button(w, "WRITE_BANK")->isEnabled());
    moveSliders(w, {{20, 1}});
    QCOMPARE(total(w)->text(), QStringLiteral("1000"));
    QVERIFY(!totalIsRed(w));
    QVERIFY(button(w, "WRITE_BANK")->isEnabled());
    moveSliders(w, {{4, 0}});
    QTest::mouseClick(button(w, "Bank_Clear"), Qt::LeftButton);
    QCOMPARE(w.document().banks.counts(), BankTable::defaultCounts());
    QCOMPARE(text(w, 4)->text(), QStringLiteral("100"));
    QCOMPARE(text(w, 20)->text(), QStringLiteral("0"));
    QVERIFY(button(w, "WRITE_BANK")->isEnabled());
}

void BankPageTest::cautionCancelKeepsTheBankPage() {
    MainWindow w;
    MessageRecorder messages(ui::Answer::Cancel);
    w.selectPage(MainWindow::BankPage);
    moveSliders(w, {{0, 50}});
    for (int page : {1, 3, 4}) {
        w.selectPage(page);
        QCOMPARE(w.currentPage(), int(MainWindow::BankPage));
        QCOMPARE(w.tabStrip()->currentIndex(), 1);
        QVERIFY(w.pageFrame(1)->isVisibleTo(&w) || !w.isVisible());
    }
    QCOMPARE(messages.records.size(), 3);
    QCOMPARE(messages.records[0].text, QStringLiteral("Bank Total Error. Init Data?"));
    QCOMPARE(messages.records[0].title, QStringLiteral("Caution"));
    QVERIFY(messages.records[0].okCancel);
    QCOMPARE(w.document().banks.count(0), 50);
    QCOMPARE(total(w)->text(), QStringLiteral("950"));
}

void BankPageTest::cautionOkResetsAndMovesOn() {
    MainWindow w;
    MessageRecorder messages(ui::Answer::Ok);
    w.selectPage(MainWindow::BankPage);
    moveSliders(w, {{0, 1000}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}});
    QCOMPARE(total(w)->text(), QStringLiteral("1100"));
    w.selectPage(MainWindow::MemoryPage);
    QCOMPARE(messages.records.size(), 1);
    QCOMPARE(w.currentPage(), int(MainWindow::MemoryPage));
    QCOMPARE(w.document().banks.counts(), BankTable::defaultCounts());
    QCOMPARE(w.document().channels.rowLabel(101), QStringLiteral("Bank001-0"));
}

void BankPageTest::textBeingEditedCountsBeforeThePageChanges() {
    MainWindow w;
    MessageRecorder messages(ui::Answer::Cancel);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.selectPage(MainWindow::BankPage);
    QLineEdit *box = text(w, 3);
    box->setFocus();
    QVERIFY(box->hasFocus());
    box->selectAll();
    QTest::keyClicks(box, "5");
    QCOMPARE(total(w)->text(), QStringLiteral("1000")); // not taken over yet
    w.selectPage(MainWindow::SetModePage);
    QCOMPARE(messages.records.size(), 1);
    QCOMPARE(w.currentPage(), int(MainWindow::BankPage));
    QCOMPARE(w.document().banks.count(3), 5);
    QCOMPARE(total(w)->text(), QStringLiteral("905"));
}

void BankPageTest::enteringTheBankPageWithAWrongTotalResetsSilently() {
    MainWindow w;
    MessageRecorder messages;
    w.document().banks.setCount(0, 7);
    QCOMPARE(total(w)->text(), QStringLiteral("907"));
    w.selectPage(MainWindow::BankPage);
    QCOMPARE(w.currentPage(), int(MainWindow::BankPage));
    QVERIFY(messages.records.isEmpty());
    QCOMPARE(total(w)->text(), QStringLiteral("1000"));
    QCOMPARE(text(w, 0)->text(), QStringLiteral("100"));
}

void BankPageTest::radioCountsShowThousandUntilEdited() {
    sim::RadioSimulator radio;
    MainWindow w;
    connectLink(w.link(), radio);
    MessageRecorder messages;
    // 40 banks of 20 channels and the rest empty: 800 in all.
    QByteArray area;
    for (int b = 0; b < 50; ++b)
        area += QByteArray::fromHex(b < 40 ? "1400" : "0000");
    radio.write(0x200, area);

    w.selectPage(MainWindow::BankPage);
    QTest::mouseClick(button(w, "READ_BANK"), Qt::LeftButton);
    QCOMPARE(messages.texts(), QStringList{"Success| Finish"});
    QCOMPARE(text(w, 39)->text(), QStringLiteral("20"));
    QCOMPARE(slider(w, 0)->value(), 20);
    QCOMPARE(total(w)->text(), QStringLiteral("1000"));
    QVERIFY(!totalIsRed(w));
    QVERIFY(button(w, "WRITE_BANK")->isEnabled());
    // The shown total lets the page go and labels the rows the counts cover.
    w.selectPage(MainWindow::MemoryPage);
    QCOMPARE(w.currentPage(), int(MainWindow::MemoryPage));
    QCOMPARE(w.document().channels.rowLabel(800), QStringLiteral("Bank039-19"));
    w.selectPage(MainWindow::BankPage);
    QCOMPARE(total(w)->text(), QStringLiteral("1000"));

    moveSliders(w, {{45, 3}});
    QCOMPARE(total(w)->text(), QStringLiteral("803"));
    QVERIFY(totalIsRed(w));
    QVERIFY(!button(w, "WRITE_BANK")->isEnabled());
}

void BankPageTest::failedReadLeavesWriteOffWhileTotalIsWrong() {
    sim::SimOptions silent;
    silent.silent = true;
    sim::RadioSimulator radio(silent);
    MainWindow w;
    connectLink(w.link(), radio, 100);
    MessageRecorder messages;
    w.selectPage(MainWindow::BankPage);
    moveSliders(w, {{0, 99}});
    QTest::mouseClick(button(w, "READ_BANK"), Qt::LeftButton);
    QCOMPARE(messages.texts(), QStringList{"Error| Error"});
    QVERIFY(button(w, "READ_BANK")->isEnabled());
    QVERIFY(!button(w, "WRITE_BANK")->isEnabled());
    QCOMPARE(total(w)->text(), QStringLiteral("999"));
}

void BankPageTest::writeSendsTheTable() {
    sim::RadioSimulator radio;
    MainWindow w;
    connectLink(w.link(), radio);
    MessageRecorder messages;
    const QByteArray before = radio.image();
    w.selectPage(MainWindow::BankPage);
    moveSliders(
        w, {{0, 1000}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}, {9, 0}});
    QTest::mouseClick(button(w, "WRITE_BANK"), Qt::LeftButton);
    QCOMPARE(messages.texts(), QStringList{"Success| Finish"});
    QCOMPARE(radio.read(0x200, 4), QByteArray::fromHex("E8030000"));
    QCOMPARE(radio.read(0x200, 128), w.document().banks.encodeArea());
    const QByteArray after = radio.image();
    QCOMPARE(after.left(0x200), before.left(0x200));
    QCOMPARE(after.mid(0x280), before.mid(0x280));
    QVERIFY(button(w, "WRITE_BANK")->isEnabled());
}

QTEST_MAIN(BankPageTest)
#include "tst_bankpage.moc"
