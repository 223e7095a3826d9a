#include "core/channels/ChannelSearch.h"

#include "core/channels/ChannelTable.h"

#include <QRegularExpression>

namespace kpr5::search {

namespace {

struct Frequency {
    int mhz = -1;
    QString decimals; // as written
};

Frequency parseFrequency(const QString &text) {
    static const QRegularExpression form(
        QStringLiteral("^\\s*([0-9]{1,4})(?:\\.([0-9]{0,5}))?\\s*(?:MHz)?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch()) return {};
    return {m.captured(1).toInt(), m.captured(2)};
}

} // namespace

bool rowMatches(const ChannelTable &table, int row, const QString &query) {
    const QString q = query.trimmed();
    if (q.isEmpty()) return false;
    const Frequency wanted = parseFrequency(q);
    if (wanted.mhz >= 0) {
        const Frequency cell = parseFrequency(table.text(row, ChannelTable::FreqCol));
        if (cell.mhz == wanted.mhz && cell.decimals.startsWith(wanted.decimals)) return true;
    }
    return table.text(row, ChannelTable::NameCol).contains(q, Qt::CaseInsensitive);
}

int nextMatch(const ChannelTable &table, const QString &query, int afterRow) {
    for (int i = 1; i <= ChannelTable::kRows; ++i) {
        const int row = (afterRow - 1 + i) % ChannelTable::kRows + 1;
        if (rowMatches(table, row, query)) return row;
    }
    return 0;
}

} // namespace kpr5::search
