// The "Title Name" frame on the real main window: the title key filter, the
// user-character buttons, the opening-moving list and its caption, Reset,
// and the buttons' transfers against the simulated radio.

#include "GuiFixture.h"
#include "core/common/OpeningTitle.h"
#include "core/settings/SettingsCatalogue.h"
#include "gui/shell/MainWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace kpr5;
using namespace kpr5::test;

namespace {

QLineEdit *titleText(MainWindow &w) {
    return w.findChild<QLineEdit *>(QStringLiteral("TITLE_TEXT"));
}
QComboBox *moving(MainWindow &w) {
    return w.findChild<QComboBox *>(QStringLiteral("OP_DOUSA"));
}
QPushButton *button(MainWindow &w, const QString &name) {
    return w.findChild<QPushButton *>(name);
}
QPushButton *token(MainWindow &w, int i) {
    return button(w, QStringLiteral("Command2(%1)").arg(i));
}

// The text as if typed: every character through the field's key handling.
void type(QLineEdit *edit, const QString &text) {
    edit->setFocus();
    edit->end(false);
    for (char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, one);
        QApplication::sendEvent(edit, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, one);
        QApplication::sendEvent(edit, &release);
    }
}

} // namespace

class TitleFrameTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listAndCaptionFollowTheLanguage();
    void keyFilter_data();
    void keyFilter();
    void tokenButtons_data();
    void tokenButtons();
    void writeAndReadThroughTheButtons();
};

void TitleFrameTest::listAndCaptionFollowTheLanguage() {
    MainWindow w;
    QCOMPARE(moving(w)->itemText(0), QStringLiteral("OFF"));
    QCOMPARE(moving(w)->itemText(1), QStringLiteral("ON"));
    QCOMPARE(moving(w)->accessibleName(), QStringLiteral("Opening Moving"));
    auto *caption = w.findChild<QLabel *>(QStringLiteral("DOUSA"));
    QCOMPARE(caption->text(), QStringLiteral("Opening Slide"));
    w.document().settings.applyLanguage(Japanese);
    QCOMPARE(caption->text(), QStringLiteral(u"オープニングスライド動作"));
    QCOMPARE(moving(w)->itemText(1), QStringLiteral("ON"));
}

void TitleFrameTest::keyFilter_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");

    const QString fifteen = QStringLiteral("ABCDEFGHIJKLMNO");
    QTest::newRow("15 bytes take a single-byte character") << fifteen << "P" << fifteen + "P";
    QTest::newRow("15 bytes refuse a double-byte character")
        << fifteen << QStringLiteral(u"あ") << fifteen;
    QTest::newRow("14 bytes take a double-byte character")
        << fifteen.left(14) << QStringLiteral(u"あ") << fifteen.left(14) + QStringLiteral(u"あ");
    QTest::newRow("16 bytes take nothing") << fifteen + "P"
                                           << "Q" << fifteen + "P";
    QTest::newRow("kanji of the set")
        << QString() << QStringLiteral(u"愛") << QStringLiteral(u"愛");
    QTest::newRow("kanji outside the set") << QString() << QStringLiteral(u"亜") << QString();
    QTest::newRow("user character typed as such")
        << QString() << QStringLiteral(u"\u2460") << QString();
    QTest::newRow("tokens count 2: 14 bytes")
        << QStringLiteral(":1~:2~:3~:4~:5~:6~:7~") << QStringLiteral(u"あ")
        << QStringLiteral(u":1~:2~:3~:4~:5~:6~:7~あ");
    QTest::newRow("tokens count 2: 15 bytes")
        << QStringLiteral(":1~:2~:3~:4~:5~:6~:7~A") << QStringLiteral(u"あ")
        << QStringLiteral(u":1~:2~:3~:4~:5~:6~:7~A");
    QTest::newRow("a token typed by hand")
        << QStringLiteral("ABCDEFGHIJKLM") << QStringLiteral(":2~")
        << QStringLiteral("ABCDEFGHIJKLM:2~");
    QTest::newRow("half-width katakana")
        << QString() << QStringLiteral(u"ｱｲ") << QStringLiteral(u"ｱｲ");
}

