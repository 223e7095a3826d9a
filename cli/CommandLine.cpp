#include "cli/CommandLine.h"

#include "core/document/RadioDocument.h"
#include "core/files/Backups.h"
#include "core/files/Configuration.h"
#include "core/files/CsvFile.h"
#include "core/files/DataFile.h"
#include "core/files/FontFile.h"
#include "core/link/SerialLink.h"
#include "core/radio/Verify.h"
#include "core/radio/WholeRadio.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <QTextStream>

#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace kpr5::cli {

namespace {

QTextStream &out() {
    static QTextStream s(stdout);
    return s;
}
QTextStream &err() {
    static QTextStream s(stderr);
    return s;
}

// Reports a transfer on the terminal: a progress line on stderr (when it is
// a terminal and not silenced) and every message box as a line; with
// --quiet only the warnings, errors and a failed verdict.
class TerminalHost : public TransferHost {
public:
    TerminalHost(bool progress, bool quiet) : m_progress(progress), m_quiet(quiet) {}

    void setProgressMaximum(int) override {}
    void setProgressValue(int) override {}
    void setPercent(int percent) override {
        if (percent == m_lastPercent) return;
        m_lastPercent = percent;
        showLine();
    }
    void blocksDone(const QString &what, int done, int total, int secondsLeft) override {
        m_blocks = blocksDoneText(what, done, total, secondsLeft);
        showLine();
    }
    void message(const QString &text, const QString &title, const QString &detail) override {
        if (m_quiet && title == kFinishTitle) return;
        endLine();
        err() << "kpr5: " << (m_step.isEmpty() ? QString() : m_step + QStringLiteral(": ")) << text;
        if (!detail.isEmpty()) err() << " (" << detail << ')';
        err() << '\n';
        err().flush();
    }
    void stepStarted(const QString &name) override {
        endLine();
        m_step = name;
        m_blocks.clear();
        m_lastPercent = -1;
    }
    void transferFinished() override { m_blocks.clear(); }
    // "channels 43% · Channels 713/1623 · 21 s left"
    void showLine() {
        if (!m_progress || m_lastPercent < 0) return;
        err() << "\r\033[K" << m_step << ' ' << m_lastPercent << '%';
        if (!m_blocks.isEmpty()) err() << " \u00B7 " << m_blocks;
        err().flush();
        m_lineOpen = true;
    }
    void endLine() {
        if (m_lineOpen) {
            err() << "\r\033[K";
            err().flush();
            m_lineOpen = false;
        }
    }

private:
    bool m_progress;
    bool m_quiet;
    bool m_lineOpen = false;
    int m_lastPercent = -1;
    QString m_step;
    QString m_blocks;
};

// Ctrl+C during a transfer stops it between two blocks (a second Ctrl+C
// ends the program at once). The signal handler only writes to a pipe; the
// event loop that waits for the radio reads it and asks the link to stop.
class InterruptStops {
public:
    explicit InterruptStops(SerialLink &link) : m_link(link) {
        if (::pipe(s_pipe) != 0) return;
        m_notifier = std::make_unique<QSocketNotifier>(s_pipe[0], QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] {
            char c;
            if (::read(s_pipe[0], &c, 1) == 1) {
                m_interrupted = true;
                m_link.requestStop();
            }
        });
        struct sigaction action {};
        action.sa_handler = &InterruptStops::onSignal;
        action.sa_flags = SA_RESETHAND; // the second Ctrl+C is the default one
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &m_previous);
    }
    ~InterruptStops() {
        ::sigaction(SIGINT, &m_previous, nullptr);
        m_notifier.reset();
        ::close(s_pipe[0]);
        ::close(s_pipe[1]);
    }
    bool interrupted() const { return m_interrupted; }

private:
    static void onSignal(int) {
        const char c = 'i';
        [[maybe_unused]] const auto n = ::write(s_pipe[1], &c, 1);
    }
    static inline int s_pipe[2] = {-1, -1};
    SerialLink &m_link;
    std::unique_ptr<QSocketNotifier> m_notifier;
    struct sigaction m_previous {};
    bool m_interrupted = false;
};

