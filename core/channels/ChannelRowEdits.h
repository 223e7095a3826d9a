#pragma once
// The Memory page's row commands on the channel table: Delete, Clear and
// Reset. None of them empties a call channel (rows 1401-1403) or a
// bug-detector preset (rows 1604-1623): those rows change only through
// explicit channel data (a radio read, a data file, CSV, the detail editor).

#include <functional>

namespace kpr5 {

class ChannelTable;

namespace rowedits {

// The Delete key: nothing when the current row is a call or bug-detector row;
// otherwise the rows between `current` and `selectionEnd` are emptied (cells,
// index fields, in-use flag and stored name), the call and bug-detector rows
// inside the range excepted. Returns the number of rows emptied.
int deleteRows(ChannelTable &table, int current, int selectionEnd);

// `Clear_Botton`: a single row unless it is a call or bug-detector row; a
// range with its end in the bug-detector rows cut back to row 1603 (wholly
// inside them: nothing), the call rows inside skipped.
int clearRows(ChannelTable &table, int current, int selectionEnd);

// `ALL_Reset`: every row 1..1603 but the call channels emptied; `progress`
// gets 0..100 as it goes.
void resetAll(ChannelTable &table, const std::function<void(int percent)> &progress = {});

} // namespace rowedits
} // namespace kpr5
