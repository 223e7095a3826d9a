#include "core/common/OpeningTitle.h"

#include "core/text/NameCodec.h"

namespace kpr5 {

namespace {
constexpr quint8 kOnByte = 0x11;
constexpr int kMaxForToken = names::kMaxLength - 1; // 15: a token still fits
} // namespace

OpeningTitle::OpeningTitle(QObject *parent) : QObject(parent) {}

QStringList OpeningTitle::movingEntries() {
    return {QStringLiteral("OFF"), QStringLiteral("ON")};
}

void OpeningTitle::setDisplay(const QString &display) {
    if (display == m_display) return;
    m_display = display;
    Q_EMIT displayTextChanged(m_display);
}

void OpeningTitle::setDisplayText(const QString &display) {
    setDisplay(display);
}

bool OpeningTitle::setOpeningMoving(int entry) {
    if (entry != Off && entry != On) return false;
    if (entry != m_moving) {
        m_moving = entry;
        Q_EMIT openingMovingChanged(m_moving);
    }
    return true;
}

bool OpeningTitle::appendUserCharacter(int index) {
    if (index < 0 || index >= names::kUserCharacters) return false;
    if (names::measure(m_display) > kMaxForToken) return false;
    setDisplay(m_display + names::userCharacterToken(index + 1));
    return true;
}

void OpeningTitle::clear() {
    setDisplay(QString());
    m_stored.clear();
    m_keptField.clear();
    setOpeningMoving(Off);
}

void OpeningTitle::setFromFile(const QString &text, bool *cut) {
    const QString filtered = names::filterAllowed(text);
    const QString held = names::cutToSlots(filtered);
    if (cut) *cut = held != filtered;
    setDisplay(held);
}

void OpeningTitle::setFromField(const QByteArray &field) {
    m_stored = names::decodeField(field);
    m_keptField = names::fieldRoundTrips(field) ? QByteArray() : field.left(kTitleBytes);
    setDisplay(names::storedToDisplay(m_stored));
}

void OpeningTitle::restore(const State &state) {
    setDisplay(state.display);
    setOpeningMoving(state.moving);
}

void OpeningTitle::takeOverDisplayText() {
    if (m_display != names::storedToDisplay(m_stored)) m_stored = names::displayToStored(m_display);
}

QByteArray OpeningTitle::radioField() const {
    if (m_display != names::storedToDisplay(m_stored))
        return names::encodeField(names::displayToStored(m_display));
    if (!m_keptField.isEmpty() && names::decodeField(m_keptField) == m_stored) return m_keptField;
    return names::encodeField(m_stored);
}

QByteArray OpeningTitle::encodeArea() const {
    QByteArray out = radioField();
    const char moving = m_moving == On ? char(kOnByte) : char(0);
    out.append(moving);
    out.append(moving);
    return out;
}

bool OpeningTitle::decodeArea(const QByteArray &data) {
    if (data.size() < kTitleBytes + 1) return false;
    setFromField(data.left(kTitleBytes));
    setOpeningMoving((quint8(data[kTitleBytes]) >> 4) == 1 ? On : Off);
    return true;
}

} // namespace kpr5
