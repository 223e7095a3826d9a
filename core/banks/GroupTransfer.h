#pragma once
// Reading and writing the bank-link groups (0x00100-0x00157): block 0 holds
// groups 0-5 (48 bytes), block 1 groups 6-10 (40 bytes). The group window runs
// these on its own serial link (200 ms reply timer), whose busy flag is the
// window's own.

#include "core/link/Transfer.h"

namespace kpr5 {

class BankTable;
class GroupTable;

inline const QString kGroupReadText = QStringLiteral("OK");
inline const QString kAllDataReadText = QStringLiteral("Success ALL DATA READ");
inline const QString kGroupWriteText = QStringLiteral("Success Group Data Write");

// How a group read that succeeded ends: "OK" titled " Finish" (the window's
// button), "Success ALL DATA READ" (the last step of a whole-radio read that
// succeeded so far), or no message (a whole-radio read with a failed step,
// which ends with its own verdict).
enum class GroupReadEnding { Ok, AllDataRead, Quiet };

// `GROUP_READ`: identification, block 0, block 1, each up to 3 attempts; each
// block is decoded as soon as it arrives. With `banks`, flags that the radio
// holds for empty banks are dropped, as an empty bank cannot be linked.
TransferResult readGroups(GroupTable &groups, SerialLink &link, TransferHost &host,
                          GroupReadEnding ending, const BankTable *banks = nullptr);

// `GROUP_WRITE`: identification, then the two blocks (frames of 107 and 91
// characters), each up to 3 attempts. Ends with "Success Group Data Write".
TransferResult writeGroups(const GroupTable &groups, SerialLink &link, TransferHost &host);

// One group write block (0 or 1) without identification, as the whole-radio
// write sends them on the main window's link.
Outcome writeGroupBlock(const GroupTable &groups, SerialLink &link, int block);

} // namespace kpr5
