// The channel table: cell and slot access, clearing and reset, change
// signals, the row labels, and the grid's item model on top of it.

#include "Records.h"
#include "core/channels/ChannelTable.h"
#include "core/channels/ChannelTableModel.h"
#include "core/channels/RowLabels.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

using namespace kpr5;
using C = kpr5::ChannelTable;

namespace {

// A row's texts and the values of its slot.
QString rowPrint(const C &t, int row) {
    const int s = row - 1;
    return test::rowTexts(t, row) +
           QString::asprintf("|%d|%d|%d|%d|%d|%d|", t.inUse(s), t.stepIndex(s), t.txToneIndex(s),
                             t.rxToneIndex(s), t.dcsIndex(s), t.carrierIndex(s)) +
           t.storedName(s);
}

using BankSizes = std::array<int, kBankCount>;

BankSizes counts(std::initializer_list<std::pair<int, int>> banks) {
    BankSizes c{};
    for (auto [bank, count] : banks)
        c[std::size_t(bank)] = count;
    return c;
}

} // namespace

Q_DECLARE_METATYPE(BankSizes)

class ChannelTableTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void outOfRangeAccessIsIgnored() {
        C t;
        QSignalSpy rows(&t, &C::rowsChanged);
        t.setText(0, 1, QStringLiteral("x"));
        t.setText(1625, 1, QStringLiteral("x"));
        t.setText(1, 0, QStringLiteral("x"));
        t.setText(1, 13, QStringLiteral("x"));
        t.setInUse(-1, 1);
        t.setInUse(1624, 1);
        t.setStoredName(1624, QStringLiteral("x"));
        QCOMPARE(t.text(0, 1) + t.text(1, 13) + t.storedName(-1), QString());
        QCOMPARE(t.inUse(1624), quint8(0));
        // Row 1624 exists in the stores, but no grid row shows it.
        t.setText(1624, C::FreqCol, QStringLiteral("145.00000MHz"));
        QCOMPARE(t.text(1624, C::FreqCol), QStringLiteral("145.00000MHz"));
        QCOMPARE(rows.count(), 0);
    }

    void clearAndReset() {
        C fresh;
        C t;
        t.setStoredName(1400, QStringLiteral("abc"));
        t.clearRow(1401);
        QCOMPARE(rowPrint(t, 1401), QStringLiteral("||||||||||||0|0|0|0|0|0|"));
        t.clearRow(1623);
        t.setText(7, C::FreqCol, QStringLiteral("145.50000MHz"));
        t.setInUse(6, 1);
        t.setTxToneIndex(6, 30);
        t.setStoredName(6, QStringLiteral("x"));
        QSignalSpy rows(&t, &C::rowsChanged);
        t.resetToStartup();
        QCOMPARE(rows.count(), 1);
        QCOMPARE(rows.at(0), (QVariantList{7, 1623}));
        for (int row = 1; row <= C::kSlots; ++row)
            QCOMPARE(rowPrint(t, row), rowPrint(fresh, row));
    }

    void changeSignals() {
        C t;
        QSignalSpy rows(&t, &C::rowsChanged);
        t.setText(5, C::NameCol, QStringLiteral("a"));
        QCOMPARE(rows.takeFirst(), (QVariantList{5, 5}));
        t.setText(5, C::NameCol, QStringLiteral("a")); // no change, no signal
        t.setInUse(10, 0);
        QCOMPARE(rows.count(), 0);
        t.setDcsIndex(10, 3);
        QCOMPARE(rows.takeFirst(), (QVariantList{11, 11}));

        t.beginBatch();
        t.setText(900, C::FreqCol, QStringLiteral("145.00000MHz"));
        t.beginBatch(); // nested
        t.setInUse(19, 1);
        t.endBatch();
        t.setStoredName(1499, QStringLiteral("n"));
        QCOMPARE(rows.count(), 0);
        t.endBatch();
        QCOMPARE(rows.takeFirst(), (QVariantList{20, 1500}));
        QCOMPARE(rows.count(), 0);
        t.beginBatch();
        t.endBatch(); // nothing changed
        t.endBatch(); // unbalanced: harmless
        QCOMPARE(rows.count(), 0);
    }

    void rowLabels() {
        const QStringList labels = channelRowLabels(defaultBankCounts());
        QCOMPARE(labels.size(), 1623);
        const std::pair<int, const char *> expected[] = {
            {1, "Bank000-0"},       {100, "Bank000-99"},    {101, "Bank001-0"},
            {1000, "Bank009-99"},   {1001, "PRG - 0A"},     {1002, "PRG - 0B"},
            {1100, "PRG - 49B"},    {1101, "Dual0(Main) "}, {1102, "Dual0(Sub) "},
            {1300, "Dual99(Sub) "}, {1301, "PRIO - 0"},     {1400, "PRIO - 99"},
            {1401, "CALL-VHF"},     {1402, "CALL-UHF"},     {1403, "CALL-1.2"},
            {1404, "PASS - 0"},     {1503, "PASS - 99"},    {1504, "TSF - 0"},
            {1603, "TSF - 99"},     {1604, "BUG - 0"},      {1623, "BUG - 19"}};
        for (const auto &[row, label] : expected)
            QCOMPARE(labels.at(row - 1), QLatin1String(label));
        QCOMPARE(C().rowLabel(1623), QStringLiteral("BUG - 19"));
    }

    void labelsFromBankSizes_data() {
        QTest::addColumn<BankSizes>("sizes");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("label");
        QTest::newRow("bank 0 holds all") << counts({{0, 1000}}) << 1000 << "Bank000-999";
        QTest::newRow("bank 0 empty") << counts({{1, 3}, {49, 997}}) << 1 << "Bank001-0";
        QTest::newRow("after a small bank") << counts({{1, 3}, {49, 997}}) << 4 << "Bank049-0";
        QTest::newRow("last of a bank") << counts({{1, 3}, {49, 997}}) << 1000 << "Bank049-996";
        QTest::newRow("sum below 1000") << counts({{0, 5}, {1, -4}}) << 6 << "";
        QTest::newRow("special rows stay") << counts({{0, 5}, {1, -4}}) << 1001 << "PRG - 0A";
        QTest::newRow("sum above 1000") << counts({{0, 1000}, {1, 1000}}) << 1623 << "BUG - 19";
    }
    void labelsFromBankSizes() {
        QFETCH(BankSizes, sizes);
        QFETCH(int, row);
        QFETCH(QString, label);
        const QStringList labels = channelRowLabels(sizes);
        QCOMPARE(labels.size(), 1623);
        QCOMPARE(labels.at(row - 1), label);
    }

    void setRowLabels() {
        C t;
        QSignalSpy spy(&t, &C::labelsChanged);
        t.setRowLabels(channelRowLabels(defaultBankCounts()));
        QCOMPARE(spy.count(), 0); // nothing changed
        t.setRowLabels(channelRowLabels(counts({{2, 1000}})));
        QCOMPARE(spy.count(), 1);
        t.setRowLabels({QStringLiteral("first")}); // a short list changes its rows only
        QCOMPARE(t.rowLabel(1), QStringLiteral("first"));
        QCOMPARE(t.rowLabel(2), QStringLiteral("Bank002-1"));
        QCOMPARE(t.rowLabel(0) + t.rowLabel(1624), QString());
    }

    void itemModel() {
        C t;
        ChannelTableModel m(t);
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(m.rowCount(), 1623);
        QCOMPARE(m.columnCount(), 12);
        QVERIFY(!m.index(1623, 0).isValid()); // row 1624 exists only in the table
        QCOMPARE(m.data(m.cell(1402, C::FreqCol)).toString(), QStringLiteral("433.00000MHz"));
        QCOMPARE(m.headerData(1400, Qt::Vertical).toString(), QStringLiteral("CALL-VHF"));
        QVERIFY(!(m.flags(m.cell(1, 1)) & Qt::ItemIsEditable));
        QVERIFY(!m.setData(m.cell(1, 1), QStringLiteral("x")));

        QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);
        QSignalSpy headers(&m, &QAbstractItemModel::headerDataChanged);
        t.beginBatch();
        t.setText(10, C::FreqCol, QStringLiteral("145.00000MHz"));
        t.setInUse(29, 1);
        t.endBatch();
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex(), m.cell(10, 1));
        QCOMPARE(changed.at(0).at(1).toModelIndex(), m.cell(30, 12));
        t.clearRow(1401);
        t.setRowLabels({QStringLiteral("X")});
        QCOMPARE(headers.count(), 1);
        QCOMPARE(m.headerData(0, Qt::Vertical).toString(), QStringLiteral("X"));
    }
};

QTEST_GUILESS_MAIN(ChannelTableTest)
#include "tst_channeltable.moc"
