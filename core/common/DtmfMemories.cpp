#include "core/common/DtmfMemories.h"

namespace kpr5 {

namespace {

constexpr quint8 kNoDigit = 0x11;
const QString kDigits = QStringLiteral("0123456789ABCD*#-");

QStringList milliseconds(std::initializer_list<int> values) {
    QStringList list;
    for (int v : values)
        list << QStringLiteral("%1ms").arg(v);
    return list;
}

// Memory m starts at this offset of the whole 165-byte area.
int memoryOffset(int m) {
    return 3 + 16 * m;
}
constexpr int kDialOffset = 0xA3;
constexpr int kPauseOffset = 0xA4;
constexpr int kAreaSize = 165;
constexpr int kBlockStart[3] = {0, 0x33, 0x73};
constexpr int kBlockLength[3] = {51, 64, 50};

} // namespace

// At start-up every list shows its first entry; RESET_DTMF sets the defaults.
DtmfMemories::DtmfMemories(QObject *parent) : QObject(parent) {}

QString DtmfMemories::memory(int index) const {
    return index >= 0 && index < kMemoryCount ? m_memories[size_t(index)] : QString();
}

bool DtmfMemories::setMemory(int index, const QString &text) {
    if (index < 0 || index >= kMemoryCount) return false;
    if (m_memories[size_t(index)] != text) {
        m_memories[size_t(index)] = text;
        Q_EMIT memoryChanged(index, text);
    }
    return true;
}

void DtmfMemories::restore(const State &state) {
    for (int i = 0; i < kMemoryCount; ++i)
        setMemory(i, state.memories[size_t(i)]);
    for (int t = 0; t < kTimingCount; ++t)
        setTiming(Timing(t), state.timing[size_t(t)]);
}

int DtmfMemories::timing(Timing t) const {
    return t >= 0 && t < kTimingCount ? m_timing[size_t(t)] : -1;
}

bool DtmfMemories::setTiming(Timing t, int position) {
    if (t < 0 || t >= kTimingCount || position < 0 || position >= timingOptions(t).size())
        return false;
    if (m_timing[size_t(t)] != position) {
        m_timing[size_t(t)] = position;
        Q_EMIT timingChanged(t, position);
    }
    return true;
}

QStringList DtmfMemories::timingOptions(Timing t) {
    switch (t) {
    case Wait:
        return milliseconds({50, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000});
    case Head:
    case Burst:
    case Pause:
        return milliseconds({20, 40, 60, 80, 100, 120, 140, 160, 180, 200, 300, 400, 500, 600, 700,
                             800, 900}) +
               QStringList{QStringLiteral("1.0s"), QStringLiteral("1.2s"), QStringLiteral("1.4s"),
                           QStringLiteral("1.6s"), QStringLiteral("1.8s"), QStringLiteral("2.0s")};
    case DialChannel: {
        QStringList list;
        for (int n = 1; n <= 9; ++n)
            list << QStringLiteral("%1Ch").arg(n);
        return list;
    }
    }
    return QStringList();
}

QString DtmfMemories::timingControlName(Timing t) {
    switch (t) {
    case Wait:
        return QStringLiteral("COMMON_WAIT");
    case Head:
        return QStringLiteral("COMMON_HEAD");
    case Burst:
        return QStringLiteral("COMMON_BURST");
    case Pause:
        return QStringLiteral("COMMON_PAUSE");
    case DialChannel:
        return QStringLiteral("COMMON_DIAL_CH");
    }
    return QString();
}

QString DtmfMemories::timingCaption(Timing t) {
    switch (t) {
    case Wait:
        return QStringLiteral("Wait");
    case Head:
        return QStringLiteral("Head");
    case Burst:
        return QStringLiteral("Burst");
    case Pause:
        return QStringLiteral("Pause");
    case DialChannel:
        return QStringLiteral("Ch");
    }
    return QString();
}

void DtmfMemories::reset() {
    for (int i = 0; i < kMemoryCount; ++i)
        setMemory(i, QString());
    setTiming(Wait, 1);
    setTiming(Head, 5);
    setTiming(Pause, 2);
    setTiming(Burst, 5);
    setTiming(DialChannel, 0);
}

bool DtmfMemories::isDtmfCharacter(QChar c) {
    return digitCode(c) >= 0;
}

int DtmfMemories::digitCode(QChar c) {
    const int i = kDigits.indexOf(c); // case-sensitive: "a" is not "A"
    return c.isNull() ? -1 : i;
}

int DtmfMemories::byteLength(const QString &text) {
    int n = 0;
    for (QChar c : text) {
        const ushort u = c.unicode();
        if (c.isLowSurrogate()) continue;
        // ASCII and half-width katakana take one byte in code page 932.
        n += (u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F)) ? 1 : 2;
    }
    return n;
}

