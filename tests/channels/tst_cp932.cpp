// Our code page 932 table against the C library's converter (iconv "CP932"),
// over every code a channel name or the title can hold, plus the text
// conversions built on the table.

#include "Files.h"
#include "core/text/Cp932.h"
#include "core/text/NameCodec.h"

#include <QFile>
#include <QtTest>

#include <iconv.h>

#include <optional>

using namespace kpr5;
using namespace Qt::StringLiterals;

namespace {

// One conversion through iconv; nullopt when iconv refuses the input.
std::optional<QByteArray> iconvConvert(const char *to, const char *from, const QByteArray &in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1)) return std::nullopt;
    QByteArray input = in;
    char out[16];
    char *inPtr = input.data();
    size_t inLeft = size_t(input.size());
    char *outPtr = out;
    size_t outLeft = sizeof out;
    const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    const bool ok = r != size_t(-1) && inLeft == 0 &&
                    iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != size_t(-1);
    iconv_close(cd);
    if (!ok) return std::nullopt;
    return QByteArray(out, int(outPtr - out));
}

QByteArray codeBytes(quint16 code) {
    QByteArray b;
    if (code > 0xFF) b.append(char(code >> 8));
    b.append(char(code & 0xFF));
    return b;
}

// iconv's reading of a code: one UTF-16 unit, or nullopt.
std::optional<char16_t> iconvDecode(quint16 code) {
    const std::optional<QByteArray> u = iconvConvert("UTF-16LE", "CP932", codeBytes(code));
    if (!u || u->size() != 2) return std::nullopt;
    return char16_t(quint8(u->at(0)) | quint8(u->at(1)) << 8);
}

std::optional<quint16> iconvEncode(char16_t c) {
    const QByteArray in(reinterpret_cast<const char *>(&c), 2);
    const std::optional<QByteArray> b = iconvConvert("CP932", "UTF-16LE", in);
    if (!b || b->isEmpty() || b->size() > 2) return std::nullopt;
    return b->size() == 1 ? quint16(quint8(b->at(0)))
                          : quint16(quint8(b->at(0)) << 8 | quint8(b->at(1)));
}

} // namespace

class Cp932Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every single-byte and double-byte code decodes as iconv decodes it, and
    // its character encodes to a code of the same character. Where a character
    // has two codes (the NEC-selected and the IBM extensions), glibc may prefer
    // the other one; the codes a name or the title can hold come back as
    // themselves.
    void everyCodeAgreesWithIconv() {
        const auto &allowed = names::allowedDoubleByteTable();
        // Windows maps these five bytes; glibc refuses them.
        const QMap<quint16, char16_t> windowsOnly{
            {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}};
        QList<quint16> codes;
        for (int c = 0; c <= 0xFFFF; ++c)
            if (c <= 0xFF || (cp932::isLeadByte(quint8(c >> 8)) && (c & 0xFF) >= 0x40)) codes << c;
        QStringList wrong;
        for (quint16 code : codes) {
            const std::optional<char16_t> ours = cp932::toUnicode(code);
            const std::optional<char16_t> theirs = iconvDecode(code);
            const bool windows = windowsOnly.contains(code);
            bool ok = windows ? ours == windowsOnly.value(code) && !theirs : ours == theirs;
            if (ours) {
                const std::optional<quint16> a = cp932::fromUnicode(*ours);
                const std::optional<quint16> b = iconvEncode(*ours);
                const bool radioCode =
                    (code >= 0x8740 && code <= 0x8747) ||
                    std::find(allowed.begin(), allowed.end(), code) != allowed.end();
                ok = ok && a && cp932::toUnicode(*a) == ours && (!radioCode || *a == code) &&
                     (windows || (b && cp932::toUnicode(*b) == ours));
            }
            if (!ok) wrong << QString::number(code, 16);
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.mid(0, 10).join(QLatin1Char(' '))));
        QVERIFY(codes.size() > 256 + 7000);
        // "∵" is 0x81E6 and also 0x879A (NEC row 13); Windows writes 0x81E6.
        QCOMPARE(cp932::fromUnicode(*cp932::toUnicode(0x879A)), std::optional<quint16>(0x81E6));
    }

    // tests/data/tst_cp932-text.tsv: text, bytes, which way.
    void encodeAndDecodeText() {
        for (const QStringList &c : test::tableRows(QFINDTESTDATA("../data/tst_cp932-text.tsv"))) {
            const QByteArray bytes = QByteArray::fromHex(c[1].toLatin1());
            QVERIFY2(!c[2].endsWith('>') ||
                         (cp932::encode(c[0]) == bytes && cp932::byteLength(c[0]) == bytes.size()),
                     qPrintable(c[3]));
            QVERIFY2(!c[2].startsWith('<') || cp932::decode(bytes) == c[0], qPrintable(c[3]));
        }
    }
};

QTEST_GUILESS_MAIN(Cp932Test)
#include "tst_cp932.moc"
