#pragma once
// Reading and writing the bank area (0x00200-0x0027F) in two 64-byte blocks:
// `READ_BANK` and `WRITE_BANK`, also run as steps of the whole-radio read
// and write.

#include "core/link/Transfer.h"

namespace kpr5 {

class BankTable;

// Identification, block 0 (banks 0-31), block 1 (banks 32-49), each up to 3
// attempts; progress 20 %, 60 %, 100 %. Every block that arrives goes into the
// table at once; after the second, the shown total is 1000. False when the
// transfer did not run or failed (the host has been told).
TransferResult readBanks(BankTable &banks, SerialLink &link, TransferHost &host);

// The same frames as writes: 64 bytes each, the second ending with the seven
// special area sizes and 14 zero bytes.
TransferResult writeBanks(const BankTable &banks, SerialLink &link, TransferHost &host);

} // namespace kpr5
