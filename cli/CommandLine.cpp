#include "cli/CommandLine.h"

#include "core/document/RadioDocument.h"
#include "core/files/Backups.h"
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

#include <cstdio>
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
// a terminal and not silenced) and every message box as a line.
class TerminalHost : public TransferHost {
public:
    explicit TerminalHost(bool progress) : m_progress(progress) {}

    void setProgressMaximum(int) override {}
    void setProgressValue(int) override {}
    void setPercent(int percent) override {
        if (!m_progress || percent == m_lastPercent) return;
        m_lastPercent = percent;
        err() << "\r\033[K" << m_step << ' ' << percent << '%';
        err().flush();
        m_lineOpen = true;
    }
    void message(const QString &text, const QString &title, const QString &detail) override {
        endLine();
        const bool failure = title.trimmed() == QLatin1String("Error");
        if (failure) m_failures << m_step;
        if (text == QLatin1String("Port Error")) m_portError = true;
        err() << "kpr5: " << (m_step.isEmpty() ? QString() : m_step + QStringLiteral(": ")) << text;
        if (!detail.isEmpty()) err() << " (" << detail << ')';
        err() << '\n';
        err().flush();
    }
    void stepStarted(const QString &name) override {
        endLine();
        m_step = name;
        m_lastPercent = -1;
    }
    void endLine() {
        if (m_lineOpen) {
            err() << "\r\033[K";
            err().flush();
            m_lineOpen = false;
        }
    }
    bool portError() const { return m_portError; }

private:
    bool m_progress;
    bool m_lineOpen = false;
    bool m_portError = false;
    int m_lastPercent = -1;
    QString m_step;
    QStringList m_failures;
};

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

// Parses `arguments` (the command name first) with the options given.
struct Parsed {
    QCommandLineParser parser;
    bool ok = false;
    QString error;
};

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
    TerminalHost host(showProgress(p));

    const WholeRadioResult result = readAll(doc, link, host);
    host.endLine();
    if (!result.ok()) {
        err() << "kpr5: the radio was not read completely (failed: "
              << result.failedSteps.join(QStringLiteral(", ")) << "); no file written\n";
        err().flush();
        return host.portError() ? ExitPort : ExitTransfer;
    }
    QString error;
    if (!saveDataFile(doc, link.portSettings().comPort, p.value(output), &error))
        return fileError(QStringLiteral("%1: %2").arg(p.value(output), error));
    if (p.isSet(fontOption()) && !saveFontFile(doc.font, p.value(fontOption()), &error))
        return fileError(QStringLiteral("%1: %2").arg(p.value(fontOption()), error));
    // Nothing lost: every complete read is also kept in the backup folder. The
    // file asked for is written already, so a backup that fails is a warning.
    if (!saveBackup(doc, link.portSettings().comPort, backupDirectory(),
                    QDateTime::currentDateTime(), nullptr, &error)) {
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
    if (p.isSet(fontOption())) {
        QString error;
        const FontFileResult loaded = loadFontFile(p.value(fontOption()), doc.font, &error);
        if (loaded == FontFileResult::WrongExtension)
            return fileError(QStringLiteral("%1: This File don't Open").arg(p.value(fontOption())));
        if (loaded == FontFileResult::CannotOpen)
            return fileError(QStringLiteral("%1: %2").arg(p.value(fontOption()), error));
    }
    SerialLink link;
    choosePort(link, p.value(portOption()));
    TerminalHost host(showProgress(p));
    const WholeRadioResult result = writeAll(doc, link, host, p.isSet(fontOption()));
    host.endLine();
    if (!result.ok()) {
        err() << "kpr5: the radio was not written completely (failed: "
              << result.failedSteps.join(QStringLiteral(", ")) << ")\n";
        err().flush();
        return host.portError() ? ExitPort : ExitTransfer;
    }
    if (p.isSet(verifyOption)) {
        // Read back what was written; any difference is a failure.
        const VerifyResult verified = verifyWritten(doc, link, host, p.isSet(fontOption()));
        host.endLine();
        for (const QString &line : verified.reportLines())
            err() << "kpr5: " << line << '\n';
        err().flush();
        if (!verified.ok()) return host.portError() ? ExitPort : ExitTransfer;
    }
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
        "\n"
        "A complete read is also kept in the backup folder (<data>/kpr5/backups).\n"
        "PORT is COMn (COM1 = /dev/ttyS0 on Linux) or a device path such as /dev/ttyUSB0.\n"
        "Progress goes to stderr when it is a terminal (--quiet silences it).\n"
        "\n"
        "Exit codes: 0 success, 1 a transfer step failed, 2 bad usage, 3 the port could not\n"
        "be used, 4 a file could not be read or written.\n");
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
