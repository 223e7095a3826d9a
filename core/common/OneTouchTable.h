#pragma once
// The nine one-touch keys of the radio. Each key either points at a memory
// channel, given as a bank and the channel's number inside that bank, or is
// unassigned (its "No Setting" box, `NO_SET(k)`, checked).
//
// The editor does not keep bank numbers per key but list positions, as its
// lists show them: `COMMON_BANK(k)` lists the banks that held channels when
// the lists were last built (the non-empty-bank list, in bank order) and
// `COMMON_CH(k)` lists "0" .. count - 1 of the bank selected in it. The table
// keeps that list and the bank counts it was built from, so the positions
// always mean the same thing until the next rebuild.
//
// The radio keeps the keys in 27 bytes at 0x00180: per key the bank number
// (0xFF when unassigned), the channel number inside the bank, and a zero byte.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>

namespace kpr5 {

class BankTable;

class OneTouchTable : public QObject {
    Q_OBJECT
public:
    static constexpr int kKeyCount = 9;
    static constexpr quint32 kAddress = 0x00180;
    static constexpr int kAreaSize = 27;
    static constexpr int kBytesPerKey = 3;
    static constexpr quint8 kUnassignedByte = 0xFF;
    // The largest channel number the radio's channel byte can hold.
    static constexpr int kMaxChannelByte = 255;

    // The lists are built from the default bank table (banks 0-9 of 100
    // channels) and every key is unassigned, as after Reset.
    explicit OneTouchTable(QObject *parent = nullptr);

    // --- one key (k = 0..8; other keys read as unassigned, position 0) --------
    bool isUnassigned(int key) const;
    int bankPosition(int key) const;
    int channelPosition(int key) const;
    // The bank number at the key's bank position; -1 when the list is empty.
    int bankNumber(int key) const;
    // Number of entries of the key's channel list (the selected bank's count).
    int channelCount(int key) const;

    // `NO_SET(k)` checked or cleared; the positions stay as they are.
    void setUnassigned(int key, bool unassigned);
    // A bank chosen in `COMMON_BANK(k)`: its channel list is refilled and
    // "0" selected (also when the same bank is chosen again). False (nothing
    // changed) for a position outside the list.
    bool selectBank(int key, int position);
    // A channel chosen in `COMMON_CH(k)`. False outside the channel list.
    bool selectChannel(int key, int position);

    // --- the lists ----------------------------------------------------------
    // The non-empty-bank list (at most 50 bank numbers, in bank order).
    const QList<int> &bankList() const { return m_banks; }
    // The list entries as shown: "3", "7", … and "0" .. count - 1.
    QStringList bankEntries() const;
    QStringList channelEntries(int key) const;
    // The position of a bank number in the list; -1 when it is not there.
    int positionOfBank(int bankNumber) const;
    // The count of the bank at a list position (0 outside the list).
    int countAtPosition(int position) const;

    // Entering the "Common Set" page and opening the group window: rebuild
    // the non-empty-bank list from the bank table and keep every key's
    // choice where possible: a key whose bank still holds channels keeps it,
    // and its channel position when that is below the bank's new count
    // (else "0"); a key whose bank has become empty moves to position 0.
    // The `NO_SET` boxes do not change.
    void rebuildLists(const BankTable &banks);

    // `COMMON_ONE_TOUCH_RESET`: every key unassigned, bank and channel "0".
    void reset();

    // --- the radio's 27 bytes -------------------------------------------------
    // Why the keys cannot be written as they stand, naming the first key
    // that cannot (its channel number does not fit the channel byte, or it is
    // assigned while no bank holds channels); empty when they can.
    QString unwritableReason() const;
    // Bank byte (0xFF when unassigned), channel byte, 0x00, for k = 0..8.
    // Only meaningful when unwritableReason() is empty: a key that cannot be
    // written is encoded as unassigned here, never as another channel.
    QByteArray encodeArea() const;
    // Set the keys from the first 27 bytes of a block read (missing bytes
    // count as 0xFF, i.e. unassigned). A bank byte not in the list selects
    // position 0, channel 0, assigned; a channel byte at or beyond the
    // bank's count leaves channel 0.
    void decodeArea(const QByteArray &data);

    // --- everything at once (undo) -----------------------------------------------
    struct State {
        struct KeyValue {
            bool unassigned = true;
            int bankPosition = 0;
            int channelPosition = 0;
        };
        std::array<KeyValue, kKeyCount> keys{};
        QList<int> banks;
        QList<int> bankCounts;
        // Equal when every key shows the same box, bank number and channel:
        // lists that were only rebuilt from unchanged banks are no change.
        bool operator==(const State &o) const;
    };
    State state() const;
    // Keys and lists as they were (listsRebuilt, then keyChanged for each key).
    void restore(const State &state);

Q_SIGNALS:
    // A key's box, bank position or channel position changed.
    void keyChanged(int key);
    // The non-empty-bank list was rebuilt (every key may have changed).
    void listsRebuilt();

private:
    struct Key {
        bool unassigned = true;
        int bankPosition = 0;
        int channelPosition = 0;
    };
    static bool validKey(int key) { return key >= 0 && key < kKeyCount; }
    void setKey(int key, const Key &value);
    void setBankCounts(const std::array<int, 50> &counts);

    std::array<Key, kKeyCount> m_keys{};
    QList<int> m_banks;      // the non-empty-bank list
    QList<int> m_bankCounts; // count of each listed bank
};

} // namespace kpr5
