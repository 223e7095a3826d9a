#include "core/common/OneTouchTable.h"

#include "core/banks/BankTable.h"

namespace kpr5 {

OneTouchTable::OneTouchTable(QObject *parent) : QObject(parent) {
    setBankCounts(BankTable::defaultCounts());
}

void OneTouchTable::setBankCounts(const std::array<int, 50> &counts) {
    m_banks.clear();
    m_bankCounts.clear();
    for (int bank = 0; bank < int(counts.size()); ++bank) {
        if (counts[size_t(bank)] > 0) {
            m_banks << bank;
            m_bankCounts << counts[size_t(bank)];
        }
    }
}

// --- one key -----------------------------------------------------------------

bool OneTouchTable::isUnassigned(int key) const {
    return !validKey(key) || m_keys[size_t(key)].unassigned;
}

int OneTouchTable::bankPosition(int key) const {
    return validKey(key) ? m_keys[size_t(key)].bankPosition : 0;
}

int OneTouchTable::channelPosition(int key) const {
    return validKey(key) ? m_keys[size_t(key)].channelPosition : 0;
}

int OneTouchTable::bankNumber(int key) const {
    const int p = bankPosition(key);
    return p < m_banks.size() ? m_banks[p] : -1;
}

int OneTouchTable::channelCount(int key) const {
    return countAtPosition(bankPosition(key));
}

int OneTouchTable::countAtPosition(int position) const {
    return position >= 0 && position < m_bankCounts.size() ? m_bankCounts[position] : 0;
}

int OneTouchTable::positionOfBank(int bankNumber) const {
    return int(m_banks.indexOf(bankNumber));
}

void OneTouchTable::setKey(int key, const Key &value) {
    Key &k = m_keys[size_t(key)];
    if (k.unassigned == value.unassigned && k.bankPosition == value.bankPosition &&
        k.channelPosition == value.channelPosition)
        return;
    k = value;
    Q_EMIT keyChanged(key);
}

void OneTouchTable::setUnassigned(int key, bool unassigned) {
    if (!validKey(key)) return;
    Key k = m_keys[size_t(key)];
    k.unassigned = unassigned;
    setKey(key, k);
}

bool OneTouchTable::selectBank(int key, int position) {
    if (!validKey(key) || position < 0 || position >= m_banks.size()) return false;
    Key k = m_keys[size_t(key)];
    k.bankPosition = position;
    k.channelPosition = 0;
    setKey(key, k);
    return true;
}

bool OneTouchTable::selectChannel(int key, int position) {
    if (!validKey(key) || position < 0 || position >= channelCount(key)) return false;
    Key k = m_keys[size_t(key)];
    k.channelPosition = position;
    setKey(key, k);
    return true;
}

// --- the lists ---------------------------------------------------------------

QStringList OneTouchTable::bankEntries() const {
    QStringList out;
    out.reserve(m_banks.size());
    for (int bank : m_banks)
        out << QString::number(bank);
    return out;
}

QStringList OneTouchTable::channelEntries(int key) const {
    const int count = channelCount(key);
    QStringList out;
    out.reserve(count);
    for (int i = 0; i < count; ++i)
        out << QString::number(i);
    return out;
}

void OneTouchTable::rebuildLists(const BankTable &banks) {
    struct Choice {
        int bank;
        int channel;
    };
    std::array<Choice, kKeyCount> remembered{};
    for (int key = 0; key < kKeyCount; ++key)
        remembered[size_t(key)] = {bankNumber(key), channelPosition(key)};

    setBankCounts(banks.counts());

    for (int key = 0; key < kKeyCount; ++key) {
        Key &k = m_keys[size_t(key)];
        k.bankPosition = 0;
        k.channelPosition = 0;
        const int p = positionOfBank(remembered[size_t(key)].bank);
        if (p < 0) continue;
        k.bankPosition = p;
        if (remembered[size_t(key)].channel < countAtPosition(p))
            k.channelPosition = remembered[size_t(key)].channel;
    }
    Q_EMIT listsRebuilt();
}

void OneTouchTable::reset() {
    for (int key = 0; key < kKeyCount; ++key)
        setKey(key, Key{});
}

// --- everything at once ----------------------------------------------------------

bool OneTouchTable::State::operator==(const State &o) const {
    for (int key = 0; key < kKeyCount; ++key) {
        const KeyValue &a = keys[size_t(key)];
        const KeyValue &b = o.keys[size_t(key)];
        if (a.unassigned != b.unassigned || a.channelPosition != b.channelPosition ||
            banks.value(a.bankPosition, -1) != o.banks.value(b.bankPosition, -1))
            return false;
    }
    return true;
}

OneTouchTable::State OneTouchTable::state() const {
    State s;
    for (int key = 0; key < kKeyCount; ++key) {
        const Key &k = m_keys[size_t(key)];
        s.keys[size_t(key)] = {k.unassigned, k.bankPosition, k.channelPosition};
    }
    s.banks = m_banks;
    s.bankCounts = m_bankCounts;
    return s;
}

void OneTouchTable::restore(const State &state) {
    m_banks = state.banks;
    m_bankCounts = state.bankCounts;
    for (int key = 0; key < kKeyCount; ++key) {
        const State::KeyValue &v = state.keys[size_t(key)];
        m_keys[size_t(key)] = Key{v.unassigned, v.bankPosition, v.channelPosition};
    }
    Q_EMIT listsRebuilt();
    for (int key = 0; key < kKeyCount; ++key)
        Q_EMIT keyChanged(key);
}

// --- the radio's 27 bytes --------------------------------------------------------

QString OneTouchTable::unwritableReason() const {
    for (int key = 0; key < kKeyCount; ++key) {
        if (isUnassigned(key)) continue;
        if (bankNumber(key) < 0)
            return tr("One-touch key %1 is assigned, but no bank holds channels.").arg(key + 1);
        if (channelPosition(key) > kMaxChannelByte)
            return tr("One-touch key %1 points at channel %2 of bank %3; the radio can keep "
                      "channel numbers 0 to %4 only.")
                .arg(key + 1)
                .arg(channelPosition(key))
                .arg(bankNumber(key))
                .arg(kMaxChannelByte);
    }
    return QString();
}

QByteArray OneTouchTable::encodeArea() const {
    QByteArray out(kAreaSize, '\0');
    for (int key = 0; key < kKeyCount; ++key) {
        const int at = kBytesPerKey * key;
        const int bank = bankNumber(key);
        const int channel = channelPosition(key);
        if (isUnassigned(key) || bank < 0 || channel > kMaxChannelByte) {
            out[at] = char(kUnassignedByte);
            out[at + 1] = 0;
        } else {
            out[at] = char(bank);
            out[at + 1] = char(channel);
        }
        out[at + 2] = 0;
    }
    return out;
}

void OneTouchTable::decodeArea(const QByteArray &data) {
    for (int key = 0; key < kKeyCount; ++key) {
        const int at = kBytesPerKey * key;
        const int bankByte = at < data.size() ? quint8(data[at]) : kUnassignedByte;
        const int channelByte = at + 1 < data.size() ? quint8(data[at + 1]) : 0;
        Key k;
        if (bankByte == kUnassignedByte) {
            setKey(key, k);
            continue;
        }
        k.unassigned = false;
        const int p = positionOfBank(bankByte);
        if (p >= 0) {
            k.bankPosition = p;
            if (channelByte < countAtPosition(p)) k.channelPosition = channelByte;
        }
        setKey(key, k);
    }
}

} // namespace kpr5
