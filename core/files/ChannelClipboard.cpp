#include "core/files/ChannelClipboard.h"

#include "core/channels/ChannelTable.h"

#include <algorithm>

namespace kpr5::clipboard {

namespace {

bool isHeaderFields(const QStringList &fields) {
    if (fields.size() < ChannelTable::kColumns + 1) return false;
    for (int c = 1; c <= ChannelTable::kColumns; ++c) {
        if (fields.at(c).trimmed() != ChannelTable::columnHeader(c)) return false;
    }
    return true;
}

} // namespace

QString copyRows(const ChannelTable &table, int first, int last) {
    if (first > last) std::swap(first, last);
    first = std::max(first, 1);
    last = std::min(last, ChannelTable::kRows);
    QString out;
    for (int row = first; row <= last; ++row) {
        QStringList fields{table.rowLabel(row)};
        for (int c = 1; c <= ChannelTable::kColumns; ++c) {
            QString text = table.text(row, c);
            if (c == ChannelTable::FreqCol && text.endsWith(QLatin1String("MHz"))) text.chop(3);
            fields << text;
        }
        fields << QString::number(row);
        out += fields.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return out;
}

PastedRows parseRows(const QString &text) {
    PastedRows out;
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = normalised.split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        const QChar separator =
            line.contains(QLatin1Char('\t')) ? QLatin1Char('\t') : QLatin1Char(',');
        QStringList fields = csv::splitFields(line, separator);
        if (i == 0 && isHeaderFields(fields)) continue;
        if (fields.size() == ChannelTable::kColumns) fields.prepend(QString());
        const csv::ParsedRow row = csv::parseRow(fields);
        if (row.status == csv::ParsedRow::Invalid) {
            out.rows.clear();
            out.badLine = int(i) + 1;
            out.badLabel = fields.value(0).trimmed();
            out.problem = row.problem;
            return out;
        }
        out.rows << row;
    }
    return out;
}

} // namespace kpr5::clipboard
