#include "core/channels/ChannelValidation.h"

#include "core/channels/ChannelRecord.h"
#include "core/channels/ChannelTable.h"
#include "core/channels/ChannelTables.h"
#include "core/text/NameCodec.h"

#include <QStringList>

namespace kpr5::edit {

namespace {

constexpr qint64 kLowestFrequency = 53099;    // 0.53099 MHz
constexpr qint64 kFrequencyLimit = 130000000; // 1300 MHz, not included
constexpr int kLargestInteger = 1300;         // 1301 and up are taken as 145 MHz

struct Band {
    qint64 low, high; // low <= f < high
};
constexpr Band kBlocked[] = {{82400000, 85000000}, {86900000, 89500000}};
// CALL-VHF, CALL-UHF, CALL-1.2 and their defaults.
constexpr Band kCallBands[] = {{13600000, 17400000}, {42000000, 47000000}, {124000000, 130000000}};
const char *const kCallDefaults[] = {"145", "433", "1295"};

QString digitsOnly(const QString &text) {
    QString out;
    for (QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) out += c;
    return out;
}

QString withoutLeadingZeros(const QString &digits) {
    int i = 0;
    while (i < digits.size() - 1 && digits.at(i) == QLatin1Char('0'))
        ++i;
    return digits.mid(i);
}

// The value of a digit string, capped: anything above `cap` gives cap + 1.
qint64 cappedValue(const QString &digits, qint64 cap) {
    qint64 v = 0;
    for (QChar c : digits) {
        v = v * 10 + (c.unicode() - '0');
        if (v > cap) return cap + 1;
    }
    return v;
}

// f in 10 Hz units from fields that hold digits only (decimals at most five).
qint64 unitsOf(const FrequencyFields &f) {
    const qint64 mhz = cappedValue(f.integer, 99999);
    qint64 fraction = cappedValue(f.decimals, 99999);
    for (qsizetype n = f.decimals.size(); n < 5; ++n)
        fraction *= 10;
    return mhz * 100000 + fraction;
}

bool inBand(qint64 f, const Band &b) {
    return f >= b.low && f < b.high;
}

void erase(FrequencyFields &f) {
    f.integer.clear();
    f.decimals.clear();
}

int optionOf(const QStringList &texts, const QString &cell) {
    return int(texts.indexOf(cell));
}

} // namespace

const QStringList &modeOptionTexts() {
    static const QStringList t = {QStringLiteral("FM"), QStringLiteral("AM"), QStringLiteral("NFM"),
                                  QStringLiteral("WFM")};
    return t;
}

const QStringList &squelchOptionTexts() {
    static const QStringList t = {QStringLiteral("None"), QStringLiteral("Tone"),
                                  QStringLiteral("TSQ"),  QStringLiteral("SQ"),
                                  QStringLiteral("DCS"),  QStringLiteral("Train")};
    return t;
}

QString modeCellText(int code) {
    return code >= 0 && code < kModeOptions ? modeOptionTexts().at(code) : kInvalidCodeText;
}

QString squelchCellText(int code) {
    return code >= 0 && code < kSquelchOptions ? squelchOptionTexts().at(code) : kInvalidCodeText;
}

QString shiftCellText(int code) {
    return channeltables::shiftText(code);
}

std::optional<int> modeOption(const QString &cell) {
    const int i = optionOf(modeOptionTexts(), cell);
    return i >= 0 ? std::optional<int>(i) : std::nullopt;
}

std::optional<int> squelchOption(const QString &cell) {
    const int i = optionOf(squelchOptionTexts(), cell);
    return i >= 0 ? std::optional<int>(i) : std::nullopt;
}

std::optional<int> shiftOption(const QString &cell) {
    return channeltables::shiftCode(cell);
}

QString acceptFrequency(FrequencyFields &fields, int slot, bool pair) {
    // Integer part: digits only; 1301 and up become 145.
    QString integer = digitsOnly(fields.integer);
    if (!integer.isEmpty()) {
        integer = withoutLeadingZeros(integer);
        if (cappedValue(integer, kLargestInteger) > kLargestInteger)
            integer = QStringLiteral("145");
    }
    // Decimals: digits only, padded to five; more than five are not a frequency.
    QString decimals = digitsOnly(fields.decimals);
    if (decimals.size() > 5) decimals.clear();
    decimals = decimals.leftJustified(5, QLatin1Char('0'));
    fields.integer = integer;
    fields.decimals = decimals;

    // The blocked ranges (824-850 MHz and 869-895 MHz) are never stored.
    for (const Band &b : kBlocked)
        if (inBand(unitsOf(fields), b)) erase(fields);

    if (!pair && isCallSlot(slot)) {
        // A call channel always keeps a frequency in its own band.
        const int k = slot - kFirstCallSlot;
        if (!inBand(unitsOf(fields), kCallBands[k])) {
            fields.integer = QString::fromLatin1(kCallDefaults[k]);
            fields.decimals = QStringLiteral("00000");
        }
    } else if (!pair) {
        const qint64 f = unitsOf(fields);
        if (f < kLowestFrequency || f >= kFrequencyLimit) erase(fields);
    }

    QString text;
    if (fields.integer.isEmpty() && fields.decimals.isEmpty()) return text;
    if (fields.decimals.isEmpty())
        text = fields.integer + QStringLiteral(".00000");
    else if (fields.integer.isEmpty())
        text = QStringLiteral("0.") + fields.decimals;
    else
        text = fields.integer + QLatin1Char('.') + fields.decimals;
    const qint64 f = unitsOf(fields);
    if (f < kLowestFrequency || f >= kFrequencyLimit) {
        erase(fields);
        text.clear();
    }
    return text;
}

QString correctShiftInteger(const QString &typed) {
    const QString digits = digitsOnly(typed);
    return digits.isEmpty() ? QStringLiteral("0") : withoutLeadingZeros(digits);
}

QString correctShiftDecimals(const QString &integer, const QString &typed) {
    QString digits = digitsOnly(typed);
    if (digits.size() > 3) digits = digits.left(3);
    const bool top = correctShiftInteger(integer) == QLatin1String("999");
    if (top && !digits.isEmpty() && cappedValue(digits, 999) >= 996) return QStringLiteral("995");
    return digits.leftJustified(3, QLatin1Char('0'));
}

int editActionFor(bool pair, const QString &frequency, const QString &subFrequency) {
    if (!pair) return frequency.isEmpty() ? ClearEdited : SetSingle;
    if (!frequency.isEmpty()) return subFrequency.isEmpty() ? SetEdited : SetBoth;
    return subFrequency.isEmpty() ? ClearBoth : ClearEdited;
}

bool checkPassOverlap(const ChannelTable &table, int slot, const QString &frequency) {
    // The same 1 kHz: for three-digit MHz values this is "the MHz digits and
    // the first three decimals agree"; other values compare the same way.
    const std::optional<quint32> own =
        channeltext::frequencyUnits(frequency + QStringLiteral("MHz"));
    if (!own) return false;
    for (int s = kFirstPassSlot; s <= kLastPassSlot; ++s) {
        if (s == slot || table.inUse(s) != 1) continue;
        const std::optional<quint32> other = channeltext::frequencyUnits(
            table.text(ChannelTable::rowOfSlot(s), ChannelTable::FreqCol));
        if (other && *other / 100 == *own / 100) return true;
    }
    return false;
}

namespace {

// Sets a cell unless it already shows the text: a cell that is not retyped
// keeps what it stands for (an undefined mode byte read from the radio, say).
void setCell(ChannelTable &table, int row, int column, const QString &text) {
    if (table.text(row, column) != text) table.setText(row, column, text);
}

void applySet(ChannelTable &table, int slot, const EditSet &b) {
    const int row = ChannelTable::rowOfSlot(slot);
    if (!b.frequency.isEmpty())
        setCell(table, row, ChannelTable::FreqCol, b.frequency + QStringLiteral("MHz"));
    setCell(table, row, ChannelTable::ModeCol, modeCellText(b.modeCode));
    setCell(table, row, ChannelTable::StepCol, channeltables::stepText(b.stepIndex));
    setCell(table, row, ChannelTable::CarrierCol, channeltables::carrierText(b.carrierIndex));
    setCell(table, row, ChannelTable::ToneModeCol, squelchCellText(b.squelchCode));
    setCell(table, row, ChannelTable::TxToneCol, channeltables::toneText(b.txToneIndex));
    setCell(table, row, ChannelTable::RxToneCol, channeltables::toneText(b.rxToneIndex));
    setCell(table, row, ChannelTable::DcsCol, channeltables::dcsText(b.dcsIndex));
    setCell(table, row, ChannelTable::ShiftCol, shiftCellText(b.shiftCode));
    setCell(table, row, ChannelTable::ShiftFreqCol, b.shiftFrequency + QStringLiteral("MHz"));
    setCell(table, row, ChannelTable::SkipCol, b.skip ? QStringLiteral("*") : QString());
    // A name that was not retyped keeps its stored form (a ":1~" the radio
    // holds as three characters, codes kept from the radio).
    if (table.text(row, ChannelTable::NameCol) != b.name ||
        names::storedToDisplay(table.storedName(slot)) != b.name)
        table.setStoredName(slot, names::displayToStored(b.name));
    setCell(table, row, ChannelTable::NameCol, b.name);
    table.setStepIndex(slot, quint8(b.stepIndex));
    table.setTxToneIndex(slot, quint8(b.txToneIndex));
    table.setRxToneIndex(slot, quint8(b.rxToneIndex));
    table.setDcsIndex(slot, quint8(b.dcsIndex));
    table.setCarrierIndex(slot, quint8(b.carrierIndex));
    table.setInUse(slot, 1);
}

} // namespace

CommitResult commitEdit(ChannelTable &table, EditState &state) {
    state.busy = true;
    const int action = state.editAction;
    const int slot = state.slot;
    state.editAction = NoEdit;
    const auto done = [&](CommitResult r) {
        state.busy = false;
        return r;
    };
    if (action == NoEdit || slot < 0 || slot >= ChannelTable::kSlots)
        return done(CommitResult::Nothing);

    const bool pair = isDualWatchSlot(slot) && action != SetSingle;
    const bool setEdited = action == SetEdited || action == SetBoth || action == SetSingle;
    if (setEdited && isPassSlot(slot) && checkPassOverlap(table, slot, state.buffer[0].frequency))
        return done(CommitResult::Overlap);

    table.beginBatch();
    if (setEdited)
        applySet(table, slot, state.buffer[0]);
    else
        table.clearRow(ChannelTable::rowOfSlot(slot));
    if (pair) {
        if (action == ClearEdited || action == SetBoth)
            applySet(table, ChannelTable::rowOfSlot(slot), state.buffer[1]);
        else
            table.clearRow(slot + 2);
    }
    table.endBatch();
    return done(CommitResult::Applied);
}

} // namespace kpr5::edit
