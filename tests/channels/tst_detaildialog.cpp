// The detail editor Form2 driven by its control names: typing with the key
// filters, the acceptance rules on Enter, the shift corrections on focus
// loss, the user-character buttons, Clear, Cancel, and the pair layout. The
// edit is committed as the Memory page commits it after the window closes.

#include "GuiFixture.h"
#include "core/channels/ChannelTable.h"
#include "core/text/NameCodec.h"
#include "gui/channels/DetailDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <memory>

using namespace kpr5;
using namespace kpr5::edit;
using C = kpr5::ChannelTable;

namespace {

// One open editor on a slot of a table.
class Editor {
public:
    Editor(C &table, int slot) : m_table(table) {
        state.slot = slot;
        dialog = std::make_unique<DetailDialog>(table, state);
        dialog->show();
    }

    template <class T> T *get(const QString &name) const {
        T *w = dialog->findChild<T *>(name);
        if (!w) qWarning("no control %s", qPrintable(name));
        return w;
    }
    QLineEdit *field(const QString &name) const { return get<QLineEdit>(name); }
    QString text(const QString &name) const { return field(name)->text(); }

    void type(const QString &name, const QString &keys) const {
        QLineEdit *f = field(name);
        f->clear();
        typeInto(f, keys);
    }
    // Key presses carrying any character (QTest::keyClicks takes Latin-1 only).
    static void typeInto(QWidget *w, const QString &keys) {
        for (uint c : keys.toUcs4()) {
            const QString text = QString::fromUcs4(reinterpret_cast<const char32_t *>(&c), 1);
            const int key = c < 0x80 ? QKeySequence(text)[0].key() : Qt::Key_unknown;
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
            QApplication::sendEvent(w, &press);
            QApplication::sendEvent(w, &release);
        }
    }
    void leave(const QString &name) const {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(field(name), &out);
    }
    // A click as the user makes it: nothing happens on a disabled control.
    void click(const QString &name) const { get<QAbstractButton>(name)->click(); }
    bool checked(const QString &name) const { return get<QAbstractButton>(name)->isChecked(); }

    // DETAIL_ENTER, then the commit the Memory page runs after the window closed.
    CommitResult enter() {
        click(QStringLiteral("DETAIL_ENTER"));
        return commitEdit(m_table, state);
    }

    EditState state;
    std::unique_ptr<DetailDialog> dialog;

private:
    C &m_table;
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
    void frequencyOnEnter_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("integer");
        QTest::addColumn<QString>("decimals");
        QTest::addColumn<QString>("cell");
        QTest::newRow("145 and 5") << 0 << "145"
                                   << "5"
                                   << "145.50000MHz";
        QTest::newRow("1301 is 145") << 0 << "1301"
                                     << ""
                                     << "145.00000MHz";
        QTest::newRow("1300 erased") << 0 << "1300"
                                     << ""
                                     << "";
        QTest::newRow("851 accepted") << 0 << "851"
                                      << "00000"
                                      << "851.00000MHz";
        QTest::newRow("824 erased") << 0 << "824"
                                    << "00000"
                                    << "";
        QTest::newRow("894.99999 erased") << 0 << "894"
                                          << "99999"
                                          << "";
        QTest::newRow("0.53099 accepted") << 0 << "0"
                                          << "53099"
                                          << "0.53099MHz";
        QTest::newRow("0.53098 erased") << 0 << "0"
                                        << "53098"
                                        << "";
        QTest::newRow("CALL-UHF 145 is 433") << 1401 << "145"
                                             << "00000"
                                             << "433.00000MHz";
        QTest::newRow("CALL-1.2 1299.9999 kept") << 1402 << "1299"
                                                 << "9999"
                                                 << "1299.99990MHz";
    }

    // Erased frequencies leave a single slot empty, row and in-use flag alike.
    void frequencyOnEnter() {
        QFETCH(int, slot);
        QFETCH(QString, integer);
        QFETCH(QString, decimals);
        QFETCH(QString, cell);
        C t;
        if (!C::isCallRow(slot + 1))
            putChannel(t, slot, QStringLiteral("440.00000"), QStringLiteral("OLD"));
        Editor e(t, slot);
        e.type(QStringLiteral("DETAIL_FREQ_1"), integer);
        e.type(QStringLiteral("DETAIL_FREQ_2"), decimals);
        QCOMPARE(e.enter(), CommitResult::Applied);
        QCOMPARE(e.dialog->result(), int(QDialog::Accepted));
        QCOMPARE(t.text(slot + 1, C::FreqCol), cell);
        QCOMPARE(t.inUse(slot), quint8(!cell.isEmpty()));
        if (!C::isCallRow(slot + 1))
            QCOMPARE(t.text(slot + 1, C::NameCol).isEmpty(), cell.isEmpty());
    }

