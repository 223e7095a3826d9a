#include "core/font/FontTransfer.h"

#include "core/font/GlyphCodec.h"

#include <QEventLoop>
#include <QSerialPort>

namespace kpr5 {

const QString FontTransfer::kComError = QStringLiteral("Com Error");
const QString FontTransfer::kSuccessWrite = QStringLiteral("Success Font Write");
const QString FontTransfer::kSuccessRead = QStringLiteral("Success Font Read");
const QString FontTransfer::kAllRead = QStringLiteral("All Font Data Read");
const QString FontTransfer::kAllWrite = QStringLiteral("All Font Data Write");

QString FontTransfer::fontDataError(int comType) {
    // An ideographic space before "COM_TYPE" and the number in full-width digits.
    QString digits = QString::number(comType);
    for (QChar &c : digits)
        c = QChar(0xFF10 + (c.unicode() - u'0'));
    return QStringLiteral("Font Data Error") + QChar(0x3000) + QStringLiteral("COM_TYPE ") + digits;
}

FontTransfer::FontTransfer(FontImage &font, SerialLink &link, TransferHost &host, QObject *parent)
    : QObject(parent), m_font(font), m_link(link), m_host(host) {
    m_link.setReplyTimeout(kTimerMs);
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kTimerMs);
    connect(&m_timer, &QTimer::timeout, this, &FontTransfer::onTimeout);
    QSerialPort *port = m_link.port();
    connect(port, &QSerialPort::bytesWritten, this, &FontTransfer::onBytesWritten);
    connect(port, &QSerialPort::readyRead, this, &FontTransfer::onReadyRead);
}

FontTransfer::~FontTransfer() {
    m_timer.stop();
    m_link.closePort();
}

void FontTransfer::setState(int state) {
    if (m_state == state) return;
    m_state = state;
    Q_EMIT stateChanged(state);
}

// Open the port if it is closed, start the timer, write the frame.
bool FontTransfer::sendFrame(const CommandFrame &frame) {
    if (!m_link.openPort()) return false;
    m_timer.start(kTimerMs);
    if (!m_link.sendFrame(frame, SerialLink::Send::KeepOpen)) {
        m_timer.stop();
        return false;
    }
    return true;
}

CommandFrame FontTransfer::frameForState(int state) const {
    switch (state) {
    case GlyphWriteSent:
        return glyphWriteFrame(m_font, m_glyph);
    case GlyphReadSent:
        return glyphReadFrame(m_glyph);
    default:
        return fontIdentificationFrame();
    }
}

// The whole reply is awaited, so that nothing of it is left to be mistaken
// for the start of the next one.
int FontTransfer::replyLengthFor(int state) const {
    switch (state) {
    case AwaitGlyphWrite:
        return kGlyphWriteReplyLength;
    case AwaitGlyphRead:
        return kGlyphReadReplyLength;
    default:
        return kFontIdentifyReplyLength;
    }
}

// ---------------------------------------------------------------------------
// Single-character transfers

bool FontTransfer::writeGlyph(int k) {
    if (busy() || !FontImage::validGlyph(k)) return false;
    m_aborted = false;
    m_glyph = k;
    m_host.transferStarted();
    setState(IdentifyForWrite);
    if (!sendFrame(fontIdentificationFrame())) endPortError();
    return true;
}

bool FontTransfer::readGlyph(int k) {
    if (busy() || !FontImage::validGlyph(k)) return false;
    m_aborted = false;
    m_glyph = k;
    m_host.transferStarted();
    setState(IdentifyForRead);
    if (!sendFrame(fontIdentificationFrame())) endPortError();
    return true;
}

// A frame sent from a port event or a timer expiry: the transfer ends with
// "Port Error" when the port cannot be used.
void FontTransfer::sendStep(const CommandFrame &frame) {
    if (!sendFrame(frame)) endPortError();
}

