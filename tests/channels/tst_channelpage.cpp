// The Memory page on the real main window: the grid, the row commands around
// the call-channel and bug-detector rows, the detail editor opened from the
// grid, and the transfer buttons against the simulated radio.

#include "GuiFixture.h"
#include "core/channels/ChannelTable.h"
#include "gui/channels/ChannelGridView.h"
#include "gui/channels/ChannelPage.h"
#include "gui/channels/DetailDialog.h"
#include "gui/shell/MainWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace kpr5;
using namespace kpr5::test;
using C = kpr5::ChannelTable;

namespace {

ChannelGridView *grid(MainWindow &w) {
    return w.findChild<ChannelGridView *>(QStringLiteral("MSFlexGrid1"));
}
QAbstractButton *button(MainWindow &w, const char *name) {
    return w.findChild<QAbstractButton *>(QLatin1String(name));
}

void putRow(C &t, int row, const QString &frequency, const QString &name = QStringLiteral("N")) {
    t.setText(row, C::FreqCol, frequency);
    t.setText(row, C::ModeCol, QStringLiteral("FM"));
    t.setText(row, C::NameCol, name);
    t.setStoredName(row - 1, name);
    t.setTxToneIndex(row - 1, 3);
    t.setInUse(row - 1, 1);
}

bool rowEmpty(const C &t, int row) {
    for (int c = 1; c <= C::kColumns; ++c)
        if (!t.text(row, c).isEmpty()) return false;
    return t.inUse(row - 1) == 0 && t.storedName(row - 1).isEmpty();
}

// Acts on the detail editor once its exec() runs (looking for it for half a
// second, while `window` lives). `seen` tells whether one opened.
std::shared_ptr<bool> onEditor(QWidget &window, const std::function<void(DetailDialog *)> &act) {
    auto seen = std::make_shared<bool>(false);
    auto *poll = new QTimer(&window);
    poll->setInterval(5);
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [seen, act, poll, tries] {
        auto *d = qobject_cast<DetailDialog *>(QApplication::activeModalWidget());
        if (!d && ++*tries < 100) return;
        poll->stop();
        poll->deleteLater();
        *seen = d != nullptr;
        if (!d) return;
        act(d);
        if (d->isVisible()) d->reject();
    });
    poll->start();
    return seen;
}

// A double-click as the window system delivers it: press, release, double-click.
void doubleClick(ChannelGridView *g, QPoint at) {
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, at);
}

template <class T> T *control(DetailDialog *d, const char *name) {
    return d->findChild<T *>(QLatin1String(name));
}

void put32(QByteArray &b, int at, quint32 v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// A channel record as the radio holds it: FM, 5 kHz step, name of ASCII letters.
QByteArray record(quint32 hz, const QByteArray &name) {
    QByteArray b(64, '\0');
    b[0] = 1;
    put32(b, 1, hz);
    b[5] = 1;
    b[16] = 28;
    b[18] = 0x3E;
    b[20] = 0x0A;
    for (int i = 0; i < name.size() && i < 16; ++i)
        b[32 + 2 * i] = name[i];
    return b;
}

quint32 recordAddress(int row) {
    return 0x1200 + 64 * quint32(row - 1);
} // rows outside 1101-1300

} // namespace

class ChannelPageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void gridShowsTheTable() {
        MainWindow w;
        ChannelGridView *g = grid(w);
        QVERIFY(g);
        QCOMPARE(g->model()->rowCount(), 1623);
        QCOMPARE(g->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Freqency"));
        QCOMPARE(g->model()->headerData(9, Qt::Horizontal).toString(),
                 QStringLiteral("Shift-Freq"));
        QCOMPARE(g->model()->headerData(1401, Qt::Vertical).toString(), QStringLiteral("CALL-UHF"));
        QCOMPARE(g->model()->index(1402, 0).data().toString(), QStringLiteral("1295.00000MHz"));
        w.document().channels.setText(7, C::NameCol, QStringLiteral("HELLO"));
        QCOMPARE(g->model()->index(6, 11).data().toString(), QStringLiteral("HELLO"));
        for (const char *name : {"READ_Botton", "WRITE_Botton", "MEM_ONE_READ", "MEM_ONE_WRITE",
                                 "Clear_Botton", "ALL_Reset", "LIST_SET(0)", "LIST_SET(1)"})
            QVERIFY2(button(w, name), name);
        QCOMPARE(button(w, "LIST_SET(0)")->text(), QStringLiteral("Up"));
        QCOMPARE(button(w, "LIST_SET(1)")->text(), QStringLiteral("Down"));
    }

