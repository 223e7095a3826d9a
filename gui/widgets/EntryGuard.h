#pragma once
// One gate for every way text enters a line edit: typed keys, input-method
// commits, Ctrl+V and Shift+Insert, the context menu's Paste, the middle
// button (the X11 selection) and drag and drop. Each passes the field's rule,
// which says what of the inserted text the field takes; nothing else gets in.

#include <QString>

#include <functional>

class QLineEdit;

namespace kpr5::ui {

// What of `inserted` the field takes, in order (characters may be replaced
// by the forms the field keeps), given the field's text without the part
// the insertion replaces (`rest`).
using EntryRule = std::function<QString(const QString &rest, const QString &inserted)>;

// Puts the rule on `field` (for the field's lifetime). A paste or drop that
// the field takes only in part is reported with a message box on the
// field's window ("Part of the pasted text was left out", titled
// "Caution"); a typed key the rule refuses is discarded without a message.
void guardEntry(QLineEdit *field, EntryRule rule);

// Rules of the program's fields.
// A name or the title: the key filter of names, character by character
// (16 bytes, a token counting 2; `title` also applies the allowed double-byte
// set), in code page 932 forms.
EntryRule nameRule(bool title);
// Digits only, at most `limit` of them in the field.
EntryRule digitRule(int limit);

} // namespace kpr5::ui
