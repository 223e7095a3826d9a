#include "RadioSimulator.h"

#include "core/link/CommandFrame.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QSaveFile>
#include <QSemaphore>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <deque>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace kpr5::sim {

// The part that lives in the simulator's own thread.
class RadioSimulator::Engine : public QObject {
public:
    explicit Engine(const SimOptions &o) : options(o), memory(kImageSize, '\0') {}

    // --- shared state (guarded by mutex) ---
    mutable QMutex mutex;
    SimOptions options;
    QByteArray memory;
    QList<QByteArray> frames;
    int frameCounter = 0;
    QString device;

    // --- thread-only state ---
    QThread thread;
    int masterFd = -1;
    int slaveFd = -1; // kept open so the pty never hangs up between the program's opens
    QSocketNotifier *notifier = nullptr;
    QTimer *sendTimer = nullptr;
    QElapsedTimer clock;
    QByteArray input;
    qint64 frameStartNs = 0;
    struct Pending {
        qint64 startNs; // when the first byte may go
        QByteArray bytes;
        int sent = 0;
    };
    std::deque<Pending> output;

    bool openPty(QString *error);
    void closePty();
    void setupInThread();
    void teardownInThread();
    void onReadable();
    void handleFrame(const QByteArray &frame, qint64 arrivedNs);
    QByteArray replyFor(const QByteArray &frame, bool *wrote);
    void pump();
    qint64 byteNs() const { return options.baud > 0 ? 10'000'000'000LL / options.baud : 0; }
    void linkDevice();
    void saveIfAsked();
};

bool RadioSimulator::Engine::openPty(QString *error) {
    masterFd = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (masterFd < 0 || ::grantpt(masterFd) != 0 || ::unlockpt(masterFd) != 0) {
        if (error)
            *error =
                QStringLiteral("cannot create a pseudo-terminal: %1").arg(qt_error_string(errno));
        if (masterFd >= 0) ::close(masterFd);
        masterFd = -1;
        return false;
    }
    const char *name = ::ptsname(masterFd);
    {
        QMutexLocker lock(&mutex);
        device = QString::fromLocal8Bit(name ? name : "");
    }
    slaveFd = ::open(name, O_RDWR | O_NOCTTY);
    if (slaveFd >= 0) {
        termios t{};
        if (::tcgetattr(slaveFd, &t) == 0) {
            ::cfmakeraw(&t);
            ::tcsetattr(slaveFd, TCSANOW, &t);
        }
    }
    ::fcntl(masterFd, F_SETFL, ::fcntl(masterFd, F_GETFL) | O_NONBLOCK);
    linkDevice();
    return true;
}

void RadioSimulator::Engine::linkDevice() {
    if (options.linkPath.isEmpty()) return;
    QFile::remove(options.linkPath);
    QFile::link(device, options.linkPath);
}

void RadioSimulator::Engine::closePty() {
    // The device goes away with its node, as a pulled USB cable's does.
    QString link;
    {
        QMutexLocker lock(&mutex);
        link = options.linkPath;
    }
    if (!link.isEmpty()) QFile::remove(link);
    if (masterFd >= 0) ::close(masterFd);
    if (slaveFd >= 0) ::close(slaveFd);
    masterFd = slaveFd = -1;
}

void RadioSimulator::Engine::setupInThread() {
    clock.start();
    notifier = new QSocketNotifier(masterFd, QSocketNotifier::Read, this);
    QObject::connect(notifier, &QSocketNotifier::activated, this, [this] { onReadable(); });
    sendTimer = new QTimer(this);
    sendTimer->setSingleShot(true);
    sendTimer->setTimerType(Qt::PreciseTimer);
    QObject::connect(sendTimer, &QTimer::timeout, this, [this] { pump(); });
}

void RadioSimulator::Engine::teardownInThread() {
    delete notifier;
    notifier = nullptr;
    if (sendTimer) sendTimer->stop();
    output.clear();
    input.clear();
    closePty();
}

void RadioSimulator::Engine::onReadable() {
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(masterFd, buf, sizeof buf);
        if (n <= 0) break;
        if (input.isEmpty()) frameStartNs = clock.nsecsElapsed();
        input.append(buf, int(n));
    }
    for (;;) {
        const int cr = input.indexOf('\r');
        if (cr < 0) break;
        const QByteArray frame = input.left(cr);
        input.remove(0, cr + 1);
        // The frame's last byte arrived (frame length + CR) byte times after its first.
        const qint64 arrived = frameStartNs + qint64(frame.size() + 1) * byteNs();
        handleFrame(frame, arrived);
        frameStartNs = arrived;
        if (masterFd < 0) return; // hung up
    }
}

