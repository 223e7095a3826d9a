#pragma once
// Whole files in and out, for the tests that prepare or inspect files.

#include <QFile>
#include <QTest>

namespace kpr5::test {

// `bytes` as the whole of `path`; the test fails when it cannot be written.
inline void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

// The whole of `path`; empty when it cannot be read.
inline QByteArray readFile(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The rows of a tab-separated table (tests/data), its "#" lines left out.
inline QList<QStringList> tableRows(const QString &path) {
    QList<QStringList> rows;
    for (const QString &line : QString::fromUtf8(readFile(path)).split(u'\n', Qt::SkipEmptyParts))
        if (!line.startsWith(u'#')) rows << line.split(u'\t');
    return rows;
}

} // namespace kpr5::test
