// Acceptance rules, shift corrections, edit actions and the commit of an edit
// into the channel table, with the pass-channel overlap check.

#include "Files.h"
#include "Records.h"
#include "core/channels/ChannelTable.h"
#include "core/channels/ChannelValidation.h"

#include <QFile>
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

// A golden table: tab-separated columns, '#' starts a comment line.
QList<QStringList> table(const char *name) {
    return test::tableRows(
        QFINDTESTDATA(QStringLiteral("../data/tst_channelvalidation-%1.tsv").arg(name)));
}

// A single slot's commit, its action as the editor chooses it.
CommitResult commit(C &t, int slot, const EditSet &b) {
    EditState s;
    s.slot = slot;
    s.buffer[0] = b;
    s.editAction = editActionFor(false, b.frequency, QString());
    const CommitResult r = commitEdit(t, s);
    if (s.busy || s.editAction != NoEdit) QTest::qFail("the hand-over is not cleared", "", 0);
    return r;
}

} // namespace

class ChannelValidationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // What was typed on a slot, the frequency accepted and the two fields
    // afterwards (tests/data/tst_channelvalidation-frequencies.tsv).
    void acceptFrequency() {
        for (const QStringList &c : table("frequencies")) {
            const int slot = c[0].toInt();
            FrequencyFields f{c[1].section('|', 0, 0), c[1].section('|', 1)};
            const QString got = edit::acceptFrequency(f, slot, isDualWatchSlot(slot)) + ' ' +
                                f.integer + '|' + f.decimals;
            QVERIFY2(got == c[2] + ' ' + c[3], qPrintable(c[4] + ": " + got));
        }
    }

    // The shift amount typed and as corrected (tst_channelvalidation-shifts.tsv).
    void shiftCorrections() {
        for (const QStringList &c : table("shifts")) {
            const QString integer = c[0].section(QLatin1Char('|'), 0, 0);
            QCOMPARE(correctShiftInteger(integer) + QLatin1Char('.') +
                         correctShiftDecimals(integer, c[0].section(QLatin1Char('|'), 1)),
                     c[1]);
        }
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
        // A single slot confirmed without a frequency is emptied as a whole
        // (Cancel: tst_detaildialog clearAndCancel).
        QCOMPARE(commit(t, 4, channel(QString())), CommitResult::Applied);
        QCOMPARE(rowTexts(t, 5) + t.storedName(4) + QString::number(t.inUse(4)),
                 QStringLiteral("|||||||||||0"));
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

    // A dual-watch pair: each slot given a frequency is set, each without one
    // cleared, the action as the editor chooses it.
    void pairActions() {
        for (int given = 0; given < 4; ++given) {
            const bool mainSet = given & 1, subSet = given & 2;
            C t;
            EditState s;
            s.slot = 1100;
            s.buffer[0] = channel(QStringLiteral("145.00000"), QStringLiteral("OLD"));
            s.buffer[1] = channel(QStringLiteral("433.00000"), QStringLiteral("OLD"));
            s.editAction = SetBoth;
            commitEdit(t, s);
            s.buffer[0] = channel(mainSet ? QStringLiteral("146.00000") : QString(), "M");
            s.buffer[1] = channel(subSet ? QStringLiteral("434.00000") : QString(), "S");
            s.editAction = editActionFor(true, s.buffer[0].frequency, s.buffer[1].frequency);
            QCOMPARE(commitEdit(t, s), CommitResult::Applied);
            QCOMPARE(t.text(1101, C::FreqCol), mainSet ? u"146.00000MHz"_s : QString());
            QCOMPARE(t.text(1102, C::FreqCol) + t.text(1102, C::NameCol),
                     subSet ? u"434.00000MHzS"_s : QString());
            QCOMPARE(QList<int>({t.inUse(1100), t.inUse(1101)}), QList<int>({mainSet, subSet}));
            QCOMPARE(t.text(1103, C::FreqCol), QString()); // the next pair is not touched
        }
    }

    // Pass channels within the same kHz are refused; the refused channel
    // keeps everything it had (tst_channelvalidation-overlaps.tsv).
    void passOverlap() {
        for (const QStringList &c : table("overlaps")) {
            const int slot = c[0].toInt();
            const bool overlap = c[2] == "1";
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
            const CommitResult r = commit(t, slot, channel(c[1], "NEW"));
            const QString after =
                overlap ? state() : t.text(slot + 1, C::FreqCol) + QString::number(t.inUse(slot));
            QVERIFY2(r == (overlap ? CommitResult::Overlap : CommitResult::Applied) &&
                         after == (overlap ? before : c[1] + "MHz1"),
                     qPrintable(c[3]));
        }
    }
};

QTEST_GUILESS_MAIN(ChannelValidationTest)
#include "tst_channelvalidation.moc"
