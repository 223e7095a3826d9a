#include "core/link/PortSettings.h"

#include <QRegularExpression>

namespace kpr5 {

QString PortSettings::systemNameForComPort(int n) {
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(n);
#else
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
}

int PortSettings::comNumberFromText(const QString &text) {
    static const QRegularExpression re(QStringLiteral("^COM([0-9]{1,3})$"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(text.trimmed());
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

QString PortSettings::portName() const {
    return devicePath.isEmpty() ? systemNameForComPort(comPort) : devicePath;
}

void PortSettings::choose(const QString &port) {
    const int n = comNumberFromText(port);
    if (n > 0) {
        comPort = n;
        devicePath.clear();
    } else {
        devicePath = port;
    }
}

} // namespace kpr5
