#include "core/text/Cp932.h"

#include <algorithm>
#include <iterator>

namespace kpr5::cp932 {

namespace {

struct Cp932Pair {
    quint16 code;
    quint16 unit;
};

#include "core/text/Cp932Table.inc"

const Cp932Pair *findDecode(quint16 code) {
    const auto *end = std::end(kCp932Decode);
    const auto *it = std::lower_bound(std::begin(kCp932Decode), end, code,
                                      [](const Cp932Pair &p, quint16 c) { return p.code < c; });
    return (it != end && it->code == code) ? it : nullptr;
}

const Cp932Pair *findEncode(char16_t unit) {
    const auto *end = std::end(kCp932Encode);
    const auto *it = std::lower_bound(std::begin(kCp932Encode), end, unit,
                                      [](const Cp932Pair &p, char16_t u) { return p.unit < u; });
    return (it != end && it->unit == unit) ? it : nullptr;
}

// Calls f(codePoint) for every character of a text; a surrogate pair is one
// character, a lone surrogate is passed as it is (it has no code either way).
template <typename F> void forEachCodePoint(const QString &text, F f) {
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n &&
            QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            f(QChar::surrogateToUcs4(c, text.at(i + 1).unicode()));
            ++i;
        } else {
            f(char32_t(c));
        }
    }
}

} // namespace

std::optional<char16_t> toUnicode(quint16 code) {
    if (const Cp932Pair *p = findDecode(code)) return char16_t(p->unit);
    return std::nullopt;
}

std::optional<quint16> fromUnicode(char32_t character) {
    if (character > 0xFFFF) return std::nullopt;
    if (const Cp932Pair *p = findEncode(char16_t(character))) return p->code;
    return std::nullopt;
}

bool isLeadByte(quint8 byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

QByteArray encode(const QString &text, char replacement) {
    QByteArray out;
    out.reserve(text.size() * 2);
    forEachCodePoint(text, [&](char32_t c) {
        const std::optional<quint16> code = fromUnicode(c);
        if (!code) {
            out.append(replacement);
        } else if (isDoubleByte(*code)) {
            out.append(char(*code >> 8));
            out.append(char(*code & 0xFF));
        } else {
            out.append(char(*code));
        }
    });
    return out;
}

QString decode(const QByteArray &bytes) {
    QString out;
    out.reserve(bytes.size());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const quint8 b = quint8(bytes.at(i));
        if (isLeadByte(b) && i + 1 < n) {
            if (auto c = toUnicode(quint16(b << 8 | quint8(bytes.at(i + 1))))) {
                out.append(QChar(*c));
                ++i;
                continue;
            }
        }
        const std::optional<char16_t> c = toUnicode(b);
        out.append(c ? QChar(*c) : QChar(QChar::ReplacementCharacter));
    }
    return out;
}

int byteLength(const QString &text) {
    int length = 0;
    forEachCodePoint(text, [&](char32_t c) {
        const std::optional<quint16> code = fromUnicode(c);
        length += (code && isDoubleByte(*code)) ? 2 : 1;
    });
    return length;
}

QString fromInputForms(const QString &text) {
    struct Form {
        char16_t from;
        quint16 code;
    };
    static constexpr Form kForms[] = {{0x301C, 0x8160}, {0x2212, 0x817C}, {0x2016, 0x8161},
                                      {0x00A2, 0x8191}, {0x00A3, 0x8192}, {0x00AC, 0x81CA},
                                      {0x2014, 0x815C}, {0x00A5, 0x005C}};
    QString out = text;
    for (QChar &c : out) {
        for (const Form &f : kForms) {
            if (c.unicode() == f.from) {
                c = QChar(*toUnicode(f.code));
                break;
            }
        }
    }
    return out;
}

} // namespace kpr5::cp932
