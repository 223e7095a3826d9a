// The "Title Name" frame on the real main window: the title key filter, the
// user-character buttons, the opening-moving list and its caption, Reset,
// and the fields after a read.

#include "GuiFixture.h"
#include "core/common/OpeningTitle.h"
#include "gui/shell/MainWindow.h"

#include <QLabel>
#include <QtTest>

using namespace kpr5;
using namespace kpr5::test;

namespace {

QLineEdit *titleText(MainWindow &w) {
    return find<QLineEdit>(w, QStringLiteral("TITLE_TEXT"));
}
QComboBox *moving(MainWindow &w) {
    return find<QComboBox>(w, QStringLiteral("OP_DOUSA"));
}

} // namespace

class TitleFrameTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listAndCaptionFollowTheLanguage() {
        MainWindow w;
        QCOMPARE(moving(w)->itemText(1), QStringLiteral("ON"));
        QCOMPARE(moving(w)->accessibleName(), QStringLiteral("Opening Moving"));
        auto *caption = find<QLabel>(w, QStringLiteral("DOUSA"));
        QCOMPARE(caption->text(), QStringLiteral("Opening Slide"));
        w.document().settings.applyLanguage(Japanese);
        QCOMPARE(caption->text(), QStringLiteral(u"オープニングスライド動作"));
        QCOMPARE(moving(w)->itemText(1), QStringLiteral("ON"));
    }

    // Typed keys pass the title's filter into the field and the model;
    // Backspace always works.
    void keyFilter_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("result");
        const QString fifteen = QStringLiteral("ABCDEFGHIJKLMNO");
        QTest::newRow("15 bytes take a single-byte character") << fifteen << "P" << fifteen + "P";
        QTest::newRow("15 bytes refuse a double-byte character")
            << fifteen << QStringLiteral(u"あ") << fifteen;
        QTest::newRow("kanji outside the set") << QString() << QStringLiteral(u"亜") << QString();
        QTest::newRow("a token typed by hand")
            << QStringLiteral("ABCDEFGHIJKLM") << QStringLiteral(":2~")
            << QStringLiteral("ABCDEFGHIJKLM:2~");
    }
    void keyFilter() {
        QFETCH(QString, start);
        QFETCH(QString, typed);
        QFETCH(QString, result);
        MainWindow w;
        w.show();
        w.document().title.setDisplayText(start);
        QCOMPARE(titleText(w)->text(), start);
        titleText(w)->setFocus();
        titleText(w)->end(false);
        type(titleText(w), typed);
        QCOMPARE(titleText(w)->text(), result);
        QCOMPARE(w.document().title.displayText(), result);
        QTest::keyClick(titleText(w), Qt::Key_Backspace);
        QCOMPARE(w.document().title.displayText(), result.left(qMax(0, result.size() - 1)));
    }

    // A user-character button appends its token where it fits, whatever the caret.
    void tokenButtons_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("result");
        QTest::newRow("at 15 bytes")
            << QStringLiteral("ABCDEFGHIJKLMNO") << 7 << QStringLiteral("ABCDEFGHIJKLMNO:8~");
        QTest::newRow("at 16 bytes")
            << QStringLiteral("ABCDEFGHIJKLMNOP") << 2 << QStringLiteral("ABCDEFGHIJKLMNOP");
    }
    void tokenButtons() {
        QFETCH(QString, start);
        QFETCH(int, button);
        QFETCH(QString, result);
        MainWindow w;
        w.show();
        w.document().title.setDisplayText(start);
        titleText(w)->setCursorPosition(0);
        click(w, QStringLiteral("Command2(%1)").arg(button));
        QCOMPARE(titleText(w)->text(), result);
        QCOMPARE(w.document().title.displayText(), result);
        if (result != start) QCOMPARE(titleText(w)->cursorPosition(), int(result.size()));
    }

    // Reset empties the frame; a read fills the field and the list.
    void resetAndRead() {
        sim::RadioSimulator radio;
        MainWindow w;
        connectLink(w.link(), radio);
        MessageRecorder messages;
        w.document().title.setDisplayText(QStringLiteral("OLD"));
        moving(w)->setCurrentIndex(1);
        click(w, QStringLiteral("TITLE_CLEAR"));
        QCOMPARE(titleText(w)->text(), QString());
        QCOMPARE(moving(w)->currentIndex(), 0);

        radio.write(0x1A0, QByteArray::fromHex("480049004287") + QByteArray(26, '\0') +
                               QByteArray::fromHex("1111"));
        click(w, QStringLiteral("TITLE_READ"));
        QCOMPARE(messages.texts(), QStringList{"Success| Finish"});
        QCOMPARE(titleText(w)->text(), QStringLiteral("HI:3~"));
        QCOMPARE(moving(w)->currentIndex(), 1);
    }
};

QTEST_MAIN(TitleFrameTest)
#include "tst_titleframe.moc"
