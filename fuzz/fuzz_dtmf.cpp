// The three DTMF blocks: decoded, encoded, decoded again to the same fields.
#include "FuzzSupport.h"

#include "core/common/DtmfMemories.h"

using namespace kpr5;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::Input in(data, size);
    const int block = in.pick(DtmfMemories::kBlockCount + 2) - 1;
    const QByteArray bytes = in.rest();

    DtmfMemories dtmf;
    const bool read = dtmf.decodeBlock(block, bytes);
    KPR5_FUZZ_CHECK(!read || (block >= 0 && block < DtmfMemories::kBlockCount &&
                              bytes.size() >= DtmfMemories::blockSize(block)));
    for (int i = 0; i < DtmfMemories::kMemoryCount; ++i) {
        const QString text = dtmf.memory(i);
        (void)DtmfMemories::cleaned(text);
        (void)DtmfMemories::byteLength(text);
    }
    for (int t = 0; t < DtmfMemories::kTimingCount; ++t) {
        const auto timing = DtmfMemories::Timing(t);
        KPR5_FUZZ_CHECK(dtmf.timing(timing) >= 0 &&
                        dtmf.timing(timing) < DtmfMemories::timingOptions(timing).size());
    }
    if (!read) return 0;

    const QByteArray written = dtmf.encodeBlock(block);
    KPR5_FUZZ_CHECK(written.size() == DtmfMemories::blockSize(block));
    DtmfMemories again;
    KPR5_FUZZ_CHECK(again.decodeBlock(block, written));
    KPR5_FUZZ_CHECK(again.encodeBlock(block) == written);
    return 0;
}
