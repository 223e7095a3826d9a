#pragma once
// Helpers for tests that drive windows: a small driver that reaches controls
// by objectName and works them as the user does, and a recorder of the
// message boxes the windows show.

#include "Records.h"
#include "SimFixture.h"
#include "core/channels/ChannelRecord.h"
#include "gui/channels/ChannelGridView.h"
#include "gui/widgets/MessageDialog.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

namespace kpr5::test {

// The control `name` below `top`; a missing one stops the run, naming it.
template <class T = QWidget> T *find(const QObject &top, const QString &name) {
    T *c = top.findChild<T *>(name);
    if (!c)
        qFatal("no %s named \"%s\" below \"%s\"", T::staticMetaObject.className(), qPrintable(name),
               qPrintable(top.objectName()));
    return c;
}

// A click on a button or a menu item; nothing happens when it is disabled.
inline void click(const QObject &top, const QString &name) {
    if (auto *a = top.findChild<QAction *>(name)) {
        if (a->isEnabled()) a->trigger();
        return;
    }
    find<QAbstractButton>(top, name)->click();
}

// Key presses carrying the characters of `keys` (any Unicode, not only Latin-1).
inline void type(QWidget *field, const QString &keys) {
    for (char32_t c : keys.toUcs4()) {
        const QString text = QString::fromUcs4(&c, 1);
        const int key = c < 0x80 ? QKeySequence(text)[0].key() : Qt::Key_unknown;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(field, &press);
        QApplication::sendEvent(field, &release);
    }
}
// The field emptied, then `keys` typed into it.
inline QLineEdit *retype(const QObject &top, const QString &name, const QString &keys) {
    auto *field = find<QLineEdit>(top, name);
    field->clear();
    type(field, keys);
    return field;
}
inline QString text(const QObject &top, const QString &name) {
    return find<QLineEdit>(top, name)->text();
}

// Focus leaves the control (where fields take their value over).
inline void leave(QWidget *control) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(control, &out);
}

// An entry chosen from a list as the user does.
inline void pick(const QObject &top, const QString &name, int index) {
    auto *list = find<QComboBox>(top, name);
    list->setCurrentIndex(index);
    Q_EMIT list->activated(index);
}

// The Memory page's grid of a main window.
inline ChannelGridView *grid(const QObject &window) {
    return find<ChannelGridView>(window, QStringLiteral("MSFlexGrid1"));
}
// A channel in use on `row` as a read from the radio leaves it: FM, `hz`, `name`.
inline void putChannel(ChannelTable &table, int row, quint32 hz, const QByteArray &name = "N") {
    decodeChannel(Record(hz).name(name).bytes(), table, row);
}

// Acts on the modal window T once its exec() runs, looking for it for half a
// second; closes it afterwards if `act` left it open.
struct Modal {
    bool done = false, seen = false;
};
template <class T> struct Action { using type = std::function<void(T *)>; };
template <class T = QDialog>
std::shared_ptr<Modal> onModal(QObject &owner, typename Action<T>::type act = {}) {
    auto state = std::make_shared<Modal>();
    auto *poll = new QTimer(&owner);
    QObject::connect(poll, &QTimer::timeout, [state, act, poll, tries = 0]() mutable {
        auto *d = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!d && ++tries < 100) return;
        poll->stop();
        poll->deleteLater();
        *state = {true, d != nullptr};
        if (d && act) act(d);
        if (d && d->isVisible()) d->reject();
    });
    poll->start(5);
    return state;
}

// The detail editor opened with Enter on `row` of a main window's grid and
// worked by `act`; cancelled if `act` leaves it open.
inline void editRow(QWidget &main, int row, const std::function<void(QDialog *)> &act) {
    grid(main)->setCurrentCell(row, 1);
    const auto shown = onModal(main, act);
    QTest::keyClick(grid(main), Qt::Key_Return);
    QVERIFY(shown->seen);
}

// Test-mode standard paths below a home of this process's own, so that tests
// running side by side do not see each other's backups.
inline void usePrivateStandardPaths() {
    static QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
}

// Records every message box the windows show and answers it. The
// unsaved-changes question is kept apart, in `questions`, and answered with
// `saveAnswer`.
class MessageRecorder {
public:
    explicit MessageRecorder(ui::Answer answer = ui::Answer::Ok) : m_answer(answer) {
        ui::setMessageHook([this](const ui::MessageRecord &r) {
            if (r.saveDiscardCancel) {
                questions << r;
                return saveAnswer;
            }
            records << r;
            if (onMessage) onMessage(r);
            return m_answer;
        });
    }
    ~MessageRecorder() { ui::setMessageHook(nullptr); }
    void setAnswer(ui::Answer a) { m_answer = a; }
    QStringList texts() const {
        QStringList out;
        for (const auto &m : records)
            out << m.text + QLatin1Char('|') + m.title;
        return out;
    }
    QList<ui::MessageRecord> records, questions;
    ui::Answer saveAnswer = ui::Answer::Discard;
    std::function<void(const ui::MessageRecord &)> onMessage;

private:
    ui::Answer m_answer;
};

} // namespace kpr5::test
