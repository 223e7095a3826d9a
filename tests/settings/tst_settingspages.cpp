// The "Set Mode" and "Common Set" pages and the DTMF frame, driven through
// the real main window on the offscreen platform.

#include "GuiFixture.h"
#include "core/common/DtmfMemories.h"
#include "core/settings/SettingsModel.h"
#include "gui/settings/SettingListWidget.h"
#include "gui/shell/MainWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace kpr5;
using F = Family;

class SettingsPagesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void startUpEndsInEnglish();
    void languageItemSwitchesEverything();
    void sameLanguageTwiceRebuildsNothing();
    void positionsSurviveASwitch();
    void japaneseTextsAreExact_data();
    void japaneseTextsAreExact();
    void resets();
    void resetsDoNothingWhileBusy();
    void listsDiscardTypedKeys();
    void dtmfMemoryTyping();
    void dtmfLongPasteAndCleanUp();
    void dtmfListsAndReset();
    void readFromRadioSwitchesToJapanese();

private:
    template <typename T = QWidget> T *find(const QString &name) {
        T *w = m_window->findChild<T *>(name);
        if (!w) qWarning("no control %s", qPrintable(name));
        return w;
    }
    QComboBox *list(F f, int e) { return find<QComboBox>(settings::controlName(f, e)); }
    QList<SettingListWidget *> allLists() { return m_window->findChildren<SettingListWidget *>(); }
    void chooseLanguage(int language) { list(F::Display, 0)->setCurrentIndex(language); }

    std::unique_ptr<MainWindow> m_window;
};

void SettingsPagesTest::init() {
    m_window = std::make_unique<MainWindow>();
}
void SettingsPagesTest::cleanup() {
    m_window.reset();
}

void SettingsPagesTest::startUpEndsInEnglish() {
    SettingsModel &model = m_window->document().settings;
    QCOMPARE(model.language(), int(English));
    QCOMPARE(list(F::Display, 0)->currentText(), QStringLiteral("English"));
    QCOMPARE(find<QGroupBox>(QStringLiteral("Frame8"))->title(),
             QStringLiteral("<SCREEN DISPLAY>"));
    // Every control the pages name is there.
    for (const SettingItem &it : settings::catalogue()) {
        if (!it.hasList()) continue;
        QComboBox *c = list(it.family, it.element);
        QVERIFY(c);
        QCOMPARE(c->currentIndex(), it.defaultPosition);
        QCOMPARE(c->count(), it.optionCount());
    }
    for (const char *name :
         {"Set_Mode_Read", "Set_Mode_Write", "Set_Mode_Clear", "SETTING_READ", "SETTING_WRITE",
          "SETTING_RESET", "READ_DTMF", "WRITE_DTMF", "RESET_DTMF"})
        QVERIFY(find<QPushButton>(QLatin1String(name)));
    for (const char *name : {"Frame1", "Frame8", "Frame9", "Frame10", "Frame11", "Frame12",
                             "Frame14", "Frame16", "Frame17", "Frame18", "Frame19", "setting"})
        QVERIFY(find<QGroupBox>(QLatin1String(name)));
    QCOMPARE(find<QGroupBox>(QStringLiteral("setting"))->title(), QStringLiteral("Setting"));
    // The Japanese lists were built at start-up before the English ones.
    for (SettingListWidget *w : allLists())
        QCOMPARE(w->fillCount(), w->item().fixed ? 1 : 3);
}

void SettingsPagesTest::languageItemSwitchesEverything() {
    QSignalSpy applied(&m_window->workspace(), &Workspace::languageApplied);
    // Chosen from the open list, as the user does; the list is rebuilt while
    // it reports the choice.
    m_window->show();
    QComboBox *language = list(F::Display, 0);
    language->showPopup();
    QAbstractItemView *view = language->view();
    QTRY_VERIFY(view->isVisible());
    view->setCurrentIndex(view->model()->index(Japanese, 0));
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(language->currentText(), QStringLiteral("Japanese"));
    QCOMPARE(language->count(), 2);
    QCOMPARE(applied.count(), 1);
    QCOMPARE(applied.at(0).at(0).toInt(), int(Japanese));
    QCOMPARE(find<QGroupBox>(QStringLiteral("Frame17"))->title(), QStringLiteral("≪ｽｷｬﾝ設定≫"));
    QCOMPARE(find<QLabel>(QStringLiteral("Label12(1)"))->text(), QStringLiteral("照明設定"));
    QCOMPARE(list(F::Display, 1)->currentText(), QStringLiteral(" 5秒"));
    QCOMPARE(settings::openingSlideCaption(applied.at(0).at(0).toInt()),
             QStringLiteral("オープニングスライド動作"));
    chooseLanguage(English);
    QCOMPARE(applied.count(), 2);
    QCOMPARE(find<QLabel>(QStringLiteral("Label12(1)"))->text(), QStringLiteral("Illumination"));
    QCOMPARE(list(F::Display, 1)->currentText(), QStringLiteral(" 5sec."));
}

