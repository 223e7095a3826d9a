#include "core/settings/SettingsTransfer.h"

#include "core/common/DtmfMemories.h"
#include "core/link/Transfer.h"
#include "core/settings/SettingsCodec.h"
#include "core/settings/SettingsModel.h"

namespace kpr5 {

namespace {

constexpr int kAttempts = 3;

void progress(TransferHost &host, int value) {
    host.setProgressValue(value);
    host.setPercent(value);
}

bool start(Operation &op) {
    if (!op.begin()) return false;
    op.host().setProgressMaximum(100);
    op.host().setProgressValue(0);
    return op.identify();
}

bool readBlock(Operation &op, quint32 address, QByteArray *data) {
    return op.retry(kAttempts, [&] { return op.link().readBlock(address, data); });
}

bool writeBlock(Operation &op, quint32 address, const QByteArray &data) {
    return op.retry(kAttempts, [&] { return op.link().writeBlock(address, data); });
}

// The three settings blocks into the image (progress 10, 20, 35).
bool readImage(Operation &op, SettingsModel &settings) {
    static const int kProgress[3] = {10, 20, 35};
    for (int b = 0; b < 3; ++b) {
        progress(op.host(), kProgress[b]);
        QByteArray data;
        if (!readBlock(op, settings::kBlockAddress[b], &data)) return false;
        settings.setImageBytes(settings::kBlockImageOffset[b], data.left(settings::kBlockSize[b]));
    }
    return true;
}

// The DTMF blocks, each followed by its progress value.
bool readDtmfBlocks(Operation &op, DtmfMemories &dtmf, const int (&after)[3]) {
    for (int b = 0; b < DtmfMemories::kBlockCount; ++b) {
        QByteArray data;
        if (!readBlock(op, DtmfMemories::blockAddress(b), &data)) return false;
        dtmf.decodeBlock(b, data);
        progress(op.host(), after[b]);
    }
    return true;
}

// The DTMF blocks, each preceded by its progress value (-1: none).
bool writeDtmfBlocks(Operation &op, const DtmfMemories &dtmf, const int (&before)[3]) {
    for (int b = 0; b < DtmfMemories::kBlockCount; ++b) {
        if (before[b] >= 0) progress(op.host(), before[b]);
        if (!writeBlock(op, DtmfMemories::blockAddress(b), dtmf.encodeBlock(b))) return false;
    }
    return true;
}

} // namespace

TransferResult readSettings(SettingsModel &settings, DtmfMemories &dtmf, SerialLink &link,
                            TransferHost &host) {
    Operation op(link, host);
    if (!start(op) || !readImage(op, settings)) return op.result();
    decodeSettings(settings);
    progress(host, 50);

    QByteArray protect;
    if (!readBlock(op, settings::kWriteProtectAddress, &protect)) return op.result();
    if (!protect.isEmpty()) decodeWriteProtect(settings, quint8(protect.at(0)));
    progress(host, 55);

    if (!readDtmfBlocks(op, dtmf, {65, 80, 100})) return op.result();
    op.succeed(100);
    return op.result();
}

TransferResult writeSettings(SettingsModel &settings, DtmfMemories &dtmf, SerialLink &link,
                             TransferHost &host) {
    Operation op(link, host);
    // The image is refreshed first so that the bytes the program does not
    // edit go back as the radio holds them now.
    if (!start(op) || !readImage(op, settings)) return op.result();
    static const int kProgress[3] = {50, 65, 80};
    for (int b = 0; b < 3; ++b) {
        progress(host, kProgress[b]);
        if (!writeBlock(op, settings::kBlockAddress[b], encodeSettingsBlock(settings, b)))
            return op.result();
    }
    if (!writeDtmfBlocks(op, dtmf, {-1, 85, 90})) return op.result();
    op.succeed(100);
    return op.result();
}

TransferResult readDtmf(DtmfMemories &dtmf, SerialLink &link, TransferHost &host) {
    Operation op(link, host);
    if (!start(op) || !readDtmfBlocks(op, dtmf, {35, 70, 100})) return op.result();
    op.succeed(100);
    return op.result();
}

TransferResult writeDtmf(const DtmfMemories &dtmf, SerialLink &link, TransferHost &host) {
    Operation op(link, host);
    if (!start(op) || !writeDtmfBlocks(op, dtmf, {10, 40, 70})) return op.result();
    op.succeed(100);
    return op.result();
}

} // namespace kpr5
