#pragma once
// The channel transfers behind the Memory page's buttons: all channels
// (`READ_Botton`, `WRITE_Botton`) or the selected rows (`MEM_ONE_READ`,
// `MEM_ONE_WRITE`). A write that touches the pass channels also rewrites the
// radio's pass table.

#include "core/link/Transfer.h"

namespace kpr5 {

class ChannelTable;

// Each returns true when it ran to its success ending (whether or not a
// "Success" box was shown); false when it did not start, failed or ended
// because the window is closing.
bool readChannels(ChannelTable &table, SerialLink &link, TransferHost &host);
bool writeChannels(const ChannelTable &table, SerialLink &link, TransferHost &host);
// `current` is the grid's current row, `selectionEnd` the other end of the
// selection (either may be the larger).
bool readSelected(ChannelTable &table, int current, int selectionEnd, SerialLink &link,
                  TransferHost &host);
bool writeSelected(const ChannelTable &table, int current, int selectionEnd, SerialLink &link,
                   TransferHost &host);

// After every channel read: the rows whose slot is empty lose their texts and
// stored name; the call channels keep theirs.
void clearEmptyRows(ChannelTable &table, TransferHost *host = nullptr);

} // namespace kpr5
