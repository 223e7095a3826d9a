#include "gui/shell/VersionWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kpr5 {

VersionWindow::VersionWindow(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Version"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    auto addLabel = [&](const QString &text, const char *name) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        layout->addWidget(l);
        return l;
    };
    auto *picture = addLabel(QStringLiteral("KP-R5"), "Picture1");
    QFont big = picture->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    picture->setFont(big);
    addLabel(QStringLiteral("VORANT KP-R5 Clone Utility"), "Label1");
    addLabel(QStringLiteral("Version 1_7"), "Label2");
    addLabel(QStringLiteral("2010/10/08"), "Label3");
    auto *notice = addLabel(tr("Reads, edits and writes the memory of the KP-R5 handheld "
                               "through its clone cable. Keep a saved data file of your "
                               "radio before writing to it."),
                            "Label4");
    notice->setWordWrap(true);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

} // namespace kpr5
