// The "Set Mode" and "Common Set" pages and the DTMF frame, driven through
// the real main window on the offscreen platform.

#include "GuiFixture.h"
#include "core/common/DtmfMemories.h"
#include "core/settings/SettingsModel.h"
#include "gui/settings/SettingListWidget.h"
#include "gui/shell/MainWindow.h"

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
    // it reports the choice), the language relabels labels and lists; every
    // list keeps its choice, even its last entry, and its length.
    void languageSwitch() {
        SettingsModel &model = m_window->document().settings;
        QSignalSpy applied(&m_window->workspace(), &Workspace::languageApplied);
        QComboBox *language = list(F::Display, 0);
        const QString english = label();
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
        QVERIFY(model.language() == Japanese && applied.count() == 1 && label() != english);
        listsKept();
        language->setCurrentIndex(English);
        QVERIFY(applied.count() == 2 && label() == english);
        listsKept();
    }

    // Each page's reset reaches its own items only, and not while a transfer
    // runs. The lists take no typed keys ("3" would choose "3 hrs."); the
    // arrow keys still choose.
    void resetsAndKeys() {
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
        QComboBox *power = list(F::Power, 0);
        QTest::keyClicks(power, QStringLiteral("3"));
        QTest::keyClick(power, Qt::Key_Down);
        QCOMPARE(model.position(F::Power, 0), 1);
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