    void shiftCorrectedOnFocusLoss_data() {
        QTest::addColumn<QString>("integer");
        QTest::addColumn<QString>("decimals");
        QTest::addColumn<QString>("cell");
        QTest::newRow("999.999") << "999"
                                 << "999"
                                 << "999.995MHz";
        QTest::newRow("decimals 6") << ""
                                    << "6"
                                    << "0.600MHz";
        QTest::newRow("leading zeros") << "05"
                                       << ""
                                       << "5.000MHz";
    }

    void shiftCorrectedOnFocusLoss() {
        QFETCH(QString, integer);
        QFETCH(QString, decimals);
        QFETCH(QString, cell);
        C t;
        Editor e(t, 0);
        e.type(QStringLiteral("DETAIL_FREQ_1"), QStringLiteral("145"));
        e.type(QStringLiteral("DETAIL_SHIFT_FREQ_1"), integer);
        e.leave(QStringLiteral("DETAIL_SHIFT_FREQ_1"));
        e.type(QStringLiteral("DETAIL_SHIFT_FREQ_2"), decimals);
        e.leave(QStringLiteral("DETAIL_SHIFT_FREQ_2"));
        const QString shown = e.text(QStringLiteral("DETAIL_SHIFT_FREQ_1")) + QLatin1Char('.') +
                              e.text(QStringLiteral("DETAIL_SHIFT_FREQ_2")) + QStringLiteral("MHz");
        QCOMPARE(shown, cell);
        e.enter();
        QCOMPARE(t.text(1, C::ShiftFreqCol), cell);
    }

    // A shift never given a value is written as 0.000, not as a bare point.
    void untouchedShiftIsZero() {
        C t;
        Editor e(t, 0);
        e.type(QStringLiteral("DETAIL_FREQ_1"), QStringLiteral("145"));
        e.enter();
        QCOMPARE(t.text(1, C::ShiftFreqCol), QStringLiteral("0.000MHz"));
        QCOMPARE(t.text(1, C::ShiftCol), QStringLiteral("Off"));
    }

