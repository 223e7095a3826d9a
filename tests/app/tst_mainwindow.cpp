// The main window during a transfer and its splash, and which part of the
// radio every transfer button of the main, font and group windows reaches.

#include "GuiFixture.h"
#include "core/banks/BankTable.h"
#include "core/banks/GroupTable.h"
#include "gui/banks/GroupWindow.h"
#include "gui/font/FontWindow.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/SplashWindow.h"

using namespace kpr5;
using namespace kpr5::test;

namespace {

// The block frames the radio received, per operation, in the order sent: the
// addresses (in hex), or the first and the last and the count of a long run.
QString blockFrames(const QList<QByteArray> &frames) {
    QMap<char, QStringList> byOp;
    for (const QByteArray &f : frames)
        if (f.startsWith("QX~F") && f.size() >= 10)
            byOp[f.at(9)] << QString::fromLatin1(f.mid(4, 5));
    QStringList out;
    for (auto it = byOp.cbegin(); it != byOp.cend(); ++it) {
        const QString run =
            QStringLiteral("%1..%2 x%3").arg(it->first(), it->last()).arg(it->size());
        out << QChar(it.key()) + QLatin1Char(' ') +
                   (it->size() <= 8 ? it->join(QLatin1Char(' ')) : run);
    }
    return out.join(QStringLiteral(", "));
}

// A main, font or group window with its own link.
struct WindowRig {
    explicit WindowRig(const QString &kind) {
        banks.reset();
        if (kind == QLatin1String("main"))
            take(new MainWindow);
        else if (kind == QLatin1String("font"))
            take(new FontWindow(font, std::make_shared<PortSettings>()));
        else
            take(new GroupWindow(banks, groups, mainLink.sharedPortSettings(), false));
    }
    template <class W> void take(W *w) {
        link = &w->link();
        window.reset(w);
    }
    FontImage font;
    BankTable banks;
    GroupTable groups;
    SerialLink mainLink;
    SerialLink *link = nullptr;
    std::unique_ptr<QWidget> window;
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // While a transfer runs, the pages and the port menu are out of reach
    // and the port stays; afterwards all is back.
    void duringATransfer() {
        MainWindow w;
        w.show();
        const int port = w.link().portSettings().comPort;
        const QString other = QStringLiteral("MenuSetCom(%1)").arg(port % 16 + 1);
        test::OtherTransfer busy(w.link(), w);
        QVERIFY(!find(w, QStringLiteral("TabStrip1"))->isEnabled());
        click(w, other);
        QVERIFY(w.link().portSettings().comPort == port && !find<QAction>(w, other)->isChecked());
        w.setPercent(37);
        busy.end();
        QCOMPARE(w.progressText()->text(), QStringLiteral("0%"));
        QVERIFY(find(w, QStringLiteral("TabStrip1"))->isEnabled());
    }

    // Every transfer button reaches its own part of the radio and no other:
    // the block frames it sends, on the window's own link.
    void transferButtons_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("frames");
        QFile table(QFINDTESTDATA("../data/transfer-buttons.txt"));
        QVERIFY(table.open(QIODevice::ReadOnly | QIODevice::Text));
        static const QRegularExpression row(QStringLiteral("^(\\w+) +(\\w+) +(.+)$"));
        for (const QString &line : QString::fromUtf8(table.readAll()).split(QLatin1Char('\n')))
            if (const auto m = row.match(line); m.hasMatch())
                QTest::newRow(qPrintable(m.captured(2))) << m.captured(1) << m.captured(3);
    }
    void transferButtons() {
        QFETCH(QString, window);
        QFETCH(QString, frames);
        sim::RadioSimulator radio;
        MessageRecorder messages;
        WindowRig rig(window);
        if (window == QLatin1String("main")) grid(*rig.window)->setCurrentCell(4, 1, 3);
        if (window == QLatin1String("font")) pick(*rig.window, QStringLiteral("FONT_LIST"), 2);
        connectLink(*rig.link, radio);
        rig.window->show();
        click(*rig.window, QString::fromLatin1(QTest::currentDataTag()));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.link->busy() && !messages.records.isEmpty(), 20000);
        QCOMPARE(blockFrames(radio.frames()), frames);
        QVERIFY(messages.records.size() == 1 &&
                messages.records.first().title.trimmed() == QLatin1String("Finish"));
    }

    // Closed while a transfer waits for the radio, a window ends it without a
    // message and closes; nothing more is sent.
    void closingDuringATransfer() {
        for (const auto &[kind, button] :
             {std::pair{"main", "READ_Botton"}, {"font", "READ_ALL"}, {"group", "GROUP_WRITE"}}) {
            sim::SimOptions silent;
            silent.silent = true;
            sim::RadioSimulator radio(silent);
            MessageRecorder messages;
            WindowRig rig{QLatin1String(kind)};
            connectLink(*rig.link, radio, 5000);
            QWidget *w = rig.window.get();
            w->show();
            QTimer::singleShot(150, w, [w] { w->close(); });
            click(*w, QLatin1String(button));
            QTRY_VERIFY2(!w->isVisible() && !rig.link->busy(), kind);
            QVERIFY2(messages.records.isEmpty() && radio.frameCount() == 1, kind);
        }
    }

    // The splash goes on a key or when its time is up.
    void splash() {
        SplashWindow s, timed;
        QSignalSpy finished(&s, &SplashWindow::finished), timedOut(&timed, &SplashWindow::finished);
        timed.timer()->setInterval(50);
        timed.show();
        s.show();
        QTest::keyClick(&s, Qt::Key_Space);
        QVERIFY(finished.count() == 1 && !s.isVisible() && !s.timer()->isActive());
        QTRY_COMPARE(timedOut.count(), 1);
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
