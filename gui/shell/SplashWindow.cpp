#include "gui/shell/SplashWindow.h"

#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace kpr5 {

SplashWindow::SplashWindow(QWidget *parent) : QWidget(parent, Qt::SplashScreen) {
    setObjectName(QStringLiteral("frmSplash"));
    setFocusPolicy(Qt::StrongFocus);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 30, 40, 30);
    auto *picture = new QLabel(QStringLiteral("KP-R5"), this);
    picture->setObjectName(QStringLiteral("Picture1"));
    QFont big = picture->font();
    big.setPointSize(big.pointSize() * 3);
    big.setBold(true);
    picture->setFont(big);
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    auto *product = new QLabel(QStringLiteral("VORANT KP-R5 Clone Utility"), this);
    product->setObjectName(QStringLiteral("lblProductName"));
    layout->addWidget(product, 0, Qt::AlignHCenter);
    auto *version = new QLabel(QStringLiteral("Version 1_7"), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    layout->addWidget(version, 0, Qt::AlignHCenter);
    auto *legal = new QLabel(tr("Clone utility for the KP-R5 tri-band handheld."), this);
    legal->setObjectName(QStringLiteral("lblLegal"));
    layout->addWidget(legal, 0, Qt::AlignHCenter);

    m_timer.setObjectName(QStringLiteral("Timer1"));
    m_timer.setSingleShot(true);
    m_timer.setInterval(3000);
    connect(&m_timer, &QTimer::timeout, this, &SplashWindow::finish);
}

void SplashWindow::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!m_done && !m_timer.isActive()) m_timer.start();
    activateWindow();
    setFocus();
}

void SplashWindow::keyPressEvent(QKeyEvent *event) {
    event->accept();
    finish();
}

void SplashWindow::finish() {
    if (m_done) return;
    m_done = true;
    m_timer.stop();
    Q_EMIT finished(); // the main window shows before the splash goes away
    close();
}

} // namespace kpr5
