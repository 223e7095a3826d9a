#include "common/TitleTransfer.h"

#include "common/OpeningTitle.h"

namespace kpr5 {

namespace {
constexpr int kAttempts = 3;

void showProgress(TransferHost &host, int percent)
{
    host.setProgressValue(percent);
    host.setPercent(percent);
}
} // namespace

bool readTitle(OpeningTitle &title, SerialLink &link, TransferHost &host)
{
    Operation op(link, host, kTitleReadBusyCode);
    if (!op.begin())
        return false;
    host.setProgressMaximum(100);
    if (!op.identify())
        return false;

    showProgress(host, 50);
    QByteArray data;
    if (!op.retry(kAttempts, [&] { return link.readBlock(OpeningTitle::kAddress, &data); }))
        return false;
    title.decodeArea(data);

    op.succeed(100);
    return true;
}

bool writeTitle(OpeningTitle &title, SerialLink &link, TransferHost &host)
{
    Operation op(link, host, kTitleWriteBusyCode);
    if (!op.begin())
        return false;
    host.setProgressMaximum(100);
    if (!op.identify())
        return false;

    showProgress(host, 50);
    title.takeOverDisplayText();
    const QByteArray area = title.encodeArea();
    if (!op.retry(kAttempts, [&] { return link.writeBlock(OpeningTitle::kAddress, area); }))
        return false;

    op.succeed(100);
    return true;
}

} // namespace kpr5
