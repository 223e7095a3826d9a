#include "core/text/NameCodec.h"

#include "core/text/Cp932.h"

#include <algorithm>

namespace kpr5::names {

namespace {

constexpr char16_t kLastUserCharacter = kFirstUserCharacter + kUserCharacters - 1;

// Which user character (1..8) a token at text[i] stands for; 0 when none.
int tokenAt(const QString &text, qsizetype i) {
    if (i + 3 > text.size()) return 0;
    if (text.at(i) != QLatin1Char(':') || text.at(i + 2) != QLatin1Char('~')) return 0;
    const char16_t d = text.at(i + 1).unicode();
    return (d >= u'1' && d <= u'8') ? int(d - u'0') : 0;
}

// The kanji of the allowed set, in code order, then 澤 and 俊.
const char16_t kAllowedKanji[] = u"愛圧以伊位囲易移井域育一茨隠右宇羽運永英衛越円園遠応押横岡沖屋温"
                                 u"音下化何可家歌河火画賀解回海開外害柿拡格確隔学"
                                 u"楽潟割活轄乾完幹感監管簡間関丸岸岩喜器基岐機帰気畿紀規輝逆久休宮"
                                 u"急救旧去距京共強教橋興業局玉均禁近金九区空熊"
                                 u"群型形系経継警桁検県見原減源現言限古固庫戸糊五後御語護光公効口向"
                                 u"広更構江浩港甲航行降項香高号合刻国黒込根佐左"
                                 u"才災細在坂阪崎埼作削索察札三山仕四士始子市思指施止私紙視児字時滋"
                                 u"示自鹿式七実車遮取手種受周州秋終集充重宿出瞬"
                                 u"処所署除小松沼消照象上城常信心振新森神水衰数菅世瀬制成政盛西青静"
                                 u"石跡接設仙先千専川線船選前全操相総送増蔵側則"
                                 u"束測続村他太対帯待滞隊台大第滝択沢脱谷丹単探短端団断値知地池中庁"
                                 u"張朝町聴長鳥津追通停定締鉄天転田電登都度土島"
                                 u"東盗湯灯当答藤動同道徳特独読栃奈那内縄南二日認濃能播覇波馬売舶八"
                                 u"発抜半範飯非尾姫媛百表秒品浜不夫富府阜武部復"
                                 u"幅福複分文聞兵平並別変編保報放方芳防北幌本磨毎迄万民務無名明面木"
                                 u"目野優有様用葉陽来絡梨理裏離陸留了両良量力林"
                                 u"類令鈴列連路六録和澤俊";

std::array<quint16, kAllowedTableSize> buildAllowedTable() {
    std::array<quint16, kAllowedTableSize> table{};
    std::size_t n = 0;
    auto range = [&](quint16 from, quint16 to) {
        for (quint32 c = from; c <= to; ++c)
            table[n++] = quint16(c);
    };
    range(0x8140, 0x81AC);
    range(0x81B8, 0x81BF);
    range(0x81C8, 0x81CE);
    range(0x81DA, 0x81E8);
    range(0x81F0, 0x81F7);
    range(0x81FC, 0x81FC);
    range(0x824F, 0x8258); // ０..９
    range(0x8260, 0x8279); // Ａ..Ｚ
    range(0x8281, 0x829A); // ａ..ｚ
    range(0x829F, 0x82F1); // ぁ..ん
    range(0x8340, 0x8396); // ァ..ヶ
    for (char16_t k : kAllowedKanji) {
        if (k == 0) break;
        // Every kanji of the list has a code; a missing one would leave a 0.
        if (const std::optional<quint16> code = cp932::fromUnicode(k)) table[n++] = *code;
    }
    return table; // the remaining entries stay 0 and never match
}

const std::array<quint16, kAllowedTableSize> &sortedAllowed() {
    static const std::array<quint16, kAllowedTableSize> sorted = [] {
        std::array<quint16, kAllowedTableSize> s = allowedDoubleByteTable();
        std::sort(s.begin(), s.end());
        return s;
    }();
    return sorted;
}

// Walk a text by characters (a surrogate pair is one character).
template <typename F> void forEachCharacter(const QString &text, F f) {
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n &&
            QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            f(QChar::surrogateToUcs4(c, text.at(i + 1).unicode()), text.mid(i, 2));
            ++i;
        } else {
            f(char32_t(c), QString(QChar(c)));
        }
    }
}

} // namespace

