// The font editor window, driven through its controls.

#include "GuiFixture.h"
#include "core/files/FontFile.h"
#include "core/font/GlyphCodec.h"
#include "gui/font/FontWindow.h"
#include "gui/shell/MainWindow.h"
#include "gui/widgets/FileDialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace kpr5;

namespace {

QPoint cellCentre(QTableWidget *grid, int row, int col) {
    return grid->visualRect(grid->model()->index(row, col)).center();
}

void drag(QTableWidget *grid, int fromRow, int fromCol, int toRow, int toCol) {
    QWidget *vp = grid->viewport();
    QTest::mousePress(vp, Qt::LeftButton, {}, cellCentre(grid, fromRow, fromCol));
    QTest::mouseMove(vp, cellCentre(grid, (fromRow + toRow) / 2, (fromCol + toCol) / 2));
    QTest::mouseMove(vp, cellCentre(grid, toRow, toCol));
    QTest::mouseRelease(vp, Qt::LeftButton, {}, cellCentre(grid, toRow, toCol));
}

int countSet(const FontImage &font, int k) {
    int n = 0;
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c)
            n += font.pixel(k, r, c);
    return n;
}

} // namespace

class FontWindowTest : public QObject {
    Q_OBJECT

    template <typename T> static T *child(QWidget &w, const char *name) {
        T *c = w.findChild<T *>(QLatin1String(name));
        if (!c) qFatal("no control %s", name);
        return c;
    }

private Q_SLOTS:
    void typedKeysDiscarded() {
        FontImage font;
        FontWindow w(font, std::make_shared<PortSettings>());
        auto *list = child<QComboBox>(w, "FONT_LIST");
        QTest::keyClicks(list, QStringLiteral("5"));
        QCOMPARE(list->currentIndex(), 0);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentIndex(), 1);
        QCOMPARE(w.currentCharacter(), 1);
    }

    void backAndNext_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("to");
        QTest::newRow("BACK on 1") << 0 << "FONT_BACK" << 0;
        QTest::newRow("BACK on 5") << 4 << "FONT_BACK" << 3;
        QTest::newRow("NEXT on 8") << 7 << "FONT_NEXT" << 7;
        QTest::newRow("NEXT on 1") << 0 << "FONT_NEXT" << 1;
    }
    void backAndNext() {
        QFETCH(int, from);
        QFETCH(QString, button);
        QFETCH(int, to);
        FontImage font;
        font.setPixel(to, 2, 3, 1);
        FontWindow w(font, std::make_shared<PortSettings>());
        auto *list = child<QComboBox>(w, "FONT_LIST");
        list->setCurrentIndex(from);
        QTest::mouseClick(child<QPushButton>(w, button.toLatin1().constData()), Qt::LeftButton);
        QCOMPARE(list->currentIndex(), to);
        QCOMPARE(w.currentCharacter(), to);
        auto *grid = child<QTableWidget>(w, "MSFlexGrid1");
        QCOMPARE(grid->item(2, 3)->background().color(), QColor(0, 0, 128));
    }

    void clickToggles() {
        FontImage font;
        FontWindow w(font, std::make_shared<PortSettings>());
        w.show();
        auto *grid = child<QTableWidget>(w, "MSFlexGrid1");
        child<QComboBox>(w, "FONT_LIST")->setCurrentIndex(2);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, 4, 9));
        QCOMPARE(font.pixel(2, 4, 9), 1);
        QCOMPARE(grid->item(4, 9)->background().color(), QColor(0, 0, 128));
        QCOMPARE(countSet(font, 2), 1);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, 4, 9));
        QCOMPARE(font.pixel(2, 4, 9), 0);
        QCOMPARE(grid->item(4, 9)->background().style(), Qt::NoBrush);
    }

    // A selection dragged either way sets (and clears) the same rectangle.
    void selection_data() {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::newRow("top left to bottom right") << QPoint(3, 4) << QPoint(9, 12);
        QTest::newRow("bottom right to top left") << QPoint(9, 12) << QPoint(3, 4);
        QTest::newRow("bottom left to top right") << QPoint(9, 4) << QPoint(3, 12);
    }
    void selection() {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        FontImage font;
        FontWindow w(font, std::make_shared<PortSettings>());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto *grid = child<QTableWidget>(w, "MSFlexGrid1");
        drag(grid, from.x(), from.y(), to.x(), to.y());
        QCOMPARE(countSet(font, 0), 0); // a drag toggles nothing
        QTest::mouseClick(child<QPushButton>(w, "IKKATU_ON"), Qt::LeftButton);
        QCOMPARE(countSet(font, 0), 7 * 9);
        for (int r = 3; r <= 9; ++r)
            for (int c = 4; c <= 12; ++c) {
                QCOMPARE(font.pixel(0, r, c), 1);
                QCOMPARE(grid->item(r, c)->background().color(), QColor(0, 0, 128));
            }
        // The selection is still there: clear part of it again.
        QCOMPARE(grid->selectedRanges().size(), 1);
        drag(grid, 5, 5, 3, 4);
        QTest::mouseClick(child<QPushButton>(w, "IKKATU_OFF"), Qt::LeftButton);
        QCOMPARE(countSet(font, 0), 7 * 9 - 3 * 2);
        QCOMPARE(font.pixel(0, 4, 5), 0);
        QCOMPARE(grid->item(4, 5)->background().style(), Qt::NoBrush);
    }

    void clearing() {
        FontImage font;
        for (int k = 0; k < 8; ++k)
            font.setPixel(k, k, k, 1);
        FontWindow w(font, std::make_shared<PortSettings>());
        test::MessageRecorder messages;
        auto *list = child<QComboBox>(w, "FONT_LIST");
        list->setCurrentIndex(3);
        QTest::mouseClick(child<QPushButton>(w, "FONT_CLEAR"), Qt::LeftButton);
        QVERIFY(font.isEmpty(3));
        QVERIFY(!font.isEmpty(2) && !font.isEmpty(4));
        QVERIFY(messages.records.isEmpty());

        QTest::mouseClick(child<QPushButton>(w, "ALL_CLEAR"), Qt::LeftButton);
        for (int k = 0; k < 8; ++k)
            QVERIFY(font.isEmpty(k));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("ALL Clear| Clear")});
        QCOMPARE(list->currentIndex(), 0);
        QVERIFY(list->isEnabled());
        QCOMPARE(child<QTableWidget>(w, "MSFlexGrid1")->item(0, 0)->background().style(),
                 Qt::NoBrush);
    }

    void fileMenu() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("set.FR5"));
        FontImage font;
        font.fillRect(1, 0, 0, 7, 7, 1);
        font.setPixel(6, 15, 0, 1);
        FontWindow w(font, std::make_shared<PortSettings>());
        test::MessageRecorder messages;
        auto *save = w.findChild<QAction *>(QStringLiteral("FONT_SAVE"));
        auto *open = w.findChild<QAction *>(QStringLiteral("FONT_READ"));

        ui::setNextFileNames({path});
        save->trigger();
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Save File| Finish")});

        FontImage copy;
        for (int k = 0; k < 8; ++k)
            copy.setGlyph(k, font.glyph(k));
        font.clearAll();
        child<QComboBox>(w, "FONT_LIST")->setCurrentIndex(1);
        ui::setNextFileNames({path});
        open->trigger();
        for (int k = 0; k < 8; ++k)
            QCOMPARE(font.glyph(k), copy.glyph(k));
        QCOMPARE(child<QTableWidget>(w, "MSFlexGrid1")->item(7, 7)->background().color(),
                 QColor(0, 0, 128));
        QCOMPARE(messages.texts().last(), QStringLiteral("Read Font File| Finish"));

        // Wrong extension; cancelled dialogs; a file that cannot be saved.
        messages.records.clear();
        const QString text = dir.filePath(QStringLiteral("set.txt"));
        QVERIFY(QFile::copy(path, text));
        font.clearAll();
        ui::setNextFileNames({text, QString(), QString()});
        open->trigger();
        QVERIFY(font.isEmpty(1));
        open->trigger();
        save->trigger();
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("This File don't Open| Error")});
        ui::setNextFileNames({dir.filePath(QStringLiteral("no/such/folder.FR5"))});
        save->trigger();
        QCOMPARE(messages.records.size(), 2);
        QCOMPARE(messages.records.last().title, QStringLiteral(" Error"));
        QVERIFY(messages.records.last().text != QStringLiteral("Save File"));
        QVERIFY(!messages.records.last().detail.isEmpty());

        // A file that holds no font line is refused as well, the glyphs unchanged.
        const QString junk = dir.filePath(QStringLiteral("junk.FR5"));
        QFile junkFile(junk);
        QVERIFY(junkFile.open(QIODevice::WriteOnly));
        junkFile.write(QByteArray(300, '\x93'));
        junkFile.close();
        font.fillRect(2, 0, 0, 15, 15, 1);
        ui::setNextFileNames({junk});
        open->trigger();
        QCOMPARE(messages.texts().last(), QStringLiteral("This File don't Open| Error"));
        QVERIFY(font.isEmpty(1) && !font.isEmpty(2));
    }

    // The buttons run the transfers on the window's own port; the controls
    // are off while one runs, and the file menu does nothing.
    void transfers() {
        sim::RadioSimulator radio;
        FontImage font;
        FontWindow w(font, std::make_shared<PortSettings>());
        test::connectLink(w.link(), radio, 200);
        test::MessageRecorder messages;
        font.setPixel(4, 1, 1, 1);
        child<QComboBox>(w, "FONT_LIST")->setCurrentIndex(4);

        QTest::mouseClick(child<QPushButton>(w, "FONT_WRITE"), Qt::LeftButton);
        QVERIFY(w.transfer().busy());
        QVERIFY(!child<QPushButton>(w, "R_FONT")->isEnabled());
        QVERIFY(!child<QComboBox>(w, "FONT_LIST")->isEnabled());
        ui::setNextFileNames({QStringLiteral("/nonexistent/x.FR5")});
        w.findChild<QAction *>(QStringLiteral("FONT_SAVE"))->trigger(); // ignored while busy
        QTRY_VERIFY_WITH_TIMEOUT(!w.transfer().busy(), 3000);
        ui::setNextFileNames({});
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Success Font Write| Finish")});
        QCOMPARE(radio.read(0x1080, 32), encodeGlyph(font, 4));
        QVERIFY(child<QPushButton>(w, "R_FONT")->isEnabled());

        const QByteArray area = QByteArray::fromHex("FF").repeated(256);
        radio.write(0x1000, area);
        QTest::mouseClick(child<QPushButton>(w, "READ_ALL"), Qt::LeftButton);
        QCOMPARE(countSet(font, 4), 256);
        QCOMPARE(child<QTableWidget>(w, "MSFlexGrid1")->item(15, 15)->background().color(),
                 QColor(0, 0, 128));
        QCOMPARE(messages.texts().last(), QStringLiteral("All Font Data Read| Finish"));
        QCOMPARE(child<QProgressBar>(w, "ProgressBar1")->value(), 0);
        QVERIFY(child<QPushButton>(w, "WRITE_ALL")->isEnabled());
    }

    // Opened by the whole-radio read: "Read ALL" once, then the window closes.
    void automatic_data() {
        QTest::addColumn<bool>("silent");
        QTest::newRow("success: no message") << false;
        QTest::newRow("failure: closes after the Error message") << true;
    }
    void automatic() {
        QFETCH(bool, silent);
        sim::SimOptions options;
        options.silent = silent;
        sim::RadioSimulator radio(options);
        radio.write(0x1000, QByteArray::fromHex("01").repeated(256));
        FontImage font;
        FontWindow w(font, std::make_shared<PortSettings>());
        test::connectLink(w.link(), radio, 200);
        test::MessageRecorder messages;
        w.setAutomatic(true);
        w.show();
        QTRY_VERIFY_WITH_TIMEOUT(!w.isVisible(), 5000);
        QCOMPARE(w.result(), int(QDialog::Accepted));
        if (silent) {
            QCOMPARE(messages.texts(), QStringList{QStringLiteral("Error| Error")});
            QVERIFY(font.isEmpty(0));
        } else {
            QVERIFY(messages.records.isEmpty());
            QCOMPARE(countSet(font, 7), 32); // rows 0 and 8 of every column
        }
    }

    // The "FONT" button of the main window opens the editor modally on the
    // document's font image and the main window's port.
    void openedFromMainWindow() {
        sim::RadioSimulator radio;
        MainWindow main;
        test::connectLink(main.link(), radio, 1000);
        radio.write(0x1020, QByteArray::fromHex("FF").repeated(32));
        test::MessageRecorder messages;
        QString seenPath;
        int seenCharacter = -1;
        QTimer::singleShot(0, &main, [&] {
            auto *w = qobject_cast<FontWindow *>(QApplication::activeModalWidget());
            QVERIFY(w);
            QCOMPARE(w->objectName(), QStringLiteral("Form4"));
            seenPath = w->link().portSettings().devicePath;
            seenCharacter = w->currentCharacter();
            child<QComboBox>(*w, "FONT_LIST")->setCurrentIndex(1);
            QTest::mouseClick(child<QPushButton>(*w, "R_FONT"), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(!w->transfer().busy(), 3000);
            QTest::mouseClick(child<QPushButton>(*w, "Command1"), Qt::LeftButton);
        });
        openFontWindow(main.workspace(), false);
        QCOMPARE(seenPath, radio.portPath());
        QCOMPARE(seenCharacter, 0);
        QCOMPARE(countSet(main.document().font, 1), 256);
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Success Font Read| Finish")});

        // Automatic: the whole-radio read's "Read ALL", no message, closed again.
        radio.write(0x1000, QByteArray::fromHex("80").repeated(256));
        openFontWindow(main.workspace(), true);
        QCOMPARE(countSet(main.document().font, 1), 32);
        QCOMPARE(messages.records.size(), 1);
        QVERIFY(!QApplication::activeModalWidget());

        // Not while the main window transfers.
        {
            test::OtherTransfer busy(main.link(), main);
            bool opened = false;
            QTimer::singleShot(0, &main, [&] {
                if (auto *w = QApplication::activeModalWidget()) {
                    opened = true;
                    w->close();
                }
            });
            openFontWindow(main.workspace(), false);
            QTest::qWait(10);
            QVERIFY(!opened);
        }
    }

    void closingDuringTransfer() {
        sim::SimOptions options;
        options.silent = true;
        sim::RadioSimulator radio(options);
        FontImage font;
        FontWindow w(font, std::make_shared<PortSettings>());
        test::connectLink(w.link(), radio, 200);
        test::MessageRecorder messages;
        w.show();
        QTimer::singleShot(
            300, &w, [&] { QTest::mouseClick(child<QPushButton>(w, "Command1"), Qt::LeftButton); });
        QCOMPARE(w.readAllCharacters(), TransferResult::Closed);
        QVERIFY(!w.isVisible());
        QVERIFY(messages.records.isEmpty());
        QVERIFY(!w.transfer().busy());
        QVERIFY(!w.link().isOpen());
    }
};

QTEST_MAIN(FontWindowTest)
#include "tst_fontwindow.moc"