    void digitFields_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::newRow("fifth digit refused") << 0 << "DETAIL_FREQ_1"
                                             << "14505"
                                             << "1450";
        QTest::newRow("letters refused") << 0 << "DETAIL_FREQ_1"
                                         << "1a4.-5"
                                         << "145";
        QTest::newRow("decimals 5") << 0 << "DETAIL_FREQ_2"
                                    << "1234567"
                                    << "12345";
        QTest::newRow("shift 3") << 0 << "DETAIL_SHIFT_FREQ_1"
                                 << "1234"
                                 << "123";
        QTest::newRow("shift decimals 3") << 0 << "DETAIL_SHIFT_FREQ_2"
                                          << "9x9 9 9"
                                          << "999";
        QTest::newRow("second set too") << 1100 << "DETAIL_FREQ_1_2"
                                        << "14505"
                                        << "1450";
        QTest::newRow("second set decimals") << 1100 << "DETAIL_SHIFT_FREQ_2_2"
                                             << "1a2345"
                                             << "123";
    }

    void digitFields() {
        QFETCH(int, slot);
        QFETCH(QString, name);
        QFETCH(QString, keys);
        QFETCH(QString, text);
        C t;
        Editor e(t, slot);
        e.type(name, keys);
        QCOMPARE(e.text(name), text);
        // Backspace always works, and then a digit fits again.
        QTest::keyClick(e.field(name), Qt::Key_Backspace);
        QTest::keyClicks(e.field(name), QStringLiteral("7"));
        QCOMPARE(e.text(name), text.chopped(1) + QLatin1Char('7'));
    }

    void toneListsIgnoreKeys() {
        C t;
        Editor e(t, 0);
        for (const char *name :
             {"TX_TONE_COMBO", "RX_TONE_COMBO", "DCS_COMBO", "TX_TONE_COMBO_2"}) {
            auto *list = e.get<QComboBox>(QLatin1String(name));
            const int before = list->currentIndex();
            QTest::keyClick(list, Qt::Key_Down);
            QTest::keyClick(list, Qt::Key_End);
            QTest::keyClicks(list, QStringLiteral("1"));
            QCOMPARE(list->currentIndex(), before);
        }
        // The carrier list is not one of them.
        auto *train = e.get<QComboBox>(QStringLiteral("TRAIN_COMBO"));
        QCOMPARE(train->currentIndex(), 28);
        QTest::keyClick(train, Qt::Key_Up);
        QCOMPARE(train->currentIndex(), 27);
    }

    void narrowModesOnly_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<bool>("wide");
        QTest::newRow("memory") << 0 << true;
        QTest::newRow("CALL-VHF") << 1400 << false;
        QTest::newRow("CALL-1.2") << 1402 << false;
        QTest::newRow("dual-watch pair") << 1100 << false;
        QTest::newRow("pass") << 1403 << true;
    }

    void narrowModesOnly() {
        QFETCH(int, slot);
        QFETCH(bool, wide);
        C t;
        Editor e(t, slot);
        for (const QString &set : {QString(), QStringLiteral("_2")}) {
            QCOMPARE(
                e.get<QAbstractButton>(QStringLiteral("DETAIL_MODE%1(1)").arg(set))->isEnabled(),
                wide);
            QCOMPARE(
                e.get<QAbstractButton>(QStringLiteral("DETAIL_MODE%1(3)").arg(set))->isEnabled(),
                wide);
            QVERIFY(
                e.get<QAbstractButton>(QStringLiteral("DETAIL_MODE%1(2)").arg(set))->isEnabled());
        }
        e.click(QStringLiteral("DETAIL_MODE(1)"));
        QCOMPARE(e.checked(QStringLiteral("DETAIL_MODE(1)")), wide);
    }

    void userCharacterButtons_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("result");
        QTest::newRow("15 bytes") << "ABCDEFGHIJKLMNO"
                                  << "Command1(3)"
                                  << "ABCDEFGHIJKLMNO:4~";
        QTest::newRow("16 bytes") << "ABCDEFGHIJKLMNOP"
                                  << "Command1(3)"
                                  << "ABCDEFGHIJKLMNOP";
        QTest::newRow("tokens count 2") << ":1~:2~:3~:4~:5~:6~:7~"
                                        << "Command1(7)"
                                        << ":1~:2~:3~:4~:5~:6~:7~:8~";
        QTest::newRow("16 bytes of tokens") << ":1~:2~:3~:4~:5~:6~:7~:8~"
                                            << "Command1(0)"
                                            << ":1~:2~:3~:4~:5~:6~:7~:8~";
        QTest::newRow("double-byte") << QString::fromUtf8("愛愛愛愛愛愛愛") << "Command1(0)"
                                     << QString::fromUtf8("愛愛愛愛愛愛愛:1~");
        QTest::newRow("second set") << "AB"
                                    << "Command1_2(3)"
                                    << "AB:4~";
    }

    void userCharacterButtons() {
        QFETCH(QString, name);
        QFETCH(QString, button);
        QFETCH(QString, result);
        C t;
        Editor e(t, 1100);
        const QString field = button.contains(QLatin1String("_2")) ? QStringLiteral("DETAIL_NAME_2")
                                                                   : QStringLiteral("DETAIL_NAME");
        e.field(field)->setText(name);
        e.click(button);
        QCOMPARE(e.text(field), result);
        QCOMPARE(e.field(field)->cursorPosition(), int(result.size()));
    }

    void nameTyping() {
        C t;
        Editor e(t, 0);
        const QString name = QStringLiteral("DETAIL_NAME");
        e.type(name, QStringLiteral("ABCDEFGHIJKLMNOPQR"));
        QCOMPARE(e.text(name), QStringLiteral("ABCDEFGHIJKLMNOP"));
        QTest::keyClick(e.field(name), Qt::Key_Backspace);
        QCOMPARE(e.text(name), QStringLiteral("ABCDEFGHIJKLMNO"));
        // A double-byte character needs two bytes: it no longer fits.
        Editor::typeInto(e.field(name), QString::fromUtf8("愛"));
        QCOMPARE(e.text(name), QStringLiteral("ABCDEFGHIJKLMNO"));
    }

    // Characters outside the radio's double-byte set are typed but dropped on Enter;
    // tokens become user characters in the stored name.
    void nameOnEnter() {
        C t;
        Editor e(t, 0);
        e.type(QStringLiteral("DETAIL_FREQ_1"), QStringLiteral("145"));
        e.type(QStringLiteral("DETAIL_NAME"), QString::fromUtf8("A\u03B1愛:1~"));
        QCOMPARE(e.text(QStringLiteral("DETAIL_NAME")), QString::fromUtf8("A\u03B1愛:1~"));
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
        QCOMPARE(e.get<QLabel>(QStringLiteral("Label2"))->text(), QStringLiteral("Bank000-10"));
        QCOMPARE(e.text(QStringLiteral("DETAIL_FREQ_1")), QStringLiteral("438"));
        QCOMPARE(e.text(QStringLiteral("DETAIL_FREQ_2")), QStringLiteral("12500"));
        QVERIFY(e.checked(QStringLiteral("DETAIL_MODE(2)")));
        QVERIFY(e.checked(QStringLiteral("DETAIL_STEP(7)")));
        QVERIFY(e.checked(QStringLiteral("PALSE_TYPE(4)")));
        QVERIFY(e.checked(QStringLiteral("DETAIL_SHIFT(2)")));
        QVERIFY(e.checked(QStringLiteral("DETAIL_SKIP")));
        QCOMPARE(e.get<QComboBox>(QStringLiteral("TX_TONE_COMBO"))->currentIndex(), 12);
        QCOMPARE(e.get<QComboBox>(QStringLiteral("DCS_COMBO"))->currentIndex(), 5);
        QCOMPARE(e.get<QComboBox>(QStringLiteral("TRAIN_COMBO"))->currentIndex(), 20);
        QCOMPARE(e.text(QStringLiteral("DETAIL_SHIFT_FREQ_1")), QStringLiteral("5"));
        QCOMPARE(e.text(QStringLiteral("DETAIL_SHIFT_FREQ_2")), QStringLiteral("000"));
        e.enter();
        for (int c = 1; c <= C::kColumns; ++c)
            QCOMPARE(t.text(11, c), cells.at(c - 1));
        QCOMPARE(t.stepIndex(10), quint8(7));
        QCOMPARE(t.rxToneIndex(10), quint8(13));
        QCOMPARE(t.storedName(10), QStringLiteral("AB") + QChar(names::kFirstUserCharacter + 1));
    }

    void emptyRowShowsTheDefaults() {
        C t;
        Editor e(t, 5);
        QVERIFY(e.text(QStringLiteral("DETAIL_FREQ_1")).isEmpty());
        QVERIFY(e.checked(QStringLiteral("DETAIL_MODE(0)")));
        QVERIFY(e.checked(QStringLiteral("DETAIL_STEP(0)")));
        QVERIFY(e.checked(QStringLiteral("PALSE_TYPE(0)")));
        QVERIFY(e.checked(QStringLiteral("DETAIL_SHIFT(0)")));
        QCOMPARE(e.get<QComboBox>(QStringLiteral("TX_TONE_COMBO"))->currentText(),
                 QStringLiteral("88.5Hz"));
        QCOMPARE(e.get<QComboBox>(QStringLiteral("DCS_COMBO"))->currentText(),
                 QStringLiteral("023"));
        QCOMPARE(e.get<QComboBox>(QStringLiteral("TRAIN_COMBO"))->currentText(),
                 QString::fromUtf8("ＪＲ"));
    }

    void clearOnCallChannelLeavesOnlyCancel() {
        C t;
        Editor e(t, 1401);
        QCOMPARE(e.text(QStringLiteral("DETAIL_FREQ_1")), QStringLiteral("433"));
        e.click(QStringLiteral("DETAIL_CLEAR"));
        QVERIFY(e.text(QStringLiteral("DETAIL_FREQ_1")).isEmpty());
        QVERIFY(!e.get<QAbstractButton>(QStringLiteral("DETAIL_ENTER"))->isEnabled());
        e.type(QStringLiteral("DETAIL_FREQ_1"), QStringLiteral("440"));
        QVERIFY(!e.get<QAbstractButton>(QStringLiteral("DETAIL_ENTER"))->isEnabled());
        e.enter();
        QVERIFY(e.dialog->isVisible());
        e.click(QStringLiteral("DETAIL_CANCEL"));
        QVERIFY(!e.dialog->isVisible());
        QCOMPARE(commitEdit(t, e.state), CommitResult::Nothing);
        QCOMPARE(t.text(1402, C::FreqCol), QStringLiteral("433.00000MHz"));
        QCOMPARE(t.inUse(1401), quint8(1));
    }

    void clearOnOrdinarySlotEmptiesIt() {
        C t;
        putChannel(t, 3, QStringLiteral("145.00000"), QStringLiteral("X"));
        Editor e(t, 3);
        e.click(QStringLiteral("DETAIL_CLEAR"));
        QVERIFY(e.get<QAbstractButton>(QStringLiteral("DETAIL_ENTER"))->isEnabled());
        e.enter();
        QCOMPARE(t.inUse(3), quint8(0));
        QVERIFY(t.text(4, C::FreqCol).isEmpty());
        QVERIFY(t.text(4, C::NameCol).isEmpty());
    }

    void closeBoxIsCancel() {
        C t;
        putChannel(t, 0, QStringLiteral("145.00000"));
        Editor e(t, 0);
        e.type(QStringLiteral("DETAIL_FREQ_1"), QStringLiteral("146"));
        e.state.editAction = SetSingle; // as a previous Enter might have left it
        e.dialog->close();
        QCOMPARE(e.dialog->result(), int(QDialog::Rejected));
        QCOMPARE(commitEdit(t, e.state), CommitResult::Nothing);
        QCOMPARE(t.text(1, C::FreqCol), QStringLiteral("145.00000MHz"));
    }

    void pairShowsBothSets() {
        C t;
        putChannel(t, 1100, QStringLiteral("145.00000"), QStringLiteral("MAIN"));
        putChannel(t, 1101, QStringLiteral("433.50000"), QStringLiteral("SUB"));
        Editor e(t, 1100);
        QVERIFY(e.dialog->isPair());
        QCOMPARE(e.dialog->width(), 13440 / 15);
        QVERIFY(e.field(QStringLiteral("DETAIL_FREQ_1_2"))->isVisible());
        QCOMPARE(e.get<QLabel>(QStringLiteral("Label2"))->text(), QStringLiteral("Dual0(Main) "));
        QCOMPARE(e.text(QStringLiteral("DETAIL_FREQ_1")), QStringLiteral("145"));
        QCOMPARE(e.text(QStringLiteral("DETAIL_NAME")), QStringLiteral("MAIN"));
        QCOMPARE(e.text(QStringLiteral("DETAIL_FREQ_1_2")), QStringLiteral("433"));
        QCOMPARE(e.text(QStringLiteral("DETAIL_FREQ_2_2")), QStringLiteral("50000"));
        QCOMPARE(e.text(QStringLiteral("DETAIL_NAME_2")), QStringLiteral("SUB"));
        // Only the second set emptied: the "(Sub)" row is cleared on commit.
        e.click(QStringLiteral("DETAIL_CLEAR_2"));
        QVERIFY(e.get<QAbstractButton>(QStringLiteral("DETAIL_ENTER"))->isEnabled());
        e.type(QStringLiteral("DETAIL_FREQ_2"), QStringLiteral("25"));
        e.enter();
        QCOMPARE(e.state.editAction, int(NoEdit)); // consumed by the commit
        QCOMPARE(t.text(1101, C::FreqCol), QStringLiteral("145.25000MHz"));
        QVERIFY(t.text(1102, C::FreqCol).isEmpty());
        QCOMPARE(t.inUse(1101), quint8(0));
    }

    void singleSlotShowsOneSet() {
        C t;
        Editor e(t, 0);
        QVERIFY(!e.dialog->isPair());
        QCOMPARE(e.dialog->width(), 6555 / 15);
        QVERIFY(!e.field(QStringLiteral("DETAIL_FREQ_1_2"))->isVisible());
        QCOMPARE(e.get<QAbstractButton>(QStringLiteral("DETAIL_ENTER"))
                     ->mapTo(e.dialog.get(), QPoint())
                     .x(),
                 8);
        QCOMPARE(e.get<QAbstractButton>(QStringLiteral("DETAIL_CANCEL"))
                     ->mapTo(e.dialog.get(), QPoint())
                     .x(),
                 336);
    }
};

QTEST_MAIN(DetailDialogTest)
#include "tst_detaildialog.moc"
