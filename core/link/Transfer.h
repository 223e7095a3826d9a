#pragma once
// What every transfer operation shares: the host it reports through (the main
// window, another window, or the command line), and the common steps of the
// retry pattern (busy flag, identification, error and success endings).

#include "core/link/SerialLink.h"

#include <QString>

#include <functional>

namespace kpr5 {

// The seam between a transfer (core) and whoever shows it.
class TransferHost {
public:
    virtual ~TransferHost() = default;
    // `ProgressBar1`
    virtual void setProgressMaximum(int maximum) = 0;
    virtual void setProgressValue(int value) = 0;
    // `Progress`: the integer followed by "%"
    virtual void setPercent(int percent) = 0;
    // Channel transfers move the grid's current row as they go.
    virtual void setCurrentRow(int row) { Q_UNUSED(row); }
    // A message box with an OK button. `detail` is extra explanation (for
    // example why a port could not be opened); the text and title stay the
    // system's own.
    virtual void message(const QString &text, const QString &title,
                         const QString &detail = QString()) = 0;
    // A transfer starts: disable the controls, stop the grid redrawing.
    virtual void transferStarted() {}
    // The window part of `finishTransfer`: grid redrawing on, current cell
    // row 1, controls enabled.
    virtual void transferFinished() {}
    // The window was closed during the transfer: unload it now.
    virtual void closeWindow() {}
    // Let pending window events run (the GUI processes events; others do nothing).
    virtual void processEvents() {}
    // A composite operation (the whole-radio read or write) starts a step.
    virtual void stepStarted(const QString &name) { Q_UNUSED(name); }
};

// A host that shows nothing (tests, composite steps that report elsewhere).
class NullTransferHost : public TransferHost {
public:
    void setProgressMaximum(int) override {}
    void setProgressValue(int) override {}
    void setPercent(int) override {}
    void message(const QString &, const QString &, const QString &) override {}
};

inline const QString kSuccessText = QStringLiteral("Success");
inline const QString kErrorText = QStringLiteral("Error");
inline const QString kPortErrorText = QStringLiteral("Port Error");
inline const QString kFinishTitle = QStringLiteral(" Finish");
inline const QString kErrorTitle = QStringLiteral(" Error");

// `finishTransfer`: "0%" in `Progress`, busy cleared, window controls back.
void finishTransfer(SerialLink &link, TransferHost &host);

// One transfer operation of a window: the common pattern of the link rules.
//
//   Operation op(link, host, 232);
//   if (!op.begin()) return;               // another transfer runs
//   if (!op.identify()) return;            // 3 attempts; the ending is done
//   ... blocks: op.exchangeWithRetries(...) / link.readBlock(...)
//   op.succeed();
class Operation {
public:
    Operation(SerialLink &link, TransferHost &host, int busyCode);

    // False (and nothing happens) while another transfer runs. Otherwise sets
    // `transferBusy`, clears `failureCount` and tells the host.
    bool begin();
    void setBusyCode(int code) { m_link.state.transferBusy = code; }

    // Up to 3 identification attempts. On failure the operation has already
    // ended (error, port error or closing) and false is returned.
    bool identify();

    // Handle an outcome that is neither Accepted nor Rejected: a port error
    // ends with "Port Error", closing ends silently. Returns true if the
    // operation has ended.
    bool endedBy(Outcome outcome);

    // Run one exchange up to `attempts` times (the failure counter restarts);
    // false when the operation has ended (the ending is done).
    bool retry(int attempts, const std::function<Outcome()> &exchange);

    // Endings.
    void fail();                            // completionMode 2, finishTransfer, "Error" / " Error"
    void failPort();                        // finishTransfer, "Port Error" / " Error"
    void closeWindow();                     // the window is closing: end without a message
    void succeed(int progressMaximum = -1); // 100 %, "Success" unless quiet, finishTransfer

    bool ended() const { return m_ended; }
    SerialLink &link() { return m_link; }
    TransferHost &host() { return m_host; }

private:
    SerialLink &m_link;
    TransferHost &m_host;
    int m_busyCode;
    bool m_ended = false;
};

// The shape of the small transfers (one-touch keys, title): identification,
// progress 50 %, one exchange with up to 3 attempts, then `accepted` and the
// success ending at 100 %. False when it did not start or failed (the ending
// is done).
bool runSingleExchange(SerialLink &link, TransferHost &host, int busyCode,
                       const std::function<Outcome()> &exchange,
                       const std::function<void()> &accepted = {});

} // namespace kpr5
