#pragma once
// The radio's form of a user character and the font window's frames.
//
// Glyph k (0..7) occupies the 32 bytes at 0x01000 + 32 * k. Bytes 0..15 hold
// the upper half of columns 0..15 (rows 0..7, row r in bit r, bit 0 = top
// row); bytes 16..31 the lower half (rows 8..15, row r in bit r - 8).

#include "core/font/FontImage.h"
#include "core/link/CommandFrame.h"

#include <QByteArray>

#include <optional>

namespace kpr5 {

constexpr quint32 kFontBaseAddress = 0x01000;
constexpr int kGlyphBytes = 32;
constexpr int kGlyphWriteFrameLength = 75; // "QX~F" + 5 + "W" + 64 digits + CR
constexpr int kGlyphWriteReplyLength = 81; // "OK" at 77..78
constexpr int kGlyphReadReplyLength = 143; // a 64-byte block read reply
constexpr int kGlyphDataOffset = 13;       // the glyph's 64 digits at 13..76

// 0x01000 + 32 * k (k is taken modulo 8 so the address never leaves the font area).
quint32 glyphAddress(int k);

// The 32 radio bytes of a glyph; and back (false, nothing changed, when the
// bytes are not exactly 32 or k is not 0..7).
QByteArray encodeGlyph(const FontImage::Glyph &glyph);
QByteArray encodeGlyph(const FontImage &font, int k);
FontImage::Glyph decodeGlyph(const QByteArray &bytes);
bool decodeGlyph(const QByteArray &bytes, FontImage &font, int k);

// "QX~F" + "010" + two digits of 32 * k + "W" + 64 data digits + CR (75 bytes).
CommandFrame glyphWriteFrame(const FontImage &font, int k);
// "QX~F" + "010" + two digits of 32 * k + "R" + CR (11 bytes).
CommandFrame glyphReadFrame(int k);

// Reply checks of the font window. The identification reply has "OK" at
// 13..14, a glyph write reply "OK" at 77..78.
bool fontIdentifyOk(const QByteArray &reply);
bool glyphWriteOk(const QByteArray &reply);
// A glyph read reply of exactly 143 characters whose characters 13..76 are
// hexadecimal digits: the glyph's 32 bytes. The second glyph in the rest of
// the reply is not used.
std::optional<QByteArray> glyphFromReadReply(const QByteArray &reply);

} // namespace kpr5
