#pragma once
// Undo and redo of everything the user changes in the document.
//
// Each step holds, for every region it changed, the region's value before
// and after (rows of the channel table, or a small model's whole value), as
// DocumentState collects them; undo and redo put those values back, so
// they return the document exactly. Edits made in one go (one event, or
// inside a Scope) are one step; a Scope also names it ("Clear rows
// 1400–1405"). Unnamed steps are named after the region they changed, and
// steps that keep changing the same thing (typing in the title, dragging a
// bank's slider) are merged. A load (a file opened, a radio read) starts a
// new history. Undo never sends anything to the radio.

#include "core/document/DocumentState.h"

#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QUndoStack;
class QWidget;

namespace kpr5 {

class History : public QObject {
    Q_OBJECT
public:
    explicit History(DocumentState &state, QObject *parent = nullptr);
    ~History() override;

    QUndoStack *stack() const { return m_stack; }

    // The page an edit is made on, and how to show a page before its edit is
    // undone or redone (false: the page could not be shown, nothing happens).
    void setPageHooks(std::function<int()> currentPage, std::function<bool(int)> showPage);

    // The edits made so far become a step.
    void flush();

    // Whether the next undo (redo) step touches nothing but `regions`.
    bool canUndo(Regions regions = kAllRegions);
    bool canRedo(Regions regions = kAllRegions);
    // "Undo Clear rows 1400–1405" / "Redo …"; "Undo" / "Redo" when there is none.
    QString undoText();
    QString redoText();
    void undo(Regions regions = kAllRegions);
    void redo(Regions regions = kAllRegions);

    // Edits until the outermost Scope ends are one step called `name`.
    class Scope {
    public:
        Scope(History &history, const QString &name);
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

    private:
        History &m_history;
    };

Q_SIGNALS:
    // The steps or their names changed.
    void changed();

private:
    void scheduleFlush();
    class Command;
    const Command *command(int index) const;
    bool step(bool undo, Regions regions);

    DocumentState &m_state;
    QUndoStack *m_stack;
    std::function<int()> m_currentPage;
    std::function<bool(int)> m_showPage;
    int m_scopeDepth = 0;
    QString m_scopeName;
    bool m_flushScheduled = false;
};

// Undo and redo shortcuts (Ctrl+Z; Ctrl+Shift+Z and Ctrl+Y) for a window of
// its own, such as the font editor: they act only on steps that touch
// nothing but `regions`.
void addUndoShortcuts(QWidget *window, History &history, Regions regions);

} // namespace kpr5
