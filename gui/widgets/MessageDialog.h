#pragma once
// Every message box of the program goes through here, so that tests can read
// and answer it and nothing else shows a box behind their back.

#include <QString>

#include <functional>

class QWidget;

namespace kpr5::ui {

enum class Answer { Ok, Cancel, Save, Discard };

struct MessageRecord {
    QString text;
    QString title;
    QString detail;
    bool okCancel = false;
    bool saveDiscardCancel = false; // the unsaved-changes question
};

// A box with an OK button (or OK and Cancel), the system's text and title;
// `detail` is shown as informative text below it.
Answer showMessage(QWidget *parent, const QString &text, const QString &title,
                   const QString &detail = QString(), bool okCancel = false);

// The unsaved-changes question: Save, Discard or Cancel (also Escape and the
// close box). A hook's Ok counts as Discard.
Answer askSaveChanges(QWidget *parent, const QString &text, const QString &title,
                      const QString &detail = QString());

// "&" shown as itself where Qt would take it for a shortcut marker (group
// box titles, buttons, labels with a buddy).
QString literalAmpersands(const QString &text);

// Tests: while a hook is set, no box is shown; the hook sees the message and
// gives the answer.
using MessageHook = std::function<Answer(const MessageRecord &)>;
void setMessageHook(MessageHook hook);

} // namespace kpr5::ui
