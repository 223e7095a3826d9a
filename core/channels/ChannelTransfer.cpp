#include "core/channels/ChannelTransfer.h"

#include "core/channels/ChannelRecord.h"
#include "core/channels/ChannelTable.h"
#include "core/link/MemoryMap.h"

namespace kpr5 {

namespace {

constexpr int kReadFailureLimit = 30;
constexpr int kWriteFailureLimit = 20;
// The progress bar's maximum for the whole table: its rows and a margin.
constexpr int kFullProgress = 1704;
// The whole table's percentage is the row divided by this.
constexpr int kRowsPerPercent = 17;

// Pass table: the first block up to 3 attempts, the next eleven with 10
// failures in all, the last (40 bytes) with 2; progress 20 after the first
// block and 20 + 5 k after each attempt at block k.
constexpr int kPassFirstAttempts = 3;
constexpr int kPassMiddleFailures = 10;
constexpr int kPassLastAttempts = 2;

// Per-row change signals are held back while a transfer runs: the grid
// redraws once at the end, not row by row.
class Batch {
public:
    explicit Batch(ChannelTable &t) : m_table(t) { m_table.beginBatch(); }
    ~Batch() { m_table.endBatch(); }

private:
    ChannelTable &m_table;
};

quint32 addressOfRow(int row) {
    return *memorymap::recordAddress(*memorymap::rowToRecord(row));
}

void showProgress(TransferHost &host, int value) {
    host.setProgressValue(value);
    host.setPercent(value);
}

bool writePassTable(const ChannelTable &table, Operation &op) {
    SerialLink &link = op.link();
    TransferHost &host = op.host();
    host.setProgressMaximum(100);
    host.setProgressValue(0);
    const QList<memorymap::BlockData> blocks =
        memorymap::passTableBlocks(memorymap::buildPassTable(passChannels(table)));
    const auto write = [&](int block) {
        return link.writeBlock(blocks[block].address, blocks[block].data);
    };
    const int last = int(blocks.size()) - 1;
    if (!op.retry(kPassFirstAttempts, [&] { return write(0); })) return false;
    showProgress(host, 20);
    op.setName(QStringLiteral("Pass table"));
    const bool middle = op.repeat(last - 1, kPassMiddleFailures, [&](int i) {
        const Outcome o = write(i + 1);
        showProgress(host, 20 + 5 * (i + 2));
        return o;
    });
    if (!middle || !op.retry(kPassLastAttempts, [&] { return write(last); })) return false;
    host.setProgressValue(100);
    return true;
}

QString rowSpan(int first, int last) {
    return first == last ? QStringLiteral("row %1").arg(first)
                         : QStringLiteral("rows %1\u2013%2").arg(first).arg(last);
}

// What a channel transfer that did not succeed leaves behind.
QString channelsEndReport(const RowRange &rows, Direction direction, int done, bool stopped) {
    const bool reading = direction == Direction::Read;
    const int lastDone = rows.first + done - 1;
    const QString of = rows.isAll() ? QStringLiteral("of %1").arg(rows.last)
                                    : QStringLiteral("of %1").arg(rowSpan(rows.first, rows.last));
    QString text;
    if (stopped)
        text = done > 0 ? QStringLiteral("Stopped after row %1 %2").arg(lastDone).arg(of)
                        : QStringLiteral("Stopped before row %1 %2").arg(rows.first).arg(of);
    if (reading) {
        const QString rest = done < rows.count() ? rowSpan(lastDone + 1, rows.last) : QString();
        if (stopped) return text + QStringLiteral("; rows after it unchanged");
        return done > 0 ? QStringLiteral("%1 read from the radio, %2 as before")
                              .arg(rowSpan(rows.first, lastDone), rest)
                        : QStringLiteral("%1 as before").arg(rowSpan(rows.first, rows.last));
    }
    QStringList holds;
    if (done > 0) holds << QStringLiteral("new %1").arg(rowSpan(rows.first, lastDone));
    int firstOld = lastDone + 1;
    if (!stopped && firstOld <= rows.last) {
        // The radio may have taken the block whose answer never came.
        holds << QStringLiteral("row %1 new or old (its answer did not come)").arg(firstOld);
        ++firstOld;
    }
    if (firstOld <= rows.last) holds << QStringLiteral("old %1").arg(rowSpan(firstOld, rows.last));
    QString written = holds.join(QStringLiteral(", "));
    if (lastDone >= memorymap::kFirstPassRow && rows.first <= memorymap::kLastPassRow)
        written +=
            QStringLiteral("; the pass table was not rewritten (write these channels again)");
    return stopped ? text + QStringLiteral(": the radio holds ") + written : written;
}

} // namespace

RowRange RowRange::selection(int current, int selectionEnd) {
    const int rows = all().last;
    return {qBound(1, qMin(current, selectionEnd), rows),
            qBound(1, qMax(current, selectionEnd), rows)};
}

bool RowRange::touchesPassChannels() const {
    return first <= memorymap::kLastPassRow && last >= memorymap::kFirstPassRow;
}

void clearEmptyRows(ChannelTable &table, TransferHost *host) {
    // Every row but the bug-detector presets; the call channels keep their
    // texts even when the radio reports them empty.
    Batch batch(table);
    for (int row = 1; row < ChannelTable::kFirstBugRow; ++row) {
        if (table.inUse(ChannelTable::slotOfRow(row)) != 0 || ChannelTable::isCallRow(row))
            continue;
        for (int c = 1; c <= ChannelTable::kColumns; ++c)
            table.setText(row, c, QString());
        table.setStoredName(ChannelTable::slotOfRow(row), QString());
        if (host && row % 100 == 0) host->processEvents();
    }
}

TransferResult transferChannels(ChannelTable &table, Direction direction, RowRange rows,
                                SerialLink &link, TransferHost &host) {
    const bool reading = direction == Direction::Read;
    const bool whole = rows.isAll();
    const int count = rows.count();
    const int maximum = whole ? kFullProgress : count;
    Operation op(link, host, QStringLiteral("Channels"));
    int done = 0; // rows read or written
    op.setEndReport([&](TransferResult result) {
        return channelsEndReport(rows, direction, done, result == TransferResult::Stopped);
    });
    if (!op.begin()) return op.result();
    host.setProgressMaximum(maximum);
    host.setProgressValue(0);
    host.setCurrentRow(rows.first);
    if (!op.identify()) return op.result();

    Batch batch(table);
    const bool allRows =
        op.repeat(count, reading ? kReadFailureLimit : kWriteFailureLimit, [&](int index) {
            const int row = rows.first + index;
            host.processEvents();
            host.setCurrentRow(row);
            host.setProgressValue(whole ? row : index + 1);
            if (whole) host.setPercent(row / kRowsPerPercent);
            Outcome o;
            if (reading) {
                QByteArray data;
                o = link.readBlock(addressOfRow(row), &data);
                if (o == Outcome::Accepted) decodeChannel(data, table, row);
            } else {
                o = link.writeBlock(addressOfRow(row), encodeChannel(table, row).toByteArray());
            }
            if (o == Outcome::Accepted) {
                done = index + 1;
                if (!whole) host.setPercent(done * 100 / count);
            }
            return o;
        });
    if (!allRows) return op.result();
    host.setPercent(100);
    host.setProgressValue(maximum);
    if (reading) {
        host.processEvents();
        clearEmptyRows(table, &host);
    } else if (rows.touchesPassChannels() && !writePassTable(table, op)) {
        // The radio's pass table must follow its pass channels: it is
        // rewritten whenever the written rows include one of them.
        return op.result();
    }
    op.succeed();
    host.setProgressValue(0);
    return op.result();
}

} // namespace kpr5