QByteArray RadioSimulator::Engine::replyFor(const QByteArray &frame, bool *wrote) {
    *wrote = false;
    const QByteArray echo = frame + '\r';
    if (frame == "QX~KP-R5T") return echo + "\r\nOK\r\n";
    if (frame == "QX~KP-R5") return echo + "\r\n  OK\r\n";
    if (!frame.startsWith("QX~F") || frame.size() < 10) return {};
    const QByteArray digits = frame.mid(4, 5);
    const auto addrBytes = fromHexDigits(QByteArray("0") + digits);
    if (!addrBytes || (digits[0] != '0' && digits[0] != '1')) return {};
    const quint32 address = (quint8(addrBytes->at(0)) << 16) | (quint8(addrBytes->at(1)) << 8) |
                            quint8(addrBytes->at(2));
    const char op = frame.at(9);
    if (op == 'R' && frame.size() == 10) {
        QByteArray data(64, '\0');
        QMutexLocker lock(&mutex);
        for (int i = 0; i < 64; ++i) {
            const quint32 a = address + quint32(i);
            if (a < quint32(kImageSize)) data[i] = memory.at(int(a));
        }
        return echo + "\r\n" + toHexDigits(data) + "\r\n";
    }
    if (op == 'W') {
        const auto data = fromHexDigits(frame.mid(10));
        if (!data || data->isEmpty()) return {};
        {
            QMutexLocker lock(&mutex);
            for (int i = 0; i < data->size(); ++i) {
                const quint32 a = address + quint32(i);
                if (a < quint32(kImageSize)) memory[int(a)] = data->at(i);
            }
        }
        *wrote = true;
        return echo + "\r\nOK\r\n";
    }
    return {};
}

void RadioSimulator::Engine::saveIfAsked() {
    QString path;
    QByteArray image;
    {
        QMutexLocker lock(&mutex);
        path = options.saveFile;
        image = memory;
    }
    if (path.isEmpty()) return;
    QSaveFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(image);
        f.commit();
    }
}

void RadioSimulator::Engine::handleFrame(const QByteArray &frame, qint64 arrivedNs) {
    SimOptions o;
    int n;
    {
        QMutexLocker lock(&mutex);
        frames << frame;
        n = ++frameCounter;
        o = options;
    }
    if (!o.logFile.isEmpty()) {
        QFile log(o.logFile);
        if (log.open(QIODevice::Append)) log.write(frame + '\n');
    }
    if (o.hangupAfter > 0 && n >= o.hangupAfter) {
        teardownInThread();
        return;
    }
    bool wrote = false;
    QByteArray reply = replyFor(frame, &wrote);
    if (wrote) saveIfAsked();
    if (reply.isEmpty() || o.silent || (o.dropEvery > 0 && n % o.dropEvery == 0)) return;
    if (o.shortEvery > 0 && n % o.shortEvery == 0) reply.chop(1);
    if (o.corruptEvery > 0 && n % o.corruptEvery == 0) {
        // Spoil the byte the program checks: "OK" becomes "OX", CR LF becomes LF CR.
        const int ok = reply.lastIndexOf("OK");
        if (ok >= 0 && reply.endsWith("OK\r\n"))
            reply[ok + 1] = 'X';
        else
            std::swap(reply[reply.size() - 1], reply[reply.size() - 2]);
    }
    qint64 start = arrivedNs + qint64(o.latencyMs) * 1'000'000;
    if (o.lateEvery > 0 && n % o.lateEvery == 0) start += qint64(o.lateMs) * 1'000'000;
    output.push_back(Pending{start, reply, 0});
    pump();
}

