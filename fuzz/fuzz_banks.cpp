// The bank area as the bank read takes it (two blocks), then the one-touch
// lists and the group table built on the banks read.
#include "FuzzSupport.h"

#include "core/banks/BankTable.h"
#include "core/banks/GroupTable.h"
#include "core/common/OneTouchTable.h"

using namespace kpr5;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::Input in(data, size);
    const int firstBank = in.pick(BankTable::kBankCount + 2);
    const int count = in.pick(BankTable::kBankCount + 2);
    const QByteArray block0 = in.take(in.pick(BankTable::kBlockSize + 2));
    const QByteArray block1 = in.rest();

    BankTable banks;
    banks.decodeCounts(0, block0, 32);
    banks.decodeCounts(32, block1, 18);
    banks.decodeCounts(firstBank, block1, count);
    for (int b = 0; b < BankTable::kBankCount; ++b)
        KPR5_FUZZ_CHECK(banks.count(b) >= 0 && banks.count(b) <= BankTable::kMaxCount);
    KPR5_FUZZ_CHECK(banks.encodeArea().size() == BankTable::kAreaSize);

    OneTouchTable keys;
    keys.rebuildLists(banks);
    (void)keys.bankEntries();
    for (int k = 0; k < OneTouchTable::kKeyCount; ++k)
        (void)keys.channelEntries(k);
    (void)keys.unwritableReason();
    (void)keys.encodeArea();

    GroupTable groups;
    groups.decodeGroups(0, GroupTable::kGroupCount, block1);
    groups.clearUnavailable(banks);
    return 0;
}
