// A glyph read reply of the font window, and a glyph's 32 bytes.
#include "FuzzSupport.h"

#include "core/font/FontImage.h"
#include "core/font/GlyphCodec.h"

using namespace kpr5;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    (void)fontIdentifyOk(bytes);
    (void)glyphWriteOk(bytes);

    FontImage font;
    const int k = size > 0 ? data[0] % 10 - 1 : 0;
    const bool direct = decodeGlyph(bytes, font, k);
    KPR5_FUZZ_CHECK(direct == (bytes.size() == kGlyphBytes && FontImage::validGlyph(k)));
    if (direct) KPR5_FUZZ_CHECK(encodeGlyph(font, k) == bytes);

    if (const auto glyph = glyphFromReadReply(bytes)) {
        KPR5_FUZZ_CHECK(glyph->size() == kGlyphBytes);
        const int slot = FontImage::validGlyph(k) ? k : 0;
        KPR5_FUZZ_CHECK(decodeGlyph(*glyph, font, slot));
        KPR5_FUZZ_CHECK(encodeGlyph(font, slot) == *glyph);
        KPR5_FUZZ_CHECK(glyphWriteFrame(font, slot).size() == kGlyphWriteFrameLength);
    }
    return 0;
}
