#include "core/link/Transfer.h"

namespace kpr5 {

void finishTransfer(SerialLink &link, TransferHost &host) {
    host.setPercent(0);
    link.state.transferBusy = 0;
    host.transferFinished();
}

Operation::Operation(SerialLink &link, TransferHost &host, int busyCode)
    : m_link(link), m_host(host), m_busyCode(busyCode) {}

bool Operation::begin() {
    if (m_link.state.transferBusy != 0 || m_link.closing()) return false;
    m_link.state.transferBusy = m_busyCode;
    m_link.state.failureCount = 0;
    // A failure of an earlier transfer must not silence this one's "Success";
    // only a composite operation (mode 1) asks for quiet steps.
    if (m_link.state.completionMode == 2) m_link.state.completionMode = 0;
    m_host.transferStarted();
    return true;
}

bool Operation::endedBy(Outcome outcome) {
    if (outcome == Outcome::PortError) {
        failPort();
        return true;
    }
    if (outcome == Outcome::Closing) {
        closeWindow();
        return true;
    }
    return false;
}

bool Operation::retry(int attempts, const std::function<Outcome()> &exchange) {
    m_link.state.failureCount = 0;
    while (m_link.state.failureCount < attempts) {
        const Outcome o = exchange();
        if (o == Outcome::Accepted) return true;
        if (endedBy(o)) return false;
        ++m_link.state.failureCount;
    }
    fail();
    return false;
}

bool Operation::identify() {
    return retry(3, [this] { return m_link.identify(); });
}

void Operation::fail() {
    m_ended = true;
    m_link.state.completionMode = 2;
    finishTransfer(m_link, m_host);
    m_link.state.failureCount = 0;
    m_host.message(kErrorText, kErrorTitle);
}

void Operation::failPort() {
    m_ended = true;
    m_link.closePort();
    m_link.state.completionMode = 2;
    finishTransfer(m_link, m_host);
    m_host.message(kPortErrorText, kErrorTitle, m_link.portError());
}

void Operation::closeWindow() {
    m_ended = true;
    m_link.state.transferBusy = 0;
    m_host.closeWindow();
}

void Operation::succeed(int progressMaximum) {
    m_ended = true;
    if (progressMaximum >= 0) m_host.setProgressValue(progressMaximum);
    m_host.setPercent(100);
    m_host.processEvents();
    if (m_link.state.completionMode == 0) m_host.message(kSuccessText, kFinishTitle);
    m_link.state.completionMode = 0;
    finishTransfer(m_link, m_host);
}

bool runSingleExchange(SerialLink &link, TransferHost &host, int busyCode,
                       const std::function<Outcome()> &exchange,
                       const std::function<void()> &accepted) {
    Operation op(link, host, busyCode);
    if (!op.begin()) return false;
    host.setProgressMaximum(100);
    if (!op.identify()) return false;
    host.setProgressValue(50);
    host.setPercent(50);
    if (!op.retry(3, exchange)) return false;
    if (accepted) accepted();
    op.succeed(100);
    return true;
}

} // namespace kpr5
