#include "gui/channels/ChannelPage.h"

#include "core/channels/ChannelRowEdits.h"
#include "core/channels/ChannelSearch.h"
#include "core/channels/ChannelTable.h"
#include "core/channels/ChannelTransfer.h"
#include "core/files/ChannelClipboard.h"
#include "gui/channels/ChannelGridView.h"
#include "gui/channels/DetailDialog.h"
#include "gui/widgets/History.h"
#include "gui/widgets/MessageDialog.h"
#include "gui/widgets/Twips.h"
#include "gui/widgets/Workspace.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kpr5 {

namespace {

// "Clear rows 1400–1405", "Clear row 7".
QString rowsStep(const char *verb, int a, int b) {
    const int first = std::min(a, b);
    const int last = std::max(a, b);
    return first == last
               ? QStringLiteral("%1 row %2").arg(QLatin1String(verb)).arg(first)
               : QStringLiteral("%1 rows %2–%3").arg(QLatin1String(verb)).arg(first).arg(last);
}

const QString kPasteTitle = QStringLiteral("Paste");

} // namespace

QWidget *createMemoryPage(Workspace &workspace) {
    return new ChannelPage(workspace);
}

ChannelPage::ChannelPage(Workspace &workspace, QWidget *parent)
    : QWidget(parent), m_workspace(workspace) {
    setObjectName(QStringLiteral("MemoryPage"));
    ChannelTable &table = m_workspace.document().channels;
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_grid = new ChannelGridView(table, this);
    layout->addWidget(m_grid, 1);

    auto *row = new QHBoxLayout;
    auto button = [&](const QString &name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        row->addWidget(b);
        return b;
    };
    QPushButton *read = button(QStringLiteral("READ_Botton"), QStringLiteral("Memory Read"));
    QPushButton *write = button(QStringLiteral("WRITE_Botton"), QStringLiteral("Memory Write"));
    QPushButton *readOne = button(QStringLiteral("MEM_ONE_READ"), QStringLiteral("Select Read"));
    QPushButton *writeOne = button(QStringLiteral("MEM_ONE_WRITE"), QStringLiteral("Select Write"));
    row->addSpacing(twipsToPixels(300));
    QPushButton *up = button(QStringLiteral("LIST_SET(0)"), QStringLiteral("Up"));
    QPushButton *down = button(QStringLiteral("LIST_SET(1)"), QStringLiteral("Down"));
    row->addSpacing(twipsToPixels(300));
    QPushButton *clear = button(QStringLiteral("Clear_Botton"), QStringLiteral("Clear"));
    m_reset = button(QStringLiteral("ALL_Reset"), QStringLiteral("Reset"));
    row->addStretch(1);
    for (QWidget *control : {static_cast<QWidget *>(m_grid), static_cast<QWidget *>(read),
                             static_cast<QWidget *>(write), static_cast<QWidget *>(readOne),
                             static_cast<QWidget *>(writeOne), static_cast<QWidget *>(up),
                             static_cast<QWidget *>(down), static_cast<QWidget *>(clear),
                             static_cast<QWidget *>(m_reset)})
        disableDuringTransfer(control);
    layout->addLayout(row);

    // The find bar, hidden until Find.
    m_findBar = new QWidget(this);
    m_findBar->setObjectName(QStringLiteral("FindBar"));
    auto *find = new QHBoxLayout(m_findBar);
    find->setContentsMargins(0, 0, 0, 0);
    auto *findLabel = new QLabel(QStringLiteral("Find (frequency or name):"), m_findBar);
    findLabel->setObjectName(QStringLiteral("FindLabel"));
    m_findText = new QLineEdit(m_findBar);
    m_findText->setObjectName(QStringLiteral("FindText"));
    m_findText->installEventFilter(this);
    findLabel->setBuddy(m_findText);
    auto *findNextButton = new QPushButton(QStringLiteral("Find Next"), m_findBar);
    findNextButton->setObjectName(QStringLiteral("FindNext"));
    findNextButton->setAutoDefault(false);
    auto *findClose = new QPushButton(QStringLiteral("Close"), m_findBar);
    findClose->setObjectName(QStringLiteral("FindClose"));
    findClose->setAutoDefault(false);
    m_findStatus = new QLabel(m_findBar);
    m_findStatus->setObjectName(QStringLiteral("FindStatus"));
    find->addWidget(findLabel);
    find->addWidget(m_findText, 1);
    find->addWidget(findNextButton);
    find->addWidget(m_findStatus);
    find->addWidget(findClose);
    layout->addWidget(m_findBar);
    m_findBar->hide();
    disableDuringTransfer(m_findBar);
    connect(m_findText, &QLineEdit::returnPressed, this, &ChannelPage::findNext);
    connect(findNextButton, &QPushButton::clicked, this, &ChannelPage::findNext);
    connect(findClose, &QPushButton::clicked, this, [this] {
        m_findBar->hide();
        m_grid->setFocus();
    });

    const auto transfer = [this, &table](Direction direction, bool selected) {
        const RowRange rows =
            selected ? RowRange::selection(m_grid->currentRow(), m_grid->selectionEnd())
                     : RowRange::all();
        // A read replaces the rows: unsaved changes are offered for saving first.
        if (direction == Direction::Read && !m_workspace.transferRunning() &&
            !m_workspace.confirmUnsaved(ChannelsRegion))
            return;
        const TransferResult result =
            transferChannels(table, direction, rows, m_workspace.link(), m_workspace.host());
        if (direction == Direction::Write && !selected && succeeded(result))
            m_workspace.markWritten(ChannelsRegion);
    };
    connect(read, &QPushButton::clicked, this, [=] { transfer(Direction::Read, false); });
    connect(write, &QPushButton::clicked, this, [=] { transfer(Direction::Write, false); });
    connect(readOne, &QPushButton::clicked, this, [=] { transfer(Direction::Read, true); });
    connect(writeOne, &QPushButton::clicked, this, [=] { transfer(Direction::Write, true); });
    connect(up, &QPushButton::clicked, this, [this] { moveRow(-1); });
    connect(down, &QPushButton::clicked, this, [this] { moveRow(1); });
    connect(clear, &QPushButton::clicked, this, &ChannelPage::clearRows);
    connect(m_reset, &QPushButton::clicked, this, &ChannelPage::resetAll);
    connect(m_grid, &ChannelGridView::openRequested, this, &ChannelPage::openDetail);
    connect(m_grid, &ChannelGridView::deleteRequested, this, &ChannelPage::deleteRows);

    // During transfers the current row moves without the grid repainting.
    connect(&m_workspace, &Workspace::currentRowRequested, m_grid,
            &ChannelGridView::moveCurrentRow);
    connect(&m_workspace, &Workspace::transferBegan, m_grid, [this] { m_grid->setRedraw(false); });
    connect(&m_workspace, &Workspace::transferEnded, this, [this] {
        m_grid->setRedraw(true);
        transferEnded();
    });
}

