#include "core/files/DataFile.h"

#include "core/channels/ChannelRecord.h"
#include "core/channels/ChannelTables.h"
#include "core/channels/RowLabels.h"
#include "core/document/RadioDocument.h"
#include "core/files/TextLines.h"
#include "core/text/Cp932.h"
#include "core/text/NameCodec.h"

#include <QFileInfo>
#include <QIODevice>
#include <QUrl>

namespace kpr5 {

namespace ct = channeltables;
using Col = ChannelTable::Column;

namespace datafile {

namespace {

// The data file numbers these fields its own way (not the radio's codes).
const QStringList &fileModes() {
    static const QStringList t{QStringLiteral("FM"), QStringLiteral("AM"), QStringLiteral("NFM"),
                               QStringLiteral("WFM")};
    return t;
}
const QStringList &fileSquelchTypes() {
    static const QStringList t{QStringLiteral("None"), QStringLiteral("Tone"),
                               QStringLiteral("TSQ"),  QStringLiteral("SQ"),
                               QStringLiteral("DCS"),  QStringLiteral("Train")};
    return t;
}
const QStringList &fileShifts() {
    static const QStringList t{QStringLiteral("Off"), QStringLiteral("+"), QStringLiteral("-")};
    return t;
}

struct SetModeLine {
    Family family;
    int items;
};
// "SD01" .. "SD11" in order.
constexpr SetModeLine kSetModeLines[] = {
    {Family::Display, 16}, {Family::Power, 3}, {Family::Send, 13}, {Family::Preset, 1},
    {Family::Toutyou, 2},  {Family::Mem, 1},   {Family::Recv, 8},  {Family::Scan, 10},
    {Family::Repeater, 3}, {Family::Key, 12},  {Family::Sound, 6},
};
constexpr int kSetModeLineCount = int(sizeof(kSetModeLines) / sizeof(kSetModeLines[0]));

constexpr int kChannelFixedPart = 38;
constexpr int kBankLines = 5;
constexpr int kBankLineLength = 36;
constexpr int kOneTouchLineLength = 40;
constexpr int kSetDtmfLineLength = 23;
constexpr int kGroupLineLength = 55;
constexpr int kGroupFlagLineLength = 53;
const QString kDeviceTag = QStringLiteral("DEVICE");
const QString kRawTag = QStringLiteral("XRAW");
const QString kNameTag = QStringLiteral("XNAME");
const QString kBankTag = QStringLiteral("XBANK");
const QString kTitleTag = QStringLiteral("XTITLE");
const QString kSettingsTag = QStringLiteral("XSET");
constexpr int kRawLineLength = 4 + 4 + 6 * 3;
constexpr int kBankCountWidth = 4;

// What a CH line holds in place of an index outside its table (the exact
// byte follows in an XRAW line).
constexpr int kPlaceholderTone = ct::kDefaultToneIndex;
constexpr int kPlaceholderDcs = ct::kDefaultDcsIndex;
constexpr int kPlaceholderCarrier = ct::kDefaultCarrierIndex;

// The record bytes an XRAW line carries, with the size of each one's table
// (mode and tone mode: their low nibble counts).
struct RawField {
    int offset;
    int tableSize;
    bool lowNibble;
};
constexpr RawField kRawFields[] = {{5, ct::kModeCount, true},   {12, ct::kToneModeCount, true},
                                   {13, ct::kToneCount, false}, {14, ct::kToneCount, false},
                                   {15, ct::kDcsCount, false},  {16, ct::kCarrierCount, false}};

bool outsideTable(const RawField &f, int byte) {
    return (f.lowNibble ? (byte & 0x0F) : byte) >= f.tableSize;
}

// A name or title as a line holds it: a line end inside would end the line.
QString lineText(const QString &display) {
    QString text = display;
    text.replace(QLatin1Char('\r'), QLatin1Char('?')).replace(QLatin1Char('\n'), QLatin1Char('?'));
    return text;
}

// The name a line's text gives: double-byte characters outside the allowed
// set dropped, then cut to what the radio's 16 slots hold.
QString nameFromLine(const QString &text, bool *cut = nullptr) {
    const QString filtered = names::filterAllowed(text);
    const QString held = names::cutToSlots(filtered);
    if (cut) *cut = held != filtered;
    return held;
}

// The name the reader makes of what the writer puts into a line for `display`.
QString nameThroughLine(const QString &display) {
    return nameFromLine(cp932::decode(cp932::encode(lineText(display))));
}

QString hexField(const QByteArray &field) {
    return QString::fromLatin1(field.toHex().toUpper());
}

// 64 hexadecimal digits -> the 32 bytes of a radio field; nullopt otherwise.
std::optional<QByteArray> fieldFromHex(const QString &digits) {
    if (digits.size() != 2 * names::kFieldBytes) return std::nullopt;
    for (QChar c : digits) {
        if (!c.isDigit() && !(c >= QLatin1Char('A') && c <= QLatin1Char('F'))) return std::nullopt;
    }
    return QByteArray::fromHex(digits.toLatin1());
}

QString number(int value, int width) {
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

// The digits at 0-based [from, from + count) as a number; nullopt when the
// line is too short or a character is not a digit.
std::optional<int> digitsAt(const QString &line, int from, int count) {
    if (from < 0 || from + count > line.size()) return std::nullopt;
    int v = 0;
    for (int i = from; i < from + count; ++i) {
        const QChar c = line.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
        v = v * 10 + (c.unicode() - u'0');
    }
    return v;
}

int codeOf(const QStringList &texts, const QString &text) {
    const int i = int(texts.indexOf(text));
    return i < 0 ? 0 : i;
}

// "145.00000MHz" -> "0145.00000"; anything not in the table's form -> zero.
QString frequencyField(const QString &cell) {
    if (cell.endsWith(QLatin1String("MHz"))) {
        const QString bare = cell.left(cell.size() - 3);
        const int dot = int(bare.indexOf(QLatin1Char('.')));
        if (dot >= 1 && dot <= 4 && bare.size() == dot + 6 && digitsAt(bare, 0, dot) &&
            digitsAt(bare, dot + 1, 5))
            return bare.rightJustified(10, QLatin1Char('0'));
    }
    return QStringLiteral("0000.00000");
}

// "0.600MHz" -> "000.600"; an empty or malformed cell -> "000.000".
QString shiftField(const QString &cell) {
    if (const auto hz = channeltext::shiftAmountHz(cell)) {
        const quint32 khz = *hz / 1000;
        if (khz / 1000 <= 999)
            return number(int(khz / 1000), 3) + QLatin1Char('.') + number(int(khz % 1000), 3);
    }
    return QStringLiteral("000.000");
}

} // namespace

// --- CH ------------------------------------------------------------------------

QString channelLine(const ChannelTable &t, int slot) {
    const int row = ChannelTable::rowOfSlot(slot);
    QString line = QStringLiteral("CH") + number(slot, 4);
    line += frequencyField(t.text(row, Col::FreqCol));
    line += QString::number(codeOf(fileModes(), t.text(row, Col::ModeCol)));
    line += number(std::min<int>(t.stepIndex(slot), 99), 2);
    const auto inTable = [](int index, int size, int placeholder) {
        return index < size ? index : placeholder;
    };
    line += number(inTable(t.carrierIndex(slot), ct::kCarrierCount, kPlaceholderCarrier), 2);
    line += QString::number(codeOf(fileSquelchTypes(), t.text(row, Col::ToneModeCol)));
    line += number(inTable(t.txToneIndex(slot), ct::kToneCount, kPlaceholderTone), 2);
    line += number(inTable(t.rxToneIndex(slot), ct::kToneCount, kPlaceholderTone), 2);
    line += number(inTable(t.dcsIndex(slot), ct::kDcsCount, kPlaceholderDcs), 3);
    line += QString::number(codeOf(fileShifts(), t.text(row, Col::ShiftCol)));
    line += shiftField(t.text(row, Col::ShiftFreqCol));
    line += t.text(row, Col::SkipCol) == QLatin1String("*") ? QLatin1Char('1') : QLatin1Char('0');
    line += lineText(t.text(row, Col::NameCol));
    return line;
}

QStringList channelExtensionLines(const ChannelTable &t, int slot) {
    QStringList lines;
    const ChannelRecord record = encodeChannel(t, ChannelTable::rowOfSlot(slot));
    bool outside = false;
    QString raw = kRawTag + number(slot, 4);
    for (const RawField &f : kRawFields) {
        const int byte = record.bytes[std::size_t(f.offset)];
        outside = outside || outsideTable(f, byte);
        raw += number(byte, 3);
    }
    if (outside) lines << raw;
    // The name as the table shows it for what the radio gets, when the CH
    // line's text would not give those bytes back.
    const QByteArray field = channelNameField(t, slot);
    const QString shown = t.text(ChannelTable::rowOfSlot(slot), Col::NameCol);
    if (names::storedToDisplay(names::decodeField(field)) == shown &&
        names::encodeField(names::displayToStored(nameThroughLine(shown))) != field)
        lines << kNameTag + number(slot, 4) + hexField(field);
    return lines;
}

bool readChannelLine(ChannelTable &t, const QString &line, bool *nameCut) {
    if (line.size() < kChannelFixedPart || !line.startsWith(QLatin1String("CH"))) return false;
    // Positions below are 0-based (the format's position minus one).
    const auto slot = digitsAt(line, 2, 4);
    const auto mhz = digitsAt(line, 6, 4);
    const auto fraction = digitsAt(line, 11, 5);
    const auto step = digitsAt(line, 17, 2);
    const auto carrier = digitsAt(line, 19, 2);
    const auto txTone = digitsAt(line, 22, 2);
    const auto rxTone = digitsAt(line, 24, 2);
    const auto dcs = digitsAt(line, 26, 3);
    const auto shiftMhz = digitsAt(line, 30, 3);
    const auto shiftKhz = digitsAt(line, 34, 3);
    if (!slot || !mhz || !fraction || !step || !carrier || !txTone || !rxTone || !dcs ||
        !shiftMhz || !shiftKhz)
        return false;
    if (*slot >= ChannelTable::kSlots || *carrier >= ct::kCarrierCount ||
        *txTone >= ct::kToneCount || *rxTone >= ct::kToneCount || *dcs >= ct::kDcsCount)
        return false;
    const QString name = nameFromLine(line.mid(kChannelFixedPart), nameCut);

    auto pick = [](const QStringList &texts, QChar c) {
        const int v = c.unicode() - u'0';
        return (v >= 0 && v < texts.size()) ? texts.at(v) : texts.at(0);
    };
    const int s = *slot;
    const int row = ChannelTable::rowOfSlot(s);
    const int stepIndex = *step < ct::kStepCount ? *step : 0;
    t.beginBatch();
    t.setText(row, Col::FreqCol, QStringLiteral("%1.%2MHz").arg(*mhz).arg(line.mid(11, 5)));
    t.setText(row, Col::ModeCol, pick(fileModes(), line.at(16)));
    t.setStepIndex(s, quint8(stepIndex));
    t.setText(row, Col::StepCol, ct::stepText(stepIndex));
    t.setCarrierIndex(s, quint8(*carrier));
    t.setText(row, Col::CarrierCol, ct::carrierText(*carrier));
    t.setText(row, Col::ToneModeCol, pick(fileSquelchTypes(), line.at(21)));
    t.setTxToneIndex(s, quint8(*txTone));
    t.setText(row, Col::TxToneCol, ct::toneText(*txTone));
    t.setRxToneIndex(s, quint8(*rxTone));
    t.setText(row, Col::RxToneCol, ct::toneText(*rxTone));
    t.setDcsIndex(s, quint8(*dcs));
    t.setText(row, Col::DcsCol, ct::dcsText(*dcs));
    t.setText(row, Col::ShiftCol, pick(fileShifts(), line.at(29)));
    t.setText(row, Col::ShiftFreqCol,
              QStringLiteral("%1.%2MHz").arg(*shiftMhz).arg(number(*shiftKhz, 3)));
    t.setText(row, Col::SkipCol, line.at(37) == QLatin1Char('1') ? QStringLiteral("*") : QString());
    t.setText(row, Col::NameCol, name);
    t.setKeptNameField(s, QByteArray());
    t.setInUse(s, 1);
    t.endBatch();
    return true;
}

bool readRawLine(ChannelTable &t, const QString &line) {
    if (line.size() != kRawLineLength || !line.startsWith(kRawTag)) return false;
    const auto slot = digitsAt(line, 4, 4);
    if (!slot || *slot >= ChannelTable::kSlots || t.inUse(*slot) != 1) return false;
    std::array<int, std::size(kRawFields)> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto v = digitsAt(line, 8 + 3 * int(i), 3);
        if (!v || *v > 0xFF) return false;
        bytes[i] = *v;
    }
    // Only where the CH line holds the placeholder of a byte outside its table.
    const int s = *slot, row = ChannelTable::rowOfSlot(s);
    t.beginBatch();
    if (outsideTable(kRawFields[0], bytes[0]) && t.text(row, Col::ModeCol) == fileModes().at(0)) {
        t.setText(row, Col::ModeCol, kInvalidCodeText);
        t.setKeptModeByte(s, bytes[0]);
    }
    if (outsideTable(kRawFields[1], bytes[1]) &&
        t.text(row, Col::ToneModeCol) == fileSquelchTypes().at(0)) {
        t.setText(row, Col::ToneModeCol, kInvalidCodeText);
        t.setKeptToneModeByte(s, bytes[1]);
    }
    if (outsideTable(kRawFields[2], bytes[2]) && t.txToneIndex(s) == kPlaceholderTone) {
        t.setTxToneIndex(s, quint8(bytes[2]));
        t.setText(row, Col::TxToneCol, ct::toneText(bytes[2]));
    }
    if (outsideTable(kRawFields[3], bytes[3]) && t.rxToneIndex(s) == kPlaceholderTone) {
        t.setRxToneIndex(s, quint8(bytes[3]));
        t.setText(row, Col::RxToneCol, ct::toneText(bytes[3]));
    }
    if (outsideTable(kRawFields[4], bytes[4]) && t.dcsIndex(s) == kPlaceholderDcs) {
        t.setDcsIndex(s, quint8(bytes[4]));
        t.setText(row, Col::DcsCol, ct::dcsText(bytes[4]));
    }
    if (outsideTable(kRawFields[5], bytes[5]) && t.carrierIndex(s) == kPlaceholderCarrier) {
        t.setCarrierIndex(s, quint8(bytes[5]));
        t.setText(row, Col::CarrierCol, ct::carrierText(bytes[5]));
    }
    t.endBatch();
    return true;
}

std::optional<int> readNameLine(ChannelTable &t, const QString &line) {
    if (!line.startsWith(kNameTag)) return std::nullopt;
    const auto slot = digitsAt(line, kNameTag.size(), 4);
    const auto field = fieldFromHex(line.mid(kNameTag.size() + 4));
    if (!slot || !field || *slot >= ChannelTable::kSlots || t.inUse(*slot) != 1)
        return std::nullopt;
    // Only over the name the CH line of the same file gave.
    const QString stored = names::decodeField(*field);
    const QString display = names::storedToDisplay(stored);
    if (nameThroughLine(display) != t.text(ChannelTable::rowOfSlot(*slot), Col::NameCol))
        return std::nullopt;
    t.beginBatch();
    t.setText(ChannelTable::rowOfSlot(*slot), Col::NameCol, display);
    t.setStoredName(*slot, stored);
    t.setKeptNameField(*slot, names::fieldRoundTrips(*field) ? QByteArray() : *field);
    t.endBatch();
    return *slot;
}

// --- one-touch keys ------------------------------------------------------------

QString oneTouchBankLine(const OneTouchKeys &keys) {
    QString line = QStringLiteral("ONETOUCH_BANK");
    for (const OneTouchKey &k : keys)
        line += number(k.noSet ? kNotSet : std::clamp(k.bankPosition, 0, 254), 3);
    return line;
}

QString oneTouchChannelLine(const OneTouchKeys &keys) {
    QString line = QStringLiteral("ONETOUCH_CHDA");
    for (const OneTouchKey &k : keys)
        line += number(std::clamp(k.channelPosition, 0, 999), 3);
    return line;
}

bool readOneTouchLine(const QString &line, OneTouchKeys &keys, const BankTable &banks) {
    if (line.size() < kOneTouchLineLength) return false;
    const bool bankLine = line.startsWith(QLatin1String("ONETOUCH_BANK"));
    if (!bankLine && !line.startsWith(QLatin1String("ONETOUCH_CHDA"))) return false;
    std::array<int, kOneTouchKeys> values{};
    for (int k = 0; k < kOneTouchKeys; ++k) {
        const auto v = digitsAt(line, 13 + 3 * k, 3);
        if (!v) return false;
        values[std::size_t(k)] = *v;
    }
    const QList<int> available = banks.nonEmptyBanks();
    for (int k = 0; k < kOneTouchKeys; ++k) {
        OneTouchKey &key = keys[std::size_t(k)];
        const int v = values[std::size_t(k)];
        if (bankLine) {
            if (v == kNotSet) {
                key = OneTouchKey{};
            } else {
                key.noSet = false;
                key.bankPosition = v < available.size() ? v : 0;
                key.channelPosition = 0;
            }
        } else {
            const int bankPos = key.bankPosition;
            const int channels = (bankPos >= 0 && bankPos < available.size())
                                     ? banks.count(available.at(bankPos))
                                     : 0;
            key.channelPosition = v < channels ? v : 0;
        }
    }
    return true;
}

// --- title ---------------------------------------------------------------------

QString titleLine(const QString &displayTitle) {
    return QStringLiteral("TITLE") + lineText(displayTitle);
}

QString titleFromLine(const QString &line, bool *cut) {
    return nameFromLine(line.mid(5), cut);
}

// --- whole files ---------------------------------------------------------------

QStringList dataFileLines(const RadioDocument &doc, const WriteOptions &options) {
    QStringList lines;
    const QDateTime when =
        options.savedAt.isValid() ? options.savedAt : QDateTime::currentDateTime();
    lines << QStringLiteral("Save Date and Time %1 %2")
                 .arg(when.date().toString(QStringLiteral("yyyy/MM/dd")),
                      when.time().toString(QStringLiteral("HH:mm:ss")));

    const ChannelTable &t = doc.channels;
    for (int slot = 0; slot < ChannelTable::kSlots; ++slot) {
        if (t.inUse(slot) == 1) lines << channelLine(t, slot) << channelExtensionLines(t, slot);
    }

    if (doc.banks.shownTotal() == BankTable::kMemoryChannels) {
        for (int g = 0; g < kBankLines; ++g) {
            QString line = QStringLiteral("BK") + number(g, 4);
            for (int k = 0; k < 10; ++k)
                line += number(std::clamp(doc.banks.count(g * 10 + k), 0, 999), 3);
            lines << line;
        }
        // A bank of all 1000 channels does not fit the three digits.
        if (*std::max_element(doc.banks.counts().begin(), doc.banks.counts().end()) > 999) {
            QString line = kBankTag;
            for (int count : doc.banks.counts())
                line += number(count, kBankCountWidth);
            lines << line;
        }
        const OneTouchKeys keys = oneTouchKeys(doc);
        lines << oneTouchBankLine(keys) << oneTouchChannelLine(keys);
    }

    for (int m = 0; m < DtmfMemories::kMemoryCount; ++m) {
        const QString digits =
            DtmfMemories::cleaned(doc.dtmf.memory(m)).left(DtmfMemories::kMaxDigits);
        if (!digits.isEmpty()) lines << QStringLiteral("NUM_DTMF") + number(m, 3) + digits;
    }
    QString setDtmf = QStringLiteral("SET_DTMF");
    for (int i = 0; i < DtmfMemories::kTimingCount; ++i)
        setDtmf += number(std::max(0, doc.dtmf.timing(DtmfMemories::Timing(i))), 3);
    lines << setDtmf;

    lines << titleLine(titleText(doc));
    const QByteArray titleField = doc.title.radioField();
    if (names::encodeField(names::displayToStored(nameThroughLine(titleText(doc)))) != titleField)
        lines << kTitleTag + hexField(titleField);

    for (int g = 0; g < GroupTable::kGroupCount; ++g) {
        QString line = QStringLiteral("GRD") + number(g, 2);
        for (int b = 0; b < GroupTable::kBankCount; ++b)
            line += doc.groups.isLinked(g, b) ? QLatin1Char('1') : QLatin1Char('0');
        lines << line;
    }
    QString flags = QStringLiteral("GRI");
    for (int b = 0; b < GroupTable::kBankCount; ++b)
        flags += doc.groups.bankFlag(b) ? QLatin1Char('1') : QLatin1Char('0');
    lines << flags;

    for (int c = 0; c < kSetModeLineCount; ++c) {
        QString line = QStringLiteral("SD") + number(c + 1, 2);
        for (int j = 0; j < kSetModeLines[c].items; ++j)
            line +=
                number(std::clamp(doc.settings.position(kSetModeLines[c].family, j), 0, 999), 3);
        lines << line;
    }
    // The settings the Set Mode lines do not hold.
    lines << kSettingsTag + number(std::max(0, doc.settings.position(Family::Repeater, 3)), 3) +
                 number(std::max(0, doc.settings.position(Family::Combo1, 0)), 3) +
                 number(doc.title.openingMoving(), 3);

    lines << QStringLiteral("COMPORT") + number(std::clamp(options.comPort, 0, 9999), 2);
    if (!options.devicePath.isEmpty())
        lines << kDeviceTag + QString::fromLatin1(QUrl::toPercentEncoding(options.devicePath));
    lines << QStringLiteral("File End");
    return lines;
}

QByteArray dataFileBytes(const RadioDocument &doc, const WriteOptions &options) {
    return textfile::encodeLines(dataFileLines(doc, options));
}

QString devicePathFromLines(const QStringList &lines) {
    for (const QString &line : lines) {
        if (line.startsWith(kDeviceTag))
            return QUrl::fromPercentEncoding(line.mid(kDeviceTag.size()).toLatin1());
    }
    return QString();
}

} // namespace datafile

// --- writing -------------------------------------------------------------------

bool writeDataFile(const RadioDocument &doc, int comPort, QIODevice &device, QString *error) {
    datafile::WriteOptions options;
    options.comPort = comPort;
    return textfile::writeAll(device, datafile::dataFileBytes(doc, options), error);
}

bool saveDataFile(const RadioDocument &doc, const datafile::WriteOptions &options,
                  const QString &path, QString *error) {
    return textfile::saveFile(path, datafile::dataFileBytes(doc, options), error);
}

bool saveDataFile(const RadioDocument &doc, int comPort, const QString &path, QString *error) {
    datafile::WriteOptions options;
    options.comPort = comPort;
    return saveDataFile(doc, options, path, error);
}

bool hasDataFileExtension(const QString &path) {
    return path.right(3).toUpper() == QLatin1String(".R5");
}

// --- reading -------------------------------------------------------------------

QString DataFileResult::message() const {
    return ok() ? QStringLiteral("Read File") : QStringLiteral("This File don't Open");
}

QString DataFileResult::title() const {
    return ok() ? QStringLiteral("Finish") : QStringLiteral("Error");
}

namespace {

bool hasKnownTag(const QString &line) {
    static const char *const tags[] = {
        "CH", "BK",      "ONETOUCH_", "NUM_DTMF", "SET_DTMF", "TITLE", "GRD",    "GRI",
        "SD", "COMPORT", "File End",  "XRAW",     "XNAME",    "XBANK", "XTITLE", "XSET"};
    for (const char *tag : tags) {
        if (line.startsWith(QLatin1String(tag))) return true;
    }
    return false;
}

bool readBankLine(BankTable &banks, const QString &line) {
    if (line.size() < datafile::kBankLineLength) return false;
    const auto group = datafile::digitsAt(line, 2, 4);
    if (!group || *group >= datafile::kBankLines) return false;
    BankTable::Counts counts = banks.counts();
    for (int k = 0; k < 10; ++k) {
        const auto v = datafile::digitsAt(line, 6 + 3 * k, 3);
        if (!v) return false;
        counts[std::size_t(*group * 10 + k)] = std::min(*v, BankTable::kMaxCount);
    }
    banks.setCounts(counts);
    banks.markLoaded();
    return true;
}

bool readWideBankLine(BankTable &banks, const QString &line) {
    if (line.size() !=
        datafile::kBankTag.size() + BankTable::kBankCount * datafile::kBankCountWidth)
        return false;
    BankTable::Counts counts{};
    for (int b = 0; b < BankTable::kBankCount; ++b) {
        const auto v =
            datafile::digitsAt(line, int(datafile::kBankTag.size()) + b * datafile::kBankCountWidth,
                               datafile::kBankCountWidth);
        if (!v) return false;
        counts[std::size_t(b)] = *v;
    }
    banks.setCounts(counts);
    banks.markLoaded();
    return true;
}

bool readSettingsLine(RadioDocument &doc, const QString &line) {
    const int at = int(datafile::kSettingsTag.size());
    const auto cross = datafile::digitsAt(line, at, 3);
    const auto display = datafile::digitsAt(line, at + 3, 3);
    const auto moving = datafile::digitsAt(line, at + 6, 3);
    if (line.size() != at + 9 || !cross || !display || !moving) return false;
    // Positions outside a list are refused by the models.
    doc.settings.setPosition(Family::Repeater, 3, *cross);
    doc.settings.setPosition(Family::Combo1, 0, *display);
    doc.title.setOpeningMoving(*moving);
    return true;
}

// An XTITLE line over the title of the file's TITLE line.
bool readTitleFieldLine(OpeningTitle &title, const QString &line) {
    const auto field = datafile::fieldFromHex(line.mid(datafile::kTitleTag.size()));
    if (!field) return false;
    const QString display = names::storedToDisplay(names::decodeField(*field));
    if (datafile::nameThroughLine(display) != title.displayText()) return false;
    title.setFromField(*field);
    return true;
}

bool readDtmfLine(DtmfMemories &dtmf, const QString &line,
                  std::array<bool, DtmfMemories::kMemoryCount> &seen) {
    const auto n = datafile::digitsAt(line, 8, 3);
    if (!n || *n >= DtmfMemories::kMemoryCount) return false;
    const QString text = line.mid(11);
    if (text.isEmpty() || text.size() > DtmfMemories::kMaxDigits) return false;
    dtmf.setMemory(*n, DtmfMemories::cleaned(text));
    seen[std::size_t(*n)] = true;
    return true;
}

bool readSetDtmfLine(DtmfMemories &dtmf, const QString &line) {
    if (line.size() != datafile::kSetDtmfLineLength) return false;
    std::array<int, DtmfMemories::kTimingCount> v{};
    for (int i = 0; i < DtmfMemories::kTimingCount; ++i) {
        const auto d = datafile::digitsAt(line, 8 + 3 * i, 3);
        if (!d) return false;
        v[std::size_t(i)] = *d;
    }
    for (int i = 0; i < DtmfMemories::kTimingCount; ++i)
        dtmf.setTiming(DtmfMemories::Timing(i),
                       v[std::size_t(i)]); // a position outside its list is refused
    return true;
}

bool bitsAt(const QString &line, int from, std::array<bool, GroupTable::kBankCount> &bits) {
    for (int b = 0; b < GroupTable::kBankCount; ++b) {
        const QChar c = line.at(from + b);
        if (c != QLatin1Char('0') && c != QLatin1Char('1')) return false;
        bits[std::size_t(b)] = c == QLatin1Char('1');
    }
    return true;
}

bool readGroupLine(GroupTable &groups, const QString &line) {
    std::array<bool, GroupTable::kBankCount> bits{};
    if (line.startsWith(QLatin1String("GRD"))) {
        if (line.size() != datafile::kGroupLineLength) return false;
        const auto g = datafile::digitsAt(line, 3, 2);
        if (!g || *g >= GroupTable::kGroupCount || !bitsAt(line, 5, bits)) return false;
        for (int b = 0; b < GroupTable::kBankCount; ++b)
            groups.setLinked(*g, b, bits[std::size_t(b)]);
        return true;
    }
    if (line.startsWith(QLatin1String("GRI"))) {
        if (line.size() != datafile::kGroupFlagLineLength || !bitsAt(line, 3, bits)) return false;
        for (int b = 0; b < GroupTable::kBankCount; ++b)
            groups.setBankFlag(b, bits[std::size_t(b)]);
        return true;
    }
    return false;
}

bool readSetModeLine(SettingsModel &settings, const QString &line) {
    const auto c = datafile::digitsAt(line, 2, 2);
    if (!c || *c < 1 || *c > datafile::kSetModeLineCount) return false;
    const datafile::SetModeLine &sd = datafile::kSetModeLines[*c - 1];
    bool any = false;
    for (int j = 0; j < sd.items; ++j) {
        // Only the items whose three digits the line holds; a position
        // outside the item's list is refused by the model.
        if (const auto v = datafile::digitsAt(line, 4 + 3 * j, 3)) {
            settings.setPosition(sd.family, j, *v);
            any = true;
        }
    }
    return any;
}

} // namespace

DataFileResult readDataFile(RadioDocument &doc, const QByteArray &bytes) {
    DataFileResult result;
    const QStringList lines = textfile::decodeLines(bytes);
    bool dataFile = false;
    for (qsizetype i = 1; i < lines.size() && !dataFile; ++i)
        dataFile = hasKnownTag(lines.at(i));
    if (!dataFile) {
        result.status = DataFileResult::NotDataFile;
        result.error = QStringLiteral("The file holds no data file lines.");
        return result;
    }

    ChannelTable &t = doc.channels;
    t.beginBatch();
    for (int row = 1; row <= ChannelTable::kFirstBugRow - 1; ++row) {
        if (!ChannelTable::isCallRow(row)) t.clearRow(row);
    }

    datafile::OneTouchKeys keys = datafile::oneTouchKeys(doc);
    bool keysRead = false;
    bool banksRead = false;
    bool setDtmfRead = false;
    std::array<bool, DtmfMemories::kMemoryCount> dtmfSeen{};
    std::vector<bool> nameFromField(ChannelTable::kSlots, false);
    // XRAW and XNAME lines count only right after the CH line of their slot,
    // an XTITLE line only right after the TITLE line.
    std::optional<int> channelSlot;
    bool afterTitle = false;
    const auto slotOf = [](const QString &line, int at) { return datafile::digitsAt(line, at, 4); };

    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        const QStringView tag = QStringView(line).left(2);
        const bool wasAfterTitle = afterTitle;
        afterTitle = false;
        if (!line.startsWith(datafile::kRawTag) && !line.startsWith(datafile::kNameTag))
            channelSlot.reset();
        bool taken = true;
        if (tag == u"CH") {
            bool cut = false;
            taken = datafile::readChannelLine(t, line, &cut);
            if (taken) {
                ++result.channels;
                channelSlot = slotOf(line, 2);
            }
            if (cut)
                result.notes << QStringLiteral("%1: the name was cut to the 16 characters the "
                                               "radio holds.")
                                    .arg(line.left(6));
        } else if (tag == u"BK") {
            taken = readBankLine(doc.banks, line);
            banksRead = banksRead || taken;
        } else if (tag == u"ON") {
            taken = datafile::readOneTouchLine(line, keys, doc.banks);
            keysRead = keysRead || taken;
        } else if (tag == u"NU") {
            taken = readDtmfLine(doc.dtmf, line, dtmfSeen);
        } else if (tag == u"SE") {
            taken = readSetDtmfLine(doc.dtmf, line);
            setDtmfRead = setDtmfRead || taken;
        } else if (tag == u"TI") {
            bool cut = false;
            const QString title = datafile::titleFromLine(line, &cut);
            taken = datafile::setTitleText(doc, title);
            afterTitle = taken;
            if (cut)
                result.notes << QStringLiteral(
                    "TITLE: the title was cut to the 16 characters the radio holds.");
        } else if (tag == u"GR") {
            taken = readGroupLine(doc.groups, line);
        } else if (tag == u"SD") {
            taken = readSetModeLine(doc.settings, line);
        } else if (line.startsWith(datafile::kRawTag)) {
            taken = channelSlot && slotOf(line, int(datafile::kRawTag.size())) == channelSlot &&
                    datafile::readRawLine(t, line);
        } else if (line.startsWith(datafile::kNameTag)) {
            taken = channelSlot && slotOf(line, int(datafile::kNameTag.size())) == channelSlot &&
                    datafile::readNameLine(t, line);
            if (taken) nameFromField[std::size_t(*channelSlot)] = true;
        } else if (line.startsWith(datafile::kBankTag)) {
            taken = readWideBankLine(doc.banks, line);
            banksRead = banksRead || taken;
        } else if (line.startsWith(datafile::kTitleTag)) {
            taken = wasAfterTitle && readTitleFieldLine(doc.title, line);
        } else if (line.startsWith(datafile::kSettingsTag)) {
            taken = readSettingsLine(doc, line);
        }
        if (!taken) ++result.ignoredLines;
    }

