// Acceptance rules, shift corrections, edit actions and the commit of an edit
// into the channel table, with the pass-channel overlap check.

#include "Records.h"
#include "core/channels/ChannelTable.h"
#include "core/channels/ChannelValidation.h"

#include <QtTest>

using namespace kpr5;
using namespace kpr5::edit;
using C = kpr5::ChannelTable;
using kpr5::test::rowTexts;
using namespace Qt::StringLiterals;

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

CommitResult commit(C &t, int slot, const EditSet &b, int action = SetSingle) {
    EditState s;
    s.slot = slot;
    s.buffer[0] = b;
    s.editAction = action;
    const CommitResult r = commitEdit(t, s);
    if (s.busy || s.editAction != NoEdit) QTest::qFail("the hand-over is not cleared", "", 0);
    return r;
}

} // namespace

class ChannelValidationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // What was typed ("integer|decimals") on a slot, the frequency accepted,
    // and the two fields afterwards.
    void acceptFrequency_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fields");
        auto row = [](const char *tag, int slot, const char *typed, const char *text,
                      const char *fields) {
            QTest::newRow(tag) << slot << QString::fromLatin1(typed) << QString::fromLatin1(text)
                               << QString::fromLatin1(fields);
        };
        row("decimals padded", 0, "145|5", "145.50000", "145|50000");
        row("1301 is 145", 0, "1301|", "145.00000", "145|00000");
        row("9999 is 145", 0, "9999|12345", "145.12345", "145|12345");
        row("1300 erased", 0, "1300|", "", "|");
        row("1299.99999 kept", 0, "1299|99999", "1299.99999", "1299|99999");
        row("non-digits dropped", 0, "1x4 5|5-0", "145.50000", "145|50000");
        row("824 blocked", 0, "824|00000", "", "|");
        row("849.99999 blocked", 0, "849|99999", "", "|");
        row("850 accepted", 0, "850|", "850.00000", "850|00000");
        row("869 blocked", 0, "869|", "", "|");
        row("894.99999 blocked", 0, "894|99999", "", "|");
        row("895 accepted", 0, "895|", "895.00000", "895|00000");
        row("0.53099 accepted", 0, "0|53099", "0.53099", "0|53099");
        row("0.53098 erased", 0, "0|53098", "", "|");
        row("decimals only", 0, "|6", "0.60000", "|60000");
        row("nothing typed", 0, "|", "", "|");
        row("six decimals are none", 0, "145|123456", "145.00000", "145|00000");
        row("CALL-VHF in band", 1400, "146|5", "146.50000", "146|50000");
        row("CALL-VHF 433", 1400, "433|", "145.00000", "145|00000");
        row("CALL-VHF emptied", 1400, "|", "145.00000", "145|00000");
        row("CALL-UHF 145", 1401, "145|", "433.00000", "433|00000");
        row("CALL-UHF 869 blocked", 1401, "869|", "433.00000", "433|00000");
        row("CALL-1.2 1299.99990", 1402, "1299|9999", "1299.99990", "1299|99990");
        row("CALL-1.2 1300", 1402, "1300|", "1295.00000", "1295|00000");
        row("pair 145.5", 1100, "145|5", "145.50000", "145|50000");
        row("pair below range", 1101, "0|1", "", "|");
        row("pair 824 blocked", 1101, "824|5", "", "|");
    }
    void acceptFrequency() {
        QFETCH(int, slot);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(QString, fields);
        FrequencyFields f{typed.section(QLatin1Char('|'), 0, 0),
                          typed.section(QLatin1Char('|'), 1)};
        QCOMPARE(edit::acceptFrequency(f, slot, isDualWatchSlot(slot)), text);
        QCOMPARE(f.integer + QLatin1Char('|') + f.decimals, fields);
    }

    void shiftCorrections_data() {
        QTest::addColumn<QString>("typed"); // integer|decimals
        QTest::addColumn<QString>("result");
        auto row = [](const char *typed, const char *result) {
            QTest::newRow(typed) << QString::fromLatin1(typed) << QString::fromLatin1(result);
        };
        row("999|999", "999.995");
        row("999|996", "999.995");
        row("999|995", "999.995");
        row("999|99", "999.990"); // the decimals as typed are 990
        row("998|999", "998.999");
        row("0|6", "0.600");
        row("|", "0.000");
        row("007|05", "7.050");
        row("1a|b2", "1.200");
        row("0999|998", "999.995");
    }
    void shiftCorrections() {
        QFETCH(QString, typed);
        QFETCH(QString, result);
        const QString integer = typed.section(QLatin1Char('|'), 0, 0);
        QCOMPARE(correctShiftInteger(integer) + QLatin1Char('.') +
                     correctShiftDecimals(integer, typed.section(QLatin1Char('|'), 1)),
                 result);
    }

    void editActions() {
        QCOMPARE(editActionFor(false, QStringLiteral("145.00000"), QString()), int(SetSingle));
        QCOMPARE(editActionFor(false, QString(), QString()), int(ClearEdited));
        QCOMPARE(editActionFor(true, QStringLiteral("145.0"), QStringLiteral("433.0")),
                 int(SetBoth));
        QCOMPARE(editActionFor(true, QStringLiteral("145.0"), QString()), int(SetEdited));
        QCOMPARE(editActionFor(true, QString(), QStringLiteral("433.0")), int(ClearEdited));
        QCOMPARE(editActionFor(true, QString(), QString()), int(ClearBoth));
    }

    void commitWritesTheRow() {
        C t;
        QCOMPARE(commit(t, 4, channel(QStringLiteral("145.50000"), QStringLiteral("AB:1~C"))),
                 CommitResult::Applied);
        QCOMPARE(rowTexts(t, 5), QStringLiteral("145.50000MHz|NFM|25KHz|2300Hz|TSQ|100.0Hz|"
                                                "103.5Hz|036|-|5.000MHz|*|AB:1~C"));
        QCOMPARE(QList<int>({t.inUse(4), t.stepIndex(4), t.txToneIndex(4), t.rxToneIndex(4),
                             t.dcsIndex(4), t.carrierIndex(4)}),
                 QList<int>({1, 7, 12, 13, 5, 20}));
        QCOMPARE(t.storedName(4), QStringLiteral("AB\u2460C"));

        // A single slot confirmed without a frequency is emptied as a whole.
        QCOMPARE(commit(t, 4, channel(QString()), ClearEdited), CommitResult::Applied);
        QCOMPARE(t.inUse(4), quint8(0));
        QCOMPARE(rowTexts(t, 5), QStringLiteral("|||||||||||"));
        QVERIFY(t.storedName(4).isEmpty());
        // Cancel changes nothing.
        QCOMPARE(commit(t, 4, channel(QStringLiteral("145.00000")), NoEdit), CommitResult::Nothing);
        QVERIFY(t.text(5, C::FreqCol).isEmpty());
    }

    void undefinedModeShowsErrorAndAnUntouchedOneKeepsTheRadioByte() {
        C t;
        EditSet b = channel(QStringLiteral("145.00000"));
        b.modeCode = 7;
        commit(t, 0, b);
        QCOMPARE(t.text(1, C::ModeCol), QStringLiteral("ERROR"));
        t.setKeptModeByte(0, 9);
        b.modeCode = -1; // no mode option chosen in the editor
        commit(t, 0, b);
        QCOMPARE(t.keptModeByte(0), 9);
    }

    // The four ways a commit sets or clears the two slots of a dual-watch pair.
    void pairActions() {
        for (const auto &[action, mainSet, subSet] :
             {std::tuple{ClearEdited, false, true}, std::tuple{SetEdited, true, false},
              std::tuple{SetBoth, true, true}, std::tuple{ClearBoth, false, false}}) {
            C t;
            EditState s;
            s.slot = 1100;
            s.buffer[0] = channel(QStringLiteral("145.00000"), QStringLiteral("OLD"));
            s.buffer[1] = channel(QStringLiteral("433.00000"), QStringLiteral("OLD"));
            s.editAction = SetBoth;
            commitEdit(t, s);
            s.buffer[0] = channel(mainSet ? QStringLiteral("146.00000") : QString(), "M");
            s.buffer[1] = channel(subSet ? QStringLiteral("434.00000") : QString(), "S");
            s.editAction = action;
            QCOMPARE(commitEdit(t, s), CommitResult::Applied);
            QCOMPARE(t.text(1101, C::FreqCol), mainSet ? u"146.00000MHz"_s : QString());
            QCOMPARE(t.text(1102, C::FreqCol) + t.text(1102, C::NameCol),
                     subSet ? u"434.00000MHzS"_s : QString());
            QCOMPARE(QList<int>({t.inUse(1100), t.inUse(1101)}), QList<int>({mainSet, subSet}));
            QCOMPARE(t.text(1103, C::FreqCol), QString()); // the next pair is not touched
        }
    }

    // Pass channels within the same kHz are refused; the refused channel
    // keeps everything it had.
    void passOverlap_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("frequency");
        QTest::addColumn<bool>("overlap");
        QTest::newRow("same kHz") << 1408 << "145.12050" << true;
        QTest::newRow("same frequency") << 1408 << "145.12000" << true;
        QTest::newRow("1 kHz apart") << 1408 << "145.12100" << false;
        QTest::newRow("other MHz") << 1408 << "146.12000" << false;
        QTest::newRow("four-digit MHz") << 1408 << "1295.12090" << true;
        QTest::newRow("two-digit MHz") << 1408 << "500.00000" << false;
        QTest::newRow("a channel in use moved onto another") << 1404 << "145.12090" << true;
        QTest::newRow("re-confirming itself") << 1403 << "145.12000" << false;
        QTest::newRow("a slot not in use") << 1408 << "146.50000" << false;
        QTest::newRow("outside the pass channels") << 1503 << "145.12000" << false;
    }
    void passOverlap() {
        QFETCH(int, slot);
        QFETCH(QString, frequency);
        QFETCH(bool, overlap);
        C t;
        commit(t, 1403, channel(QStringLiteral("145.12000"), "A"));
        commit(t, 1404, channel(QStringLiteral("430.00000"), "B"));
        commit(t, 1405, channel(QStringLiteral("1295.12000"), "C"));
        commit(t, 1406, channel(QStringLiteral("50.00000"), "D"));
        commit(t, 1407, channel(QStringLiteral("146.50000"), "E"));
        t.setInUse(1407, 0); // its texts remain, it does not count
        auto state = [&] {
            return rowTexts(t, slot + 1) + t.storedName(slot) + QString::number(t.inUse(slot));
        };
        const QString before = state();
        QCOMPARE(commit(t, slot, channel(frequency, "NEW")),
                 overlap ? CommitResult::Overlap : CommitResult::Applied);
        if (overlap)
            QCOMPARE(state(), before);
        else
            QCOMPARE(t.text(slot + 1, C::FreqCol) + QString::number(t.inUse(slot)),
                     frequency + "MHz1");
    }
};

QTEST_GUILESS_MAIN(ChannelValidationTest)
#include "tst_channelvalidation.moc"
