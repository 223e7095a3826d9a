#pragma once
// Helpers shared by the fuzz targets: the input as a QByteArray, a small
// reader that takes parameters off the front of an input, and a check that
// aborts (so libFuzzer reports the input) when an invariant breaks.

#include <QByteArray>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace kpr5::fuzz {

inline QByteArray bytesOf(const uint8_t *data, size_t size) {
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Takes bytes off the front of the input; a byte past the end reads as 0.
class Input {
public:
    Input(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
    quint8 byte() {
        if (m_pos >= m_size) return 0;
        return m_data[m_pos++];
    }
    // A value 0..count-1 from one byte.
    int pick(int count) { return count > 0 ? byte() % count : 0; }
    QByteArray rest() const {
        return m_pos >= m_size ? QByteArray() : bytesOf(m_data + m_pos, m_size - m_pos);
    }
    // The next `n` bytes (fewer at the end of the input).
    QByteArray take(int n) {
        const size_t count = std::min<size_t>(size_t(n), m_pos < m_size ? m_size - m_pos : 0);
        QByteArray out = bytesOf(m_data + m_pos, count);
        m_pos += count;
        return out;
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

#define KPR5_FUZZ_CHECK(cond)                                                                      \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #cond);      \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

} // namespace kpr5::fuzz
