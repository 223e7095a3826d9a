#pragma once
// From the detail editor to the channel table: the acceptance rules that
// repair or erase what was typed, the edit buffer that carries the result
// out of the editor, and the commit that applies it to the table once the
// editor has closed (refusing a pass channel that duplicates another).
//
// Frequencies are compared as whole numbers of 10 Hz:
// integer part * 100000 + the five decimals.

#include <QString>

#include <optional>

namespace kpr5 {

class ChannelTable;

namespace edit {

// Slot groups (slot = row - 1).
constexpr int kFirstDualSlot = 1100; // "(Main)" slots are the even ones up to 1298
constexpr int kLastDualSlot = 1299;
constexpr int kFirstCallSlot = 1400; // CALL-VHF, CALL-UHF, CALL-1.2
constexpr int kLastCallSlot = 1402;
constexpr int kFirstPassSlot = 1403;
constexpr int kLastPassSlot = 1502;
constexpr int kFirstBugSlot = 1603;
constexpr int kLastBugSlot = 1622;

inline bool isDualWatchSlot(int slot) {
    return slot >= kFirstDualSlot && slot <= kLastDualSlot;
}
inline bool isCallSlot(int slot) {
    return slot >= kFirstCallSlot && slot <= kLastCallSlot;
}
inline bool isPassSlot(int slot) {
    return slot >= kFirstPassSlot && slot <= kLastPassSlot;
}
inline bool isBugSlot(int slot) {
    return slot >= kFirstBugSlot && slot <= kLastBugSlot;
}

// The editor's own codes: the index of the chosen option button.
// Mode: 0 "FM", 1 "AM", 2 "NFM", 3 "WFM" (not the radio's order).
// Squelch type: 0 "None", 1 "Tone", 2 "TSQ", 3 "SQ", 4 "DCS", 5 "Train".
// Shift: 0 "Off", 1 "+", 2 "-".
constexpr int kModeOptions = 4;
constexpr int kSquelchOptions = 6;
constexpr int kShiftOptions = 3;
const QStringList &modeOptionTexts();
const QStringList &squelchOptionTexts();
// Cell texts of a code; "ERROR" for a code outside the options.
QString modeCellText(int code);
QString squelchCellText(int code);
QString shiftCellText(int code);
// The option showing a cell text; nullopt when no option shows it.
std::optional<int> modeOption(const QString &cell);
std::optional<int> squelchOption(const QString &cell);
std::optional<int> shiftOption(const QString &cell);

// One column set of the edit buffer.
struct EditSet {
    QString frequency; // "145.50000"; empty: no frequency given
    int modeCode = 0;
    int squelchCode = 0;
    int stepIndex = 0;
    int txToneIndex = 8;
    int rxToneIndex = 8;
    int dcsIndex = 0;
    int carrierIndex = 28;
    int shiftCode = 0;
    QString shiftFrequency; // "0.600"
    bool skip = false;
    QString name; // display form
};

enum EditAction {
    NoEdit = 0,      // cancelled
    ClearEdited = 1, // clear the edited slot; of a pair, set the "(Sub)" slot
    SetEdited = 2,   // of a pair: set the edited slot, clear the "(Sub)" slot
    SetBoth = 3,     // set both slots of a pair
    ClearBoth = 5,   // clear both slots of a pair
    SetSingle = 100  // set the edited single slot
};

// The hand-over between the editor and the table.
struct EditState {
    int slot = -1;     // the edited slot (a pair's "(Main)" slot)
    EditSet buffer[2]; // [0] the edited slot, [1] the "(Sub)" slot of a pair
    int editAction = NoEdit;
    bool busy = false; // a commit runs: the table opens no editor
};

// The two halves of a typed frequency.
struct FrequencyFields {
    QString integer;  // MHz
    QString decimals; // up to five digits
};

// The acceptance rules for the frequency of `slot` (a pair's set: `pair`):
// the fields are repaired or erased in place, and the buffer's frequency
// text ("145.50000", or empty) is returned.
QString acceptFrequency(FrequencyFields &fields, int slot, bool pair);

// The shift-frequency corrections, each applied when its field loses the focus:
// the integer part without non-digits and leading zeros ("0" when empty); the
// decimals without non-digits, padded to three ("000" when empty), and at most
// 995 when the integer part is 999 (the largest shift is 999.995 MHz).
QString correctShiftInteger(const QString &typed);
QString correctShiftDecimals(const QString &integer, const QString &typed);

// `editAction` from the frequency texts of the buffer. A single slot without
// a frequency is cleared (its row emptied together with its in-use flag).
int editActionFor(bool pair, const QString &frequency, const QString &subFrequency);

// Whether the pass slot `slot` with the frequency text `frequency` lies within
// the same 1 kHz as another pass channel in use. The table is not changed.
bool checkPassOverlap(const ChannelTable &table, int slot, const QString &frequency);

inline const QString kOverlapText = QStringLiteral("Overlaps in Frequency");

enum class CommitResult { Nothing, Applied, Overlap };

// Applies the edit buffer as `editAction` says, then clears `editAction` and
// the busy flag. On Overlap nothing in the table has changed; the caller
// shows kOverlapText titled " Error".
CommitResult commitEdit(ChannelTable &table, EditState &state);

} // namespace edit
} // namespace kpr5
