// The File menu on the main window: dialogs with their filters, Open, Save,
// Import and Export with their messages, failures reported, and nothing
// while a transfer runs.

#include "ChannelRows.h"
#include "GuiFixture.h"
#include "gui/shell/MainWindow.h"
#include "gui/widgets/FileDialog.h"

#include <QFile>
#include <QFileDialog>
#include <QProgressBar>

using namespace kpr5;
using namespace kpr5::test;

namespace {

void fillRow(ChannelTable &t, int row, const QString &name) {
    setChannel(t, row, QStringLiteral("145.12500MHz"), QStringLiteral("NFM"), 4, 20,
               QStringLiteral("Tone"), 10, 8, 0, QStringLiteral("-"), QStringLiteral("0.600MHz"),
               true, name);
    t.setStoredName(row - 1, name);
}

} // namespace

class FileMenuTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void cleanup() { ui::setNextFileNames({}); }

    void dialogs_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("filters");
        QTest::newRow("Save") << "TEST_CLICK"
                              << QStringList{"KPR5ファイル(*.R5)", "すべてのファイル(*.*)"};
        QTest::newRow("Open") << "ReadFile"
                              << QStringList{"R5 (*.R5)", "R5 Files (*.R5)", "All Files (*.*)"};
        QTest::newRow("Export") << "FILE_EXPORT"
                                << QStringList{"CSVファイル(*.CSV)", "すべてのファイル(*.*)"};
        QTest::newRow("Import") << "FILE_INPORT"
                                << QStringList{"CSV (*.CSV)", "CSV Files (*.CSV)",
                                               "All Files (*.*)"};
    }
    void dialogs() {
        QFETCH(QString, action);
        QFETCH(QStringList, filters);
        MessageRecorder messages;
        MainWindow w;
        w.show();
        QStringList shownFilters;
        QString shownDirectory;
        QString selected;
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            auto *d = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!d) return;
            seen = true;
            shownFilters = d->nameFilters();
            shownDirectory = d->directory().absolutePath();
            selected = d->selectedNameFilter();
            d->reject(); // cancelled: the operation ends silently
        });
        click(w, action);
        QVERIFY(seen);
        QCOMPARE(shownFilters, filters);
        QCOMPARE(selected, filters.first());
        QCOMPARE(shownDirectory, QDir(w.startDirectory()).absolutePath());
        QVERIFY(messages.records.isEmpty());
    }

    // What Save (Export) wrote comes back on Open (Import), each with its
    // message; a file the reader refuses changes nothing.
    void saveAndOpen_data() {
        QTest::addColumn<QString>("save");
        QTest::addColumn<QString>("open");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("refusedFile");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("data file")
            << "TEST_CLICK"
            << "ReadFile"
            << "radio.R5"
            << "radio.txt"
            << QStringList{"Save File|Finish", "Read File|Finish", "This File don't Open|Error"};
        QTest::newRow("CSV") << "FILE_EXPORT"
                             << "FILE_INPORT"
                             << "channels.CSV"
                             << "bad.CSV"
                             << QStringList{"Save File|Finish", "Inport CSV File| Finish",
                                            "CSV File Error| Error"};
    }
    void saveAndOpen() {
        QFETCH(QString, save);
        QFETCH(QString, open);
        QFETCH(QString, file);
        QFETCH(QString, refusedFile);
        QFETCH(QStringList, messages);
        MessageRecorder recorder;
        MainWindow w;
        ChannelTable &t = w.document().channels;
        fillRow(t, 3, QStringLiteral("KEEP"));
        ui::setNextFileNames({m_dir.filePath(file)});
        click(w, save);
        QFile saved(m_dir.filePath(file));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        if (file.endsWith(QLatin1String(".R5")))
            QVERIFY(saved.readAll().endsWith("COMPORT01\r\nFile End\r\n")); // the window's port

        t.clearRow(3);
        ui::setNextFileNames({m_dir.filePath(file)});
        click(w, open);
        QCOMPARE(t.text(3, Col::NameCol), QStringLiteral("KEEP"));
        QCOMPARE(w.progressBar()->value(), 0);

        QFile refused(m_dir.filePath(refusedFile));
        QVERIFY(refused.open(QIODevice::WriteOnly));
        refused.write("not a channel list\r\n");
        refused.close();
        fillRow(t, 5, QStringLiteral("STAYS"));
        ui::setNextFileNames({refused.fileName()});
        click(w, open);
        QCOMPARE(recorder.texts(), messages);
        QCOMPARE(t.text(5, Col::NameCol), QStringLiteral("STAYS"));
    }

    void failedSavesAreReported_data() {
        QTest::addColumn<QString>("action");
        QTest::newRow("data file") << "TEST_CLICK";
        QTest::newRow("CSV") << "FILE_EXPORT";
    }
    void failedSavesAreReported() {
        QFETCH(QString, action);
        MessageRecorder messages;
        MainWindow w;
        QFile plain(m_dir.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        ui::setNextFileNames({plain.fileName() + QStringLiteral("/out.R5")});
        click(w, action);
        QCOMPARE(messages.records.size(), 1);
        QCOMPARE(messages.records.first().text, QStringLiteral("Error"));
        QCOMPARE(messages.records.first().title, QStringLiteral(" Error"));
        QVERIFY(!messages.records.first().detail.isEmpty());
    }

    void nothingWhileATransferRuns() {
        MessageRecorder messages;
        MainWindow w;
        const QString r5 = m_dir.filePath(QStringLiteral("busy.R5"));
        const QString csv = m_dir.filePath(QStringLiteral("busy.CSV"));
        {
            test::OtherTransfer busy(w.link(), w);
            for (const char *action : {"TEST_CLICK", "FILE_EXPORT", "ReadFile", "FILE_INPORT"}) {
                ui::setNextFileNames(
                    {QString::fromLatin1(action).startsWith(QLatin1String("FILE")) ? csv : r5});
                click(w, QLatin1String(action));
            }
        }
        QVERIFY(messages.records.isEmpty());
        QVERIFY(!QFile::exists(r5));
        QVERIFY(!QFile::exists(csv));
    }
};

QTEST_MAIN(FileMenuTest)
#include "tst_filemenu.moc"
