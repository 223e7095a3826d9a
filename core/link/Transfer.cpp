#include "core/link/Transfer.h"

#include <QElapsedTimer>

namespace kpr5 {

namespace {
constexpr int kIdentifyAttempts = 3;
const QString kStoppedText = QStringLiteral("Stopped.");

// Seconds left for `remaining` blocks at the pace of the `done` so far.
int secondsLeft(qint64 elapsedMs, int done, int remaining) {
    if (done <= 0) return -1;
    return int((elapsedMs * remaining / done + 999) / 1000);
}
} // namespace

QString blocksDoneText(const QString &what, int done, int total, int secondsLeft) {
    QString text = QStringLiteral("%1 %2/%3").arg(what).arg(done).arg(total);
    if (secondsLeft >= 0) text += QStringLiteral(" \u00B7 %1 s left").arg(secondsLeft);
    return text;
}

void finishTransfer(SerialLink &link, TransferHost &host) {
    host.setPercent(0);
    link.m_busy = false;
    host.transferFinished();
}

// --- Operation ----------------------------------------------------------------

Operation::Operation(SerialLink &link, TransferHost &host, const QString &name)
    : m_link(link), m_host(host), m_name(name) {}

bool Operation::begin() {
    if (m_link.m_busy || m_link.closing()) return false;
    m_link.m_busy = true;
    m_link.m_endReport.clear();
    // A stop asked for before a transfer of its own started is forgotten; in
    // a whole-radio transfer it stops the next step.
    if (!m_link.m_inSequence) m_link.m_stop->requested = false;
    // A failure of an earlier transfer must not silence this one's "Success";
    // only a whole-radio transfer asks for quiet steps.
    if (m_link.m_completion == Completion::StepFailed) m_link.m_completion = Completion::Announce;
    m_host.transferStarted();
    return true;
}

void Operation::end(TransferResult result) {
    m_result = result;
    if (result != TransferResult::Success && m_report) m_link.m_endReport = m_report(result);
}

bool Operation::endedBy(Outcome outcome) {
    if (outcome == Outcome::PortError) {
        failPort();
        return true;
    }
    if (outcome == Outcome::Closing) {
        close();
        return true;
    }
    return false;
}

bool Operation::repeat(int count, int failureLimit, const std::function<Outcome(int)> &exchange) {
    int failures = 0;
    QElapsedTimer clock;
    clock.start();
    for (int index = 0; index < count;) {
        if (m_link.stopRequested()) {
            stop();
            return false;
        }
        const Outcome o = exchange(index);
        if (o == Outcome::Accepted) {
            ++index;
            if (count > 1 && !m_name.isEmpty())
                m_host.blocksDone(m_name, index, count,
                                  secondsLeft(clock.elapsed(), index, count - index));
            continue;
        }
        if (endedBy(o)) return false;
        if (++failures >= failureLimit) {
            fail();
            return false;
        }
    }
    return true;
}

bool Operation::retry(int attempts, const std::function<Outcome()> &exchange) {
    return repeat(1, attempts, [&](int) { return exchange(); });
}

bool Operation::identify() {
    return retry(kIdentifyAttempts, [&] { return m_link.identify(); });
}

void Operation::fail() {
    end(TransferResult::Failed);
    m_link.m_completion = Completion::StepFailed;
    finishTransfer(m_link, m_host);
    m_host.message(kErrorText, kErrorTitle);
}

void Operation::failPort() {
    end(TransferResult::PortError);
    m_link.closePort();
    m_link.m_completion = Completion::StepFailed;
    finishTransfer(m_link, m_host);
    m_host.message(kPortErrorText, kErrorTitle, m_link.portError());
}

void Operation::close() {
    end(TransferResult::Closed);
    m_link.m_busy = false;
    m_host.closeWindow();
}

void Operation::stop() {
    end(TransferResult::Stopped);
    m_link.closePort();
    const bool announce = m_link.m_completion == Completion::Announce;
    m_link.m_completion = Completion::StepFailed;
    finishTransfer(m_link, m_host);
    // A whole-radio transfer names it in its own closing message.
    if (announce)
        m_host.message(m_link.m_endReport.isEmpty() ? kStoppedText : m_link.m_endReport,
                       kStoppedTitle);
}

void Operation::succeed(int progressMaximum, const QString &text) {
    // The window was closed after the last exchange: end as a close, not
    // with "Success" in a window that is going away.
    if (m_link.closing()) {
        close();
        return;
    }
    end(TransferResult::Success);
    if (progressMaximum >= 0) m_host.setProgressValue(progressMaximum);
    m_host.setPercent(100);
    m_host.processEvents();
    if (m_link.m_completion == Completion::Announce && !text.isEmpty())
        m_host.message(text, kFinishTitle);
    m_link.m_completion = Completion::Announce;
    finishTransfer(m_link, m_host);
}

TransferResult runSingleExchange(SerialLink &link, TransferHost &host,
                                 const std::function<Outcome()> &exchange,
                                 const std::function<void()> &accepted) {
    Operation op(link, host);
    if (!op.begin()) return op.result();
    host.setProgressMaximum(100);
    if (!op.identify()) return op.result();
    host.setProgressValue(50);
    host.setPercent(50);
    if (!op.retry(3, exchange)) return op.result();
    if (accepted) accepted();
    op.succeed(100);
    return op.result();
}

// --- Sequence -----------------------------------------------------------------

Sequence::Sequence(SerialLink &link, TransferHost &host) : m_link(link), m_host(host) {}

Sequence::~Sequence() {
    m_link.m_inSequence = false;
}

bool Sequence::begin() {
    if (m_link.m_busy || m_link.closing()) return false;
    m_link.m_inSequence = true;
    m_link.m_stop->requested = false;
    return true;
}

TransferResult Sequence::step(const QString &name, const std::function<TransferResult()> &run) {
    Step step{name, TransferResult::NotStarted, QString()};
    if (m_cutShort || m_link.stopRequested()) {
        m_cutShort = true;
        m_steps << step;
        return step.result;
    }
    m_link.m_completion = Completion::Quiet;
    m_link.m_busy = false;
    m_link.m_endReport.clear();
    m_host.stepStarted(name);
    step.result = run();
    if (m_link.closing()) {
        m_closed = true;
        m_link.m_busy = false;
        m_host.closeWindow();
        step.result = TransferResult::Closed;
    }
    if (!succeeded(step.result)) step.report = m_link.m_endReport;
    if (step.result == TransferResult::PortError || step.result == TransferResult::Stopped)
        m_cutShort = true;
    m_steps << step;
    return step.result;
}

bool Sequence::allSucceeded() const {
    for (const Step &s : m_steps)
        if (!succeeded(s.result)) return false;
    return true;
}

void Sequence::finish() {
    m_link.m_completion = Completion::Announce;
    finishTransfer(m_link, m_host);
}

} // namespace kpr5
