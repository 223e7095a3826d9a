#include "core/font/FontTransfer.h"

#include "core/font/GlyphCodec.h"

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
    m_glyph = k;
    m_stopPending = false;
    m_host.transferStarted();
    setState(IdentifyForWrite);
    if (!sendFrame(fontIdentificationFrame())) endPortError();
    return true;
}

bool FontTransfer::readGlyph(int k) {
    if (busy() || !FontImage::validGlyph(k)) return false;
    m_glyph = k;
    m_stopPending = false;
    m_host.transferStarted();
    setState(IdentifyForRead);
    if (!sendFrame(fontIdentificationFrame())) endPortError();
    return true;
}

// A frame sent from a port event or a timer expiry: the transfer ends with
// "Port Error" when the port cannot be used, and before the frame when the
// user asked to stop.
void FontTransfer::sendStep(const CommandFrame &frame) {
    if (m_stopPending) {
        endSingle(false,
                  QStringLiteral("Stopped: character %1 was not %2.")
                      .arg(m_glyph + 1)
                      .arg(m_state == GlyphWriteSent || m_state == IdentifyForWrite
                               ? QStringLiteral("written")
                               : QStringLiteral("read")),
                  kStoppedTitle);
        return;
    }
    if (!sendFrame(frame)) endPortError();
}

void FontTransfer::requestStop() {
    if (m_state == WritingAll || m_state == ReadingAll)
        m_link.requestStop();
    else if (busy())
        m_stopPending = true;
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

TransferResult FontTransfer::writeAll() {
    return runAll(true);
}
TransferResult FontTransfer::readAll() {
    return runAll(false);
}

namespace {
bool acceptGlyphWrite(const QByteArray &reply, int) {
    return reply.size() == kGlyphWriteReplyLength && glyphWriteOk(reply);
}
// A whole block-read reply ends in CR LF: 143 characters without it are the
// tail of a late reply and the head of this one.
bool acceptGlyphRead(const QByteArray &reply, int) {
    return acceptReadReply(reply) && glyphFromReadReply(reply);
}
} // namespace

TransferResult FontTransfer::runAll(bool write) {
    if (busy()) return TransferResult::NotStarted;
    Operation op(m_link, m_host, QStringLiteral("User characters"));
    if (!op.begin()) return op.result();
    setState(write ? WritingAll : ReadingAll);
    const auto ended = [&] {
        setState(Idle);
        m_host.setProgressValue(0);
        Q_EMIT finished(false);
        return op.result();
    };
    // Every exchange that the 200 ms timer ended counts towards "Com Error".
    const auto counted = [this](Outcome o) {
        if (m_link.lastTimedOut()) ++m_timeouts;
        return o;
    };

    if (!op.retry(kIdentifyAttempts, [&] { return counted(m_link.fontIdentify()); }))
        return ended();
    // Glyphs 0..7; the failures are counted over the whole transfer.
    const bool all = op.repeat(FontImage::kGlyphCount, kGlyphFailureLimit, [&](int k) {
        QByteArray reply;
        const Outcome o =
            write ? m_link.exchange(glyphWriteFrame(m_font, k), kGlyphWriteReplyLength,
                                    SerialLink::Send::KeepOpen, acceptGlyphWrite)
                  : m_link.exchange(glyphReadFrame(k), kGlyphReadReplyLength,
                                    SerialLink::Send::KeepOpen, acceptGlyphRead, &reply);
        if (o == Outcome::Accepted) {
            if (!write) decodeGlyph(*glyphFromReadReply(reply), m_font, k);
            if (!write || k < FontImage::kGlyphCount - 1) m_host.setProgressValue(12 * (k + 1));
        }
        return counted(o);
    });
    if (!all) return ended();

    setState(Idle);
    op.succeed(100, m_quiet && !write ? QString() : (write ? kAllWrite : kAllRead));
    m_host.setProgressValue(0);
    Q_EMIT finished(true);
    return op.result();
}

void FontTransfer::abort() {
    m_timer.stop();
    setState(Idle);
    // Ends the wait of a transfer of all characters; a single-character
    // transfer ends with the timer.
    m_link.requestClose();
}

} // namespace kpr5
