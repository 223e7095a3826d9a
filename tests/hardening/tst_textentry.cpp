// What enters the cp932Forms from outside.
//
// Every way text enters a name field, the title field or a digit field passes
// one filter and one limit: typed keys, input-method commits, Ctrl+V, the
// middle button (the X11 selection; run under Xvfb, since the offscreen
// platform has no selection) and drag and drop. The forms Japanese input
// methods on Linux commit (〜 − ‖ ¢ £ ¬ — ¥) arrive as the code page 932
// characters the radio takes. A paste taken only in part says so.
//
// And the cp932Forms name what a file lost when it was read: names cut, CSV
// rows emptied.

#include "GuiFixture.h"
#include "core/channels/ChannelTable.h"
#include "gui/channels/DetailDialog.h"
#include "gui/shell/MainWindow.h"
#include "gui/widgets/FileDialog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace kpr5;
using namespace kpr5::test;

namespace {

enum Path { Keys, InputMethod, CtrlV, MiddleButton, Drop };
const char *const kPathNames[] = {"keys", "input method", "Ctrl+V", "middle button", "drop"};

void enter(QLineEdit *field, Path path, const QString &text) {
    field->setFocus();
    switch (path) {
    case Keys:
        type(field, text);
        break;
    case InputMethod: {
        QInputMethodEvent im;
        im.setCommitString(text);
        QApplication::sendEvent(field, &im);
        break;
    }
    case CtrlV:
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        break;
    case MiddleButton:
        QGuiApplication::clipboard()->setText(text, QClipboard::Selection);
        QTest::mouseClick(field, Qt::MiddleButton, {}, QPoint(field->width() - 2, 5));
        break;
    case Drop: {
        QMimeData data;
        data.setText(text);
        const QPoint at(field->width() - 2, 5);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(field, &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(field, &drop);
        break;
    }
    }
}

} // namespace

class TextEntryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { ui::setNextFileNames({}); }

    void entryPaths_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("path");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");
        struct Case {
            const char *name;
            const char *field;
            QString text, kept;
        };
        // 〜 − ‖ ¢ £ ¬ — and the yen key as code page 932 has them: 15 bytes.
        const QString jisForms =
            QStringLiteral(u"\u301C\u2212\u2016\u00A2\u00A3\u00AC\u2014\u00A5");
        const QString cp932Forms = QStringLiteral(u"\uFF5E\uFF0D\u2225\uFFE0\uFFE1\uFFE2\u2015\\");
        const Case cases[] = {
            {"name, Japanese forms", "DETAIL_NAME", jisForms, cp932Forms},
            {"title, Japanese forms", "TITLE_TEXT", jisForms, cp932Forms},
            {"name, 16 bytes", "DETAIL_NAME", QStringLiteral("ABCDEFGHIJKLMNOPQRS"),
             QStringLiteral("ABCDEFGHIJKLMNOP")},
            {"title, allowed set", "TITLE_TEXT", QStringLiteral(u"AB亜:1~CD"),
             QStringLiteral("AB:1~CD")},
            {"digits", "DETAIL_FREQ_1", QStringLiteral("1a2b3c4d5"), QStringLiteral("1234")},
        };
        for (const Case &c : cases)
            for (int p = Keys; p <= Drop; ++p)
                QTest::addRow("%s, %s", c.name, kPathNames[p])
                    << QString::fromLatin1(c.field) << p << c.text << c.kept;
    }
    void entryPaths() {
        QFETCH(QString, field);
        QFETCH(int, path);
        QFETCH(QString, text);
        QFETCH(QString, kept);
        if (path == MiddleButton && !QGuiApplication::clipboard()->supportsSelection()) {
            // The same row on X11, under a virtual display.
            const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
            QVERIFY2(!xvfb.isEmpty(), "xvfb-run (scripts/setup.sh installs it) is needed");
            QProcess child;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
            child.setProcessEnvironment(env);
            child.setProcessChannelMode(QProcess::MergedChannels);
            child.start(xvfb, {QStringLiteral("-a"), QCoreApplication::applicationFilePath(),
                               QStringLiteral("entryPaths:") +
                                   QString::fromLatin1(QTest::currentDataTag())});
            QVERIFY(child.waitForFinished(60000));
            const QByteArray output = child.readAll();
            QVERIFY2(child.exitCode() == 0 && output.contains(" 0 failed"), output.constData());
            return;
        }
        MessageRecorder messages;
        ChannelTable table;
        edit::EditState state;
        std::unique_ptr<DetailDialog> dialog;
        std::unique_ptr<MainWindow> window;
        QWidget *top = nullptr;
        if (field == QLatin1String("TITLE_TEXT")) {
            window = std::make_unique<MainWindow>();
            top = window.get();
        } else {
            dialog = std::make_unique<DetailDialog>(table, state);
            top = dialog.get();
        }
        top->show();
        QVERIFY(QTest::qWaitForWindowExposed(top));
        auto *edit = top->findChild<QLineEdit *>(field);
        QVERIFY(edit);
        enter(edit, Path(path), text);
        QCOMPARE(edit->text(), kept);
        if (window) QCOMPARE(window->document().title.displayText(), kept);
        // A paste or drop taken only in part says so; typing never does.
        const bool partPasted = path >= CtrlV && kept.size() < text.size();
        QCOMPARE(messages.texts(), partPasted
                                       ? QStringList{"Part of the pasted text was left out|Caution"}
                                       : QStringList{});
    }

    // Open and Import name what the file lost: names cut, CSV rows emptied.
    void windowsNameWhatAFileLost_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("detail");
        QTest::newRow("data file")
            << "ReadFile"
            << "long.R5"
            << QByteArray("h\r\nCH00000145.0000000020008080000000.0000" + QByteArray(20, 'N') +
                          "\r\n")
            << "Read File|Finish"
            << "CH0000: the name was cut to the 16 characters the radio holds.";
        QTest::newRow("CSV") << "FILE_INPORT"
                             << "rows.CSV"
                             << QByteArray(
                                    ",Freqency,mode,step,Carrier,Tone/DCS,Tx-tone,Rx-tone,"
                                    "DCS,Shift,Shift-Freq,Skip,Name,0\r\n"
                                    ",145.00000,FM,5KHz,JR,None,88.5Hz,88.5Hz,023,Off,,,A,1\r\n"
                                    ",145.00000,FM,5KHz,JR,None,88.5Hz,88.5Hz,023,Off,,,"
                                    "ABCDEFGHIJKLMNOPQ,2\r\n"
                                    ",145.00000,FM,9KHz,JR,None,88.5Hz,88.5Hz,023,Off,,,A,3\r\n")
                             << "Inport CSV File| Finish"
                             << "Rows emptied, their step is not one the table knows: 3\n"
                                "Names cut to the 16 characters the radio holds: rows 2";
    }
    void windowsNameWhatAFileLost() {
        QFETCH(QString, action);
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QFETCH(QString, detail);
        QTemporaryDir dir;
        QFile f(dir.filePath(file));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        MessageRecorder messages;
        MainWindow w;
        ui::setNextFileNames({f.fileName()});
        w.findChild<QAction *>(action)->trigger();
        QCOMPARE(messages.texts(), QStringList{message});
        QCOMPARE(messages.records.first().detail, detail);
    }
};

QTEST_MAIN(TextEntryTest)
#include "tst_textentry.moc"
