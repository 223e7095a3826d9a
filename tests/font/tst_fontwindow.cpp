// The font editor window, driven through its controls.

#include "GuiFixture.h"
#include "gui/font/FontWindow.h"
#include "gui/shell/MainWindow.h"
#include "gui/widgets/FileDialog.h"

#include <algorithm>

using namespace kpr5;
using namespace kpr5::test;

namespace {

QPoint centre(QTableWidget *grid, int row, int col) {
    return grid->visualRect(grid->model()->index(row, col)).center();
}
void clickCell(QTableWidget *grid, int row, int col) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre(grid, row, col));
}
void drag(QTableWidget *grid, QPoint from, QPoint to) {
    QWidget *vp = grid->viewport();
    QTest::mousePress(vp, Qt::LeftButton, {}, centre(grid, from.x(), from.y()));
    QTest::mouseMove(vp, centre(grid, to.x(), to.y()));
    QTest::mouseRelease(vp, Qt::LeftButton, {}, centre(grid, to.x(), to.y()));
}
int countSet(const FontImage &font, int k) {
    const FontImage::Glyph g = font.glyph(k);
    return int(std::count(g.begin(), g.end(), 1));
}

} // namespace

class FontWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // BACK and NEXT stop at the ends; typed keys are discarded ("5" would
    // choose the fifth character), the arrow keys choose. A drag only
    // selects; Select Setting fills the selection; a click toggles a cell and
    // selects it, Select Delete clears the selection; Clear empties the
    // character, All Clear every one.
    void editing() {
        FontImage font;
        font.setPixel(0, 0, 0, 1);
        font.setPixel(4, 0, 0, 1);
        FontWindow w(font, std::make_shared<PortSettings>());
        MessageRecorder messages;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::keyClicks(list(w), QStringLiteral("5"));
        QTest::keyClick(list(w), Qt::Key_Down);
        for (const char *button : {"FONT_BACK", "FONT_BACK", "FONT_NEXT"})
            click(w, QLatin1String(button));
        QCOMPARE(w.currentCharacter(), 1);
        list(w)->setCurrentIndex(7);
        for (const char *button : {"FONT_NEXT", "FONT_BACK"})
            click(w, QLatin1String(button));
        QCOMPARE(w.currentCharacter(), 6);
        list(w)->setCurrentIndex(2);
        drag(grid(w), {9, 12}, {3, 4});
        QCOMPARE(countSet(font, 2), 0);
        click(w, QStringLiteral("IKKATU_ON"));
        QVERIFY(countSet(font, 2) == 7 * 9 && shownSet(w, 3, 4) && shownSet(w, 9, 12));
        clickCell(grid(w), 4, 9);
        QVERIFY(!font.pixel(2, 4, 9) && !shownSet(w, 4, 9));
        clickCell(grid(w), 4, 9);
        QVERIFY(font.pixel(2, 4, 9) && shownSet(w, 4, 9));
        click(w, QStringLiteral("IKKATU_OFF"));
        QVERIFY(countSet(font, 2) == 7 * 9 - 1 && !shownSet(w, 4, 9));

        click(w, QStringLiteral("FONT_CLEAR"));
        QVERIFY(font.isEmpty(2) && !font.isEmpty(4));
        QVERIFY(messages.records.isEmpty());
        click(w, QStringLiteral("ALL_CLEAR"));
        QVERIFY(font.isEmpty(0) && font.isEmpty(4));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("ALL Clear| Clear")});
        QCOMPARE(list(w)->currentIndex(), 0);
        QVERIFY(list(w)->isEnabled() && !shownSet(w, 0, 0));
    }

    // Save and Open with their messages; a file that is no font file changes
    // nothing, a failed save says why, a cancelled dialog ends silently.
    void fileMenu() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("set.FR5"));
        FontImage font;
        font.fillRect(1, 0, 0, 7, 7, 1);
        const FontImage::Glyph glyph = font.glyph(1);
        FontWindow w(font, std::make_shared<PortSettings>());
        MessageRecorder messages;
        ui::setNextFileNames({path, QString()});
        click(w, QStringLiteral("FONT_SAVE"));
        click(w, QStringLiteral("FONT_SAVE"));
        QFile junk(dir.filePath(QStringLiteral("junk.FR5"))); // not a font file at all
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write(QByteArray(300, '\x93')) == 300);
        junk.close();

        font.clearAll();
        font.setPixel(2, 0, 0, 1);
        list(w)->setCurrentIndex(1);
        ui::setNextFileNames({junk.fileName(), QString()});
        click(w, QStringLiteral("FONT_READ"));
        click(w, QStringLiteral("FONT_READ"));
        QVERIFY(font.isEmpty(1) && font.pixel(2, 0, 0));
        ui::setNextFileNames({path, dir.filePath(QStringLiteral("no/such/folder.FR5"))});
        click(w, QStringLiteral("FONT_READ"));
        QVERIFY(font.glyph(1) == glyph && shownSet(w, 7, 7));
        click(w, QStringLiteral("FONT_SAVE"));
        QCOMPARE(messages.texts(), (QStringList{"Save File| Finish", "This File don't Open| Error",
                                                "Read Font File| Finish", "Save Error| Error"}));
        QVERIFY(!messages.records.last().detail.isEmpty());
    }

    // The "FONT" button's window is modal, on the document's font image and
    // the main window's port. While its transfer runs the file menu does
    // nothing.
    void openedFromMainWindow() {
        sim::RadioSimulator radio;
        MainWindow main;
        connectLink(main.link(), radio, 1000);
        radio.write(0x1020, QByteArray(32, '\xFF'));
        MessageRecorder messages;
        bool savedWhileBusy = false;
        auto shown = onModal<FontWindow>(main, [&](FontWindow *w) {
            click(*w, QStringLiteral("FONT_WRITE"));
            savedWhileBusy = w->transfer().busy();
            ui::setNextFileNames({QStringLiteral("/nonexistent/x.FR5")});
            click(*w, QStringLiteral("FONT_SAVE"));
            QTRY_VERIFY_WITH_TIMEOUT(!w->transfer().busy(), 3000);
            ui::setNextFileNames({});
            list(*w)->setCurrentIndex(1);
            click(*w, QStringLiteral("R_FONT"));
            QTRY_VERIFY_WITH_TIMEOUT(!w->transfer().busy(), 3000);
            click(*w, QStringLiteral("Command1"));
        });
        openFontWindow(main.workspace(), false);
        QVERIFY(shown->seen && savedWhileBusy);
        QCOMPARE(countSet(main.document().font, 1), 256);
        QCOMPARE(messages.records.size(), 2); // the write's and the read's, not the save's
        QCOMPARE(messages.texts().last(), QStringLiteral("Success Font Read| Finish"));
    }

private:
    static QTableWidget *grid(QWidget &w) { return find<QTableWidget>(w, "MSFlexGrid1"); }
    static QComboBox *list(QWidget &w) { return find<QComboBox>(w, "FONT_LIST"); }
    // The cell is painted as a set pixel.
    static bool shownSet(QWidget &w, int row, int col) {
        return grid(w)->item(row, col)->background().color() == QColor(0, 0, 128);
    }
};

QTEST_MAIN(FontWindowTest)
#include "tst_fontwindow.moc"
