// The group window: its grid, colours and clicks, Read, Clear and OK, and
// GROUP_SET.

#include "GuiFixture.h"
#include "core/banks/BankTable.h"
#include "core/banks/GroupTable.h"
#include "gui/banks/GroupWindow.h"
#include "gui/shell/MainWindow.h"

using namespace kpr5;
using namespace kpr5::test;

class GroupWindowTest : public QObject {
    Q_OBJECT
    BankTable m_banks;
    GroupTable m_groups;
    SerialLink m_mainLink;

private Q_SLOTS:
    void init() {
        m_banks.reset();
        m_groups.clear();
    }

    // The corner cell is empty (the group names run down the first column);
    // a separator follows every ten bank columns. An empty bank is unlinked
    // and grey when the window opens and takes no click; a linked bank shows
    // red on blue; a click toggles a bank. The close box does nothing while a
    // transfer runs; a read shows what it brought and leaves the window open;
    // Clear, then OK.
    void gridClicksReadClearAndOk() {
        sim::RadioSimulator radio;
        connectLink(m_mainLink, radio);
        MessageRecorder messages;
        radio.write(0x100 + 8 * 10 + 1, QByteArray(1, '\x80')); // GroupB: bank 8
        m_groups.setLinked(5, 3, true);
        m_groups.setLinked(5, 4, true);
        m_banks.setCount(3, 0);
        m_banks.setCount(11, 100);
        GroupWindow w(m_banks, m_groups, m_mainLink.sharedPortSettings(), false);
        w.show();
        QCOMPARE(w.grid()->item(0, 0)->text(), QString());
        // Column -> bank (-1: none) and back.
        for (auto [column, bank] :
             {std::pair{0, -1}, {1, 0}, {11, -1}, {12, 10}, {45, 40}, {54, 49}, {55, -1}}) {
            QCOMPARE(GroupWindow::bankOfColumn(column), bank);
            if (bank >= 0) QCOMPARE(col(bank), column);
        }
        QVERIFY(!m_groups.isLinked(5, 3));
        QCOMPARE(back(w, 5, 3), GroupWindow::basicColour(8));
        QCOMPARE(back(w, 5, 4), GroupWindow::basicColour(1));
        QVERIFY(looksUnlinked(w, 0, 0));

        clickCell(w, 1, col(0));
        clickCell(w, 11, col(11));
        QVERIFY(m_groups.isLinked(0, 0) && m_groups.isLinked(10, 11));
        QCOMPARE(back(w, 0, 0), GroupWindow::basicColour(1));
        clickCell(w, 1, col(0));
        QVERIFY(!m_groups.isLinked(0, 0) && looksUnlinked(w, 0, 0));
        // An empty bank, the header and a group name.
        const QByteArray before = m_groups.encodeArea();
        for (auto [row, column] : {std::pair{1, col(3)}, {0, col(1)}, {2, 0}})
            clickCell(w, row, column);
        QCOMPARE(m_groups.encodeArea(), before);
        {
            test::OtherTransfer busy(w.link(), w);
            w.reject();
            QVERIFY(w.isVisible());
        }
        click(w, QStringLiteral("GROUP_READ"));
        QCOMPARE(messages.texts(), QStringList{"OK| Finish"});
        QVERIFY(w.isVisible() && back(w, 10, 8) == GroupWindow::basicColour(1));
        click(w, QStringLiteral("Command1"));
        QCOMPARE(m_groups.encodeArea(), QByteArray(88, '\0'));
        QVERIFY(looksUnlinked(w, 10, 8));
        click(w, QStringLiteral("Command2"));
        QVERIFY(!w.isVisible() && w.result() == QDialog::Accepted);
    }

    // GROUP_SET opens the window modally after the bank total is put right.
    void groupSetOpensModally() {
        MainWindow main;
        MessageRecorder messages;
        main.document().groups.setLinked(0, 0, true);
        main.selectPage(MainWindow::BankPage);
        main.document().banks.setCount(0, 0); // total 900: reset when the window opens
        int countWhileOpen = -1;
        auto shown = onModal<GroupWindow>(main, [&](GroupWindow *dialog) {
            countWhileOpen = main.document().banks.count(0);
            dialog->okClicked();
        });
        click(main, QStringLiteral("GROUP_SET"));
        QVERIFY(shown->seen && main.document().groups.isLinked(0, 0));
        QCOMPARE(countWhileOpen, 100);
    }

private:
    static int col(int bank) { return GroupWindow::columnOfBank(bank); }
    static void clickCell(GroupWindow &w, int row, int column) {
        const QRect r = w.grid()->visualItemRect(w.grid()->item(row, column));
        QTest::mouseClick(w.grid()->viewport(), Qt::LeftButton, {}, r.center());
    }
    static QTableWidgetItem *cell(GroupWindow &w, int group, int bank) {
        return w.grid()->item(group + 1, col(bank));
    }
    static QColor back(GroupWindow &w, int g, int b) { return cell(w, g, b)->background().color(); }
    static bool looksUnlinked(GroupWindow &w, int group, int bank) {
        return cell(w, group, bank)->background().style() == Qt::NoBrush &&
               cell(w, group, bank)->foreground().color() == Qt::black;
    }
};

QTEST_MAIN(GroupWindowTest)
#include "tst_groupwindow.moc"
