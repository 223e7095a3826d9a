#pragma once
// Failing writes, to prove that write errors surface: a buffer that takes
// `limit` bytes and then fails every write, and a full disk.

#include <QBuffer>

#include <csignal>
#include <sys/resource.h>

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

// The disk is full past `bytes` while this lives: a file this process
// writes stops growing there (a file size limit stands in for the full disk).
class DiskFullAfter {
public:
    explicit DiskFullAfter(rlim_t bytes) : m_handler(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit small = m_old;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~DiskFullAfter() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }
    DiskFullAfter(const DiskFullAfter &) = delete;
    DiskFullAfter &operator=(const DiskFullAfter &) = delete;

private:
    void (*m_handler)(int);
    rlimit m_old{};
};
