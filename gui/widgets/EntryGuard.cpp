#include "gui/widgets/EntryGuard.h"

#include "core/text/NameCodec.h"
#include "gui/widgets/MessageDialog.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

namespace kpr5::ui {

namespace {

int visibleCharacters(const QString &text) {
    int n = 0;
    for (QChar c : text)
        n += (c.unicode() >= 0x20 && c.unicode() != 0x7F && !c.isLowSurrogate()) ? 1 : 0;
    return n;
}

class EntryGuard : public QObject {
public:
    EntryGuard(QLineEdit *field, EntryRule rule)
        : QObject(field), m_field(field), m_rule(std::move(rule)) {
        field->setAcceptDrops(true);
        field->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched != m_field) return false;
        switch (event->type()) {
        case QEvent::KeyPress:
            return keyPress(static_cast<QKeyEvent *>(event));
        case QEvent::InputMethod:
            return inputMethod(static_cast<QInputMethodEvent *>(event));
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
            return middleButton(static_cast<QMouseEvent *>(event));
        case QEvent::Drop:
            return drop(static_cast<QDropEvent *>(event));
        case QEvent::ContextMenu:
            return contextMenu(static_cast<QContextMenuEvent *>(event));
        default:
            return false;
        }
    }

private:
    // The field's text without its selection: what an insertion leaves.
    QString rest() const {
        QString text = m_field->text();
        if (m_field->hasSelectedText())
            text.remove(m_field->selectionStart(), m_field->selectedText().size());
        return text;
    }

    // Puts what the rule takes of `text` at the cursor (over the selection).
    // A paste taken in part is reported.
    void insert(const QString &text, bool paste) {
        const QString taken = m_rule(rest(), text);
        if (!taken.isEmpty()) m_field->insert(taken);
        if (paste && visibleCharacters(taken) < visibleCharacters(text))
            showMessage(m_field->window(), QStringLiteral("Part of the pasted text was left out"),
                        QStringLiteral("Caution"),
                        QStringLiteral("This field took \"%1\".").arg(taken));
    }

    bool keyPress(QKeyEvent *key) {
        if (key->matches(QKeySequence::Paste)) {
            if (!m_field->isReadOnly())
                insert(QGuiApplication::clipboard()->text(QClipboard::Clipboard), true);
            return true;
        }
        // A key that types (as the field itself decides): printable text, not
        // with Ctrl alone.
        const QString typed = key->text();
        const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;
        const bool character = !typed.isEmpty() && typed.at(0).unicode() >= 0x20 &&
                               typed.at(0).unicode() != 0x7F && modifiers != Qt::ControlModifier &&
                               modifiers != (Qt::ControlModifier | Qt::ShiftModifier);
        if (!character) return false; // Backspace, moving, selecting, copy, Tab ...
        const QString taken = m_rule(rest(), typed);
        if (taken == typed) return false; // the field types it itself
        if (!taken.isEmpty()) m_field->insert(taken);
        return true; // refused keys are discarded without a message
    }

    bool inputMethod(QInputMethodEvent *im) {
        const QString commit = im->commitString();
        if (commit.isEmpty()) return false;
        const QString taken = m_rule(rest(), commit);
        if (taken == commit) return false;
        QInputMethodEvent filtered(im->preeditString(), im->attributes());
        filtered.setCommitString(taken, im->replacementStart(), im->replacementLength());
        QCoreApplication::sendEvent(m_field, &filtered); // passes here again, as it is
        return true;
    }

    // The middle button pastes the X11 selection where it is released.
    bool middleButton(QMouseEvent *mouse) {
        if (mouse->button() != Qt::MiddleButton ||
            !QGuiApplication::clipboard()->supportsSelection())
            return false;
        if (mouse->type() == QEvent::MouseButtonRelease && !m_field->isReadOnly()) {
            m_field->deselect();
            m_field->setCursorPosition(m_field->cursorPositionAt(mouse->position().toPoint()));
            insert(QGuiApplication::clipboard()->text(QClipboard::Selection), true);
        }
        return true;
    }

    bool drop(QDropEvent *event) {
        if (m_field->isReadOnly() || !event->mimeData()->hasText()) return false;
        m_field->deselect();
        m_field->setCursorPosition(m_field->cursorPositionAt(event->position().toPoint()));
        insert(event->mimeData()->text(), true);
        event->acceptProposedAction();
        return true;
    }

    // The standard menu, its Paste going through here.
    bool contextMenu(QContextMenuEvent *event) {
        if (m_field->contextMenuPolicy() != Qt::DefaultContextMenu) return false;
        QMenu *menu = m_field->createStandardContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        const auto actions = menu->actions();
        for (QAction *a : actions) {
            if (a->objectName() != QLatin1String("edit-paste")) continue;
            a->disconnect();
            connect(a, &QAction::triggered, this, [this] {
                insert(QGuiApplication::clipboard()->text(QClipboard::Clipboard), true);
            });
        }
        menu->popup(event->globalPos());
        return true;
    }

    QLineEdit *m_field;
    EntryRule m_rule;
};

} // namespace

void guardEntry(QLineEdit *field, EntryRule rule) {
    new EntryGuard(field, std::move(rule));
}

EntryRule nameRule(bool title) {
    return [title](const QString &rest, const QString &inserted) {
        return names::admitTyped(rest, inserted, title);
    };
}

EntryRule digitRule(int limit) {
    return [limit](const QString &rest, const QString &inserted) {
        QString taken;
        for (QChar c : inserted) {
            if (c.isDigit() && c.unicode() < 0x80 && rest.size() + taken.size() < limit) taken += c;
        }
        return taken;
    };
}

} // namespace kpr5::ui
