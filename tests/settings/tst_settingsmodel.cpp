// The settings catalogue and the model of list positions: texts in both
// languages, defaults, the two Resets and the language switch.

#include "core/settings/SettingsCatalogue.h"
#include "core/settings/SettingsModel.h"

#include <QSet>
#include <QSignalSpy>
#include <QtTest>

using namespace kpr5;
using F = Family;

namespace {

struct Pos {
    F family;
    int element;
    int position;
};

// Every item moved away from its defaults: the last option of each list.
void moveAll(SettingsModel &m) {
    for (const SettingItem &it : settings::catalogue()) {
        if (it.hasList())
            QVERIFY(m.setPosition(it.family, it.element, it.optionCount() - 1));
        else
            QVERIFY(m.setPosition(it.family, it.element, 7));
    }
}

int lastOf(F f, int e) {
    const SettingItem *it = settings::item(f, e);
    return it->hasList() ? it->optionCount() - 1 : 7;
}

// The items a Reset sets, each with its position; all others must keep theirs.
void checkReset(const SettingsModel &m, const QList<Pos> &expected) {
    for (const SettingItem &it : settings::catalogue()) {
        int want = lastOf(it.family, it.element);
        for (const Pos &p : expected) {
            if (p.family == it.family && p.element == it.element) want = p.position;
        }
        QVERIFY2(m.position(it.family, it.element) == want,
                 qPrintable(settings::controlName(it.family, it.element)));
    }
}

QList<Pos> range(F f, int first, int last, int position) {
    QList<Pos> list;
    for (int e = first; e <= last; ++e)
        list << Pos{f, e, position};
    return list;
}

} // namespace

class SettingsModelTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyFamilyElementIsAnItem();
    void listsHaveTheSameLengthInBothLanguages();
    void optionTexts_data();
    void optionTexts();
    void keyFunctionCodesDiffer();
    void startupDefaults();
    void setModeReset();
    void commonReset();
    void outOfRangePositionIsRefused_data();
    void outOfRangePositionIsRefused();
    void languageItemDrivesTheLanguage();
};

void SettingsModelTest::everyFamilyElementIsAnItem() {
    QSet<QString> names;
    for (int f = 0; f < kFamilyCount; ++f) {
        for (int e = 0; e < settings::familySize(F(f)); ++e) {
            const SettingItem *it = settings::item(F(f), e);
            QVERIFY2(it, qPrintable(settings::controlName(F(f), e)));
            names.insert(settings::controlName(F(f), e));
        }
    }
    QCOMPARE(size_t(names.size()), settings::catalogue().size());
    QCOMPARE(settings::controlName(F::Display, 3), QStringLiteral("Set_Mode_Display(3)"));
    QCOMPARE(settings::controlName(F::Mem, 0), QStringLiteral("Set_Mode_Mem(0)"));
    QCOMPARE(settings::controlName(F::Preset, 0), QStringLiteral("Set_Mode_Preset"));
}

void SettingsModelTest::listsHaveTheSameLengthInBothLanguages() {
    for (const SettingItem &it : settings::catalogue()) {
        const QString name = settings::controlName(it.family, it.element);
        QVERIFY2(it.optionsJa.size() == it.optionsEn.size(), qPrintable(name));
        if (it.hasList()) {
            QVERIFY2(!it.optionsEn.isEmpty(), qPrintable(name));
            QVERIFY2(!it.captionEn.isEmpty() && !it.captionJa.isEmpty(), qPrintable(name));
            QVERIFY2(it.defaultPosition < it.optionCount(), qPrintable(name));
        }
        if (it.fixed) QVERIFY2(it.optionsJa == it.optionsEn, qPrintable(name));
    }
    QCOMPARE(settings::keyFunctionNames(Japanese).size(), 51);
    QCOMPARE(settings::keyFunctionNames(English).size(), 51);
}

void SettingsModelTest::optionTexts_data() {
    QTest::addColumn<int>("family");
    QTest::addColumn<int>("element");
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    auto row = [](const char *tag, F f, int e, int lang, int count, int index,
                  const QString &text) {
        QTest::newRow(tag) << int(f) << e << lang << count << index << text;
    };
    row("contrast leading blank", F::Display, 3, English, 10, 0, QStringLiteral(" 1"));
    row("TOT 120", F::Send, 2, English, 16, 4, QStringLiteral("120sec."));
    row("TOT 450 ja", F::Send, 2, Japanese, 16, 15, QStringLiteral("450秒"));
    row("TOT penalty 9", F::Send, 3, English, 16, 9, QStringLiteral(" 9sec."));
    row("scan mode timer", F::Scan, 0, English, 40, 1, QStringLiteral(" 1sec. timer"));
    row("scan mode elapse", F::Scan, 0, English, 40, 26, QStringLiteral("  1sec. elapse"));
    row("scan mode last", F::Scan, 0, English, 40, 39, QStringLiteral("  5min. elapse"));
    row("pri interval", F::Scan, 2, English, 12, 11, QStringLiteral("60sec."));
    row("tv ch", F::Display, 13, English, 62, 0, QStringLiteral("1"));
}

void SettingsModelTest::optionTexts() {
    QFETCH(int, family);
    QFETCH(int, element);
    QFETCH(int, language);
    QFETCH(int, count);
    QFETCH(int, index);
    QFETCH(QString, text);
    const SettingItem *it = settings::item(F(family), element);
    QVERIFY(it);
    QCOMPARE(it->options(language).size(), count);
    QCOMPARE(it->options(language).at(index), text);
}

