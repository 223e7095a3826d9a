#include "core/font/GlyphCodec.h"

namespace kpr5 {

namespace {
constexpr int kHalf = 8; // rows in one half of a glyph
}

quint32 glyphAddress(int k) {
    return kFontBaseAddress + quint32(kGlyphBytes) * quint32(k & 7);
}

QByteArray encodeGlyph(const FontImage::Glyph &glyph) {
    constexpr int n = FontImage::kSize;
    QByteArray bytes(kGlyphBytes, '\0');
    for (int col = 0; col < n; ++col) {
        quint8 upper = 0;
        quint8 lower = 0;
        for (int bit = 0; bit < kHalf; ++bit) {
            if (glyph[bit * n + col]) upper |= quint8(1u << bit);
            if (glyph[(bit + kHalf) * n + col]) lower |= quint8(1u << bit);
        }
        bytes[col] = char(upper);
        bytes[n + col] = char(lower);
    }
    return bytes;
}

QByteArray encodeGlyph(const FontImage &font, int k) {
    return encodeGlyph(font.glyph(k));
}

FontImage::Glyph decodeGlyph(const QByteArray &bytes) {
    constexpr int n = FontImage::kSize;
    FontImage::Glyph glyph{};
    if (bytes.size() != kGlyphBytes) return glyph;
    for (int col = 0; col < n; ++col) {
        const quint8 upper = quint8(bytes[col]);
        const quint8 lower = quint8(bytes[n + col]);
        for (int bit = 0; bit < kHalf; ++bit) {
            glyph[bit * n + col] = (upper >> bit) & 1;
            glyph[(bit + kHalf) * n + col] = (lower >> bit) & 1;
        }
    }
    return glyph;
}

bool decodeGlyph(const QByteArray &bytes, FontImage &font, int k) {
    if (bytes.size() != kGlyphBytes || !FontImage::validGlyph(k)) return false;
    font.setGlyph(k, decodeGlyph(bytes));
    return true;
}

CommandFrame glyphWriteFrame(const FontImage &font, int k) {
    return blockWriteFrame(glyphAddress(k), encodeGlyph(font, k));
}

CommandFrame glyphReadFrame(int k) {
    return blockReadFrame(glyphAddress(k));
}

bool fontIdentifyOk(const QByteArray &reply) {
    return reply.size() > 14 && reply[13] == 'O' && reply[14] == 'K';
}

bool glyphWriteOk(const QByteArray &reply) {
    return reply.size() > 78 && reply[77] == 'O' && reply[78] == 'K';
}

std::optional<QByteArray> glyphFromReadReply(const QByteArray &reply) {
    if (reply.size() != kGlyphReadReplyLength) return std::nullopt;
    return fromHexDigits(reply.mid(kGlyphDataOffset, 2 * kGlyphBytes));
}

} // namespace kpr5
