#pragma once
// Open and save dialogs go through here, so that tests can answer them.
// Filters are given in the program's "Caption|pattern|Caption|pattern" form.

#include <QString>
#include <QStringList>
#include <QVariant>

class QWidget;

namespace kpr5::ui {

// The chosen path, or an empty string when the user cancelled. Save dialogs
// ask before overwriting; open dialogs need an existing file.
//
// Each kind of file (the extension of the filter's first pattern: R5, CSV,
// FR5) remembers the folder last chosen, and the dialogs start there when
// `directory` is a folder. A save dialog adds the first pattern's extension
// to a name without one while the first filter is chosen (the program's Open
// refuses names without it).
QString getSaveFileName(QWidget *parent, const QString &filter, const QString &directory);
QString getOpenFileName(QWidget *parent, const QString &filter, const QString &directory);

// Tests: the next dialogs answer these names in turn (an empty name cancels)
// without being shown.
void setNextFileNames(const QStringList &names);
// "A|*.A|B|*.B" -> "A (*.A);;B (*.B)"
QString toQtFilter(const QString &filter);

// What the windows remember between runs (folders, recent files), in
// "ui.ini" in the user's configuration folder.
QVariant setting(const QString &key);
void setSetting(const QString &key, const QVariant &value);

} // namespace kpr5::ui
