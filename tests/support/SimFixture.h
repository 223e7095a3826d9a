#pragma once
// Shared helpers for tests that talk to the simulated radio.

#include "RadioSimulator.h"
#include "core/link/SerialLink.h"
#include "core/link/Transfer.h"

#include <QList>
#include <QString>
#include <QTest>

#include <functional>

namespace kpr5::test {

// A TransferHost that records everything a transfer reports.
class RecordingHost : public TransferHost {
public:
    struct Message {
        QString text, title, detail;
    };
    QList<Message> messages;
    QList<int> progressValues;
    QList<int> percents;
    QList<int> rows;
    int maximum = 0;
    int started = 0, finished = 0, closed = 0;

    void setProgressMaximum(int m) override { maximum = m; }
    void setProgressValue(int v) override { progressValues << v; }
    void setPercent(int p) override { percents << p; }
    void setCurrentRow(int r) override { rows << r; }
    void message(const QString &t, const QString &ti, const QString &d) override {
        messages << Message{t, ti, d};
    }
    void transferStarted() override { ++started; }
    void transferFinished() override { ++finished; }
    void closeWindow() override { ++closed; }

    QStringList texts() const {
        QStringList out;
        for (const auto &m : messages)
            out << m.text + QLatin1Char('|') + m.title;
        return out;
    }
};

// A started simulator, with the link pointed at it.
inline void connectLink(SerialLink &link, sim::RadioSimulator &radio, int timeoutMs = 1000) {
    QString error;
    QVERIFY2(radio.start(&error), qPrintable(error));
    link.portSettings().devicePath = radio.portPath();
    link.setReplyTimeout(timeoutMs);
}

// A started simulator, a link to it and a host that records what a transfer
// reports: what every transfer test starts with.
struct SimRig {
    explicit SimRig(int timeoutMs = 1000, const sim::SimOptions &options = {}) : radio(options) {
        connectLink(link, radio, timeoutMs);
    }
    sim::RadioSimulator radio;
    SerialLink link;
    RecordingHost host;
};

// Another transfer runs on `link` for as long as this lives (or until end()).
class OtherTransfer {
public:
    OtherTransfer(SerialLink &link, TransferHost &host)
        : m_link(link), m_host(host), m_op(link, host) {
        m_op.begin();
    }
    ~OtherTransfer() { end(); }
    void end() {
        if (m_link.busy()) finishTransfer(m_link, m_host);
    }

private:
    SerialLink &m_link;
    TransferHost &m_host;
    Operation m_op;
};

// A path that is surely not a serial port.
inline QString missingPort() {
    return QStringLiteral("/dev/kpr5-no-such-port");
}

} // namespace kpr5::test