void RadioSimulator::Engine::pump() {
    const qint64 perByte = byteNs();
    while (!output.empty() && masterFd >= 0) {
        Pending &p = output.front();
        const qint64 now = clock.nsecsElapsed();
        if (now + 500'000 < p.startNs) {
            sendTimer->start(int(qMax<qint64>(1'000'000, p.startNs - now) / 1'000'000));
            return;
        }
        // Timers tick in whole milliseconds: send what is due within the next
        // half millisecond, so the last byte leaves on time on average.
        int due = p.bytes.size();
        if (perByte > 0)
            due = int(qMin<qint64>(p.bytes.size(), (now + 500'000 - p.startNs) / perByte + 1));
        if (due > p.sent) {
            const ssize_t w = ::write(masterFd, p.bytes.constData() + p.sent, size_t(due - p.sent));
            if (w > 0) p.sent += int(w);
        }
        if (p.sent >= p.bytes.size()) {
            const qint64 end = p.startNs + qint64(p.bytes.size()) * perByte;
            output.pop_front();
            // The next reply cannot start before this one has left the wire.
            if (!output.empty() && output.front().startNs < end) output.front().startNs = end;
            continue;
        }
        const qint64 next = p.startNs + qint64(p.sent) * perByte;
        sendTimer->start(int(qMax<qint64>(1'000'000, next - clock.nsecsElapsed()) / 1'000'000));
        return;
    }
}

// --- public face --------------------------------------------------------------

RadioSimulator::RadioSimulator(const SimOptions &options) : d(std::make_unique<Engine>(options)) {}

RadioSimulator::~RadioSimulator() {
    stop();
}

bool RadioSimulator::start(QString *error) {
    if (d->thread.isRunning()) return true;
    if (d->options.linkPath.isEmpty() && d->options.privateLink) {
        static QAtomicInt counter;
        d->options.linkPath = QDir::temp().filePath(QStringLiteral("kpr5-sim-%1-%2")
                                                        .arg(QCoreApplication::applicationPid())
                                                        .arg(counter.fetchAndAddRelaxed(1)));
    }
    if (!d->openPty(error)) return false;
    d->moveToThread(&d->thread);
    d->thread.start();
    QSemaphore ready;
    QMetaObject::invokeMethod(d.get(), [this, &ready] {
        d->setupInThread();
        ready.release();
    });
    ready.acquire();
    return true;
}

void RadioSimulator::stop() {
    if (!d->thread.isRunning()) return;
    QMetaObject::invokeMethod(
        d.get(), [this] { d->teardownInThread(); }, Qt::BlockingQueuedConnection);
    d->thread.quit();
    d->thread.wait();
    d->saveIfAsked();
    if (!d->options.linkPath.isEmpty()) QFile::remove(d->options.linkPath);
}

QString RadioSimulator::portPath() const {
    QMutexLocker lock(&d->mutex);
    return d->options.linkPath.isEmpty() ? d->device : d->options.linkPath;
}

QString RadioSimulator::devicePath() const {
    QMutexLocker lock(&d->mutex);
    return d->device;
}

QByteArray RadioSimulator::read(quint32 address, int length) const {
    QMutexLocker lock(&d->mutex);
    if (address >= quint32(kImageSize) || length <= 0) return {};
    return d->memory.mid(int(address), length);
}

void RadioSimulator::write(quint32 address, const QByteArray &bytes) {
    QMutexLocker lock(&d->mutex);
    for (int i = 0; i < bytes.size(); ++i) {
        const quint32 a = address + quint32(i);
        if (a < quint32(kImageSize)) d->memory[int(a)] = bytes.at(i);
    }
}

QByteArray RadioSimulator::image() const {
    QMutexLocker lock(&d->mutex);
    return d->memory;
}

void RadioSimulator::setImage(const QByteArray &image) {
    QMutexLocker lock(&d->mutex);
    d->memory = image.left(kImageSize);
    d->memory.append(QByteArray(kImageSize - d->memory.size(), '\0'));
}

bool RadioSimulator::loadImage(const QString &path, QString *error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = f.errorString();
        return false;
    }
    setImage(f.readAll());
    return true;
}

bool RadioSimulator::saveImage(const QString &path, QString *error) const {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(image()) != kImageSize || !f.commit()) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

QList<QByteArray> RadioSimulator::frames() const {
    QMutexLocker lock(&d->mutex);
    return d->frames;
}

int RadioSimulator::frameCount() const {
    QMutexLocker lock(&d->mutex);
    return d->frameCounter;
}

void RadioSimulator::clearFrames() {
    QMutexLocker lock(&d->mutex);
    d->frames.clear();
}

void RadioSimulator::setOptions(const SimOptions &options) {
    QMutexLocker lock(&d->mutex);
    // Where the device is reached stays as it was when the simulator started.
    const QString link = d->options.linkPath;
    const bool privateLink = d->options.privateLink;
    d->options = options;
    if (d->thread.isRunning()) {
        d->options.linkPath = link;
        d->options.privateLink = privateLink;
    }
}

SimOptions RadioSimulator::options() const {
    QMutexLocker lock(&d->mutex);
    return d->options;
}

void RadioSimulator::hangUp() {
    if (!d->thread.isRunning()) return;
    QMetaObject::invokeMethod(
        d.get(), [this] { d->teardownInThread(); }, Qt::BlockingQueuedConnection);
}

bool RadioSimulator::reconnect(QString *error) {
    if (!d->thread.isRunning()) return start(error);
    bool ok = false;
    QMetaObject::invokeMethod(
        d.get(),
        [this, &ok, error] {
            d->teardownInThread();
            {
                QMutexLocker lock(&d->mutex);
                d->options.hangupAfter = 0;
            }
            ok = d->openPty(error);
            if (ok) d->setupInThread();
        },
        Qt::BlockingQueuedConnection);
    return ok;
}

} // namespace kpr5::sim