void TitleFrameTest::keyFilter() {
    QFETCH(QString, start);
    QFETCH(QString, typed);
    QFETCH(QString, result);
    MainWindow w;
    w.show();
    w.document().title.setDisplayText(start);
    QCOMPARE(titleText(w)->text(), start);
    type(titleText(w), typed);
    QCOMPARE(titleText(w)->text(), result);
    QCOMPARE(w.document().title.displayText(), result);

    QTest::keyClick(titleText(w), Qt::Key_Backspace);
    QCOMPARE(w.document().title.displayText(), result.left(result.size() - 1));
}

void TitleFrameTest::tokenButtons_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("result");
    QTest::newRow("empty") << QString() << 0 << QStringLiteral(":1~");
    QTest::newRow("at 15 bytes") << QStringLiteral("ABCDEFGHIJKLMNO") << 7
                                 << QStringLiteral("ABCDEFGHIJKLMNO:8~");
    QTest::newRow("at 16 bytes") << QStringLiteral("ABCDEFGHIJKLMNOP") << 2
                                 << QStringLiteral("ABCDEFGHIJKLMNOP");
    QTest::newRow("after seven tokens") << QStringLiteral(":1~:2~:3~:4~:5~:6~:7~") << 7
                                        << QStringLiteral(":1~:2~:3~:4~:5~:6~:7~:8~");
}

void TitleFrameTest::tokenButtons() {
    QFETCH(QString, start);
    QFETCH(int, button);
    QFETCH(QString, result);
    MainWindow w;
    w.show();
    w.document().title.setDisplayText(start);
    QLineEdit *edit = titleText(w);
    edit->setCursorPosition(0); // the token goes at the end whatever the caret
    QTest::mouseClick(token(w, button), Qt::LeftButton);
    QCOMPARE(edit->text(), result);
    QCOMPARE(w.document().title.displayText(), result);
    if (result != start) QCOMPARE(edit->cursorPosition(), int(result.size()));
}

void TitleFrameTest::writeAndReadThroughTheButtons() {
    sim::RadioSimulator radio;
    MainWindow w;
    connectLink(w.link(), radio);
    MessageRecorder messages;
    w.show();
    const QByteArray before = radio.image();

    type(titleText(w), QStringLiteral("HI"));
    QTest::mouseClick(token(w, 2), Qt::LeftButton);
    moving(w)->setCurrentIndex(1);
    QTest::mouseClick(button(w, "TITLE_WRITE"), Qt::LeftButton);
    QCOMPARE(messages.texts(), QStringList{"Success| Finish"});
    QCOMPARE(radio.read(0x1A0, 34), QByteArray::fromHex("480049004287") + QByteArray(26, '\0') +
                                        QByteArray::fromHex("1111"));
    const QByteArray after = radio.image();
    QCOMPARE(after.left(0x1A0), before.left(0x1A0));
    QCOMPARE(after.mid(0x1C2), before.mid(0x1C2));

    QTest::mouseClick(button(w, "TITLE_CLEAR"), Qt::LeftButton);
    QCOMPARE(titleText(w)->text(), QString());
    QCOMPARE(moving(w)->currentIndex(), 0);
    moving(w)->setCurrentIndex(1);
    radio.write(0x1C0, QByteArray::fromHex("01"));
    QTest::mouseClick(button(w, "TITLE_READ"), Qt::LeftButton);
    QCOMPARE(messages.texts(), (QStringList{"Success| Finish", "Success| Finish"}));
    QCOMPARE(titleText(w)->text(), QStringLiteral("HI:3~"));
    QCOMPARE(moving(w)->currentIndex(), 0); // high digit 0
    QVERIFY(button(w, "TITLE_WRITE")->isEnabled());
}

QTEST_MAIN(TitleFrameTest)
#include "tst_titleframe.moc"
