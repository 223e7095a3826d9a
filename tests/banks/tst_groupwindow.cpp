// The group window: grid layout, colours, toggling, Clear and OK, the
// buttons during a transfer, the automatic read of the whole-radio read,
// and GROUP_SET.

#include "GuiFixture.h"
#include "core/banks/BankTable.h"
#include "core/banks/GroupTable.h"
#include "gui/banks/GroupWindow.h"
#include "gui/shell/MainWindow.h"

#include <QLabel>
#include <QTableWidget>
#include <QtTest>

using namespace kpr5;
using namespace kpr5::test;

namespace {

void clickCell(GroupWindow &w, int row, int column) {
    QTableWidget *grid = w.grid();
    const QRect r = grid->visualItemRect(grid->item(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
}

QColor back(GroupWindow &w, int group, int bank) {
    return w.grid()->item(group + 1, GroupWindow::columnOfBank(bank))->background().color();
}

bool looksUnlinked(GroupWindow &w, int group, int bank) {
    const QTableWidgetItem *item = w.grid()->item(group + 1, GroupWindow::columnOfBank(bank));
    return item->background().style() == Qt::NoBrush && item->foreground().color() == Qt::black;
}

} // namespace

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

    void gridGeometry() {
        GroupWindow w(m_banks, m_groups, m_mainLink.sharedPortSettings(), false);
        QCOMPARE(w.objectName(), QStringLiteral("Form5"));
        QCOMPARE(w.windowTitle(), QStringLiteral("BANK-LINK Setting"));
        QTableWidget *grid = find<QTableWidget>(w, QStringLiteral("MSFlexGrid1"));
        QCOMPARE(grid, w.grid());
        QCOMPARE(grid->rowCount(), 12);
        QCOMPARE(grid->item(0, 0)->text(), QString());
        QCOMPARE(grid->item(1, 0)->text(), QStringLiteral("Group0"));
        QCOMPARE(grid->item(11, 0)->text(), QStringLiteral("GroupB"));
        QString header;
        for (int c = 1; c < grid->columnCount(); ++c)
            header += GroupWindow::isSeparator(c) ? QStringLiteral("|") : grid->item(0, c)->text();
        QCOMPARE(header, QStringLiteral("0123456789|0123456789|0123456789|0123456789|0123456789"));
        QVERIFY(grid->columnWidth(44) < grid->columnWidth(1));
        QCOMPARE(find<QLabel>(w, QStringLiteral("Label1(4)"))->text(),
                 QStringLiteral("BANK40\uFF5E49"));
        const QStringList captions{"Read", "Write", "Clear", "OK"};
        const QStringList names{"GROUP_READ", "GROUP_WRITE", "Command1", "Command2"};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(find<QAbstractButton>(w, names[i])->text(), captions[i]);
        QCOMPARE(w.link().replyTimeout(), 200);
    }

    void columnsMapToBanks_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("bank");
        QTest::newRow("names") << 0 << -1;
        QTest::newRow("first") << 1 << 0;
        QTest::newRow("separator") << 11 << -1;
        QTest::newRow("bank 10") << 12 << 10;
        QTest::newRow("bank 40") << 45 << 40;
        QTest::newRow("last") << 54 << 49;
        QTest::newRow("beyond") << 55 << -1;
    }
    void columnsMapToBanks() {
        QFETCH(int, column);
        QFETCH(int, bank);
        QCOMPARE(GroupWindow::bankOfColumn(column), bank);
        if (bank >= 0) QCOMPARE(GroupWindow::columnOfBank(bank), column);
    }

    // An empty bank is unlinked and grey when the window opens; a linked
    // bank shows red on blue.
    void emptyBankIsClearedAndGreyWhenOpened() {
        m_groups.setLinked(5, 3, true);
        m_groups.setLinked(5, 4, true);
        m_banks.setCount(3, 0);
        GroupWindow w(m_banks, m_groups, m_mainLink.sharedPortSettings(), false);
        QVERIFY(!m_groups.isLinked(5, 3));
        QCOMPARE(back(w, 5, 3), GroupWindow::basicColour(8));
        QCOMPARE(back(w, 5, 4), GroupWindow::basicColour(1));
        QCOMPARE(w.grid()->item(6, GroupWindow::columnOfBank(4))->foreground().color(),
                 QColor(255, 0, 0));
        QCOMPARE(back(w, 5, 20), GroupWindow::basicColour(8)); // banks 10-49 are empty
        QVERIFY(looksUnlinked(w, 0, 0));
    }

