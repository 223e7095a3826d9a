#pragma once
// Code page 932 (Windows Shift_JIS with the NEC row-13 characters) in both
// directions, from our own table (Cp932Table.inc, generated from the
// published mapping), so nothing depends on the machine's locale.
//
// A code is a 16-bit value: 0x00..0xFF for a single-byte character,
// lead * 256 + trail for a double-byte character.

#include <QByteArray>
#include <QString>

#include <optional>

namespace kpr5::cp932 {

// The character of a code; nullopt when the code page defines none (a lone
// lead byte, an unassigned pair, a value that is not a code at all).
std::optional<char16_t> toUnicode(quint16 code);

// The code of a character; nullopt when code page 932 cannot represent it.
std::optional<quint16> fromUnicode(char32_t character);

inline bool isDoubleByte(quint16 code) {
    return code > 0xFF;
}

// True for the bytes that start a double-byte character (0x81..0x9F, 0xE0..0xFC).
bool isLeadByte(quint8 byte);

// Bytes of a text. A character the code page cannot represent (a surrogate
// pair counts as one character) is written as `replacement`.
QByteArray encode(const QString &text, char replacement = '?');

// Text of a byte string. A byte that starts no defined character (a lone
// lead byte, an unassigned pair) becomes U+FFFD and decoding goes on with
// the following byte, so a line end after a broken lead byte survives.
QString decode(const QByteArray &bytes);

// Bytes a text takes in code page 932: 1 for a single-byte character, 2 for
// a double-byte one, 1 for a character that cannot be represented (it is
// written as one replacement byte).
int byteLength(const QString &text);

// Text as it enters the program (typed, committed by an input method,
// pasted, read from a UTF-8 file), with the forms that Linux input methods
// and files written on Linux or macOS use for some characters replaced by the
// ones code page 932 has codes for: WAVE DASH U+301C (0x8160), MINUS SIGN
// U+2212 (0x817C), DOUBLE VERTICAL LINE U+2016 (0x8161), CENT, POUND and NOT
// SIGN U+00A2, U+00A3, U+00AC (0x8191, 0x8192, 0x81CA), EM DASH U+2014
// (0x815C), and YEN SIGN U+00A5 as the backslash 0x5C, which is what a
// Japanese keyboard's yen key means in code page 932. Everything else stays.
QString fromInputForms(const QString &text);

} // namespace kpr5::cp932
