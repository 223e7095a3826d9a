#pragma once
// Reading and writing the one-touch keys (0x00180, 27 bytes): `READ_ONE_TOUCH`
// and `WRITE_ONE_TOUCH`, also run as steps of the whole-radio read and write.

#include "core/link/Transfer.h"

namespace kpr5 {

class BankTable;
class OneTouchTable;

// Identification and one block read, each up to 3 attempts; progress 50 %,
// then 100 % and "Success" (unless completionMode is 1). The non-empty-bank
// list is rebuilt from the bank table first (keeping the keys' choices), so
// the bank numbers of the radio are looked up among the banks as they are
// now. True on success; false when another transfer runs or it failed (the
// host has been told).
TransferResult readOneTouch(OneTouchTable &keys, const BankTable &banks, SerialLink &link,
                            TransferHost &host);

// Identification and the 27-byte write ("QX~F00180W" + 54 digits, reply of
// 71 bytes with "OK" at 67-68), each up to 3 attempts. A key whose channel
// number does not fit the radio's channel byte (above 255) cannot be
// written: the write is refused before anything is sent, with "Error" titled
// " Error" and the reason naming the key as the detail.
TransferResult writeOneTouch(const OneTouchTable &keys, SerialLink &link, TransferHost &host);

} // namespace kpr5
