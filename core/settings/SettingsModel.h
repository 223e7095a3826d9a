#pragma once
// The radio settings: the selected list position of every settings item, the
// interface language the lists are shown in, and the settings image (the 148
// bytes last read from the radio's settings area).
//
// The pages' lists are views of this model; the radio transfer, the data file
// and the command line read and write the same positions.

#include "core/settings/SettingsCatalogue.h"

#include <QByteArray>
#include <QObject>

#include <array>
#include <vector>

namespace kpr5 {

class SettingsModel : public QObject {
    Q_OBJECT
public:
    static constexpr int kImageSize = 148;

    explicit SettingsModel(QObject *parent = nullptr);

    // The selected position of a family element; -1 when the element does
    // not exist.
    int position(Family family, int element = 0) const;
    // Select a position. A position outside the item's option list (or an
    // element that does not exist) is refused: false, nothing changes.
    // Selecting the Language item applies its language.
    bool setPosition(Family family, int element, int position);
    bool setPosition(Family family, int position) { return setPosition(family, 0, position); }
    // Number of options of an item (the positions it accepts).
    static int optionCount(Family family, int element);

    // The interface language (0 Japanese, 1 English) last applied.
    int language() const { return m_language; }
    // `applyLanguage`: does nothing when the language is the one last applied
    // (false); otherwise remembers it and announces it (true). Positions are
    // never changed by a language switch.
    bool applyLanguage(int language);

    // Start-up defaults of every item (the Language item included, which is
    // not applied here: start-up applies the languages itself).
    void setDefaults();
    // The two pages' Reset buttons.
    void resetSetMode();
    void resetCommon();

    // Texts in the current language.
    QString caption(Family family, int element) const;
    QStringList options(Family family, int element) const;

    // The settings image.
    const QByteArray &image() const { return m_image; }
    // Bytes beyond 148 are ignored; a shorter run replaces the first bytes only.
    void setImageBytes(int offset, const QByteArray &bytes);

    // Every item's position at once (undo). Restoring selects each position
    // that differs, the Language item's applying its language.
    using State = std::array<std::vector<int>, kFamilyCount>;
    State state() const { return m_positions; }
    void restore(const State &state);

Q_SIGNALS:
    void positionChanged(kpr5::Family family, int element, int position);
    void languageChanged(int language);

private:
    bool setRaw(Family family, int element, int position, bool applyLang);

    std::array<std::vector<int>, kFamilyCount> m_positions;
    int m_language = English;
    QByteArray m_image;
};

} // namespace kpr5
