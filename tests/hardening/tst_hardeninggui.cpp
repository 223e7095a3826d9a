// The main window's side of "nothing lost": the File menu's "Backups" item,
// the backup after "Read All Data", and "Verify after write" under
// Communication, against the simulated radio; and the real message boxes.

#include "GuiFixture.h"
#include "core/files/Backups.h"
#include "gui/shell/MainWindow.h"
#include "gui/widgets/MessageDialog.h"

#include <QDesktopServices>
#include <QDir>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

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

    void menuItems() {
        MainWindow w;
        auto *backups = find<QAction>(w, QStringLiteral("MenuBackups"));
        QCOMPARE(backups->text(), QStringLiteral("Backups"));
        QVERIFY(find<QMenu>(w, QStringLiteral("FILE"))->actions().contains(backups));
        auto *verify = find<QAction>(w, QStringLiteral("VERIFY_AFTER_WRITE"));
        QCOMPARE(verify->text(), QStringLiteral("Verify after write"));
        QVERIFY(verify->isCheckable());
        QVERIFY(!verify->isChecked());
        QVERIFY(find<QMenu>(w, QStringLiteral("Tusin_Botton"))->actions().contains(verify));

        // "Backups" opens the folder, made first if it is not there yet.
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        backups->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(catcher.urls.size(), 1);
        QCOMPARE(catcher.urls.first().toLocalFile(), backupDirectory());
        QVERIFY(QDir(backupDirectory()).exists());
    }

    void readAllKeepsABackup() {
        sim::RadioSimulator radio;
        radio.write(0x1A0, QByteArray::fromHex("48004900")); // title "HI"
        MessageRecorder messages;
        MainWindow w;
        w.show();
        connectLink(w.link(), radio);
        const QStringList before = QDir(backupDirectory()).entryList(QDir::Files);
        click(w, QStringLiteral("ALL_READ"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Success ALL DATA READ| Finish")});
        QStringList added = QDir(backupDirectory()).entryList(QDir::Files, QDir::Name);
        for (const QString &f : before)
            added.removeAll(f);
        QCOMPARE(added.size(), 2);
        QVERIFY(added.at(0).endsWith(QStringLiteral(".FR5")));
        QVERIFY(added.at(1).endsWith(QStringLiteral(".R5")));
        QFile data(QDir(backupDirectory()).filePath(added.at(1)));
        QVERIFY(data.open(QIODevice::ReadOnly));
        QVERIFY(data.readAll().contains("\r\nTITLEHI\r\n"));
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
        QVERIFY(!w.link().busy());
    }

    // The real boxes (no hook): the answer is the button clicked. Every other
    // window test answers through the hook, so only this sees the box itself.
    void realBoxesAnswerAsClicked_data() {
        QTest::addColumn<bool>("question"); // the unsaved-changes question, or OK/Cancel
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("answer");
        QTest::newRow("OK") << false << int(QMessageBox::Ok) << int(ui::Answer::Ok);
        QTest::newRow("Cancel") << false << int(QMessageBox::Cancel) << int(ui::Answer::Cancel);
        QTest::newRow("Save") << true << int(QMessageBox::Save) << int(ui::Answer::Save);
        QTest::newRow("Discard") << true << int(QMessageBox::Discard) << int(ui::Answer::Discard);
        QTest::newRow("question, Cancel")
            << true << int(QMessageBox::Cancel) << int(ui::Answer::Cancel);
    }
    void realBoxesAnswerAsClicked() {
        QFETCH(bool, question);
        QFETCH(int, button);
        QFETCH(int, answer);
        ui::setMessageHook({});
        QTimer::singleShot(0, [button] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            box->button(QMessageBox::StandardButton(button))->click();
        });
        const ui::Answer got =
            question ? ui::askSaveChanges(nullptr, QStringLiteral("Save changes?"), QString())
                     : ui::showMessage(nullptr, QStringLiteral("Text"), QString(), {}, true);
        QCOMPARE(int(got), answer);
    }
};

QTEST_MAIN(HardeningGuiTest)
#include "tst_hardeninggui.moc"