void SettingsPagesTest::sameLanguageTwiceRebuildsNothing() {
    SettingsModel &model = m_window->document().settings;
    chooseLanguage(Japanese);
    QHash<QString, int> fills;
    for (SettingListWidget *w : allLists())
        fills.insert(w->objectName(), w->fillCount());
    QSignalSpy applied(&m_window->workspace(), &Workspace::languageApplied);
    QVERIFY(!model.applyLanguage(Japanese));
    QVERIFY(model.setPosition(F::Display, 0, Japanese));
    for (SettingListWidget *w : allLists())
        QCOMPARE(w->fillCount(), fills.value(w->objectName()));
    QCOMPARE(applied.count(), 0);
}

void SettingsPagesTest::positionsSurviveASwitch() {
    SettingsModel &model = m_window->document().settings;
    QHash<QString, int> chosen;
    QHash<QString, int> counts;
    int n = 0;
    for (SettingListWidget *w : allLists()) {
        if (w->objectName() == QLatin1String("Set_Mode_Display(0)")) continue;
        const int p = (w->item().defaultPosition + 1 + n++) % w->count();
        w->setCurrentIndex(p); // as the user would
        chosen.insert(w->objectName(), p);
        counts.insert(w->objectName(), w->count());
    }
    list(F::Key, 3)->setCurrentIndex(3);
    list(F::Key, 6)->setCurrentIndex(50);
    list(F::Key, 7)->setCurrentIndex(50);
    chosen[QStringLiteral("Set_Mode_Key(3)")] = 3;
    chosen[QStringLiteral("Set_Mode_Key(6)")] = 50;
    chosen[QStringLiteral("Set_Mode_Key(7)")] = 50;
    QCOMPARE(model.position(F::Key, 6), 50);

    for (int lang : {int(Japanese), int(English), int(Japanese)}) {
        chooseLanguage(lang);
        for (SettingListWidget *w : allLists()) {
            if (!chosen.contains(w->objectName())) continue;
            QVERIFY2(w->currentIndex() == chosen.value(w->objectName()),
                     qPrintable(w->objectName()));
            QVERIFY2(w->count() == counts.value(w->objectName()), qPrintable(w->objectName()));
            QCOMPARE(model.position(w->item().family, w->item().element), w->currentIndex());
        }
    }
    QCOMPARE(list(F::Key, 3)->currentText(), QStringLiteral("両ﾊﾞﾝﾄﾞ"));
    QCOMPARE(list(F::Key, 7)->currentText(), QStringLiteral("セットモード復帰時間"));
}

void SettingsPagesTest::japaneseTextsAreExact_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("entry"); // -1: the control's caption or selected text
    QTest::addColumn<QString>("text");
    const QString ideographic(QChar(0x3000));
    QTest::newRow("CH scope caption")
        << "Label23(3)" << -1
        << QStringLiteral("チャンネル") + ideographic + QStringLiteral("スコープ表示");
    QTest::newRow("S meter caption") << "Label23(2)" << -1 << QStringLiteral("Ｓﾒｰﾀの種類");
    QTest::newRow("font size caption")
        << "Label12(4)" << -1 << QStringLiteral("非操作側  表示サイズ");
    QTest::newRow("channel display label") << "Label19" << -1 << QStringLiteral("ﾁｬﾝﾈﾙ表示ﾓｰﾄﾞ");
    QTest::newRow("channel display frame") << "Frame1" << -1 << QStringLiteral("ﾁｬﾝﾈﾙ表示ﾓｰﾄﾞ");
    QTest::newRow("repeater frame") << "Frame12" << -1 << QStringLiteral("≪レピーター設定≫");
    QTest::newRow("dial ring") << "Set_Mode_Key(5)" << 3
                               << QStringLiteral("Squelch:Lower") + ideographic +
                                      QStringLiteral("Freq:Top");
    QTest::newRow("scan mode") << "Set_Mode_Scan(0)" << 1 << QStringLiteral(" 1秒(ﾀｲﾏｰｽｷｬﾝ)");
    QTest::newRow("lamp key") << "Set_Mode_Key(7)" << 22 << QStringLiteral("DTMF一桁目ﾊﾞｰｽﾄ");
}

