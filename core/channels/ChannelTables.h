#pragma once
// The code tables of a channel's enumerated fields, as the radio numbers them.
//
// The radio's bytes (and the index fields of the channel table) may hold any
// value, so every lookup here is checked: an index outside a table gives
// kInvalidCodeText, and a text that is not in a table gives nullopt.

#include <QString>
#include <QStringList>

#include <optional>

namespace kpr5 {

// What a cell shows for a code or index outside its table.
inline const QString kInvalidCodeText = QStringLiteral("ERROR");

namespace channeltables {

constexpr int kModeCount = 4;     // 0 "NFM", 1 "FM", 2 "AM", 3 "WFM"
constexpr int kToneModeCount = 6; // 0 "None" .. 5 "DCS"
constexpr int kShiftCount = 3;    // 0 "Off", 1 "+", 2 "-"
constexpr int kStepCount = 16;
constexpr int kToneCount = 39;
constexpr int kDcsCount = 104;
constexpr int kCarrierCount = 29; // 300 Hz .. 3000 Hz, then "ＪＲ"

constexpr int kDefaultToneIndex = 8;     // "88.5Hz"
constexpr int kDefaultDcsIndex = 0;      // "023"
constexpr int kDefaultCarrierIndex = 28; // "ＪＲ"
constexpr int kPresetCarrierIndex = 20;  // "2300Hz"

const QStringList &modeTexts();
const QStringList &toneModeTexts();
const QStringList &shiftTexts();
const QStringList &stepTexts();
const QStringList &toneTexts();
const QStringList &dcsTexts();
const QStringList &carrierTexts();

// Checked lookups: kInvalidCodeText for an index outside the table.
QString modeText(int code);
QString toneModeText(int code);
QString stepText(int index);
QString toneText(int index);
QString dcsText(int index);
QString carrierText(int index);
// Shift codes outside the table show "Off", as the radio treats them.
QString shiftText(int code);

// Reverse lookups: the code of a cell text, nullopt when it is not in the table.
std::optional<int> modeCode(const QString &text);
std::optional<int> toneModeCode(const QString &text);
std::optional<int> shiftCode(const QString &text);
std::optional<int> stepIndex(const QString &text);
std::optional<int> toneIndex(const QString &text);
std::optional<int> dcsIndex(const QString &text);
std::optional<int> carrierIndex(const QString &text);

} // namespace channeltables
} // namespace kpr5
