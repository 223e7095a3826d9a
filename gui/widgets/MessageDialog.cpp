#include "gui/widgets/MessageDialog.h"

#include <QMessageBox>

namespace kpr5::ui {

namespace {
MessageHook &hook() {
    static MessageHook h;
    return h;
}
} // namespace

void setMessageHook(MessageHook h) {
    hook() = std::move(h);
}

Answer showMessage(QWidget *parent, const QString &text, const QString &title,
                   const QString &detail, bool okCancel) {
    if (hook()) return hook()(MessageRecord{text, title, detail, okCancel});
    QMessageBox box(QMessageBox::NoIcon, title, text,
                    okCancel ? (QMessageBox::Ok | QMessageBox::Cancel) : QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    if (!detail.isEmpty()) box.setInformativeText(detail);
    return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

Answer askSaveChanges(QWidget *parent, const QString &text, const QString &title,
                      const QString &detail) {
    if (hook()) {
        MessageRecord record{text, title, detail};
        record.saveDiscardCancel = true;
        const Answer a = hook()(record);
        return a == Answer::Ok ? Answer::Discard : a;
    }
    QMessageBox box(QMessageBox::Warning, title, text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setObjectName(QStringLiteral("SaveChangesBox"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    if (!detail.isEmpty()) box.setInformativeText(detail);
    switch (box.exec()) {
    case QMessageBox::Save:
        return Answer::Save;
    case QMessageBox::Discard:
        return Answer::Discard;
    default:
        return Answer::Cancel;
    }
}

QString literalAmpersands(const QString &text) {
    QString out = text;
    out.replace(QLatin1Char('&'), QLatin1String("&&"));
    return out;
}

} // namespace kpr5::ui
