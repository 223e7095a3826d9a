#include "core/files/CsvFile.h"

#include "core/channels/ChannelTable.h"
#include "core/channels/ChannelTables.h"
#include "core/files/TextLines.h"
#include "core/text/Cp932.h"
#include "core/text/NameCodec.h"

#include <QRegularExpression>

namespace kpr5 {

namespace ct = channeltables;
using Col = ChannelTable::Column;

namespace {

constexpr int kFieldCount = 14;
constexpr int kLastImportRow = ChannelTable::kFirstBugRow - 1; // 1603
const QString kUnquotedHeader =
    QStringLiteral("FreqencymodestepCarrierTone/DCSTx-toneRx-toneDCSShiftShift-FreqSkipName0");

QString quoted(const QString &text) {
    QString out = text;
    out.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

// A name for the file: the single-byte characters of the stored name, each
// double-byte character (user characters included) as one blank.
QString singleByteName(const QString &stored) {
    QString out;
    for (qsizetype i = 0; i < stored.size(); ++i) {
        char32_t c = stored.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < stored.size() &&
            stored.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(stored.at(i), stored.at(i + 1));
            ++i;
        }
        const std::optional<quint16> code = cp932::fromUnicode(c);
        if (code && !cp932::isDoubleByte(*code))
            out += QChar(char16_t(c));
        else
            out += QLatin1Char(' ');
    }
    return out;
}

// A frequency field: 1 to 4 digits, ".", 1 to 5 digits. The cell text
// ("145.50000MHz") or nothing when the field does not qualify or lies in a
// band the radio may not receive (824-850 MHz, 869-895 MHz).
QString importedFrequency(const QString &field) {
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,4})\\.([0-9]{1,5})$"));
    const QRegularExpressionMatch m = form.match(field);
    if (!m.hasMatch()) return QString();
    const int mhz = m.captured(1).toInt();
    const QString fraction = m.captured(2).leftJustified(5, QLatin1Char('0'));
    const qint64 value = qint64(mhz) * 100000 + fraction.toInt();
    if ((value >= 82400000 && value < 85000000) || (value >= 86900000 && value < 89500000))
        return QString();
    return QStringLiteral("%1.%2MHz").arg(mhz).arg(fraction);
}

// "0.6", "0.600" or "0.600MHz" -> "0.600MHz"; other texts unchanged.
QString importedShift(const QString &field) {
    static const QRegularExpression form(
        QStringLiteral("^([0-9]{1,3})(?:\\.([0-9]{0,3}))?(?:MHz)?$"));
    const QRegularExpressionMatch m = form.match(field);
    if (!m.hasMatch()) return field;
    return QStringLiteral("%1.%2MHz")
        .arg(m.captured(1).toInt())
        .arg(m.captured(2).leftJustified(3, QLatin1Char('0')));
}

bool isBlankLine(const QString &line) {
    for (QChar c : line) {
        if (c != QLatin1Char(',') && c != QLatin1Char('"') && !c.isSpace()) return false;
    }
    return true;
}

} // namespace

namespace csv {

QStringList splitFields(const QString &line, QChar separator) {
    QStringList fields;
    QString field;
    const qsizetype n = line.size();
    qsizetype i = 0;
    bool inQuotes = false;
    bool fieldStart = true;
    while (i < n) {
        const QChar c = line.at(i);
        if (inQuotes) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && line.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    i += 2;
                    continue;
                }
                inQuotes = false;
            } else {
                field += c;
            }
        } else if (c == separator) {
            fields << field;
            field.clear();
            fieldStart = true;
            ++i;
            continue;
        } else if (c == QLatin1Char('"')) {
            // A quote opens a quoted part at the start of a field; elsewhere
            // outside quotes it is dropped.
            if (fieldStart) inQuotes = true;
        } else {
            field += c;
        }
        fieldStart = false;
        ++i;
    }
    fields << field;
    return fields;
}

QString headerLine() {
    QStringList fields{quoted(QString())};
    for (int c = 1; c <= ChannelTable::kColumns; ++c)
        fields << quoted(ChannelTable::columnHeader(c));
    fields << quoted(QStringLiteral("0"));
    return fields.join(QLatin1Char(','));
}

