// Our code page 932 table against the C library's converter (iconv "CP932"),
// over every code a channel name or the title can hold, plus the text
// conversions built on the table.

#include "core/text/Cp932.h"
#include "core/text/NameCodec.h"

#include <QtTest>

#include <iconv.h>

#include <optional>

using namespace kpr5;

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
    void initTestCase() {
        iconv_t cd = iconv_open("UTF-16LE", "CP932");
        if (cd == iconv_t(-1)) QSKIP("the C library has no CP932 converter");
        iconv_close(cd);
    }

    void singleByteCodesAgreeWithIconv() {
        // Windows maps these five bytes; glibc refuses them.
        const QMap<quint16, char16_t> windowsOnly{
            {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}};
        int checked = 0;
        for (int b = 0; b <= 0xFF; ++b) {
            const quint16 code = quint16(b);
            const std::optional<char16_t> ours = cp932::toUnicode(code);
            const std::optional<char16_t> theirs = iconvDecode(code);
            if (windowsOnly.contains(code)) {
                QVERIFY2(!theirs, qPrintable(QString::number(b, 16)));
                QVERIFY(ours);
                QCOMPARE(*ours, windowsOnly.value(code));
                QCOMPARE(cp932::fromUnicode(*ours), std::optional<quint16>(code));
                continue;
            }
            if (cp932::isLeadByte(quint8(b))) {
                // A lead byte alone is no character in either.
                QVERIFY2(!ours && !theirs, qPrintable(QString::number(b, 16)));
                continue;
            }
            QVERIFY2(ours && theirs, qPrintable(QString::number(b, 16)));
            QCOMPARE(*ours, *theirs);
            QCOMPARE(cp932::fromUnicode(*ours), iconvEncode(*ours));
            ++checked;
        }
        QCOMPARE(checked, 256 - 5 - 60);
    }

    void radioDoubleByteCodesAgreeWithIconv() {
        QList<quint16> codes;
        for (quint16 c : names::allowedDoubleByteTable()) {
            if (c != 0) codes << c;
        }
        QCOMPARE(codes.size(), 824);
        for (quint16 u = 0x8740; u <= 0x8747; ++u)
            codes << u; // the user characters
        int defined = 0;
        for (quint16 code : codes) {
            const std::optional<char16_t> ours = cp932::toUnicode(code);
            const std::optional<char16_t> theirs = iconvDecode(code);
            const QByteArray where = QByteArray::number(code, 16);
            QVERIFY2(ours.has_value() == theirs.has_value(), where.constData());
            if (!ours) continue; // 0x817F and 0x837F lie inside the set's ranges but are no codes
            ++defined;
            QCOMPARE(*ours, *theirs);
            QCOMPARE(cp932::fromUnicode(*ours), std::optional<quint16>(code));
            QCOMPARE(iconvEncode(*ours), std::optional<quint16>(code));
        }
        QCOMPARE(defined, 822 + 8);
        QCOMPARE(cp932::toUnicode(0x8740), std::optional<char16_t>(u'\u2460'));
        QCOMPARE(cp932::toUnicode(0x8747), std::optional<char16_t>(u'\u2467'));
    }

    void everyDoubleByteCodeAgreesWithIconv() {
        // Beyond what the radio holds: the whole table matches as well.
        int mismatches = 0;
        QStringList report;
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!cp932::isLeadByte(quint8(lead))) continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                const quint16 code = quint16(lead << 8 | trail);
                const std::optional<char16_t> ours = cp932::toUnicode(code);
                const std::optional<char16_t> theirs = iconvDecode(code);
                // Where a character has two codes (the NEC-selected and the IBM
                // extensions), glibc may prefer the other one; both must decode
                // to the character.
                bool encodeDiffers = false;
                if (ours) {
                    const std::optional<quint16> a = cp932::fromUnicode(*ours);
                    const std::optional<quint16> b = iconvEncode(*ours);
                    encodeDiffers =
                        !a || !b || cp932::toUnicode(*a) != ours || cp932::toUnicode(*b) != ours;
                }
                if (ours != theirs || encodeDiffers) {
                    ++mismatches;
                    if (report.size() < 10) report << QString::number(code, 16);
                }
            }
        }
        QVERIFY2(mismatches == 0, qPrintable(report.join(QLatin1Char(' '))));
    }

    void encodeAndDecodeText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QStringLiteral("AB1~") << QByteArray("AB1~");
        QTest::newRow("half-width katakana") << QStringLiteral("\uFF71") << QByteArray("\xB1");
        QTest::newRow("hiragana") << QStringLiteral("\u3042") << QByteArray("\x82\xA0");
        QTest::newRow("circled one") << QStringLiteral("\u2460") << QByteArray("\x87\x40");
        QTest::newRow("yen sign is backslash") << QStringLiteral("\\") << QByteArray("\x5C");
        QTest::newRow("full-width JR")
            << QStringLiteral("\uFF2A\uFF32") << QByteArray("\x82\x69\x82\x71");
        QTest::newRow("line end") << QStringLiteral("a\r\n") << QByteArray("a\r\n");
    }

    void encodeAndDecodeText() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(cp932::encode(text), bytes);
        QCOMPARE(cp932::decode(bytes), text);
        QCOMPARE(cp932::byteLength(text), bytes.size());
    }

    void unrepresentableCharactersBecomeReplacement_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("euro sign") << QStringLiteral("a\u20ACb") << QByteArray("a?b");
        QTest::newRow("surrogate pair is one character")
            << QString::fromUcs4(U"x\U0001F600y") << QByteArray("x?y");
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QByteArray("?");
    }

    void unrepresentableCharactersBecomeReplacement() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(cp932::encode(text), bytes);
        QCOMPARE(cp932::byteLength(text), bytes.size());
    }

    void brokenBytesDecodeToReplacementWithoutSwallowingTheNext_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("lead before line end")
            << QByteArray("\x82\r\n") << QStringLiteral("\uFFFD\r\n");
        QTest::newRow("lead at the end") << QByteArray("a\x82") << QStringLiteral("a\uFFFD");
        QTest::newRow("unassigned pair") << QByteArray("\x85\x40Z") << QStringLiteral("\uFFFD@Z");
    }

    void brokenBytesDecodeToReplacementWithoutSwallowingTheNext() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(cp932::decode(bytes), text);
    }

    void preferredCodeForCharactersWithTwoCodes() {
        // "∵" is 0x81E6 and also 0x879A (NEC row 13); Windows writes 0x81E6.
        QCOMPARE(cp932::toUnicode(0x879A), cp932::toUnicode(0x81E6));
        QCOMPARE(cp932::fromUnicode(*cp932::toUnicode(0x879A)), std::optional<quint16>(0x81E6));
    }
};

QTEST_GUILESS_MAIN(Cp932Test)
#include "tst_cp932.moc"
