#pragma once
// The serial link to the radio: sending one command frame and awaiting its
// reply on the calling (user-interface) thread, and the state that keeps a
// window's transfers from overlapping.
//
// Each command opens the port before it is sent and closes it once its reply
// has arrived or timed out. Waiting runs a nested event loop that wakes on
// received data, on the one-shot reply timer, on a vanished port and on a
// close request, so window events keep running and the CPU stays idle while
// the radio answers. This is the program's only way to wait for a reply.
//
// The transfer state (busy, how a transfer ends, closing, stop) is read here
// and changed only by the transfer engine (core/link/Transfer.h).

#include "core/link/CommandFrame.h"
#include "core/link/PortSettings.h"

#include <QObject>
#include <QSerialPort>
#include <QString>

namespace kpr5 {

class TransferHost;

// Outcome of one exchange.
enum class Outcome {
    Accepted,  // the reply had the expected length and fixed bytes
    Rejected,  // wrong length, wrong fixed bytes, or no reply in time
    PortError, // the port could not be opened or written, or went away
    Closing,   // the window is being closed; end the operation at once
};

// How the running transfer ends when it succeeds.
enum class Completion {
    Announce,   // show its "Success"
    Quiet,      // a step of a whole-radio transfer: no "Success" of its own
    StepFailed, // the step failed
};

class SerialLink : public QObject {
    Q_OBJECT
public:
    // Reply timer intervals: the main window's, and the font and group windows'.
    static constexpr int kMainReplyTimeoutMs = 1000;
    static constexpr int kWindowReplyTimeoutMs = 200;

    // A link with a port of its own, or one sharing the port settings of
    // other links (the windows that talk to the same radio).
    explicit SerialLink(SharedPortSettings settings = std::make_shared<PortSettings>(),
                        int replyTimeoutMs = kMainReplyTimeoutMs, QObject *parent = nullptr);
    ~SerialLink() override;

    PortSettings &portSettings() { return *m_settings; }
    const PortSettings &portSettings() const { return *m_settings; }
    SharedPortSettings sharedPortSettings() const { return m_settings; }
    QString portName() const { return m_settings->portName(); }

    void setReplyTimeout(int ms) { m_timeoutMs = ms; }
    int replyTimeout() const { return m_timeoutMs; }

    // --- the transfer state (changed by the transfer engine only) -----------
    bool busy() const { return m_busy; }
    bool closing() const { return m_closing; }
    Completion completion() const { return m_completion; }
    bool stopRequested() const { return m_stop->requested; }

    // The window is closing: end the wait in progress; every later exchange
    // ends at once.
    void requestClose();
    // The window stays open after all (the user cancelled saving the work it
    // was closed with): transfers may run again. Only once none runs.
    void withdrawClose();
    // The user asked to stop: the running transfer ends before its next
    // block. An exchange in progress is not interrupted.
    void requestStop();
    // The links of the font and group windows that a whole-radio transfer
    // uses stop with the main link.
    void shareStopWith(const SerialLink &other) { m_stop = other.m_stop; }

    // --- one exchange -------------------------------------------------------
    enum class Send { CloseFirst, KeepOpen };
    Outcome identify();
    Outcome fontIdentify();
    Outcome readBlock(quint32 address, QByteArray *data);
    Outcome writeBlock(quint32 address, const QByteArray &data);
    // Any frame with its expected reply length and acceptance rule.
    Outcome exchange(const CommandFrame &frame, int expected, Send mode,
                     bool (*accept)(const QByteArray &reply, int frameLength),
                     QByteArray *reply = nullptr);
    // Whether the last exchange ended because no (whole) reply came in time.
    bool lastTimedOut() const { return m_timedOut; }

    // The pieces of an exchange, for the font window's transfers that are
    // driven by the port's own events.
    // Apply the settings, open the port if needed and write the frame.
    // False when the port could not be opened or written (see portError()).
    bool sendFrame(const CommandFrame &frame, Send mode = Send::KeepOpen);
    // Wait for at least `expected` bytes or the reply timer, then take every
    // waiting byte and close the port. Empty on time-out or close request.
    QByteArray awaitReply(int expected);

    QByteArray lastReply() const { return m_reply; }
    // The reason the port could not be used, in the user's terms.
    QString portError() const { return m_portError; }

    bool openPort();
    void closePort();
    bool isOpen() const;
    QSerialPort *port() { return &m_port; }

Q_SIGNALS:
    void closeRequested();

private:
    friend class Operation;
    friend class Sequence;
    friend void finishTransfer(SerialLink &link, TransferHost &host);

    QString describeOpenError(QSerialPort::SerialPortError error) const;
    void drainLateReply();

    SharedPortSettings m_settings;
    QSerialPort m_port;
    QString m_portError;
    QByteArray m_reply;
    int m_timeoutMs;
    bool m_missedReply = false;
    bool m_timedOut = false;

    struct StopRequest {
        bool requested = false;
    };
    bool m_busy = false;
    bool m_closing = false;
    bool m_inSequence = false;
    std::shared_ptr<StopRequest> m_stop = std::make_shared<StopRequest>();
    Completion m_completion = Completion::Announce;
    // What the last transfer that did not succeed leaves behind, in the
    // user's terms ("rows 1-712 read, the rest as before").
    QString m_endReport;
};

} // namespace kpr5