// The exit code of a whole-radio transfer that did not succeed, after its
// one verdict line.
int failedTransfer(const WholeRadioResult &result, bool write, const QString &tail) {
    err() << "kpr5: " << wholeRadioVerdict(result, write, false) << tail << '\n';
    err().flush();
    if (result.stopped()) return ExitInterrupted;
    return result.portError() ? ExitPort : ExitTransfer;
}

int backupsKept() {
    const int n = config::readConfiguration(config::configurationReadPath()).keepBackups;
    return n > 0 ? n : kDefaultBackupsKept;
}

int listPorts() {
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
        out() << info.systemLocation();
        if (!info.description().isEmpty()) out() << '\t' << info.description();
        if (!info.manufacturer().isEmpty()) out() << " (" << info.manufacturer() << ')';
        out() << '\n';
    }
    out().flush();
    if (ports.isEmpty()) err() << "kpr5: no serial ports found\n";
    return ExitOk;
}

int usageError(const QString &why) {
    err() << "kpr5: " << why << "\n\n" << usage();
    err().flush();
    return ExitUsage;
}

// What a file was read as otherwise than it holds (a name cut, CSV rows
// emptied): one warning line each; the command still succeeds.
void warnings(const QString &file, const QStringList &notes) {
    for (const QString &note : notes)
        err() << "kpr5: warning: " << file << ": " << note << '\n';
    err().flush();
}

int fileError(const QString &why) {
    err() << "kpr5: " << why << '\n';
    err().flush();
    return ExitFile;
}

void choosePort(SerialLink &link, const QString &port) {
    // Tests shorten the reply timer (never set in normal use).
    const int testTimeout = qEnvironmentVariableIntValue("KPR5_TEST_REPLY_TIMEOUT_MS");
    if (testTimeout > 0) link.setReplyTimeout(testTimeout);
    link.portSettings().choose(port);
}

QCommandLineOption portOption() {
    return {QStringLiteral("port"), QString(), QStringLiteral("PORT")};
}
QCommandLineOption fontOption() {
    return {QStringLiteral("font"), QString(), QStringLiteral("FILE")};
}
QCommandLineOption quietOption() {
    return {QStringLiteral("quiet"), QString()};
}

bool parse(QCommandLineParser &p, const QStringList &arguments,
           const QList<QCommandLineOption> &options, int positional, QString *why) {
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const auto &o : options)
        p.addOption(o);
    if (!p.parse(arguments)) {
        *why = p.errorText();
        return false;
    }
    const QStringList rest = p.positionalArguments().mid(1);
    if (rest.size() != positional) {
        *why =
            QStringLiteral("%1 needs %2 file argument(s)").arg(arguments.value(1)).arg(positional);
        return false;
    }
    return true;
}

bool showProgress(const QCommandLineParser &p) {
    return !p.isSet(quietOption()) && ::isatty(STDERR_FILENO);
}

int readCommand(const QStringList &arguments) {
    QCommandLineParser p;
    QCommandLineOption output(QStringLiteral("output"), QString(), QStringLiteral("FILE"));
    QString why;
    if (!parse(p, arguments, {portOption(), output, fontOption(), quietOption()}, 0, &why))
        return usageError(why);
    if (!p.isSet(portOption()) || !p.isSet(output))
        return usageError(QStringLiteral("read needs --port PORT and --output FILE.R5"));

    RadioDocument doc;
    SerialLink link;
    choosePort(link, p.value(portOption()));
    TerminalHost host(showProgress(p), p.isSet(quietOption()));
    InterruptStops interrupt(link);

    const WholeRadioResult result = readAll(doc, link, host);
    host.endLine();
    if (!result.ok()) return failedTransfer(result, false, QStringLiteral("; no file written"));
    QString error;
    if (!saveDataFile(doc, link.portSettings().comPort, p.value(output), &error))
        return fileError(QStringLiteral("%1: %2").arg(p.value(output), error));
    if (p.isSet(fontOption()) && !saveFontFile(doc.font, p.value(fontOption()), &error))
        return fileError(QStringLiteral("%1: %2").arg(p.value(fontOption()), error));
    // Nothing lost: every complete read is also kept in the backup folder. The
    // file asked for is written already, so a backup that fails is a warning.
    if (!saveBackup(doc, link.portSettings().comPort, backupDirectory(),
                    QDateTime::currentDateTime(), nullptr, &error, BackupKind::Read,
                    backupsKept())) {
        err() << "kpr5: warning: no backup kept (" << error << ")\n";
        err().flush();
    }
    return ExitOk;
}

