#include "core/common/OneTouchTransfer.h"

#include "core/banks/BankTable.h"
#include "core/common/OneTouchTable.h"

namespace kpr5 {

TransferResult readOneTouch(OneTouchTable &keys, const BankTable &banks, SerialLink &link,
                            TransferHost &host) {
    QByteArray data;
    return runSingleExchange(
        link, host, [&] { return link.readBlock(OneTouchTable::kAddress, &data); },
        [&] {
            // Decode against the banks as they are now (a whole-radio read has
            // just read them).
            keys.rebuildLists(banks);
            keys.decodeArea(data.left(OneTouchTable::kAreaSize));
        });
}

TransferResult writeOneTouch(const OneTouchTable &keys, SerialLink &link, TransferHost &host) {
    if (link.busy() || link.closing()) return TransferResult::NotStarted;
    const QString reason = keys.unwritableReason();
    if (!reason.isEmpty()) {
        host.message(kErrorText, kErrorTitle, reason);
        return TransferResult::Failed;
    }
    const QByteArray area = keys.encodeArea();
    return runSingleExchange(link, host,
                             [&] { return link.writeBlock(OneTouchTable::kAddress, area); });
}

} // namespace kpr5
