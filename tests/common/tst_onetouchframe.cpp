// The "OneTouch Memory" frame on the real main window: the controls reach the
// table (whose rules tst_common holds), entering the "Common Set" page
// rebuilds the lists, Reset, and the controls after a read.

#include "GuiFixture.h"
#include "core/banks/BankTable.h"
#include "core/common/OneTouchTable.h"
#include "gui/shell/MainWindow.h"

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

// Banks 3 (10 channels) and 7 (990 channels) only, on the "Common Set" page.
void twoBanks(MainWindow &w) {
    BankTable::Counts counts{};
    counts[3] = 10;
    counts[7] = 990;
    w.document().banks.setCounts(counts);
    w.selectPage(MainWindow::CommonSetPage);
}

} // namespace

class OneTouchFrameTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void controlsAndPageEntry() {
        MainWindow w;
        twoBanks(w);
        w.show();
        const OneTouchTable &table = w.document().oneTouch;
        QTest::mouseClick(noSet(w, 0), Qt::LeftButton);
        QVERIFY(!table.isUnassigned(0));
        QTest::keyClick(bankList(w, 0), Qt::Key_Down); // bank 7
        QCOMPARE(table.bankNumber(0), 7);
        QCOMPARE(channelList(w, 0)->count(), 990);
        channelList(w, 0)->setCurrentIndex(800);
        QCOMPARE(table.channelPosition(0), 800);
        pick(w, QStringLiteral("COMMON_BANK(1)"), 1);
        channelList(w, 1)->setCurrentIndex(500);
        pick(w, QStringLiteral("COMMON_BANK(1)"), 1); // the same bank again refills
        QCOMPARE(channelList(w, 1)->currentIndex(), 0);

        // A bank edit shows in the lists when the page is entered, not before.
        w.selectPage(MainWindow::BankPage);
        w.document().banks.setCount(0, 5);
        w.document().banks.setCount(3, 5);
        QCOMPARE(bankList(w, 0)->count(), 2);
        w.selectPage(MainWindow::CommonSetPage);
        QCOMPARE(bankList(w, 0)->itemText(0), QStringLiteral("0"));
        QCOMPARE(bankList(w, 0)->currentText() + channelList(w, 0)->currentText(),
                 QStringLiteral("7800"));
    }

    void resetAndRead() {
        sim::RadioSimulator radio;
        MainWindow w;
        connectLink(w.link(), radio);
        MessageRecorder messages;
        twoBanks(w);
        noSet(w, 0)->setChecked(false);
        channelList(w, 0)->setCurrentIndex(5);
        click(w, QStringLiteral("COMMON_ONE_TOUCH_RESET"));
        QVERIFY(noSet(w, 0)->isChecked());
        QCOMPARE(channelList(w, 0)->currentIndex(), 0);

        radio.write(0x180, QByteArray::fromHex("030500070900") + QByteArray(21, '\xFF'));
        click(w, QStringLiteral("READ_ONE_TOUCH"));
        QCOMPARE(messages.texts(), QStringList{"Success| Finish"});
        QVERIFY(!noSet(w, 0)->isChecked() && noSet(w, 2)->isChecked());
        QCOMPARE(channelList(w, 0)->currentText(), QStringLiteral("5"));
        QCOMPARE(bankList(w, 1)->currentText() + channelList(w, 1)->currentText(),
                 QStringLiteral("79"));
    }
};

QTEST_MAIN(OneTouchFrameTest)
#include "tst_onetouchframe.moc"