int writeCommand(const QStringList &arguments) {
    QCommandLineParser p;
    QString why;
    const QCommandLineOption verifyOption(QStringLiteral("verify"));
    if (!parse(p, arguments, {portOption(), fontOption(), quietOption(), verifyOption}, 1, &why))
        return usageError(why);
    if (!p.isSet(portOption())) return usageError(QStringLiteral("write needs --port PORT"));
    const QString file = p.positionalArguments().value(1);

    RadioDocument doc;
    const DataFileResult opened = openDataFile(doc, file);
    if (!opened.ok())
        return fileError(QStringLiteral("%1: %2%3")
                             .arg(file, opened.message(),
                                  opened.error.isEmpty()
                                      ? QString()
                                      : QStringLiteral(" (%1)").arg(opened.error)));
    warnings(file, opened.notes);
    if (p.isSet(fontOption())) {
        QString error;
        const FontFileResult loaded = loadFontFile(p.value(fontOption()), doc.font, &error);
        if (loaded == FontFileResult::WrongExtension)
            return fileError(QStringLiteral("%1: This File don't Open").arg(p.value(fontOption())));
        if (loaded == FontFileResult::NotFontFile)
            return fileError(QStringLiteral("%1: This File don't Open (it holds no font lines)")
                                 .arg(p.value(fontOption())));
        if (loaded == FontFileResult::CannotOpen)
            return fileError(QStringLiteral("%1: %2").arg(p.value(fontOption()), error));
    }
    SerialLink link;
    choosePort(link, p.value(portOption()));
    const bool quiet = p.isSet(quietOption());
    TerminalHost host(showProgress(p), quiet);
    InterruptStops interrupt(link);
    const WholeRadioResult result =
        writeAll(doc, link, host, p.isSet(fontOption()),
                 QStringLiteral("The user characters were not written (no --font given): the "
                                "radio keeps its own."));
    host.endLine();
    if (result.started) {
        // What was sent is kept in the backup folder, complete or not.
        QString error;
        if (!saveBackup(doc, link.portSettings().comPort, backupDirectory(),
                        QDateTime::currentDateTime(), nullptr, &error, BackupKind::Written,
                        backupsKept()))
            err() << "kpr5: warning: no backup kept (" << error << ")\n";
    }
    if (!result.ok()) return failedTransfer(result, true, QString());
    if (!quiet && !result.note.isEmpty()) err() << "kpr5: " << result.note << '\n';
    if (p.isSet(verifyOption)) {
        // Read back what was written; any difference is a failure.
        const VerifyResult verified = verifyWritten(doc, link, host, p.isSet(fontOption()));
        host.endLine();
        if (!quiet || !verified.ok())
            for (const QString &line : verified.reportLines())
                err() << "kpr5: " << line << '\n';
        err().flush();
        if (interrupt.interrupted()) return ExitInterrupted;
        if (!verified.ok()) return verified.portError ? ExitPort : ExitTransfer;
    }
    err().flush();
    return ExitOk;
}

int exportCommand(const QStringList &arguments) {
    QCommandLineParser p;
    QString why;
    if (!parse(p, arguments, {}, 2, &why)) return usageError(why);
    const QString in = p.positionalArguments().value(1), outPath = p.positionalArguments().value(2);
    RadioDocument doc;
    const DataFileResult opened = openDataFile(doc, in);
    if (!opened.ok()) return fileError(QStringLiteral("%1: %2").arg(in, opened.message()));
    warnings(in, opened.notes);
    QString error;
    if (!saveCsv(doc.channels, outPath, &error))
        return fileError(QStringLiteral("%1: %2").arg(outPath, error));
    return ExitOk;
}

