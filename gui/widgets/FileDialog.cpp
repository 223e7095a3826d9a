#include "gui/widgets/FileDialog.h"

#include <QFileDialog>

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
    QString selected = qtFilter.section(QStringLiteral(";;"), 0, 0);
    return QFileDialog::getSaveFileName(parent, QString(), directory, qtFilter, &selected);
}

QString getOpenFileName(QWidget *parent, const QString &filter, const QString &directory) {
    QString name;
    if (takeQueued(&name)) return name;
    const QString qtFilter = toQtFilter(filter);
    QString selected = qtFilter.section(QStringLiteral(";;"), 0, 0);
    return QFileDialog::getOpenFileName(parent, QString(), directory, qtFilter, &selected,
                                        QFileDialog::ReadOnly);
}

} // namespace kpr5::ui
