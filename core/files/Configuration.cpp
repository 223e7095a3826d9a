#include "core/files/Configuration.h"

#include "core/files/DataFile.h"
#include "core/files/TextLines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kpr5::config {

namespace {

constexpr int kPortLineLength = 9;
constexpr int kMaxPort = 16;
const QString kKeepBackupsTag = QStringLiteral("KEEPBACKUPS");

QString &overridePath() {
    static QString path;
    return path;
}

bool isProgram() {
    return QCoreApplication::applicationName() == QLatin1String("kpr5");
}

bool folderWritable(const QString &dir) {
    const QFileInfo info(dir);
    return info.isDir() && info.isWritable();
}

} // namespace

PortChoice parseConfiguration(const QByteArray &bytes) {
    PortChoice choice;
    const QStringList lines = textfile::decodeLines(bytes);
    for (const QString &line : lines) {
        if (!line.startsWith(QLatin1String("CO"))) continue;
        if (line.size() == kPortLineLength) {
            const QChar a = line.at(7);
            const QChar b = line.at(8);
            if (a.isDigit() && b.isDigit() && a.unicode() < 128 && b.unicode() < 128) {
                const int n = (a.unicode() - u'0') * 10 + (b.unicode() - u'0');
                if (n >= 1 && n <= kMaxPort) {
                    choice.comPort = n;
                    choice.portFound = true;
                }
            }
        }
        break; // only the first "CO" line counts
    }
    choice.devicePath = datafile::devicePathFromLines(lines);
    for (const QString &line : lines) {
        if (!line.startsWith(kKeepBackupsTag)) continue;
        bool ok = false;
        const int n =
            line.mid(kKeepBackupsTag.size()).remove(QLatin1Char('=')).trimmed().toInt(&ok);
        if (ok && n > 0) choice.keepBackups = n;
    }
    return choice;
}

PortChoice readConfiguration(const QString &path) {
    QByteArray bytes;
    if (path.isEmpty() || !textfile::loadFile(path, &bytes, nullptr)) return PortChoice{};
    return parseConfiguration(bytes);
}

bool writeConfiguration(const RadioDocument &doc, const PortChoice &choice, const QString &path,
                        QString *error) {
    datafile::WriteOptions options;
    options.comPort = choice.comPort;
    options.devicePath = choice.devicePath;
    if (!path.isEmpty()) {
        const QString dir = QFileInfo(path).absolutePath();
        if (!QFileInfo::exists(dir)) QDir().mkpath(dir);
    }
    QStringList lines = datafile::dataFileLines(doc, options);
    if (choice.keepBackups > 0)
        lines.insert(qMax(0, int(lines.size()) - 1),
                     QStringLiteral("%1 %2").arg(kKeepBackupsTag).arg(choice.keepBackups));
    return textfile::saveFile(path, textfile::encodeLines(lines), error);
}

QString programConfigurationPath() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(kFileName));
}

QString userConfigurationPath() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return dir.isEmpty() ? QString() : QDir(dir).filePath(QLatin1String(kFileName));
}

QString configurationPath() {
    if (!overridePath().isEmpty()) return overridePath();
    if (!isProgram()) return QString();
    const QString program = programConfigurationPath();
    const QFileInfo info(program);
    const bool writable = info.exists() ? info.isWritable() : folderWritable(info.absolutePath());
    return writable ? program : userConfigurationPath();
}

QString configurationReadPath() {
    const QString path = configurationPath();
    if (path.isEmpty() || !overridePath().isEmpty() || QFileInfo::exists(path)) return path;
    const QString program = programConfigurationPath();
    return QFileInfo::exists(program) ? program : path;
}

void setConfigurationPath(const QString &path) {
    overridePath() = path;
}

} // namespace kpr5::config
