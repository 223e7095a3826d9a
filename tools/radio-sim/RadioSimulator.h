#pragma once
// The simulated KP-R5: a pseudo-terminal that answers the clone protocol from
// a 128 KiB memory image. It runs in a thread of its own, so a test can drive
// the program's real serial link against it in the same process.
//
//   RadioSimulator radio;
//   radio.start();
//   radio.write(0x1200, record);          // what the radio holds
//   link.setDevicePath(radio.portPath());
//
// It answers the identification ("QX~KP-R5T", 16 bytes, "OK" at 12-13), the
// font window's identification ("QX~KP-R5", 17 bytes, "OK" at 13-14), block
// reads of 64 bytes from any address (143 bytes) and block writes of any
// length (L + 6 bytes, "OK" at L + 2). Faults are injected on request; the
// same options give the same session.

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

namespace kpr5::sim {

struct SimOptions {
    QString linkPath;     // a symbolic link to the device, removed on exit
    QString saveFile;     // the image is saved here after every accepted write and on exit
    QString logFile;      // every received frame, one per line
    int baud = 0;         // pace bytes at this rate (10 bits a byte), both ways; 0 = unpaced
    int latencyMs = 0;    // extra delay before every reply
    int dropEvery = 0;    // every Nth frame gets no reply
    int shortEvery = 0;   // every Nth reply lacks its last byte
    int corruptEvery = 0; // every Nth reply has a fixed byte ("OK", CR LF) corrupted
    int lateEvery = 0;    // every Nth reply comes lateMs late
    int lateMs = 1500;
    bool silent = false; // never answer
    int hangupAfter = 0; // the port vanishes after N frames
    // Without a link path, reach the device through a private symbolic link
    // (removed when the port vanishes or the simulator stops), so that a
    // program still holding the path never reaches a pseudo-terminal that
    // the system has since given to someone else.
    bool privateLink = true;
};

constexpr int kImageSize = 0x20000;

class RadioSimulator {
public:
    explicit RadioSimulator(const SimOptions &options = {});
    ~RadioSimulator();
    RadioSimulator(const RadioSimulator &) = delete;
    RadioSimulator &operator=(const RadioSimulator &) = delete;

    // Opens the pseudo-terminal and starts answering. False with a reason on failure.
    bool start(QString *error = nullptr);
    void stop();
    // The device path (the symbolic link when one was asked for).
    QString portPath() const;
    QString devicePath() const;

    // The memory image, 0x00000..0x1FFFF (thread-safe).
    QByteArray read(quint32 address, int length) const;
    void write(quint32 address, const QByteArray &bytes);
    QByteArray image() const;
    void setImage(const QByteArray &image);
    bool loadImage(const QString &path, QString *error = nullptr);
    bool saveImage(const QString &path, QString *error = nullptr) const;

    // Every frame received so far, without its CR, and how many.
    QList<QByteArray> frames() const;
    int frameCount() const;
    void clearFrames();

    // Change faults while running (the counters keep counting frames).
    void setOptions(const SimOptions &options);
    SimOptions options() const;
    // The port vanishes now (as a pulled cable); reconnect() brings a new
    // pseudo-terminal back at the same link path.
    void hangUp();
    bool reconnect(QString *error = nullptr);

    class Engine;

private:
    std::unique_ptr<Engine> d;
};

} // namespace kpr5::sim