    void clickTogglesAvailableBanksOnly() {
        m_banks.setCount(9, 0);
        m_banks.setCount(11, 100);
        GroupWindow w(m_banks, m_groups, m_mainLink.sharedPortSettings(), false);
        w.show();
        clickCell(w, 1, GroupWindow::columnOfBank(0));
        clickCell(w, 11, GroupWindow::columnOfBank(11));
        QVERIFY(m_groups.isLinked(0, 0) && m_groups.isLinked(10, 11));
        QCOMPARE(back(w, 0, 0), GroupWindow::basicColour(1));
        clickCell(w, 1, GroupWindow::columnOfBank(0));
        QVERIFY(!m_groups.isLinked(0, 0));
        QVERIFY(looksUnlinked(w, 0, 0));

        const QByteArray before = m_groups.encodeArea();
        clickCell(w, 1, GroupWindow::columnOfBank(9)); // empty bank
        clickCell(w, 1, 11);                           // separator
        clickCell(w, 0, GroupWindow::columnOfBank(1)); // header
        clickCell(w, 2, 0);                            // group name
        QCOMPARE(m_groups.encodeArea(), before);
        QCOMPARE(back(w, 0, 9), GroupWindow::basicColour(8));
    }

    // Clear and OK; neither (nor the close box) while a transfer runs.
    void clearAndOk() {
        m_groups.setLinked(0, 1, true);
        m_groups.setLinked(10, 2, true);
        GroupWindow w(m_banks, m_groups, m_mainLink.sharedPortSettings(), false);
        w.show();
        {
            test::OtherTransfer busy(w.link(), w);
            click(w, QStringLiteral("Command1"));
            w.clearClicked();
            w.okClicked();
            w.reject();
            QVERIFY(w.isVisible());
            QVERIFY(m_groups.isLinked(0, 1));
        }
        click(w, QStringLiteral("Command1"));
        QCOMPARE(m_groups.encodeArea(), QByteArray(88, '\0'));
        QVERIFY(looksUnlinked(w, 10, 2));
        click(w, QStringLiteral("Command2"));
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Accepted));
    }

    // While the radio takes its time the four buttons are off; by the
    // message they are back, and the grid shows what was read.
    void buttonsDuringARead() {
        sim::SimOptions slow;
        slow.latencyMs = 60;
        sim::RadioSimulator radio(slow);
        connectLink(m_mainLink, radio);
        MessageRecorder messages;
        radio.write(0x100 + 8 * 10 + 1, QByteArray(1, '\x80')); // GroupB: bank 8
        GroupWindow w(m_banks, m_groups, m_mainLink.sharedPortSettings(), false);
        w.show();
        QList<bool> enabledMidway;
        QTimer::singleShot(30, [&] {
            for (const char *name : {"GROUP_READ", "GROUP_WRITE", "Command1", "Command2"})
                enabledMidway << find(w, QLatin1String(name))->isEnabled();
        });
        bool enabledAtMessage = false;
        messages.onMessage = [&](const ui::MessageRecord &) {
            enabledAtMessage = find(w, QStringLiteral("GROUP_READ"))->isEnabled();
        };
        click(w, QStringLiteral("GROUP_READ"));
        QCOMPARE(messages.texts(), QStringList{"OK| Finish"});
        QCOMPARE(enabledMidway, (QList<bool>{false, false, false, false}));
        QVERIFY(enabledAtMessage);
        QVERIFY(w.isVisible());
        QCOMPARE(back(w, 10, 8), GroupWindow::basicColour(1));
    }

    void automaticReadClosesTheWindow() {
        sim::RadioSimulator radio;
        connectLink(m_mainLink, radio);
        MessageRecorder messages;
        radio.write(0x100 + 8 * 7, QByteArray(1, '\x20')); // Group7: bank 2
        GroupWindow w(m_banks, m_groups, m_mainLink.sharedPortSettings(), true);
        w.show();
        QTRY_VERIFY(!w.isVisible());
        QCOMPARE(messages.texts(), QStringList{"Success ALL DATA READ| Finish"});
        QVERIFY(m_groups.isLinked(7, 2));
    }

    // GROUP_SET opens the window modally after the bank total is put right;
    // it is unloaded when closed, and does not open while a transfer runs.
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
        QVERIFY(shown->seen);
        QCOMPARE(countWhileOpen, 100);
        QVERIFY(main.document().groups.isLinked(0, 0));
        QVERIFY(!main.findChild<GroupWindow *>());

        test::OtherTransfer busy(main.link(), main);
        shown = onModal<GroupWindow>(main);
        openGroupWindow(main.workspace(), false);
        QTRY_VERIFY(shown->done);
        QVERIFY(!shown->seen);
    }
};

QTEST_MAIN(GroupWindowTest)
#include "tst_groupwindow.moc"
