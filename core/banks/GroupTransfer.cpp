#include "core/banks/GroupTransfer.h"

#include "core/banks/GroupTable.h"

namespace kpr5 {

namespace {
constexpr int kAttempts = 3;

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

void finishWith(Operation &op, const QString &text) {
    finishTransfer(op.link(), op.host());
    op.host().message(text, kFinishTitle);
}
} // namespace

Outcome writeGroupBlock(const GroupTable &groups, SerialLink &link, int block) {
    if (block < 0 || block > 1) return Outcome::Rejected;
    const GroupBlock &b = kBlocks[block];
    return link.writeBlock(b.address, groups.encodeGroups(b.firstGroup, b.groupCount));
}

bool readGroups(GroupTable &groups, SerialLink &link, TransferHost &host, bool automatic,
                const BankTable *banks) {
    Operation op(link, host, kGroupReadBusyCode);
    if (!op.begin()) return false;
    if (!op.identify()) return false;

    for (const GroupBlock &b : kBlocks) {
        QByteArray data;
        if (!op.retry(kAttempts, [&] { return link.readBlock(b.address, &data); })) return false;
        groups.decodeGroups(b.firstGroup, b.groupCount, data);
        if (banks) groups.clearUnavailable(*banks);
    }

    finishWith(op, automatic ? kAllDataReadText : kGroupReadText);
    return true;
}

bool writeGroups(const GroupTable &groups, SerialLink &link, TransferHost &host) {
    Operation op(link, host, kGroupWriteBusyCode);
    if (!op.begin()) return false;
    if (!op.identify()) return false;

    for (int block = 0; block < 2; ++block) {
        if (!op.retry(kAttempts, [&] { return writeGroupBlock(groups, link, block); }))
            return false;
    }

    finishWith(op, kGroupWriteText);
    return true;
}

} // namespace kpr5
