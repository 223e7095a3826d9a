#pragma once
// The transfer engine: the host a transfer reports through (the main window,
// another window, or the command line), and the common pattern every
// transfer follows (busy flag, identification, one retry loop, and the
// endings "Success", "Error" and "Port Error").
//
//   Operation op(link, host);
//   if (!op.begin()) return op.result();       // another transfer runs
//   if (!op.identify()) return op.result();    // 3 attempts; the ending is done
//   op.repeat(blocks, failureLimit, [&](int i) { return link.readBlock(...); });
//   op.succeed();
//
// Only Operation and Sequence change the link's transfer state.

#include "core/link/SerialLink.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace kpr5 {

// How a transfer ended.
enum class TransferResult {
    Success,
    Failed,     // too many failed exchanges: "Error"
    PortError,  // the port could not be used: "Port Error"
    Closed,     // the window was closed during the transfer
    Stopped,    // the user stopped it between two blocks
    NotStarted, // another transfer was running
};

inline bool succeeded(TransferResult r) {
    return r == TransferResult::Success;
}

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
    // program's own.
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
    // A whole-radio transfer starts a step.
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

// One transfer operation of a window.
class Operation {
public:
    Operation(SerialLink &link, TransferHost &host);

    // False (and nothing happens) while another transfer runs or the window
    // closes. Otherwise the link is busy and the host is told.
    bool begin();

    // Up to 3 identification attempts. On failure the operation has ended.
    bool identify();

    // The retry loop. Runs exchange(0) .. exchange(count - 1) in order; an
    // exchange that is not accepted is repeated at once and counted, and the
    // operation fails with "Error" once `failureLimit` failures have been
    // counted in all. A port error ends it with "Port Error", a close request
    // without a message, and a stop request (checked before each exchange,
    // never during one) with the stop ending. False once it has ended.
    bool repeat(int count, int failureLimit, const std::function<Outcome(int index)> &exchange);
    // One exchange, up to `attempts` times.
    bool retry(int attempts, const std::function<Outcome()> &exchange);

    // Endings.
    void fail();     // "Error" / " Error"
    void failPort(); // "Port Error" / " Error", with the reason
    void close();    // the window is closing: end without a message
    // 100 %, then `text` titled " Finish" unless the operation runs quietly.
    void succeed(int progressMaximum = -1, const QString &text = kSuccessText);

    bool ended() const { return m_result.has_value(); }
    TransferResult result() const { return m_result.value_or(TransferResult::NotStarted); }
    SerialLink &link() { return m_link; }
    TransferHost &host() { return m_host; }

private:
    bool endedBy(Outcome outcome);
    void end(TransferResult result);

    SerialLink &m_link;
    TransferHost &m_host;
    std::optional<TransferResult> m_result;
};

// The shape of the small transfers (one-touch keys, title): identification,
// progress 50 %, one exchange with up to 3 attempts, then `accepted` and the
// success ending at 100 %.
TransferResult runSingleExchange(SerialLink &link, TransferHost &host,
                                 const std::function<Outcome()> &exchange,
                                 const std::function<void()> &accepted = {});

// A whole-radio transfer: transfers run one after the other as quiet steps
// (no "Success" of their own), each with its own identification, retry
// limits and failure messages.
class Sequence {
public:
    Sequence(SerialLink &link, TransferHost &host);

    // False while another transfer runs or the window closes.
    bool begin();
    // Runs one step quietly and returns how it ended. After a step during
    // which the window was closed, the sequence has ended (closed()).
    TransferResult step(const QString &name, const std::function<TransferResult()> &run);
    bool closed() const { return m_closed; }
    // The steps that did not succeed, by name.
    const QStringList &failedSteps() const { return m_failed; }
    // The common end: finishTransfer without a message of its own.
    void finish();

private:
    SerialLink &m_link;
    TransferHost &m_host;
    bool m_closed = false;
    QStringList m_failed;
};

} // namespace kpr5
