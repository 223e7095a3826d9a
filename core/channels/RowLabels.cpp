#include "core/channels/RowLabels.h"

namespace kpr5 {

namespace {
constexpr int kMemoryRows = 1000;     // rows 1..1000, the banks' channels
constexpr int kDefaultBanks = 10;     // banks 0..9 hold channels at start-up ...
constexpr int kDefaultBankSize = 100; // ... 100 each
constexpr int kProgramScanPairs = 50; // "PRG - 0A" .. "PRG - 49B"
constexpr int kDualWatchPairs = 100;  // "Dual0(Main) " .. "Dual99(Sub) "
constexpr int kAreaRows = 100;        // the priority, pass and TSF areas
constexpr int kBugDetectorRows = 20;  // "BUG - 0" .. "BUG - 19"
constexpr int kAllRows = 1623;
} // namespace

std::array<int, kBankCount> defaultBankCounts() {
    std::array<int, kBankCount> counts{};
    for (int b = 0; b < kDefaultBanks; ++b)
        counts[std::size_t(b)] = kDefaultBankSize;
    return counts;
}

QStringList channelRowLabels(const std::array<int, kBankCount> &bankCounts) {
    QStringList labels;
    labels.reserve(kAllRows);

    for (int bank = 0; bank < kBankCount && labels.size() < kMemoryRows; ++bank) {
        const int count = bankCounts[std::size_t(bank)];
        for (int n = 0; n < count && labels.size() < kMemoryRows; ++n)
            labels << QStringLiteral("Bank%1-%2").arg(bank, 3, 10, QLatin1Char('0')).arg(n);
    }
    while (labels.size() < kMemoryRows)
        labels << QString();

    for (int pair = 0; pair < kProgramScanPairs; ++pair) {
        labels << QStringLiteral("PRG - %1A").arg(pair);
        labels << QStringLiteral("PRG - %1B").arg(pair);
    }
    for (int pair = 0; pair < kDualWatchPairs; ++pair) {
        labels << QStringLiteral("Dual%1(Main) ").arg(pair);
        labels << QStringLiteral("Dual%1(Sub) ").arg(pair);
    }
    const auto area = [&labels](const char *prefix) {
        for (int i = 0; i < kAreaRows; ++i)
            labels << QLatin1String(prefix) + QString::number(i);
    };
    area("PRIO - ");
    labels << QStringLiteral("CALL-VHF") << QStringLiteral("CALL-UHF")
           << QStringLiteral("CALL-1.2");
    area("PASS - ");
    area("TSF - ");
    for (int i = 0; i < kBugDetectorRows; ++i)
        labels << QStringLiteral("BUG - %1").arg(i);
    return labels;
}

} // namespace kpr5