bool ChannelPage::transferRunning() const {
    return m_workspace.transferRunning();
}

void ChannelPage::transferEnded() {
    m_grid->setCurrentCell(1, ChannelTable::kColumns, 1);
    m_grid->scrollToTop();
}

void ChannelPage::changeRows(const std::function<void()> &change) {
    const int current = m_grid->currentRow();
    const int end = m_grid->selectionEnd();
    const int column = m_grid->currentIndex().isValid() ? m_grid->currentIndex().column() + 1 : 1;
    const bool redraw = m_grid->redraw();
    m_grid->setEnabled(false);
    m_grid->setRedraw(false);
    change();
    m_grid->setCurrentCell(current, column, end);
    m_grid->setRedraw(redraw);
    m_grid->setEnabled(true);
    m_grid->setFocus();
}

void ChannelPage::deleteRows() {
    if (transferRunning()) return;
    emptySelectedRows("Delete");
}

void ChannelPage::emptySelectedRows(const char *verb) {
    ChannelTable &table = m_workspace.document().channels;
    const int current = m_grid->currentRow();
    const int end = m_grid->selectionEnd();
    const History::Scope step(m_workspace.history(), rowsStep(verb, current, end));
    changeRows([&] { rowedits::deleteRows(table, current, end); });
}

void ChannelPage::clearRows() {
    if (transferRunning()) return;
    ChannelTable &table = m_workspace.document().channels;
    const int current = m_grid->currentRow();
    const int end = m_grid->selectionEnd();
    const History::Scope step(m_workspace.history(), rowsStep("Clear", current, end));
    changeRows([&] { rowedits::clearRows(table, current, end); });
}

void ChannelPage::resetAll() {
    if (transferRunning()) return;
    TransferHost &host = m_workspace.host();
    m_reset->setEnabled(false);
    host.setProgressMaximum(100);
    const History::Scope step(m_workspace.history(), QStringLiteral("Reset all rows"));
    changeRows([&] {
        rowedits::resetAll(m_workspace.document().channels,
                           [&host](int percent) { host.setProgressValue(percent); });
    });
    host.setProgressValue(0);
    m_reset->setEnabled(true);
}

void ChannelPage::moveRow(int delta) {
    if (transferRunning()) return;
    const int row = m_grid->currentRow() + delta;
    if (row < 1 || row > ChannelTable::kRows) return;
    const int column = m_grid->currentIndex().isValid() ? m_grid->currentIndex().column() + 1 : 1;
    m_grid->setCurrentCell(row, column);
    m_grid->scrollTo(m_grid->currentIndex());
}

