#pragma once
// Text files of the program: code page 932 (converted by our own table, never
// the machine's locale), lines ended by CR LF when written. Reading accepts
// CR LF, LF and CR line ends.
//
// Files are written through QSaveFile: either the complete new file replaces
// the old one, or the old one stays as it was and the caller gets the reason.
// That is for files only: a named pipe or a character device (a terminal,
// /dev/null, /dev/stdout) is written directly, so that it stays what it is
// and its reader gets the text; anything else that is not a file (a folder, a
// block device, a socket) is refused.

#include <QByteArray>
#include <QString>
#include <QStringList>

class QIODevice;

namespace kpr5::textfile {

// Files larger than this are refused by the readers: no file of the program
// comes near it, and reading a large file by mistake must not exhaust memory.
constexpr qint64 kMaxFileSize = 8 * 1024 * 1024;

// Lines joined with CR LF after each line (the last one included), in code
// page 932. Characters the code page cannot represent become '?'.
QByteArray encodeLines(const QStringList &lines);

// The lines of a text. A final line end does not start another (empty)
// line; "a\r\n\r\n" is two lines, "a" and "".
QStringList splitLines(const QString &text);

// Bytes in code page 932 -> lines.
QStringList decodeLines(const QByteArray &bytes);

// True when the bytes start with the UTF-8 byte-order mark.
bool hasUtf8Bom(const QByteArray &bytes);

// Write all bytes to an open device; false with the reason when the device
// takes fewer bytes than given.
bool writeAll(QIODevice &device, const QByteArray &bytes, QString *error);

// Replace the file at `path` with `bytes` through QSaveFile (or write them to
// the pipe or device `path` names). False with the reason (an old file is
// left intact) when anything fails.
bool saveFile(const QString &path, const QByteArray &bytes, QString *error);

// The whole file, at most kMaxFileSize bytes. False with the reason when the
// file cannot be opened or read, or is larger than that.
bool loadFile(const QString &path, QByteArray *bytes, QString *error);
// The same from an open device.
bool loadDevice(QIODevice &device, QByteArray *bytes, QString *error);

} // namespace kpr5::textfile
