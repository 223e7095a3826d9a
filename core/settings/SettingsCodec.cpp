#include "core/settings/SettingsCodec.h"

#include "core/settings/SettingsModel.h"

namespace kpr5 {

namespace {

enum class Coding {
    Position,       // the list position
    PlusOne,        // position + 1; read: zero gives 0, else value - 1
    PresetBand,     // position + 3; read: below 3 the value itself, else value - 3
    KeyFunction,    // the key function code of the position
    Language,       // 0x01 Japanese, 0x00 English; read: non-zero is Japanese
    ChannelDisplay, // 0x00 OFF, 0x0D ON; read: non-zero is ON
    ChannelDisplayWriteOnly,
    DialRing, // the pair (byte, byte + 2)
};

struct Field {
    int offset; // in the 148-byte image
    Family family;
    int element;
    Coding coding;
};

constexpr int B1 = 64;
constexpr int B2 = 128;

using F = Family;
using C = Coding;

// Language first: decoding applies it before the other lists are set.
const Field kFields[] = {
    {62, F::Display, 0, C::Language},
    // block 0
    {2, F::Sound, 4, C::Position},
    {3, F::Sound, 5, C::Position},
    {4, F::Recv, 6, C::Position},
    {5, F::Recv, 7, C::Position},
    {6, F::Combo1, 0, C::ChannelDisplayWriteOnly},
    {7, F::Combo1, 0, C::ChannelDisplay},
    {10, F::Display, 11, C::Position},
    {11, F::Display, 12, C::Position},
    {13, F::Display, 13, C::PlusOne},
    {14, F::Display, 14, C::PresetBand},
    {15, F::Display, 15, C::Position},
    {16, F::Scan, 4, C::Position},
    {17, F::Scan, 5, C::Position},
    {18, F::Scan, 6, C::Position},
    {19, F::Scan, 7, C::Position},
    {23, F::Send, 6, C::Position},
    {25, F::Send, 7, C::Position},
    {32, F::Sound, 1, C::Position},
    {35, F::Scan, 1, C::Position},
    {36, F::Scan, 3, C::Position},
    {37, F::Scan, 2, C::Position},
    {38, F::Scan, 0, C::Position},
    {39, F::Key, 8, C::Position},
    {40, F::Key, 2, C::Position},
    {41, F::Key, 1, C::Position},
    {42, F::Send, 8, C::Position},
    {44, F::Display, 1, C::Position},
    {45, F::Power, 0, C::Position},
    {46, F::Power, 1, C::Position},
    {47, F::Sound, 0, C::Position},
    {48, F::Toutyou, 1, C::PlusOne},
    {49, F::Toutyou, 0, C::Position},
    {53, F::Key, 6, C::KeyFunction},
    {57, F::Key, 9, C::Position},
    {61, F::Key, 10, C::Position},
    {63, F::Send, 0, C::Position},
    // block 1
    {B1 + 0, F::Recv, 4, C::Position},
    {B1 + 1, F::Send, 2, C::Position},
    {B1 + 3, F::Display, 2, C::PlusOne},
    {B1 + 4, F::Sound, 3, C::PlusOne},
    {B1 + 5, F::Display, 7, C::Position},
    {B1 + 8, F::Repeater, 3, C::Position},
    {B1 + 9, F::Send, 4, C::Position},
    {B1 + 10, F::Send, 3, C::Position},
    {B1 + 11, F::Display, 9, C::Position},
    {B1 + 12, F::Display, 10, C::Position},
    {B1 + 13, F::Sound, 2, C::Position},
    {B1 + 14, F::Repeater, 0, C::Position},
    {B1 + 16, F::Recv, 2, C::Position},
    {B1 + 18, F::Display, 3, C::PlusOne},
    {B1 + 24, F::Send, 10, C::Position},
    {B1 + 25, F::Send, 11, C::Position},
    {B1 + 26, F::Send, 12, C::Position},
    {B1 + 29, F::Key, 5, C::DialRing},
    {B1 + 30, F::Key, 4, C::Position},
    {B1 + 32, F::Key, 7, C::KeyFunction},
    {B1 + 33, F::Send, 1, C::Position},
    {B1 + 34, F::Power, 2, C::Position},
    {B1 + 36, F::Key, 0, C::Position},
    {B1 + 37, F::Recv, 0, C::Position},
    {B1 + 40, F::Recv, 3, C::Position},
    {B1 + 52, F::Recv, 1, C::Position},
    {B1 + 53, F::Display, 4, C::Position},
    {B1 + 54, F::Recv, 5, C::Position},
    {B1 + 55, F::Display, 5, C::Position},
    {B1 + 58, F::Key, 3, C::Position},
    {B1 + 59, F::Preset, 0, C::Position},
    {B1 + 60, F::Send, 5, C::Position},
    // block 2
    {B2 + 1, F::Display, 6, C::Position},
    {B2 + 4, F::Display, 8, C::Position},
    {B2 + 13, F::Key, 11, C::Position},
    {B2 + 17, F::Send, 9, C::Position},
    {B2 + 18, F::Scan, 9, C::Position},
    {B2 + 19, F::Scan, 8, C::Position},
};

// Dial Ring: position -> (byte 29, byte 31) of block 1.
constexpr quint8 kDialRing[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};

int decodedPosition(const Field &f, const QByteArray &image) {
    const int v = quint8(image[f.offset]);
    switch (f.coding) {
    case C::Position:
        return v;
    case C::PlusOne:
        return v == 0 ? 0 : v - 1;
    case C::PresetBand:
        return v < 3 ? v : v - 3;
    case C::KeyFunction:
        return settings::keyFunctionPosition(quint8(v));
    case C::Language:
        return v != 0 ? Japanese : English;
    case C::ChannelDisplay:
        return v != 0 ? 1 : 0;
    case C::ChannelDisplayWriteOnly:
        return -1;
    case C::DialRing: {
        const bool high = v != 0;
        const bool low = quint8(image[f.offset + 2]) != 0;
        return high ? (low ? 2 : 3) : (low ? 1 : 0);
    }
    }
    return -1;
}

} // namespace

void decodeSettings(SettingsModel &model) {
    const QByteArray &image = model.image();
    for (const Field &f : kFields) {
        const int pos = decodedPosition(f, image);
        // setPosition refuses a position outside the item's options: the
        // list keeps its entry.
        if (pos >= 0) model.setPosition(f.family, f.element, pos);
        if (f.family == F::Display && f.element == 0) model.setPosition(F::Mem, 0, 0);
    }
}

QByteArray encodeSettingsBlock(const SettingsModel &model, int block) {
    if (block < 0 || block > 2) return QByteArray();
    const int begin = settings::kBlockImageOffset[block];
    const int end = begin + settings::kBlockSize[block];
    QByteArray image(SettingsModel::kImageSize, '\0');

    for (const Field &f : kFields) {
        const int p = model.position(f.family, f.element);
        quint8 v = 0;
        switch (f.coding) {
        case C::Position:
            v = quint8(p);
            break;
        case C::PlusOne:
            v = quint8(p + 1);
            break;
        case C::PresetBand:
            v = quint8(p + 3);
            break;
        case C::KeyFunction:
            v = p >= 0 && p < settings::kKeyFunctionCount ? settings::keyFunctionCodes()[size_t(p)]
                                                          : 0;
            break;
        case C::Language:
            v = p == Japanese ? 0x01 : 0x00;
            break;
        case C::ChannelDisplay:
        case C::ChannelDisplayWriteOnly:
            v = p == 1 ? 0x0D : 0x00;
            break;
        case C::DialRing:
            if (p >= 0 && p < 4) {
                image[f.offset] = char(kDialRing[p][0]);
                image[f.offset + 2] = char(kDialRing[p][1]);
            }
            continue;
        }
        image[f.offset] = char(v);
    }
    for (const auto &c : settings::kConstants)
        image[c.offset] = char(c.value);
    for (int offset : settings::kImageWrittenBack)
        image[offset] = model.image()[offset];
    return image.mid(begin, end - begin);
}

void decodeWriteProtect(SettingsModel &model, quint8 byte) {
    // The radio holds the position in the low digit; the list has three entries.
    model.setPosition(Family::Mem, 0, byte & 0x0F);
}

} // namespace kpr5
