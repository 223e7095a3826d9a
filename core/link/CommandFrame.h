#pragma once
// Clone command frames: one command line as ASCII bytes ending in CR, and the
// rules by which a reply is accepted (exact length plus a few fixed bytes;
// the radio sends no checksum).

#include <QByteArray>
#include <optional>

namespace kpr5 {

using CommandFrame = QByteArray;

// Two upper-case hexadecimal digits, high nibble first.
QByteArray encodeHexByte(quint8 byte);
// "0".."9" -> 0..9, "A".."F" -> 10..15; -1 for anything else (lower case included).
int decodeHexDigit(char digit);
// The five address digits: "1" or "0", then the address modulo 0x10000 as four digits.
QByteArray addressDigits(quint32 address);
// Hexadecimal text of a byte run; and back, nullopt when a digit is not hexadecimal
// or the text has an odd length.
QByteArray toHexDigits(const QByteArray &bytes);
std::optional<QByteArray> fromHexDigits(const QByteArray &digits);

CommandFrame identificationFrame();     // "QX~KP-R5T" CR, 10 bytes
CommandFrame fontIdentificationFrame(); // "QX~KP-R5" CR, 9 bytes (font window)
CommandFrame blockReadFrame(quint32 address);
CommandFrame blockWriteFrame(quint32 address, const QByteArray &data);

constexpr int kIdentifyReplyLength = 16;
constexpr int kFontIdentifyReplyLength = 17;
constexpr int kBlockReadReplyLength = 143;
constexpr int kBlockDataBytes = 64;
constexpr int kReadDataOffset = 13;
inline int writeReplyLength(int frameLength) {
    return frameLength + 6;
}

bool acceptIdentifyReply(const QByteArray &reply);               // 16 bytes, "OK" at 12-13
bool acceptFontIdentifyReply(const QByteArray &reply);           // 17 bytes, "OK" at 13-14
bool acceptWriteReply(const QByteArray &reply, int frameLength); // L+6 bytes, "OK" at L+2
// 143 bytes with CR LF at 141-142 and 128 hexadecimal data digits at 13..140;
// yields the 64 data bytes. Non-hexadecimal data digits make the exchange fail.
std::optional<QByteArray> acceptReadReply(const QByteArray &reply);

} // namespace kpr5
