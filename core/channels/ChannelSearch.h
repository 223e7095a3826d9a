#pragma once
// Find in the channel table: by frequency or by name.

#include <QString>

namespace kpr5 {

class ChannelTable;

namespace search {

// Whether row `row` matches `query`: a query that reads as a frequency in
// MHz ("145", "145.5", "0145.50000MHz") matches the rows on that frequency
// (without decimals: the whole MHz; with decimals: those digits); any query
// also matches the rows whose name contains it, in any case.
bool rowMatches(const ChannelTable &table, int row, const QString &query);

// The next matching row after `afterRow`, wrapping around after row 1623
// (`afterRow` itself comes last); 0 when no row matches.
int nextMatch(const ChannelTable &table, const QString &query, int afterRow);

} // namespace search
} // namespace kpr5
