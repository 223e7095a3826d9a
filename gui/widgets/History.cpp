#include "gui/widgets/History.h"

#include <QAction>
#include <QKeySequence>
#include <QUndoCommand>
#include <QUndoStack>
#include <QWidget>

#include <algorithm>

namespace kpr5 {

namespace {

constexpr int kUndoLimit = 100;
constexpr int kMergeableId = 1;

QString rowsText(const QString &verb, int first, int last) {
    return first == last ? QStringLiteral("%1 row %2").arg(verb).arg(first)
                         : QStringLiteral("%1 rows %2–%3").arg(verb).arg(first).arg(last);
}

// The indexes at which two arrays differ.
template <class A> QList<int> differing(const A &a, const A &b) {
    QList<int> out;
    for (size_t i = 0; i < a.size(); ++i)
        if (!(a[i] == b[i])) out << int(i);
    return out;
}

// What an unnamed change is called, and what it may merge with (empty: nothing).
struct Description {
    QString text;
    QString mergeKey;
};

Description describe(const RegionChange &c) {
    switch (c.region) {
    case ChannelsRegion: {
        const auto &rows = std::get<ChannelRows>(c.after);
        return {rowsText(QStringLiteral("Change"), rows.firstRow, rows.lastRow()), {}};
    }
    case BanksRegion: {
        const QList<int> banks = differing(std::get<BankTable::State>(c.before).counts,
                                           std::get<BankTable::State>(c.after).counts);
        if (banks.size() == 1)
            return {QStringLiteral("Change size of bank %1").arg(banks.first()),
                    QStringLiteral("bank %1").arg(banks.first())};
        return {QStringLiteral("Change bank sizes"), {}};
    }
    case GroupsRegion:
        return {QStringLiteral("Change bank-link groups"), {}};
    case SettingsRegion: {
        const auto &before = std::get<SettingsModel::State>(c.before);
        const auto &after = std::get<SettingsModel::State>(c.after);
        QString key;
        int items = 0;
        for (size_t f = 0; f < before.size(); ++f) {
            for (int e : differing(before[f], after[f])) {
                ++items;
                key = QStringLiteral("setting %1.%2").arg(f).arg(e);
            }
        }
        return {QStringLiteral("Change settings"), items == 1 ? key : QString()};
    }
    case DtmfRegion: {
        const auto &before = std::get<DtmfMemories::State>(c.before);
        const auto &after = std::get<DtmfMemories::State>(c.after);
        const QList<int> memories = differing(before.memories, after.memories);
        if (memories.size() == 1 && before.timing == after.timing)
            return {QStringLiteral("Change DTMF memory %1").arg(memories.first()),
                    QStringLiteral("dtmf %1").arg(memories.first())};
        return {QStringLiteral("Change DTMF settings"), {}};
    }
    case OneTouchRegion:
        return {QStringLiteral("Change one-touch keys"), {}};
    case TitleRegion: {
        const bool textOnly = std::get<OpeningTitle::State>(c.before).moving ==
                              std::get<OpeningTitle::State>(c.after).moving;
        return {QStringLiteral("Change opening title"),
                textOnly ? QStringLiteral("title") : QString()};
    }
    case FontRegion: {
        const QList<int> glyphs =
            differing(std::get<FontImage::State>(c.before), std::get<FontImage::State>(c.after));
        if (glyphs.size() == 1)
            return {QStringLiteral("Change user character %1").arg(glyphs.first() + 1), {}};
        return {QStringLiteral("Change user characters"), {}};
    }
    }
    return {};
}

} // namespace

class History::Command : public QUndoCommand {
public:
    Command(DocumentState &state, QList<RegionChange> changes, const QString &name, int page)
        : m_state(state), m_changes(std::move(changes)), m_page(page) {
        QStringList texts;
        for (const RegionChange &c : m_changes) {
            m_regions |= c.region;
            texts << describe(c).text;
        }
        if (name.isEmpty()) {
            setText(texts.join(QStringLiteral(", ")));
            if (m_changes.size() == 1) m_mergeKey = describe(m_changes.first()).mergeKey;
        } else {
            setText(name);
        }
    }

    int id() const override { return m_mergeKey.isEmpty() ? -1 : kMergeableId; }
    bool mergeWith(const QUndoCommand *other) override {
        const auto *o = static_cast<const Command *>(other);
        if (o->m_mergeKey != m_mergeKey || o->m_page != m_page) return false;
        m_changes.first().after = o->m_changes.first().after;
        if (m_changes.first().before == m_changes.first().after) setObsolete(true);
        return true;
    }
    void undo() override { m_state.restore(m_changes, true); }
    void redo() override {
        // Pushed after the change was made: the first redo has nothing to do.
        if (m_fresh) {
            m_fresh = false;
            return;
        }
        m_state.restore(m_changes, false);
    }

