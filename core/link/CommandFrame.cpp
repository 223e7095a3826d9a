#include "core/link/CommandFrame.h"

namespace kpr5 {

namespace {
char hexDigit(int nibble) {
    return char(nibble < 10 ? 0x30 + nibble : 0x37 + nibble);
}
} // namespace

QByteArray encodeHexByte(quint8 byte) {
    QByteArray out(2, '0');
    out[0] = hexDigit(byte >> 4);
    out[1] = hexDigit(byte & 0x0F);
    return out;
}

int decodeHexDigit(char digit) {
    if (digit >= '0' && digit <= '9') return digit - '0';
    if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
    return -1;
}

QByteArray addressDigits(quint32 address) {
    address &= 0x1FFFF;
    QByteArray out(5, '0');
    out[0] = address >= 0x10000 ? '1' : '0';
    const quint32 low = address & 0xFFFF;
    for (int i = 0; i < 4; ++i)
        out[1 + i] = hexDigit((low >> (12 - 4 * i)) & 0x0F);
    return out;
}

QByteArray toHexDigits(const QByteArray &bytes) {
    QByteArray out;
    out.reserve(bytes.size() * 2);
    for (char b : bytes)
        out += encodeHexByte(quint8(b));
    return out;
}

std::optional<QByteArray> fromHexDigits(const QByteArray &digits) {
    if (digits.size() % 2 != 0) return std::nullopt;
    QByteArray out(digits.size() / 2, '\0');
    for (int i = 0; i < out.size(); ++i) {
        const int hi = decodeHexDigit(digits[2 * i]);
        const int lo = decodeHexDigit(digits[2 * i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out[i] = char(hi * 16 + lo);
    }
    return out;
}

CommandFrame identificationFrame() {
    return QByteArrayLiteral("QX~KP-R5T\r");
}
CommandFrame fontIdentificationFrame() {
    return QByteArrayLiteral("QX~KP-R5\r");
}

CommandFrame blockReadFrame(quint32 address) {
    return QByteArrayLiteral("QX~F") + addressDigits(address) + QByteArrayLiteral("R\r");
}

CommandFrame blockWriteFrame(quint32 address, const QByteArray &data) {
    return QByteArrayLiteral("QX~F") + addressDigits(address) + 'W' + toHexDigits(data) + '\r';
}

bool acceptIdentifyReply(const QByteArray &reply) {
    return reply.size() == kIdentifyReplyLength && reply[12] == 'O' && reply[13] == 'K';
}

bool acceptFontIdentifyReply(const QByteArray &reply) {
    return reply.size() == kFontIdentifyReplyLength && reply[13] == 'O' && reply[14] == 'K';
}

bool acceptWriteReply(const QByteArray &reply, int frameLength) {
    return frameLength >= 0 && reply.size() == writeReplyLength(frameLength) &&
           reply[frameLength + 2] == 'O' && reply[frameLength + 3] == 'K';
}

std::optional<QByteArray> acceptReadReply(const QByteArray &reply) {
    if (reply.size() != kBlockReadReplyLength || reply[141] != '\r' || reply[142] != '\n')
        return std::nullopt;
    return fromHexDigits(reply.mid(kReadDataOffset, 2 * kBlockDataBytes));
}

} // namespace kpr5
