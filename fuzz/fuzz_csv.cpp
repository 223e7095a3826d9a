// CSV import into the channel table; the imported table is exported again.
#include "FuzzSupport.h"

#include "core/channels/ChannelTable.h"
#include "core/files/CsvFile.h"

using namespace kpr5;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // A table of 1624 rows costs far more than most inputs: one table lives
    // across inputs and starts each one as the program starts.
    static ChannelTable table;
    table.resetToStartup();
    const CsvImportResult result = importCsv(table, fuzz::bytesOf(data, size));
    (void)result.message();
    KPR5_FUZZ_CHECK(result.rowsEmptied <= result.rowsFilled);
    // The rows filled from the file export again (the whole table's export
    // would cost more than the import).
    for (int row = 1; row <= result.rowsFilled; ++row)
        (void)csv::rowLine(table, row);
    return 0;
}
