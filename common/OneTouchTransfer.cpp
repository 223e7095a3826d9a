#include "common/OneTouchTransfer.h"

#include "banks/BankTable.h"
#include "common/OneTouchTable.h"

namespace kpr5 {

namespace {
constexpr int kAttempts = 3;

void showProgress(TransferHost &host, int percent)
{
    host.setProgressValue(percent);
    host.setPercent(percent);
}
} // namespace

bool readOneTouch(OneTouchTable &keys, const BankTable &banks, SerialLink &link,
                  TransferHost &host)
{
    Operation op(link, host, kOneTouchReadBusyCode);
    if (!op.begin())
        return false;
    host.setProgressMaximum(100);
    if (!op.identify())
        return false;

    showProgress(host, 50);
    QByteArray data;
    if (!op.retry(kAttempts, [&] { return link.readBlock(OneTouchTable::kAddress, &data); }))
        return false;
    keys.rebuildLists(banks);
    keys.decodeArea(data.left(OneTouchTable::kAreaSize));

    op.succeed(100);
    return true;
}

bool writeOneTouch(const OneTouchTable &keys, SerialLink &link, TransferHost &host)
{
    if (link.state.transferBusy != 0 || link.closing())
        return false;
    const QString reason = keys.unwritableReason();
    if (!reason.isEmpty()) {
        host.message(kErrorText, kErrorTitle, reason);
        return false;
    }

    Operation op(link, host, kOneTouchWriteBusyCode);
    if (!op.begin())
        return false;
    host.setProgressMaximum(100);
    if (!op.identify())
        return false;

    showProgress(host, 50);
    const QByteArray area = keys.encodeArea();
    if (!op.retry(kAttempts, [&] { return link.writeBlock(OneTouchTable::kAddress, area); }))
        return false;

    op.succeed(100);
    return true;
}

} // namespace kpr5
