#pragma once
// The splash window `frmSplash`: shown at start, closed after 3000 ms
// (`Timer1`) or at the first key press, whichever comes first.

#include <QTimer>
#include <QWidget>

namespace kpr5 {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget *parent = nullptr);
    QTimer *timer() { return &m_timer; }

Q_SIGNALS:
    // Emitted once, when the splash closes itself.
    void finished();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void finish();
    QTimer m_timer;
    bool m_done = false;
};

} // namespace kpr5
