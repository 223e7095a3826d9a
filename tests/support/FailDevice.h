#pragma once
// A buffer that takes `limit` bytes and then fails every write, to prove
// that write errors surface.

#include <QBuffer>

class FailDevice : public QBuffer {
public:
    explicit FailDevice(qint64 limit) : m_limit(limit) {}

protected:
    qint64 writeData(const char *data, qint64 len) override {
        const qint64 room = m_limit - size();
        if (room <= 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        return QBuffer::writeData(data, std::min(len, room));
    }

private:
    qint64 m_limit;
};
