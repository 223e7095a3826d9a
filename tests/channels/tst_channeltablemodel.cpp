// The grid's item model on the channel table: structure (checked by
// QAbstractItemModelTester), texts, headers, and change notifications.

#include "core/channels/ChannelTable.h"
#include "core/channels/ChannelTableModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

using namespace kpr5;
using C = kpr5::ChannelTable;

class ChannelTableModelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void structureAndChanges() {
        C t;
        ChannelTableModel m(t);
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(m.rowCount(), 1623);
        QCOMPARE(m.columnCount(), 12);
        t.setText(5, C::NameCol, QStringLiteral("N"));
        t.clearRow(1401);
        QStringList labels;
        for (int i = 0; i < 1623; ++i)
            labels << QStringLiteral("L%1").arg(i);
        t.setRowLabels(labels);
    }

    void textsAndHeaders() {
        C t;
        ChannelTableModel m(t);
        const QStringList headers{"Freqency", "mode", "step",  "Carrier",    "Tone/DCS", "Tx-tone",
                                  "Rx-tone",  "DCS",  "Shift", "Shift-Freq", "Skip",     "Name"};
        for (int c = 0; c < 12; ++c)
            QCOMPARE(m.headerData(c, Qt::Horizontal).toString(), headers.at(c));
        QCOMPARE(m.headerData(0, Qt::Vertical).toString(), QStringLiteral("Bank000-0"));
        QCOMPARE(m.headerData(1400, Qt::Vertical).toString(), QStringLiteral("CALL-VHF"));
        QCOMPARE(m.headerData(1622, Qt::Vertical).toString(), QStringLiteral("BUG - 19"));
        QCOMPARE(m.data(m.cell(1402, C::FreqCol)).toString(), QStringLiteral("433.00000MHz"));
        QCOMPARE(m.data(m.cell(1623, C::CarrierCol)).toString(), QStringLiteral("2300Hz"));
        QVERIFY(!(m.flags(m.cell(1, 1)) & Qt::ItemIsEditable));
        QVERIFY(!m.setData(m.cell(1, 1), QStringLiteral("x")));
        // Row 1624 exists only in the table.
        QVERIFY(!m.index(1623, 0).isValid());
    }

    void oneSignalForABatch() {
        C t;
        ChannelTableModel m(t);
        QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);
        QSignalSpy headers(&m, &QAbstractItemModel::headerDataChanged);
        t.beginBatch();
        t.setText(10, C::FreqCol, QStringLiteral("145.00000MHz"));
        t.setInUse(29, 1);
        t.endBatch();
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex(), m.cell(10, 1));
        QCOMPARE(changed.at(0).at(1).toModelIndex(), m.cell(30, 12));
        t.setRowLabels({QStringLiteral("X")});
        QCOMPARE(headers.count(), 1);
        QCOMPARE(m.headerData(0, Qt::Vertical).toString(), QStringLiteral("X"));
    }
};

QTEST_GUILESS_MAIN(ChannelTableModelTest)
#include "tst_channeltablemodel.moc"
