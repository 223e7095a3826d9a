#pragma once
// Channel records as the radio holds them, for tests, benchmarks and the
// fuzz seed generator: one builder instead of a hand-filled array in every
// file. The offsets are the record's own (core/channels/ChannelRecord.h).

#include "core/channels/ChannelTable.h"

#include <QByteArray>
#include <QStringList>

namespace kpr5::test {

// Little-endian 32-bit value at `at`.
inline void put32(QByteArray &bytes, int at, quint32 value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

// A record in use: FM, step 0, no tone, carrier 28, no shift, no name,
// the fixed bytes as the radio writes them. Each setter returns the builder.
class Record {
public:
    explicit Record(quint32 hz = 145000000) : m_bytes(64, '\0') {
        m_bytes[0] = 1;
        put32(m_bytes, 1, hz);
        m_bytes[5] = 1;  // FM
        m_bytes[13] = 8; // tone 88.5
        m_bytes[14] = 8;
        m_bytes[16] = 28; // carrier
        m_bytes[18] = 0x3E;
        m_bytes[20] = 0x0A;
    }
    Record &mode(int code) { return set(5, code); }
    Record &step(int index) { return set(6, index); }
    Record &shift(int code, quint32 hz) {
        put32(m_bytes, 7, hz);
        return set(11, code);
    }
    Record &toneMode(int code) { return set(12, code); }
    Record &tones(int tx, int rx) { return set(13, tx).set(14, rx); }
    Record &dcs(int index) { return set(15, index); }
    Record &carrier(int index) { return set(16, index); }
    Record &skip(bool on = true) { return set(19, on ? 1 : 0); }
    // ASCII letters, one a slot; `slots` as 16 little-endian codes otherwise.
    Record &name(const QByteArray &ascii) {
        for (int i = 0; i < 16; ++i)
            m_bytes[32 + 2 * i] = i < ascii.size() ? ascii[i] : '\0';
        return *this;
    }
    Record &nameField(const QByteArray &slots32) {
        m_bytes.replace(32, 32, slots32.leftJustified(32, '\0', true));
        return *this;
    }
    Record &notInUse() { return set(0, 0); }
    Record &set(int offset, int value) {
        m_bytes[offset] = char(value);
        return *this;
    }

    QByteArray bytes() const { return m_bytes; }
    operator QByteArray() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// The twelve cell texts of a channel-table row, joined by "|".
inline QString rowTexts(const ChannelTable &table, int row) {
    QStringList texts;
    for (int c = 1; c <= ChannelTable::kColumns; ++c)
        texts << table.text(row, c);
    return texts.join(QLatin1Char('|'));
}

} // namespace kpr5::test
