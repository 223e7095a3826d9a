#include "core/radio/Verify.h"

#include "core/channels/ChannelRecord.h"
#include "core/document/RadioDocument.h"
#include "core/font/GlyphCodec.h"
#include "core/link/MemoryMap.h"
#include "core/settings/SettingsCodec.h"

namespace kpr5 {

namespace {

VerifyBlock block(quint32 address, const QByteArray &written) {
    return {address, written, QByteArray(written.size(), char(0xFF))};
}

} // namespace

QList<VerifyRegion> writtenRegions(const RadioDocument &doc, bool glyphs) {
    QList<VerifyRegion> regions;

    VerifyRegion channels{QStringLiteral("channels"), {}};
    channels.blocks.reserve(memorymap::kRecordCount);
    for (int row = 1; row <= memorymap::kRecordCount; ++row) {
        const auto record = memorymap::rowToRecord(row);
        if (!record) continue;
        channels.blocks << block(*memorymap::recordAddress(*record),
                                 encodeChannel(doc.channels, row).toByteArray());
    }
    regions << channels;

    const QByteArray banks = doc.banks.encodeArea();
    regions << VerifyRegion{
        QStringLiteral("banks"),
        {block(BankTable::kAddress, banks.left(BankTable::kBlockSize)),
         block(BankTable::kAddress + BankTable::kBlockSize, banks.mid(BankTable::kBlockSize))}};
    regions << VerifyRegion{QStringLiteral("one-touch keys"),
                            {block(0x00180, doc.oneTouch.encodeArea())}};
    regions << VerifyRegion{QStringLiteral("title"), {block(0x001A0, doc.title.encodeArea())}};

    VerifyRegion settings{QStringLiteral("settings"), {}};
    for (int b = 0; b < 3; ++b) {
        VerifyBlock s = block(settings::kBlockAddress[b], encodeSettingsBlock(doc.settings, b));
        // The bytes written back as the radio held them are not the program's.
        for (int offset : settings::kImageWrittenBack) {
            const int at = offset - settings::kBlockImageOffset[b];
            if (at >= 0 && at < s.mask.size()) s.mask[at] = 0;
        }
        settings.blocks << s;
    }
    regions << settings;

    VerifyRegion dtmf{QStringLiteral("DTMF"), {}};
    for (int b = 0; b < DtmfMemories::kBlockCount; ++b)
        dtmf.blocks << block(DtmfMemories::blockAddress(b), doc.dtmf.encodeBlock(b));
    regions << dtmf;

    regions << VerifyRegion{QStringLiteral("groups"),
                            {block(0x00100, doc.groups.encodeGroups(0, 6)),
                             block(GroupTable::kBlock1Address, doc.groups.encodeGroups(6, 5))}};

    if (glyphs) {
        VerifyRegion font{QStringLiteral("user characters"), {}};
        for (int k = 0; k < FontImage::kGlyphCount; ++k)
            font.blocks << block(glyphAddress(k), encodeGlyph(doc.font, k));
        regions << font;
    }
    return regions;
}

bool blockMatches(const VerifyBlock &block, const QByteArray &readBack) {
    if (readBack.size() < block.written.size()) return false;
    for (int i = 0; i < block.written.size(); ++i) {
        if (block.mask.at(i) != 0 && readBack.at(i) != block.written.at(i)) return false;
    }
    return true;
}

QStringList VerifyResult::reportLines() const {
    QStringList lines;
    for (int i = 0; i < differing.size(); ++i) {
        const int n = differingBlocks.value(i);
        lines << QStringLiteral("Verify: %1 differ (%2 block%3)")
                     .arg(differing.at(i))
                     .arg(n)
                     .arg(n == 1 ? QString() : QStringLiteral("s"));
    }
    for (const QString &region : unread)
        lines << QStringLiteral("Verify: %1 not read back").arg(region);
    if (lines.isEmpty() && started) lines << QStringLiteral("Verify: no difference");
    return lines;
}

VerifyResult verifyRegions(const QList<VerifyRegion> &regions, SerialLink &link,
                           TransferHost &host) {
    VerifyResult result;
    Operation op(link, host);
    if (!op.begin()) return result;
    result.started = true;
    host.stepStarted(QStringLiteral("verify"));
    const auto unreadFrom = [&](int r) {
        for (int i = r; i < regions.size(); ++i)
            result.unread << regions.at(i).name;
    };
    int total = 0;
    for (const VerifyRegion &region : regions)
        total += int(region.blocks.size());
    host.setProgressMaximum(total);
    host.setProgressValue(0);
    if (!op.identify()) {
        result.portError = op.result() == TransferResult::PortError;
        unreadFrom(0);
        return result;
    }
    int done = 0;
    for (int r = 0; r < regions.size(); ++r) {
        const VerifyRegion &region = regions.at(r);
        int differing = 0;
        for (const VerifyBlock &b : region.blocks) {
            host.processEvents();
            QByteArray data;
            if (!op.retry(3, [&] { return link.readBlock(b.address, &data); })) {
                if (differing > 0) {
                    result.differing << region.name;
                    result.differingBlocks << differing;
                }
                result.portError = op.result() == TransferResult::PortError;
                unreadFrom(r);
                return result;
            }
            if (!blockMatches(b, data)) ++differing;
            ++done;
            host.setProgressValue(done);
            host.setPercent(total > 0 ? done * 100 / total : 100);
        }
        if (differing > 0) {
            result.differing << region.name;
            result.differingBlocks << differing;
        }
    }
    // The caller reports the result: no "Success" here.
    op.succeed(total, QString());
    return result;
}

VerifyResult verifyWritten(const RadioDocument &doc, SerialLink &link, TransferHost &host,
                           bool glyphs) {
    return verifyRegions(writtenRegions(doc, glyphs), link, host);
}

} // namespace kpr5