void SettingsPagesTest::japaneseTextsAreExact() {
    QFETCH(QString, control);
    QFETCH(int, entry);
    QFETCH(QString, text);
    chooseLanguage(Japanese);
    QWidget *w = find(control);
    QVERIFY(w);
    if (auto *c = qobject_cast<QComboBox *>(w))
        QCOMPARE(c->itemText(entry), text);
    else if (auto *l = qobject_cast<QLabel *>(w))
        QCOMPARE(l->text(), text);
    else
        QCOMPARE(qobject_cast<QGroupBox *>(w)->title(), text);
}

void SettingsPagesTest::resets() {
    for (SettingListWidget *w : allLists()) {
        if (w->objectName() != QLatin1String("Set_Mode_Display(0)"))
            w->setCurrentIndex(w->count() - 1);
    }
    chooseLanguage(Japanese);
    find<QPushButton>(QStringLiteral("Set_Mode_Clear"))->click();
    QCOMPARE(list(F::Display, 0)->currentIndex(), int(Japanese));
    QCOMPARE(list(F::Display, 5)->currentIndex(), 3); // Font Bold kept
    QCOMPARE(list(F::Display, 8)->currentText(), QStringLiteral("シンプル"));
    QCOMPARE(list(F::Display, 3)->currentText(), QStringLiteral(" 8"));
    QCOMPARE(list(F::Scan, 1)->currentIndex(), 1);
    QCOMPARE(list(F::Key, 0)->currentIndex(), 5);
    QCOMPARE(list(F::Key, 12)->currentIndex(), 0);
    QCOMPARE(list(F::Combo1, 0)->currentIndex(), 0);
    QCOMPARE(list(F::Sound, 4)->currentIndex(), 20); // Common Set item kept

    find<QPushButton>(QStringLiteral("SETTING_RESET"))->click();
    QCOMPARE(list(F::Preset, 0)->currentText(), QStringLiteral("表示する"));
    QCOMPARE(list(F::Key, 7)->currentText(), QStringLiteral("照明設定"));
    QCOMPARE(list(F::Display, 8)->currentText(), QStringLiteral("ノーマル"));
    QCOMPARE(list(F::Display, 5)->currentIndex(), 0);
    QCOMPARE(list(F::Key, 0)->currentIndex(), 5); // Set Mode item kept
}

void SettingsPagesTest::resetsDoNothingWhileBusy() {
    list(F::Key, 7)->setCurrentIndex(9);
    {
        test::OtherTransfer busy(m_window->link(), *m_window);
        QMetaObject::invokeMethod(find<QPushButton>(QStringLiteral("Set_Mode_Clear")), "click");
        QMetaObject::invokeMethod(find<QPushButton>(QStringLiteral("SETTING_RESET")), "click");
    }
    QCOMPARE(m_window->document().settings.position(F::Key, 7), 9);
}

void SettingsPagesTest::listsDiscardTypedKeys() {
    QComboBox *power = list(F::Power, 0);
    QComboBox *key = list(F::Key, 6);
    QTest::keyClicks(power, QStringLiteral("OFF 3 hrs"));
    QTest::keyClicks(key, QStringLiteral("Scan"));
    QCOMPARE(power->currentIndex(), 0);
    QCOMPARE(key->currentIndex(), 0);
    QCOMPARE(m_window->document().settings.position(F::Key, 6), 0);
    // Choosing with the arrow keys still works.
    QTest::keyClick(power, Qt::Key_Down);
    QCOMPARE(power->currentIndex(), 1);
    QCOMPARE(m_window->document().settings.position(F::Power, 0), 1);
    QComboBox *wait = find<QComboBox>(QStringLiteral("COMMON_WAIT"));
    QTest::keyClicks(wait, QStringLiteral("1000"));
    QCOMPARE(wait->currentIndex(), 0);
}

