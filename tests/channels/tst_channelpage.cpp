// The Memory page on the real main window: the grid, the row commands around
// the call-channel and bug-detector rows, the detail editor opened from the
// grid, and what the grid does during a read.

#include "GuiFixture.h"
#include "gui/channels/DetailDialog.h"
#include "gui/shell/MainWindow.h"

using namespace kpr5;
using namespace kpr5::test;
using C = kpr5::ChannelTable;

namespace {

// A double-click as the window system delivers it: press, release, double-click.
void doubleClick(ChannelGridView *g, QPoint at) {
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class ChannelPageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Delete, Clear and Reset empty what they cover but the call channels and
    // the bug-detector presets; the current cell and the selection stay.
    void rowCommandsSelectionAndEditor() {
        MainWindow w;
        w.show();
        C &t = w.document().channels;
        ChannelGridView *g = grid(w);
        const QList<int> samples{1,    1399, 1400, 1401, 1402, 1403, 1404, 1405, 1406,
                                 1500, 1601, 1602, 1603, 1604, 1605, 1610, 1611, 1623};
        QFile table(QFINDTESTDATA("../data/row-commands.txt"));
        QVERIFY(table.open(QIODevice::ReadOnly | QIODevice::Text));
        for (const QString &line : QString::fromUtf8(table.readAll()).split(QLatin1Char('\n'))) {
            const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (f.isEmpty() || f[0].startsWith(QLatin1Char('#'))) continue;
            QCOMPARE(f.size(), 5);
            const int current = f[1].toInt(), end = f[2].toInt(), first = f[3].toInt(),
                      last = f[4].toInt();
            for (int row : samples)
                if (!C::isCallRow(row) && !C::isBugRow(row)) putChannel(t, row, 145000000 + row);
            g->setCurrentCell(current, 2, end);
            if (f[0] == QLatin1String("delete"))
                QTest::keyClick(g, Qt::Key_Delete);
            else
                click(w, f[0] == QLatin1String("clear") ? QStringLiteral("Clear_Botton")
                                                        : QStringLiteral("ALL_Reset"));
            for (int row : samples)
                QVERIFY2(
                    t.text(row, C::FreqCol).isEmpty() ==
                        (row >= first && row <= last && !C::isCallRow(row) && !C::isBugRow(row)),
                    qPrintable(line + QStringLiteral(": row %1").arg(row)));
            QVERIFY2(g->currentRow() == current && g->selectionEnd() == end, qPrintable(line));
            QVERIFY(g->isEnabled() && g->updatesEnabled() && w.progressBar()->value() == 0);
        }
        // The current row and the far end of the selection, whichever way it was
        // made; Up and Down stop at the ends and do nothing during a transfer.
        g->setCurrentCell(10, 1);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(g, Qt::Key_Down, Qt::ShiftModifier);
        QVERIFY(g->currentRow() == 13 && g->selectionEnd() == 10);
        const auto step = [&](int from, const char *button) {
            g->setCurrentCell(from, 1);
            click(w, QLatin1String(button));
            return g->currentRow();
        };
        QCOMPARE(step(1, "LIST_SET(0)"), 1);
        QCOMPARE(step(1, "LIST_SET(1)"), 2);
        QCOMPARE(step(1623, "LIST_SET(1)"), 1623);
        QCOMPARE(step(1623, "LIST_SET(0)"), 1622);
        QVERIFY(g->visualRect(g->currentIndex()).intersects(g->viewport()->rect()));
        // Enter on a "(Sub)" row opens the pair at its main row; a double-click
        // edits the row; a bug-detector row opens no editor.
        putChannel(t, 1101, 145000000, "MAIN");
        putChannel(t, 1102, 433000000, "SUB");
        QString pair;
        editRow(w, 1102, [&](QDialog *d) {
            pair = text(*d, QStringLiteral("DETAIL_FREQ_1")) + QLatin1Char('/') +
                   text(*d, QStringLiteral("DETAIL_FREQ_1_2"));
        });
        QCOMPARE(pair, QStringLiteral("145/433"));
        QCOMPARE(g->currentRow(), 1101);

        g->setCurrentCell(3, 1);
        auto shown = onModal<DetailDialog>(w, [](QDialog *d) {
            retype(*d, QStringLiteral("DETAIL_FREQ_1"), QStringLiteral("439"));
            click(*d, QStringLiteral("DETAIL_ENTER"));
        });
        doubleClick(g, g->visualRect(g->model()->index(2, 0)).center());
        QVERIFY(shown->seen);
        QCOMPARE(t.text(3, C::FreqCol), QStringLiteral("439.00000MHz"));

        g->setCurrentCell(1610, 1);
        shown = onModal<DetailDialog>(w);
        QTest::keyClick(g, Qt::Key_Return);
        doubleClick(g, g->visualRect(g->currentIndex()).center());
        QTRY_VERIFY(shown->done);
        QVERIFY(!shown->seen);
        // The pass-channel overlap rule: refused with its message, the row unchanged.
        MessageRecorder messages;
        putChannel(t, 1404, 145120000);
        putChannel(t, 1405, 430000000);
        editRow(w, 1405, [](QDialog *d) {
            retype(*d, QStringLiteral("DETAIL_FREQ_1"), QStringLiteral("145"));
            retype(*d, QStringLiteral("DETAIL_FREQ_2"), QStringLiteral("12050"));
            click(*d, QStringLiteral("DETAIL_ENTER"));
        });
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Overlaps in Frequency| Error")});
        QCOMPARE(t.text(1405, C::FreqCol), QStringLiteral("430.00000MHz"));
        test::OtherTransfer busy(w.link(), w);
        QCOMPARE(step(1622, "LIST_SET(0)"), 1622);
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
        ChannelGridView *g = grid(w);
        g->setCurrentCell(700, 3);
        const int top = g->verticalScrollBar()->value();
        int ticks = 0, painting = 0;
        QSet<int> progress;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            if (!w.link().busy()) return;
            ++ticks;
            painting += g->updatesEnabled() ? 1 : 0;
            progress << w.progressBar()->value();
            QCOMPARE(g->verticalScrollBar()->value(), top);
        });
        watch.start(10);
        click(w, QStringLiteral("READ_Botton"));
        watch.stop();
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Success| Finish")});
        QVERIFY2(ticks > 5 && painting == 0 && progress.size() > 3,
                 qPrintable(QStringLiteral("%1 ticks, %2 painting").arg(ticks).arg(painting)));
        QCOMPARE(g->model()->index(0, 11).data().toString(), QStringLiteral("FIRST"));
        // The end of the transfer: row 1, column 12, painting again, controls back.
        QVERIFY(g->currentRow() == 1 && g->currentIndex().column() == 11 && g->selectionEnd() == 1);
        QVERIFY(g->updatesEnabled() && g->isEnabled());
    }
};

QTEST_MAIN(ChannelPageTest)
#include "tst_channelpage.moc"
