// The ".FR5" font file reader; the glyphs read are written out again.
#include "FuzzSupport.h"

#include "core/files/FontFile.h"
#include "core/font/FontImage.h"

#include <QBuffer>

using namespace kpr5;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    QByteArray bytes = fuzz::bytesOf(data, size);
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    FontImage font;
    const FontFileResult result = readFontFile(in, font);
    KPR5_FUZZ_CHECK(result == FontFileResult::Loaded || result == FontFileResult::EndedEarly ||
                    result == FontFileResult::NotFontFile);

    // What was read saves and reads back unchanged.
    QByteArray saved;
    QBuffer out(&saved);
    out.open(QIODevice::WriteOnly);
    KPR5_FUZZ_CHECK(writeFontFile(font, out, QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5))));
    out.close();
    QBuffer back(&saved);
    back.open(QIODevice::ReadOnly);
    FontImage again;
    KPR5_FUZZ_CHECK(readFontFile(back, again) == FontFileResult::Loaded);
    for (int k = 0; k < FontImage::kGlyphCount; ++k)
        KPR5_FUZZ_CHECK(again.glyph(k) == font.glyph(k));
    return 0;
}
