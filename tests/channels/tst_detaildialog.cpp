// The detail editor Form2 driven by its control names: the fields' key
// filters, the acceptance and correction rules reached on Enter and on focus
// loss, the user-character buttons, Clear, Cancel and the pair layout. The
// edit is committed as the Memory page commits it after the window closes.

#include "GuiFixture.h"
#include "core/channels/ChannelTable.h"
#include "core/text/NameCodec.h"
#include "gui/channels/DetailDialog.h"

#include <QLabel>
#include <QtTest>

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
    QAbstractButton *button(const QString &name) const {
        return find<QAbstractButton>(*dialog, name);
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

// A channel put into the table as a commit would.
void putChannel(C &t, int slot, const QString &frequency, const QString &name = QString()) {
    EditState s;
    s.slot = slot;
    s.buffer[0].frequency = frequency;
    s.buffer[0].shiftFrequency = QStringLiteral("0.600");
    s.buffer[0].name = name;
    s.editAction = SetSingle;
    QCOMPARE(commitEdit(t, s), CommitResult::Applied);
}

} // namespace

class DetailDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Enter reaches the frequency rules: accepted, corrected, or the slot
    // emptied, row and in-use flag alike. A shift never given is 0.000.
    void frequencyOnEnter_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("integer");
        QTest::addColumn<QString>("decimals");
        QTest::addColumn<QString>("cell");
        const auto row = [](const char *tag, int slot, const char *mhz, const char *decimals,
                            const char *cell) {
            QTest::newRow(tag) << slot << QString(mhz) << QString(decimals) << QString(cell);
        };
        row("145 and 5", 0, "145", "5", "145.50000MHz");
        row("824 erased", 0, "824", "00000", "");
        row("CALL-UHF 145 is 433", 1401, "145", "00000", "433.00000MHz");
    }
    void frequencyOnEnter() {
        QFETCH(int, slot);
        QFETCH(QString, integer);
        QFETCH(QString, decimals);
        QFETCH(QString, cell);
        C t;
        if (!C::isCallRow(slot + 1))
            putChannel(t, slot, QStringLiteral("440.00000"), QStringLiteral("OLD"));
        Editor e(t, slot);
        retype(*e.dialog, QStringLiteral("DETAIL_FREQ_1"), integer);
        retype(*e.dialog, QStringLiteral("DETAIL_FREQ_2"), decimals);
        retype(*e.dialog, QStringLiteral("DETAIL_SHIFT_FREQ_1"), QString());
        retype(*e.dialog, QStringLiteral("DETAIL_SHIFT_FREQ_2"), QString());
        QCOMPARE(e.enter(), CommitResult::Applied);
        QCOMPARE(e.dialog->result(), int(QDialog::Accepted));
        QCOMPARE(t.text(slot + 1, C::FreqCol), cell);
        QCOMPARE(t.inUse(slot), quint8(!cell.isEmpty()));
        QCOMPARE(t.text(slot + 1, C::ShiftFreqCol), cell.isEmpty() ? "" : "0.000MHz");
        if (!C::isCallRow(slot + 1))
            QCOMPARE(t.text(slot + 1, C::NameCol).isEmpty(), cell.isEmpty());
    }

    // Focus loss reaches the shift corrections; the field shows the result.
    void shiftCorrectedOnFocusLoss() {
        C t;
        Editor e(t, 0);
        retype(*e.dialog, QStringLiteral("DETAIL_FREQ_1"), QStringLiteral("145"));
        leave(retype(*e.dialog, QStringLiteral("DETAIL_SHIFT_FREQ_1"), QStringLiteral("999")));
        leave(retype(*e.dialog, QStringLiteral("DETAIL_SHIFT_FREQ_2"), QStringLiteral("999")));
        QCOMPARE(text(*e.dialog, QStringLiteral("DETAIL_SHIFT_FREQ_2")), QStringLiteral("995"));
        e.enter();
        QCOMPARE(t.text(1, C::ShiftFreqCol), QStringLiteral("999.995MHz"));
    }

    // Each digit field takes its own number of digits, and only digits;
    // Backspace always works, and then a digit fits again.
    void digitFields_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("kept");
        const auto row = [](int slot, const char *name, const char *keys, const char *kept) {
            QTest::newRow(name) << slot << QString(name) << QString(keys) << QString(kept);
        };
        row(0, "DETAIL_FREQ_1", "14505", "1450");
        row(0, "DETAIL_FREQ_2", "1234567", "12345");
        row(0, "DETAIL_SHIFT_FREQ_1", "1234", "123");
        row(0, "DETAIL_SHIFT_FREQ_2", "9x9 9 9", "999");
        row(1100, "DETAIL_FREQ_1_2", "14505", "1450");
        row(1100, "DETAIL_SHIFT_FREQ_2_2", "1a2345", "123");
    }
    void digitFields() {
        QFETCH(int, slot);
        QFETCH(QString, name);
        QFETCH(QString, keys);
        QFETCH(QString, kept);
        C t;
        Editor e(t, slot);
        QLineEdit *field = retype(*e.dialog, name, keys);
        QCOMPARE(field->text(), kept);
        QTest::keyClick(field, Qt::Key_Backspace);
        type(field, QStringLiteral("7"));
        QCOMPARE(field->text(), kept.chopped(1) + QLatin1Char('7'));
    }

    // The tone lists take no keys; the carrier list does.
    void toneListsIgnoreKeys() {
        C t;
        Editor e(t, 0);
        for (const char *name :
             {"TX_TONE_COMBO", "RX_TONE_COMBO", "DCS_COMBO", "TX_TONE_COMBO_2"}) {
            auto *list = find<QComboBox>(*e.dialog, QLatin1String(name));
            const int before = list->currentIndex();
            QTest::keyClick(list, Qt::Key_Down);
            QTest::keyClick(list, Qt::Key_End);
            QTest::keyClicks(list, QStringLiteral("1"));
            QCOMPARE(list->currentIndex(), before);
        }
        auto *train = find<QComboBox>(*e.dialog, QStringLiteral("TRAIN_COMBO"));
        const int before = train->currentIndex();
        QTest::keyClick(train, Qt::Key_Up);
        QCOMPARE(train->currentIndex(), before - 1);
    }

    // The wide modes are offered to memory and pass channels only.
    void narrowModesOnly_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<bool>("wide");
        QTest::newRow("memory") << 0 << true;
        QTest::newRow("CALL-VHF") << 1400 << false;
        QTest::newRow("dual-watch pair") << 1100 << false;
        QTest::newRow("pass") << 1403 << true;
    }
    void narrowModesOnly() {
        QFETCH(int, slot);
        QFETCH(bool, wide);
        C t;
        Editor e(t, slot);
        for (const QString &set : {QString(), QStringLiteral("_2")}) {
            for (int mode : {1, 3})
                QCOMPARE(
                    e.button(QStringLiteral("DETAIL_MODE%1(%2)").arg(set).arg(mode))->isEnabled(),
                    wide);
            QVERIFY(e.button(QStringLiteral("DETAIL_MODE%1(2)").arg(set))->isEnabled());
        }
        click(*e.dialog, QStringLiteral("DETAIL_MODE(1)"));
        QCOMPARE(e.button(QStringLiteral("DETAIL_MODE(1)"))->isChecked(), wide);
    }

    // A mode no option shows (a radio's undefined one) leaves none checked;
    // choosing then checks one only.
    void unknownModeChecksNone() {
        C t;
        t.setText(1, C::FreqCol, QStringLiteral("145.00000MHz"));
        t.setText(1, C::ModeCol, QStringLiteral("ERR"));
        t.setInUse(0, 1);
        Editor e(t, 0);
        const auto checked = [&](int mode) {
            return e.button(QStringLiteral("DETAIL_MODE(%1)").arg(mode))->isChecked();
        };
        QVERIFY(!checked(0) && !checked(1) && !checked(2) && !checked(3));
        click(*e.dialog, QStringLiteral("DETAIL_MODE(0)"));
        click(*e.dialog, QStringLiteral("DETAIL_MODE(2)"));
        QVERIFY(!checked(0) && checked(2));
    }

    // A user-character button appends its token where it fits, caret at the end.
    void userCharacterButtons_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("result");
        const auto row = [](const char *tag, const char *name, const char *button,
                            const char *result) {
            QTest::newRow(tag) << QString(name) << QString(button) << QString(result);
        };
        row("15 bytes", "ABCDEFGHIJKLMNO", "Command1(3)", "ABCDEFGHIJKLMNO:4~");
        row("16 bytes", "ABCDEFGHIJKLMNOP", "Command1(3)", "ABCDEFGHIJKLMNOP");
        row("second set", "AB", "Command1_2(7)", "AB:8~");
    }
    void userCharacterButtons() {
        QFETCH(QString, name);
        QFETCH(QString, button);
        QFETCH(QString, result);
        C t;
        Editor e(t, 1100);
        auto *field = find<QLineEdit>(*e.dialog, button.contains(QLatin1String("_2"))
                                                     ? QStringLiteral("DETAIL_NAME_2")
                                                     : QStringLiteral("DETAIL_NAME"));
        field->setText(name);
        field->setCursorPosition(0);
        click(*e.dialog, button);
        QCOMPARE(field->text(), result);
        if (result != name) QCOMPARE(field->cursorPosition(), int(result.size()));
    }

    // Characters outside the radio's set are typed but dropped on Enter;
    // tokens become user characters in the stored name.
    void nameOnEnter() {
        C t;
        Editor e(t, 0);
        retype(*e.dialog, QStringLiteral("DETAIL_FREQ_1"), QStringLiteral("145"));
        const QString typed = QString::fromUtf8("A\u03B1愛:1~");
        QCOMPARE(retype(*e.dialog, QStringLiteral("DETAIL_NAME"), typed)->text(), typed);
        e.enter();
        QCOMPARE(t.text(1, C::NameCol), QString::fromUtf8("A愛:1~"));
        QCOMPARE(t.storedName(0), QString::fromUtf8("A愛") + QChar(names::kFirstUserCharacter));
    }

    // Opened and confirmed without a change, a row stays exactly as it was.
    void rowRoundTrip() {
        C t;
        const QStringList cells{"438.12500MHz", "NFM", "25KHz", "2300Hz",   "DCS", "100.0Hz",
                                "103.5Hz",      "036", "-",     "5.000MHz", "*",   "AB:2~"};
        for (int c = 1; c <= C::kColumns; ++c)
            t.setText(11, c, cells.at(c - 1));
        t.setStepIndex(10, 7);
        t.setTxToneIndex(10, 12);
        t.setRxToneIndex(10, 13);
        t.setDcsIndex(10, 5);
        t.setCarrierIndex(10, 20);
        t.setInUse(10, 1);
        Editor e(t, 10);
        QCOMPARE(find<QLabel>(*e.dialog, QStringLiteral("Label2"))->text(),
                 QStringLiteral("Bank000-10"));
        QCOMPARE(text(*e.dialog, QStringLiteral("DETAIL_FREQ_2")), QStringLiteral("12500"));
        QVERIFY(e.button(QStringLiteral("DETAIL_STEP(7)"))->isChecked());
        QCOMPARE(find<QComboBox>(*e.dialog, QStringLiteral("TRAIN_COMBO"))->currentIndex(), 20);
        e.enter();
        for (int c = 1; c <= C::kColumns; ++c)
            QCOMPARE(t.text(11, c), cells.at(c - 1));
        QCOMPARE(t.stepIndex(10), quint8(7));
        QCOMPARE(t.rxToneIndex(10), quint8(13));
        QCOMPARE(t.storedName(10), QStringLiteral("AB") + QChar(names::kFirstUserCharacter + 1));
    }

    // Clear on a call channel leaves only Cancel; on an ordinary slot Enter
    // empties it. The close box is Cancel.
    void clearAndCancel() {
        C t;
        {
            Editor e(t, 1401);
            click(*e.dialog, QStringLiteral("DETAIL_CLEAR"));
            QVERIFY(text(*e.dialog, QStringLiteral("DETAIL_FREQ_1")).isEmpty());
            retype(*e.dialog, QStringLiteral("DETAIL_FREQ_1"), QStringLiteral("440"));
            QVERIFY(!e.button(QStringLiteral("DETAIL_ENTER"))->isEnabled());
            e.enter();
            QVERIFY(e.dialog->isVisible());
            click(*e.dialog, QStringLiteral("DETAIL_CANCEL"));
            QVERIFY(!e.dialog->isVisible());
            QCOMPARE(commitEdit(t, e.state), CommitResult::Nothing);
            QCOMPARE(t.text(1402, C::FreqCol), QStringLiteral("433.00000MHz"));
        }
        putChannel(t, 3, QStringLiteral("145.00000"), QStringLiteral("X"));
        {
            Editor e(t, 3);
            retype(*e.dialog, QStringLiteral("DETAIL_FREQ_1"), QStringLiteral("146"));
            e.state.editAction = SetSingle; // as a previous Enter might have left it
            e.dialog->close();
            QCOMPARE(e.dialog->result(), int(QDialog::Rejected));
            QCOMPARE(commitEdit(t, e.state), CommitResult::Nothing);
            QCOMPARE(t.text(4, C::FreqCol), QStringLiteral("145.00000MHz"));
        }
        Editor e(t, 3);
        click(*e.dialog, QStringLiteral("DETAIL_CLEAR"));
        e.enter();
        QCOMPARE(t.inUse(3), quint8(0));
        QVERIFY(t.text(4, C::FreqCol).isEmpty() && t.text(4, C::NameCol).isEmpty());
    }

    // A dual-watch pair shows both sets side by side; a single slot one.
    void pairShowsBothSets() {
        C t;
        {
            Editor single(t, 0);
            QVERIFY(!single.dialog->isPair());
            QCOMPARE(single.dialog->width(), 6555 / 15);
            QVERIFY(!find(*single.dialog, QStringLiteral("DETAIL_FREQ_1_2"))->isVisible());
        }
        putChannel(t, 1100, QStringLiteral("145.00000"), QStringLiteral("MAIN"));
        putChannel(t, 1101, QStringLiteral("433.50000"), QStringLiteral("SUB"));
        Editor e(t, 1100);
        QVERIFY(e.dialog->isPair());
        QCOMPARE(e.dialog->width(), 13440 / 15);
        QCOMPARE(find<QLabel>(*e.dialog, QStringLiteral("Label2"))->text(),
                 QStringLiteral("Dual0(Main) "));
        QCOMPARE(text(*e.dialog, QStringLiteral("DETAIL_NAME")), QStringLiteral("MAIN"));
        QCOMPARE(text(*e.dialog, QStringLiteral("DETAIL_FREQ_2_2")), QStringLiteral("50000"));
        QCOMPARE(text(*e.dialog, QStringLiteral("DETAIL_NAME_2")), QStringLiteral("SUB"));
        // Only the second set emptied: the "(Sub)" row is cleared on commit.
        click(*e.dialog, QStringLiteral("DETAIL_CLEAR_2"));
        retype(*e.dialog, QStringLiteral("DETAIL_FREQ_2"), QStringLiteral("25"));
        e.enter();
        QCOMPARE(e.state.editAction, int(NoEdit)); // consumed by the commit
        QCOMPARE(t.text(1101, C::FreqCol), QStringLiteral("145.25000MHz"));
        QVERIFY(t.text(1102, C::FreqCol).isEmpty());
        QCOMPARE(t.inUse(1101), quint8(0));
    }
};

QTEST_MAIN(DetailDialogTest)
#include "tst_detaildialog.moc"
