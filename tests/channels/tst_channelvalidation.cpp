// Acceptance rules, shift corrections, edit actions and the commit of an edit
// into the channel table, with the pass-channel overlap check.

#include "core/channels/ChannelTable.h"
#include "core/channels/ChannelValidation.h"

#include <QtTest>

using namespace kpr5;
using namespace kpr5::edit;
using C = kpr5::ChannelTable;

namespace {

EditSet channel(const QString &frequency, const QString &name = QString()) {
    EditSet b;
    b.frequency = frequency;
    b.modeCode = 2; // NFM
    b.squelchCode = 2;
    b.stepIndex = 7;
    b.txToneIndex = 12;
    b.rxToneIndex = 13;
    b.dcsIndex = 5;
    b.carrierIndex = 20;
    b.shiftCode = 2;
    b.shiftFrequency = QStringLiteral("5.000");
    b.skip = true;
    b.name = name;
    return b;
}

CommitResult commitSingle(C &t, int slot, const EditSet &b) {
    EditState s;
    s.slot = slot;
    s.buffer[0] = b;
    s.editAction = editActionFor(false, b.frequency, QString());
    return commitEdit(t, s);
}

} // namespace

class ChannelValidationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void acceptFrequency_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<bool>("pair");
        QTest::addColumn<QString>("integer");
        QTest::addColumn<QString>("decimals");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fields"); // the two fields afterwards, "int|dec"

        QTest::newRow("decimals padded") << 0 << false << "145"
                                         << "5"
                                         << "145.50000"
                                         << "145|50000";
        QTest::newRow("1301 is 145") << 0 << false << "1301"
                                     << ""
                                     << "145.00000"
                                     << "145|00000";
        QTest::newRow("9999 is 145") << 0 << false << "9999"
                                     << "12345"
                                     << "145.12345"
                                     << "145|12345";
        QTest::newRow("1300 erased") << 0 << false << "1300"
                                     << ""
                                     << ""
                                     << "|";
        QTest::newRow("1299.99999 kept") << 0 << false << "1299"
                                         << "99999"
                                         << "1299.99999"
                                         << "1299|99999";
        QTest::newRow("leading zeros") << 0 << false << "0145"
                                       << ""
                                       << "145.00000"
                                       << "145|00000";
        QTest::newRow("non-digits dropped") << 0 << false << "1x4 5"
                                            << "5-0"
                                            << "145.50000"
                                            << "145|50000";
        QTest::newRow("851 accepted") << 0 << false << "851"
                                      << "00000"
                                      << "851.00000"
                                      << "851|00000";
        QTest::newRow("824 blocked") << 0 << false << "824"
                                     << "00000"
                                     << ""
                                     << "|";
        QTest::newRow("849.99999 blocked") << 0 << false << "849"
                                           << "99999"
                                           << ""
                                           << "|";
        QTest::newRow("850 accepted") << 0 << false << "850"
                                      << ""
                                      << "850.00000"
                                      << "850|00000";
        QTest::newRow("869 blocked") << 0 << false << "869"
                                     << ""
                                     << ""
                                     << "|";
        QTest::newRow("894.99999 blocked") << 0 << false << "894"
                                           << "99999"
                                           << ""
                                           << "|";
        QTest::newRow("895 accepted") << 0 << false << "895"
                                      << ""
                                      << "895.00000"
                                      << "895|00000";
        QTest::newRow("0.53099 accepted") << 0 << false << "0"
                                          << "53099"
                                          << "0.53099"
                                          << "0|53099";
        QTest::newRow("0.53098 erased") << 0 << false << "0"
                                        << "53098"
                                        << ""
                                        << "|";
        QTest::newRow("decimals only") << 0 << false << ""
                                       << "6"
                                       << "0.60000"
                                       << "|60000";
        QTest::newRow("nothing typed") << 0 << false << ""
                                       << ""
                                       << ""
                                       << "|";
        QTest::newRow("six decimals are none") << 0 << false << "145"
                                               << "123456"
                                               << "145.00000"
                                               << "145|00000";
        QTest::newRow("CALL-VHF in band") << 1400 << false << "146"
                                          << "5"
                                          << "146.50000"
                                          << "146|50000";
        QTest::newRow("CALL-VHF 433") << 1400 << false << "433"
                                      << ""
                                      << "145.00000"
                                      << "145|00000";
        QTest::newRow("CALL-VHF emptied") << 1400 << false << ""
                                          << ""
                                          << "145.00000"
                                          << "145|00000";
        QTest::newRow("CALL-UHF 145") << 1401 << false << "145"
                                      << ""
                                      << "433.00000"
                                      << "433|00000";
        QTest::newRow("CALL-UHF 869 blocked") << 1401 << false << "869"
                                              << ""
                                              << "433.00000"
                                              << "433|00000";
        QTest::newRow("CALL-1.2 1299.99990") << 1402 << false << "1299"
                                             << "9999"
                                             << "1299.99990"
                                             << "1299|99990";
        QTest::newRow("CALL-1.2 1300") << 1402 << false << "1300"
                                       << ""
                                       << "1295.00000"
                                       << "1295|00000";
        QTest::newRow("pair 145.5") << 1100 << true << "145"
                                    << "5"
                                    << "145.50000"
                                    << "145|50000";
        QTest::newRow("pair 1300 erased") << 1100 << true << "1300"
                                          << ""
                                          << ""
                                          << "|";
        QTest::newRow("pair below range") << 1101 << true << "0"
                                          << "1"
                                          << ""
                                          << "|";
        QTest::newRow("pair 824 blocked") << 1101 << true << "824"
                                          << "5"
                                          << ""
                                          << "|";
    }

    void acceptFrequency() {
        QFETCH(int, slot);
        QFETCH(bool, pair);
        QFETCH(QString, integer);
        QFETCH(QString, decimals);
        QFETCH(QString, text);
        QFETCH(QString, fields);
        FrequencyFields f{integer, decimals};
        QCOMPARE(edit::acceptFrequency(f, slot, pair), text);
        QCOMPARE(f.integer + QLatin1Char('|') + f.decimals, fields);
    }

    void shiftCorrections_data() {
        QTest::addColumn<QString>("integer");
        QTest::addColumn<QString>("decimals");
        QTest::addColumn<QString>("result");
        QTest::newRow("999.999 is 999.995") << "999"
                                            << "999"
                                            << "999.995";
        QTest::newRow("999.996 is 999.995") << "999"
                                            << "996"
                                            << "999.995";
        QTest::newRow("999.995 stays") << "999"
                                       << "995"
                                       << "999.995";
        QTest::newRow("999.99 as typed is 99") << "999"
                                               << "99"
                                               << "999.990";
        QTest::newRow("998.999 stays") << "998"
                                       << "999"
                                       << "998.999";
        QTest::newRow("decimals 6 are 600") << "0"
                                            << "6"
                                            << "0.600";
        QTest::newRow("empty") << ""
                               << ""
                               << "0.000";
        QTest::newRow("leading zeros") << "007"
                                       << "05"
                                       << "7.050";
        QTest::newRow("non-digits") << "1a"
                                    << "b2"
                                    << "1.200";
        QTest::newRow("integer 0999 counts as 999") << "0999"
                                                    << "998"
                                                    << "999.995";
    }

    void shiftCorrections() {
        QFETCH(QString, integer);
        QFETCH(QString, decimals);
        QFETCH(QString, result);
        const QString i = correctShiftInteger(integer);
        QCOMPARE(i + QLatin1Char('.') + correctShiftDecimals(integer, decimals), result);
    }

    void editActions_data() {
        QTest::addColumn<bool>("pair");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<int>("action");
        QTest::newRow("single set") << false << "145.00000"
                                    << "" << int(SetSingle);
        QTest::newRow("single emptied") << false << ""
                                        << "" << int(ClearEdited);
        QTest::newRow("pair both") << true << "145.00000"
                                   << "433.00000" << int(SetBoth);
        QTest::newRow("pair main only") << true << "145.00000"
                                        << "" << int(SetEdited);
        QTest::newRow("pair sub only") << true << ""
                                       << "433.00000" << int(ClearEdited);
        QTest::newRow("pair neither") << true << ""
                                      << "" << int(ClearBoth);
    }

    void editActions() {
        QFETCH(bool, pair);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(int, action);
        QCOMPARE(editActionFor(pair, first, second), action);
    }

    void commitWritesTheRow() {
        C t;
        QCOMPARE(commitSingle(t, 4, channel(QStringLiteral("145.50000"), QStringLiteral("AB:1~C"))),
                 CommitResult::Applied);
        const QStringList expected{"145.50000MHz", "NFM", "25KHz", "2300Hz",   "TSQ", "100.0Hz",
                                   "103.5Hz",      "036", "-",     "5.000MHz", "*",   "AB:1~C"};
        for (int c = 1; c <= C::kColumns; ++c)
            QCOMPARE(t.text(5, c), expected.at(c - 1));
        QCOMPARE(t.inUse(4), quint8(1));
        QCOMPARE(t.stepIndex(4), quint8(7));
        QCOMPARE(t.txToneIndex(4), quint8(12));
        QCOMPARE(t.rxToneIndex(4), quint8(13));
        QCOMPARE(t.dcsIndex(4), quint8(5));
        QCOMPARE(t.carrierIndex(4), quint8(20));
        QCOMPARE(t.storedName(4), QStringLiteral("AB") + QChar(0x2460) + QStringLiteral("C"));
    }

    void undefinedModeShowsError() {
        C t;
        EditSet b = channel(QStringLiteral("145.00000"));
        b.modeCode = 7;
        commitSingle(t, 0, b);
        QCOMPARE(t.text(1, C::ModeCol), QStringLiteral("ERROR"));
    }

    void untouchedErrorModeKeepsTheRadioByte() {
        C t;
        t.setText(1, C::ModeCol, QStringLiteral("ERROR"));
        t.setKeptModeByte(0, 9);
        EditSet b = channel(QStringLiteral("145.00000"));
        b.modeCode = -1; // no mode option chosen in the editor
        commitSingle(t, 0, b);
        QCOMPARE(t.keptModeByte(0), 9);
    }

    // A single slot confirmed without a frequency is emptied as a whole: the
    // row no longer shows a channel that is not in use.
    void emptyFrequencyEmptiesTheRow() {
        C t;
        commitSingle(t, 9, channel(QStringLiteral("145.00000"), QStringLiteral("X")));
        QCOMPARE(commitSingle(t, 9, channel(QString())), CommitResult::Applied);
        QCOMPARE(t.inUse(9), quint8(0));
        for (int c = 1; c <= C::kColumns; ++c)
            QVERIFY(t.text(10, c).isEmpty());
        QVERIFY(t.storedName(9).isEmpty());
    }

    void cancelChangesNothing() {
        C t;
        EditState s;
        s.slot = 0;
        s.buffer[0] = channel(QStringLiteral("145.00000"));
        s.editAction = NoEdit;
        QCOMPARE(commitEdit(t, s), CommitResult::Nothing);
        QVERIFY(t.text(1, C::FreqCol).isEmpty());
        QVERIFY(!s.busy);
    }

    void pairActions_data() {
        QTest::addColumn<int>("action");
        QTest::addColumn<bool>("mainSet");
        QTest::addColumn<bool>("subSet");
        QTest::newRow("1: sub only") << int(ClearEdited) << false << true;
        QTest::newRow("2: main only") << int(SetEdited) << true << false;
        QTest::newRow("3: both") << int(SetBoth) << true << true;
        QTest::newRow("5: neither") << int(ClearBoth) << false << false;
    }

    void pairActions() {
        QFETCH(int, action);
        QFETCH(bool, mainSet);
        QFETCH(bool, subSet);
        C t;
        EditState s;
        s.slot = 1100;
        s.buffer[0] = channel(QStringLiteral("145.00000"), QStringLiteral("OLD"));
        s.buffer[1] = channel(QStringLiteral("433.00000"), QStringLiteral("OLD"));
        s.editAction = SetBoth;
        commitEdit(t, s);
        s.buffer[0] =
            channel(mainSet ? QStringLiteral("146.00000") : QString(), QStringLiteral("M"));
        s.buffer[1] =
            channel(subSet ? QStringLiteral("434.00000") : QString(), QStringLiteral("S"));
        s.editAction = action;
        QCOMPARE(commitEdit(t, s), CommitResult::Applied);
        QCOMPARE(t.text(1101, C::FreqCol), mainSet ? QStringLiteral("146.00000MHz") : QString());
        QCOMPARE(t.text(1102, C::FreqCol), subSet ? QStringLiteral("434.00000MHz") : QString());
        QCOMPARE(t.text(1102, C::NameCol), subSet ? QStringLiteral("S") : QString());
        QCOMPARE(t.inUse(1100), quint8(mainSet));
        QCOMPARE(t.inUse(1101), quint8(subSet));
        QCOMPARE(t.text(1103, C::FreqCol), QString()); // the next pair is not touched
    }

    void passOverlap_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("overlap");
        QTest::newRow("same kHz") << "145.12000"
                                  << "145.12050" << true;
        QTest::newRow("same frequency") << "145.12000"
                                        << "145.12000" << true;
        QTest::newRow("5 kHz apart") << "145.12000"
                                     << "145.12500" << false;
        QTest::newRow("1 kHz apart") << "145.12000"
                                     << "145.12100" << false;
        QTest::newRow("other MHz") << "145.12000"
                                   << "146.12000" << false;
        QTest::newRow("four-digit MHz") << "1295.12000"
                                        << "1295.12090" << true;
        QTest::newRow("two-digit MHz") << "50.00000"
                                       << "500.00000" << false;
    }

    // The refused pass channel keeps everything it had, its in-use flag too.
    void passOverlap() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, overlap);
        C t;
        QCOMPARE(commitSingle(t, 1403, channel(first, QStringLiteral("A"))), CommitResult::Applied);
        QCOMPARE(commitSingle(t, 1404, channel(QStringLiteral("430.00000"), QStringLiteral("B"))),
                 CommitResult::Applied);
        EditState s;
        s.slot = 1404;
        s.buffer[0] = channel(second, QStringLiteral("NEW"));
        s.editAction = SetSingle;
        QCOMPARE(commitEdit(t, s), overlap ? CommitResult::Overlap : CommitResult::Applied);
        QVERIFY(!s.busy);
        QCOMPARE(s.editAction, int(NoEdit));
        QCOMPARE(t.text(1405, C::FreqCol),
                 (overlap ? QStringLiteral("430.00000") : second) + QStringLiteral("MHz"));
        QCOMPARE(t.storedName(1404), overlap ? QStringLiteral("B") : QStringLiteral("NEW"));
        QCOMPARE(t.inUse(1404), quint8(1));
    }

    void passOverlapIgnoresItselfAndEmptySlots() {
        C t;
        commitSingle(t, 1403, channel(QStringLiteral("145.12000")));
        // Re-confirming the same channel is no overlap with itself.
        QCOMPARE(commitSingle(t, 1403, channel(QStringLiteral("145.12000"))),
                 CommitResult::Applied);
        // A slot whose texts remain but that is not in use does not count.
        t.setInUse(1403, 0);
        QCOMPARE(commitSingle(t, 1502, channel(QStringLiteral("145.12000"))),
                 CommitResult::Applied);
        // Outside the pass channels nothing is checked.
        QCOMPARE(commitSingle(t, 1503, channel(QStringLiteral("145.12000"))),
                 CommitResult::Applied);
        QCOMPARE(commitSingle(t, 0, channel(QStringLiteral("145.12000"))), CommitResult::Applied);
    }
};

QTEST_GUILESS_MAIN(ChannelValidationTest)
#include "tst_channelvalidation.moc"
