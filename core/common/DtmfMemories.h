#pragma once
// The ten DTMF auto-dialler memories and their five timing settings, with the
// rules for what may be typed into a memory and the coding of the radio's
// 165-byte DTMF area (0x01100-0x011A4), moved in three blocks.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>

namespace kpr5 {

class DtmfMemories : public QObject {
    Q_OBJECT
public:
    static constexpr int kMemoryCount = 10;
    static constexpr int kMaxDigits = 16;
    static constexpr int kBlockCount = 3;

    // The timing lists, in the order of the data file's "SET_DTMF" line.
    enum Timing { Wait, Head, Burst, Pause, DialChannel };
    static constexpr int kTimingCount = 5;

    // Memories empty, every list at its first entry (as at start-up).
    explicit DtmfMemories(QObject *parent = nullptr);

    // `COMMON_DTMF`(i): the text as the field holds it (it may hold other
    // characters until the field loses the focus). Empty for a bad index.
    QString memory(int index) const;
    bool setMemory(int index, const QString &text);

    int timing(Timing t) const;
    // Refused (false) outside the list.
    bool setTiming(Timing t, int position);
    static QStringList timingOptions(Timing t);
    static QString timingControlName(Timing t); // "COMMON_WAIT" …
    static QString timingCaption(Timing t);     // "Wait" …

    // `RESET_DTMF`: memories empty; Wait 1, Head 5, Burst 5, Pause 2, Dial 0.
    void reset();

    // --- key filter and clean-up of a memory field -------------------------
    enum class KeyAction { Accept, Discard, Empty };
    // What a key press does to a field holding `text`. `key` is the typed
    // character; use QChar(0x08) for Backspace.
    static KeyAction filterKey(const QString &text, QChar key);
    // The text without the characters a memory cannot hold (focus loss).
    static QString cleaned(const QString &text);
    // Bytes a text takes in code page 932 (double-byte characters count 2).
    static int byteLength(const QString &text);
    static bool isDtmfCharacter(QChar c);
    // Digit code of a character (0x00-0x10); -1 when it has none.
    static int digitCode(QChar c);

    // --- radio coding --------------------------------------------------------
    static quint32 blockAddress(int block); // 0x01100, 0x01133, 0x01173
    static int blockSize(int block);        // 51, 64, 50
    // The data bytes of a block; empty for another block number.
    QByteArray encodeBlock(int block) const;
    // Set the fields from a block's data bytes (at least blockSize bytes);
    // false (nothing changed) when the block number or length is wrong.
    bool decodeBlock(int block, const QByteArray &data);
    // One memory's 16 bytes, and back.
    static QByteArray encodeMemory(const QString &text);
    static QString decodeMemory(const QByteArray &bytes);

    // --- everything at once (undo) -----------------------------------------------
    struct State {
        std::array<QString, kMemoryCount> memories;
        std::array<int, kTimingCount> timing{};
        bool operator==(const State &o) const {
            return memories == o.memories && timing == o.timing;
        }
    };
    State state() const { return {m_memories, m_timing}; }
    void restore(const State &state);

Q_SIGNALS:
    void memoryChanged(int index, const QString &text);
    void timingChanged(int timing, int position);

private:
    std::array<QString, kMemoryCount> m_memories;
    std::array<int, kTimingCount> m_timing{};
};

} // namespace kpr5
