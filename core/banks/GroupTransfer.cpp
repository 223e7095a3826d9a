#include "core/banks/GroupTransfer.h"

#include "core/banks/GroupTable.h"

namespace kpr5 {

namespace {
constexpr int kAttempts = 3;

// The group window's buttons are enabled again before its message shows.
void finishWith(Operation &op, const QString &text) {
    op.succeed(-1, QString());
    if (succeeded(op.result()) && !text.isEmpty()) op.host().message(text, kFinishTitle);
}

struct GroupBlock {
    quint32 address;
    int firstGroup;
    int groupCount;
};

constexpr GroupBlock kBlocks[2] = {
    {GroupTable::kAddress, 0, GroupTable::kBlock0Groups},
    {GroupTable::kBlock1Address, GroupTable::kBlock0Groups,
     GroupTable::kGroupCount - GroupTable::kBlock0Groups},
};

} // namespace

Outcome writeGroupBlock(const GroupTable &groups, SerialLink &link, int block) {
    if (block < 0 || block > 1) return Outcome::Rejected;
    const GroupBlock &b = kBlocks[block];
    return link.writeBlock(b.address, groups.encodeGroups(b.firstGroup, b.groupCount));
}

TransferResult readGroups(GroupTable &groups, SerialLink &link, TransferHost &host,
                          GroupReadEnding ending, const BankTable *banks) {
    Operation op(link, host);
    if (!op.begin()) return op.result();
    if (!op.identify()) return op.result();

    for (const GroupBlock &b : kBlocks) {
        QByteArray data;
        if (!op.retry(kAttempts, [&] { return link.readBlock(b.address, &data); }))
            return op.result();
        groups.decodeGroups(b.firstGroup, b.groupCount, data);
        if (banks) groups.clearUnavailable(*banks);
    }

    finishWith(op, ending == GroupReadEnding::AllDataRead ? kAllDataReadText
                   : ending == GroupReadEnding::Ok        ? kGroupReadText
                                                          : QString());
    return op.result();
}

TransferResult writeGroups(const GroupTable &groups, SerialLink &link, TransferHost &host) {
    Operation op(link, host);
    if (!op.begin()) return op.result();
    if (!op.identify()) return op.result();

    for (int block = 0; block < 2; ++block) {
        if (!op.retry(kAttempts, [&] { return writeGroupBlock(groups, link, block); }))
            return op.result();
    }

    finishWith(op, kGroupWriteText);
    return op.result();
}

} // namespace kpr5
