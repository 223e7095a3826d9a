// The main window's frame, menus, port choice, version window and splash,
// and which part of the radio every transfer button of the main, font and
// group windows reaches.

#include "GuiFixture.h"
#include "core/banks/BankTable.h"
#include "core/banks/GroupTable.h"
#include "core/files/Configuration.h"
#include "gui/banks/GroupWindow.h"
#include "gui/channels/ChannelGridView.h"
#include "gui/font/FontWindow.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/SplashWindow.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QtTest>

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
    for (auto it = byOp.cbegin(); it != byOp.cend(); ++it)
        out << QChar(it.key()) + QLatin1Char(' ') +
                   (it->size() <= 8 ? it->join(QLatin1Char(' '))
                                    : QStringLiteral("%1..%2 x%3")
                                          .arg(it->first(), it->last())
                                          .arg(it->size()));
    return out.join(QStringLiteral(", "));
}

// A main, font or group window with its own link.
struct WindowRig {
    explicit WindowRig(const QString &kind) {
        banks.reset();
        if (kind == QLatin1String("main")) {
            auto *main = new MainWindow;
            link = &main->link();
            window.reset(main);
        } else if (kind == QLatin1String("font")) {
            auto *editor = new FontWindow(font, std::make_shared<PortSettings>());
            link = &editor->link();
            window.reset(editor);
        } else {
            auto *groupWindow =
                new GroupWindow(banks, groups, mainLink.sharedPortSettings(), false);
            link = &groupWindow->link();
            window.reset(groupWindow);
        }
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
    void frame() {
        MainWindow w;
        QCOMPARE(w.objectName(), QStringLiteral("Form1"));
        QVERIFY(w.windowTitle().startsWith(QStringLiteral("T_KP-R5 Clone Utility Version1_7")));
        auto *tabs = find<QTabBar>(w, QStringLiteral("TabStrip1"));
        const QStringList captions = {"Memory", "Bank", "Common Set", "Set Mode"};
        QCOMPARE(tabs->count(), 4);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(tabs->tabText(i), captions[i]);
            find(w, QStringLiteral("A_FRAME(%1)").arg(i));
        }
        find<QProgressBar>(w, QStringLiteral("ProgressBar1"));
        QCOMPARE(text(w, QStringLiteral("Progress")), QStringLiteral("0%"));
    }

