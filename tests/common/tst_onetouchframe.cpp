// The "OneTouch Memory" frame on the real main window: the lists follow the
// table, typed keys are discarded, entering the "Common Set" page rebuilds
// the lists, and the buttons run the transfers against the simulated radio.

#include "GuiFixture.h"
#include "core/banks/BankTable.h"
#include "core/common/OneTouchTable.h"
#include "gui/shell/MainWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace kpr5;
using namespace kpr5::test;

namespace {

QCheckBox *noSet(MainWindow &w, int k) {
    return w.findChild<QCheckBox *>(QStringLiteral("NO_SET(%1)").arg(k));
}
QComboBox *bankList(MainWindow &w, int k) {
    return w.findChild<QComboBox *>(QStringLiteral("COMMON_BANK(%1)").arg(k));
}
QComboBox *channelList(MainWindow &w, int k) {
    return w.findChild<QComboBox *>(QStringLiteral("COMMON_CH(%1)").arg(k));
}
QPushButton *button(MainWindow &w, const char *name) {
    return w.findChild<QPushButton *>(QLatin1String(name));
}

QStringList entries(QComboBox *box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

// Banks 3 (10 channels) and 7 (990 channels) only; the total stays 1000.
void twoBanks(MainWindow &w) {
    BankTable::Counts counts{};
    counts[3] = 10;
    counts[7] = 990;
    w.document().banks.setCounts(counts);
}

} // namespace

class OneTouchFrameTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void controlsStartUnassignedOnTheDefaultBanks();
    void choosingABankRefillsItsChannels();
    void enteringTheCommonSetPageRebuildsTheLists();
    void writeAndReadThroughTheButtons();
};

void OneTouchFrameTest::controlsStartUnassignedOnTheDefaultBanks() {
    MainWindow w;
    for (int k = 0; k < OneTouchTable::kKeyCount; ++k) {
        QVERIFY(noSet(w, k));
        QCOMPARE(noSet(w, k)->text(), QStringLiteral("No Setting"));
        QVERIFY(noSet(w, k)->isChecked());
        QCOMPARE(entries(bankList(w, k)),
                 (QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));
        QCOMPARE(bankList(w, k)->currentIndex(), 0);
        QCOMPARE(channelList(w, k)->count(), 100);
        QCOMPARE(channelList(w, k)->currentText(), QStringLiteral("0"));
    }
    QCOMPARE(button(w, "COMMON_ONE_TOUCH_RESET")->text(), QStringLiteral("Reset"));
}

void OneTouchFrameTest::choosingABankRefillsItsChannels() {
    MainWindow w;
    MessageRecorder messages;
    twoBanks(w);
    w.selectPage(MainWindow::CommonSetPage);
    w.show();
    QComboBox *bank = bankList(w, 0);
    QComboBox *channel = channelList(w, 0);
    QCOMPARE(entries(bank), (QStringList{"3", "7"}));
    QCOMPARE(channel->count(), 10);
    // Typed keys are discarded.
    bank->setFocus();
    QTest::keyClicks(bank, QStringLiteral("7"));
    channel->setFocus();
    QTest::keyClicks(channel, QStringLiteral("4"));
    QCOMPARE(bank->currentIndex(), 0);
    QCOMPARE(channel->currentIndex(), 0);

    channel->setCurrentIndex(6);
    QCOMPARE(w.document().oneTouch.channelPosition(0), 6);
    QTest::keyClick(bank, Qt::Key_Down); // bank 7
    QCOMPARE(w.document().oneTouch.bankNumber(0), 7);
    QCOMPARE(channel->count(), 990);
    QCOMPARE(channel->currentIndex(), 0);
    channel->setCurrentIndex(500);
    Q_EMIT bank->activated(1); // the same bank chosen again
    QCOMPARE(channel->currentIndex(), 0);
    QCOMPARE(w.document().oneTouch.channelPosition(0), 0);

    QTest::mouseClick(noSet(w, 0), Qt::LeftButton);
    QVERIFY(!w.document().oneTouch.isUnassigned(0));
    QVERIFY(messages.records.isEmpty());
}