    void selectionEnds() {
        MainWindow w;
        w.show();
        ChannelGridView *g = grid(w);
        g->setCurrentCell(10, 1);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(g, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(g->currentRow(), 13);
        QCOMPARE(g->selectionEnd(), 10);
        g->setCurrentCell(20, 3, 5);
        QCOMPARE(g->currentRow(), 20);
        QCOMPARE(g->selectionEnd(), 5);
    }

    void rowCommands_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("end");
        QTest::addColumn<QList<int>>("emptied"); // of the sample rows

        QTest::newRow("delete across call rows")
            << "delete" << 1400 << 1405 << QList<int>{1400, 1404, 1405};
        QTest::newRow("delete bottom-up")
            << "delete" << 1405 << 1400 << QList<int>{1400, 1404, 1405};
        QTest::newRow("delete on a call row") << "delete" << 1402 << 1405 << QList<int>{};
        QTest::newRow("delete into bug rows") << "delete" << 1602 << 1610 << QList<int>{1602, 1603};
        QTest::newRow("delete on a bug row") << "delete" << 1606 << 1602 << QList<int>{};
        QTest::newRow("delete one row") << "delete" << 1399 << 1399 << QList<int>{1399};
        QTest::newRow("clear across call rows")
            << "clear" << 1400 << 1405 << QList<int>{1400, 1404, 1405};
        QTest::newRow("clear ending in bug rows")
            << "clear" << 1602 << 1610 << QList<int>{1602, 1603};
        QTest::newRow("clear from bug rows up")
            << "clear" << 1610 << 1602 << QList<int>{1602, 1603};
        QTest::newRow("clear within bug rows") << "clear" << 1605 << 1610 << QList<int>{};
        QTest::newRow("clear one call row") << "clear" << 1402 << 1402 << QList<int>{};
        QTest::newRow("clear one row") << "clear" << 1404 << 1404 << QList<int>{1404};
        QTest::newRow("reset") << "reset" << 1 << 1
                               << QList<int>{1, 1399, 1400, 1404, 1405, 1500, 1602, 1603};
    }

    // The call channels and the bug-detector presets survive every row command.
    void rowCommands() {
        QFETCH(QString, command);
        QFETCH(int, current);
        QFETCH(int, end);
        QFETCH(QList<int>, emptied);
        MainWindow w;
        w.show();
        C &t = w.document().channels;
        const QList<int> samples{1,    1399, 1400, 1401, 1402, 1403, 1404, 1405, 1406,
                                 1500, 1601, 1602, 1603, 1604, 1605, 1610, 1611, 1623};
        for (int row : samples)
            if (!C::isCallRow(row) && !C::isBugRow(row))
                putRow(t, row, QStringLiteral("145.%1MHz").arg(row, 5, 10, QLatin1Char('0')));
        ChannelGridView *g = grid(w);
        g->setCurrentCell(current, 2, end);
        if (command == QLatin1String("delete"))
            QTest::keyClick(g, Qt::Key_Delete);
        else if (command == QLatin1String("clear"))
            button(w, "Clear_Botton")->click();
        else
            button(w, "ALL_Reset")->click();
        for (int row : samples) {
            const bool expectEmpty = emptied.contains(row) || (command == QLatin1String("reset") &&
                                                               row <= 1603 && !C::isCallRow(row));
            QVERIFY2(rowEmpty(t, row) == expectEmpty, qPrintable(QString::number(row)));
        }
        QCOMPARE(t.text(1402, C::FreqCol), QStringLiteral("433.00000MHz"));
        QCOMPARE(t.text(1610, C::FreqCol), QStringLiteral("140.00000MHz"));
        // The current cell and the selection are as they were.
        QCOMPARE(g->currentRow(), current);
        QCOMPARE(g->selectionEnd(), end);
        QVERIFY(g->isEnabled());
        QVERIFY(g->updatesEnabled());
        QVERIFY(button(w, "ALL_Reset")->isEnabled());
        QCOMPARE(w.progressBar()->value(), 0);
    }

