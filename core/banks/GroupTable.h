#pragma once
// The bank-link groups: 11 groups (Group0-Group9 and GroupB) x 50 banks, each
// cell linked or not, and a group flag per bank that the data file keeps
// ("GRI" line). The radio holds the groups in 88 bytes at 0x00100-0x00157,
// 8 bytes a group.

#include <QByteArray>
#include <QObject>

#include <array>

namespace kpr5 {

class BankTable;

class GroupTable : public QObject {
    Q_OBJECT
public:
    static constexpr int kGroupCount = 11; // index 10 is GroupB
    static constexpr int kBankCount = 50;
    static constexpr int kBytesPerGroup = 8;
    static constexpr quint32 kAddress = 0x00100;
    static constexpr int kAreaSize = kGroupCount * kBytesPerGroup; // 88
    // The two write blocks: groups 0-5 at 0x00100, groups 6-10 at 0x00130.
    static constexpr quint32 kBlock1Address = 0x00130;
    static constexpr int kBlock0Groups = 6;

    explicit GroupTable(QObject *parent = nullptr);

    static QString groupName(int group); // "Group0" .. "Group9", "GroupB"

    // False for indexes out of range.
    bool isLinked(int group, int bank) const;
    void setLinked(int group, int bank, bool linked);
    void toggle(int group, int bank);
    // `Command1` "Clear": every flag of every group.
    void clear();
    // A bank that holds no channel cannot be linked: clear its cells in all groups.
    void clearBank(int bank);
    void clearUnavailable(const BankTable &banks);

    // The data file's group flag per bank.
    bool bankFlag(int bank) const;
    void setBankFlag(int bank, bool flag);

    // Radio form of one group: bytes 0-5 banks 0-47 (most significant bit
    // first), byte 6 bit 7 = bank 48 and bit 6 = bank 49, byte 7 zero.
    QByteArray encodeGroup(int group) const;
    // The groups first..first+count-1, 8 bytes each.
    QByteArray encodeGroups(int first, int count) const;
    QByteArray encodeArea() const { return encodeGroups(0, kGroupCount); }
    // Set or clear every flag of a group from its 8 bytes (bits 5-0 of byte 6
    // and byte 7 are ignored). Too few bytes leave the group unchanged.
    void decodeGroup(int group, const QByteArray &bytes, int offset = 0);
    // Groups first.. from consecutive 8-byte runs, as many as the data holds.
    void decodeGroups(int first, int count, const QByteArray &bytes);

    // --- the whole table at once (undo) -----------------------------------------
    struct State {
        std::array<std::array<bool, kBankCount>, kGroupCount> linked{};
        std::array<bool, kBankCount> bankFlags{};
        bool operator==(const State &o) const {
            return linked == o.linked && bankFlags == o.bankFlags;
        }
    };
    State state() const { return {m_linked, m_bankFlags}; }
    void restore(const State &state);

Q_SIGNALS:
    void changed();

private:
    std::array<std::array<bool, kBankCount>, kGroupCount> m_linked{};
    std::array<bool, kBankCount> m_bankFlags{};
};

} // namespace kpr5
