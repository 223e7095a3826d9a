#include "core/banks/BankTransfer.h"

#include "core/banks/BankTable.h"

namespace kpr5 {

namespace {
constexpr quint32 kBlock0 = BankTable::kAddress;
constexpr quint32 kBlock1 = BankTable::kAddress + BankTable::kBlockSize;
constexpr int kAttempts = 3;
constexpr int kBlock0Banks = 32;
constexpr int kBlock1Banks = BankTable::kBankCount - kBlock0Banks; // 18

void showProgress(TransferHost &host, int percent) {
    host.setProgressValue(percent);
    host.setPercent(percent);
}
} // namespace

TransferResult readBanks(BankTable &banks, SerialLink &link, TransferHost &host) {
    Operation op(link, host);
    if (!op.begin()) return op.result();
    host.setProgressMaximum(100);
    if (!op.identify()) return op.result();

    showProgress(host, 20);
    QByteArray data;
    if (!op.retry(kAttempts, [&] { return link.readBlock(kBlock0, &data); })) return op.result();
    banks.decodeCounts(0, data, kBlock0Banks);

    showProgress(host, 60);
    if (!op.retry(kAttempts, [&] { return link.readBlock(kBlock1, &data); })) return op.result();
    banks.decodeCounts(kBlock0Banks, data, kBlock1Banks);
    banks.markLoaded();

    op.succeed(100);
    return op.result();
}

TransferResult writeBanks(const BankTable &banks, SerialLink &link, TransferHost &host) {
    Operation op(link, host);
    if (!op.begin()) return op.result();
    host.setProgressMaximum(100);
    if (!op.identify()) return op.result();

    const QByteArray area = banks.encodeArea();
    showProgress(host, 20);
    if (!op.retry(kAttempts,
                  [&] { return link.writeBlock(kBlock0, area.left(BankTable::kBlockSize)); }))
        return op.result();

    showProgress(host, 60);
    if (!op.retry(kAttempts,
                  [&] { return link.writeBlock(kBlock1, area.mid(BankTable::kBlockSize)); }))
        return op.result();

    op.succeed(100);
    return op.result();
}

} // namespace kpr5
