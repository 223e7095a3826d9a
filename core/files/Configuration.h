#pragma once
// The configuration file "KPR5Writer.INI": the data file of the edited image
// at the moment a serial port was chosen, written through the data-file
// writer. At start-up only its port is read: the first line that starts with
// "CO" must be "COMPORTnn" (exactly 9 characters, nn = 01..16) to select port
// nn; anything else leaves port 1. A DEVICE line after it (see
// files/DataFile.h) remembers a device path chosen from the detected ports.
// A "KEEPBACKUPS n" line (written by hand; kept when the program rewrites
// the file; the radio's own utility ignores it) sets how many backup sets
// the backup folder keeps.
//
// Where it lives: beside the program when the program's folder is writable
// (as the radio's own utility keeps it), otherwise in the user's
// configuration folder (QStandardPaths::AppConfigLocation), because an
// installed program's folder (/usr/bin) is not writable. Start-up reads the
// file where it would be written, and falls back to the one beside the
// program.
//
// Only the program itself (application name "kpr5") uses these places; any
// other process (the test programs) uses the configuration only through an
// explicit path (setConfigurationPath), so that a test never reads or
// changes the user's port.

#include <QByteArray>
#include <QString>

namespace kpr5 {

struct RadioDocument;

namespace config {

inline constexpr char kFileName[] = "KPR5Writer.INI";

struct PortChoice {
    int comPort = 1;        // 1 unless the file names a port
    bool portFound = false; // the file held a valid port line
    QString devicePath;     // empty unless the file holds a DEVICE line
    int keepBackups = 0;    // 0 unless the file holds a KEEPBACKUPS line
};

// The port line rules applied to a file's bytes.
PortChoice parseConfiguration(const QByteArray &bytes);
// The file at `path`; a missing or unreadable file gives port 1.
PortChoice readConfiguration(const QString &path);
// Writes the data file with the port (and device path) to `path`; false with
// the reason when it could not be written (the old file is left intact).
bool writeConfiguration(const RadioDocument &doc, const PortChoice &choice, const QString &path,
                        QString *error);

// "<program folder>/KPR5Writer.INI" and "<user config folder>/KPR5Writer.INI".
QString programConfigurationPath();
QString userConfigurationPath();
// Where the program writes the file (empty when this process keeps none),
// and where start-up reads it from.
QString configurationPath();
QString configurationReadPath();
// Tests: use this file (an empty path restores the rules above).
void setConfigurationPath(const QString &path);

} // namespace config
} // namespace kpr5
