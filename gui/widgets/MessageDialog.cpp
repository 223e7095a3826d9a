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

} // namespace kpr5::ui