int importCommand(const QStringList &arguments) {
    QCommandLineParser p;
    QString why;
    if (!parse(p, arguments, {}, 2, &why)) return usageError(why);
    const QString in = p.positionalArguments().value(1), outPath = p.positionalArguments().value(2);
    RadioDocument doc;
    const CsvImportResult imported = importCsvFile(doc.channels, in);
    if (!imported.ok())
        return fileError(QStringLiteral("%1: %2%3")
                             .arg(in, imported.message(),
                                  imported.error.isEmpty()
                                      ? QString()
                                      : QStringLiteral(" (%1)").arg(imported.error)));
    warnings(in, imported.notes);
    QString error;
    if (!saveDataFile(doc, 1, outPath, &error))
        return fileError(QStringLiteral("%1: %2").arg(outPath, error));
    return ExitOk;
}

} // namespace

QString usage() {
    return QStringLiteral(
        "Usage:\n"
        "  kpr5 [--port PORT] [--no-splash]   the program's window; PORT for this run only\n"
        "  kpr5 read --port PORT --output FILE.R5 [--font FILE.FR5] [--quiet]\n"
        "        read the whole radio into a data file (and the user characters into a\n"
        "        font file); no file is written unless every step succeeded\n"
        "  kpr5 write --port PORT FILE.R5 [--font FILE.FR5] [--verify] [--quiet]\n"
        "        write a data file to the whole radio; the user characters only with --font;\n"
        "        --verify reads every written region back and names those that differ\n"
        "  kpr5 export-csv FILE.R5 OUT.CSV    the channels of a data file as CSV\n"
        "  kpr5 import-csv IN.CSV OUT.R5      a data file made from CSV channels\n"
        "  kpr5 ports                         the serial ports the system reports\n"
        "  kpr5 --help                        this text\n"
        "  kpr5 --version                     the program's name and version\n"
        "\n"
        "A complete read, and what every write sent, are also kept in the backup folder\n"
        "(<data>/kpr5/backups, e.g. ~/.local/share/kpr5/backups); it keeps the newest 100\n"
        "sets, or as many as a \"KEEPBACKUPS n\" line in the configuration file says.\n"
        "PORT is COMn (COM1 = /dev/ttyS0 on Linux) or a device path such as /dev/ttyUSB0.\n"
        "Progress (step, blocks done, time left) goes to stderr when it is a terminal.\n"
        "--quiet prints only warnings, errors and a failed transfer's verdict.\n"
        "Ctrl+C stops a read or write between two blocks and says what was done.\n"
        "\n"
        "Exit codes: 0 success, 1 a transfer step failed, 2 bad usage, 3 the port could not\n"
        "be used, 4 a file could not be read or written, 130 stopped by Ctrl+C.\n");
}

bool isCommand(const QStringList &arguments) {
    if (arguments.size() < 2) return false;
    const QString first = arguments.at(1);
    static const QStringList commands{"help", "ports", "read", "write", "export-csv", "import-csv"};
    if (commands.contains(first)) return true;
    if (hasDataFileExtension(first) || QFileInfo(first).isFile()) return false;
    return !first.startsWith(QLatin1Char('-')) || first == QLatin1String("--help") ||
           first == QLatin1String("-h");
}

int run(const QStringList &arguments) {
    const QString command = arguments.value(1);
    if (command == QLatin1String("--help") || command == QLatin1String("-h") ||
        command == QLatin1String("help")) {
        out() << usage();
        out().flush();
        return ExitOk;
    }
    if (command == QLatin1String("ports")) return listPorts();
    if (command == QLatin1String("read")) return readCommand(arguments);
    if (command == QLatin1String("write")) return writeCommand(arguments);
    if (command == QLatin1String("export-csv")) return exportCommand(arguments);
    if (command == QLatin1String("import-csv")) return importCommand(arguments);
    return usageError(QStringLiteral("unknown command \"%1\"").arg(command));
}

} // namespace kpr5::cli
