#pragma once
// Open and save dialogs go through here, so that tests can answer them.
// Filters are given in the program's "Caption|pattern|Caption|pattern" form.

#include <QString>
#include <QStringList>

class QWidget;

namespace kpr5::ui {

// The chosen path, or an empty string when the user cancelled. Save dialogs
// ask before overwriting and add no extension; open dialogs need an existing file.
QString getSaveFileName(QWidget *parent, const QString &filter, const QString &directory);
QString getOpenFileName(QWidget *parent, const QString &filter, const QString &directory);

// Tests: the next dialogs answer these names in turn (an empty name cancels)
// without being shown.
void setNextFileNames(const QStringList &names);
// "A|*.A|B|*.B" -> "A (*.A);;B (*.B)"
QString toQtFilter(const QString &filter);

} // namespace kpr5::ui
