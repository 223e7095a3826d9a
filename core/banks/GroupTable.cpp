#include "core/banks/GroupTable.h"

#include "core/banks/BankTable.h"

namespace kpr5 {

namespace {
bool inRange(int group, int bank) {
    return group >= 0 && group < GroupTable::kGroupCount && bank >= 0 &&
           bank < GroupTable::kBankCount;
}
} // namespace

GroupTable::GroupTable(QObject *parent) : QObject(parent) {}

QString GroupTable::groupName(int group) {
    if (group == 10) return QStringLiteral("GroupB");
    return QStringLiteral("Group%1").arg(group);
}

bool GroupTable::isLinked(int group, int bank) const {
    return inRange(group, bank) && m_linked[group][bank];
}

void GroupTable::setLinked(int group, int bank, bool linked) {
    if (!inRange(group, bank) || m_linked[group][bank] == linked) return;
    m_linked[group][bank] = linked;
    Q_EMIT changed();
}

void GroupTable::toggle(int group, int bank) {
    if (inRange(group, bank)) setLinked(group, bank, !m_linked[group][bank]);
}

void GroupTable::clear() {
    for (auto &row : m_linked)
        row.fill(false);
    Q_EMIT changed();
}

void GroupTable::clearBank(int bank) {
    if (bank < 0 || bank >= kBankCount) return;
    for (auto &row : m_linked)
        row[bank] = false;
    Q_EMIT changed();
}

void GroupTable::clearUnavailable(const BankTable &banks) {
    for (int b = 0; b < kBankCount; ++b) {
        if (!banks.isAvailable(b)) {
            for (auto &row : m_linked)
                row[b] = false;
        }
    }
    Q_EMIT changed();
}

void GroupTable::restore(const State &state) {
    if (state == this->state()) return;
    m_linked = state.linked;
    m_bankFlags = state.bankFlags;
    Q_EMIT changed();
}

bool GroupTable::bankFlag(int bank) const {
    return bank >= 0 && bank < kBankCount && m_bankFlags[bank];
}

void GroupTable::setBankFlag(int bank, bool flag) {
    if (bank < 0 || bank >= kBankCount || m_bankFlags[bank] == flag) return;
    m_bankFlags[bank] = flag;
    Q_EMIT changed();
}

QByteArray GroupTable::encodeGroup(int group) const {
    QByteArray bytes(kBytesPerGroup, '\0');
    if (group < 0 || group >= kGroupCount) return bytes;
    for (int bank = 0; bank < kBankCount; ++bank) {
        if (m_linked[group][bank])
            bytes[bank / 8] = char(quint8(bytes[bank / 8]) | (0x80 >> (bank % 8)));
    }
    return bytes; // banks 48 and 49 fall on bits 7 and 6 of byte 6; byte 7 stays zero
}

QByteArray GroupTable::encodeGroups(int first, int count) const {
    QByteArray bytes;
    for (int g = first; g < first + count; ++g)
        bytes += encodeGroup(g);
    return bytes;
}

void GroupTable::decodeGroup(int group, const QByteArray &bytes, int offset) {
    if (group < 0 || group >= kGroupCount || offset < 0 ||
        bytes.size() - offset < kBytesPerGroup - 1)
        return;
    for (int bank = 0; bank < kBankCount; ++bank) {
        const quint8 byte = quint8(bytes[offset + bank / 8]);
        m_linked[group][bank] = (byte & (0x80 >> (bank % 8))) != 0;
    }
    Q_EMIT changed();
}

void GroupTable::decodeGroups(int first, int count, const QByteArray &bytes) {
    for (int i = 0; i < count; ++i)
        decodeGroup(first + i, bytes, i * kBytesPerGroup);
}

} // namespace kpr5
