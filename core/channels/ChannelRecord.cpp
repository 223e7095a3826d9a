#include "core/channels/ChannelRecord.h"

#include "core/channels/ChannelTable.h"
#include "core/channels/ChannelTables.h"
#include "core/text/NameCodec.h"

namespace kpr5 {

namespace ct = channeltables;
using Col = ChannelTable::Column;

namespace {

constexpr quint8 kFixed18 = 0x3E;
constexpr quint8 kFixed20 = 0x0A;
constexpr int kNameOffset = 32;

quint32 readLittleEndian32(const std::array<quint8, 64> &b, int at) {
    return quint32(b[std::size_t(at)]) | quint32(b[std::size_t(at + 1)]) << 8 |
           quint32(b[std::size_t(at + 2)]) << 16 | quint32(b[std::size_t(at + 3)]) << 24;
}

void writeLittleEndian32(std::array<quint8, 64> &b, int at, quint32 v) {
    for (int i = 0; i < 4; ++i)
        b[std::size_t(at + i)] = quint8(v >> (8 * i));
}

// Characters [from, from + count) of a text as a decimal number; nullopt
// unless they are all digits.
std::optional<quint64> digitsAt(const QString &text, int from, int count) {
    quint64 v = 0;
    for (int i = from; i < from + count; ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
        v = v * 10 + quint64(c.unicode() - u'0');
    }
    return v;
}

} // namespace

namespace channeltext {

QString frequencyText(quint32 hz) {
    quint32 units = hz / 10;
    const quint32 rest = hz % 10;
    if (rest > 5 || (rest == 5 && (units & 1))) ++units; // round half to even
    return QStringLiteral("%1.%2MHz")
        .arg(units / 100000)
        .arg(units % 100000, 5, 10, QLatin1Char('0'));
}

std::optional<quint32> frequencyUnits(const QString &text) {
    const int length = int(text.size());
    if (length < 10 || length > 13) return std::nullopt;
    const int mhzDigits = length - 9; // 13: 4 digits, 12: 3, 11: 2, 10: 1
    const std::optional<quint64> mhz = digitsAt(text, 0, mhzDigits);
    const std::optional<quint64> fraction = digitsAt(text, mhzDigits + 1, 5);
    if (!mhz || !fraction) return std::nullopt;
    const quint64 units = *mhz * 100000 + *fraction;
    if (units * 10 > 0xFFFFFFFFull) return std::nullopt;
    return quint32(units);
}

quint32 frequencyHz(const QString &text) {
    return frequencyUnits(text).value_or(0) * 10;
}

QString shiftAmountText(quint32 hz) {
    const quint32 khz = hz / 1000;
    return QStringLiteral("%1.%2MHz").arg(khz / 1000).arg(khz % 1000, 3, 10, QLatin1Char('0'));
}

std::optional<quint32> shiftAmountHz(const QString &text) {
    const int length = int(text.size());
    if (length < 8 || length > 10) return std::nullopt;
    const int mhzDigits = length - 7; // 8: 1 digit, 9: 2, 10: 3
    const std::optional<quint64> mhz = digitsAt(text, 0, mhzDigits);
    const std::optional<quint64> khz = digitsAt(text, mhzDigits + 1, 3);
    if (!mhz || !khz) return std::nullopt;
    return quint32(*mhz * 1000000 + *khz * 1000);
}

} // namespace channeltext

QByteArray channelNameField(const ChannelTable &table, int slot) {
    const QByteArray kept = table.keptNameField(slot);
    if (!kept.isEmpty() && names::decodeField(kept) == table.storedName(slot)) return kept;
    return names::encodeField(table.storedName(slot));
}

ChannelRecord encodeChannel(const ChannelTable &table, int row) {
    ChannelRecord rec;
    const int slot = ChannelTable::slotOfRow(row);
    if (slot < 0 || slot >= ChannelTable::kSlots || table.inUse(slot) == 0) return rec;
    auto &b = rec.bytes;

    b[0] = 0x01;
    writeLittleEndian32(b, 1, channeltext::frequencyHz(table.text(row, Col::FreqCol)));

    const QString modeText = table.text(row, Col::ModeCol);
    if (const auto mode = ct::modeCode(modeText))
        b[5] = quint8(*mode);
    else if (modeText == kInvalidCodeText && table.keptModeByte(slot) >= 0)
        b[5] = quint8(table.keptModeByte(slot));

    b[6] = table.stepIndex(slot);

    if (const auto amount = channeltext::shiftAmountHz(table.text(row, Col::ShiftFreqCol))) {
        writeLittleEndian32(b, 7, *amount);
        b[11] = quint8(ct::shiftCode(table.text(row, Col::ShiftCol)).value_or(0));
    }

    const QString toneModeText = table.text(row, Col::ToneModeCol);
    if (const auto toneMode = ct::toneModeCode(toneModeText))
        b[12] = quint8(*toneMode);
    else if (toneModeText == kInvalidCodeText && table.keptToneModeByte(slot) >= 0)
        b[12] = quint8(table.keptToneModeByte(slot));

    b[13] = table.txToneIndex(slot);
    b[14] = table.rxToneIndex(slot);
    b[15] = table.dcsIndex(slot);
    b[16] = table.carrierIndex(slot);
    b[17] = 0x00;
    b[18] = kFixed18;
    b[19] = table.text(row, Col::SkipCol) == QLatin1String("*") ? 0x01 : 0x00;
    b[20] = kFixed20;

    const QByteArray name = channelNameField(table, slot);
    for (int i = 0; i < names::kFieldBytes; ++i)
        b[std::size_t(kNameOffset + i)] = quint8(name.at(i));
    return rec;
}

void decodeChannel(const QByteArray &data64, ChannelTable &table, int row) {
    const int slot = ChannelTable::slotOfRow(row);
    if (slot < 0 || slot >= ChannelTable::kSlots) return;

    std::array<quint8, 64> b{};
    for (int i = 0; i < ChannelRecord::kSize && i < data64.size(); ++i)
        b[std::size_t(i)] = quint8(data64.at(i));

    table.beginBatch();
    if ((b[0] & 0x0F) == 0) {
        table.setInUse(slot, 0);
        table.endBatch();
        return;
    }

    const int mode = b[5] & 0x0F;
    table.setText(row, Col::ModeCol, ct::modeText(mode));
    if (mode >= ct::kModeCount) table.setKeptModeByte(slot, b[5]);

    const quint8 step = b[6] & 0x0F; // always inside the 16-entry table
    table.setText(row, Col::StepCol, ct::stepText(step));
    table.setStepIndex(slot, step);

    // Indexes outside their tables show "ERROR" and are kept as they came.
    table.setText(row, Col::CarrierCol, ct::carrierText(b[16]));
    table.setCarrierIndex(slot, b[16]);

    const int toneMode = b[12] & 0x0F;
    table.setText(row, Col::ToneModeCol, ct::toneModeText(toneMode));
    if (toneMode >= ct::kToneModeCount) table.setKeptToneModeByte(slot, b[12]);
    table.setText(row, Col::TxToneCol, ct::toneText(b[13]));
    table.setTxToneIndex(slot, b[13]);
    table.setText(row, Col::RxToneCol, ct::toneText(b[14]));
    table.setRxToneIndex(slot, b[14]);
    table.setText(row, Col::DcsCol, ct::dcsText(b[15]));
    table.setDcsIndex(slot, b[15]);

    table.setText(row, Col::FreqCol, channeltext::frequencyText(readLittleEndian32(b, 1)));
    table.setText(row, Col::ShiftCol, ct::shiftText(b[11] & 0x0F));
    table.setText(row, Col::ShiftFreqCol, channeltext::shiftAmountText(readLittleEndian32(b, 7)));

    table.setText(row, Col::SkipCol, (b[19] & 0x0F) == 1 ? QStringLiteral("*") : QString());

    const QByteArray field(reinterpret_cast<const char *>(b.data()) + kNameOffset,
                           names::kFieldBytes);
    const QString stored = names::decodeField(field);
    table.setStoredName(slot, stored);
    table.setKeptNameField(slot, names::fieldRoundTrips(field) ? QByteArray() : field);
    table.setText(row, Col::NameCol, names::storedToDisplay(stored));

    table.setInUse(slot, 1);
    table.endBatch();
}

memorymap::PassChannels passChannels(const ChannelTable &table) {
    memorymap::PassChannels channels{};
    for (int i = 0; i < int(channels.size()); ++i) {
        const int row = memorymap::kFirstPassRow + i;
        if (table.inUse(ChannelTable::slotOfRow(row)) == 1)
            channels[std::size_t(i)] =
                channeltext::frequencyUnits(table.text(row, Col::FreqCol)).value_or(0);
    }
    return channels;
}

} // namespace kpr5