void SettingsPagesTest::dtmfMemoryTyping() {
    auto *edit = find<QLineEdit>(QStringLiteral("COMMON_DTMF(0)"));
    QTest::keyClicks(edit, QStringLiteral("12a3#Ax*-"));
    QCOMPARE(edit->text(), QStringLiteral("123#A*-"));
    QCOMPARE(m_window->document().dtmf.memory(0), QStringLiteral("123#A*-"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(m_window->document().dtmf.memory(0), QStringLiteral("123#A*"));
    QTest::keyClicks(edit, QStringLiteral("0123456789BCD"));
    QCOMPARE(edit->text().size(), 16);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text().size(), 15);
    // The model drives the field.
    m_window->document().dtmf.setMemory(0, QStringLiteral("9"));
    QCOMPARE(edit->text(), QStringLiteral("9"));
}

void SettingsPagesTest::dtmfLongPasteAndCleanUp() {
    auto *edit = find<QLineEdit>(QStringLiteral("COMMON_DTMF(4)"));
    edit->setText(QStringLiteral("12345678901234567"));
    QTest::keyClick(edit, Qt::Key_1);
    QCOMPARE(edit->text(), QString());
    QCOMPARE(m_window->document().dtmf.memory(4), QString());

    edit->setText(QStringLiteral("1x2 ｱ3"));
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &out);
    QCOMPARE(m_window->document().dtmf.memory(4), QStringLiteral("123"));
    QCOMPARE(edit->text(), QStringLiteral("123"));
}

void SettingsPagesTest::dtmfListsAndReset() {
    QComboBox *wait = find<QComboBox>(QStringLiteral("COMMON_WAIT"));
    QComboBox *head = find<QComboBox>(QStringLiteral("COMMON_HEAD"));
    QComboBox *burst = find<QComboBox>(QStringLiteral("COMMON_BURST"));
    QComboBox *pause = find<QComboBox>(QStringLiteral("COMMON_PAUSE"));
    QComboBox *dial = find<QComboBox>(QStringLiteral("COMMON_DIAL_CH"));
    QCOMPARE(wait->count(), 11);
    QCOMPARE(head->count(), 23);
    QCOMPARE(burst->count(), 23);
    QCOMPARE(pause->count(), 23);
    QCOMPARE(dial->count(), 9);
    QCOMPARE(wait->currentIndex(), 0); // start-up: first entries
    dial->setCurrentIndex(8);
    QCOMPARE(m_window->document().dtmf.timing(DtmfMemories::DialChannel), 8);
    find<QLineEdit>(QStringLiteral("COMMON_DTMF(9)"))->setText(QStringLiteral("5"));
    m_window->document().dtmf.setMemory(9, QStringLiteral("5"));
    find<QPushButton>(QStringLiteral("RESET_DTMF"))->click();
    QCOMPARE(wait->currentText(), QStringLiteral("100ms"));
    QCOMPARE(head->currentText(), QStringLiteral("120ms"));
    QCOMPARE(burst->currentText(), QStringLiteral("120ms"));
    QCOMPARE(pause->currentText(), QStringLiteral("60ms"));
    QCOMPARE(dial->currentText(), QStringLiteral("1Ch"));
    QCOMPARE(find<QLineEdit>(QStringLiteral("COMMON_DTMF(9)"))->text(), QString());
}

void SettingsPagesTest::readFromRadioSwitchesToJapanese() {
    sim::RadioSimulator radio;
    test::connectLink(m_window->link(), radio, 1000);
    QByteArray area(148, '\0');
    area[62] = 0x01;      // Japanese
    area[64 + 58] = 0x03; // Moni active on: Both bands
    radio.write(0, area);
    radio.write(0x01103, QByteArray::fromHex("0102030F") + QByteArray(12, 0x11));
    test::MessageRecorder messages;
    QSignalSpy applied(&m_window->workspace(), &Workspace::languageApplied);
    find<QPushButton>(QStringLiteral("SETTING_READ"))->click();
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Success| Finish")});
    QCOMPARE(applied.count(), 1);
    QCOMPARE(list(F::Display, 0)->currentText(), QStringLiteral("Japanese"));
    QCOMPARE(find<QGroupBox>(QStringLiteral("Frame19"))->title(), QStringLiteral("≪キー操作設定≫"));
    QCOMPARE(list(F::Key, 3)->currentText(), QStringLiteral("両ﾊﾞﾝﾄﾞ"));
    QCOMPARE(find<QLineEdit>(QStringLiteral("COMMON_DTMF(0)"))->text(), QStringLiteral("123#"));
    QVERIFY(find<QPushButton>(QStringLiteral("Set_Mode_Read"))->isEnabled());
}

QTEST_MAIN(SettingsPagesTest)
#include "tst_settingspages.moc"
