#pragma once
// Channel names and the opening title in their three forms:
//
//   radio form    16 slots of 16-bit little-endian code page 932 codes (32 bytes)
//   stored form   the decoded text; user characters 1..8 are U+2460..U+2467
//                 (code page 932 codes 0x8740..0x8747)
//   display form  the stored form with each user character written as its
//                 token ":1~" .. ":8~"
//
// plus the measure of a text, the allowed double-byte set, the filter against
// it and the key filter of the name and title fields.

#include <QByteArray>
#include <QString>

#include <array>

namespace kpr5::names {

constexpr int kFieldBytes = 32;
constexpr int kSlots = 16;
constexpr int kMaxLength = 16; // bytes of a name or the title
constexpr int kUserCharacters = 8;
constexpr char16_t kFirstUserCharacter = 0x2460; // stored form of user character 1
constexpr int kAllowedTableSize = 844;

// Radio form -> stored form. Empty slots are skipped wherever they are. A
// slot whose code the code page does not define decodes to U+FFFD. Only the
// first 32 bytes are read; missing bytes count as 0.
QString decodeField(const QByteArray &field);

// Stored form -> radio form (always 32 bytes). Characters fill the slots in
// order; NUL characters are skipped (they would read back as empty slots); a
// character code page 932 cannot represent is written as '?' (0x3F); after 16
// characters the rest is dropped.
QByteArray encodeField(const QString &stored);

// Display form <-> stored form. A token is recognised wherever it lies wholly
// inside the text; texts of one or two characters cannot hold one and are
// returned unchanged.
QString displayToStored(const QString &display);
QString storedToDisplay(const QString &stored);

// The token of user character n (1..8), ":n~".
QString userCharacterToken(int n);

// Length of a display text in code page 932 bytes, a token counting 2.
int measure(const QString &display);
// The number of tokens in a display text.
int tokenCount(const QString &display);

// The character slots a display text takes in the radio: one for every
// character of its stored form (a token is one user character).
int slotCount(const QString &display);
// The display text up to the end of its first `limit` characters (a token
// stays whole): what the radio's slots hold of it.
QString cutToSlots(const QString &display, int limit = kSlots);

// True when a radio field comes back unchanged from decoding and encoding:
// it holds no code the code page lacks, no empty slot between characters
// and no second code of a character that the code page writes otherwise.
// A field that does not must be kept as it came to reach the radio again.
bool fieldRoundTrips(const QByteArray &field);

// The allowed double-byte set: 844 entries, 824 of them codes, the rest 0.
const std::array<quint16, kAllowedTableSize> &allowedDoubleByteTable();
bool isAllowedDoubleByte(quint16 code);

// Keep the single-byte characters (codes 0x01..0xFF) and the double-byte
// characters of the allowed set, in order; drop everything else (NUL,
// double-byte characters outside the set, characters code page 932 cannot
// represent). Meant for display texts: a token is single-byte text and
// survives, a stored user character (U+2460..) does not.
QString filterAllowed(const QString &text);

// The key filter of a name or title field. `current` is the field's display
// text, `key` the character of the key press (8 Backspace, 22 Ctrl+V). True
// when the key may go into the field. `title` also applies the allowed
// double-byte set (the channel name fields filter their text instead).
bool acceptKey(const QString &current, char32_t key, bool title);

// Text entering a name or title field at the end of `current` (typed,
// committed by an input method, pasted or dropped): the characters of
// `inserted`, in their code page 932 forms (cp932::fromInputForms), that the
// key filter takes one after the other. Control characters never go in.
QString admitTyped(const QString &current, const QString &inserted, bool title);

} // namespace kpr5::names