void SettingsModelTest::keyFunctionCodesDiffer() {
    QSet<int> codes;
    for (quint8 c : settings::keyFunctionCodes())
        codes.insert(c);
    QCOMPARE(codes.size(), 51);
    QCOMPARE(settings::keyFunctionPosition(0x82), 0);
    QCOMPARE(settings::keyFunctionPosition(0x68), 50);
    QCOMPARE(settings::keyFunctionPosition(0x00), -1);
}

void SettingsModelTest::startupDefaults() {
    SettingsModel m;
    const QList<Pos> nonZero = {{F::Display, 0, 1},  {F::Display, 1, 1}, {F::Display, 3, 7},
                                {F::Display, 8, 1},  {F::Power, 1, 3},   {F::Sound, 0, 2},
                                {F::Repeater, 0, 1}, {F::Preset, 0, 1},  {F::Toutyou, 1, 2},
                                {F::Key, 0, 5},      {F::Key, 7, 1}};
    for (const SettingItem &it : settings::catalogue()) {
        int want = 0;
        for (const Pos &p : nonZero) {
            if (p.family == it.family && p.element == it.element) want = p.position;
        }
        QVERIFY2(m.position(it.family, it.element) == want,
                 qPrintable(settings::controlName(it.family, it.element)));
    }
    QCOMPARE(m.language(), int(English));
    QCOMPARE(m.image(), QByteArray(148, '\0'));
}

void SettingsModelTest::setModeReset() {
    SettingsModel m;
    moveAll(m);
    m.resetSetMode();
    QList<Pos> expected = {{F::Combo1, 0, 0}, {F::Preset, 0, 1}, {F::Mem, 0, 0}};
    expected << range(F::Display, 1, 4, 0) << range(F::Power, 0, 2, 0) << range(F::Send, 0, 5, 0)
             << range(F::Toutyou, 0, 1, 0) << range(F::Recv, 0, 5, 0) << range(F::Scan, 0, 9, 0)
             << range(F::Repeater, 0, 3, 0) << range(F::Key, 0, 12, 0) << range(F::Sound, 0, 2, 0);
    expected << Pos{F::Display, 1, 1} << Pos{F::Display, 3, 7} << Pos{F::Display, 8, 1}
             << Pos{F::Power, 1, 3} << Pos{F::Sound, 0, 2} << Pos{F::Repeater, 0, 1}
             << Pos{F::Scan, 1, 1} << Pos{F::Toutyou, 1, 2} << Pos{F::Key, 0, 5}
             << Pos{F::Key, 7, 1};
    checkReset(m, expected);
    // Language and Font Bold keep their values.
    QCOMPARE(m.position(F::Display, 0), 1);
    QCOMPARE(m.position(F::Display, 5), 3);
}

void SettingsModelTest::commonReset() {
    SettingsModel m;
    moveAll(m);
    m.resetCommon();
    QList<Pos> expected = {{F::Preset, 0, 0}, {F::Mem, 0, 0}, {F::Key, 7, 1}};
    expected << range(F::Display, 5, 15, 0) << range(F::Send, 6, 12, 0) << range(F::Recv, 6, 7, 0)
             << range(F::Sound, 3, 5, 0);
    checkReset(m, expected);
}

void SettingsModelTest::outOfRangePositionIsRefused_data() {
    QTest::addColumn<int>("family");
    QTest::addColumn<int>("element");
    QTest::addColumn<int>("position");
    QTest::newRow("past the list") << int(F::Display) << 1 << 9;
    QTest::newRow("negative") << int(F::Key) << 6 << -1;
    QTest::newRow("wild key 51") << int(F::Key) << 6 << 51;
    QTest::newRow("no such element") << int(F::Power) << 3 << 0;
    QTest::newRow("no such family") << 99 << 0 << 0;
}

void SettingsModelTest::outOfRangePositionIsRefused() {
    QFETCH(int, family);
    QFETCH(int, element);
    QFETCH(int, position);
    SettingsModel m;
    QSignalSpy spy(&m, &SettingsModel::positionChanged);
    QVERIFY(!m.setPosition(F(family), element, position));
    QCOMPARE(spy.count(), 0);
}

void SettingsModelTest::languageItemDrivesTheLanguage() {
    SettingsModel m;
    QSignalSpy lang(&m, &SettingsModel::languageChanged);
    QVERIFY(m.setPosition(F::Display, 0, Japanese));
    QCOMPARE(m.language(), int(Japanese));
    QCOMPARE(m.caption(F::Display, 9),
             QStringLiteral("チャンネル") + QChar(0x3000) + QStringLiteral("スコープ表示"));
    // Start-up ends by selecting English while the lists were built in
    // Japanese with the item already at English: selecting it again applies it.
    m.applyLanguage(Japanese);
    QVERIFY(m.setPosition(F::Display, 0, English));
    QCOMPARE(m.language(), int(English));
    QVERIFY(m.applyLanguage(Japanese));
    QVERIFY(m.setPosition(F::Display, 0, English));
    QCOMPARE(m.language(), int(English));
    QCOMPARE(lang.count(), 4);
}

QTEST_GUILESS_MAIN(SettingsModelTest)
#include "tst_settingsmodel.moc"
