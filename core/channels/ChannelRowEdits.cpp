#include "core/channels/ChannelRowEdits.h"

#include "core/channels/ChannelTable.h"

#include <algorithm>

namespace kpr5::rowedits {

namespace {

constexpr int kLastEditableRow = ChannelTable::kFirstBugRow - 1; // 1603

bool isFixedRow(int row) {
    return ChannelTable::isCallRow(row) || ChannelTable::isBugRow(row);
}

int emptyRange(ChannelTable &table, int first, int last) {
    first = std::max(first, 1);
    last = std::min(last, ChannelTable::kRows);
    int n = 0;
    table.beginBatch();
    for (int row = first; row <= last; ++row) {
        if (isFixedRow(row)) continue;
        table.clearRow(row);
        ++n;
    }
    table.endBatch();
    return n;
}

} // namespace

int deleteRows(ChannelTable &table, int current, int selectionEnd) {
    if (current < 1 || current > ChannelTable::kRows || isFixedRow(current)) return 0;
    return emptyRange(table, std::min(current, selectionEnd), std::max(current, selectionEnd));
}

int clearRows(ChannelTable &table, int current, int selectionEnd) {
    if (current < 1 || current > ChannelTable::kRows) return 0;
    int first = std::min(current, selectionEnd);
    int last = std::max(current, selectionEnd);
    if (first == last) return isFixedRow(first) ? 0 : emptyRange(table, first, first);
    if (first > kLastEditableRow) return 0;
    last = std::min(last, kLastEditableRow);
    return emptyRange(table, first, last);
}

void resetAll(ChannelTable &table, const std::function<void(int)> &progress) {
    table.beginBatch();
    for (int row = 1; row <= kLastEditableRow; ++row) {
        if (!ChannelTable::isCallRow(row)) table.clearRow(row);
        if (progress && row % 16 == 0) progress(row * 100 / kLastEditableRow);
    }
    if (progress) progress(100);
    table.endBatch();
}

} // namespace kpr5::rowedits
