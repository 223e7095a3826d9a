#pragma once
// The opening title the radio shows when it is switched on, and its
// opening-moving setting ("OFF" / "ON").
//
// The title is edited in display form (user characters as the tokens ":1~"
// … ":8~"), as `TITLE_TEXT` shows it; the stored form (user characters as
// U+2460 … U+2467) is what goes to the radio. The radio keeps 34 bytes at
// 0x001A0: the title's 16 character slots, then the setting as two bytes
// (0x00 0x00 for "OFF", 0x11 0x11 for "ON"; when read, only the high four
// bits of the first byte count).

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

namespace kpr5 {

class OpeningTitle : public QObject {
    Q_OBJECT
public:
    static constexpr quint32 kAddress = 0x001A0;
    static constexpr int kAreaSize = 34;
    static constexpr int kTitleBytes = 32;
    enum Moving { Off = 0, On = 1 };

    explicit OpeningTitle(QObject *parent = nullptr);

    // `TITLE_TEXT`: the title in display form, as being edited.
    QString displayText() const { return m_display; }
    // The stored title: taken over from the display text when the title is
    // written (and set when it is read).
    QString storedTitle() const { return m_stored; }
    // `OP_DOUSA`: 0 "OFF", 1 "ON".
    int openingMoving() const { return m_moving; }
    static QStringList movingEntries(); // "OFF", "ON"

    // The display text as the user has edited it (the key filter has already
    // been applied by the field).
    void setDisplayText(const QString &display);
    // Anything but 0 and 1 is refused (false).
    bool setOpeningMoving(int entry);

    // `Command2(i)`, i = 0..7: when the text measures at most 15 bytes, the
    // token of user character i + 1 is appended at the end. False when
    // nothing was appended.
    bool appendUserCharacter(int index);

    // `TITLE_CLEAR`: text and stored title empty, "OFF".
    void clear();

    // The title of a data file's "TITLE" line: double-byte characters
    // outside the allowed set are dropped, and what the radio's 16 character
    // slots cannot hold is cut off (`cut` tells). The result becomes the
    // display text.
    void setFromFile(const QString &text, bool *cut = nullptr);
    // The title from its radio form (a data file keeps it so when the TITLE
    // line cannot hold it exactly): stored and display text decoded from it.
    void setFromField(const QByteArray &field);

    // --- the radio's 34 bytes -------------------------------------------------
    // The display text becomes the stored title (before a write); while the
    // display text is still the one shown for the stored title, the stored
    // title stays as it is (a ":1~" the radio holds as three characters
    // stays three characters).
    void takeOverDisplayText();
    // The 32 bytes a write sends for the title as it is shown: the field read
    // from the radio when the title has not changed since (so that codes
    // outside the code page go back as they came), else the title encoded.
    QByteArray radioField() const;
    // radioField(), then 0x00 0x00 or 0x11 0x11.
    QByteArray encodeArea() const;
    // Title and setting from the data of a block read (at least 33 bytes;
    // false and no change otherwise). The setting is "ON" when the high four
    // bits of byte 32 are 1.
    bool decodeArea(const QByteArray &data);

    // The title as edited and its setting, at once (undo). The stored title
    // is not part of it: a write takes it over from the display text.
    struct State {
        QString display;
        int moving = Off;
        bool operator==(const State &o) const { return display == o.display && moving == o.moving; }
    };
    State state() const { return {m_display, m_moving}; }
    void restore(const State &state);

Q_SIGNALS:
    void displayTextChanged(const QString &display);
    void openingMovingChanged(int entry);

private:
    void setDisplay(const QString &display);

    QString m_display;
    QString m_stored;
    QByteArray m_keptField; // the field last read, when decoding does not reproduce it
    int m_moving = Off;
};

} // namespace kpr5
