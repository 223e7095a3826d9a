// The "Title Name" frame on the real main window: typed keys and the
// user-character buttons reach the model through the title's rules (which
// the core tests hold), the caption follows the language, Reset and a read.

#include "GuiFixture.h"
#include "core/common/OpeningTitle.h"
#include "core/settings/SettingsCatalogue.h"
#include "gui/shell/MainWindow.h"

using namespace kpr5;
using namespace kpr5::test;

class TitleFrameTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Keys, or "#n" for user-character button n (the caret at 0), reach the
    // title through its rules.
    void edits() {
        const QString fifteen = QStringLiteral("ABCDEFGHIJKLMNO");
        const struct {
            QString start, typed, result;
        } cases[] = {{fifteen, "P", fifteen + "P"},
                     {fifteen, QStringLiteral(u"あ"), fifteen},
                     {fifteen, "#7", fifteen + ":8~"},
                     {fifteen + "P", "#2", fifteen + "P"}};
        MainWindow w;
        w.show();
        auto *field = find<QLineEdit>(w, QStringLiteral("TITLE_TEXT"));
        for (const auto &c : cases) {
            w.document().title.setDisplayText(c.start);
            field->setFocus();
            field->setCursorPosition(c.typed.startsWith('#') ? 0 : int(c.start.size()));
            if (c.typed.startsWith('#'))
                click(w, QStringLiteral("Command2(%1)").arg(c.typed.mid(1)));
            else
                type(field, c.typed);
            QVERIFY2(field->text() == c.result && w.document().title.displayText() == c.result,
                     qPrintable(c.typed));
        }
    }

    void captionResetAndRead() {
        sim::RadioSimulator radio;
        MainWindow w;
        connectLink(w.link(), radio);
        MessageRecorder messages;
        auto *caption = find<QLabel>(w, QStringLiteral("DOUSA"));
        w.document().settings.applyLanguage(Japanese);
        QCOMPARE(caption->text(), settings::openingSlideCaption(Japanese));

        auto *field = find<QLineEdit>(w, QStringLiteral("TITLE_TEXT"));
        auto *moving = find<QComboBox>(w, QStringLiteral("OP_DOUSA"));
        w.document().title.setDisplayText(QStringLiteral("OLD"));
        moving->setCurrentIndex(1);
        click(w, QStringLiteral("TITLE_CLEAR"));
        QCOMPARE(field->text() + QString::number(moving->currentIndex()), QStringLiteral("0"));

        radio.write(0x1A0, QByteArray::fromHex("480049004287") + QByteArray(26, '\0') +
                               QByteArray::fromHex("1111"));
        click(w, QStringLiteral("TITLE_READ"));
        QCOMPARE(messages.texts(), QStringList{"Success| Finish"});
        QCOMPARE(field->text(), QStringLiteral("HI:3~"));
        QCOMPARE(moving->currentIndex(), 1);
    }
};

QTEST_MAIN(TitleFrameTest)
#include "tst_titleframe.moc"
