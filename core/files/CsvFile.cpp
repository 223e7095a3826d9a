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

QStringList splitFields(const QString &line) {
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
        } else if (c == QLatin1Char(',')) {
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

// Why a row was emptied, in the order of the checks; the row lists of the
// import's notes go by it.
enum class Failure {
    None,
    Frequency,
    Mode,
    Step,
    Carrier,
    Squelch,
    TxTone,
    RxTone,
    Dcs,
    Shift,
    Skip
};

const char *failureField(Failure f) {
    static const char *const fields[] = {"",        "frequency", "mode",    "step",
                                         "carrier", "Tone/DCS",  "Tx-tone", "Rx-tone",
                                         "DCS",     "shift",     "skip"};
    return fields[int(f)];
}

// Fills one row from a line's fields; what made the row empty, if anything
// (an empty frequency field is an empty row, not a failure). `nameCut`: the
// name did not fit the radio's 16 slots and was cut.
Failure importRow(ChannelTable &t, int row, const QStringList &fields, bool *nameCut) {
    const int slot = ChannelTable::slotOfRow(row);
    auto field = [&](int column) { return fields.value(column).trimmed(); };

    const QString frequency = importedFrequency(field(Col::FreqCol));
    const std::optional<int> mode = ct::modeCode(field(Col::ModeCol));
    const std::optional<int> step = ct::stepIndex(field(Col::StepCol));
    std::optional<int> carrier = ct::carrierIndex(field(Col::CarrierCol));
    if (!carrier && field(Col::CarrierCol) == QLatin1String("JR")) carrier = ct::kCarrierCount - 1;
    const std::optional<int> squelch = ct::toneModeCode(field(Col::ToneModeCol));
    const std::optional<int> txTone = ct::toneIndex(field(Col::TxToneCol));
    const std::optional<int> rxTone = ct::toneIndex(field(Col::RxToneCol));
    const std::optional<int> dcs = ct::dcsIndex(field(Col::DcsCol));
    const std::optional<int> shift = ct::shiftCode(field(Col::ShiftCol));
    const QString skip = field(Col::SkipCol);
    const bool skipValid =
        skip.isEmpty() || skip == QLatin1String("*") || skip == QStringLiteral("※");

    t.clearRow(row);
    const Failure failure =
        frequency.isEmpty() ? (field(Col::FreqCol).isEmpty() ? Failure::None : Failure::Frequency)
        : !mode             ? Failure::Mode
        : !step             ? Failure::Step
        : !carrier          ? Failure::Carrier
        : !squelch          ? Failure::Squelch
        : !txTone           ? Failure::TxTone
        : !rxTone           ? Failure::RxTone
        : !dcs              ? Failure::Dcs
        : !shift            ? Failure::Shift
        : !skipValid        ? Failure::Skip
                            : Failure::None;
    if (frequency.isEmpty() || failure != Failure::None) return failure;

    const QString filtered = names::filterAllowed(fields.value(Col::NameCol));
    const QString name = names::cutToSlots(filtered);
    *nameCut = name != filtered;
    t.setText(row, Col::FreqCol, frequency);
    t.setText(row, Col::ModeCol, field(Col::ModeCol));
    t.setText(row, Col::StepCol, ct::stepText(*step));
    t.setStepIndex(slot, quint8(*step));
    t.setText(row, Col::CarrierCol, ct::carrierText(*carrier));
    t.setCarrierIndex(slot, quint8(*carrier));
    t.setText(row, Col::ToneModeCol, field(Col::ToneModeCol));
    t.setText(row, Col::TxToneCol, ct::toneText(*txTone));
    t.setTxToneIndex(slot, quint8(*txTone));
    t.setText(row, Col::RxToneCol, ct::toneText(*rxTone));
    t.setRxToneIndex(slot, quint8(*rxTone));
    t.setText(row, Col::DcsCol, ct::dcsText(*dcs));
    t.setDcsIndex(slot, quint8(*dcs));
    t.setText(row, Col::ShiftCol, field(Col::ShiftCol));
    t.setText(row, Col::ShiftFreqCol, importedShift(field(Col::ShiftFreqCol)));
    t.setText(row, Col::SkipCol, skip.isEmpty() ? QString() : QStringLiteral("*"));
    t.setText(row, Col::NameCol, name);
    t.setStoredName(slot, names::displayToStored(name));
    t.setInUse(slot, 1);
    return Failure::None;
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

    QMap<Failure, QList<int>> emptied;
    QList<int> cut;
    table.beginBatch();
    for (qsizetype i = 1; i < lines.size() && i <= kLastImportRow; ++i) {
        const int row = int(i);
        ++result.rowsFilled;
        // Field 0 is the row label, which import ignores: rows go by the
        // line's position. Field c (1..12) is column c.
        const QStringList fields = csv::splitFields(lines.at(i));
        bool nameCut = false;
        const Failure failure = importRow(table, row, fields, &nameCut);
        if (failure != Failure::None) {
            ++result.rowsEmptied;
            emptied[failure] << row;
        }
        if (nameCut) cut << row;
    }
    table.endBatch();
    for (auto it = emptied.cbegin(); it != emptied.cend(); ++it)
        result.notes << QStringLiteral("Rows emptied, their %1 is not one the table knows: %2")
                            .arg(QLatin1String(failureField(it.key())), rowList(it.value()));
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
