#include "core/channels/ChannelTable.h"

#include "core/channels/RowLabels.h"

#include <algorithm>

namespace kpr5 {

namespace {

struct Preset {
    int row;
    const char *frequency;
};

// The call channels and the bug-detector presets of a new table.
constexpr Preset kPresets[] = {
    {1401, "145.00000MHz"}, {1402, "433.00000MHz"}, {1403, "1295.00000MHz"}, {1604, "398.60500MHz"},
    {1605, "399.45500MHz"}, {1606, "139.97000MHz"}, {1607, "399.03000MHz"},  {1608, "400.00000MHz"},
    {1609, "397.25000MHz"}, {1610, "140.00000MHz"}, {1611, "399.60500MHz"},  {1612, "398.64000MHz"},
    {1613, "134.00000MHz"}, {1614, "399.25000MHz"}, {1615, "399.00000MHz"},  {1616, "134.90000MHz"},
    {1617, "139.96000MHz"}, {1618, "139.60000MHz"}, {1619, "149.00000MHz"},  {1620, "361.82500MHz"},
    {1621, "320.23500MHz"}, {1622, "320.67500MHz"}, {1623, "321.13500MHz"},
};

} // namespace

ChannelTable::ChannelTable(QObject *parent)
    : QObject(parent), m_slots(kSlots), m_labels(channelRowLabels(defaultBankCounts())) {
    resetToStartup();
}

QString ChannelTable::columnHeader(int column) {
    static const char *const headers[kColumns] = {"Freqency", "mode",       "step",    "Carrier",
                                                  "Tone/DCS", "Tx-tone",    "Rx-tone", "DCS",
                                                  "Shift",    "Shift-Freq", "Skip",    "Name"};
    return (column >= 1 && column <= kColumns) ? QString::fromLatin1(headers[column - 1])
                                               : QString();
}

QString ChannelTable::text(int row, int column) const {
    if (!validSlot(slotOfRow(row)) || column < 1 || column > kColumns) return QString();
    return m_slots[std::size_t(slotOfRow(row))].cells[std::size_t(column - 1)];
}

void ChannelTable::setText(int row, int column, const QString &text) {
    if (!validSlot(slotOfRow(row)) || column < 1 || column > kColumns) return;
    Slot &s = m_slots[std::size_t(slotOfRow(row))];
    bool changed = false;
    if (column == ModeCol && s.keptModeByte >= 0) {
        s.keptModeByte = -1;
        changed = true;
    } else if (column == ToneModeCol && s.keptToneModeByte >= 0) {
        s.keptToneModeByte = -1;
        changed = true;
    }
    QString &cell = s.cells[std::size_t(column - 1)];
    if (cell != text) {
        cell = text;
        changed = true;
    }
    if (changed) touched(row);
}

ChannelTable::Slot ChannelTable::slotValue(int slot) const {
    return validSlot(slot) ? m_slots[std::size_t(slot)] : Slot();
}

void ChannelTable::setSlotValue(int slot, const Slot &value) {
    if (!validSlot(slot) || m_slots[std::size_t(slot)] == value) return;
    m_slots[std::size_t(slot)] = value;
    touched(rowOfSlot(slot));
}

void ChannelTable::setByte(int slot, quint8 Slot::*field, quint8 v) {
    if (!validSlot(slot)) return;
    quint8 &f = m_slots[std::size_t(slot)].*field;
    if (f == v) return;
    f = v;
    touched(rowOfSlot(slot));
}

#define KPR5_SLOT_BYTE(getter, setter)                                                             \
    quint8 ChannelTable::getter(int slot) const {                                                  \
        return validSlot(slot) ? m_slots[std::size_t(slot)].getter : quint8(0);                    \
    }                                                                                              \
    void ChannelTable::setter(int slot, quint8 v) {                                                \
        setByte(slot, &Slot::getter, v);                                                           \
    }

KPR5_SLOT_BYTE(inUse, setInUse)
KPR5_SLOT_BYTE(stepIndex, setStepIndex)
KPR5_SLOT_BYTE(txToneIndex, setTxToneIndex)
KPR5_SLOT_BYTE(rxToneIndex, setRxToneIndex)
KPR5_SLOT_BYTE(dcsIndex, setDcsIndex)
KPR5_SLOT_BYTE(carrierIndex, setCarrierIndex)
#undef KPR5_SLOT_BYTE

QString ChannelTable::storedName(int slot) const {
    return validSlot(slot) ? m_slots[std::size_t(slot)].storedName : QString();
}

void ChannelTable::setStoredName(int slot, const QString &name) {
    if (!validSlot(slot) || m_slots[std::size_t(slot)].storedName == name) return;
    m_slots[std::size_t(slot)].storedName = name;
    touched(rowOfSlot(slot));
}

int ChannelTable::keptModeByte(int slot) const {
    return validSlot(slot) ? m_slots[std::size_t(slot)].keptModeByte : -1;
}

void ChannelTable::setKeptModeByte(int slot, int byte) {
    if (!validSlot(slot)) return;
    const qint16 v = qint16(byte >= 0 && byte <= 0xFF ? byte : -1);
    if (m_slots[std::size_t(slot)].keptModeByte == v) return;
    m_slots[std::size_t(slot)].keptModeByte = v;
    touched(rowOfSlot(slot));
}

int ChannelTable::keptToneModeByte(int slot) const {
    return validSlot(slot) ? m_slots[std::size_t(slot)].keptToneModeByte : -1;
}

void ChannelTable::setKeptToneModeByte(int slot, int byte) {
    if (!validSlot(slot)) return;
    const qint16 v = qint16(byte >= 0 && byte <= 0xFF ? byte : -1);
    if (m_slots[std::size_t(slot)].keptToneModeByte == v) return;
    m_slots[std::size_t(slot)].keptToneModeByte = v;
    touched(rowOfSlot(slot));
}

QByteArray ChannelTable::keptNameField(int slot) const {
    return validSlot(slot) ? m_slots[std::size_t(slot)].keptNameField : QByteArray();
}

void ChannelTable::setKeptNameField(int slot, const QByteArray &field) {
    if (!validSlot(slot) || m_slots[std::size_t(slot)].keptNameField == field) return;
    m_slots[std::size_t(slot)].keptNameField = field;
    touched(rowOfSlot(slot));
}

QString ChannelTable::rowLabel(int row) const {
    return (row >= 1 && row <= m_labels.size()) ? m_labels.at(row - 1) : QString();
}

void ChannelTable::setRowLabels(const QStringList &labels) {
    bool changed = false;
    const qsizetype n = std::min<qsizetype>(labels.size(), kRows);
    for (qsizetype i = 0; i < n; ++i) {
        if (m_labels.at(i) != labels.at(i)) {
            m_labels[i] = labels.at(i);
            changed = true;
        }
    }
    if (changed) Q_EMIT labelsChanged();
}

void ChannelTable::clearRow(int row) {
    if (!validSlot(slotOfRow(row))) return;
    beginBatch();
    for (int c = 1; c <= kColumns; ++c)
        setText(row, c, QString());
    const int slot = slotOfRow(row);
    setInUse(slot, 0);
    setStepIndex(slot, 0);
    setTxToneIndex(slot, 0);
    setRxToneIndex(slot, 0);
    setDcsIndex(slot, 0);
    setCarrierIndex(slot, 0);
    setStoredName(slot, QString());
    setKeptNameField(slot, QByteArray());
    endBatch();
}

void ChannelTable::resetToStartup() {
    beginBatch();
    const Slot empty;
    for (int slot = 0; slot < kSlots; ++slot) {
        Slot &s = m_slots[std::size_t(slot)];
        const bool same = s == empty;
        s = empty;
        if (!same) touched(rowOfSlot(slot));
    }
    for (const Preset &p : kPresets) {
        const int slot = slotOfRow(p.row);
        setText(p.row, FreqCol, QString::fromLatin1(p.frequency));
        setText(p.row, ModeCol, QStringLiteral("FM"));
        setText(p.row, StepCol, QStringLiteral("5KHz"));
        setText(p.row, CarrierCol, QStringLiteral("2300Hz"));
        setText(p.row, ToneModeCol, QStringLiteral("None"));
        setText(p.row, TxToneCol, QStringLiteral("88.5Hz"));
        setText(p.row, RxToneCol, QStringLiteral("88.5Hz"));
        setText(p.row, DcsCol, QStringLiteral("023"));
        setText(p.row, ShiftCol, QStringLiteral("Off"));
        setText(p.row, ShiftFreqCol, QStringLiteral("0.000MHz"));
        setStepIndex(slot, 0);
        setCarrierIndex(slot, 20);
        setTxToneIndex(slot, 8);
        setRxToneIndex(slot, 8);
        setDcsIndex(slot, 0);
        setInUse(slot, 1);
    }
    endBatch();
}

void ChannelTable::beginBatch() {
    ++m_batchDepth;
}

void ChannelTable::endBatch() {
    if (m_batchDepth == 0) return;
    if (--m_batchDepth > 0) return;
    if (m_batchFirst > 0) {
        const int first = m_batchFirst;
        const int last = m_batchLast;
        m_batchFirst = m_batchLast = 0;
        Q_EMIT rowsChanged(first, last);
    }
}

void ChannelTable::touched(int row) {
    if (row < 1 || row > kRows) return; // row 1624 is not shown
    if (m_batchDepth > 0) {
        if (m_batchFirst == 0) {
            m_batchFirst = m_batchLast = row;
        } else {
            m_batchFirst = std::min(m_batchFirst, row);
            m_batchLast = std::max(m_batchLast, row);
        }
        return;
    }
    Q_EMIT rowsChanged(row, row);
}

} // namespace kpr5
