#include "cli/CommandLine.h"

#include <QSerialPortInfo>
#include <QTextStream>

#include <cstdio>

namespace kpr5::cli {

namespace {
QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}
QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

int listPorts()
{
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
        out() << info.systemLocation();
        if (!info.description().isEmpty())
            out() << '\t' << info.description();
        if (!info.manufacturer().isEmpty())
            out() << " (" << info.manufacturer() << ')';
        out() << '\n';
    }
    if (ports.isEmpty())
        err() << "no serial ports found\n";
    out().flush();
    return ExitOk;
}
} // namespace

QString usage()
{
    return QStringLiteral(
        "Usage:\n"
        "  kpr5 [--port PORT]            the program's window; PORT for this run only\n"
        "  kpr5 ports                    list the serial ports the system reports\n"
        "  kpr5 --help                   this text\n"
        "\n"
        "PORT is COMn (COM1 = /dev/ttyS0 on Linux) or a device path such as /dev/ttyUSB0.\n"
        "\n"
        "Exit codes: 0 success, 1 a transfer failed, 2 bad usage, 3 the port could not be\n"
        "used, 4 a file could not be read or written.\n");
}

bool isCommand(const QStringList &arguments)
{
    if (arguments.size() < 2)
        return false;
    const QString first = arguments.at(1);
    return !first.startsWith(QLatin1Char('-')) || first == QLatin1String("--help")
           || first == QLatin1String("-h");
}

int run(const QStringList &arguments)
{
    const QString command = arguments.value(1);
    if (command == QLatin1String("--help") || command == QLatin1String("-h")
        || command == QLatin1String("help")) {
        out() << usage();
        out().flush();
        return ExitOk;
    }
    if (command == QLatin1String("ports"))
        return listPorts();
    err() << "kpr5: unknown command \"" << command << "\"\n\n" << usage();
    err().flush();
    return ExitUsage;
}

} // namespace kpr5::cli