DtmfMemories::KeyAction DtmfMemories::filterKey(const QString &text, QChar key) {
    if (byteLength(text) > kMaxDigits) return KeyAction::Empty;
    if (key == QChar(0x08)) return KeyAction::Accept;
    if (text.size() < kMaxDigits && isDtmfCharacter(key)) return KeyAction::Accept;
    return KeyAction::Discard;
}

QString DtmfMemories::cleaned(const QString &text) {
    QString out;
    for (QChar c : text) {
        if (isDtmfCharacter(c)) out += c;
    }
    return out;
}

QByteArray DtmfMemories::encodeMemory(const QString &text) {
    QByteArray bytes(kMaxDigits, char(kNoDigit));
    int n = 0;
    // Only the characters a memory can hold, at most sixteen of them.
    for (QChar c : text) {
        const int code = digitCode(c);
        if (code < 0) continue;
        if (n == kMaxDigits) break;
        bytes[n++] = char(code);
    }
    return bytes;
}

QString DtmfMemories::decodeMemory(const QByteArray &bytes) {
    QString text;
    for (int i = 0; i < bytes.size() && i < kMaxDigits; ++i) {
        const quint8 code = quint8(bytes[i]);
        if (code >= kNoDigit) break;
        text += kDigits.at(code);
    }
    return text;
}

quint32 DtmfMemories::blockAddress(int block) {
    return block >= 0 && block < kBlockCount ? 0x01100u + quint32(kBlockStart[block]) : 0;
}

int DtmfMemories::blockSize(int block) {
    return block >= 0 && block < kBlockCount ? kBlockLength[block] : 0;
}

QByteArray DtmfMemories::encodeBlock(int block) const {
    if (block < 0 || block >= kBlockCount) return QByteArray();
    QByteArray area(kAreaSize, '\0');
    area[0] = char(m_timing[Wait]);
    area[1] = char(m_timing[Head]);
    area[2] = char(m_timing[Burst]);
    for (int m = 0; m < kMemoryCount; ++m)
        area.replace(memoryOffset(m), kMaxDigits, encodeMemory(m_memories[size_t(m)]));
    area[kDialOffset] = char(m_timing[DialChannel] + 1);
    area[kPauseOffset] = char(m_timing[Pause]);
    return area.mid(kBlockStart[block], kBlockLength[block]);
}

bool DtmfMemories::decodeBlock(int block, const QByteArray &data) {
    if (block < 0 || block >= kBlockCount || data.size() < kBlockLength[block]) return false;
    const int start = kBlockStart[block];
    const int end = start + kBlockLength[block];
    auto byteAt = [&](int areaOffset) { return int(quint8(data[areaOffset - start])); };

    // A timing byte outside its list leaves the list as it was (setTiming refuses it).
    if (block == 0) {
        setTiming(Wait, byteAt(0));
        setTiming(Head, byteAt(1));
        setTiming(Burst, byteAt(2));
    }
    for (int m = 0; m < kMemoryCount; ++m) {
        const int off = memoryOffset(m);
        if (off >= start && off + kMaxDigits <= end)
            setMemory(m, decodeMemory(data.mid(off - start, kMaxDigits)));
    }
    if (block == 2) {
        const int dial = byteAt(kDialOffset);
        setTiming(DialChannel, dial == 0 ? 0 : dial - 1);
        setTiming(Pause, byteAt(kPauseOffset));
    }
    return true;
}

} // namespace kpr5
