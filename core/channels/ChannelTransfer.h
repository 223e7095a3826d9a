#pragma once
// The channel transfers behind the Memory page's buttons: all channels
// (`READ_Botton`, `WRITE_Botton`) or the selected rows (`MEM_ONE_READ`,
// `MEM_ONE_WRITE`) are one operation with a row range and a direction. A
// write that touches the pass channels also rewrites the radio's pass table.

#include "core/link/Transfer.h"

namespace kpr5 {

class ChannelTable;

// Rows first..last (1..1623), in order.
struct RowRange {
    int first = 1;
    int last = 1623;

    static RowRange all() { return {}; }
    // The grid's selection: `current` is the current row, `selectionEnd` the
    // other end (either may be the larger); bounded to the table's rows.
    static RowRange selection(int current, int selectionEnd);

    int count() const { return last - first + 1; }
    bool isAll() const { return first == 1 && last == all().last; }
    bool touchesPassChannels() const;
};

enum class Direction { Read, Write };

// Identification, then every row of the range (30 failed reads or 20 failed
// writes in all end it with "Error"). A read then clears the rows the radio
// reports empty; a write that touches the pass channels rewrites the pass
// table. Progress: the whole table shows the row and row / 17 %, a selection
// the rows done and their share.
TransferResult transferChannels(ChannelTable &table, Direction direction, RowRange rows,
                                SerialLink &link, TransferHost &host);

inline TransferResult readChannels(ChannelTable &table, SerialLink &link, TransferHost &host) {
    return transferChannels(table, Direction::Read, RowRange::all(), link, host);
}
inline TransferResult writeChannels(ChannelTable &table, SerialLink &link, TransferHost &host) {
    return transferChannels(table, Direction::Write, RowRange::all(), link, host);
}

// After every channel read: the rows whose slot is empty lose their texts and
// stored name; the call channels keep theirs.
void clearEmptyRows(ChannelTable &table, TransferHost *host = nullptr);

} // namespace kpr5
