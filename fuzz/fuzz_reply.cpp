// The replies of the radio as the link accepts them: identification, write
// acknowledgement and block read replies, and hexadecimal text.
#include "FuzzSupport.h"

#include "core/link/CommandFrame.h"

using namespace kpr5;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    (void)acceptIdentifyReply(bytes);
    (void)acceptFontIdentifyReply(bytes);
    // The frame lengths the program sends, and ones that match the reply.
    for (int length :
         {0, 1, 10, 75, std::max(0, int(bytes.size()) - 6), int(bytes.size()), 1 << 30})
        (void)acceptWriteReply(bytes, length);

    if (const auto block = acceptReadReply(bytes)) {
        KPR5_FUZZ_CHECK(bytes.size() == kBlockReadReplyLength);
        KPR5_FUZZ_CHECK(block->size() == kBlockDataBytes);
        KPR5_FUZZ_CHECK(toHexDigits(*block) == bytes.mid(kReadDataOffset, 2 * kBlockDataBytes));
    }

    if (const auto decoded = fromHexDigits(bytes)) {
        KPR5_FUZZ_CHECK(decoded->size() * 2 == bytes.size());
        KPR5_FUZZ_CHECK(toHexDigits(*decoded) == bytes);
    }
    for (char c : bytes) {
        const int digit = decodeHexDigit(c);
        KPR5_FUZZ_CHECK(digit >= -1 && digit < 16);
    }
    return 0;
}