QString rowLine(const ChannelTable &t, int row) {
    QStringList fields{quoted(t.rowLabel(row))};
    for (int c = 1; c <= ChannelTable::kColumns; ++c) {
        QString text = t.text(row, c);
        if (c == Col::FreqCol && text.size() > 3)
            text.chop(3);
        else if (c == Col::NameCol)
            text = singleByteName(t.storedName(row - 1));
        fields << quoted(text);
    }
    fields << quoted(QString::number(row));
    return fields.join(QLatin1Char(','));
}

bool isHeader(const QString &line) {
    if (!line.contains(QLatin1Char('"')) &&
        QString(line).remove(QLatin1Char(',')) == kUnquotedHeader)
        return true;
    const QStringList fields = splitFields(line);
    if (fields.size() != kFieldCount || !fields.first().isEmpty() ||
        fields.last() != QLatin1String("0"))
        return false;
    for (int c = 1; c <= ChannelTable::kColumns; ++c) {
        if (fields.at(c) != ChannelTable::columnHeader(c)) return false;
    }
    return true;
}

ParsedRow parseRow(const QStringList &fields) {
    auto field = [&](int column) { return fields.value(column).trimmed(); };
    ParsedRow out;
    bool blank = true;
    for (int c = 1; c <= ChannelTable::kColumns; ++c)
        blank = blank && field(c).isEmpty();
    if (blank) return out;
    out.status = ParsedRow::Invalid;
    const auto refuse = [&](const char *what, int column) {
        out.problem = QStringLiteral("the %1 \"%2\" is not one the radio knows")
                          .arg(QLatin1String(what), field(column));
        return out;
    };

    const QString frequency = importedFrequency(field(Col::FreqCol));
    if (frequency.isEmpty()) {
        out.problem = field(Col::FreqCol).isEmpty()
                          ? QStringLiteral("it has no frequency")
                          : QStringLiteral("the frequency \"%1\" is not one the radio takes "
                                           "(1 to 4 digits, a point, 1 to 5 digits)")
                                .arg(field(Col::FreqCol));
        return out;
    }
    const std::optional<int> mode = ct::modeCode(field(Col::ModeCol));
    if (!mode) return refuse("mode", Col::ModeCol);
    const std::optional<int> step = ct::stepIndex(field(Col::StepCol));
    if (!step) return refuse("step", Col::StepCol);
    std::optional<int> carrier = ct::carrierIndex(field(Col::CarrierCol));
    if (!carrier && field(Col::CarrierCol) == QLatin1String("JR")) carrier = ct::kCarrierCount - 1;
    if (!carrier) return refuse("carrier", Col::CarrierCol);
    const std::optional<int> squelch = ct::toneModeCode(field(Col::ToneModeCol));
    if (!squelch) return refuse("tone/DCS type", Col::ToneModeCol);
    const std::optional<int> txTone = ct::toneIndex(field(Col::TxToneCol));
    if (!txTone) return refuse("Tx tone", Col::TxToneCol);
    const std::optional<int> rxTone = ct::toneIndex(field(Col::RxToneCol));
    if (!rxTone) return refuse("Rx tone", Col::RxToneCol);
    const std::optional<int> dcs = ct::dcsIndex(field(Col::DcsCol));
    if (!dcs) return refuse("DCS code", Col::DcsCol);
    const std::optional<int> shift = ct::shiftCode(field(Col::ShiftCol));
    if (!shift) return refuse("shift", Col::ShiftCol);
    const QString skip = field(Col::SkipCol);
    if (!skip.isEmpty() && skip != QLatin1String("*") && skip != QStringLiteral("※"))
        return refuse("skip mark", Col::SkipCol);

    const QString name = names::filterAllowed(fields.value(Col::NameCol));
    ChannelTable::Slot &s = out.channel;
    const auto cell = [&s](int column) -> QString & { return s.cells[size_t(column - 1)]; };
    cell(Col::FreqCol) = frequency;
    cell(Col::ModeCol) = field(Col::ModeCol);
    cell(Col::StepCol) = ct::stepText(*step);
    cell(Col::CarrierCol) = ct::carrierText(*carrier);
    cell(Col::ToneModeCol) = field(Col::ToneModeCol);
    cell(Col::TxToneCol) = ct::toneText(*txTone);
    cell(Col::RxToneCol) = ct::toneText(*rxTone);
    cell(Col::DcsCol) = ct::dcsText(*dcs);
    cell(Col::ShiftCol) = field(Col::ShiftCol);
    cell(Col::ShiftFreqCol) = importedShift(field(Col::ShiftFreqCol));
    cell(Col::SkipCol) = skip.isEmpty() ? QString() : QStringLiteral("*");
    cell(Col::NameCol) = name;
    s.stepIndex = quint8(*step);
    s.carrierIndex = quint8(*carrier);
    s.txToneIndex = quint8(*txTone);
    s.rxToneIndex = quint8(*rxTone);
    s.dcsIndex = quint8(*dcs);
    s.storedName = names::displayToStored(name);
    s.inUse = 1;
    out.status = ParsedRow::Channel;
    return out;
}

} // namespace csv

