#pragma once
// The byte coding of the radio's settings area (0x00000-0x00093, three
// blocks) and of the write-protect byte at 0x1FE01.
//
// Decoding puts the items from the settings image; encoding builds a block's
// data bytes from the items, the written constants and the image bytes that
// go back as they came. A byte outside an item's options leaves the item's
// list as it was, so a list always shows one of its own entries.

#include <QByteArray>

namespace kpr5 {

class SettingsModel;

namespace settings {

constexpr quint32 kBlockAddress[3] = {0x00000, 0x00040, 0x00080};
constexpr int kBlockSize[3] = {64, 64, 20};
constexpr int kBlockImageOffset[3] = {0, 64, 128};
constexpr quint32 kWriteProtectAddress = 0x1FE01;

// Image byte offsets of the settings that the program does not edit but
// writes back as the radio holds them, and of the written constants.
constexpr int kImageWrittenBack[] = {1, 52, 64 + 7, 64 + 28, 128 + 15, 128 + 16};
struct Constant {
    int offset;
    quint8 value;
};
constexpr Constant kConstants[] = {{0, 0xA5},  {9, 0x04},  {50, 0x01},     {51, 0x0C},
                                   {55, 0x02}, {56, 0x02}, {64 + 17, 0x06}};

} // namespace settings

// Set every item from the settings image (the Language item first, which
// switches the interface language when it changes). `Set_Mode_Mem`(0) is
// set to 0; the write-protect read sets it afterwards.
void decodeSettings(SettingsModel &model);
// The data bytes of settings block 0, 1 or 2 (64, 64 or 20 bytes); empty for
// another block number.
QByteArray encodeSettingsBlock(const SettingsModel &model, int block);
// The write-protect byte as read from 0x1FE01: its low digit gives the
// position of `Set_Mode_Mem`(0); a digit beyond the list leaves it as it is.
void decodeWriteProtect(SettingsModel &model, quint8 byte);

} // namespace kpr5
