#include "core/files/TextLines.h"

#include "core/text/Cp932.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>

#include <sys/stat.h>

namespace kpr5::textfile {

QByteArray encodeLines(const QStringList &lines) {
    QByteArray out;
    for (const QString &line : lines) {
        out += cp932::encode(line);
        out += "\r\n";
    }
    return out;
}

QStringList splitLines(const QString &text) {
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            lines << text.mid(start, i - start);
            if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n')) ++i;
            ++i;
            start = i;
            continue;
        }
        ++i;
    }
    if (start < n) lines << text.mid(start);
    return lines;
}

QStringList decodeLines(const QByteArray &bytes) {
    return splitLines(cp932::decode(bytes));
}

bool hasUtf8Bom(const QByteArray &bytes) {
    return bytes.startsWith("\xEF\xBB\xBF");
}

bool writeAll(QIODevice &device, const QByteArray &bytes, QString *error) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = device.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            if (error) {
                *error = device.errorString();
                if (error->isEmpty() || *error == QLatin1String("Unknown error"))
                    *error = QStringLiteral("Could not write the file.");
            }
            return false;
        }
        done += n;
    }
    return true;
}

namespace {

enum class Target { File, Stream, Refused };

// What `path` names, symbolic links followed: a file or nothing yet (a new
// file), a pipe or character device, or something else.
Target targetOf(const QString &path, QString *what) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || S_ISREG(info.st_mode))
        return Target::File;
    if (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)) return Target::Stream;
    *what = S_ISDIR(info.st_mode) ? QStringLiteral("a folder")
            : S_ISBLK(info.st_mode)
                ? QStringLiteral("a block device")
                : QStringLiteral("neither a file, a pipe nor a character device");
    return Target::Refused;
}

bool writeStream(const QString &path, const QByteArray &bytes, QString *error) {
    QFile stream(path);
    // Unbuffered: a device that takes nothing (/dev/full) fails in write().
    if (!stream.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error) *error = stream.errorString();
        return false;
    }
    return writeAll(stream, bytes, error);
}

} // namespace

bool saveFile(const QString &path, const QByteArray &bytes, QString *error) {
    if (path.isEmpty()) {
        if (error) *error = QStringLiteral("No file name.");
        return false;
    }
    QString what;
    switch (targetOf(path, &what)) {
    case Target::Stream:
        return writeStream(path, bytes, error);
    case Target::Refused:
        if (error)
            *error = QStringLiteral("%1 is %2; only a file can be saved there.").arg(path, what);
        return false;
    case Target::File:
        break;
    }
    QSaveFile file(path);
    // Without a temporary file the old file would be truncated before the
    // new one is complete; refuse to write rather than risk it.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    if (!writeAll(file, bytes, error)) {
        file.cancelWriting();
        return false;
    }
    // commit() does not see an error of the last flush of the write buffer
    // (a full disk): flush here and give up when it fails.
    if (!file.flush()) {
        if (error) *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

bool loadDevice(QIODevice &device, QByteArray *bytes, QString *error) {
    bytes->clear();
    if (!device.isOpen() && !device.open(QIODevice::ReadOnly)) {
        if (error) *error = device.errorString();
        return false;
    }
    if (!device.isSequential() && device.size() > kMaxFileSize) {
        if (error) *error = QStringLiteral("The file is too large.");
        return false;
    }
    *bytes = device.read(kMaxFileSize + 1);
    if (bytes->size() > kMaxFileSize) {
        bytes->clear();
        if (error) *error = QStringLiteral("The file is too large.");
        return false;
    }
    return true;
}

bool loadFile(const QString &path, QByteArray *bytes, QString *error) {
    bytes->clear();
    if (QFileInfo(path).isDir()) {
        if (error) *error = QStringLiteral("%1 is a folder.").arg(path);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    return loadDevice(file, bytes, error);
}

} // namespace kpr5::textfile