void ChannelPage::openDetail() {
    if (m_edit.busy || transferRunning() || !m_grid->isEnabled()) return;
    int row = m_grid->currentRow();
    if (ChannelTable::isBugRow(row)) return;
    int slot = ChannelTable::slotOfRow(row);
    if (edit::isDualWatchSlot(slot) && (slot - edit::kFirstDualSlot) % 2 == 1) {
        // A "(Sub)" row: the pair is edited from its "(Main)" row.
        --slot;
        --row;
    }
    const int column = m_grid->currentIndex().isValid() ? m_grid->currentIndex().column() + 1 : 1;
    m_grid->setCurrentCell(row, column);

    ChannelTable &table = m_workspace.document().channels;
    m_edit.slot = slot;
    m_edit.editAction = edit::NoEdit;
    m_grid->setEnabled(false);
    {
        QWidget *main = m_workspace.window();
        DetailDialog dialog(table, m_edit, main);
        dialog.move(main->frameGeometry().topLeft() + QPoint(0, twipsToPixels(1000)));
        dialog.exec();
    }
    edit::CommitResult result;
    {
        const int last = edit::isDualWatchSlot(slot) ? row + 1 : row;
        const History::Scope step(m_workspace.history(), rowsStep("Edit", row, last));
        result = edit::commitEdit(table, m_edit);
    }
    if (result == edit::CommitResult::Overlap)
        ui::showMessage(m_workspace.window(), edit::kOverlapText, QStringLiteral(" Error"));
    m_grid->setEnabled(true);
    m_grid->setCurrentCell(row, column);
    m_grid->setFocus();
}

// --- the clipboard and find --------------------------------------------------------

void ChannelPage::copyRows() {
    if (transferRunning()) return;
    QGuiApplication::clipboard()->setText(clipboard::copyRows(
        m_workspace.document().channels, m_grid->currentRow(), m_grid->selectionEnd()));
}

void ChannelPage::cutRows() {
    if (transferRunning() || m_edit.busy) return;
    copyRows();
    emptySelectedRows("Cut");
}

void ChannelPage::pasteRows() {
    if (transferRunning() || m_edit.busy) return;
    const clipboard::PastedRows pasted = clipboard::parseRows(QGuiApplication::clipboard()->text());
    QWidget *window = m_workspace.window();
    if (!pasted.ok()) {
        const QString label =
            pasted.badLabel.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(pasted.badLabel);
        ui::showMessage(window,
                        QStringLiteral("Pasted row %1%2 was refused: %3. Nothing was pasted.")
                            .arg(pasted.badLine)
                            .arg(label, pasted.problem),
                        kPasteTitle);
        return;
    }
    if (pasted.rows.isEmpty()) return;
    const int first = m_grid->currentRow();
    const int last = first + int(pasted.rows.size()) - 1;
    if (last >= ChannelTable::kFirstBugRow) {
        ui::showMessage(window,
                        QStringLiteral("%1 rows pasted at row %2 would reach the bug-detector "
                                       "rows (from row %3), which cannot be changed. Nothing "
                                       "was pasted.")
                            .arg(pasted.rows.size())
                            .arg(first)
                            .arg(ChannelTable::kFirstBugRow),
                        kPasteTitle);
        return;
    }
    ChannelTable &table = m_workspace.document().channels;
    const int column = m_grid->currentIndex().isValid() ? m_grid->currentIndex().column() + 1 : 1;
    {
        const History::Scope step(m_workspace.history(), rowsStep("Paste", first, last));
        changeRows([&] {
            table.beginBatch();
            for (int i = 0; i < int(pasted.rows.size()); ++i) {
                const int row = first + i;
                // The call channels are kept, as Clear keeps them.
                if (ChannelTable::isCallRow(row)) continue;
                const csv::ParsedRow &r = pasted.rows.at(i);
                if (r.status == csv::ParsedRow::Channel)
                    table.setSlotValue(row - 1, r.channel);
                else
                    table.clearRow(row);
            }
            table.endBatch();
        });
    }
    m_grid->setCurrentCell(first, column, last);
}

void ChannelPage::showFind() {
    if (transferRunning()) return;
    m_findBar->show();
    m_findText->setFocus();
    m_findText->selectAll();
}

void ChannelPage::findNext() {
    if (transferRunning()) return;
    if (m_findText->text().trimmed().isEmpty()) {
        showFind();
        return;
    }
    const int row = search::nextMatch(m_workspace.document().channels, m_findText->text(),
                                      m_grid->currentRow());
    if (row == 0) {
        m_findStatus->setText(QStringLiteral("Not found"));
        return;
    }
    m_findStatus->setText(row <= m_grid->currentRow() ? QStringLiteral("Wrapped") : QString());
    const int column = m_grid->currentIndex().isValid() ? m_grid->currentIndex().column() + 1 : 1;
    m_grid->setCurrentCell(row, column);
    m_grid->scrollTo(m_grid->currentIndex());
}

bool ChannelPage::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_findText && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        m_findBar->hide();
        m_grid->setFocus();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kpr5