QByteArray exportCsv(const ChannelTable &table) {
    QStringList lines{csv::headerLine()};
    for (int row = 1; row <= ChannelTable::kRows; ++row)
        lines << csv::rowLine(table, row);
    return textfile::encodeLines(lines);
}

bool exportCsv(const ChannelTable &table, QIODevice &device, QString *error) {
    return textfile::writeAll(device, exportCsv(table), error);
}

bool saveCsv(const ChannelTable &table, const QString &path, QString *error) {
    return textfile::saveFile(path, exportCsv(table), error);
}

bool hasCsvExtension(const QString &path) {
    return path.right(3).toUpper() == QLatin1String("CSV");
}

QString CsvImportResult::message() const {
    return ok() ? QStringLiteral("Inport CSV File") : QStringLiteral("CSV File Error");
}

QString CsvImportResult::title() const {
    return ok() ? QStringLiteral(" Finish") : QStringLiteral(" Error");
}

namespace {

// Fills one row from a line's fields; false when the row was emptied.
bool importRow(ChannelTable &t, int row, const QStringList &fields) {
    const csv::ParsedRow parsed = csv::parseRow(fields);
    if (parsed.status != csv::ParsedRow::Channel) {
        t.clearRow(row);
        return false;
    }
    t.setSlotValue(row - 1, parsed.channel);
    return true;
}

} // namespace

CsvImportResult importCsv(ChannelTable &table, const QByteArray &bytes) {
    CsvImportResult result;
    QStringList lines;
    if (textfile::hasUtf8Bom(bytes))
        lines = textfile::splitLines(QString::fromUtf8(bytes.mid(3)));
    else
        lines = textfile::decodeLines(bytes);
    if (lines.isEmpty() || !csv::isHeader(lines.first())) {
        result.status = CsvImportResult::HeaderError;
        return result;
    }
    while (lines.size() > 1 && isBlankLine(lines.last()))
        lines.removeLast();

    table.beginBatch();
    for (qsizetype i = 1; i < lines.size() && i <= kLastImportRow; ++i) {
        const int row = int(i);
        ++result.rowsFilled;
        // Field 0 is the row label, which import ignores: rows go by the
        // line's position. Field c (1..12) is column c.
        const QStringList fields = csv::splitFields(lines.at(i));
        if (!importRow(table, row, fields)) ++result.rowsEmptied;
    }
    table.endBatch();
    return result;
}

CsvImportResult importCsvFile(ChannelTable &table, const QString &path) {
    CsvImportResult result;
    if (!hasCsvExtension(path)) {
        result.status = CsvImportResult::WrongExtension;
        return result;
    }
    QByteArray bytes;
    if (!textfile::loadFile(path, &bytes, &result.error)) {
        result.status = CsvImportResult::Unreadable;
        return result;
    }
    return importCsv(table, bytes);
}

} // namespace kpr5
