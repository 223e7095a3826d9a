#pragma once
// CSV channel files: the channel table as comma-separated text (code page
// 932, CR LF), one header line and one line per table row 1..1623, every
// field in double quotes:
//
//   "<row label>","<frequency without MHz>","<mode>",...,"<name>","<row>"
//
// Import fills rows 1, 2, 3, ... in the order of the file's lines (not by
// the row label or the row number of a line) up to row 1603, checks every
// field against the table's vocabulary and empties the rows that fail.
//
// What import accepts beyond the lines export writes (files that went
// through a spreadsheet):
// - UTF-8: a file with the UTF-8 byte-order mark, or one that holds bytes
//   above 0x7F and decodes as UTF-8 without an error (a spreadsheet on Linux
//   saves so), is read as UTF-8 instead of code page 932, with the code page
//   932 forms of the characters that Linux and macOS write otherwise
//   (cp932::fromInputForms);
// - LF-only and CR-only line ends; empty lines at the end of the file;
// - fields with or without quotes, commas inside quoted fields, and "" for a
//   double quote inside a quoted field (export writes a quote in a name so);
// - the header with any quoting, as long as it has exactly 14 fields: "",
//   the twelve column headers, "0"; or the unquoted header with its commas
//   anywhere. A first line that is merely 100 characters long is refused;
// - "JR" for the carrier "ＪＲ" and "※" for the skip mark "*"; the cells then
//   show the table's own texts;
// - a shift frequency written as a number of MHz with up to three decimals,
//   with or without "MHz" ("0.6" -> "0.600MHz"); other shift texts are taken
//   unchanged.
// It refuses, with "CSV File Error" and the table unchanged, a name that does
// not end in "CSV", a file that cannot be read or is larger than 8 MiB, and
// a file whose first line is not the header (a binary file, for example).
// Only the rows filled from the file are checked and changed; rows below the
// last line of the file keep their channels.
//
// Export writes each name as the table shows it, user characters as their
// tokens and double-byte characters as they are (the original program wrote
// every double-byte character as a blank); import reads both. A name longer
// than the radio's 16 character slots is cut on import. The rows emptied by
// a check and the names cut are named in the result's notes.

#include "core/channels/ChannelTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QIODevice;

namespace kpr5 {

namespace csv {

// The fields of one line: quoted or not, separated by commas (or by
// `separator`: a tab for rows pasted from a spreadsheet).
QStringList splitFields(const QString &line, QChar separator = QLatin1Char(','));
// The header line and a row's line as export writes them.
QString headerLine();
QString rowLine(const ChannelTable &table, int row);
// The header test of import.
bool isHeader(const QString &line);

// Why a row was emptied, in the order of the checks.
enum class RowFailure {
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
// The field's name as the table's header has it ("Tx-tone").
const char *failedField(RowFailure failure);

// One row as a line holds it (field 0 the row label, which is not used;
// fields 1-12 the twelve columns), checked against the table's vocabulary as
// import checks it, the name cut to the radio's 16 slots. Import and paste
// both take rows through here.
struct ParsedRow {
    enum Status {
        Channel, // `channel` holds the row
        Empty,   // no frequency and nothing that failed: an empty row
        Invalid, // a field failed its check: `failure` and `problem` say which
    };
    Status status = Empty;
    RowFailure failure = RowFailure::None;
    ChannelTable::Slot channel;
    QString problem;
    bool nameCut = false; // the name did not fit the radio's 16 slots
};
ParsedRow parseRow(const QStringList &fields);

} // namespace csv

QByteArray exportCsv(const ChannelTable &table);
bool exportCsv(const ChannelTable &table, QIODevice &device, QString *error);
// A complete new file, or the old one left intact and false with the reason.
bool saveCsv(const ChannelTable &table, const QString &path, QString *error);

// The name ends in "CSV", in any case.
bool hasCsvExtension(const QString &path);

struct CsvImportResult {
    enum Status { Imported, WrongExtension, Unreadable, HeaderError };
    Status status = Imported;
    QString error;       // the reason for Unreadable
    int rowsFilled = 0;  // table rows filled from the file
    int rowsEmptied = 0; // of those, rows emptied by a failed check
    QStringList notes;   // the rows emptied, by the field that failed, and the names cut
    bool ok() const { return status == Imported; }
    // "Inport CSV File" / " Finish" or "CSV File Error" / " Error".
    QString message() const;
    QString title() const;
};

CsvImportResult importCsv(ChannelTable &table, const QByteArray &bytes);
// The extension test, then the file.
CsvImportResult importCsvFile(ChannelTable &table, const QString &path);

} // namespace kpr5
