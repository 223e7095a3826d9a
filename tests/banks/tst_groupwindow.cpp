// The group window: grid layout, colours, toggling, Clear and OK, its own
// transfers, the automatic read of the whole-radio read, and GROUP_SET.

#include "GuiFixture.h"
#include "core/banks/BankTable.h"
#include "core/banks/GroupTable.h"
#include "gui/banks/GroupWindow.h"
#include "gui/shell/MainWindow.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

using namespace kpr5;
using namespace kpr5::test;

namespace {

QPushButton *button(QWidget &w, const char *name) {
    return w.findChild<QPushButton *>(QLatin1String(name));
}

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
private Q_SLOTS:
    void init();

    void gridGeometry();
    void columnsMapToBanks_data();
    void columnsMapToBanks();
    void emptyBankIsClearedAndGreyWhenOpened();
    void clickTogglesAvailableBanksOnly();
    void clearAndOk();
    void busyWindowIgnoresClearAndOk();
    void readAndWriteThroughTheButtons();
    void automaticReadClosesTheWindow();
    void closingDuringATransferEndsIt();
    void groupSetOpensModally();

private:
    BankTable m_banks;
    GroupTable m_groups;
    SerialLink m_mainLink;
};

void GroupWindowTest::init() {
    m_banks.reset();
    m_groups.clear();
}

void GroupWindowTest::gridGeometry() {
    GroupWindow w(m_banks, m_groups, m_mainLink.sharedPortSettings(), false);
    QCOMPARE(w.objectName(), QStringLiteral("Form5"));
    QCOMPARE(w.windowTitle(), QStringLiteral("BANK-LINK Setting"));
    QTableWidget *grid = w.grid();
    QCOMPARE(grid->objectName(), QStringLiteral("MSFlexGrid1"));
    QCOMPARE(grid->rowCount(), 12);
    QCOMPARE(grid->columnCount(), 55);
    QCOMPARE(grid->item(1, 0)->text(), QStringLiteral("Group0"));
    QCOMPARE(grid->item(10, 0)->text(), QStringLiteral("Group9"));
    QCOMPARE(grid->item(11, 0)->text(), QStringLiteral("GroupB"));
    QString header;
    for (int c = 1; c < 55; ++c)
        header += GroupWindow::isSeparator(c) ? QStringLiteral("|") : grid->item(0, c)->text();
    QCOMPARE(header, QStringLiteral("0123456789|0123456789|0123456789|0123456789|0123456789"));
    for (int c : {11, 22, 33, 44}) {
        QVERIFY(grid->columnWidth(c) < grid->columnWidth(1));
        QVERIFY(grid->item(0, c)->text().isEmpty());
    }
    QVERIFY(grid->columnWidth(1) < grid->columnWidth(0));
    // 700, 200 and 20 twips
    QCOMPARE(grid->columnWidth(0), 46);
    QCOMPARE(grid->columnWidth(54), 13);
    QCOMPARE(grid->columnWidth(44), 1);
    QStringList labels;
    for (int i = 0; i < 5; ++i)
        labels << w.findChild<QLabel *>(QStringLiteral("Label1(%1)").arg(i))->text();
    QCOMPARE(labels,
             (QStringList{QStringLiteral("BANK0\uFF5E9"), QStringLiteral("BANK10\uFF5E19"),
                          QStringLiteral("BANK20\uFF5E29"), QStringLiteral("BANK30\uFF5E39"),
                          QStringLiteral("BANK40\uFF5E49")}));
    const QList<QPair<const char *, QString>> buttons = {{"GROUP_READ", "Read"},
                                                         {"GROUP_WRITE", "Write"},
                                                         {"Command1", "Clear"},
                                                         {"Command2", "OK"}};
    for (const auto &[name, caption] : buttons)
        QCOMPARE(button(w, name)->text(), caption);
    QCOMPARE(w.link().replyTimeout(), 200);
}

void GroupWindowTest::columnsMapToBanks_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("bank");
    QTest::newRow("names") << 0 << -1;
    QTest::newRow("first") << 1 << 0;
    QTest::newRow("bank 9") << 10 << 9;
    QTest::newRow("separator") << 11 << -1;
    QTest::newRow("bank 10") << 12 << 10;
    QTest::newRow("bank 39") << 43 << 39;
    QTest::newRow("separator 44") << 44 << -1;
    QTest::newRow("bank 40") << 45 << 40;
    QTest::newRow("last") << 54 << 49;
    QTest::newRow("beyond") << 55 << -1;
}

