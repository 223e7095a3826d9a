#include "gui/channels/ChannelPage.h"

#include "core/channels/ChannelRowEdits.h"
#include "core/channels/ChannelTable.h"
#include "core/channels/ChannelTransfer.h"
#include "gui/channels/ChannelGridView.h"
#include "gui/channels/DetailDialog.h"
#include "gui/widgets/MessageDialog.h"
#include "gui/widgets/Twips.h"
#include "gui/widgets/Workspace.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kpr5 {

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

    const auto transfer = [this, &table](Direction direction, bool selected) {
        const RowRange rows =
            selected ? RowRange::selection(m_grid->currentRow(), m_grid->selectionEnd())
                     : RowRange::all();
        transferChannels(table, direction, rows, m_workspace.link(), m_workspace.host());
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
    ChannelTable &table = m_workspace.document().channels;
    const int current = m_grid->currentRow();
    const int end = m_grid->selectionEnd();
    changeRows([&] { rowedits::deleteRows(table, current, end); });
}

void ChannelPage::clearRows() {
    if (transferRunning()) return;
    ChannelTable &table = m_workspace.document().channels;
    const int current = m_grid->currentRow();
    const int end = m_grid->selectionEnd();
    changeRows([&] { rowedits::clearRows(table, current, end); });
}

void ChannelPage::resetAll() {
    if (transferRunning()) return;
    TransferHost &host = m_workspace.host();
    m_reset->setEnabled(false);
    host.setProgressMaximum(100);
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
    const edit::CommitResult result = edit::commitEdit(table, m_edit);
    if (result == edit::CommitResult::Overlap)
        ui::showMessage(m_workspace.window(), edit::kOverlapText, QStringLiteral(" Error"));
    m_grid->setEnabled(true);
    m_grid->setCurrentCell(row, column);
    m_grid->setFocus();
}

} // namespace kpr5