    Regions regions() const { return m_regions; }
    int page() const { return m_page; }

private:
    DocumentState &m_state;
    QList<RegionChange> m_changes;
    Regions m_regions = 0;
    int m_page = 0;
    QString m_mergeKey;
    bool m_fresh = true;
};

History::History(DocumentState &state, QObject *parent)
    : QObject(parent), m_state(state), m_stack(new QUndoStack(this)) {
    m_stack->setUndoLimit(kUndoLimit);
    connect(&m_state, &DocumentState::edited, this, &History::scheduleFlush);
    connect(&m_state, &DocumentState::aboutToLoad, this, &History::flush);
    connect(&m_state, &DocumentState::loaded, m_stack, &QUndoStack::clear);
    connect(m_stack, &QUndoStack::indexChanged, this, &History::changed);
    connect(m_stack, &QUndoStack::undoTextChanged, this, &History::changed);
    connect(m_stack, &QUndoStack::redoTextChanged, this, &History::changed);
}

History::~History() = default;

void History::setPageHooks(std::function<int()> currentPage, std::function<bool(int)> showPage) {
    m_currentPage = std::move(currentPage);
    m_showPage = std::move(showPage);
}

void History::scheduleFlush() {
    if (m_flushScheduled) return;
    m_flushScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_flushScheduled = false;
            flush();
        },
        Qt::QueuedConnection);
}

void History::flush() {
    if (m_scopeDepth > 0 || !m_state.hasPendingEdits()) return;
    QList<RegionChange> changes = m_state.takeEdits();
    if (changes.isEmpty()) return;
    const int page = m_currentPage ? m_currentPage() : 0;
    m_stack->push(new Command(m_state, std::move(changes), m_scopeName, page));
}

const History::Command *History::command(int index) const {
    return static_cast<const Command *>(m_stack->command(index));
}

bool History::canUndo(Regions regions) {
    const Command *c = command(m_stack->index() - 1);
    return c && !(c->regions() & ~regions) && !m_state.loading();
}

bool History::canRedo(Regions regions) {
    const Command *c = command(m_stack->index());
    return c && !(c->regions() & ~regions) && !m_state.loading();
}

QString History::undoText() {
    return m_stack->canUndo() ? QStringLiteral("Undo ") + m_stack->undoText()
                              : QStringLiteral("Undo");
}

QString History::redoText() {
    return m_stack->canRedo() ? QStringLiteral("Redo ") + m_stack->redoText()
                              : QStringLiteral("Redo");
}

bool History::step(bool undo, Regions regions) {
    if (m_state.loading()) return false;
    flush();
    const int index = m_stack->index();
    const Command *c = command(undo ? index - 1 : index);
    if (!c || (c->regions() & ~regions)) return false;
    if (m_currentPage && m_showPage && c->page() > 0 && m_currentPage() != c->page()) {
        if (!m_showPage(c->page())) return false;
        // Showing the page may itself have changed something (the bank
        // page's check): that is now the last step, and this one is done.
        flush();
        if (m_stack->index() != index) return false;
    }
    if (undo)
        m_stack->undo();
    else
        m_stack->redo();
    return true;
}

void History::undo(Regions regions) {
    step(true, regions);
}

void History::redo(Regions regions) {
    step(false, regions);
}

History::Scope::Scope(History &history, const QString &name) : m_history(history) {
    if (m_history.m_scopeDepth == 0) {
        m_history.flush();
        m_history.m_scopeName = name;
    }
    ++m_history.m_scopeDepth;
}

History::Scope::~Scope() {
    if (--m_history.m_scopeDepth > 0) return;
    m_history.flush();
    m_history.m_scopeName.clear();
}

void addUndoShortcuts(QWidget *window, History &history, Regions regions) {
    auto *undo = new QAction(QStringLiteral("Undo"), window);
    undo->setObjectName(QStringLiteral("EditUndo"));
    undo->setShortcut(QKeySequence::Undo);
    auto *redo = new QAction(QStringLiteral("Redo"), window);
    redo->setObjectName(QStringLiteral("EditRedo"));
    redo->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
    window->addAction(undo);
    window->addAction(redo);
    History *h = &history;
    QObject::connect(undo, &QAction::triggered, window, [h, regions] { h->undo(regions); });
    QObject::connect(redo, &QAction::triggered, window, [h, regions] { h->redo(regions); });
}

} // namespace kpr5
