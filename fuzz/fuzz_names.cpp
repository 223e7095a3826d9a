// Code page 932 text and the 32-byte name field: decoded, shown, measured,
// filtered and encoded again.
#include "FuzzSupport.h"

#include "core/text/Cp932.h"
#include "core/text/NameCodec.h"

using namespace kpr5;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);

    const QString text = cp932::decode(bytes);
    KPR5_FUZZ_CHECK(text.size() <= bytes.size());
    const QByteArray encoded = cp932::encode(text);
    KPR5_FUZZ_CHECK(cp932::byteLength(text) == encoded.size());
    // Text that decoded without a replacement character comes back from its
    // bytes (the bytes themselves may differ: some characters have two codes).
    if (!text.contains(QChar(0xFFFD))) KPR5_FUZZ_CHECK(cp932::decode(encoded) == text);

    const QString stored = names::decodeField(bytes);
    const QString display = names::storedToDisplay(stored);
    // A name that holds no ':' cannot hold a token by chance.
    if (!stored.contains(QLatin1Char(':')))
        KPR5_FUZZ_CHECK(names::displayToStored(display) == stored);
    (void)names::measure(display);
    (void)names::tokenCount(display);
    (void)names::filterAllowed(display);
    (void)names::filterAllowed(text);
    KPR5_FUZZ_CHECK(names::encodeField(stored).size() == names::kFieldBytes);
    for (QChar c : display.left(8))
        (void)names::acceptKey(display, c.unicode(), (size & 1) != 0);
    return 0;
}
