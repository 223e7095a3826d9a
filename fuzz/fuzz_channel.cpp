// A channel record from a read reply: decoded into a row, encoded again and
// decoded into a second table. Decoding what was encoded changes nothing
// more (the record the program writes back is stable), and the row's data
// file line and CSV line can be built.
#include "FuzzSupport.h"

#include "core/channels/ChannelRecord.h"
#include "core/channels/ChannelTable.h"
#include "core/files/CsvFile.h"
#include "core/files/DataFile.h"

using namespace kpr5;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::Input in(data, size);
    // Rows 1..1624 as the transfers use them, and a few outside the table.
    const int row = int(in.byte() | (in.byte() << 8)) % (ChannelTable::kSlots + 4) - 1;
    const QByteArray record = in.rest();

    // Building a table of 1624 rows costs far more than a decode: the two
    // tables live across inputs. A decode sets every field of its row, or
    // only clears the row's use mark.
    static ChannelTable table;
    static ChannelTable again;
    decodeChannel(record, table, row);
    const ChannelRecord first = encodeChannel(table, row);
    if (row >= 1 && row <= ChannelTable::kRows) {
        (void)datafile::channelLine(table, row - 1);
        (void)csv::rowLine(table, row);
    }

    decodeChannel(first.toByteArray(), again, row);
    const ChannelRecord second = encodeChannel(again, row);
    KPR5_FUZZ_CHECK(first.bytes == second.bytes);
    return 0;
}
