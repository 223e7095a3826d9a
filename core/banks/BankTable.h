#pragma once
// The bank table: how the radio's 1000 memory channels are divided into 50
// consecutive banks, and the bank area of the radio (0x00200-0x0027F) that
// carries it.
//
// Besides the 50 counts the table keeps the total that the bank page shows in
// `Total_Mem`. It is normally the sum of the counts, but after the counts
// were loaded from the radio or from a data file it shows 1000 whatever they
// add up to, until a count is edited again. Writing the banks and leaving the
// bank page are allowed only while this shown total is 1000.

#include <QByteArray>
#include <QList>
#include <QObject>

#include <array>

namespace kpr5 {

class BankTable : public QObject {
    Q_OBJECT
public:
    static constexpr int kBankCount = 50;
    static constexpr int kMemoryChannels = 1000;
    static constexpr int kMaxCount = 1000;
    using Counts = std::array<int, kBankCount>;

    explicit BankTable(QObject *parent = nullptr);

    // Banks 0-9 hold 100 channels each, banks 10-49 none.
    static Counts defaultCounts();

    int count(int bank) const; // 0 for a bank number out of range
    const Counts &counts() const { return m_counts; }
    int sum() const; // the real sum of the 50 counts
    int shownTotal() const { return m_shownTotal; }
    bool totalIsValid() const { return m_shownTotal == kMemoryChannels; }
    bool isAvailable(int bank) const { return count(bank) > 0; }
    // The non-empty banks in bank order.
    QList<int> nonEmptyBanks() const;

    // --- editing (each of these recomputes the shown total) -------------------
    // The count is clamped to 0..1000; an unknown bank is ignored.
    void setCount(int bank, int count);
    void setCounts(const Counts &counts);
    // `BANK_UP`: add delta (+1 or -1) to a bank while the result stays in
    // 0..1000; the shown total moves by the same amount (it is not
    // recomputed). False when nothing changed.
    bool stepCount(int bank, int delta);
    // A bank's text box taken over as a count: every character that is not a
    // digit is dropped, an empty text is 0, and a value above 1000 becomes 100.
    static int countFromText(const QString &text);
    // Recompute the shown total from the counts.
    void recomputeTotal();
    // `Bank_Clear`: the default table, total 1000.
    void reset();

    // --- loading --------------------------------------------------------------
    // The counts have come from the radio or a data file: the shown total is
    // 1000 from now until the next edit.
    void markLoaded();

    // --- the radio's bank area --------------------------------------------------
    static constexpr quint32 kAddress = 0x00200;
    static constexpr int kAreaSize = 128;
    static constexpr int kBlockSize = 64;
    // Sizes of the seven special areas PRG, Dual, PRIO, CALL, PASS, TSF, BUG,
    // always written as these constants.
    static constexpr std::array<int, 7> kSpecialSizes{100, 200, 100, 3, 100, 100, 20};

    // The 128 bytes of the area: 50 little-endian counts, the seven special
    // sizes, 14 zero bytes.
    QByteArray encodeArea() const;
    // One bank's count from its two bytes: low byte + 256 x low nibble of the high byte.
    static int decodeCount(quint8 low, quint8 high);
    // Take the counts of banks first.. from the bytes of a block read (two
    // bytes a bank, as many banks as the data holds, at most up to bank 49).
    void decodeCounts(int firstBank, const QByteArray &data, int bankCount);

    // --- the whole table at once (undo) -----------------------------------------
    struct State {
        Counts counts{};
        int shownTotal = kMemoryChannels;
        bool operator==(const State &o) const {
            return counts == o.counts && shownTotal == o.shownTotal;
        }
    };
    State state() const { return {m_counts, m_shownTotal}; }
    // The counts and the shown total as they were (one changed() if they differ).
    void restore(const State &state);

Q_SIGNALS:
    // Any count or the shown total changed.
    void changed();

private:
    void setShownTotal(int total);

    Counts m_counts{};
    int m_shownTotal = kMemoryChannels;
};

} // namespace kpr5
