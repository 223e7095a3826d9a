#include "core/link/MemoryMap.h"

#include <algorithm>
#include <vector>

namespace kpr5::memorymap {

namespace {

std::array<int, 200> buildDualWatchRecords() {
    std::array<int, 200> table{};
    for (int k = 0; k < 100; ++k) {
        table[2 * k] = 1101 + k;
        table[2 * k + 1] = 1201 + k;
    }
    return table;
}

void putLittleEndian32(QByteArray &out, int offset, quint32 v) {
    for (int i = 0; i < 4; ++i)
        out[offset + i] = char((v >> (8 * i)) & 0xFF);
}

} // namespace

const std::array<int, 200> &dualWatchRecords() {
    static const std::array<int, 200> table = buildDualWatchRecords();
    return table;
}

std::optional<int> rowToRecord(int row) {
    if (row < 1 || row > kRecordCount) return std::nullopt;
    if (row >= kFirstDualRow && row <= kLastDualRow)
        return dualWatchRecords()[std::size_t(row - kFirstDualRow)];
    return row;
}

PassTable buildPassTable(const PassChannels &channels) {
    PassTable table{}; // every field unset

    struct Listed {
        quint8 entry;
        quint32 value;
    };
    std::vector<Listed> listed;
    for (std::size_t i = 0; i < channels.size(); ++i) {
        if (channels[i]) listed.push_back({quint8(i), *channels[i]});
    }
    if (listed.empty()) return table;

    // Ascending frequency; channels of equal frequency keep their row order.
    std::stable_sort(listed.begin(), listed.end(),
                     [](const Listed &a, const Listed &b) { return a.value < b.value; });

    auto setFrequency = [](PassEntry &e, quint32 value) {
        e.hasFrequency = true;
        e.mhz = value / 100000;
        e.fraction = value % 100000;
    };

    const quint8 first = listed.front().entry;
    setFrequency(table[first], listed.front().value);
    table[first].spareLink = 255;
    table[first].lowerLink = kPassHead;

    PassEntry &head = table[kPassHead];
    setFrequency(head, listed.front().value);
    head.spareLink = first;
    head.higherLink = first;
    head.lowerLink = 255;

    for (std::size_t k = 1; k < listed.size(); ++k) {
        const quint8 e = listed[k].entry;
        const quint8 d = listed[k - 1].entry;
        setFrequency(table[e], listed[k].value);
        table[e].spareLink = 255;
        table[d].higherLink = e;
        table[e].lowerLink = d;
    }

    const quint8 last = listed.back().entry;
    if (listed.size() == 100) {
        head.spareLink = 0;
        table[last].higherLink = kPassHead;
    } else {
        table[last].higherLink = 255;
    }
    return table;
}

QByteArray passTableBytes(const PassTable &table) {
    QByteArray out(kPassTableBytes, char(0xFF));
    for (int i = 0; i < kPassEntries; ++i) {
        const PassEntry &e = table[std::size_t(i)];
        const int at = i * kPassEntryBytes;
        if (e.hasFrequency) putLittleEndian32(out, at, e.mhz * 1000000u + e.fraction * 10u);
        out[at + 4] = char(e.spareLink);
        out[at + 5] = char(e.higherLink);
        out[at + 6] = char(e.lowerLink);
        out[at + 7] = char(0xFF);
    }
    return out;
}

QList<BlockData> passTableBlocks(const PassTable &table) {
    const QByteArray bytes = passTableBytes(table);
    const MemoryRegion &r = region(RegionId::PassTable);
    QList<BlockData> blocks;
    for (int i = 0; i < r.writeCount; ++i) {
        const MemoryBlock &b = r.writes[std::size_t(i)];
        blocks.append({b.address, bytes.mid(int(b.address - kPassTableAddress), b.length)});
    }
    return blocks;
}

} // namespace kpr5::memorymap
