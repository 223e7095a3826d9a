#include "core/banks/BankTable.h"

#include <algorithm>

namespace kpr5 {

BankTable::BankTable(QObject *parent) : QObject(parent), m_counts(defaultCounts()) {}

BankTable::Counts BankTable::defaultCounts() {
    Counts c{};
    for (int b = 0; b < 10; ++b)
        c[b] = 100;
    return c;
}

int BankTable::count(int bank) const {
    return bank >= 0 && bank < kBankCount ? m_counts[bank] : 0;
}

int BankTable::sum() const {
    int s = 0;
    for (int c : m_counts)
        s += c;
    return s;
}

QList<int> BankTable::nonEmptyBanks() const {
    QList<int> banks;
    for (int b = 0; b < kBankCount; ++b) {
        if (m_counts[b] > 0) banks.append(b);
    }
    return banks;
}

void BankTable::setShownTotal(int total) {
    m_shownTotal = total;
}

void BankTable::setCount(int bank, int count) {
    if (bank < 0 || bank >= kBankCount) return;
    m_counts[bank] = std::clamp(count, 0, kMaxCount);
    setShownTotal(sum());
    Q_EMIT changed();
}

void BankTable::setCounts(const Counts &counts) {
    for (int b = 0; b < kBankCount; ++b)
        m_counts[b] = std::clamp(counts[b], 0, kMaxCount);
    setShownTotal(sum());
    Q_EMIT changed();
}

bool BankTable::stepCount(int bank, int delta) {
    if (bank < 0 || bank >= kBankCount) return false;
    const int next = m_counts[bank] + delta;
    if (next < 0 || next > kMaxCount) return false;
    m_counts[bank] = next;
    setShownTotal(m_shownTotal + delta);
    Q_EMIT changed();
    return true;
}

int BankTable::countFromText(const QString &text) {
    QString digits;
    for (QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) digits += c;
    }
    while (digits.size() > 1 && digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    if (digits.isEmpty()) return 0;
    if (digits.size() > 4) // beyond 9999, and so above 1000
        return 100;
    const int value = digits.toInt();
    return value > kMaxCount ? 100 : value;
}

void BankTable::restore(const State &state) {
    if (state == this->state()) return;
    m_counts = state.counts;
    m_shownTotal = state.shownTotal;
    Q_EMIT changed();
}

void BankTable::recomputeTotal() {
    setShownTotal(sum());
    Q_EMIT changed();
}

void BankTable::reset() {
    m_counts = defaultCounts();
    setShownTotal(kMemoryChannels);
    Q_EMIT changed();
}

void BankTable::markLoaded() {
    setShownTotal(kMemoryChannels);
    Q_EMIT changed();
}

QByteArray BankTable::encodeArea() const {
    QByteArray area(kAreaSize, '\0');
    int pos = 0;
    auto put16 = [&](int value) {
        area[pos++] = char(value & 0xFF);
        area[pos++] = char((value >> 8) & 0xFF);
    };
    for (int c : m_counts)
        put16(c);
    for (int s : kSpecialSizes)
        put16(s);
    return area; // the remaining 14 bytes stay zero
}

int BankTable::decodeCount(quint8 low, quint8 high) {
    return low + 256 * (high & 0x0F);
}

void BankTable::decodeCounts(int firstBank, const QByteArray &data, int bankCount) {
    for (int i = 0; i < bankCount; ++i) {
        const int bank = firstBank + i;
        const int pos = 2 * i;
        if (bank < 0 || bank >= kBankCount || pos + 1 >= data.size()) break;
        // Up to 0xFFF can arrive; a count never exceeds the 1000 channels.
        m_counts[bank] = std::min(decodeCount(quint8(data[pos]), quint8(data[pos + 1])), kMaxCount);
    }
    setShownTotal(sum());
    Q_EMIT changed();
}

} // namespace kpr5