    void menus_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("menuCaption");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QStringList>("captions");
        const auto row = [](const char *menu, const char *caption, const QStringList &items,
                            const QStringList &captions) {
            QTest::newRow(menu) << QString(menu) << QString(caption) << items << captions;
        };
        row("FILE", "File(&F)", {"ReadFile", "TEST_CLICK", "FILE_INPORT", "FILE_EXPORT"},
            {"Open(&O)", "Save(&S)", "Import(&I)", "Export(&E)"});
        row("Tusin_Botton", "Communication(&T)", {"ALL_WRITE", "ALL_READ"},
            {"Write All Data(&A)", "Read All Data(&B)"});
        row("MenuHelp", "Help(&H)", {"MenuVersion"}, {"Version Infomation(&A)"});
        QStringList coms, comCaptions;
        for (int n = 1; n <= 16; ++n) {
            coms << QStringLiteral("MenuSetCom(%1)").arg(n);
            comCaptions << QStringLiteral("COM%1").arg(n);
        }
        row("MenuComPort", "COMPort(&C)", coms, comCaptions);
    }
    void menus() {
        QFETCH(QString, menu);
        QFETCH(QString, menuCaption);
        QFETCH(QStringList, items);
        QFETCH(QStringList, captions);
        MainWindow w;
        auto *m = find<QMenu>(w, menu);
        QCOMPARE(m->title(), menuCaption);
        for (int i = 0; i < items.size(); ++i) {
            auto *a = find<QAction>(w, items[i]);
            QCOMPARE(a->text(), captions[i]);
            QVERIFY(m->actions().contains(a));
        }
    }

    void portChoice() {
        MainWindow w;
        const auto checked = [&](int n) {
            return find<QAction>(w, QStringLiteral("MenuSetCom(%1)").arg(n))->isChecked();
        };
        QVERIFY(checked(1));
        // Every choice is kept in the configuration file.
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("KPR5Writer.INI"));
        config::setConfigurationPath(ini);
        click(w, QStringLiteral("MenuSetCom(12)"));
        QCOMPARE(w.link().portSettings().comPort, 12);
        QVERIFY(checked(12) && !checked(1));
        QVERIFY(QFileInfo(ini).size() > 0);
        QFile::remove(ini);

        // While a transfer runs the choice changes nothing.
        {
            test::OtherTransfer busy(w.link(), w);
            click(w, QStringLiteral("MenuSetCom(3)"));
            QCOMPARE(w.link().portSettings().comPort, 12);
            QVERIFY(checked(12) && !checked(3));
            QVERIFY(!QFileInfo::exists(ini));
        }

        w.selectDevicePath(QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(w.link().portName(), QStringLiteral("/dev/ttyUSB0"));
        for (int n = 1; n <= 16; ++n)
            QVERIFY(!checked(n));
        w.selectDevicePath(QStringLiteral("COM4"));
        QCOMPARE(w.link().portSettings().comPort, 4);
        QVERIFY(w.link().portSettings().devicePath.isEmpty());
        config::setConfigurationPath(QString());
    }

    void versionWindow() {
        MainWindow w;
        w.show();
        QString name, title;
        QStringList labels;
        auto shown = onModal(w, [&](QDialog *d) {
            name = d->objectName();
            title = d->windowTitle();
            for (auto *l : d->findChildren<QLabel *>())
                labels << l->text();
            click(*d, QStringLiteral("Command1"));
        });
        click(w, QStringLiteral("MenuVersion"));
        QVERIFY(shown->seen);
        QCOMPARE(name, QStringLiteral("Form3"));
        QCOMPARE(title, QStringLiteral("Version"));
        for (const char *label : {"VORANT KP-R5 Clone Utility", "Version 1_7", "2010/10/08"})
            QVERIFY2(labels.contains(QLatin1String(label)), label);

        // Not while a transfer runs.
        test::OtherTransfer busy(w.link(), w);
        shown = onModal(w);
        click(w, QStringLiteral("MenuVersion"));
        QTRY_VERIFY(shown->done);
        QVERIFY(!shown->seen);
    }

    void controlsDuringATransfer() {
        MainWindow w;
        w.transferStarted();
        QVERIFY(!find(w, QStringLiteral("TabStrip1"))->isEnabled());
        QVERIFY(!find<QMenu>(w, QStringLiteral("FILE"))->menuAction()->isEnabled());
        QVERIFY(!find<QMenu>(w, QStringLiteral("MenuComPort"))->menuAction()->isEnabled());
        w.setPercent(37);
        QCOMPARE(w.progressText()->text(), QStringLiteral("37%"));
        finishTransfer(w.link(), w);
        QVERIFY(!w.link().busy());
        QCOMPARE(w.progressText()->text(), QStringLiteral("0%"));
        QVERIFY(find(w, QStringLiteral("TabStrip1"))->isEnabled());
        QVERIFY(find<QMenu>(w, QStringLiteral("FILE"))->menuAction()->isEnabled());
    }

    // Every transfer button reaches its own part of the radio and no other:
    // the block frames it sends, on the window's own link.
    void transferButtons_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("frames");
        const auto row = [](const char *window, const char *button, const char *frames) {
            QTest::newRow(button) << QString(window) << QString(button) << QString(frames);
        };
        row("main", "READ_Botton", "R 01200..1A780 x1623");
        row("main", "WRITE_Botton", "W 01200..00F00 x1636");
        row("main", "MEM_ONE_READ", "R 01280 012C0"); // rows 4 up to 3
        row("main", "MEM_ONE_WRITE", "W 01280 012C0");
        row("main", "READ_BANK", "R 00200 00240");
        row("main", "WRITE_BANK", "W 00200 00240");
        // The settings travel with the DTMF memories and the setting byte; a
        // write reads the settings' blocks first, to keep what it does not own.
        const char *settingsRead = "R 00000 00040 00080 1FE01 01100 01133 01173";
        const char *settingsWrite = "R 00000 00040 00080, W 00000 00040 00080 01100 01133 01173";
        row("main", "Set_Mode_Read", settingsRead);
        row("main", "Set_Mode_Write", settingsWrite);
        row("main", "SETTING_READ", settingsRead);
        row("main", "SETTING_WRITE", settingsWrite);
        row("main", "READ_DTMF", "R 01100 01133 01173");
        row("main", "WRITE_DTMF", "W 01100 01133 01173");
        row("main", "READ_ONE_TOUCH", "R 00180");
        row("main", "WRITE_ONE_TOUCH", "W 00180");
        row("main", "TITLE_READ", "R 001A0");
        row("main", "TITLE_WRITE", "W 001A0");
        row("font", "R_FONT", "R 01040"); // character 2
        row("font", "FONT_WRITE", "W 01040");
        row("font", "READ_ALL", "R 01000 01020 01040 01060 01080 010A0 010C0 010E0");
        row("font", "WRITE_ALL", "W 01000 01020 01040 01060 01080 010A0 010C0 010E0");
        row("group", "GROUP_READ", "R 00100 00130");
        row("group", "GROUP_WRITE", "W 00100 00130");
    }
    void transferButtons() {
        QFETCH(QString, window);
        QFETCH(QString, button);
        QFETCH(QString, frames);
        sim::RadioSimulator radio;
        MessageRecorder messages;
        WindowRig rig(window);
        if (window == QLatin1String("main"))
            find<ChannelGridView>(*rig.window, QStringLiteral("MSFlexGrid1"))
                ->setCurrentCell(4, 1, 3);
        if (window == QLatin1String("font")) pick(*rig.window, QStringLiteral("FONT_LIST"), 2);
        connectLink(*rig.link, radio);
        rig.window->show();
        click(*rig.window, button);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.link->busy() && !messages.records.isEmpty(), 20000);
        QCOMPARE(blockFrames(radio.frames()), frames);
        QCOMPARE(messages.records.size(), 1);
        QCOMPARE(messages.records.first().title.trimmed(), QStringLiteral("Finish"));
    }

    // Closed while a transfer waits for the radio, a window ends it without a
    // message and closes; nothing more is sent.
    void closingDuringATransfer_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("button");
        for (const char *window : {"main", "font", "group"})
            QTest::newRow(window) << QString(window)
                                  << QString(*window == 'm'   ? "READ_Botton"
                                             : *window == 'f' ? "READ_ALL"
                                                              : "GROUP_WRITE");
    }
    void closingDuringATransfer() {
        QFETCH(QString, window);
        QFETCH(QString, button);
        sim::SimOptions silent;
        silent.silent = true;
        sim::RadioSimulator radio(silent);
        MessageRecorder messages;
        WindowRig rig(window);
        connectLink(*rig.link, radio, 5000);
        QWidget *w = rig.window.get();
        w->show();
        QTimer::singleShot(150, w, [w] { w->close(); });
        click(*w, button);
        QTRY_VERIFY(!w->isVisible() && !rig.link->busy());
        QVERIFY(messages.records.isEmpty());
        QCOMPARE(radio.frameCount(), 1);
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
