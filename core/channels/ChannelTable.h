#pragma once
// The channel table: 1624 slots with twelve cell texts each and the per-slot
// values. Row r (1..1624) is slot r - 1; the grid shows rows 1..1623, row 1624
// exists only in these stores and is never transferred.
//
// The cell texts are the editor's record of each channel (the grid shows them
// as they are); beside them each slot keeps `inUse`, the five table indexes
// and `storedName`. The index values are bytes as the radio or a file gave
// them and may lie outside their tables: look them up through the checked
// functions of channels/ChannelTables.h.

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace kpr5 {

class ChannelTable : public QObject {
    Q_OBJECT
public:
    static constexpr int kSlots = 1624;
    static constexpr int kRows = 1623;
    static constexpr int kColumns = 12;

    enum Column {
        FreqCol = 1,
        ModeCol,
        StepCol,
        CarrierCol,
        ToneModeCol,
        TxToneCol,
        RxToneCol,
        DcsCol,
        ShiftCol,
        ShiftFreqCol,
        SkipCol,
        NameCol
    };

    // Row groups (first and last row of each).
    static constexpr int kFirstCallRow = 1401;
    static constexpr int kLastCallRow = 1403;
    static constexpr int kFirstBugRow = 1604;
    static constexpr int kLastBugRow = 1623;

    // Everything one slot holds: its twelve cell texts and its per-slot
    // values. Undo keeps rows as these values; CSV and paste build them.
    struct Slot {
        std::array<QString, kColumns> cells;
        quint8 inUse = 0;
        quint8 stepIndex = 0;
        quint8 txToneIndex = 8;
        quint8 rxToneIndex = 8;
        quint8 dcsIndex = 0;
        quint8 carrierIndex = 28;
        QString storedName;
        qint16 keptModeByte = -1;
        qint16 keptToneModeByte = -1;
        QByteArray keptNameField;
        bool operator==(const Slot &o) const {
            return cells == o.cells && inUse == o.inUse && stepIndex == o.stepIndex &&
                   txToneIndex == o.txToneIndex && rxToneIndex == o.rxToneIndex &&
                   dcsIndex == o.dcsIndex && carrierIndex == o.carrierIndex &&
                   storedName == o.storedName && keptModeByte == o.keptModeByte &&
                   keptToneModeByte == o.keptToneModeByte && keptNameField == o.keptNameField;
        }
        bool operator!=(const Slot &o) const { return !(*this == o); }
    };

    explicit ChannelTable(QObject *parent = nullptr);

    // Header text of column 1..12 ("Freqency" .. "Name"); empty otherwise.
    static QString columnHeader(int column);

    // Cell text of row 1..1624, column 1..12; other calls return empty / do nothing.
    QString text(int row, int column) const;
    void setText(int row, int column, const QString &text);

    // Per-slot values, slot 0..1623 (others: 0 / empty, setters ignore them).
    quint8 inUse(int slot) const;
    void setInUse(int slot, quint8 v);
    quint8 stepIndex(int slot) const;
    void setStepIndex(int slot, quint8 v);
    quint8 txToneIndex(int slot) const;
    void setTxToneIndex(int slot, quint8 v);
    quint8 rxToneIndex(int slot) const;
    void setRxToneIndex(int slot, quint8 v);
    quint8 dcsIndex(int slot) const;
    void setDcsIndex(int slot, quint8 v);
    quint8 carrierIndex(int slot) const;
    void setCarrierIndex(int slot, quint8 v);
    QString storedName(int slot) const;
    void setStoredName(int slot, const QString &name);

    // A mode or tone-mode byte read from the radio that is outside its table:
    // the cell shows "ERROR" and the byte is kept here, so that writing the
    // channel back unchanged sends the same byte. -1 when none is kept.
    // Setting the cell's text (setText) drops the kept byte.
    int keptModeByte(int slot) const;
    void setKeptModeByte(int slot, int byte);
    int keptToneModeByte(int slot) const;
    void setKeptToneModeByte(int slot, int byte);

    // A name field read from the radio that decoding does not reproduce (a
    // code outside the code page, an empty slot between characters, a second
    // code of a character): kept as it came, and written back while the
    // stored name is still the one decoded from it (ChannelRecord.h,
    // channelNameField). Empty when none is kept.
    QByteArray keptNameField(int slot) const;
    void setKeptNameField(int slot, const QByteArray &field);

    // The whole of slot 0..1623 (an empty Slot for others), and all of it
    // set at once (ignored for others).
    Slot slotValue(int slot) const;
    void setSlotValue(int slot, const Slot &value);

    // Row labels, row 1..1623 (column 0 of the grid).
    QString rowLabel(int row) const;
    // labels[0] is row 1; rows beyond the list keep their labels.
    void setRowLabels(const QStringList &labels);

    // Cells 1..12 empty, the five index fields and inUse 0, storedName and
    // the kept name field empty.
    void clearRow(int row);
    // The start-up contents: every slot empty with the default indexes
    // (tones 8, DCS 0, carrier 28, step 0), then the three call channels and
    // the twenty bug-detector presets. Row labels are not touched.
    void resetToStartup();

    // Hold back per-row change signals; the outermost endBatch() emits one
    // rowsChanged for the range of rows changed meanwhile (if any).
    void beginBatch();
    void endBatch();
    bool inBatch() const { return m_batchDepth > 0; }

    // The one place where rows (1..1624, as the grid counts) and slots
    // (0..1623, as the stores count) meet.
    static constexpr int slotOfRow(int row) { return row - 1; }
    static constexpr int rowOfSlot(int slot) { return slot + 1; }

    static bool isCallRow(int row) { return row >= kFirstCallRow && row <= kLastCallRow; }
    static bool isBugRow(int row) { return row >= kFirstBugRow && row <= kLastBugRow; }

Q_SIGNALS:
    // Rows (1..1623) whose cells or per-slot values changed.
    void rowsChanged(int firstRow, int lastRow);
    void labelsChanged();

private:
    static bool validSlot(int slot) { return slot >= 0 && slot < kSlots; }
    void setByte(int slot, quint8 Slot::*field, quint8 v);
    void touched(int row);

    std::vector<Slot> m_slots;
    QStringList m_labels;
    int m_batchDepth = 0;
    int m_batchFirst = 0; // 0: nothing changed in this batch
    int m_batchLast = 0;
};

} // namespace kpr5
