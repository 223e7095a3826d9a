#pragma once
// Channel rows on the clipboard: tab-separated text with the fields of a CSV
// row (row label, the twelve columns, row number), one line a row, so that a
// spreadsheet takes them and gives them back. Pasted text goes through the
// same row checks as CSV import (csv::parseRow); lines with commas instead
// of tabs are taken too.

#include "core/files/CsvFile.h"

#include <QList>
#include <QString>

namespace kpr5 {

class ChannelTable;

namespace clipboard {

// Rows first..last (in either order), each line ended by "\n". The frequency
// without "MHz" and the name as the grid shows it (display form).
QString copyRows(const ChannelTable &table, int first, int last);

struct PastedRows {
    QList<csv::ParsedRow> rows; // one per pasted line, in order
    int badLine = 0;            // 1-based line that failed its checks; 0: none
    QString badLabel;           // that line's first field (its row label), if any
    QString problem;            // why it failed
    bool ok() const { return badLine == 0; }
};

// The rows of pasted text. A leading header line (the column headers) is
// skipped, blank lines at the end are dropped; a line of exactly twelve
// fields is taken as the twelve columns without a row label.
PastedRows parseRows(const QString &text);

} // namespace clipboard
} // namespace kpr5
