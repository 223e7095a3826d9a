// The font editor window, driven through its controls.

#include "GuiFixture.h"
#include "core/files/FontFile.h"
#include "gui/font/FontWindow.h"
#include "gui/shell/MainWindow.h"
#include "gui/widgets/FileDialog.h"

#include <QProgressBar>
#include <QTableWidget>
#include <QtTest>

using namespace kpr5;
using namespace kpr5::test;

namespace {

const QColor kSet(0, 0, 128);

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

QTableWidget *grid(QWidget &w) {
    return find<QTableWidget>(w, QStringLiteral("MSFlexGrid1"));
}
QComboBox *list(QWidget &w) {
    return find<QComboBox>(w, QStringLiteral("FONT_LIST"));
}

} // namespace

class FontWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void typedKeysDiscarded() {
        FontImage font;
        FontWindow w(font, std::make_shared<PortSettings>());
        QTest::keyClicks(list(w), QStringLiteral("5"));
        QCOMPARE(list(w)->currentIndex(), 0);
        QTest::keyClick(list(w), Qt::Key_Down);
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
        list(w)->setCurrentIndex(from);
        click(w, button);
        QCOMPARE(list(w)->currentIndex(), to);
        QCOMPARE(w.currentCharacter(), to);
        QCOMPARE(grid(w)->item(2, 3)->background().color(), kSet);
    }

    void clickToggles() {
        FontImage font;
        FontWindow w(font, std::make_shared<PortSettings>());
        w.show();
        list(w)->setCurrentIndex(2);
        QTest::mouseClick(grid(w)->viewport(), Qt::LeftButton, {}, cellCentre(grid(w), 4, 9));
        QCOMPARE(font.pixel(2, 4, 9), 1);
        QCOMPARE(grid(w)->item(4, 9)->background().color(), kSet);
        QCOMPARE(countSet(font, 2), 1);
        QTest::mouseClick(grid(w)->viewport(), Qt::LeftButton, {}, cellCentre(grid(w), 4, 9));
        QCOMPARE(font.pixel(2, 4, 9), 0);
        QCOMPARE(grid(w)->item(4, 9)->background().style(), Qt::NoBrush);
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
        drag(grid(w), from.x(), from.y(), to.x(), to.y());
        QCOMPARE(countSet(font, 0), 0); // a drag toggles nothing
        click(w, QStringLiteral("IKKATU_ON"));
        QCOMPARE(countSet(font, 0), 7 * 9);
        for (int r = 3; r <= 9; ++r)
            for (int c = 4; c <= 12; ++c)
                QCOMPARE(grid(w)->item(r, c)->background().color(), kSet);
        // The selection is still there: clear part of it again.
        QCOMPARE(grid(w)->selectedRanges().size(), 1);
        drag(grid(w), 5, 5, 3, 4);
        click(w, QStringLiteral("IKKATU_OFF"));
        QCOMPARE(countSet(font, 0), 7 * 9 - 3 * 2);
        QCOMPARE(font.pixel(0, 4, 5), 0);
        QCOMPARE(grid(w)->item(4, 5)->background().style(), Qt::NoBrush);
    }

    void clearing() {
        FontImage font;
        for (int k = 0; k < 8; ++k)
            font.setPixel(k, k, k, 1);
        FontWindow w(font, std::make_shared<PortSettings>());
        MessageRecorder messages;
        list(w)->setCurrentIndex(3);
        click(w, QStringLiteral("FONT_CLEAR"));
        QVERIFY(font.isEmpty(3));
        QVERIFY(!font.isEmpty(2) && !font.isEmpty(4));
        QVERIFY(messages.records.isEmpty());

        click(w, QStringLiteral("ALL_CLEAR"));
        for (int k = 0; k < 8; ++k)
            QVERIFY(font.isEmpty(k));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("ALL Clear| Clear")});
        QCOMPARE(list(w)->currentIndex(), 0);
        QVERIFY(list(w)->isEnabled());
        QCOMPARE(grid(w)->item(0, 0)->background().style(), Qt::NoBrush);
    }

    // Save and Open with their messages; a refused file and a failed save
    // say so; cancelled dialogs end silently.
    void fileMenu() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("set.FR5"));
        FontImage font;
        font.fillRect(1, 0, 0, 7, 7, 1);
        FontWindow w(font, std::make_shared<PortSettings>());
        MessageRecorder messages;
        ui::setNextFileNames({path});
        click(w, QStringLiteral("FONT_SAVE"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Save File| Finish")});

        const FontImage::Glyph glyph = font.glyph(1);
        font.clearAll();
        list(w)->setCurrentIndex(1);
        ui::setNextFileNames({path});
        click(w, QStringLiteral("FONT_READ"));
        QVERIFY(font.glyph(1) == glyph);
        QCOMPARE(grid(w)->item(7, 7)->background().color(), kSet);
        QCOMPARE(messages.texts().last(), QStringLiteral("Read Font File| Finish"));

        messages.records.clear();
        const QString text = dir.filePath(QStringLiteral("set.txt"));
        QVERIFY(QFile::copy(path, text));
        font.clearAll();
        ui::setNextFileNames({text, QString(), QString()});
        click(w, QStringLiteral("FONT_READ"));
        click(w, QStringLiteral("FONT_READ"));
        click(w, QStringLiteral("FONT_SAVE"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("This File don't Open| Error")});
        QVERIFY(font.isEmpty(1));
        ui::setNextFileNames({dir.filePath(QStringLiteral("no/such/folder.FR5"))});
        click(w, QStringLiteral("FONT_SAVE"));
        QCOMPARE(messages.records.size(), 2);
        QCOMPARE(messages.records.last().title, QStringLiteral(" Error"));
        QVERIFY(!messages.records.last().detail.isEmpty());

        // Not a font file at all: refused as well, the glyphs unchanged.
        QFile junk(dir.filePath(QStringLiteral("junk.FR5")));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(300, '\x93'));
        junk.close();
        font.setPixel(2, 0, 0, 1);
        ui::setNextFileNames({junk.fileName()});
        click(w, QStringLiteral("FONT_READ"));
        QCOMPARE(messages.texts().last(), QStringLiteral("This File don't Open| Error"));
        QCOMPARE(font.pixel(2, 0, 0), 1);
    }

    // While a transfer runs the controls are off and the file menu does
    // nothing; after a read the grid shows the character.
    void controlsDuringATransfer() {
        sim::RadioSimulator radio;
        FontImage font;
        FontWindow w(font, std::make_shared<PortSettings>());
        connectLink(w.link(), radio, 200);
        MessageRecorder messages;
        click(w, QStringLiteral("FONT_WRITE"));
        QVERIFY(w.transfer().busy());
        QVERIFY(!find(w, QStringLiteral("R_FONT"))->isEnabled());
        QVERIFY(!list(w)->isEnabled());
        ui::setNextFileNames({QStringLiteral("/nonexistent/x.FR5")});
        click(w, QStringLiteral("FONT_SAVE"));
        QTRY_VERIFY_WITH_TIMEOUT(!w.transfer().busy(), 3000);
        ui::setNextFileNames({});
        QCOMPARE(messages.records.size(), 1); // the write's, not the save's
        QVERIFY(find(w, QStringLiteral("R_FONT"))->isEnabled());

        radio.write(0x1000, QByteArray(32, '\xFF'));
        click(w, QStringLiteral("R_FONT"));
        QTRY_VERIFY_WITH_TIMEOUT(!w.transfer().busy(), 3000);
        QCOMPARE(grid(w)->item(15, 15)->background().color(), kSet);
        QCOMPARE(find<QProgressBar>(w, QStringLiteral("ProgressBar1"))->value(), 0);
    }

    // Opened by the whole-radio read: "Read ALL" once, no message, then it closes.
    void automatic() {
        sim::RadioSimulator radio;
        radio.write(0x1000, QByteArray(256, '\x01'));
        FontImage font;
        FontWindow w(font, std::make_shared<PortSettings>());
        connectLink(w.link(), radio, 200);
        MessageRecorder messages;
        w.setAutomatic(true);
        w.show();
        QTRY_VERIFY_WITH_TIMEOUT(!w.isVisible(), 5000);
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QVERIFY(messages.records.isEmpty());
        QCOMPARE(countSet(font, 7), 32); // rows 0 and 8 of every column
    }

    // The "FONT" button's window is modal, on the document's font image and
    // the main window's port; not while the main window transfers.
    void openedFromMainWindow() {
        sim::RadioSimulator radio;
        MainWindow main;
        connectLink(main.link(), radio, 1000);
        radio.write(0x1020, QByteArray(32, '\xFF'));
        MessageRecorder messages;
        QString seenPath, name;
        auto shown = onModal<FontWindow>(main, [&](FontWindow *w) {
            name = w->objectName();
            seenPath = w->link().portSettings().devicePath;
            list(*w)->setCurrentIndex(1);
            click(*w, QStringLiteral("R_FONT"));
            QTRY_VERIFY_WITH_TIMEOUT(!w->transfer().busy(), 3000);
            click(*w, QStringLiteral("Command1"));
        });
        openFontWindow(main.workspace(), false);
        QVERIFY(shown->seen);
        QCOMPARE(name, QStringLiteral("Form4"));
        QCOMPARE(seenPath, radio.portPath());
        QCOMPARE(countSet(main.document().font, 1), 256);
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Success Font Read| Finish")});

        test::OtherTransfer busy(main.link(), main);
        shown = onModal<FontWindow>(main);
        openFontWindow(main.workspace(), false);
        QTRY_VERIFY(shown->done);
        QVERIFY(!shown->seen);
    }
};

QTEST_MAIN(FontWindowTest)
#include "tst_fontwindow.moc"
