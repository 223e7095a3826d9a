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

// The rows of a tab-separated table (tests/data), its "#" lines left out;
// "\uXXXX" in a field is that character. A table that cannot be read ends
// the test program.
inline QList<QStringList> tableRows(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) qFatal("no table %s", qPrintable(path));
    QList<QStringList> rows;
    for (const QString &line : QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(u'#')) continue;
        QStringList fields = line.split(u'\t');
        for (QString &field : fields)
            for (qsizetype i = field.indexOf(QStringLiteral("\\u")); i >= 0;
                 i = field.indexOf(QStringLiteral("\\u"), i + 1))
                field.replace(i, 6, QChar(field.mid(i + 2, 4).toUShort(nullptr, 16)));
        rows << fields;
    }
    return rows;
}

// A _data function's one column "c": the rows of a table, each tagged with
// its first and last fields.
inline void tableData(const QString &path) {
    QTest::addColumn<QStringList>("c");
    for (const QStringList &row : tableRows(path))
        QTest::newRow(qPrintable(row.first() + QStringLiteral(": ") + row.last())) << row;
}

} // namespace kpr5::test
