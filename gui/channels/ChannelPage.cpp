#include "gui/channels/ChannelPage.h"

#include "core/channels/ChannelRowEdits.h"
#include "core/channels/ChannelTable.h"
#include "core/channels/ChannelTransfer.h"
#include "gui/channels/ChannelGridView.h"
#include "gui/channels/DetailDialog.h"
#include "gui/shell/MainWindow.h"
#include "gui/widgets/MessageDialog.h"
#include "gui/widgets/Twips.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kpr5 {

QWidget *createMemoryPage(MainWindow &window) {
    return new ChannelPage(window);
}

ChannelPage::ChannelPage(MainWindow &window, QWidget *parent) : QWidget(parent), m_window(window) {
    setObjectName(QStringLiteral("MemoryPage"));
    ChannelTable &table = m_window.document().channels;
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
    layout->addLayout(row);

    connect(read, &QPushButton::clicked, this,
            [this, &table] { readChannels(table, m_window.link(), m_window.host()); });
    connect(write, &QPushButton::clicked, this,
            [this, &table] { writeChannels(table, m_window.link(), m_window.host()); });
    connect(readOne, &QPushButton::clicked, this, [this, &table] {
        readSelected(table, m_grid->currentRow(), m_grid->selectionEnd(), m_window.link(),
                     m_window.host());
    });
    connect(writeOne, &QPushButton::clicked, this, [this, &table] {
        writeSelected(table, m_grid->currentRow(), m_grid->selectionEnd(), m_window.link(),
                      m_window.host());
    });
    connect(up, &QPushButton::clicked, this, [this] { moveRow(-1); });
    connect(down, &QPushButton::clicked, this, [this] { moveRow(1); });
    connect(clear, &QPushButton::clicked, this, &ChannelPage::clearRows);
    connect(m_reset, &QPushButton::clicked, this, &ChannelPage::resetAll);
    connect(m_grid, &ChannelGridView::openRequested, this, &ChannelPage::openDetail);
    connect(m_grid, &ChannelGridView::deleteRequested, this, &ChannelPage::deleteRows);

    // During transfers the current row moves without the grid repainting.
    ChannelGridView *grid = m_grid;
    m_window.setCurrentRowHandler([grid](int r) { grid->moveCurrentRow(r); });
    m_window.setGridRedrawHandler([grid](bool on) { grid->setRedraw(on); });
    connect(&m_window, &MainWindow::transferEnded, this, &ChannelPage::transferEnded);
}

bool ChannelPage::transferRunning() const {
    return m_window.link().state.transferBusy != 0;
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
    ChannelTable &table = m_window.document().channels;
    const int current = m_grid->currentRow();
    const int end = m_grid->selectionEnd();
    changeRows([&] { rowedits::deleteRows(table, current, end); });
}

void ChannelPage::clearRows() {
    if (transferRunning()) return;
    ChannelTable &table = m_window.document().channels;
    const int current = m_grid->currentRow();
    const int end = m_grid->selectionEnd();
    changeRows([&] { rowedits::clearRows(table, current, end); });
}

void ChannelPage::resetAll() {
    if (transferRunning()) return;
    QProgressBar *bar = m_window.progressBar();
    m_reset->setEnabled(false);
    bar->setMaximum(100);
    changeRows([&] {
        rowedits::resetAll(m_window.document().channels,
                           [bar](int percent) { bar->setValue(percent); });
    });
    bar->setValue(0);
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
    int slot = row - 1;
    if (edit::isDualWatchSlot(slot) && (slot - edit::kFirstDualSlot) % 2 == 1) {
        // A "(Sub)" row: the pair is edited from its "(Main)" row.
        --slot;
        --row;
    }
    const int column = m_grid->currentIndex().isValid() ? m_grid->currentIndex().column() + 1 : 1;
    m_grid->setCurrentCell(row, column);

    ChannelTable &table = m_window.document().channels;
    m_edit.slot = slot;
    m_edit.editAction = edit::NoEdit;
    m_grid->setEnabled(false);
    {
        DetailDialog dialog(table, m_edit, &m_window);
        dialog.move(m_window.frameGeometry().topLeft() + QPoint(0, twipsToPixels(1000)));
        dialog.exec();
    }
    const edit::CommitResult result = edit::commitEdit(table, m_edit);
    if (result == edit::CommitResult::Overlap)
        ui::showMessage(&m_window, edit::kOverlapText, QStringLiteral(" Error"));
    m_grid->setEnabled(true);
    m_grid->setCurrentCell(row, column);
    m_grid->setFocus();
}

} // namespace kpr5
