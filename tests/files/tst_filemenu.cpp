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

    void saveAndOpen() {
        MessageRecorder messages;
        MainWindow w;
        ChannelTable &t = w.document().channels;
        fillRow(t, 3, QStringLiteral("KEEP"));
        const QString path = m_dir.filePath(QStringLiteral("radio.R5"));
        ui::setNextFileNames({path});
        click(w, QStringLiteral("TEST_CLICK"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Save File|Finish")});
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().endsWith("COMPORT01\r\nFile End\r\n")); // the window's port

        t.clearRow(3);
        fillRow(t, 4, QStringLiteral("GONE"));
        messages.records.clear();
        ui::setNextFileNames({path});
        click(w, QStringLiteral("ReadFile"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Read File|Finish")});
        QCOMPARE(t.text(3, Col::NameCol), QStringLiteral("KEEP"));
        QCOMPARE(t.inUse(3), quint8(0));

        // Another extension: refused, nothing changes.
        const QString txt = path + QStringLiteral(".txt");
        QVERIFY(QFile::copy(path, txt));
        fillRow(t, 5, QStringLiteral("STAYS"));
        messages.records.clear();
        ui::setNextFileNames({txt});
        click(w, QStringLiteral("ReadFile"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("This File don't Open|Error")});
        QCOMPARE(t.text(5, Col::NameCol), QStringLiteral("STAYS"));

        // Cancelled dialogs end silently.
        messages.records.clear();
        ui::setNextFileNames({QString(), QString()});
        click(w, QStringLiteral("ReadFile"));
        click(w, QStringLiteral("TEST_CLICK"));
        QVERIFY(messages.records.isEmpty());
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

    void exportAndImport() {
        MessageRecorder messages;
        MainWindow w;
        ChannelTable &t = w.document().channels;
        fillRow(t, 10, QStringLiteral("CSV ROW"));
        const QString path = m_dir.filePath(QStringLiteral("channels.CSV"));
        ui::setNextFileNames({path});
        click(w, QStringLiteral("FILE_EXPORT"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Save File|Finish")});
        QVERIFY(QFile::exists(path));

        t.clearRow(10);
        messages.records.clear();
        ui::setNextFileNames({path});
        click(w, QStringLiteral("FILE_INPORT"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Inport CSV File| Finish")});
        QCOMPARE(t.text(10, Col::NameCol), QStringLiteral("CSV ROW"));
        QCOMPARE(t.inUse(9), quint8(1));
        QCOMPARE(w.progressBar()->value(), 0);

        const QString bad = m_dir.filePath(QStringLiteral("bad.CSV"));
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\x00\x01\x02 not a channel list\r\n");
        f.close();
        messages.records.clear();
        ui::setNextFileNames({bad});
        click(w, QStringLiteral("FILE_INPORT"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("CSV File Error| Error")});
        QCOMPARE(t.text(10, Col::NameCol), QStringLiteral("CSV ROW"));
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