    void upAndDown() {
        MainWindow w;
        w.show();
        ChannelGridView *g = grid(w);
        g->setCurrentCell(1, 1);
        button(w, "LIST_SET(0)")->click();
        QCOMPARE(g->currentRow(), 1);
        button(w, "LIST_SET(1)")->click();
        QCOMPARE(g->currentRow(), 2);
        g->setCurrentCell(1623, 1);
        button(w, "LIST_SET(1)")->click();
        QCOMPARE(g->currentRow(), 1623);
        button(w, "LIST_SET(0)")->click();
        QCOMPARE(g->currentRow(), 1622);
        QVERIFY(g->visualRect(g->currentIndex()).intersects(g->viewport()->rect()));
        // Not while a transfer runs.
        {
            test::OtherTransfer busy(w.link(), w);
            button(w, "LIST_SET(0)")->click();
            QCOMPARE(g->currentRow(), 1622);
        }
    }

    void enterOnSubRowOpensThePair() {
        MainWindow w;
        w.show();
        C &t = w.document().channels;
        putRow(t, 1101, QStringLiteral("145.00000MHz"), QStringLiteral("MAIN"));
        putRow(t, 1102, QStringLiteral("433.00000MHz"), QStringLiteral("SUB"));
        ChannelGridView *g = grid(w);
        g->setCurrentCell(1102, 1);
        QString first, second, label;
        bool secondShown = false, gridEnabled = true;
        const auto seen = onEditor(w, [&](DetailDialog *d) {
            first = control<QLineEdit>(d, "DETAIL_FREQ_1")->text();
            second = control<QLineEdit>(d, "DETAIL_FREQ_1_2")->text();
            secondShown = control<QLineEdit>(d, "DETAIL_FREQ_1_2")->isVisible();
            label = d->findChild<QWidget *>(QStringLiteral("Label2"))->property("text").toString();
            gridEnabled = g->isEnabled();
            control<QAbstractButton>(d, "DETAIL_CANCEL")->click();
        });
        QTest::keyClick(g, Qt::Key_Return);
        QVERIFY(*seen);
        QCOMPARE(first, QStringLiteral("145"));
        QCOMPARE(second, QStringLiteral("433"));
        QVERIFY(secondShown);
        QCOMPARE(label, QStringLiteral("Dual0(Main) "));
        QVERIFY(!gridEnabled);
        QVERIFY(g->isEnabled());
        QCOMPARE(g->currentRow(), 1101);
        QCOMPARE(t.text(1102, C::NameCol), QStringLiteral("SUB"));
    }

    void doubleClickEditsTheRow() {
        MainWindow w;
        w.show();
        C &t = w.document().channels;
        ChannelGridView *g = grid(w);
        g->setCurrentCell(3, 1);
        const auto seen = onEditor(w, [](DetailDialog *d) {
            control<QLineEdit>(d, "DETAIL_FREQ_1")->setText(QStringLiteral("439"));
            control<QLineEdit>(d, "DETAIL_FREQ_2")->setText(QStringLiteral("5"));
            control<QAbstractButton>(d, "DETAIL_ENTER")->click();
        });
        const QRect cell = g->visualRect(g->model()->index(2, 0));
        doubleClick(g, cell.center());
        QVERIFY(*seen);
        QCOMPARE(t.text(3, C::FreqCol), QStringLiteral("439.50000MHz"));
        QCOMPARE(t.inUse(2), quint8(1));
    }

