// Editing as operators expect it, on the real main window: the unsaved-
// changes question, undo and redo, rows through the clipboard, and find.

#include "GuiFixture.h"
#include "core/files/DataFile.h"
#include "gui/shell/MainWindow.h"
#include "gui/widgets/FileDialog.h"

using namespace kpr5;
using namespace kpr5::test;
using C = kpr5::ChannelTable;

namespace {

// A menu item that must be enabled; the edit it makes becomes an undo step.
void trigger(MainWindow &w, const char *name) {
    QVERIFY2(find<QAction>(w, QLatin1String(name))->isEnabled(), name);
    click(w, QLatin1String(name));
    QCoreApplication::processEvents();
}

// The detail editor on `row`: a new frequency, Enter.
void editRow(MainWindow &w, int row, const QString &mhz) {
    test::editRow(w, row, [mhz](QDialog *d) {
        retype(*d, QStringLiteral("DETAIL_FREQ_1"), mhz);
        retype(*d, QStringLiteral("DETAIL_FREQ_2"), QStringLiteral("5"));
        click(*d, QStringLiteral("DETAIL_ENTER"));
    });
}

QByteArray fileBytes(MainWindow &w) {
    datafile::WriteOptions o;
    o.savedAt = QDateTime(QDate(2024, 1, 1), QTime(0, 0));
    return datafile::dataFileBytes(w.document(), o);
}

} // namespace

class EditingTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Closing, opening and reading ask "Save changes?" only when something
    // changed; Cancel keeps everything.
    void unsavedChangesQuestion() {
        MessageRecorder messages;
        const QString path = m_dir.filePath(QStringLiteral("saved.R5"));
        {
            MainWindow w;
            w.show();
            editRow(w, 5, QStringLiteral("145"));
            messages.saveAnswer = ui::Answer::Cancel;
            QVERIFY(!w.close());
            QCOMPARE(messages.questions.size(), 1);
            // Save: the document has no file yet, so Save's dialog names one.
            messages.saveAnswer = ui::Answer::Save;
            ui::setNextFileNames({path});
            QVERIFY(w.close());
        }
        {
            sim::RadioSimulator radio;
            MainWindow w;
            connectLink(w.link(), radio);
            w.show();
            ui::setNextFileNames({path});
            trigger(w, "ReadFile");
            QCOMPARE(w.document().channels.text(5, C::FreqCol), QStringLiteral("145.50000MHz"));
            QVERIFY(!w.isWindowModified());
            editRow(w, 2, QStringLiteral("146"));
            grid(w)->setCurrentCell(1, 1, 3);
            messages.saveAnswer = ui::Answer::Discard;
            click(w, QStringLiteral("MEM_ONE_READ"));
            QCoreApplication::processEvents();
            QCOMPARE(messages.questions.size(), 3); // the read replaces the edited row
            QVERIFY(w.document().channels.text(2, C::FreqCol) != QStringLiteral("146.50000MHz"));
            QVERIFY(w.close());
            QCOMPARE(messages.questions.size(), 3); // opening and reading are no change
        }
        // Closed with unsaved work while a transfer runs, then the save is
        // cancelled: the window stays, and transfers work again.
        sim::SimOptions silent;
        silent.silent = true;
        sim::RadioSimulator radio(silent);
        MainWindow w;
        connectLink(w.link(), radio, 300);
        w.show();
        editRow(w, 2, QStringLiteral("146"));
        messages.saveAnswer = ui::Answer::Save;
        ui::setNextFileNames({QString()});
        QTimer::singleShot(100, &w, [&w] { w.close(); });
        click(w, QStringLiteral("WRITE_Botton"));
        QTRY_VERIFY(!w.link().busy());
        QCoreApplication::processEvents();
        QVERIFY(w.isVisible() && !w.link().closing() && w.isWindowModified());
    }

    // An edit, Clear, a paste and a setting undone and redone give back the
    // data file byte for byte, step by step. Then, in the same window:
    void undoRedoFindAndPaste() {
        MessageRecorder messages;
        MainWindow w;
        w.show();
        QList<QByteArray> states{fileBytes(w)};
        editRow(w, 1400, QStringLiteral("144"));
        states << fileBytes(w);
        grid(w)->setCurrentCell(1399, 1, 1405);
        click(w, QStringLiteral("Clear_Botton"));
        states << fileBytes(w);
        grid(w)->setCurrentCell(1400, 1, 1401);
        trigger(w, "MenuCopy");
        grid(w)->setCurrentCell(7, 1);
        trigger(w, "MenuPaste");
        states << fileBytes(w);
        w.selectPage(MainWindow::SetModePage);
        find<QComboBox>(w, QStringLiteral("Set_Mode_Display(1)"))->setCurrentIndex(4);
        states << fileBytes(w);
        for (int i = 1; i < states.size(); ++i)
            QVERIFY(states[i] != states[i - 1]);
        for (int i = states.size() - 1; i > 0; --i) {
            trigger(w, "MenuUndo");
            QCOMPARE(fileBytes(w), states[i - 1]);
        }
        QVERIFY(!w.isWindowModified()); // back to where it started: nothing to save
        QCOMPARE(w.currentPage(), int(MainWindow::MemoryPage)); // shown where it was made
        for (int i = 1; i < states.size(); ++i) {
            trigger(w, "MenuRedo");
            QCOMPARE(fileBytes(w), states[i]);
        }
        w.selectPage(MainWindow::MemoryPage);
        // Find moves the current row to the next row matching the frequency or
        // the name, and wraps around; typing in the grid moves nothing. Copy
        // rows, paste them elsewhere: the data file shows the copies; the call
        // channels stay as Clear leaves them; Cut empties what it copies. A block
        // with one bad row is refused whole, naming the row.
        C &t = w.document().channels;
        const auto rowText = [&](int row) { return encodeChannel(t, row).toByteArray(); };
        putChannel(t, 10, 145500000, "Home");
        putChannel(t, 30, 145525000, "CLUB");
        putChannel(t, 40, 531000, "AM");
        putChannel(t, 1, 430100000, "First");
        grid(w)->setCurrentCell(20, 1);
        QTest::keyClicks(grid(w), QStringLiteral("1"));
        QCOMPARE(grid(w)->currentRow(), 20);

        trigger(w, "MenuFind");
        QLineEdit *field = find<QLineEdit>(w, QStringLiteral("FindText"));
        const auto search = [&](const QString &query) {
            field->setText(query);
            QTest::keyClick(field, Qt::Key_Return);
            return grid(w)->currentRow();
        };
        // Wrapping around, below 1 MHz, and a match in row 1.
        const QStringList queries{"145.5", "145.5", "145.500", "club", "nowhere", "0.53", "first"};
        const QList<int> rows{30, 10, 10, 30, 30, 40, 1};
        for (int i = 0; i < rows.size(); ++i)
            QVERIFY2(search(queries[i]) == rows[i], qPrintable(queries[i]));

        const auto pasteAt = [&](int row) {
            grid(w)->setCurrentCell(row, 1);
            trigger(w, "MenuPaste");
        };
        putChannel(t, 1, 145500000, "ONE");
        putChannel(t, 2, 433125000, "TWO");
        grid(w)->setCurrentCell(1, 1, 2);
        trigger(w, "MenuCopy");
        pasteAt(20);
        QCOMPARE(rowText(20), rowText(1));
        QCOMPARE(rowText(21), rowText(2));
        const QString call = rowText(1401);
        pasteAt(1400);
        QCOMPARE(rowText(1400), rowText(1));
        QCOMPARE(rowText(1401), call);
        grid(w)->setCurrentCell(20, 1, 21);
        trigger(w, "MenuCut");
        QVERIFY(t.text(20, C::FreqCol).isEmpty() && t.text(21, C::FreqCol).isEmpty());
        pasteAt(30);
        QCOMPARE(rowText(31), rowText(2));
        QVERIFY(messages.records.isEmpty());

        const QByteArray before = fileBytes(w);
        QApplication::clipboard()->setText(QStringLiteral(
            "Bank000-0,145.5,FM,5KHz,2300Hz,None,88.5Hz,88.5Hz,023,Off,0.000MHz,,A,1\n"
            "Bank000-1,145.5,SSB,5KHz,2300Hz,None,88.5Hz,88.5Hz,023,Off,0.000MHz,,X,2"));
        pasteAt(40);
        const QString text = messages.texts().join(QLatin1Char('\n'));
        QVERIFY2(messages.records.size() == 1 &&
                     text.startsWith(QStringLiteral("Pasted row 2 (Bank000-1)")) &&
                     text.contains(QStringLiteral("mode \"SSB\"")),
                 qPrintable(text));
        QCOMPARE(fileBytes(w), before);
    }
};

QTEST_MAIN(EditingTest)
#include "tst_editing.moc"
