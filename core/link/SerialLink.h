#pragma once
// The serial link to the radio: port choice and settings, sending one command
// frame, and awaiting its reply on the calling (user-interface) thread.
//
// Each command opens the port before it is sent and closes it once its reply
// has arrived or timed out.  Waiting runs a nested event loop that wakes on
// received data, on the one-shot reply timer and on a close request, so window
// events keep running and the CPU stays idle while the radio answers.

#include "core/link/CommandFrame.h"

#include <QObject>
#include <QSerialPort>
#include <QString>

class QEventLoop;

namespace kpr5 {

// The link state shared by every transfer of a window.
struct LinkState {
    int comPort = 1;           // 1 = COM1
    int transferBusy = 0;      // 0 idle; the running operation's code otherwise
    quint8 failureCount = 0;   // failed exchanges of the running operation
    quint8 completionMode = 0; // 0 show "Success"; 1 quiet step of a composite; 2 step failed
    quint8 closing = 0;        // 1 once the window is being closed
};

// Outcome of one exchange.
enum class Outcome {
    Accepted,  // the reply had the expected length and fixed bytes
    Rejected,  // wrong length, wrong fixed bytes, or no reply in time
    PortError, // the port could not be opened or written
    Closing,   // the window is being closed; end the operation at once
};

class SerialLink : public QObject {
    Q_OBJECT
public:
    explicit SerialLink(QObject *parent = nullptr);
    ~SerialLink() override;

    LinkState state;

    // "57600,n,8,1"
    static QString settingsString() { return QStringLiteral("57600,n,8,1"); }
    static constexpr qint32 kBaudRate = 57600;

    // The port: COMn by number (state.comPort), unless a device path is set.
    void setDevicePath(const QString &path) { m_devicePath = path; }
    QString devicePath() const { return m_devicePath; }
    // The system name of the port in use: the device path, or COMn as the
    // platform names it (COMn on Windows, /dev/ttyS<n-1> elsewhere).
    QString portName() const;
    static QString systemNameForComPort(int n);
    // "COM3" -> 3; 0 when the text is not of that form.
    static int comNumberFromText(const QString &text);

    // Reply timer interval; 1000 ms in the main window, 200 ms in the font and
    // group windows.
    void setReplyTimeout(int ms) { m_timeoutMs = ms; }
    int replyTimeout() const { return m_timeoutMs; }

    // --- one exchange --------------------------------------------------------
    enum class Send { CloseFirst, KeepOpen };
    // Apply the settings, open the port if needed and write the frame.
    // False when the port could not be opened or written (see portError()).
    bool sendFrame(const CommandFrame &frame, Send mode = Send::KeepOpen);
    // Wait for at least `expected` bytes or the reply timer, then take every
    // waiting byte and close the port. Empty on time-out or close request.
    QByteArray awaitReply(int expected);

    Outcome identify();
    Outcome fontIdentify();
    Outcome readBlock(quint32 address, QByteArray *data);
    Outcome writeBlock(quint32 address, const QByteArray &data);
    // Any frame with its expected reply length and acceptance rule.
    Outcome exchange(const CommandFrame &frame, int expected, Send mode,
                     bool (*accept)(const QByteArray &reply, int frameLength),
                     QByteArray *reply = nullptr);

    // After a command that went unanswered in time was sent again and
    // answered, its late answer may still come: drain it (used by exchange()
    // and by transfers that wait on the port themselves).
    void noteMissedReply();
    bool missedReply() const { return m_missedReply; }
    void drainLateReply();

    QByteArray lastReply() const { return m_reply; }
    // The reason the port could not be used, in the user's terms.
    QString portError() const { return m_portError; }

    bool openPort();
    void closePort();
    bool isOpen() const;
    QSerialPort *port() { return &m_port; }

    // The window is closing: set `closing` and end the wait in progress.
    void requestClose();
    bool closing() const { return state.closing != 0; }

Q_SIGNALS:
    void closeRequested();

private:
    QString describeOpenError(QSerialPort::SerialPortError error) const;

    QSerialPort m_port;
    QString m_devicePath;
    QString m_portError;
    QByteArray m_reply;
    int m_timeoutMs = 1000;
    bool m_missedReply = false;
};

} // namespace kpr5