    void bugRowsDoNotOpen() {
        MainWindow w;
        w.show();
        ChannelGridView *g = grid(w);
        g->setCurrentCell(1610, 1);
        const auto seen = onEditor(w, [](DetailDialog *) {});
        QTest::keyClick(g, Qt::Key_Return);
        doubleClick(g, g->visualRect(g->currentIndex()).center());
        QTest::qWait(600);
        QVERIFY(!*seen);
        QCOMPARE(w.document().channels.text(1610, C::FreqCol), QStringLiteral("140.00000MHz"));
    }

    void overlappingPassChannelIsRefused() {
        MainWindow w;
        w.show();
        MessageRecorder messages;
        C &t = w.document().channels;
        putRow(t, 1404, QStringLiteral("145.12000MHz"), QStringLiteral("P0"));
        putRow(t, 1405, QStringLiteral("430.00000MHz"), QStringLiteral("P1"));
        ChannelGridView *g = grid(w);
        const auto edit = [&](const QString &decimals) {
            g->setCurrentCell(1405, 1);
            const auto seen = onEditor(w, [decimals](DetailDialog *d) {
                control<QLineEdit>(d, "DETAIL_FREQ_1")->setText(QStringLiteral("145"));
                control<QLineEdit>(d, "DETAIL_FREQ_2")->setText(decimals);
                control<QAbstractButton>(d, "DETAIL_ENTER")->click();
            });
            QTest::keyClick(g, Qt::Key_Return);
            QVERIFY(*seen);
        };
        edit(QStringLiteral("12050"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Overlaps in Frequency| Error")});
        QCOMPARE(t.text(1405, C::FreqCol), QStringLiteral("430.00000MHz"));
        QCOMPARE(t.inUse(1404), quint8(1));
        QVERIFY(g->isEnabled());
        edit(QStringLiteral("12500"));
        QCOMPARE(messages.records.size(), 1);
        QCOMPARE(t.text(1405, C::FreqCol), QStringLiteral("145.12500MHz"));
    }

    // A full read through the button: the window keeps running events, the
    // progress moves, the grid neither paints nor scrolls row by row, and the
    // rows show what the radio holds.
    void readButtonShowsTheRows() {
        sim::RadioSimulator radio;
        radio.write(recordAddress(1), record(145500000, "FIRST"));
        radio.write(recordAddress(1000), record(430000000, "LAST"));
        radio.write(recordAddress(1404), record(145120000, "PASS"));
        MainWindow w;
        w.show();
        MessageRecorder messages;
        connectLink(w.link(), radio);
        C &t = w.document().channels;
        putRow(t, 500, QStringLiteral("146.00000MHz"));
        ChannelGridView *g = grid(w);
        g->setCurrentCell(700, 3);
        const int top = g->verticalScrollBar()->value();

        int ticks = 0, painting = 0;
        QSet<int> progress, rows;
        QTimer watch;
        watch.setInterval(10);
        connect(&watch, &QTimer::timeout, [&] {
            if (w.link().busy() == false) return;
            ++ticks;
            painting += g->updatesEnabled() ? 1 : 0;
            progress << w.progressBar()->value();
            rows << g->currentRow();
            QCOMPARE(g->verticalScrollBar()->value(), top);
        });
        watch.start();
        button(w, "READ_Botton")->click();
        watch.stop();

        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Success| Finish")});
        QVERIFY2(ticks > 5, qPrintable(QString::number(ticks)));
        QCOMPARE(painting, 0);
        QVERIFY(progress.size() > 3);
        QVERIFY(rows.size() > 3);
        QCOMPARE(g->model()->index(0, 0).data().toString(), QStringLiteral("145.50000MHz"));
        QCOMPARE(g->model()->index(0, 11).data().toString(), QStringLiteral("FIRST"));
        QCOMPARE(g->model()->index(999, 11).data().toString(), QStringLiteral("LAST"));
        QCOMPARE(g->model()->index(1403, 0).data().toString(), QStringLiteral("145.12000MHz"));
        QVERIFY(t.text(500, C::FreqCol).isEmpty());
        QCOMPARE(t.text(1401, C::FreqCol),
                 QStringLiteral("145.00000MHz")); // empty call channel keeps its texts
        // The end of the transfer: row 1, column 12, painting again, controls back.
        QCOMPARE(g->currentRow(), 1);
        QCOMPARE(g->currentIndex().column() + 1, 12);
        QCOMPARE(g->selectionEnd(), 1);
        QVERIFY(g->updatesEnabled());
        QVERIFY(g->isEnabled());
        QVERIFY(button(w, "READ_Botton")->isEnabled());
        QVERIFY(!w.link().busy());
    }

    // A selection made from the bottom up is read from its top row down, and
    // exactly its rows are read and written.
    void selectedRowsOnly() {
        sim::RadioSimulator radio;
        for (int row : {9, 10, 20, 21})
            radio.write(recordAddress(row), record(145000000 + 10000 * quint32(row), "R"));
        MainWindow w;
        w.show();
        MessageRecorder messages;
        connectLink(w.link(), radio);
        C &t = w.document().channels;
        ChannelGridView *g = grid(w);
        g->setCurrentCell(20, 1, 10);
        button(w, "MEM_ONE_READ")->click();
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Success| Finish")});
        QCOMPARE(radio.frameCount(), 1 + 11);
        QVERIFY(t.text(9, C::FreqCol).isEmpty());
        QCOMPARE(t.text(10, C::FreqCol), QStringLiteral("145.10000MHz"));
        QCOMPARE(t.text(20, C::FreqCol), QStringLiteral("145.20000MHz"));
        QVERIFY(t.text(21, C::FreqCol).isEmpty());

        putRow(t, 12, QStringLiteral("146.00000MHz"), QStringLiteral("NEW"));
        radio.clearFrames();
        g->setCurrentCell(14, 1, 12);
        button(w, "MEM_ONE_WRITE")->click();
        QCOMPARE(radio.frames().size(), 1 + 3);
        QVERIFY(radio.frames().at(1).startsWith("QX~F014C0W")); // row 12 first
        QCOMPARE(quint8(radio.read(recordAddress(12), 1).at(0)), quint8(1));
        QCOMPARE(radio.read(recordAddress(12) + 32, 2), QByteArray("N\0", 2));
        QCOMPARE(radio.read(recordAddress(20), 64),
                 record(145200000, "R").replace(16, 1, QByteArray(1, 28)));
    }

    void writeButtonWritesTheTable() {
        sim::RadioSimulator radio;
        MainWindow w;
        w.show();
        MessageRecorder messages;
        connectLink(w.link(), radio);
        putRow(w.document().channels, 1, QStringLiteral("145.50000MHz"), QStringLiteral("A"));
        button(w, "WRITE_Botton")->click();
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Success| Finish")});
        const QByteArray r = radio.read(recordAddress(1), 64);
        QCOMPARE(quint8(r.at(0)), quint8(1));
        QCOMPARE(quint8(r.at(1)), quint8(145500000 & 0xFF));
        QCOMPARE(grid(w)->currentRow(), 1);
    }

    void closingDuringAReadEndsSilently() {
        sim::SimOptions o;
        o.latencyMs = 5;
        sim::RadioSimulator radio(o);
        MessageRecorder messages;
        auto *w = new MainWindow;
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->show();
        connectLink(w->link(), radio);
        QSignalSpy destroyed(w, &QObject::destroyed);
        QTimer::singleShot(300, w, [w] { w->close(); });
        button(*w, "READ_Botton")->click();
        QTRY_COMPARE(destroyed.count(), 1);
        QVERIFY(messages.records.isEmpty());
        QVERIFY(radio.frameCount() < 1623);
    }
};

QTEST_MAIN(ChannelPageTest)
#include "tst_channelpage.moc"
