// The "OneTouch Memory" frame on the real main window: the lists follow the
// table, entering the "Common Set" page rebuilds the lists, Reset, and the
// controls after a read.

#include "GuiFixture.h"
#include "core/banks/BankTable.h"
#include "core/common/OneTouchTable.h"
#include "gui/shell/MainWindow.h"

#include <QCheckBox>
#include <QtTest>

using namespace kpr5;
using namespace kpr5::test;

namespace {

QCheckBox *noSet(MainWindow &w, int k) {
    return find<QCheckBox>(w, QStringLiteral("NO_SET(%1)").arg(k));
}
QComboBox *bankList(MainWindow &w, int k) {
    return find<QComboBox>(w, QStringLiteral("COMMON_BANK(%1)").arg(k));
}
QComboBox *channelList(MainWindow &w, int k) {
    return find<QComboBox>(w, QStringLiteral("COMMON_CH(%1)").arg(k));
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
    // A bank chosen (again) refills its channels from channel 0; "No
    // Setting" reaches the table. (The lists discard typed keys as every
    // choice-only list does: tst_settingspages.)
    void choosingABankRefillsItsChannels() {
        MainWindow w;
        MessageRecorder messages;
        twoBanks(w);
        w.selectPage(MainWindow::CommonSetPage);
        w.show();
        QCOMPARE(noSet(w, 0)->text(), QStringLiteral("No Setting"));
        QComboBox *bank = bankList(w, 0);
        QComboBox *channel = channelList(w, 0);
        QCOMPARE(entries(bank), (QStringList{"3", "7"}));
        QCOMPARE(channel->count(), 10);

        channel->setCurrentIndex(6);
        QCOMPARE(w.document().oneTouch.channelPosition(0), 6);
        QTest::keyClick(bank, Qt::Key_Down); // bank 7
        QCOMPARE(w.document().oneTouch.bankNumber(0), 7);
        QCOMPARE(channel->count(), 990);
        QCOMPARE(channel->currentIndex(), 0);
        channel->setCurrentIndex(500);
        pick(w, QStringLiteral("COMMON_BANK(0)"), 1); // the same bank again
        QCOMPARE(channel->currentIndex(), 0);
        QCOMPARE(w.document().oneTouch.channelPosition(0), 0);

        QVERIFY(noSet(w, 0)->isChecked());
        QTest::mouseClick(noSet(w, 0), Qt::LeftButton);
        QVERIFY(!w.document().oneTouch.isUnassigned(0));
        QVERIFY(messages.records.isEmpty());
    }

    // A bank edit shows in the lists when the page is entered, not before.
    void enteringTheCommonSetPageRebuildsTheLists() {
        MainWindow w;
        MessageRecorder messages;
        twoBanks(w);
        w.selectPage(MainWindow::CommonSetPage);
        noSet(w, 1)->setChecked(false);
        pick(w, QStringLiteral("COMMON_BANK(1)"), 1); // bank 7
        channelList(w, 1)->setCurrentIndex(800);

        w.selectPage(MainWindow::BankPage);
        w.document().banks.setCount(0, 5);
        w.document().banks.setCount(3, 5);
        QCOMPARE(entries(bankList(w, 1)), (QStringList{"3", "7"}));
        w.selectPage(MainWindow::CommonSetPage);
        QVERIFY(messages.records.isEmpty());
        QCOMPARE(entries(bankList(w, 1)), (QStringList{"0", "3", "7"}));
        QCOMPARE(bankList(w, 1)->currentText(), QStringLiteral("7"));
        QCOMPARE(channelList(w, 1)->currentText(), QStringLiteral("800"));
        QVERIFY(!noSet(w, 1)->isChecked());
        QCOMPARE(bankList(w, 8)->currentText(), QStringLiteral("3"));
        QCOMPARE(channelList(w, 8)->count(), 5);
    }

    // Reset empties the frame; a read fills every control.
    void resetAndRead() {
        sim::RadioSimulator radio;
        MainWindow w;
        connectLink(w.link(), radio);
        MessageRecorder messages;
        twoBanks(w);
        w.selectPage(MainWindow::CommonSetPage);
        noSet(w, 0)->setChecked(false);
        channelList(w, 0)->setCurrentIndex(5);
        click(w, QStringLiteral("COMMON_ONE_TOUCH_RESET"));
        QVERIFY(noSet(w, 0)->isChecked());
        QCOMPARE(channelList(w, 0)->currentIndex(), 0);

        radio.write(0x180, QByteArray::fromHex("030500070900") + QByteArray(21, '\xFF'));
        click(w, QStringLiteral("READ_ONE_TOUCH"));
        QCOMPARE(messages.texts(), QStringList{"Success| Finish"});
        QVERIFY(!noSet(w, 0)->isChecked());
        QCOMPARE(channelList(w, 0)->currentText(), QStringLiteral("5"));
        QCOMPARE(bankList(w, 1)->currentText(), QStringLiteral("7"));
        QCOMPARE(channelList(w, 1)->currentText(), QStringLiteral("9"));
        QVERIFY(noSet(w, 2)->isChecked());
    }
};

QTEST_MAIN(OneTouchFrameTest)
#include "tst_onetouchframe.moc"
