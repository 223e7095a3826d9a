// The channel table: the row labels, and the grid's item model on top of
// it with cell access and the change signals.

#include "Files.h"
#include "core/channels/ChannelTable.h"
#include "core/channels/ChannelTableModel.h"
#include "core/channels/RowLabels.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>

using namespace kpr5;
using C = kpr5::ChannelTable;

using BankSizes = std::array<int, kBankCount>;

class ChannelTableTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A row's label for the bank sizes (tests/data/tst_channeltable-labels.tsv);
    // a sum below 1000 leaves the rest of the memory rows without a label.
    void rowLabels() {
        for (const QStringList &c :
             test::tableRows(QFINDTESTDATA("../data/tst_channeltable-labels.tsv"))) {
            BankSizes sizes = defaultBankCounts();
            if (c[0] != "default") {
                sizes = {};
                for (const QString &bank : c[0].split(' '))
                    sizes[bank.section(':', 0, 0).toUInt()] = bank.section(':', 1).toInt();
            }
            const QStringList labels = channelRowLabels(sizes);
            QCOMPARE(labels.size(), 1623);
            QVERIFY2(labels.at(c[1].toInt() - 1) == c[2], qPrintable(c.join(u' ')));
        }
        QCOMPARE(C().rowLabel(1623), QStringLiteral("BUG - 19"));
    }

    // What the grid relies on: the model shows the table's cells and labels,
    // and every change inside the table reaches it as one span of rows, a
    // batch as one span, and the labels as a header change.
    void itemModel() {
        C t;
        ChannelTableModel m(t);
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(m.rowCount(), 1623); // row 1624 exists only in the table
        QCOMPARE(m.data(m.cell(1402, C::FreqCol)).toString() +
                     m.headerData(1400, Qt::Vertical).toString(),
                 QStringLiteral("433.00000MHzCALL-VHF"));
        QVERIFY(!(m.flags(m.cell(1, 1)) & Qt::ItemIsEditable) && !m.setData(m.cell(1, 1), "x"));

        QSignalSpy rows(&t, &C::rowsChanged);
        QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);
        QSignalSpy headers(&m, &QAbstractItemModel::headerDataChanged);
        for (const auto &[row, column] : {std::pair{0, 1}, {1625, 1}, {1, 0}, {1, 13}})
            t.setText(row, column, QStringLiteral("x")); // outside the table: ignored
        t.setInUse(-1, 1);
        t.setInUse(1624, 1);
        QCOMPARE(t.text(0, 1) + t.text(1, 13) + t.storedName(-1), QString());
        QCOMPARE(t.inUse(1624), quint8(0));
        // Row 1624 exists in the stores, but no grid row shows it.
        t.setText(1624, C::FreqCol, QStringLiteral("145.00000MHz"));
        QCOMPARE(t.text(1624, C::FreqCol), QStringLiteral("145.00000MHz"));
        t.setText(5, C::NameCol, QStringLiteral("a"));
        t.setText(5, C::NameCol, QStringLiteral("a")); // no change, no signal
        t.setInUse(10, 0);
        t.setDcsIndex(10, 3);
        t.beginBatch();
        t.setText(900, C::FreqCol, QStringLiteral("145.00000MHz"));
        t.beginBatch(); // nested
        t.setInUse(19, 1);
        t.endBatch();
        t.setStoredName(1499, QStringLiteral("n"));
        QCOMPARE(rows.count(), 2);
        t.endBatch();
        t.beginBatch();
        t.endBatch(); // nothing changed
        t.endBatch(); // unbalanced: harmless
        QCOMPARE(rows, (QList<QVariantList>{{5, 5}, {11, 11}, {20, 1500}}));
        QCOMPARE(changed.count(), 3);
        QCOMPARE(changed.at(2).at(0).toModelIndex(), m.cell(20, 1));
        QCOMPARE(changed.at(2).at(1).toModelIndex(), m.cell(1500, 12));
        t.clearRow(1401);
        t.setRowLabels({QStringLiteral("X")});
        QCOMPARE(headers.count(), 1);
        QCOMPARE(m.headerData(0, Qt::Vertical).toString(), QStringLiteral("X"));
    }
};

QTEST_GUILESS_MAIN(ChannelTableTest)
#include "tst_channeltable.moc"