void OneTouchFrameTest::enteringTheCommonSetPageRebuildsTheLists() {
    MainWindow w;
    MessageRecorder messages;
    twoBanks(w);
    w.selectPage(MainWindow::CommonSetPage);
    OneTouchTable &t = w.document().oneTouch;
    noSet(w, 1)->setChecked(false);
    Q_EMIT bankList(w, 1)->activated(1); // bank 7
    channelList(w, 1)->setCurrentIndex(800);
    channelList(w, 4)->setCurrentIndex(9); // bank 3, channel 9

    // An edit on the Bank page that keeps bank 7 but moves it in the list
    // and shrinks bank 3.
    w.selectPage(MainWindow::BankPage);
    BankTable &banks = w.document().banks;
    banks.setCount(0, 5);
    banks.setCount(3, 5);
    QCOMPARE(entries(bankList(w, 1)), (QStringList{"3", "7"})); // not before the page is entered
    w.selectPage(MainWindow::CommonSetPage);
    QVERIFY(messages.records.isEmpty());

    QCOMPARE(entries(bankList(w, 1)), (QStringList{"0", "3", "7"}));
    QCOMPARE(bankList(w, 1)->currentText(), QStringLiteral("7"));
    QCOMPARE(channelList(w, 1)->currentText(), QStringLiteral("800"));
    QVERIFY(!noSet(w, 1)->isChecked());
    QCOMPARE(bankList(w, 4)->currentText(), QStringLiteral("3"));
    QCOMPARE(channelList(w, 4)->count(), 5);
    QCOMPARE(channelList(w, 4)->currentText(), QStringLiteral("0"));
    QCOMPARE(t.channelPosition(4), 0);
    // Bank 3 was position 0 and is position 1 now.
    QCOMPARE(bankList(w, 8)->currentIndex(), 1);
    QCOMPARE(bankList(w, 8)->currentText(), QStringLiteral("3"));
}

void OneTouchFrameTest::writeAndReadThroughTheButtons() {
    sim::RadioSimulator radio;
    MainWindow w;
    connectLink(w.link(), radio);
    MessageRecorder messages;
    twoBanks(w);
    w.selectPage(MainWindow::CommonSetPage);

    noSet(w, 0)->setChecked(false);
    channelList(w, 0)->setCurrentIndex(5);
    QTest::mouseClick(button(w, "WRITE_ONE_TOUCH"), Qt::LeftButton);
    QCOMPARE(messages.texts(), QStringList{"Success| Finish"});
    QByteArray expected = QByteArray::fromHex("030500");
    for (int k = 1; k < 9; ++k)
        expected += QByteArray::fromHex("FF0000");
    QCOMPARE(radio.read(0x180, 27), expected);
    QVERIFY(button(w, "WRITE_ONE_TOUCH")->isEnabled());

    // Back from the radio into a reset editor.
    QTest::mouseClick(button(w, "COMMON_ONE_TOUCH_RESET"), Qt::LeftButton);
    QVERIFY(noSet(w, 0)->isChecked());
    QCOMPARE(channelList(w, 0)->currentIndex(), 0);
    radio.write(0x183, QByteArray::fromHex("070900"));
    QTest::mouseClick(button(w, "READ_ONE_TOUCH"), Qt::LeftButton);
    QCOMPARE(messages.texts(), (QStringList{"Success| Finish", "Success| Finish"}));
    QVERIFY(!noSet(w, 0)->isChecked());
    QCOMPARE(bankList(w, 0)->currentText(), QStringLiteral("3"));
    QCOMPARE(channelList(w, 0)->currentText(), QStringLiteral("5"));
    QCOMPARE(bankList(w, 1)->currentText(), QStringLiteral("7"));
    QCOMPARE(channelList(w, 1)->currentText(), QStringLiteral("9"));
    QVERIFY(noSet(w, 2)->isChecked());
    QCOMPARE(w.progressText()->text(), QStringLiteral("0%"));
}

QTEST_MAIN(OneTouchFrameTest)
#include "tst_onetouchframe.moc"
