#include "core/link/SerialLink.h"

#include <QSignalBlocker>

#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

namespace kpr5 {

SerialLink::SerialLink(SharedPortSettings settings, int replyTimeoutMs, QObject *parent)
    : QObject(parent), m_settings(std::move(settings)), m_timeoutMs(replyTimeoutMs) {
    if (!m_settings) m_settings = std::make_shared<PortSettings>();
}

SerialLink::~SerialLink() {
    closePort();
}

bool SerialLink::isOpen() const {
    return m_port.isOpen();
}

QString SerialLink::describeOpenError(QSerialPort::SerialPortError error) const {
    const QString name = portName();
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return tr("%1: no such device. Check that the clone cable is plugged in and choose "
                  "its port in the COMPort menu.")
            .arg(name);
    case QSerialPort::PermissionError: {
        const QFileInfo info(name);
        const QString group = info.exists() ? info.group() : QString();
        if (!group.isEmpty() && group != QLatin1String("root"))
            return tr("%1: permission denied, or the port is in use by another program. "
                      "To use it, your user must be in the group \"%2\" that owns the device "
                      "(then log in again).")
                .arg(name, group);
        return tr("%1: permission denied, or the port is in use by another program.").arg(name);
    }
    case QSerialPort::OpenError:
        return tr("%1: the port is already open.").arg(name);
    case QSerialPort::ResourceError:
        return tr("%1: the device went away (was the cable unplugged?).").arg(name);
    default:
        return QStringLiteral("%1: %2").arg(name, m_port.errorString());
    }
}

bool SerialLink::openPort() {
    if (m_port.isOpen()) return true;
    m_port.setPortName(portName());
    m_port.setBaudRate(PortSettings::kBaudRate);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_port.setReadBufferSize(0); // keep a whole reply, however long
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_portError = describeOpenError(m_port.error());
        m_port.clearError();
        return false;
    }
    m_portError.clear();
    return true;
}

void SerialLink::closePort() {
    if (m_port.isOpen()) m_port.close();
}

bool SerialLink::sendFrame(const CommandFrame &frame, Send mode) {
    if (mode == Send::CloseFirst) closePort();
    if (!openPort()) return false;
    // A reply that came too late for its own command must not be taken for
    // the reply to this one: whatever waits now is read and dropped (without
    // announcing it to readyRead listeners).
    {
        const QSignalBlocker quiet(&m_port);
        m_port.waitForReadyRead(0);
        m_port.readAll();
    }
    if (m_port.write(frame) != frame.size()) {
        m_portError = describeOpenError(m_port.error());
        m_port.clearError();
        closePort();
        return false;
    }
    return true;
}

QByteArray SerialLink::awaitReply(int expected) {
    m_reply.clear();
    m_timedOut = false;
    if (closing()) return m_reply;
    if (!m_port.isOpen()) return m_reply;

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    bool timedOut = false;
    bool vanished = false;
    connect(&timer, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    connect(&m_port, &QSerialPort::readyRead, &loop, [&] {
        if (m_port.bytesAvailable() >= expected) loop.quit();
    });
    connect(&m_port, &QSerialPort::errorOccurred, &loop, [&](QSerialPort::SerialPortError e) {
        if (e == QSerialPort::ResourceError) {
            vanished = true;
            loop.quit();
        }
    });
    connect(this, &SerialLink::closeRequested, &loop, &QEventLoop::quit);

    timer.start(m_timeoutMs);
    if (m_port.bytesAvailable() < expected) loop.exec();
    timer.stop();

    if (closing()) {
        closePort();
        return m_reply;
    }
    if (vanished) {
        m_portError = describeOpenError(QSerialPort::ResourceError);
        m_port.clearError();
    } else if (!timedOut || m_port.bytesAvailable() >= expected) {
        m_reply = m_port.readAll();
    } else {
        m_timedOut = true;
    }
    closePort();
    return m_reply;
}

Outcome SerialLink::exchange(const CommandFrame &frame, int expected, Send mode,
                             bool (*accept)(const QByteArray &, int), QByteArray *reply) {
    if (closing()) return Outcome::Closing;
    if (!sendFrame(frame, mode)) return Outcome::PortError;
    const QByteArray r = awaitReply(expected);
    if (closing()) return Outcome::Closing;
    if (reply) *reply = r;
    const bool accepted = accept(r, int(frame.size()));
    if (accepted && m_missedReply)
        drainLateReply();
    else if (!accepted && r.size() < expected)
        m_missedReply = true; // its reply may still come, after the next frame
    return accepted ? Outcome::Accepted : Outcome::Rejected;
}

void SerialLink::drainLateReply() {
    // A command that went unanswered in time was sent again and answered: the
    // radio may still send the second answer. Take whatever comes until the
    // line has been quiet for a while, so that it is not read as the answer
    // to the next command.
    m_missedReply = false;
    if (closing() || !openPort()) return;
    const int quietMs = qMin(m_timeoutMs, 100);
    QEventLoop loop;
    QTimer quiet;
    quiet.setSingleShot(true);
    QTimer limit;
    limit.setSingleShot(true);
    connect(&quiet, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(this, &SerialLink::closeRequested, &loop, &QEventLoop::quit);
    connect(&m_port, &QSerialPort::readyRead, &loop, [&] {
        m_port.readAll();
        quiet.start(quietMs);
    });
    connect(&m_port, &QSerialPort::errorOccurred, &loop, &QEventLoop::quit);
    m_port.readAll();
    quiet.start(quietMs);
    limit.start(m_timeoutMs + 200);
    loop.exec();
    if (m_port.isOpen()) m_port.readAll();
    closePort();
}

Outcome SerialLink::identify() {
    return exchange(identificationFrame(), kIdentifyReplyLength, Send::KeepOpen,
                    [](const QByteArray &r, int) { return acceptIdentifyReply(r); });
}

Outcome SerialLink::fontIdentify() {
    return exchange(fontIdentificationFrame(), kFontIdentifyReplyLength, Send::KeepOpen,
                    [](const QByteArray &r, int) { return acceptFontIdentifyReply(r); });
}

Outcome SerialLink::readBlock(quint32 address, QByteArray *data) {
    QByteArray reply;
    const Outcome o = exchange(
        blockReadFrame(address), kBlockReadReplyLength, Send::CloseFirst,
        [](const QByteArray &r, int) { return bool(acceptReadReply(r)); }, &reply);
    if (o == Outcome::Accepted && data) *data = *acceptReadReply(reply);
    return o;
}

Outcome SerialLink::writeBlock(quint32 address, const QByteArray &data) {
    const CommandFrame frame = blockWriteFrame(address, data);
    return exchange(frame, writeReplyLength(int(frame.size())), Send::KeepOpen, acceptWriteReply);
}

void SerialLink::requestClose() {
    m_closing = true;
    closePort();
    Q_EMIT closeRequested();
}

void SerialLink::withdrawClose() {
    if (!m_busy) m_closing = false;
}

void SerialLink::requestStop() {
    m_stop->requested = true;
}

} // namespace kpr5
