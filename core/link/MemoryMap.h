#pragma once
// The radio's memory map: every region the program reads or writes, with the
// blocks it is cut into; the channel record numbering with the dual-watch
// interleave; and the pass table that the radio keeps beside the pass channels.
//
// Nothing here is discovered from the radio: addresses and block sizes are fixed.

#include <QByteArray>
#include <QList>

#include <array>
#include <optional>

namespace kpr5 {

struct MemoryBlock {
    quint32 address = 0;
    int length = 0; // data bytes; a read always returns 64
};

enum class RegionId {
    SetMode,        // Set Mode settings
    ScanGroups,     // bank-link groups
    OneTouch,       // one-touch memories
    Title,          // opening title and its on/off flag
    Banks,          // bank table
    PassTable,      // pass table (written only)
    UserCharacters, // eight user characters
    Dtmf,           // DTMF memories
    Channels,       // channel records 1..1623, one block per record
    SettingByte,    // one setting byte
};

struct MemoryRegion {
    static constexpr int kMaxBlocks = 13;
    RegionId id;
    quint32 first; // first and last address the region holds
    quint32 last;
    int readCount;
    std::array<MemoryBlock, kMaxBlocks> reads;
    int writeCount;
    std::array<MemoryBlock, kMaxBlocks> writes;
};

namespace memorymap {

constexpr int kRecordBytes = 64;
constexpr int kRecordCount = 1623;
constexpr quint32 kFirstRecordAddress = 0x01200;
constexpr quint32 kPassTableAddress = 0x00C00;
constexpr int kPassEntries = 101; // 100 pass channels and the head
constexpr int kPassHead = 100;
constexpr int kPassEntryBytes = 8;
constexpr int kPassTableBytes = kPassEntries * kPassEntryBytes; // 808
constexpr int kFirstPassRow = 1404;
constexpr int kLastPassRow = 1503;
constexpr int kFirstDualRow = 1101;
constexpr int kLastDualRow = 1300;

// The channel regions' blocks (one per record) are not listed one by one:
// they follow from recordAddress().
inline constexpr std::array<MemoryRegion, 10> kRegions = {{
    {RegionId::SetMode,
     0x00000,
     0x00093,
     3,
     {{{0x00000, 64}, {0x00040, 64}, {0x00080, 64}}},
     3,
     {{{0x00000, 64}, {0x00040, 64}, {0x00080, 20}}}},
    {RegionId::ScanGroups,
     0x00100,
     0x00157,
     2,
     {{{0x00100, 64}, {0x00130, 64}}},
     2,
     {{{0x00100, 48}, {0x00130, 40}}}},
    {RegionId::OneTouch, 0x00180, 0x0019A, 1, {{{0x00180, 64}}}, 1, {{{0x00180, 27}}}},
    {RegionId::Title, 0x001A0, 0x001C1, 1, {{{0x001A0, 64}}}, 1, {{{0x001A0, 34}}}},
    {RegionId::Banks,
     0x00200,
     0x0027F,
     2,
     {{{0x00200, 64}, {0x00240, 64}}},
     2,
     {{{0x00200, 64}, {0x00240, 64}}}},
    {RegionId::PassTable,
     0x00C00,
     0x00F27,
     0,
     {},
     13,
     {{{0x00C00, 64},
       {0x00C40, 64},
       {0x00C80, 64},
       {0x00CC0, 64},
       {0x00D00, 64},
       {0x00D40, 64},
       {0x00D80, 64},
       {0x00DC0, 64},
       {0x00E00, 64},
       {0x00E40, 64},
       {0x00E80, 64},
       {0x00EC0, 64},
       {0x00F00, 40}}}},
    {RegionId::UserCharacters,
     0x01000,
     0x010FF,
     8,
     {{{0x01000, 64},
       {0x01020, 64},
       {0x01040, 64},
       {0x01060, 64},
       {0x01080, 64},
       {0x010A0, 64},
       {0x010C0, 64},
       {0x010E0, 64}}},
     8,
     {{{0x01000, 32},
       {0x01020, 32},
       {0x01040, 32},
       {0x01060, 32},
       {0x01080, 32},
       {0x010A0, 32},
       {0x010C0, 32},
       {0x010E0, 32}}}},
    {RegionId::Dtmf,
     0x01100,
     0x011A4,
     3,
     {{{0x01100, 64}, {0x01133, 64}, {0x01173, 64}}},
     3,
     {{{0x01100, 51}, {0x01133, 64}, {0x01173, 50}}}},
    {RegionId::Channels, 0x01200, 0x1A7BF, 0, {}, 0, {}},
    {RegionId::SettingByte, 0x1FE01, 0x1FE01, 1, {{{0x1FE01, 64}}}, 1, {{{0x1FE01, 1}}}},
}};

constexpr const MemoryRegion &region(RegionId id) {
    for (const MemoryRegion &r : kRegions) {
        if (r.id == id) return r;
    }
    return kRegions[0]; // unreachable: every id has a row
}

// `recordNumber` r (1..1623) -> the address of its 64 bytes; nullopt outside.
constexpr std::optional<quint32> recordAddress(int record) {
    if (record < 1 || record > kRecordCount) return std::nullopt;
    return kFirstRecordAddress + quint32(kRecordBytes) * quint32(record - 1);
}

// `rowToRecord`: the record a channel-table row holds. Rows 1101..1300 show
// the dual-watch records interleaved in pairs (row 1101 + 2k: record 1101 + k;
// row 1102 + 2k: record 1201 + k); every other row r holds record r. Row 1624
// and rows outside 1..1623 have no record (nullopt).
std::optional<int> rowToRecord(int row);

// The fixed 200-entry interleave table for rows 1101..1300 (entry i: row 1101 + i).
const std::array<int, 200> &dualWatchRecords();

// One entry of the pass table as the editor keeps it. 255 means unset for
// the three links. The frequency has its own "set" flag: 255 MHz is a
// frequency a pass channel can hold, so it cannot double as the mark.
struct PassEntry {
    bool hasFrequency = false;
    quint32 mhz = 255;
    quint32 fraction = 255; // five decimal digits, 0..99999
    quint8 spareLink = 255;
    quint8 higherLink = 255;
    quint8 lowerLink = 255;

    bool operator==(const PassEntry &o) const {
        return hasFrequency == o.hasFrequency && mhz == o.mhz && fraction == o.fraction &&
               spareLink == o.spareLink && higherLink == o.higherLink && lowerLink == o.lowerLink;
    }
};

using PassTable = std::array<PassEntry, kPassEntries>;

// The frequencies of the 100 pass channels (rows 1404..1503) in row order,
// in units of 10 Hz (MHz * 100000 + fraction, at most 429496729 so that the
// frequency fits the table's 32-bit field); nullopt for a channel that is not
// in use.
using PassChannels = std::array<std::optional<quint32>, 100>;

// Build the chain: entries sorted by frequency, lowest linked from the head.
PassTable buildPassTable(const PassChannels &channels);

// The 808 bytes of the table (entry i at offset 8 * i).
QByteArray passTableBytes(const PassTable &table);

// The write blocks of the table: 12 blocks of 64 bytes from 0x00C00, then
// 40 bytes at 0x00F00; each with its data.
struct BlockData {
    quint32 address;
    QByteArray data;
};
QList<BlockData> passTableBlocks(const PassTable &table);

} // namespace memorymap
} // namespace kpr5