    if (setDtmfRead) {
        for (int m = 0; m < DtmfMemories::kMemoryCount; ++m) {
            if (!dtmfSeen[std::size_t(m)]) doc.dtmf.setMemory(m, QString());
        }
    }
    if (keysRead)
        datafile::setOneTouchKeys(doc, keys); // rebuilds the lists from the banks first
    else if (banksRead)
        doc.oneTouch.rebuildLists(doc.banks);
    if (banksRead) t.setRowLabels(channelRowLabels(doc.banks.counts()));

    for (int row = 1; row <= ChannelTable::kRows; ++row) {
        if (!nameFromField[std::size_t(ChannelTable::slotOfRow(row))])
            t.setStoredName(ChannelTable::slotOfRow(row),
                            names::displayToStored(t.text(row, Col::NameCol)));
    }
    t.endBatch();
    return result;
}

DataFileResult openDataFile(RadioDocument &doc, const QString &path) {
    DataFileResult result;
    QByteArray bytes;
    QString error;
    if (!hasDataFileExtension(path)) {
        result.status = DataFileResult::WrongExtension;
        return result;
    }
    if (!textfile::loadFile(path, &bytes, &error)) {
        result.status = DataFileResult::Unreadable;
        result.error = error;
        return result;
    }
    return readDataFile(doc, bytes);
}

} // namespace kpr5
