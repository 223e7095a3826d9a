#include "core/common/TitleTransfer.h"

#include "core/common/OpeningTitle.h"

namespace kpr5 {

TransferResult readTitle(OpeningTitle &title, SerialLink &link, TransferHost &host) {
    QByteArray data;
    return runSingleExchange(
        link, host, [&] { return link.readBlock(OpeningTitle::kAddress, &data); },
        [&] { title.decodeArea(data); });
}

TransferResult writeTitle(OpeningTitle &title, SerialLink &link, TransferHost &host) {
    QByteArray area;
    return runSingleExchange(link, host, [&] {
        if (area.isEmpty()) {
            // The text being typed becomes the stored title once the radio answered.
            title.takeOverDisplayText();
            area = title.encodeArea();
        }
        return link.writeBlock(OpeningTitle::kAddress, area);
    });
}

} // namespace kpr5
