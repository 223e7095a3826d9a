#include "core/channels/RowLabels.h"

namespace kpr5 {

std::array<int, kBankCount> defaultBankCounts() {
    std::array<int, kBankCount> counts{};
    for (int b = 0; b < 10; ++b)
        counts[std::size_t(b)] = 100;
    return counts;
}

QStringList channelRowLabels(const std::array<int, kBankCount> &bankCounts) {
    QStringList labels;
    labels.reserve(1623);

    for (int bank = 0; bank < kBankCount && labels.size() < 1000; ++bank) {
        const int count = bankCounts[std::size_t(bank)];
        for (int n = 0; n < count && labels.size() < 1000; ++n)
            labels << QStringLiteral("Bank%1-%2").arg(bank, 3, 10, QLatin1Char('0')).arg(n);
    }
    while (labels.size() < 1000)
        labels << QString();

    for (int pair = 0; pair < 50; ++pair) {
        labels << QStringLiteral("PRG - %1A").arg(pair);
        labels << QStringLiteral("PRG - %1B").arg(pair);
    }
    for (int pair = 0; pair < 100; ++pair) {
        labels << QStringLiteral("Dual%1(Main) ").arg(pair);
        labels << QStringLiteral("Dual%1(Sub) ").arg(pair);
    }
    for (int i = 0; i < 100; ++i)
        labels << QStringLiteral("PRIO - %1").arg(i);
    labels << QStringLiteral("CALL-VHF") << QStringLiteral("CALL-UHF")
           << QStringLiteral("CALL-1.2");
    for (int i = 0; i < 100; ++i)
        labels << QStringLiteral("PASS - %1").arg(i);
    for (int i = 0; i < 100; ++i)
        labels << QStringLiteral("TSF - %1").arg(i);
    for (int i = 0; i < 20; ++i)
        labels << QStringLiteral("BUG - %1").arg(i);
    return labels;
}

} // namespace kpr5