void GroupWindowTest::columnsMapToBanks() {
    QFETCH(int, column);
    QFETCH(int, bank);
    QCOMPARE(GroupWindow::bankOfColumn(column), bank);
    if (bank >= 0) QCOMPARE(GroupWindow::columnOfBank(bank), column);
}

void GroupWindowTest::emptyBankIsClearedAndGreyWhenOpened() {
    for (int g = 0; g < 11; ++g) {
        m_groups.setLinked(g, 3, true);
        m_groups.setLinked(g, 4, true);
    }
    m_banks.setCount(3, 0);
    GroupWindow w(m_banks, m_groups, m_mainLink.sharedPortSettings(), false);
    for (int g = 0; g < 11; ++g) {
        QVERIFY(!m_groups.isLinked(g, 3));
        QVERIFY(m_groups.isLinked(g, 4));
        QCOMPARE(back(w, g, 3), GroupWindow::basicColour(8));
        QCOMPARE(back(w, g, 4), GroupWindow::basicColour(1));
        QCOMPARE(w.grid()->item(g + 1, GroupWindow::columnOfBank(4))->foreground().color(),
                 QColor(255, 0, 0));
        QCOMPARE(back(w, g, 20), GroupWindow::basicColour(8)); // banks 10-49 are empty
    }
    QVERIFY(looksUnlinked(w, 0, 0));
}

void GroupWindowTest::clickTogglesAvailableBanksOnly() {
    m_banks.setCount(9, 0);
    m_banks.setCount(11, 100);
    GroupWindow w(m_banks, m_groups, m_mainLink.sharedPortSettings(), false);
    w.show();
    clickCell(w, 1, GroupWindow::columnOfBank(0));
    clickCell(w, 11, GroupWindow::columnOfBank(11));
    QVERIFY(m_groups.isLinked(0, 0));
    QVERIFY(m_groups.isLinked(10, 11));
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

void GroupWindowTest::clearAndOk() {
    m_groups.setLinked(0, 1, true);
    m_groups.setLinked(10, 2, true);
    GroupWindow w(m_banks, m_groups, m_mainLink.sharedPortSettings(), false);
    w.show();
    QTest::mouseClick(button(w, "Command1"), Qt::LeftButton);
    QCOMPARE(m_groups.encodeArea(), QByteArray(88, '\0'));
    QVERIFY(looksUnlinked(w, 10, 2));
    QCOMPARE(back(w, 0, 30), GroupWindow::basicColour(8));
    QTest::mouseClick(button(w, "Command2"), Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Accepted));
}

void GroupWindowTest::busyWindowIgnoresClearAndOk() {
    m_groups.setLinked(0, 1, true);
    GroupWindow w(m_banks, m_groups, m_mainLink.sharedPortSettings(), false);
    w.show();
    {
        test::OtherTransfer busy(w.link(), w);
        w.clearClicked();
        w.okClicked();
        w.reject();
        QVERIFY(w.isVisible());
        QVERIFY(m_groups.isLinked(0, 1));
    }
    w.okClicked();
    QVERIFY(!w.isVisible());
}