QString decodeField(const QByteArray &field) {
    QString out;
    for (int k = 0; k < kSlots; ++k) {
        const int at = 2 * k;
        const quint8 lo = at < field.size() ? quint8(field.at(at)) : 0;
        const quint8 hi = at + 1 < field.size() ? quint8(field.at(at + 1)) : 0;
        const quint16 code = hi != 0 ? quint16(hi << 8 | lo) : lo;
        if (code == 0) continue;
        const std::optional<char16_t> c = cp932::toUnicode(code);
        out.append(c ? QChar(*c) : QChar(QChar::ReplacementCharacter));
    }
    return out;
}

QByteArray encodeField(const QString &stored) {
    QByteArray out(kFieldBytes, '\0');
    int slot = 0;
    forEachCharacter(stored, [&](char32_t c, const QString &) {
        if (slot >= kSlots || c == 0) return;
        const quint16 code = cp932::fromUnicode(c).value_or(quint16('?'));
        out[2 * slot] = char(code & 0xFF);
        out[2 * slot + 1] = char(code >> 8);
        ++slot;
    });
    return out;
}

QString displayToStored(const QString &display) {
    if (display.size() < 3) return display;
    QString out;
    out.reserve(display.size());
    qsizetype i = 0;
    while (display.size() - i >= 3) {
        if (const int n = tokenAt(display, i)) {
            out.append(QChar(char16_t(kFirstUserCharacter + n - 1)));
            i += 3;
        } else {
            out.append(display.at(i));
            ++i;
        }
    }
    out.append(display.mid(i));
    return out;
}

QString storedToDisplay(const QString &stored) {
    QString out;
    out.reserve(stored.size());
    for (QChar c : stored) {
        const char16_t u = c.unicode();
        if (u >= kFirstUserCharacter && u <= kLastUserCharacter)
            out.append(userCharacterToken(int(u - kFirstUserCharacter) + 1));
        else
            out.append(c);
    }
    return out;
}

QString userCharacterToken(int n) {
    return QStringLiteral(":%1~").arg(n);
}

int tokenCount(const QString &display) {
    int count = 0;
    for (qsizetype i = 0; i + 3 <= display.size(); ++i) {
        if (tokenAt(display, i)) ++count;
    }
    return count;
}

int measure(const QString &display) {
    return cp932::byteLength(display) - tokenCount(display);
}

int slotCount(const QString &display) {
    int count = 0;
    forEachCharacter(displayToStored(display), [&](char32_t, const QString &) { ++count; });
    return count;
}

QString cutToSlots(const QString &display, int limit) {
    qsizetype i = 0;
    for (int taken = 0; taken < limit && i < display.size(); ++taken) {
        if (tokenAt(display, i))
            i += 3;
        else if (display.at(i).isHighSurrogate() && i + 1 < display.size() &&
                 display.at(i + 1).isLowSurrogate())
            i += 2;
        else
            ++i;
    }
    return display.left(i);
}

bool fieldRoundTrips(const QByteArray &field) {
    QByteArray full = field.left(kFieldBytes);
    full.append(QByteArray(kFieldBytes - full.size(), '\0'));
    return encodeField(decodeField(full)) == full;
}

const std::array<quint16, kAllowedTableSize> &allowedDoubleByteTable() {
    static const std::array<quint16, kAllowedTableSize> table = buildAllowedTable();
    return table;
}

bool isAllowedDoubleByte(quint16 code) {
    if (code == 0) return false;
    const auto &s = sortedAllowed();
    return std::binary_search(s.begin(), s.end(), code);
}

QString filterAllowed(const QString &text) {
    QString out;
    out.reserve(text.size());
    forEachCharacter(text, [&](char32_t c, const QString &piece) {
        const std::optional<quint16> code = cp932::fromUnicode(c);
        if (!code || *code == 0) return;
        if (cp932::isDoubleByte(*code) && !isAllowedDoubleByte(*code)) return;
        out.append(piece);
    });
    return out;
}

bool acceptKey(const QString &current, char32_t key, bool title) {
    if (key == 22) // Ctrl+V: nothing is pasted into these fields
        return false;
    if (key == 8) // Backspace
        return true;
    const std::optional<quint16> code = cp932::fromUnicode(key);
    if (!code || *code == 0) return false; // nothing the radio could hold
    const int length = measure(current);
    if (!cp932::isDoubleByte(*code)) return length < kMaxLength;
    if (length >= kMaxLength - 1) return false;
    return !title || isAllowedDoubleByte(*code);
}

QString admitTyped(const QString &current, const QString &inserted, bool title) {
    QString kept;
    forEachCharacter(cp932::fromInputForms(inserted), [&](char32_t c, const QString &piece) {
        if (c < 0x20 || c == 0x7F) return;
        if (acceptKey(current + kept, c, title)) kept += piece;
    });
    return kept;
}

} // namespace kpr5::names
