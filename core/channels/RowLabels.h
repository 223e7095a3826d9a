#pragma once
// The row labels of the channel table: the memory rows from the bank sizes,
// then the fixed labels of the special areas.

#include <QStringList>

#include <array>

namespace kpr5 {

constexpr int kBankCount = 50;

// Banks 0..9 hold 100 channels each, banks 10..49 none.
std::array<int, kBankCount> defaultBankCounts();

// The 1623 labels, element 0 for row 1. Memory channel n (0..999) belongs to
// the bank whose running sum of counts first exceeds n: "Bank" + the bank as
// three digits + "-" + the channel's number in the bank. When the counts add
// up to less than 1000 the memory rows past their sum get an empty label;
// negative counts count as 0. Then "PRG - 0A" .. "PRG - 49B",
// "Dual0(Main) " .. "Dual99(Sub) ", "PRIO - 0" .., "CALL-VHF", "CALL-UHF",
// "CALL-1.2", "PASS - 0" .., "TSF - 0" .., "BUG - 0" .. "BUG - 19".
QStringList channelRowLabels(const std::array<int, kBankCount> &bankCounts);

} // namespace kpr5
