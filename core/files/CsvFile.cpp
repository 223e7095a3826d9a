#include "core/files/CsvFile.h"

#include "core/channels/ChannelTable.h"
#include "core/channels/ChannelTables.h"
#include "core/files/TextLines.h"
#include "core/text/Cp932.h"
#include "core/text/NameCodec.h"

#include <QMap>
#include <QRegularExpression>
#include <QStringDecoder>

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

// A name for the file: the name as the table shows it (user characters as
// their tokens); a line end inside would end the line.
QString fileName(const QString &display) {
    QString text = display;
    return text.replace(QLatin1Char('\r'), QLatin1Char('?'))
        .replace(QLatin1Char('\n'), QLatin1Char('?'));
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
            text = fileName(text);
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

const char *failedField(RowFailure f) {
    static const char *const fields[] = {"",        "frequency", "mode",    "step",
                                         "carrier", "Tone/DCS",  "Tx-tone", "Rx-tone",
                                         "DCS",     "shift",     "skip"};
    return fields[int(f)];
}

ParsedRow parseRow(const QStringList &fields) {
    auto field = [&](int column) { return fields.value(column).trimmed(); };
    ParsedRow out;
    bool blank = true;
    for (int c = 1; c <= ChannelTable::kColumns; ++c)
        blank = blank && field(c).isEmpty();
    if (blank) return out;
    out.status = ParsedRow::Invalid;
    const auto refuse = [&](RowFailure failure, const char *what, int column) {
        out.failure = failure;
        out.problem = QStringLiteral("the %1 \"%2\" is not one the radio knows")
                          .arg(QLatin1String(what), field(column));
        return out;
    };

    const QString frequency = importedFrequency(field(Col::FreqCol));
    if (frequency.isEmpty()) {
        // A line without a frequency is an empty row, not a failure.
        if (!field(Col::FreqCol).isEmpty()) out.failure = RowFailure::Frequency;
        out.problem = field(Col::FreqCol).isEmpty()
                          ? QStringLiteral("it has no frequency")
                          : QStringLiteral("the frequency \"%1\" is not one the radio takes "
                                           "(1 to 4 digits, a point, 1 to 5 digits)")
                                .arg(field(Col::FreqCol));
        return out;
    }
    const std::optional<int> mode = ct::modeCode(field(Col::ModeCol));
    if (!mode) return refuse(RowFailure::Mode, "mode", Col::ModeCol);
    const std::optional<int> step = ct::stepIndex(field(Col::StepCol));
    if (!step) return refuse(RowFailure::Step, "step", Col::StepCol);
    std::optional<int> carrier = ct::carrierIndex(field(Col::CarrierCol));
    if (!carrier && field(Col::CarrierCol) == QLatin1String("JR")) carrier = ct::kCarrierCount - 1;
    if (!carrier) return refuse(RowFailure::Carrier, "carrier", Col::CarrierCol);
    const std::optional<int> squelch = ct::toneModeCode(field(Col::ToneModeCol));
    if (!squelch) return refuse(RowFailure::Squelch, "tone/DCS type", Col::ToneModeCol);
    const std::optional<int> txTone = ct::toneIndex(field(Col::TxToneCol));
    if (!txTone) return refuse(RowFailure::TxTone, "Tx tone", Col::TxToneCol);
    const std::optional<int> rxTone = ct::toneIndex(field(Col::RxToneCol));
    if (!rxTone) return refuse(RowFailure::RxTone, "Rx tone", Col::RxToneCol);
    const std::optional<int> dcs = ct::dcsIndex(field(Col::DcsCol));
    if (!dcs) return refuse(RowFailure::Dcs, "DCS code", Col::DcsCol);
    const std::optional<int> shift = ct::shiftCode(field(Col::ShiftCol));
    if (!shift) return refuse(RowFailure::Shift, "shift", Col::ShiftCol);
    const QString skip = field(Col::SkipCol);
    if (!skip.isEmpty() && skip != QLatin1String("*") && skip != QStringLiteral("※"))
        return refuse(RowFailure::Skip, "skip mark", Col::SkipCol);

    const QString filtered = names::filterAllowed(fields.value(Col::NameCol));
    const QString name = names::cutToSlots(filtered);
    out.nameCut = name != filtered;
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

// Fills one row from a line's fields; what made the row empty, if anything
// (an empty line is an empty row, not a failure). `nameCut`: the name did
// not fit the radio's 16 slots and was cut.
csv::RowFailure importRow(ChannelTable &t, int row, const QStringList &fields, bool *nameCut) {
    const csv::ParsedRow parsed = csv::parseRow(fields);
    *nameCut = parsed.nameCut;
    if (parsed.status != csv::ParsedRow::Channel) {
        t.clearRow(row);
        return parsed.failure;
    }
    t.setSlotValue(ChannelTable::slotOfRow(row), parsed.channel);
    return csv::RowFailure::None;
}

// "3, 7-9, 12"
QString rowList(const QList<int> &rows) {
    QStringList parts;
    for (qsizetype i = 0; i < rows.size();) {
        qsizetype j = i;
        while (j + 1 < rows.size() && rows.at(j + 1) == rows.at(j) + 1)
            ++j;
        parts << (j == i ? QString::number(rows.at(i))
                         : QStringLiteral("%1-%2").arg(rows.at(i)).arg(rows.at(j)));
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

// The text of a CSV file: UTF-8 when it starts with the byte-order mark, or
// when it holds bytes above 0x7F and decodes as UTF-8 without an error (as
// spreadsheets on Linux save it); else code page 932. UTF-8 text takes the
// code page 932 forms of the characters that have other forms there.
QString csvText(const QByteArray &bytes) {
    if (textfile::hasUtf8Bom(bytes)) return cp932::fromInputForms(QString::fromUtf8(bytes.mid(3)));
    const bool ascii =
        std::all_of(bytes.begin(), bytes.end(), [](char c) { return quint8(c) < 0x80; });
    if (!ascii) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8(bytes);
        if (!utf8.hasError()) return cp932::fromInputForms(text);
    }
    return cp932::decode(bytes);
}

} // namespace

CsvImportResult importCsv(ChannelTable &table, const QByteArray &bytes) {
    CsvImportResult result;
    QStringList lines = textfile::splitLines(csvText(bytes));
    if (lines.isEmpty() || !csv::isHeader(lines.first())) {
        result.status = CsvImportResult::HeaderError;
        return result;
    }
    while (lines.size() > 1 && isBlankLine(lines.last()))
        lines.removeLast();

    QMap<csv::RowFailure, QList<int>> emptied;
    QList<int> cut;
    table.beginBatch();
    for (qsizetype i = 1; i < lines.size() && i <= kLastImportRow; ++i) {
        const int row = int(i);
        ++result.rowsFilled;
        // Field 0 is the row label, which import ignores: rows go by the
        // line's position. Field c (1..12) is column c.
        const QStringList fields = csv::splitFields(lines.at(i));
        bool nameCut = false;
        const csv::RowFailure failure = importRow(table, row, fields, &nameCut);
        if (failure != csv::RowFailure::None) {
            ++result.rowsEmptied;
            emptied[failure] << row;
        }
        if (nameCut) cut << row;
    }
    table.endBatch();
    for (auto it = emptied.cbegin(); it != emptied.cend(); ++it)
        result.notes << QStringLiteral("Rows emptied, their %1 is not one the table knows: %2")
                            .arg(QLatin1String(csv::failedField(it.key())), rowList(it.value()));
    if (!cut.isEmpty())
        result.notes << QStringLiteral("Names cut to the 16 characters the radio holds: rows %1")
                            .arg(rowList(cut));
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