void FontTransfer::onBytesWritten() {
    if (m_link.port()->bytesToWrite() > 0) return;
    int next = Idle;
    switch (m_state) {
    case IdentifyForWrite:
    case GlyphWriteSent:
    case IdentifyForRead:
    case GlyphReadSent:
        next = m_state + 10;
        break;
    default:
        return;
    }
    m_timer.stop();
    setState(next);
    m_timer.start(kTimerMs);
    onReadyRead(); // the reply may be complete already
}

void FontTransfer::onReadyRead() {
    switch (m_state) {
    case AwaitIdentifyForWrite:
    case AwaitGlyphWrite:
    case AwaitIdentifyForRead:
    case AwaitGlyphRead:
        break;
    default:
        return;
    }
    QSerialPort *port = m_link.port();
    if (!port->isOpen() || port->bytesAvailable() < replyLengthFor(m_state)) return;
    onReply();
}

void FontTransfer::onReply() {
    m_timer.stop();
    const QByteArray reply = m_link.port()->readAll();
    m_link.closePort();

    switch (m_state) {
    case AwaitIdentifyForWrite:
    case AwaitIdentifyForRead: {
        const bool writing = m_state == AwaitIdentifyForWrite;
        if (!fontIdentifyOk(reply)) {
            endSingle(false, fontDataError(writing ? 11 : 13), kErrorTitle);
            return;
        }
        m_host.setProgressValue(50);
        setState(writing ? GlyphWriteSent : GlyphReadSent);
        sendStep(frameForState(m_state));
        return;
    }
    case AwaitGlyphWrite:
        if (!glyphWriteOk(reply)) {
            endSingle(false, fontDataError(12), kErrorTitle);
            return;
        }
        endSingle(true, kSuccessWrite, kFinishTitle);
        return;
    case AwaitGlyphRead: {
        // A reply whose glyph digits are not hexadecimal is not taken into
        // the image; it ends like the other bad replies.
        const auto bytes = glyphFromReadReply(reply);
        if (!bytes) {
            endSingle(false, fontDataError(14), kErrorTitle);
            return;
        }
        decodeGlyph(*bytes, m_font, m_glyph);
        endSingle(true, m_quiet ? QString() : kSuccessRead, kFinishTitle);
        return;
    }
    default:
        return;
    }
}

void FontTransfer::onTimeout() {
    m_timer.stop();
    if (m_state == Idle) return;
    m_link.closePort();
    ++m_timeouts;
    if (m_state == WritingAll || m_state == ReadingAll) {
        // The polling wait sees the expiry itself; nothing is resent here.
        if (m_loop) m_loop->quit();
        return;
    }
    if (m_timeouts >= kComErrorExpiries) {
        m_timeouts = 0;
        endSingle(false, kComError, kErrorTitle);
        return;
    }
    switch (m_state) {
    case IdentifyForWrite:
    case AwaitIdentifyForWrite:
        setState(IdentifyForWrite);
        break;
    case GlyphWriteSent:
    case AwaitGlyphWrite:
        setState(GlyphWriteSent);
        break;
    case IdentifyForRead:
    case AwaitIdentifyForRead:
        setState(IdentifyForRead);
        break;
    case GlyphReadSent:
    case AwaitGlyphRead:
        setState(GlyphReadSent);
        break;
    default:
        return;
    }
    sendStep(frameForState(m_state));
}

void FontTransfer::endSingle(bool success, const QString &text, const QString &title,
                             const QString &detail) {
    m_timer.stop();
    m_link.closePort();
    if (success) m_host.setProgressValue(100);
    setState(Idle);
    if (success) {
        if (!text.isEmpty()) m_host.message(text, title, detail);
        m_host.setProgressValue(0);
        m_host.transferFinished();
    } else {
        m_host.setProgressValue(0);
        m_host.transferFinished();
        m_host.message(text, title, detail);
    }
    Q_EMIT finished(success);
}

void FontTransfer::endPortError() {
    const QString reason = m_link.portError();
    endSingle(false, kPortErrorText, kErrorTitle, reason);
}

// ---------------------------------------------------------------------------
// All-character transfers

FontTransfer::Result FontTransfer::writeAll() {
    return runAll(true);
}
FontTransfer::Result FontTransfer::readAll() {
    return runAll(false);
}

