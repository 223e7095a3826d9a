// kpr5-radio-sim: a simulated KP-R5 on a pseudo-terminal. It prints the device
// path and answers the clone protocol until it is interrupted.

#include "RadioSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {
int signalPipe[2] = {-1, -1};
void onSignal(int) {
    const char c = 1;
    [[maybe_unused]] auto n = ::write(signalPipe[1], &c, 1);
}
} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kpr5-radio-sim"));
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "A simulated KP-R5 radio on a pseudo-terminal. Prints the device path, then answers\n"
        "the clone protocol from a 128 KiB memory image until interrupted."));
    p.addHelpOption();
    auto opt = [&](const char *name, const char *help, const char *value = nullptr) {
        QCommandLineOption o{QString::fromLatin1(name), QString::fromLatin1(help)};
        if (value) o.setValueName(QLatin1String(value));
        p.addOption(o);
        return o;
    };
    const auto link =
        opt("link", "Place a symbolic link to the device at PATH (removed on exit).", "PATH");
    const auto image = opt("image", "Load the memory image from FILE.", "FILE");
    const auto save =
        opt("save", "Save the image to FILE after every accepted write and on exit.", "FILE");
    const auto log = opt("log", "Append every received frame to FILE, one per line.", "FILE");
    const auto baud = opt("baud", "Pace bytes at N baud (10 bits a byte), both ways.", "N");
    const auto latency = opt("latency", "Wait MS milliseconds before every reply.", "MS");
    const auto drop = opt("drop-every", "Give no reply to every Nth frame.", "N");
    const auto shortR = opt("short-every", "Cut the last byte of every Nth reply.", "N");
    const auto corrupt = opt("corrupt-every", "Corrupt a fixed byte of every Nth reply.", "N");
    const auto late = opt("late-every", "Send every Nth reply late (see --late-ms).", "N");
    const auto lateMs = opt("late-ms", "How late a late reply comes (default 1500).", "MS");
    const auto silent = opt("silent", "Never answer.");
    const auto hangup = opt("hangup-after", "The port vanishes after N frames.", "N");
    p.process(app);

    auto number = [&](const QCommandLineOption &o, int fallback) {
        if (!p.isSet(o)) return fallback;
        bool ok = false;
        const int v = p.value(o).toInt(&ok);
        if (!ok || v < 0) {
            std::fprintf(stderr, "kpr5-radio-sim: --%s needs a whole number\n",
                         qPrintable(o.names().first()));
            std::exit(2);
        }
        return v;
    };
    kpr5::sim::SimOptions o;
    o.linkPath = p.value(link);
    o.privateLink = false; // print the device itself unless --link is given
    o.saveFile = p.value(save);
    o.logFile = p.value(log);
    o.baud = number(baud, 0);
    o.latencyMs = number(latency, 0);
    o.dropEvery = number(drop, 0);
    o.shortEvery = number(shortR, 0);
    o.corruptEvery = number(corrupt, 0);
    o.lateEvery = number(late, 0);
    o.lateMs = number(lateMs, 1500);
    o.silent = p.isSet(silent);
    o.hangupAfter = number(hangup, 0);

    kpr5::sim::RadioSimulator radio(o);
    QString error;
    if (p.isSet(image) && !radio.loadImage(p.value(image), &error)) {
        std::fprintf(stderr, "kpr5-radio-sim: cannot load %s: %s\n", qPrintable(p.value(image)),
                     qPrintable(error));
        return 1;
    }
    if (!radio.start(&error)) {
        std::fprintf(stderr, "kpr5-radio-sim: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s\n", qPrintable(radio.portPath()));
    std::fflush(stdout);

    if (::pipe(signalPipe) == 0) {
        auto *n = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(n, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);
        std::signal(SIGHUP, onSignal);
    }
    const int rc = app.exec();
    radio.stop();
    return rc;
}
