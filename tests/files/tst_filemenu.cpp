// The File menu on the main window: dialogs, Open, Save, Import and Export
// with their messages, failures reported. (While a transfer runs the menu is
// disabled: tst_mainwindow.)

#include "Files.h"
#include "GuiFixture.h"
#include "Records.h"
#include "core/channels/ChannelRecord.h"
#include "gui/shell/MainWindow.h"
#include "gui/widgets/FileDialog.h"

using namespace kpr5;
using namespace kpr5::test;
using Col = ChannelTable::Column;

class FileMenuTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void cleanup() { ui::setNextFileNames({}); }

    // A file dialog opens in the start folder with the data files chosen;
    // cancelled, it ends silently. (The other actions' dialogs come from the
    // same call, driven by the rows below.)
    void dialog() {
        MessageRecorder messages;
        MainWindow w;
        w.show();
        QString selected = QStringLiteral("no dialog"), folder;
        QTimer::singleShot(0, this, [&] {
            if (auto *d = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
                selected = d->selectedNameFilter();
                folder = d->directory().absolutePath();
                d->reject();
            }
        });
        click(w, QStringLiteral("ReadFile"));
        QVERIFY2(selected.contains(QLatin1String("(*.R5)")), qPrintable(selected));
        QCOMPARE(folder, QDir(w.startDirectory()).absolutePath());
        QVERIFY(messages.records.isEmpty());
    }

    // What Save (Export) wrote comes back on Open (Import), each with its
    // message; a file the reader refuses changes nothing; a save that fails
    // says so.
    void saveAndOpen_data() {
        QTest::addColumn<QStringList>("steps"); // save, open, file, refused file
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("data file") << QStringList{"TEST_CLICK", "ReadFile", "radio.R5", "radio.txt"}
                                   << QStringList{"Save File|Finish", "Read File|Finish",
                                                  "This File don't Open|Error", "Error| Error"};
        QTest::newRow("CSV") << QStringList{"FILE_EXPORT", "FILE_INPORT", "channels.CSV", "bad.CSV"}
                             << QStringList{"Save File|Finish", "Inport CSV File| Finish",
                                            "CSV File Error| Error", "Error| Error"};
    }
    void saveAndOpen() {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, messages);
        MessageRecorder recorder;
        MainWindow w;
        ChannelTable &t = w.document().channels;
        decodeChannel(Record().name("KEEP"), t, 3);
        ui::setNextFileNames({m_dir.filePath(steps[2])});
        click(w, steps[0]);
        if (steps[2].endsWith(QLatin1String(".R5"))) // the window's port
            QVERIFY(readFile(m_dir.filePath(steps[2])).endsWith("COMPORT01\r\nFile End\r\n"));
        t.clearRow(3);
        ui::setNextFileNames({m_dir.filePath(steps[2])});
        click(w, steps[1]);
        QCOMPARE(t.text(3, Col::NameCol), QStringLiteral("KEEP"));
        QCOMPARE(w.progressBar()->value(), 0);

        writeFile(m_dir.filePath(steps[3]), "not a channel list\r\n");
        decodeChannel(Record().name("STAYS"), t, 5);
        ui::setNextFileNames({m_dir.filePath(steps[3])});
        click(w, steps[1]);
        QCOMPARE(t.text(5, Col::NameCol), QStringLiteral("STAYS"));
        ui::setNextFileNames({m_dir.filePath(steps[3]) + "/below-a-file"});
        click(w, steps[0]);
        QCOMPARE(recorder.texts(), messages);
        QVERIFY(!recorder.records.last().detail.isEmpty());
    }
};

QTEST_MAIN(FileMenuTest)
#include "tst_filemenu.moc"
