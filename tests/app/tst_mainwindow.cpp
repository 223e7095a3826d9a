// The main window's frame, menus, port choice, version window, splash and
// closing during a transfer.

#include "GuiFixture.h"
#include "core/files/Configuration.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/SplashWindow.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>

using namespace kpr5;
using namespace kpr5::test;

class MainWindowTest : public QObject {
    Q_OBJECT

    static QAction *action(MainWindow &w, const QString &name) {
        return w.findChild<QAction *>(name);
    }

private Q_SLOTS:
    void frame() {
        MainWindow w;
        QCOMPARE(w.objectName(), QStringLiteral("Form1"));
        QVERIFY(w.windowTitle().startsWith(QStringLiteral("T_KP-R5 Clone Utility Version1_7")));
        auto *tabs = w.findChild<QTabBar *>(QStringLiteral("TabStrip1"));
        QVERIFY(tabs);
        QCOMPARE(tabs->count(), 4);
        const QStringList captions = {"Memory", "Bank", "Common Set", "Set Mode"};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(tabs->tabText(i), captions[i]);
            QVERIFY(w.findChild<QWidget *>(QStringLiteral("A_FRAME(%1)").arg(i)));
        }
        QVERIFY(w.findChild<QProgressBar *>(QStringLiteral("ProgressBar1")));
        QCOMPARE(w.findChild<QLineEdit *>(QStringLiteral("Progress"))->text(),
                 QStringLiteral("0%"));
    }

    void menus_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("menuCaption");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("file") << "FILE"
                              << "File(&F)"
                              << QStringList{"ReadFile", "TEST_CLICK", "FILE_INPORT", "FILE_EXPORT"}
                              << QStringList{"Open(&O)", "Save(&S)", "Import(&I)", "Export(&E)"};
        QTest::newRow("communication")
            << "Tusin_Botton"
            << "Communication(&T)" << QStringList{"ALL_WRITE", "ALL_READ"}
            << QStringList{"Write All Data(&A)", "Read All Data(&B)"};
        QTest::newRow("help") << "MenuHelp"
                              << "Help(&H)" << QStringList{"MenuVersion"}
                              << QStringList{"Version Infomation(&A)"};
        QStringList coms, comCaptions;
        for (int n = 1; n <= 16; ++n) {
            coms << QStringLiteral("MenuSetCom(%1)").arg(n);
            comCaptions << QStringLiteral("COM%1").arg(n);
        }
        QTest::newRow("ports") << "MenuComPort"
                               << "COMPort(&C)" << coms << comCaptions;
    }
    void menus() {
        QFETCH(QString, menu);
        QFETCH(QString, menuCaption);
        QFETCH(QStringList, items);
        QFETCH(QStringList, captions);
        MainWindow w;
        auto *m = w.findChild<QMenu *>(menu);
        QVERIFY(m);
        QCOMPARE(m->title(), menuCaption);
        for (int i = 0; i < items.size(); ++i) {
            QAction *a = action(w, items[i]);
            QVERIFY2(a, qPrintable(items[i]));
            QCOMPARE(a->text(), captions[i]);
            QVERIFY(m->actions().contains(a));
        }
    }

    void portChoice() {
        MainWindow w;
        QVERIFY(action(w, "MenuSetCom(1)")->isChecked());
        // Every choice is kept in the configuration file.
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("KPR5Writer.INI"));
        config::setConfigurationPath(ini);
        const auto saved = [&] { return QFileInfo(ini).exists() ? QFileInfo(ini).size() : 0; };
        action(w, "MenuSetCom(12)")->trigger();
        QCOMPARE(w.link().portSettings().comPort, 12);
        QVERIFY(action(w, "MenuSetCom(12)")->isChecked());
        QVERIFY(!action(w, "MenuSetCom(1)")->isChecked());
        QVERIFY(saved() > 0);
        QFile::remove(ini);

        // While a transfer runs the choice changes nothing.
        {
            test::OtherTransfer busy(w.link(), w);
            action(w, "MenuSetCom(3)")->trigger();
            QCOMPARE(w.link().portSettings().comPort, 12);
            QVERIFY(action(w, "MenuSetCom(12)")->isChecked());
            QVERIFY(!action(w, "MenuSetCom(3)")->isChecked());
            QCOMPARE(saved(), 0);
        }

        w.selectDevicePath(QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(w.link().portName(), QStringLiteral("/dev/ttyUSB0"));
        for (int n = 1; n <= 16; ++n)
            QVERIFY(!action(w, QStringLiteral("MenuSetCom(%1)").arg(n))->isChecked());
        w.selectDevicePath(QStringLiteral("COM4"));
        QCOMPARE(w.link().portSettings().comPort, 4);
        QVERIFY(w.link().portSettings().devicePath.isEmpty());
        config::setConfigurationPath(QString());
    }

    void versionWindow() {
        MainWindow w;
        w.show();
        QString title;
        QStringList labels;
        QTimer::singleShot(0, this, [&] {
            auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(d);
            QCOMPARE(d->objectName(), QStringLiteral("Form3"));
            title = d->windowTitle();
            for (auto *l : d->findChildren<QLabel *>())
                labels << l->text();
            d->findChild<QWidget *>(QStringLiteral("Command1"))->setFocus();
            d->accept();
        });
        action(w, "MenuVersion")->trigger();
        QCOMPARE(title, QStringLiteral("Version"));
        QVERIFY(labels.contains(QStringLiteral("VORANT KP-R5 Clone Utility")));
        QVERIFY(labels.contains(QStringLiteral("Version 1_7")));
        QVERIFY(labels.contains(QStringLiteral("2010/10/08")));

        // Not while a transfer runs.
        test::OtherTransfer busy(w.link(), w);
        bool opened = false;
        QTimer::singleShot(0, this, [&] {
            if (auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                opened = true;
                d->reject();
            }
        });
        action(w, "MenuVersion")->trigger();
        QVERIFY(!opened);
    }

    void controlsDuringATransfer() {
        MainWindow w;
        w.transferStarted();
        QVERIFY(!w.findChild<QWidget *>(QStringLiteral("TabStrip1"))->isEnabled());
        QVERIFY(!w.findChild<QMenu *>(QStringLiteral("FILE"))->menuAction()->isEnabled());
        QVERIFY(!w.findChild<QMenu *>(QStringLiteral("MenuComPort"))->menuAction()->isEnabled());
        w.setPercent(37);
        QCOMPARE(w.progressText()->text(), QStringLiteral("37%"));
        finishTransfer(w.link(), w);
        QVERIFY(!w.link().busy());
        QCOMPARE(w.progressText()->text(), QStringLiteral("0%"));
        QVERIFY(w.findChild<QWidget *>(QStringLiteral("TabStrip1"))->isEnabled());
        QVERIFY(w.findChild<QMenu *>(QStringLiteral("FILE"))->menuAction()->isEnabled());
    }

    void closingDuringAWaitShowsNoMessage() {
        sim::SimOptions o;
        o.silent = true;
        sim::RadioSimulator radio(o);
        MessageRecorder messages;
        auto *w = new MainWindow;
        w->show();
        connectLink(w->link(), radio, 5000);
        QSignalSpy destroyed(w, &QObject::destroyed);
        w->setAttribute(Qt::WA_DeleteOnClose);
        QTimer::singleShot(150, w, [w] { w->close(); });
        Operation op(w->link(), *w);
        QVERIFY(op.begin());
        QVERIFY(!op.identify());
        QCOMPARE(radio.frameCount(), 1);
        QVERIFY(messages.records.isEmpty());
        QTRY_COMPARE(destroyed.count(), 1);
    }

    void splash() {
        SplashWindow s;
        QCOMPARE(s.objectName(), QStringLiteral("frmSplash"));
        QCOMPARE(s.timer()->interval(), 3000);
        QSignalSpy finished(&s, &SplashWindow::finished);
        s.show();
        QVERIFY(s.timer()->isActive());
        QTest::keyClick(&s, Qt::Key_Space);
        QCOMPARE(finished.count(), 1);
        QVERIFY(!s.isVisible());
        QVERIFY(!s.timer()->isActive());

        SplashWindow timed;
        timed.timer()->setInterval(50);
        QSignalSpy timedOut(&timed, &SplashWindow::finished);
        timed.show();
        QTRY_COMPARE(timedOut.count(), 1);
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
