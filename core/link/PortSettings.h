#pragma once
// The serial port the radio is on, as one value that every link to the radio
// shares: the main window's, the font window's and the group window's links
// all read it when they open the port, so choosing a port changes them all.
//
// The line is always "57600,n,8,1": 57,600 baud, no parity, 8 data bits,
// 1 stop bit, no flow control.

#include <QString>

#include <memory>

namespace kpr5 {

struct PortSettings {
    static constexpr qint32 kBaudRate = 57600;
    static QString settingsString() { return QStringLiteral("57600,n,8,1"); }

    int comPort = 1;    // COMn by number (1 = COM1) ...
    QString devicePath; // ... unless a device path is set

    // The system name of the port in use: the device path, or COMn as the
    // platform names it (COMn on Windows, /dev/ttyS<n-1> elsewhere).
    QString portName() const;
    static QString systemNameForComPort(int n);
    // "COM3" -> 3; 0 when the text is not of that form.
    static int comNumberFromText(const QString &text);
    // "COMn" chooses the port by number, anything else is a device path.
    void choose(const QString &port);
};

using SharedPortSettings = std::shared_ptr<PortSettings>;

} // namespace kpr5
