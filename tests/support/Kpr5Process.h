#pragma once
// The command line as a program of its own (bin/kpr5 beside the tests), for
// its exit code and what it prints.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <functional>

namespace kpr5::test {

struct Kpr5Run {
    int exitCode = -1; // -1: it crashed or was killed
    QString out, err;
};

// `env` adds "NAME=value" settings; the backups of reads go to a folder of the
// tests' own unless XDG_DATA_HOME is among them. `whileRunning` is called
// every few milliseconds until the program ends.
inline Kpr5Run runKpr5(const QStringList &args, const QStringList &env = {},
                       const std::function<void(QProcess &)> &whileRunning = {}) {
    static QTemporaryDir dataHome;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome.path());
    for (const QString &setting : env)
        environment.insert(setting.section(QLatin1Char('='), 0, 0),
                           setting.section(QLatin1Char('='), 1));
    QProcess p;
    p.setProcessEnvironment(environment);
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kpr5"), args);
    QElapsedTimer clock;
    clock.start();
    while (!p.waitForFinished(5) && clock.elapsed() < 120000)
        if (whileRunning) whileRunning(p);
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished();
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

} // namespace kpr5::test
