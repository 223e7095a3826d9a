#pragma once
// The catalogue of the radio's settings: every item of the "Set Mode" and
// "Common Set" pages with its list family and element, its captions and
// options in Japanese and English, its default and what the two pages'
// Reset buttons do to it; the frame captions; and the key function list
// shared by the Wild and Lamp key items with the radio's function codes.
//
// Positions are stable between the languages: the Japanese and English
// option lists of one item always have the same length and meaning.

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace kpr5 {

struct SettingFamily {
    Q_GADGET
public:
    // The indexed list families; Preset, Mem and Combo1 are single lists
    // (element 0).
    enum class Family {
        Display,  // Set_Mode_Display 0..15
        Power,    // Set_Mode_Power 0..2
        Send,     // Set_Mode_Send 0..12
        Sound,    // Set_Mode_Sound 0..5
        Recv,     // Set_Mode_Recv 0..7
        Scan,     // Set_Mode_Scan 0..9
        Repeater, // Set_Mode_Repeater 0..3 (1 and 2 have no list on any page)
        Key,      // Set_Mode_Key 0..12
        Toutyou,  // Set_Mode_Toutyou 0..1 (bug detector)
        Preset,   // Set_Mode_Preset
        Mem,      // Set_Mode_Mem(0)
        Combo1,   // channel display mode
    };
    Q_ENUM(Family)
};
using Family = SettingFamily::Family;

constexpr int kFamilyCount = 12;

// Languages as the radio's Language item numbers them.
enum Language { Japanese = 0, English = 1 };

// Where an item's row stands.
enum class SettingFrameId {
    Display,        // Frame8  <SCREEN DISPLAY>
    Power,          // Frame9  <POWER & BATT.>
    Sound,          // Frame10 <SOUND>
    Transmitter,    // Frame11 <TRANSMITTER>
    Repeater,       // Frame12 <REPEATER>
    Receiver,       // Frame14 <RECEIVER>
    Memory,         // Frame16 MEMORY
    Scanning,       // Frame17 <SCANNING>
    BugDetector,    // Frame18 <BUG DETECTOR>
    Keys,           // Frame19 <KEY ASSIGNMENT>
    ChannelDisplay, // Frame1 CH.Display Mode
    CommonLeft,     // Common Set page, frame "Setting", first column
    CommonRight,    // Common Set page, frame "Setting", second column
    None,           // stored only (Set_Mode_Repeater 1 and 2)
};
constexpr int kFrameCount = 13; // without None

struct SettingItem {
    Family family;
    int element;
    QString captionEn;
    QString captionJa;
    QStringList optionsEn;
    QStringList optionsJa; // equals optionsEn for fixed lists
    bool fixed;            // the same in both languages; never rebuilt
    int defaultPosition;
    int setModeReset; // position set by `Set_Mode_Clear`; -1 keeps the value
    int commonReset;  // position set by `SETTING_RESET`; -1 keeps the value
    SettingFrameId frame;
    bool sharesRow; // stands beside the previous item's list, under one caption

    int optionCount() const { return int(optionsEn.size()); }
    const QStringList &options(int language) const {
        return language == Japanese ? optionsJa : optionsEn;
    }
    const QString &caption(int language) const {
        return language == Japanese ? captionJa : captionEn;
    }
    bool hasList() const { return frame != SettingFrameId::None; }
};

namespace settings {

// "Set_Mode_Display", … , "Combo1".
QString familyName(Family family);
// Number of elements of a family (Display 16, Power 3, …, single lists 1).
int familySize(Family family);
// The list control's objectName: "Set_Mode_Display(3)", "Set_Mode_Preset", "Combo1".
QString controlName(Family family, int element);

// Every item, in page order (frame by frame, row by row).
const std::vector<SettingItem> &catalogue();
// The item of a family element; nullptr when the element is not an item.
const SettingItem *item(Family family, int element);

// Frames: objectName ("Frame8" …, "setting" for both Common Set columns) and caption.
QString frameName(SettingFrameId frame);
QString frameCaption(SettingFrameId frame, int language);
// The caption label family of a frame's rows ("Label12" …); a row's label is
// "Label12(row)".
QString labelFamily(SettingFrameId frame);

// The key function list of the Wild and Lamp keys: 51 names and codes.
constexpr int kKeyFunctionCount = 51;
const QStringList &keyFunctionNames(int language);
const std::array<quint8, kKeyFunctionCount> &keyFunctionCodes();
// The first position whose code equals the byte; -1 when none does.
int keyFunctionPosition(quint8 code);

// Other texts of the two pages that follow the language.
QString openingSlideCaption(int language); // `DOUSA` on the Common Set page
QString settingFrameCaption();             // "Setting"

} // namespace settings
} // namespace kpr5