void GroupWindowTest::readAndWriteThroughTheButtons() {
    sim::RadioSimulator radio;
    connectLink(m_mainLink, radio);
    MessageRecorder messages;
    QByteArray area(88, '\0');
    area[0] = char(0xC0);          // group 0: banks 0, 1
    area[8 * 10 + 1] = char(0x80); // GroupB: bank 8
    area[8 * 10 + 2] = char(0x01); // GroupB: bank 23, which is empty
    radio.write(0x100, area);

    GroupWindow w(m_banks, m_groups, m_mainLink.sharedPortSettings(), false);
    w.show();
    // While the radio takes its time, the four buttons are off; by the
    // message they are back.
    sim::SimOptions slow;
    slow.latencyMs = 60;
    radio.setOptions(slow);
    QList<bool> enabledMidway;
    QTimer::singleShot(30, [&] {
        for (const char *name : {"GROUP_READ", "GROUP_WRITE", "Command1", "Command2"})
            enabledMidway << button(w, name)->isEnabled();
    });
    bool enabledAtMessage = false;
    messages.onMessage = [&](const ui::MessageRecord &) {
        enabledAtMessage = button(w, "GROUP_READ")->isEnabled();
    };
    QTest::mouseClick(button(w, "GROUP_READ"), Qt::LeftButton);
    QCOMPARE(messages.texts(), QStringList{"OK| Finish"});
    QCOMPARE(enabledMidway, (QList<bool>{false, false, false, false}));
    QVERIFY(enabledAtMessage);
    radio.setOptions({});
    QVERIFY(w.isVisible());
    QVERIFY(m_groups.isLinked(0, 0) && m_groups.isLinked(0, 1));
    QVERIFY(m_groups.isLinked(10, 8));
    QVERIFY(!m_groups.isLinked(10, 23)); // an empty bank cannot be linked
    QCOMPARE(back(w, 10, 8), GroupWindow::basicColour(1));

    clickCell(w, 6, GroupWindow::columnOfBank(5)); // Group5: bank 5
    const QByteArray before = radio.image();
    QTest::mouseClick(button(w, "GROUP_WRITE"), Qt::LeftButton);
    QCOMPARE(messages.texts().last(), QStringLiteral("Success Group Data Write| Finish"));
    const QByteArray after = radio.image();
    QCOMPARE(after.mid(0x100, 88), m_groups.encodeArea());
    QCOMPARE(after.at(0x100 + 8 * 5), char(0x04));
    QCOMPARE(after.left(0x100), before.left(0x100));
    QCOMPARE(after.mid(0x158), before.mid(0x158));
}

void GroupWindowTest::automaticReadClosesTheWindow() {
    sim::RadioSimulator radio;
    connectLink(m_mainLink, radio);
    MessageRecorder messages;
    radio.write(0x100 + 8 * 7, QByteArray::fromHex("2000000000000000")); // Group7: bank 2
    GroupWindow w(m_banks, m_groups, m_mainLink.sharedPortSettings(), true);
    w.show();
    QTRY_VERIFY(!w.isVisible());
    QCOMPARE(messages.texts(), QStringList{"Success ALL DATA READ| Finish"});
    QVERIFY(m_groups.isLinked(7, 2));
}

void GroupWindowTest::closingDuringATransferEndsIt() {
    sim::SimOptions silent;
    silent.silent = true;
    sim::RadioSimulator radio(silent);
    connectLink(m_mainLink, radio);
    MessageRecorder messages;
    GroupWindow w(m_banks, m_groups, m_mainLink.sharedPortSettings(), false);
    w.show();
    QTimer::singleShot(50, &w, [&] { w.close(); });
    QTest::mouseClick(button(w, "GROUP_WRITE"), Qt::LeftButton);
    QTRY_VERIFY(!w.isVisible());
    QVERIFY(messages.records.isEmpty());
    QCOMPARE(radio.frameCount(), 1);
    QVERIFY(!w.busy());
}

void GroupWindowTest::groupSetOpensModally() {
    MainWindow main;
    MessageRecorder messages;
    main.document().groups.setLinked(0, 0, true);
    main.document().banks.setCount(0, 0); // total 900: reset when the window opens
    main.selectPage(MainWindow::BankPage);
    QCOMPARE(main.document().banks.count(0), 100); // entering the page reset it already
    main.document().banks.setCount(0, 0);

    bool opened = false;
    int countWhileOpen = -1;
    bool linkedWhileOpen = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<GroupWindow *>(QApplication::activeModalWidget());
        opened = dialog != nullptr;
        countWhileOpen = main.document().banks.count(0);
        linkedWhileOpen = main.document().groups.isLinked(0, 0);
        if (dialog) dialog->okClicked();
    });
    QTest::mouseClick(main.findChild<QPushButton *>(QStringLiteral("GROUP_SET")), Qt::LeftButton);
    QVERIFY(opened);
    QCOMPARE(countWhileOpen, 100);
    QVERIFY(linkedWhileOpen);
    QVERIFY(!main.findChild<GroupWindow *>()); // unloaded when closed

    // Nothing opens while a transfer runs.
    {
        test::OtherTransfer busy(main.link(), main);
        opened = false;
        bool timerRan = false;
        QTimer::singleShot(0, [&] {
            timerRan = true;
            opened = QApplication::activeModalWidget() != nullptr;
        });
        openGroupWindow(main.workspace(), false);
        QTRY_VERIFY(timerRan);
        QVERIFY(!opened);
    }
}

QTEST_MAIN(GroupWindowTest)
#include "tst_groupwindow.moc"
