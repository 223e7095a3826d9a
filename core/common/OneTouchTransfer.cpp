#include "core/common/OneTouchTransfer.h"

#include "core/banks/BankTable.h"
#include "core/common/OneTouchTable.h"

namespace kpr5 {

bool readOneTouch(OneTouchTable &keys, const BankTable &banks, SerialLink &link,
                  TransferHost &host) {
    QByteArray data;
    return runSingleExchange(
        link, host, kOneTouchReadBusyCode,
        [&] { return link.readBlock(OneTouchTable::kAddress, &data); },
        [&] {
            // Decode against the banks as they are now (a whole-radio read has
            // just read them).
            keys.rebuildLists(banks);
            keys.decodeArea(data.left(OneTouchTable::kAreaSize));
        });
}

bool writeOneTouch(const OneTouchTable &keys, SerialLink &link, TransferHost &host) {
    if (link.state.transferBusy != 0 || link.closing()) return false;
    const QString reason = keys.unwritableReason();
    if (!reason.isEmpty()) {
        host.message(kErrorText, kErrorTitle, reason);
        return false;
    }
    const QByteArray area = keys.encodeArea();
    return runSingleExchange(link, host, kOneTouchWriteBusyCode,
                             [&] { return link.writeBlock(OneTouchTable::kAddress, area); });
}

} // namespace kpr5
