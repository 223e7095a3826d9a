#include "gui/channels/ChannelGridView.h"

#include "core/channels/ChannelTable.h"
#include "core/channels/ChannelTableModel.h"

#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>

namespace kpr5 {

ChannelGridView::ChannelGridView(ChannelTable &table, QWidget *parent)
    : QTableView(parent), m_model(new ChannelTableModel(table, this)) {
    setObjectName(QStringLiteral("MSFlexGrid1"));
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    const int widths[ChannelTable::kColumns] = {110, 50, 70, 60, 70, 65, 65, 45, 45, 85, 40, 150};
    for (int c = 0; c < ChannelTable::kColumns; ++c)
        setColumnWidth(c, widths[c]);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid()) Q_EMIT openRequested();
    });
    setCurrentCell(1, ChannelTable::kColumns);
}

int ChannelGridView::currentRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? ChannelTableModel::tableRow(current) : 1;
}

int ChannelGridView::selectionEnd() const {
    const int row = currentRow() - 1;
    const QItemSelection selection = selectionModel()->selection();
    for (const QItemSelectionRange &range : selection) {
        if (row >= range.top() && row <= range.bottom())
            return (row == range.top() ? range.bottom() : range.top()) + 1;
    }
    return row + 1;
}

void ChannelGridView::setCurrentCell(int row, int column, int selectionEnd) {
    row = std::clamp(row, 1, ChannelTable::kRows);
    column = std::clamp(column, 1, ChannelTable::kColumns);
    const int end = selectionEnd < 1 ? row : std::min(selectionEnd, ChannelTable::kRows);
    selectionModel()->setCurrentIndex(m_model->cell(row, column), QItemSelectionModel::NoUpdate);
    const QItemSelection block(m_model->cell(std::min(row, end), 1),
                               m_model->cell(std::max(row, end), ChannelTable::kColumns));
    selectionModel()->select(block, QItemSelectionModel::ClearAndSelect);
}

void ChannelGridView::moveCurrentRow(int row) {
    if (row < 1 || row > ChannelTable::kRows) return;
    const int column = currentIndex().isValid() ? currentIndex().column() + 1 : 1;
    selectionModel()->setCurrentIndex(m_model->cell(row, column), QItemSelectionModel::NoUpdate);
}

void ChannelGridView::setRedraw(bool on) {
    if (on == m_redraw) return;
    m_redraw = on;
    // While suspended the current row moves without scrolling the view.
    setAutoScroll(on);
    setUpdatesEnabled(on);
    if (on) viewport()->update();
}

void ChannelGridView::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Q_EMIT openRequested();
        event->accept();
        return;
    case Qt::Key_Delete:
        Q_EMIT deleteRequested();
        event->accept();
        return;
    default:
        QTableView::keyPressEvent(event);
    }
}

} // namespace kpr5
