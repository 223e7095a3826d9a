// The "Set Mode" and "Common Set" pages and the DTMF frame, driven through
// the real main window on the offscreen platform.

#include "GuiFixture.h"
#include "core/common/DtmfMemories.h"
#include "core/settings/SettingsModel.h"
#include "gui/settings/SettingListWidget.h"
#include "gui/shell/MainWindow.h"

#include <QAbstractItemView>
#include <QGroupBox>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

using namespace kpr5;
using namespace kpr5::test;
using F = Family;

class SettingsPagesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_window = std::make_unique<MainWindow>(); }
    void cleanup() { m_window.reset(); }

    // Every list the catalogue names is there and shows the model; the
    // Japanese lists were built at start-up before the English ones.
    void startUpEndsInEnglish() {
        SettingsModel &model = m_window->document().settings;
        QCOMPARE(model.language(), int(English));
        QCOMPARE(list(F::Display, 0)->currentText(), QStringLiteral("English"));
        QCOMPARE(find<QGroupBox>(*m_window, QStringLiteral("Frame8"))->title(),
                 QStringLiteral("<SCREEN DISPLAY>"));
        for (const SettingItem &it : settings::catalogue()) {
            if (!it.hasList()) continue;
            QComboBox *c = list(it.family, it.element);
            QCOMPARE(c->currentIndex(), model.position(it.family, it.element));
            QCOMPARE(c->count(), it.optionCount());
        }
        for (SettingListWidget *w : allLists())
            QCOMPARE(w->fillCount(), w->item().fixed ? 1 : 3);
    }

    // Chosen from the open list, as the user does (the list is rebuilt while
    // it reports the choice), the language relabels every page.
    void languageItemSwitchesEverything() {
        QSignalSpy applied(&m_window->workspace(), &Workspace::languageApplied);
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
        QCOMPARE(find<QGroupBox>(*m_window, QStringLiteral("Frame17"))->title(),
                 QStringLiteral("≪ｽｷｬﾝ設定≫"));
        QCOMPARE(find<QLabel>(*m_window, QStringLiteral("Label12(1)"))->text(),
                 QStringLiteral("照明設定"));
        QCOMPARE(list(F::Display, 1)->currentText(), QStringLiteral(" 5秒"));
        list(F::Display, 0)->setCurrentIndex(English);
        QCOMPARE(applied.count(), 2);
        QCOMPARE(find<QLabel>(*m_window, QStringLiteral("Label12(1)"))->text(),
                 QStringLiteral("Illumination"));

        // The same language again rebuilds nothing.
        QHash<QString, int> fills;
        for (SettingListWidget *w : allLists())
            fills.insert(w->objectName(), w->fillCount());
        QVERIFY(!m_window->document().settings.applyLanguage(English));
        QVERIFY(m_window->document().settings.setPosition(F::Display, 0, English));
        for (SettingListWidget *w : allLists())
            QCOMPARE(w->fillCount(), fills.value(w->objectName()));
        QCOMPARE(applied.count(), 2);
    }

    // Every list keeps its choice (and its length) through language switches.
    void positionsSurviveASwitch() {
        SettingsModel &model = m_window->document().settings;
        QHash<QString, int> chosen;
        int n = 0;
        for (SettingListWidget *w : allLists()) {
            if (w->objectName() == QLatin1String("Set_Mode_Display(0)")) continue;
            const int p = (w->item().defaultPosition + 1 + n++) % w->count();
            w->setCurrentIndex(p);
            chosen.insert(w->objectName(), p);
        }
        list(F::Key, 6)->setCurrentIndex(50);
        chosen[QStringLiteral("Set_Mode_Key(6)")] = 50;
        for (int lang : {int(Japanese), int(English), int(Japanese)}) {
            list(F::Display, 0)->setCurrentIndex(lang);
            for (SettingListWidget *w : allLists()) {
                if (!chosen.contains(w->objectName())) continue;
                QVERIFY2(w->currentIndex() == chosen.value(w->objectName()),
                         qPrintable(w->objectName()));
                QCOMPARE(w->count(), w->item().optionCount());
                QCOMPARE(model.position(w->item().family, w->item().element), w->currentIndex());
            }
        }
    }

    void japaneseTextsAreExact_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("entry"); // -1: the control's caption
        QTest::addColumn<QString>("text");
        QTest::newRow("CH scope caption")
            << "Label23(3)" << -1 << QStringLiteral("チャンネル\u3000スコープ表示");
        QTest::newRow("repeater frame") << "Frame12" << -1 << QStringLiteral("≪レピーター設定≫");
        QTest::newRow("lamp key") << "Set_Mode_Key(7)" << 22 << QStringLiteral("DTMF一桁目ﾊﾞｰｽﾄ");
    }
    void japaneseTextsAreExact() {
        QFETCH(QString, control);
        QFETCH(int, entry);
        QFETCH(QString, text);
        list(F::Display, 0)->setCurrentIndex(Japanese);
        QWidget *w = find(*m_window, control);
        if (auto *c = qobject_cast<QComboBox *>(w))
            QCOMPARE(c->itemText(entry), text);
        else if (auto *l = qobject_cast<QLabel *>(w))
            QCOMPARE(l->text(), text);
        else
            QCOMPARE(qobject_cast<QGroupBox *>(w)->title(), text);
    }

    // Each page's reset reaches its own items only, and not while a transfer runs.
    void resets() {
        list(F::Key, 0)->setCurrentIndex(1);    // Set Mode
        list(F::Preset, 0)->setCurrentIndex(1); // Common Set
        {
            test::OtherTransfer busy(m_window->link(), *m_window);
            QMetaObject::invokeMethod(find(*m_window, QStringLiteral("Set_Mode_Clear")), "click");
            QMetaObject::invokeMethod(find(*m_window, QStringLiteral("SETTING_RESET")), "click");
        }
        SettingsModel &model = m_window->document().settings;
        QCOMPARE(model.position(F::Key, 0), 1);
        click(*m_window, QStringLiteral("Set_Mode_Clear"));
        QVERIFY(model.position(F::Key, 0) != 1);
        QCOMPARE(list(F::Key, 0)->currentIndex(), model.position(F::Key, 0));
        QCOMPARE(model.position(F::Preset, 0), 1);
        list(F::Key, 0)->setCurrentIndex(1);
        click(*m_window, QStringLiteral("SETTING_RESET"));
        QCOMPARE(list(F::Preset, 0)->currentIndex(), 0);
        QCOMPARE(model.position(F::Key, 0), 1);
    }

    // The lists take no typed keys; the arrow keys still choose.
    void listsDiscardTypedKeys() {
        QComboBox *power = list(F::Power, 0);
        QTest::keyClicks(power, QStringLiteral("OFF 3 hrs"));
        QTest::keyClicks(list(F::Key, 6), QStringLiteral("Scan"));
        QTest::keyClicks(find<QComboBox>(*m_window, QStringLiteral("COMMON_WAIT")), "1000");
        QCOMPARE(power->currentIndex(), 0);
        QCOMPARE(list(F::Key, 6)->currentIndex(), 0);
        QCOMPARE(find<QComboBox>(*m_window, QStringLiteral("COMMON_WAIT"))->currentIndex(), 0);
        QTest::keyClick(power, Qt::Key_Down);
        QCOMPARE(m_window->document().settings.position(F::Power, 0), 1);
    }

    // A DTMF memory field filters keys, is cleaned when left, and follows
    // the model; the timing lists and RESET_DTMF reach the model.
    void dtmfFrame() {
        DtmfMemories &dtmf = m_window->document().dtmf;
        auto *edit = find<QLineEdit>(*m_window, QStringLiteral("COMMON_DTMF(0)"));
        type(edit, QStringLiteral("12a3#Ax*-"));
        QCOMPARE(edit->text(), QStringLiteral("123#A*-"));
        QCOMPARE(dtmf.memory(0), QStringLiteral("123#A*-"));
        edit->setText(QStringLiteral("1x2 ｱ3"));
        leave(edit);
        QCOMPARE(dtmf.memory(0), QStringLiteral("123"));
        QCOMPARE(edit->text(), QStringLiteral("123"));
        dtmf.setMemory(0, QStringLiteral("9"));
        QCOMPARE(edit->text(), QStringLiteral("9"));

        pick(*m_window, QStringLiteral("COMMON_DIAL_CH"), 8);
        QCOMPARE(dtmf.timing(DtmfMemories::DialChannel), 8);
        click(*m_window, QStringLiteral("RESET_DTMF"));
        QCOMPARE(find<QComboBox>(*m_window, QStringLiteral("COMMON_DIAL_CH"))->currentIndex(),
                 dtmf.timing(DtmfMemories::DialChannel));
        QVERIFY(dtmf.timing(DtmfMemories::DialChannel) != 8);
        QCOMPARE(edit->text(), QString());
    }

    // A read that brings the Japanese language byte relabels the pages.
    void readFromRadioSwitchesToJapanese() {
        sim::RadioSimulator radio;
        connectLink(m_window->link(), radio, 1000);
        QByteArray area(148, '\0');
        area[62] = 0x01;      // Japanese
        area[64 + 58] = 0x03; // Moni active on: Both bands
        radio.write(0, area);
        radio.write(0x01103, QByteArray::fromHex("0102030F") + QByteArray(12, 0x11));
        MessageRecorder messages;
        click(*m_window, QStringLiteral("SETTING_READ"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Success| Finish")});
        QCOMPARE(list(F::Display, 0)->currentText(), QStringLiteral("Japanese"));
        QCOMPARE(find<QGroupBox>(*m_window, QStringLiteral("Frame19"))->title(),
                 QStringLiteral("≪キー操作設定≫"));
        QCOMPARE(list(F::Key, 3)->currentText(), QStringLiteral("両ﾊﾞﾝﾄﾞ"));
        QCOMPARE(text(*m_window, QStringLiteral("COMMON_DTMF(0)")), QStringLiteral("123#"));
    }

private:
    QComboBox *list(F f, int e) { return find<QComboBox>(*m_window, settings::controlName(f, e)); }
    QList<SettingListWidget *> allLists() { return m_window->findChildren<SettingListWidget *>(); }

    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(SettingsPagesTest)
#include "tst_settingspages.moc"
