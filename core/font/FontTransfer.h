#pragma once
// Moving the eight user characters between the font image and the radio, on
// the font window's own serial link and 200 ms timer.
//
// The single-character transfers ("Read", "Write") are driven by the port's
// events: transmit complete, a whole reply received, timer expiry. Each step
// is a state; a reply that does not come in time is asked for again on every
// expiry, and the 21st expiry (counted since the window opened or since the
// last "Com Error") ends the transfer with "Com Error".
//
// The all-character transfers ("Read ALL", "Write ALL") poll: send a frame,
// wait for the whole reply or the timer, repeat failed characters, at most 3
// identification attempts and 10 failed characters in all.
//
// Messages, progress and the window's controls go through the TransferHost.

#include "core/font/FontImage.h"
#include "core/link/SerialLink.h"
#include "core/link/Transfer.h"

#include <QObject>
#include <QTimer>

namespace kpr5 {

class FontTransfer : public QObject {
    Q_OBJECT
public:
    enum State {
        Idle = 0,
        // a frame is being sent
        IdentifyForWrite = 1,
        GlyphWriteSent = 2,
        IdentifyForRead = 3,
        GlyphReadSent = 4,
        // the frame has left; the reply is awaited
        AwaitIdentifyForWrite = 11,
        AwaitGlyphWrite = 12,
        AwaitIdentifyForRead = 13,
        AwaitGlyphRead = 14,
        // polling transfers of all eight characters
        WritingAll = 35,
        ReadingAll = 37,
    };

    static constexpr int kTimerMs = 200;
    static constexpr int kComErrorExpiries = 21;
    static constexpr int kIdentifyAttempts = 3;
    static constexpr int kGlyphFailureLimit = 10;

    FontTransfer(FontImage &font, SerialLink &link, TransferHost &host, QObject *parent = nullptr);
    ~FontTransfer() override;

    int state() const { return m_state; }
    bool busy() const { return m_state != Idle; }
    // Timer expiries counted towards "Com Error".
    int timeoutCount() const { return m_timeouts; }
    // Run from the whole-radio read: no finish message after a successful read.
    void setQuiet(bool quiet) { m_quiet = quiet; }
    bool quiet() const { return m_quiet; }

    // Start a single-character transfer of glyph k (0..7); it runs on from
    // the event loop and emits finished(). False (nothing done) while busy.
    bool writeGlyph(int k);
    bool readGlyph(int k);

    // The polling transfers of glyphs 0..7; they return when done.
    TransferResult writeAll();
    TransferResult readAll();

    // The window is closing: stop whatever runs, close the port, no message.
    void abort();
    // The user asked to stop: the transfer ends before its next frame.
    void requestStop();

    // Messages (exact texts of the radio's program).
    static QString fontDataError(int comType); // "Font Data Error　COM_TYPE １１" ...
    static const QString kComError;
    static const QString kSuccessWrite;
    static const QString kSuccessRead;
    static const QString kAllRead;
    static const QString kAllWrite;

Q_SIGNALS:
    void stateChanged(int state);
    // Every ending of a transfer that started (success, error, "Com Error").
    void finished(bool success);

private:
    void setState(int state);
    bool sendFrame(const CommandFrame &frame);
    void sendStep(const CommandFrame &frame);
    CommandFrame frameForState(int state) const;
    int replyLengthFor(int state) const;
    void onBytesWritten();
    void onReadyRead();
    void onReply();
    void onTimeout();
    void endSingle(bool success, const QString &text, const QString &title,
                   const QString &detail = QString());
    void endPortError();

    TransferResult runAll(bool write);

    FontImage &m_font;
    SerialLink &m_link;
    TransferHost &m_host;
    QTimer m_timer; // SIRIAL_TIMER
    int m_state = Idle;
    int m_timeouts = 0;
    int m_glyph = 0;
    bool m_quiet = false;
    bool m_stopPending = false;
};

} // namespace kpr5
