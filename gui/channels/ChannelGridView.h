#pragma once
// `MSFlexGrid1`: the channel grid, a view on ChannelTableModel. Whole rows
// are selected, one contiguous block at a time. The grid's current row and
// the other end of the selection are what the row commands and the
// selected-row transfers use.

#include <QTableView>

namespace kpr5 {

class ChannelTable;
class ChannelTableModel;

class ChannelGridView : public QTableView {
    Q_OBJECT
public:
    explicit ChannelGridView(ChannelTable &table, QWidget *parent = nullptr);

    ChannelTableModel *channelModel() const { return m_model; }

    // Table rows 1..1623 (1 when there is no current cell).
    int currentRow() const;
    // The end of the selected block that is not the current row (the
    // current row itself when one row or nothing is selected).
    int selectionEnd() const;

    // Make (row, column) the current cell and select rows row..selectionEnd
    // (columns 1-12); a selectionEnd of 0 selects the current row alone.
    void setCurrentCell(int row, int column, int selectionEnd = 0);
    // Move the current row without repainting or scrolling while painting is
    // suspended (transfers move it row by row).
    void moveCurrentRow(int row);

    // Suspend (false) and resume (true) painting of the grid.
    void setRedraw(bool on);
    bool redraw() const { return m_redraw; }

    // The grid takes no typing: a typed character must not move the current
    // row (the item views' type-to-search), or the next Delete or Enter acts
    // on a row nobody chose.
    void keyboardSearch(const QString &) override {}

Q_SIGNALS:
    void openRequested();   // Enter or double-click on a cell
    void deleteRequested(); // the Delete key

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    ChannelTableModel *m_model;
    bool m_redraw = true;
};

} // namespace kpr5
