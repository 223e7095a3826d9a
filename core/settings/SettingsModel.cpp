#include "core/settings/SettingsModel.h"

namespace kpr5 {

namespace {
// Elements with no list (Set_Mode_Repeater 1 and 2) keep whatever the data
// file gives them, within the file's three digits.
constexpr int kUnlistedLimit = 1000;

int familyIndex(Family family) {
    return int(family);
}
} // namespace

SettingsModel::SettingsModel(QObject *parent) : QObject(parent), m_image(kImageSize, '\0') {
    for (int f = 0; f < kFamilyCount; ++f)
        m_positions[size_t(f)].assign(size_t(settings::familySize(Family(f))), 0);
    setDefaults();
}

int SettingsModel::optionCount(Family family, int element) {
    const SettingItem *it = settings::item(family, element);
    if (!it) return 0;
    return it->hasList() ? it->optionCount() : kUnlistedLimit;
}

int SettingsModel::position(Family family, int element) const {
    const int f = familyIndex(family);
    if (f < 0 || f >= kFamilyCount) return -1;
    const auto &list = m_positions[size_t(f)];
    if (element < 0 || element >= int(list.size())) return -1;
    return list[size_t(element)];
}

bool SettingsModel::setPosition(Family family, int element, int position) {
    return setRaw(family, element, position, true);
}

bool SettingsModel::setRaw(Family family, int element, int position, bool applyLang) {
    if (position < 0 || position >= optionCount(family, element)) return false;
    int &slot = m_positions[size_t(familyIndex(family))][size_t(element)];
    if (slot != position) {
        slot = position;
        Q_EMIT positionChanged(family, element, position);
    }
    // The Language item drives the interface language, also when it is
    // selected again (start-up ends by selecting English).
    if (applyLang && family == Family::Display && element == 0) applyLanguage(position);
    return true;
}

bool SettingsModel::applyLanguage(int language) {
    language = language == Japanese ? Japanese : English;
    if (language == m_language) return false;
    m_language = language;
    Q_EMIT languageChanged(language);
    return true;
}

void SettingsModel::setDefaults() {
    for (const SettingItem &it : settings::catalogue())
        setRaw(it.family, it.element, it.defaultPosition, false);
}

void SettingsModel::resetSetMode() {
    for (const SettingItem &it : settings::catalogue()) {
        if (it.setModeReset >= 0) setRaw(it.family, it.element, it.setModeReset, false);
    }
}

void SettingsModel::resetCommon() {
    for (const SettingItem &it : settings::catalogue()) {
        if (it.commonReset >= 0) setRaw(it.family, it.element, it.commonReset, false);
    }
}

QString SettingsModel::caption(Family family, int element) const {
    const SettingItem *it = settings::item(family, element);
    return it ? it->caption(m_language) : QString();
}

QStringList SettingsModel::options(Family family, int element) const {
    const SettingItem *it = settings::item(family, element);
    return it ? it->options(m_language) : QStringList();
}

void SettingsModel::restore(const State &state) {
    for (int f = 0; f < kFamilyCount; ++f) {
        const auto &list = state[size_t(f)];
        for (int e = 0; e < int(list.size()); ++e) {
            if (position(Family(f), e) != list[size_t(e)])
                setPosition(Family(f), e, list[size_t(e)]);
        }
    }
}

void SettingsModel::setImageBytes(int offset, const QByteArray &bytes) {
    for (int i = 0; i < bytes.size(); ++i) {
        const int at = offset + i;
        if (at < 0 || at >= kImageSize) continue;
        m_image[at] = bytes[i];
    }
}

} // namespace kpr5
