#pragma once
// A tiny registry of benchmarks; each file in bench/ adds its own.

#include <QList>
#include <QString>

#include <functional>
#include <sys/resource.h>

namespace kpr5::bench {

struct Row {
    QString name;
    double value;
    QString unit;
};

struct Benchmark {
    QString group;
    std::function<QList<Row>()> run;
};

inline QList<Benchmark> &registry() {
    static QList<Benchmark> r;
    return r;
}

struct Register {
    Register(const QString &group, std::function<QList<Row>()> run) {
        registry().append(Benchmark{group, std::move(run)});
    }
};

// CPU time of the calling thread (the program's own work, not the simulator's).
inline double threadCpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Wire time of `bytes` at 57600 baud, 10 bits a byte.
inline double wireSeconds(double bytes) {
    return bytes * 10.0 / 57600.0;
}

} // namespace kpr5::bench
