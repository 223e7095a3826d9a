// The channel table model: start-up contents, cell and slot access, clearing,
// change signals, and the row labels.

#include "core/channels/ChannelTable.h"
#include "core/channels/RowLabels.h"

#include <QSignalSpy>
#include <QtTest>

using namespace kpr5;
using C = kpr5::ChannelTable;

class ChannelTableTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startupPresets_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("frequency");
        QTest::newRow("CALL-VHF") << 1401 << QStringLiteral("145.00000MHz");
        QTest::newRow("CALL-UHF") << 1402 << QStringLiteral("433.00000MHz");
        QTest::newRow("CALL-1.2") << 1403 << QStringLiteral("1295.00000MHz");
        QTest::newRow("BUG - 0") << 1604 << QStringLiteral("398.60500MHz");
        QTest::newRow("BUG - 9") << 1613 << QStringLiteral("134.00000MHz");
        QTest::newRow("BUG - 19") << 1623 << QStringLiteral("321.13500MHz");
    }

    void startupPresets() {
        QFETCH(int, row);
        QFETCH(QString, frequency);
        ChannelTable t;
        const QStringList expected{frequency,
                                   QStringLiteral("FM"),
                                   QStringLiteral("5KHz"),
                                   QStringLiteral("2300Hz"),
                                   QStringLiteral("None"),
                                   QStringLiteral("88.5Hz"),
                                   QStringLiteral("88.5Hz"),
                                   QStringLiteral("023"),
                                   QStringLiteral("Off"),
                                   QStringLiteral("0.000MHz"),
                                   QString(),
                                   QString()};
        for (int c = 1; c <= C::kColumns; ++c)
            QCOMPARE(t.text(row, c), expected.at(c - 1));
        const int slot = row - 1;
        QCOMPARE(t.inUse(slot), quint8(1));
        QCOMPARE(t.stepIndex(slot), quint8(0));
        QCOMPARE(t.carrierIndex(slot), quint8(20));
        QCOMPARE(t.txToneIndex(slot), quint8(8));
        QCOMPARE(t.rxToneIndex(slot), quint8(8));
        QCOMPARE(t.dcsIndex(slot), quint8(0));
    }

    void startupEmptyRows() {
        ChannelTable t;
        int inUse = 0;
        for (int slot = 0; slot < C::kSlots; ++slot) {
            inUse += t.inUse(slot);
            if (t.inUse(slot)) continue;
            QCOMPARE(t.txToneIndex(slot), quint8(8));
            QCOMPARE(t.rxToneIndex(slot), quint8(8));
            QCOMPARE(t.dcsIndex(slot), quint8(0));
            QCOMPARE(t.carrierIndex(slot), quint8(28));
            QCOMPARE(t.stepIndex(slot), quint8(0));
            QCOMPARE(t.storedName(slot), QString());
            for (int c = 1; c <= C::kColumns; ++c)
                QVERIFY(t.text(slot + 1, c).isEmpty());
        }
        QCOMPARE(inUse, 23);
    }

    void columnHeaders() {
        QCOMPARE(C::columnHeader(C::FreqCol), QStringLiteral("Freqency"));
        QCOMPARE(C::columnHeader(C::ToneModeCol), QStringLiteral("Tone/DCS"));
        QCOMPARE(C::columnHeader(C::ShiftFreqCol), QStringLiteral("Shift-Freq"));
        QCOMPARE(C::columnHeader(C::NameCol), QStringLiteral("Name"));
        QCOMPARE(C::columnHeader(0), QString());
        QCOMPARE(C::columnHeader(13), QString());
    }

    void outOfRangeAccessIsIgnored() {
        ChannelTable t;
        QSignalSpy rows(&t, &ChannelTable::rowsChanged);
        t.setText(0, 1, QStringLiteral("x"));
        t.setText(1625, 1, QStringLiteral("x"));
        t.setText(1, 0, QStringLiteral("x"));
        t.setText(1, 13, QStringLiteral("x"));
        t.setInUse(-1, 1);
        t.setInUse(1624, 1);
        t.setStoredName(1624, QStringLiteral("x"));
        QCOMPARE(rows.count(), 0);
        QCOMPARE(t.text(0, 1), QString());
        QCOMPARE(t.text(1, 13), QString());
        QCOMPARE(t.inUse(1624), quint8(0));
        QCOMPARE(t.storedName(-1), QString());
        QCOMPARE(t.rowLabel(0), QString());
        QCOMPARE(t.rowLabel(1624), QString());
        // row 1624 exists in the stores
        t.setText(1624, C::FreqCol, QStringLiteral("145.00000MHz"));
        QCOMPARE(t.text(1624, C::FreqCol), QStringLiteral("145.00000MHz"));
        QCOMPARE(rows.count(), 0); // but no grid row shows it
    }

    void clearRow() {
        ChannelTable t;
        t.setStoredName(1400, QStringLiteral("abc"));
        t.setText(1401, C::NameCol, QStringLiteral("abc"));
        t.clearRow(1401);
        for (int c = 1; c <= C::kColumns; ++c)
            QVERIFY(t.text(1401, c).isEmpty());
        QCOMPARE(t.inUse(1400), quint8(0));
        QCOMPARE(t.stepIndex(1400), quint8(0));
        QCOMPARE(t.txToneIndex(1400), quint8(0));
        QCOMPARE(t.rxToneIndex(1400), quint8(0));
        QCOMPARE(t.dcsIndex(1400), quint8(0));
        QCOMPARE(t.carrierIndex(1400), quint8(0));
        QCOMPARE(t.storedName(1400), QString());
    }

    void resetRestoresStartup() {
        ChannelTable fresh;
        ChannelTable t;
        t.clearRow(1401);
        t.clearRow(1623);
        t.setText(7, C::FreqCol, QStringLiteral("145.50000MHz"));
        t.setInUse(6, 1);
        t.setTxToneIndex(6, 30);
        t.setStoredName(6, QStringLiteral("x"));
        QSignalSpy rows(&t, &ChannelTable::rowsChanged);
        t.resetToStartup();
        QCOMPARE(rows.count(), 1);
        QCOMPARE(rows.at(0).at(0).toInt(), 7);
        QCOMPARE(rows.at(0).at(1).toInt(), 1623);
        for (int row = 1; row <= C::kSlots; ++row) {
            for (int c = 1; c <= C::kColumns; ++c)
                QCOMPARE(t.text(row, c), fresh.text(row, c));
            QCOMPARE(t.inUse(row - 1), fresh.inUse(row - 1));
            QCOMPARE(t.txToneIndex(row - 1), fresh.txToneIndex(row - 1));
            QCOMPARE(t.storedName(row - 1), fresh.storedName(row - 1));
        }
    }

    void changeSignals() {
        ChannelTable t;
        QSignalSpy rows(&t, &ChannelTable::rowsChanged);
        t.setText(5, C::NameCol, QStringLiteral("a"));
        QCOMPARE(rows.count(), 1);
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
        QCOMPARE(rows.count(), 1);
        QCOMPARE(rows.takeFirst(), (QVariantList{20, 1500}));

        t.beginBatch();
        t.endBatch(); // nothing changed
        t.endBatch(); // unbalanced: harmless
        QCOMPARE(rows.count(), 0);
    }

    void keptBytesDropWhenTheCellIsSet() {
        ChannelTable t;
        t.setKeptModeByte(3, 0x07);
        t.setKeptToneModeByte(3, 0x0C);
        QCOMPARE(t.keptModeByte(3), 0x07);
        t.setText(4, C::ModeCol, QStringLiteral("FM"));
        QCOMPARE(t.keptModeByte(3), -1);
        QCOMPARE(t.keptToneModeByte(3), 0x0C);
        t.setText(4, C::ToneModeCol, QStringLiteral("None"));
        QCOMPARE(t.keptToneModeByte(3), -1);
        t.setKeptModeByte(3, 300); // not a byte
        QCOMPARE(t.keptModeByte(3), -1);
    }

    void defaultLabels_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("label");
        QTest::newRow("1") << 1 << QStringLiteral("Bank000-0");
        QTest::newRow("100") << 100 << QStringLiteral("Bank000-99");
        QTest::newRow("101") << 101 << QStringLiteral("Bank001-0");
        QTest::newRow("400") << 400 << QStringLiteral("Bank003-99");
        QTest::newRow("1000") << 1000 << QStringLiteral("Bank009-99");
        QTest::newRow("1001") << 1001 << QStringLiteral("PRG - 0A");
        QTest::newRow("1002") << 1002 << QStringLiteral("PRG - 0B");
        QTest::newRow("1100") << 1100 << QStringLiteral("PRG - 49B");
        QTest::newRow("1101") << 1101 << QStringLiteral("Dual0(Main) ");
        QTest::newRow("1102") << 1102 << QStringLiteral("Dual0(Sub) ");
        QTest::newRow("1300") << 1300 << QStringLiteral("Dual99(Sub) ");
        QTest::newRow("1301") << 1301 << QStringLiteral("PRIO - 0");
        QTest::newRow("1400") << 1400 << QStringLiteral("PRIO - 99");
        QTest::newRow("1401") << 1401 << QStringLiteral("CALL-VHF");
        QTest::newRow("1402") << 1402 << QStringLiteral("CALL-UHF");
        QTest::newRow("1403") << 1403 << QStringLiteral("CALL-1.2");
        QTest::newRow("1404") << 1404 << QStringLiteral("PASS - 0");
        QTest::newRow("1503") << 1503 << QStringLiteral("PASS - 99");
        QTest::newRow("1504") << 1504 << QStringLiteral("TSF - 0");
        QTest::newRow("1603") << 1603 << QStringLiteral("TSF - 99");
        QTest::newRow("1604") << 1604 << QStringLiteral("BUG - 0");
        QTest::newRow("1623") << 1623 << QStringLiteral("BUG - 19");
    }

    void defaultLabels() {
        QFETCH(int, row);
        QFETCH(QString, label);
        const QStringList labels = channelRowLabels(defaultBankCounts());
        QCOMPARE(labels.size(), 1623);
        QCOMPARE(labels.at(row - 1), label);
        ChannelTable t;
        QCOMPARE(t.rowLabel(row), label);
    }

    void labelsFromBankSizes() {
        std::array<int, kBankCount> counts{};
        counts[0] = 1000;
        QStringList labels = channelRowLabels(counts);
        QCOMPARE(labels.at(999), QStringLiteral("Bank000-999"));
        QCOMPARE(labels.at(1000), QStringLiteral("PRG - 0A"));

        counts = {};
        counts[1] = 3; // bank 0 empty
        counts[49] = 997;
        labels = channelRowLabels(counts);
        QCOMPARE(labels.at(0), QStringLiteral("Bank001-0"));
        QCOMPARE(labels.at(2), QStringLiteral("Bank001-2"));
        QCOMPARE(labels.at(3), QStringLiteral("Bank049-0"));
        QCOMPARE(labels.at(999), QStringLiteral("Bank049-996"));

        // sizes that do not add up to 1000 never shift the special rows
        counts = {};
        counts[0] = 5;
        counts[1] = -4;
        labels = channelRowLabels(counts);
        QCOMPARE(labels.size(), 1623);
        QCOMPARE(labels.at(4), QStringLiteral("Bank000-4"));
        QCOMPARE(labels.at(5), QString());
        QCOMPARE(labels.at(1000), QStringLiteral("PRG - 0A"));
        counts.fill(1000);
        labels = channelRowLabels(counts);
        QCOMPARE(labels.size(), 1623);
        QCOMPARE(labels.at(999), QStringLiteral("Bank000-999"));
        QCOMPARE(labels.at(1622), QStringLiteral("BUG - 19"));
    }

    void setRowLabels() {
        ChannelTable t;
        QSignalSpy spy(&t, &ChannelTable::labelsChanged);
        t.setRowLabels(channelRowLabels(defaultBankCounts()));
        QCOMPARE(spy.count(), 0); // nothing changed
        std::array<int, kBankCount> counts{};
        counts[2] = 1000;
        t.setRowLabels(channelRowLabels(counts));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(t.rowLabel(1), QStringLiteral("Bank002-0"));
        t.setRowLabels({QStringLiteral("first")}); // a short list changes its rows only
        QCOMPARE(t.rowLabel(1), QStringLiteral("first"));
        QCOMPARE(t.rowLabel(2), QStringLiteral("Bank002-1"));
    }
};

QTEST_GUILESS_MAIN(ChannelTableTest)
#include "tst_channeltable.moc"
