#include "core/link/Transfer.h"

namespace kpr5 {

namespace {
constexpr int kIdentifyAttempts = 3;
}

void finishTransfer(SerialLink &link, TransferHost &host) {
    host.setPercent(0);
    link.m_busy = false;
    host.transferFinished();
}

// --- Operation ----------------------------------------------------------------

Operation::Operation(SerialLink &link, TransferHost &host) : m_link(link), m_host(host) {}

bool Operation::begin() {
    if (m_link.m_busy || m_link.closing()) return false;
    m_link.m_busy = true;
    m_link.m_stopRequested = false;
    // A failure of an earlier transfer must not silence this one's "Success";
    // only a whole-radio transfer asks for quiet steps.
    if (m_link.m_completion == Completion::StepFailed) m_link.m_completion = Completion::Announce;
    m_host.transferStarted();
    return true;
}

void Operation::end(TransferResult result) {
    m_result = result;
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
    for (int index = 0; index < count;) {
        const Outcome o = exchange(index);
        if (o == Outcome::Accepted) {
            ++index;
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

bool Sequence::begin() {
    return !m_link.m_busy && !m_link.closing();
}

TransferResult Sequence::step(const QString &name, const std::function<TransferResult()> &run) {
    m_link.m_completion = Completion::Quiet;
    m_link.m_busy = false;
    m_host.stepStarted(name);
    const TransferResult result = run();
    if (m_link.closing()) {
        m_closed = true;
        m_link.m_busy = false;
        m_host.closeWindow();
        return TransferResult::Closed;
    }
    if (!succeeded(result)) m_failed << name;
    return result;
}

void Sequence::finish() {
    m_link.m_completion = Completion::Announce;
    finishTransfer(m_link, m_host);
}

} // namespace kpr5
