// The Memory page on the real main window: the grid, the row commands around
// the call-channel and bug-detector rows, the detail editor opened from the
// grid, and what the grid does during a read.

#include "GuiFixture.h"
#include "Records.h"
#include "core/channels/ChannelTable.h"
#include "gui/channels/ChannelGridView.h"
#include "gui/channels/DetailDialog.h"
#include "gui/shell/MainWindow.h"

#include <QProgressBar>
#include <QScrollBar>
#include <QtTest>

using namespace kpr5;
using namespace kpr5::test;
using C = kpr5::ChannelTable;

namespace {

ChannelGridView *grid(MainWindow &w) {
    return find<ChannelGridView>(w, QStringLiteral("MSFlexGrid1"));
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

// A double-click as the window system delivers it: press, release, double-click.
void doubleClick(ChannelGridView *g, QPoint at) {
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class ChannelPageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The current row and the far end of the selection, whichever way it was
    // made; Up and Down; the grid's captions.
    void selectionAndUpDown() {
        MainWindow w;
        w.show();
        ChannelGridView *g = grid(w);
        g->setCurrentCell(10, 1);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(g, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(g->currentRow(), 13);
        QCOMPARE(g->selectionEnd(), 10);

        QCOMPARE(find<QAbstractButton>(w, QStringLiteral("LIST_SET(0)"))->text() +
                     find<QAbstractButton>(w, QStringLiteral("LIST_SET(1)"))->text(),
                 QStringLiteral("UpDown"));
        QCOMPARE(g->model()->headerData(9, Qt::Horizontal).toString(),
                 QStringLiteral("Shift-Freq"));
        g->setCurrentCell(1, 1);
        click(w, QStringLiteral("LIST_SET(0)"));
        QCOMPARE(g->currentRow(), 1);
        click(w, QStringLiteral("LIST_SET(1)"));
        QCOMPARE(g->currentRow(), 2);
        g->setCurrentCell(1623, 1);
        click(w, QStringLiteral("LIST_SET(1)"));
        QCOMPARE(g->currentRow(), 1623);
        click(w, QStringLiteral("LIST_SET(0)"));
        QCOMPARE(g->currentRow(), 1622);
        QVERIFY(g->visualRect(g->currentIndex()).intersects(g->viewport()->rect()));
        test::OtherTransfer busy(w.link(), w);
        click(w, QStringLiteral("LIST_SET(0)"));
        QCOMPARE(g->currentRow(), 1622);
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
        else
            click(w, command == QLatin1String("clear") ? QStringLiteral("Clear_Botton")
                                                       : QStringLiteral("ALL_Reset"));
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
        QVERIFY(g->isEnabled() && g->updatesEnabled());
        QCOMPARE(w.progressBar()->value(), 0);
    }

    // Enter on a "(Sub)" row opens the pair at its main row, the grid off meanwhile.
    void enterOnSubRowOpensThePair() {
        MainWindow w;
        w.show();
        C &t = w.document().channels;
        putRow(t, 1101, QStringLiteral("145.00000MHz"), QStringLiteral("MAIN"));
        putRow(t, 1102, QStringLiteral("433.00000MHz"), QStringLiteral("SUB"));
        ChannelGridView *g = grid(w);
        g->setCurrentCell(1102, 1);
        QString first, second;
        bool gridEnabled = true;
        const auto shown = onModal<DetailDialog>(w, [&](DetailDialog *d) {
            first = text(*d, QStringLiteral("DETAIL_FREQ_1"));
            second = text(*d, QStringLiteral("DETAIL_FREQ_1_2"));
            gridEnabled = g->isEnabled();
            click(*d, QStringLiteral("DETAIL_CANCEL"));
        });
        QTest::keyClick(g, Qt::Key_Return);
        QVERIFY(shown->seen);
        QCOMPARE(first + QLatin1Char('/') + second, QStringLiteral("145/433"));
        QVERIFY(!gridEnabled);
        QVERIFY(g->isEnabled());
        QCOMPARE(g->currentRow(), 1101);
        QCOMPARE(t.text(1102, C::NameCol), QStringLiteral("SUB"));
    }

    // A double-click edits the row; a bug-detector row opens no editor.
    void doubleClickEditsTheRow() {
        MainWindow w;
        w.show();
        C &t = w.document().channels;
        ChannelGridView *g = grid(w);
        g->setCurrentCell(3, 1);
        auto shown = onModal<DetailDialog>(w, [](DetailDialog *d) {
            retype(*d, QStringLiteral("DETAIL_FREQ_1"), QStringLiteral("439"));
            retype(*d, QStringLiteral("DETAIL_FREQ_2"), QStringLiteral("5"));
            click(*d, QStringLiteral("DETAIL_ENTER"));
        });
        doubleClick(g, g->visualRect(g->model()->index(2, 0)).center());
        QVERIFY(shown->seen);
        QCOMPARE(t.text(3, C::FreqCol), QStringLiteral("439.50000MHz"));
        QCOMPARE(t.inUse(2), quint8(1));

        g->setCurrentCell(1610, 1);
        shown = onModal<DetailDialog>(w);
        QTest::keyClick(g, Qt::Key_Return);
        doubleClick(g, g->visualRect(g->currentIndex()).center());
        QTRY_VERIFY(shown->done);
        QVERIFY(!shown->seen);
    }

    // The pass-channel overlap rule reached from the editor: refused with its
    // message, the row unchanged.
    void overlappingPassChannelIsRefused() {
        MainWindow w;
        w.show();
        MessageRecorder messages;
        C &t = w.document().channels;
        putRow(t, 1404, QStringLiteral("145.12000MHz"), QStringLiteral("P0"));
        putRow(t, 1405, QStringLiteral("430.00000MHz"), QStringLiteral("P1"));
        ChannelGridView *g = grid(w);
        g->setCurrentCell(1405, 1);
        const auto shown = onModal<DetailDialog>(w, [](DetailDialog *d) {
            retype(*d, QStringLiteral("DETAIL_FREQ_1"), QStringLiteral("145"));
            retype(*d, QStringLiteral("DETAIL_FREQ_2"), QStringLiteral("12050"));
            click(*d, QStringLiteral("DETAIL_ENTER"));
        });
        QTest::keyClick(g, Qt::Key_Return);
        QVERIFY(shown->seen);
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Overlaps in Frequency| Error")});
        QCOMPARE(t.text(1405, C::FreqCol), QStringLiteral("430.00000MHz"));
        QVERIFY(g->isEnabled());
    }

    // A full read: the window keeps running events, the progress moves, the
    // grid neither paints nor scrolls row by row, and then shows the rows.
    void readButtonShowsTheRows() {
        sim::RadioSimulator radio;
        radio.write(0x1200, Record(145500000).name("FIRST").bytes());
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
            if (!w.link().busy()) return;
            ++ticks;
            painting += g->updatesEnabled() ? 1 : 0;
            progress << w.progressBar()->value();
            rows << g->currentRow();
            QCOMPARE(g->verticalScrollBar()->value(), top);
        });
        watch.start();
        click(w, QStringLiteral("READ_Botton"));
        watch.stop();

        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Success| Finish")});
        QVERIFY2(ticks > 5, qPrintable(QString::number(ticks)));
        QCOMPARE(painting, 0);
        QVERIFY(progress.size() > 3 && rows.size() > 3);
        QCOMPARE(g->model()->index(0, 11).data().toString(), QStringLiteral("FIRST"));
        QVERIFY(t.text(500, C::FreqCol).isEmpty());
        // The end of the transfer: row 1, column 12, painting again, controls back.
        QCOMPARE(g->currentRow(), 1);
        QCOMPARE(g->currentIndex().column() + 1, 12);
        QCOMPARE(g->selectionEnd(), 1);
        QVERIFY(g->updatesEnabled() && g->isEnabled());
        QVERIFY(find<QAbstractButton>(w, QStringLiteral("READ_Botton"))->isEnabled());
    }
};

QTEST_MAIN(ChannelPageTest)
#include "tst_channelpage.moc"
