// The detail editor Form2 driven by its control names: the fields' key
// filters, the acceptance and correction rules reached on Enter and on focus
// loss, the user-character buttons, Clear, Cancel and the pair. The edit is
// committed as the Memory page commits it after the window closes.

#include "GuiFixture.h"
#include "core/text/NameCodec.h"
#include "gui/channels/DetailDialog.h"

using namespace kpr5;
using namespace kpr5::edit;
using namespace kpr5::test;
using C = kpr5::ChannelTable;

namespace {

// One open editor on a slot of a table.
struct Editor {
    Editor(C &table, int slot) : table(table) {
        state.slot = slot;
        dialog = std::make_unique<DetailDialog>(table, state);
        dialog->show();
    }
    QLineEdit *retype(const char *name, const QString &keys) const {
        return test::retype(*dialog, QLatin1String(name), keys);
    }
    // DETAIL_ENTER, then the commit the Memory page runs after the window closed.
    CommitResult enter() {
        click(*dialog, QStringLiteral("DETAIL_ENTER"));
        return commitEdit(table, state);
    }
    C &table;
    EditState state;
    std::unique_ptr<DetailDialog> dialog;
};

} // namespace

class DetailDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Enter reaches the frequency rules: accepted, corrected, or the slot
    // emptied, row and in-use flag alike; focus loss reaches the shift
    // corrections.
    void frequencyAndShift() {
        for (const auto &[slot, mhz, decimals, cell] :
             {std::tuple{0, "145", "5", "145.50000MHz"}, std::tuple{0, "824", "00000", ""},
              std::tuple{1401, "145", "00000", "433.00000MHz"}}) {
            C t;
            if (!C::isCallRow(slot + 1)) putChannel(t, slot + 1, 440000000, "OLD");
            Editor e(t, slot);
            e.retype("DETAIL_FREQ_1", QLatin1String(mhz));
            e.retype("DETAIL_FREQ_2", QLatin1String(decimals));
            QCOMPARE(e.enter(), CommitResult::Applied);
            QCOMPARE(t.text(slot + 1, C::FreqCol), QLatin1String(cell));
            QCOMPARE(t.inUse(slot), quint8(*cell != '\0'));
        }
        C t;
        Editor e(t, 0);
        e.retype("DETAIL_FREQ_1", QStringLiteral("145"));
        leave(e.retype("DETAIL_SHIFT_FREQ_1", QStringLiteral("999")));
        leave(e.retype("DETAIL_SHIFT_FREQ_2", QStringLiteral("999")));
        QCOMPARE(text(*e.dialog, QStringLiteral("DETAIL_SHIFT_FREQ_2")), QStringLiteral("995"));
        e.enter();
        QCOMPARE(t.text(1, C::ShiftFreqCol), QStringLiteral("999.995MHz"));
    }

    // Each digit field takes its own number of digits, and only digits;
    // Backspace always works, and then a digit fits again. A user-character
    // button appends its token where it fits, caret at the end. Characters
    // outside the radio's set are typed but dropped on Enter; tokens become
    // user characters in the stored name.
    void typing() {
        C t;
        {
            Editor e(t, 1100);
            for (const auto &[name, keys, kept] :
                 {std::tuple{"DETAIL_FREQ_2", "1234567", "12345"},
                  std::tuple{"DETAIL_SHIFT_FREQ_2", "9x9 9 9", "999"},
                  std::tuple{"DETAIL_FREQ_1_2", "14505", "1450"}}) {
                QLineEdit *field = e.retype(name, QLatin1String(keys));
                QCOMPARE(field->text(), QLatin1String(kept));
                QTest::keyClick(field, Qt::Key_Backspace);
                type(field, QStringLiteral("7"));
                QCOMPARE(field->text(), QString(QLatin1String(kept)).chopped(1) + QLatin1Char('7'));
            }
            for (const auto &[fieldName, name, button, result] :
                 {std::tuple{"DETAIL_NAME", "ABCDEFGHIJKLMNO", "Command1(3)", "ABCDEFGHIJKLMNO:4~"},
                  std::tuple{"DETAIL_NAME", "ABCDEFGHIJKLMNOP", "Command1(3)", "ABCDEFGHIJKLMNOP"},
                  std::tuple{"DETAIL_NAME_2", "AB", "Command1_2(7)", "AB:8~"}}) {
                QLineEdit *field = e.retype(fieldName, QLatin1String(name));
                field->setCursorPosition(0);
                click(*e.dialog, QLatin1String(button));
                QCOMPARE(field->text(), QLatin1String(result));
                QCOMPARE(field->cursorPosition(), qstrcmp(name, result) ? int(strlen(result)) : 0);
            }
        }
        Editor e(t, 0);
        e.retype("DETAIL_FREQ_1", QStringLiteral("145"));
        const QString typed = QString::fromUtf8("A\u03B1愛:1~");
        QCOMPARE(e.retype("DETAIL_NAME", typed)->text(), typed);
        e.enter();
        QCOMPARE(t.text(1, C::NameCol), QString::fromUtf8("A愛:1~"));
        QCOMPARE(t.storedName(0), QString::fromUtf8("A愛") + QChar(names::kFirstUserCharacter));
    }

    // Opened and confirmed without a change, a row or a pair stays exactly
    // as it was. A mode no option shows (a radio's undefined one) leaves none
    // checked; choosing then checks one only.
    void loadingARow() {
        C t;
        Record r(438125000);
        r.mode(3).step(7).shift(1, 5000000).toneMode(3).tones(12, 13).dcs(103).carrier(20);
        r.skip().nameField(QByteArray("\x40\x87\x41\x00", 4));
        for (int row : {11, 1101, 1102})
            decodeChannel(r.bytes(), t, row);
        const auto records = [&] {
            return (encodeChannel(t, 11).toByteArray() + encodeChannel(t, 1101).toByteArray() +
                    encodeChannel(t, 1102).toByteArray())
                .toHex(' ');
        };
        const QByteArray before = records();
        Editor(t, 10).enter();
        Editor(t, 1100).enter();
        QCOMPARE(records(), before);
        decodeChannel(Record().mode(7).bytes(), t, 1);
        Editor e(t, 0);
        const auto checked = [&](int mode) {
            return find<QAbstractButton>(*e.dialog, QStringLiteral("DETAIL_MODE(%1)").arg(mode))
                ->isChecked();
        };
        QVERIFY(!checked(0) && !checked(1) && !checked(2) && !checked(3));
        click(*e.dialog, QStringLiteral("DETAIL_MODE(0)"));
        click(*e.dialog, QStringLiteral("DETAIL_MODE(2)"));
        QVERIFY(!checked(0) && checked(2));
    }

    // Call channels and pairs offer no wide mode. Clear on a call channel
    // leaves only Cancel; on an ordinary slot Enter empties it. The close box
    // is Cancel.
    void clearAndCancel() {
        C t;
        for (int slot : {1401, 1100})
            QVERIFY(!find(*Editor(t, slot).dialog, QStringLiteral("DETAIL_MODE(1)"))->isEnabled());
        {
            Editor e(t, 1401);
            click(*e.dialog, QStringLiteral("DETAIL_CLEAR"));
            e.retype("DETAIL_FREQ_1", QStringLiteral("440"));
            QVERIFY(!find(*e.dialog, QStringLiteral("DETAIL_ENTER"))->isEnabled());
            click(*e.dialog, QStringLiteral("DETAIL_CANCEL"));
            QCOMPARE(commitEdit(t, e.state), CommitResult::Nothing);
        }
        putChannel(t, 4, 145000000, "X");
        {
            Editor e(t, 3);
            e.retype("DETAIL_FREQ_1", QStringLiteral("146"));
            e.state.editAction = SetSingle; // as a previous Enter might have left it
            e.dialog->close();
            QCOMPARE(commitEdit(t, e.state), CommitResult::Nothing);
        }
        Editor e(t, 3);
        click(*e.dialog, QStringLiteral("DETAIL_CLEAR"));
        e.enter();
        QCOMPARE(t.inUse(3), quint8(0));
        QVERIFY(t.text(4, C::FreqCol).isEmpty() && t.text(4, C::NameCol).isEmpty());
        // A pair with only its second set emptied: the "(Sub)" row is cleared.
        putChannel(t, 1101, 145000000, "MAIN");
        putChannel(t, 1102, 433500000, "SUB");
        Editor pair(t, 1100);
        click(*pair.dialog, QStringLiteral("DETAIL_CLEAR_2"));
        pair.retype("DETAIL_FREQ_2", QStringLiteral("25"));
        pair.enter();
        QCOMPARE(t.text(1101, C::FreqCol), QStringLiteral("145.25000MHz"));
        QVERIFY(t.text(1102, C::FreqCol).isEmpty());
        QCOMPARE(t.inUse(1101), quint8(0));
    }
};

QTEST_MAIN(DetailDialogTest)
#include "tst_detaildialog.moc"
