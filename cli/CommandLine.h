#pragma once
// The command line: `kpr5 <command> …` runs without a window and shares the
// core code (transfers, files) with the windows.

#include <QStringList>

namespace kpr5::cli {

// Exit codes.
enum Exit {
    ExitOk = 0,
    ExitTransfer = 1,      // a transfer step failed
    ExitUsage = 2,         // bad arguments
    ExitPort = 3,          // the port could not be used
    ExitFile = 4,          // a file could not be read or written
    ExitInterrupted = 130, // stopped by Ctrl+C (SIGINT); no file written
};

// True when the arguments name a command (or ask for help) rather than the GUI.
// A first argument that is not a command but an existing file or a name
// ending in ".R5" (any case) is a data file for the window to open.
bool isCommand(const QStringList &arguments);
// Runs the command; the return value is the process exit code.
int run(const QStringList &arguments);
QString usage();

} // namespace kpr5::cli
