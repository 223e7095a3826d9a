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
        // 〜 − ‖ ¢ £ ¬ — and the yen key, then as code page 932 has them: 15 bytes.
        const char16_t *jis = u"\u301C\u2212\u2016\u00A2\u00A3\u00AC\u2014\u00A5",
                       *cp932 = u"\uFF5E\uFF0D\u2225\uFFE0\uFFE1\uFFE2\u2015\\";
        const struct {
            const char *name, *field;
            const char16_t *text, *kept;
        } cases[] = {
            {"name, Japanese forms", "DETAIL_NAME", jis, cp932},
            {"title, Japanese forms", "TITLE_TEXT", jis, cp932},
            {"name, 16 bytes", "DETAIL_NAME", u"ABCDEFGHIJKLMNOPQRS", u"ABCDEFGHIJKLMNOP"},
            {"title, allowed set", "TITLE_TEXT", u"AB亜:1~CD", u"AB:1~CD"},
            {"digits", "DETAIL_FREQ_1", u"1a2b3c4d5", u"1234"},
        };
        for (const auto &c : cases)
            for (int p = Keys; p <= Drop; ++p)
                QTest::addRow("%s, %s", c.name, kPathNames[p])
                    << QString::fromLatin1(c.field) << p << QString::fromUtf16(c.text)
                    << QString::fromUtf16(c.kept);
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
            child.start(xvfb, {QStringLiteral("-a"), QCoreApplication::applicationFilePath(),
                               QStringLiteral("-platform"), QStringLiteral("xcb"),
                               QStringLiteral("entryPaths:") +
                                   QString::fromLatin1(QTest::currentDataTag())});
            QVERIFY(child.waitForFinished(60000));
            const QByteArray output = child.readAllStandardOutput();
            QVERIFY2(child.exitCode() == 0 && output.contains(" 0 failed"), output.constData());
            return;
        }
        MessageRecorder messages;
        ChannelTable table;
        edit::EditState state;
        std::unique_ptr<QWidget> top(field == QLatin1String("TITLE_TEXT")
                                         ? static_cast<QWidget *>(new MainWindow)
                                         : new DetailDialog(table, state));
        top->show();
        QVERIFY(QTest::qWaitForWindowExposed(top.get()));
        auto *edit = find<QLineEdit>(*top, field);
        enter(edit, Path(path), text);
        QCOMPARE(edit->text(), kept);
        if (auto *window = qobject_cast<MainWindow *>(top.get()))
            QCOMPARE(window->document().title.displayText(), kept);
        // A paste or drop taken only in part says so; typing never does.
        const QStringList said{QStringLiteral("Part of the pasted text was left out|Caution")};
        QCOMPARE(messages.texts(),
                 path >= CtrlV && kept.size() < text.size() ? said : QStringList());
    }

    // Open and Import name what the file lost: names cut, CSV rows emptied.
    void windowsNameWhatAFileLost() {
        const char *const cases[][4] = {
            {"ReadFile", "name-too-long.R5", "Read File|Finish",
             "CH0000: the name was cut to the 16 characters the radio holds."},
            {"FILE_INPORT", "step-and-name-lost.CSV", "Inport CSV File| Finish",
             "Rows emptied, their step is not one the table knows: 3\n"
             "Names cut to the 16 characters the radio holds: rows 2"}};
        for (const auto &[action, file, message, detail] : cases) {
            MessageRecorder messages;
            MainWindow w;
            ui::setNextFileNames({QFINDTESTDATA(QStringLiteral("../data/") + QLatin1String(file))});
            click(w, QLatin1String(action));
            QCOMPARE(messages.texts(), QStringList{QLatin1String(message)});
            QCOMPARE(messages.records.first().detail, QLatin1String(detail));
        }
    }
};

QTEST_MAIN(TextEntryTest)
#include "tst_textentry.moc"
