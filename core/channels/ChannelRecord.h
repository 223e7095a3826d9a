#pragma once
// One channel as the radio stores it (64 bytes), and the conversions between
// it and a row of the channel table; the frequency and shift-amount texts.
//
//  0     in use (read: low nibble not 0)    12  tone mode
//  1-4   receive frequency, Hz              13  transmit tone index
//  5     mode                               14  receive tone index
//  6     step index                         15  DCS index
//  7-10  shift amount, Hz                   16  carrier index
//  11    shift (0 off, 1 +, 2 -)            17 0x00, 18 0x3E, 19 skip, 20 0x0A, 21-31 0x00
//                                           32-63  name, 16 code page 932 slots
//
// Numbers are little-endian.

#include "core/link/MemoryMap.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace kpr5 {

class ChannelTable;

struct ChannelRecord {
    static constexpr int kSize = 64;
    std::array<quint8, kSize> bytes{};

    QByteArray toByteArray() const {
        return QByteArray(reinterpret_cast<const char *>(bytes.data()), kSize);
    }
};

// Row 1..1624 -> its record. A slot that is not in use, or a row outside the
// table, gives 64 zero bytes.
ChannelRecord encodeChannel(const ChannelTable &table, int row);

// The 64 data bytes of a read reply -> row 1..1624 of the table (other rows
// are left alone). Missing bytes of a shorter array count as 0, bytes past
// 64 are ignored. A record not in use only clears `inUse`.
void decodeChannel(const QByteArray &data64, ChannelTable &table, int row);

// The radio form of a slot's name: the name field kept from the radio while
// the stored name is still the one decoded from it, else the stored name
// encoded (32 bytes).
QByteArray channelNameField(const ChannelTable &table, int slot);

namespace channeltext {

// "145.00000MHz" from 145,000,000 Hz: Hz / 10 rounded (ties to even), the
// last five digits after the point, at least "0" before it. Below 100 kHz the
// fraction is padded with zeros: 50,000 Hz gives "0.05000MHz".
QString frequencyText(quint32 hz);

// The frequency of a frequency text of 10 to 13 characters, in units of
// 10 Hz (MHz * 100000 + fraction); nullopt for any other length, for
// non-digits where digits belong, or for a value above 4294.96729 MHz
// (it would not fit the record).
std::optional<quint32> frequencyUnits(const QString &text);
// In Hz; 0 when the text is not well formed.
quint32 frequencyHz(const QString &text);

// "0.600MHz" from 600,000 Hz (whole kHz, truncated).
QString shiftAmountText(quint32 hz);
// The amount of a text of 8, 9 or 10 characters ("0.600MHz", "10.000MHz",
// "100.000MHz"); nullopt when it is not well formed (then the shift is off).
std::optional<quint32> shiftAmountHz(const QString &text);

} // namespace channeltext

// The pass channels (rows 1404..1503) of a table as the pass table needs them:
// the frequency of each channel in use, taken from its frequency text (0 when
// the text is not well formed).
memorymap::PassChannels passChannels(const ChannelTable &table);

} // namespace kpr5
