#include "gui/widgets/FileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace kpr5::ui {

namespace {
QStringList &queue() {
    static QStringList q;
    return q;
}
bool takeQueued(QString *out) {
    if (queue().isEmpty()) return false;
    *out = queue().takeFirst();
    return true;
}

QSettings uiSettings() {
    return QSettings(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
                         QStringLiteral("/ui.ini"),
                     QSettings::IniFormat);
}

// "R5" for a filter whose first pattern is "*.R5"; empty for "*.*".
QString fileKind(const QString &filter) {
    const QString pattern = filter.section(QLatin1Char('|'), 1, 1);
    const QString suffix = pattern.section(QLatin1Char('.'), -1);
    return pattern.startsWith(QLatin1String("*.")) && suffix != QLatin1String("*") ? suffix
                                                                                   : QString();
}

QString folderKey(const QString &kind) {
    return QStringLiteral("folders/") + kind;
}

QString startIn(const QString &filter, const QString &directory) {
    const QString kind = fileKind(filter);
    if (kind.isEmpty() || !QFileInfo(directory).isDir()) return directory;
    const QString remembered = setting(folderKey(kind)).toString();
    return !remembered.isEmpty() && QFileInfo(remembered).isDir() ? remembered : directory;
}

QString remember(const QString &filter, const QString &path) {
    const QString kind = fileKind(filter);
    if (!path.isEmpty() && !kind.isEmpty())
        setSetting(folderKey(kind), QFileInfo(path).absolutePath());
    return path;
}
} // namespace

void setNextFileNames(const QStringList &names) {
    queue() = names;
}

QString toQtFilter(const QString &filter) {
    const QStringList parts = filter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString &caption = parts[i];
        const QString &pattern = parts[i + 1];
        out << (caption.contains(pattern) ? caption
                                          : QStringLiteral("%1 (%2)").arg(caption, pattern));
    }
    return out.join(QStringLiteral(";;"));
}

QString getSaveFileName(QWidget *parent, const QString &filter, const QString &directory) {
    QString name;
    if (takeQueued(&name)) return name;
    const QString qtFilter = toQtFilter(filter);
    const QString first = qtFilter.section(QStringLiteral(";;"), 0, 0);
    const QString suffix = fileKind(filter);
    QFileDialog dialog(parent, QString(), startIn(filter, directory), qtFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectNameFilter(first);
    dialog.setDefaultSuffix(suffix);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString &f) {
        dialog.setDefaultSuffix(f == first ? suffix : QString());
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return remember(filter, dialog.selectedFiles().first());
}

QString getOpenFileName(QWidget *parent, const QString &filter, const QString &directory) {
    QString name;
    if (takeQueued(&name)) return name;
    const QString qtFilter = toQtFilter(filter);
    QString selected = qtFilter.section(QStringLiteral(";;"), 0, 0);
    return remember(filter,
                    QFileDialog::getOpenFileName(parent, QString(), startIn(filter, directory),
                                                 qtFilter, &selected, QFileDialog::ReadOnly));
}

QVariant setting(const QString &key) {
    return uiSettings().value(key);
}

void setSetting(const QString &key, const QVariant &value) {
    QSettings s = uiSettings();
    s.setValue(key, value);
}

} // namespace kpr5::ui
