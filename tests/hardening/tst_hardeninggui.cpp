// The main window's side of "nothing lost": the File menu's "Backups" item,
// the backup after "Read All Data", and "Verify after write" under
// Communication, against the simulated radio; and the real message boxes.

#include "GuiFixture.h"
#include "core/files/Backups.h"
#include "gui/shell/MainWindow.h"

using namespace kpr5;
using namespace kpr5::test;

// Receives what the window asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl &url) { urls << url; }
};

class HardeningGuiTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { usePrivateStandardPaths(); }

    // "Backups" opens the folder, made first if it is not there yet; it is
    // empty until "Read All Data" keeps the set it read.
    void readAllKeepsABackup() {
        sim::RadioSimulator radio;
        radio.write(0x1A0, QByteArray::fromHex("48004900")); // title "HI"
        MessageRecorder messages;
        MainWindow w;
        w.show();
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        click(w, QStringLiteral("MenuBackups"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QVERIFY(catcher.urls.size() == 1 &&
                catcher.urls.first().toLocalFile() == backupDirectory());
        const QDir dir(backupDirectory());
        QVERIFY(dir.exists() && dir.isEmpty());
        connectLink(w.link(), radio);
        click(w, QStringLiteral("ALL_READ"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Success ALL DATA READ| Finish")});
        const QStringList files = dir.entryList(QDir::Files, QDir::Name);
        QVERIFY2(files.size() == 2 && files[0].endsWith(QStringLiteral(".FR5")) &&
                     files[1].endsWith(QStringLiteral(".R5")),
                 qPrintable(files.join(QLatin1Char(' '))));
        QFile data(dir.filePath(files[1]));
        QVERIFY(data.open(QIODevice::ReadOnly) && data.readAll().contains("\r\nTITLEHI\r\n"));
    }

    // The radio's title changes between the write and the read-back (when
    // the write's "Success" is shown): the check names it.
    void verifyAfterWriteNamesTheDifference() {
        sim::RadioSimulator radio;
        MessageRecorder messages;
        messages.onMessage = [&](const ui::MessageRecord &r) {
            if (r.text == QLatin1String("Success")) radio.write(0x1A0, QByteArray("X", 1));
        };
        MainWindow w;
        w.show();
        connectLink(w.link(), radio);
        w.document().title.setDisplayText(QStringLiteral("HELLO"));
        find<QAction>(w, QStringLiteral("VERIFY_AFTER_WRITE"))->setChecked(true);
        click(w, QStringLiteral("ALL_WRITE"));
        QCOMPARE(messages.texts(),
                 (QStringList{QStringLiteral("Success| Finish"),
                              QStringLiteral("Verify: title differ (1 block)| Verify")}));
    }

    // The real boxes (no hook): the answer is the button clicked. Every other
    // window test answers through the hook, so only this sees the box itself.
    void realBoxesAnswerAsClicked() {
        using B = QMessageBox;
        ui::setMessageHook({});
        // The unsaved-changes question, or an OK/Cancel message.
        const auto answer = [](bool question, B::StandardButton button) {
            QTimer::singleShot(0, [button] {
                qobject_cast<B *>(QApplication::activeModalWidget())->button(button)->click();
            });
            return int(question ? ui::askSaveChanges(nullptr, QStringLiteral("Save?"), {})
                                : ui::showMessage(nullptr, QStringLiteral("Text"), {}, {}, true));
        };
        QCOMPARE(answer(false, B::Ok), int(ui::Answer::Ok));
        QCOMPARE(answer(false, B::Cancel), int(ui::Answer::Cancel));
        QCOMPARE(answer(true, B::Save), int(ui::Answer::Save));
        QCOMPARE(answer(true, B::Discard), int(ui::Answer::Discard));
        QCOMPARE(answer(true, B::Cancel), int(ui::Answer::Cancel));
    }
};

QTEST_MAIN(HardeningGuiTest)
#include "tst_hardeninggui.moc"
