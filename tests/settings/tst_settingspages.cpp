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

    // Start-up ends in English with every list on the model's position.
    // Chosen from the open list, as the user does (the list is rebuilt while
    // it reports the choice), the language relabels frames, labels and lists;
    // every list keeps its choice, even its last entry, and its length.
    void languageSwitch() {
        SettingsModel &model = m_window->document().settings;
        QSignalSpy applied(&m_window->workspace(), &Workspace::languageApplied);
        QComboBox *language = list(F::Display, 0);
        QVERIFY(model.language() == English && label() == QStringLiteral("Illumination"));
        QCOMPARE(list(F::Display, 1)->currentText(), QStringLiteral(" 5sec."));
        for (SettingListWidget *w : allLists()) {
            QCOMPARE(w->currentIndex(), model.position(w->item().family, w->item().element));
            if (w != language) w->setCurrentIndex(w->count() - 1);
        }
        const auto listsKept = [&] {
            for (SettingListWidget *w : allLists())
                QVERIFY2(w == language || (w->currentIndex() == w->count() - 1 &&
                                           w->count() == w->item().optionCount()),
                         qPrintable(w->objectName()));
        };
        m_window->show();
        language->showPopup();
        QAbstractItemView *view = language->view();
        QTRY_VERIFY(view->isVisible());
        view->setCurrentIndex(view->model()->index(Japanese, 0));
        QTest::keyClick(view, Qt::Key_Return);
        QTRY_VERIFY(!view->isVisible());
        QVERIFY(language->currentText() == QStringLiteral("Japanese") && language->count() == 2);
        QCOMPARE(applied.count(), 1);
        QCOMPARE(find<QGroupBox>(*m_window, QStringLiteral("Frame17"))->title(),
                 QStringLiteral("≪ｽｷｬﾝ設定≫"));
        QCOMPARE(label(), QStringLiteral("照明設定"));
        QCOMPARE(list(F::Display, 1)->currentText(), QStringLiteral("消灯"));
        listsKept();
        language->setCurrentIndex(English);
        QCOMPARE(applied.count(), 2);
        QCOMPARE(label(), QStringLiteral("Illumination"));
        listsKept();
    }

    // Each page's reset reaches its own items only, and not while a transfer runs.
    void resets() {
        SettingsModel &model = m_window->document().settings;
        list(F::Key, 0)->setCurrentIndex(1);    // Set Mode
        list(F::Preset, 0)->setCurrentIndex(1); // Common Set
        {
            test::OtherTransfer busy(m_window->link(), *m_window);
            for (const char *reset : {"Set_Mode_Clear", "SETTING_RESET"})
                QMetaObject::invokeMethod(find(*m_window, QLatin1String(reset)), "click");
        }
        QVERIFY(model.position(F::Key, 0) == 1 && model.position(F::Preset, 0) == 1);
        click(*m_window, QStringLiteral("Set_Mode_Clear"));
        QVERIFY(model.position(F::Key, 0) != 1 && model.position(F::Preset, 0) == 1);
        QCOMPARE(list(F::Key, 0)->currentIndex(), model.position(F::Key, 0));
        list(F::Key, 0)->setCurrentIndex(1);
        click(*m_window, QStringLiteral("SETTING_RESET"));
        QVERIFY(list(F::Preset, 0)->currentIndex() == 0 && model.position(F::Key, 0) == 1);
    }

    // The lists take no typed keys; the arrow keys still choose.
    void listsDiscardTypedKeys() {
        QComboBox *power = list(F::Power, 0);
        QTest::keyClicks(power, QStringLiteral("3")); // would choose "3 hrs."
        QCOMPARE(power->currentIndex(), 0);
        QTest::keyClick(power, Qt::Key_Down);
        QCOMPARE(m_window->document().settings.position(F::Power, 0), 1);
    }

    // A DTMF memory field filters keys and is cleaned when left; the timing
    // lists and RESET_DTMF reach the model, and the fields follow it.
    void dtmfFrame() {
        DtmfMemories &dtmf = m_window->document().dtmf;
        auto *edit = find<QLineEdit>(*m_window, QStringLiteral("COMMON_DTMF(0)"));
        type(edit, QStringLiteral("12a3#Ax*-"));
        QCOMPARE(edit->text(), QStringLiteral("123#A*-"));
        QCOMPARE(dtmf.memory(0), QStringLiteral("123#A*-"));
        edit->setText(QStringLiteral("1x2 ｱ3"));
        leave(edit);
        QVERIFY(dtmf.memory(0) == QStringLiteral("123") && edit->text() == QStringLiteral("123"));

        pick(*m_window, QStringLiteral("COMMON_DIAL_CH"), 8);
        QCOMPARE(dtmf.timing(DtmfMemories::DialChannel), 8);
        click(*m_window, QStringLiteral("RESET_DTMF"));
        QVERIFY(dtmf.timing(DtmfMemories::DialChannel) != 8 && edit->text().isEmpty());
        QCOMPARE(find<QComboBox>(*m_window, QStringLiteral("COMMON_DIAL_CH"))->currentIndex(),
                 dtmf.timing(DtmfMemories::DialChannel));
    }

private:
    QComboBox *list(F f, int e) { return find<QComboBox>(*m_window, settings::controlName(f, e)); }
    QList<SettingListWidget *> allLists() { return m_window->findChildren<SettingListWidget *>(); }
    QString label() { return find<QLabel>(*m_window, QStringLiteral("Label12(1)"))->text(); }

    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(SettingsPagesTest)
#include "tst_settingspages.moc"