QByteArray FontTransfer::awaitReply(int count) {
    QSerialPort *port = m_link.port();
    m_timer.start(kTimerMs);
    m_host.processEvents();
    if (!m_aborted && m_timer.isActive() && port->isOpen() && port->bytesAvailable() < count) {
        QEventLoop loop;
        m_loop = &loop;
        connect(port, &QSerialPort::readyRead, &loop, [&] {
            if (port->bytesAvailable() >= count) loop.quit();
        });
        connect(port, &QSerialPort::errorOccurred, &loop, [&](QSerialPort::SerialPortError e) {
            if (e == QSerialPort::ResourceError) loop.quit();
        });
        loop.exec();
        m_loop = nullptr;
    }
    if (m_aborted) return {};
    QByteArray reply;
    if (port->isOpen() && port->bytesAvailable() >= count) {
        m_timer.stop();
        m_host.processEvents();
        reply = port->readAll();
    }
    m_timer.stop();
    m_link.closePort();
    return reply;
}

FontTransfer::Result FontTransfer::endAll(Result result, const QString &text, const QString &title,
                                          const QString &detail) {
    m_timer.stop();
    m_link.closePort();
    setState(Idle);
    if (!text.isEmpty()) m_host.message(text, title, detail);
    m_host.transferFinished();
    m_host.setProgressValue(0);
    Q_EMIT finished(result == Result::Success);
    return result;
}

FontTransfer::Result FontTransfer::runAll(bool write) {
    if (busy()) return Result::Busy;
    m_aborted = false;
    setState(write ? WritingAll : ReadingAll);
    m_host.transferStarted();

    const auto portError = [this] {
        return endAll(Result::Failed, kPortErrorText, kErrorTitle, m_link.portError());
    };

    // Identification: up to three attempts.
    for (int attempt = 1;; ++attempt) {
        if (!sendFrame(fontIdentificationFrame())) return portError();
        const QByteArray reply = awaitReply(kFontIdentifyReplyLength);
        if (m_aborted) return Result::Aborted;
        if (acceptFontIdentifyReply(reply)) break;
        if (attempt >= kIdentifyAttempts) return endAll(Result::Failed, kErrorText, kErrorTitle);
    }

    // Glyphs 0..7; the failures are counted over the whole transfer.
    int failures = 0;
    for (int k = 0; k < FontImage::kGlyphCount && failures < kGlyphFailureLimit;) {
        const CommandFrame frame = write ? glyphWriteFrame(m_font, k) : glyphReadFrame(k);
        if (!sendFrame(frame)) return portError();
        const QByteArray reply = awaitReply(write ? kGlyphWriteReplyLength : kGlyphReadReplyLength);
        if (m_aborted) return Result::Aborted;
        bool ok = false;
        if (write) {
            ok = reply.size() == kGlyphWriteReplyLength && glyphWriteOk(reply);
        } else if (const auto bytes = glyphFromReadReply(reply)) {
            // A whole block-read reply ends in CR LF: 143 characters without it
            // are the tail of a late reply and the head of this one.
            ok = bool(acceptReadReply(reply)) && decodeGlyph(*bytes, m_font, k);
        }
        if (!ok) {
            ++failures;
            if (reply.size() < (write ? kGlyphWriteReplyLength : kGlyphReadReplyLength))
                m_link.noteMissedReply();
            continue;
        }
        if (m_link.missedReply()) m_link.drainLateReply();
        if (!write || k < FontImage::kGlyphCount - 1) m_host.setProgressValue(12 * (k + 1));
        ++k;
    }
    if (failures >= kGlyphFailureLimit) return endAll(Result::Failed, kErrorText, kErrorTitle);

    m_host.setProgressValue(100);
    const QString done = write ? kAllWrite : kAllRead;
    return endAll(Result::Success, m_quiet && !write ? QString() : done, kFinishTitle);
}

void FontTransfer::abort() {
    m_aborted = true;
    m_timer.stop();
    m_link.closePort();
    setState(Idle);
    if (m_loop) m_loop->quit();
}

} // namespace kpr5
