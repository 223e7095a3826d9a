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
    // A transfer of several blocks has `done` of its `total` blocks ("Channels",
    // 713, 1623); `secondsLeft` is estimated from the blocks so far (-1: not
    // yet known).
    virtual void blocksDone(const QString &what, int done, int total, int secondsLeft) {
        Q_UNUSED(what);
        Q_UNUSED(done);
        Q_UNUSED(total);
        Q_UNUSED(secondsLeft);
    }
};

// "Channels 713/1623 · 21 s left" (without the time while it is not known).
QString blocksDoneText(const QString &what, int done, int total, int secondsLeft);

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
inline const QString kStoppedTitle = QStringLiteral(" Stopped");

// `finishTransfer`: "0%" in `Progress`, busy cleared, window controls back.
void finishTransfer(SerialLink &link, TransferHost &host);

// One transfer operation of a window.
class Operation {
public:
    // `name` labels the blocks done while the operation runs ("Channels").
    Operation(SerialLink &link, TransferHost &host, const QString &name = QString());

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
    // What the operation leaves behind when it does not succeed, in the
    // user's terms: shown when it is stopped, and named by a whole-radio
    // transfer's closing message.
    void setEndReport(std::function<QString(TransferResult)> report) {
        m_report = std::move(report);
    }
    // One exchange, up to `attempts` times.
    bool retry(int attempts, const std::function<Outcome()> &exchange);

    // Endings.
    void fail();     // "Error" / " Error"
    void failPort(); // "Port Error" / " Error", with the reason
    void close();    // the window is closing: end without a message
    void stop();     // the user stopped it: its end report titled " Stopped"
    // 100 %, then `text` titled " Finish" unless the operation runs quietly.
    void succeed(int progressMaximum = -1, const QString &text = kSuccessText);

    void setName(const QString &name) { m_name = name; }
    bool ended() const { return m_result.has_value(); }
    TransferResult result() const { return m_result.value_or(TransferResult::NotStarted); }
    SerialLink &link() { return m_link; }
    TransferHost &host() { return m_host; }

private:
    bool endedBy(Outcome outcome);
    void end(TransferResult result);

    SerialLink &m_link;
    TransferHost &m_host;
    QString m_name;
    std::function<QString(TransferResult)> m_report;
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
// limits and failure messages. A port error or a stop ends the sequence: the
// steps after it are not tried.
class Sequence {
public:
    struct Step {
        QString name;
        TransferResult result = TransferResult::NotStarted; // NotStarted: not tried
        QString report; // what a step that did not succeed leaves behind
    };

    Sequence(SerialLink &link, TransferHost &host);
    ~Sequence();

    // False while another transfer runs or the window closes.
    bool begin();
    // Runs one step quietly and returns how it ended; a step after a port
    // error or a stop is not run (NotStarted). After a step during which the
    // window was closed, the sequence has ended (closed()).
    TransferResult step(const QString &name, const std::function<TransferResult()> &run);
    bool closed() const { return m_closed; }
    // Every step so far succeeded.
    bool allSucceeded() const;
    const QList<Step> &steps() const { return m_steps; }
    // The common end: finishTransfer without a message of its own.
    void finish();

private:
    SerialLink &m_link;
    TransferHost &m_host;
    bool m_closed = false;
    bool m_cutShort = false;
    QList<Step> m_steps;
};

} // namespace kpr5
