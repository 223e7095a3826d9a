// The one-touch area, read against banks that also come from the input.
#include "FuzzSupport.h"

#include "core/banks/BankTable.h"
#include "core/common/OneTouchTable.h"

using namespace kpr5;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::Input in(data, size);
    BankTable banks;
    if (in.byte() & 1)
        banks.decodeCounts(0, in.take(2 * BankTable::kBankCount), BankTable::kBankCount);
    const QByteArray area = in.rest();

    OneTouchTable keys;
    keys.rebuildLists(banks);
    keys.decodeArea(area);
    for (int k = 0; k < OneTouchTable::kKeyCount; ++k) {
        KPR5_FUZZ_CHECK(keys.bankPosition(k) >= 0);
        KPR5_FUZZ_CHECK(keys.channelPosition(k) >= 0);
        (void)keys.bankNumber(k);
        (void)keys.channelEntries(k);
    }
    (void)keys.bankEntries();
    if (keys.unwritableReason().isEmpty()) {
        // What can be written reads back to the same keys.
        const QByteArray written = keys.encodeArea();
        KPR5_FUZZ_CHECK(written.size() == OneTouchTable::kAreaSize);
        OneTouchTable again;
        again.rebuildLists(banks);
        again.decodeArea(written);
        KPR5_FUZZ_CHECK(again.encodeArea() == written);
    }
    // The banks change under the keys.
    banks.reset();
    keys.rebuildLists(banks);
    (void)keys.encodeArea();
    return 0;
}
