#include "core/channels/ChannelTransfer.h"

#include "core/channels/ChannelRecord.h"
#include "core/channels/ChannelTable.h"
#include "core/link/MemoryMap.h"

namespace kpr5 {

namespace {

constexpr int kReadFailureLimit = 30;
constexpr int kWriteFailureLimit = 20;
constexpr int kFullProgress = 1704;

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

// Reads rows first..last; `progress(done)` reports after each row read.
// Returns false when the operation ended (failure, port error, closing).
bool readRows(ChannelTable &table, int first, int last, Operation &op,
              const std::function<void(int row, int done)> &before,
              const std::function<void(int done)> &after) {
    SerialLink &link = op.link();
    TransferHost &host = op.host();
    link.state.failureCount = 0;
    int done = 0;
    Batch batch(table);
    for (int row = first; link.state.failureCount < kReadFailureLimit && row <= last;) {
        host.processEvents();
        host.setCurrentRow(row);
        before(row, done);
        QByteArray data;
        const Outcome o = link.readBlock(addressOfRow(row), &data);
        if (op.endedBy(o)) return false;
        if (o != Outcome::Accepted) {
            ++link.state.failureCount;
            continue;
        }
        decodeChannel(data, table, row);
        ++row;
        ++done;
        after(done);
    }
    if (link.state.failureCount >= kReadFailureLimit) {
        op.fail();
        return false;
    }
    return true;
}

bool writeRows(const ChannelTable &table, int first, int last, Operation &op,
               const std::function<void(int row, int done)> &before,
               const std::function<void(int done)> &after) {
    SerialLink &link = op.link();
    TransferHost &host = op.host();
    link.state.failureCount = 0;
    int done = 0;
    for (int row = first; link.state.failureCount < kWriteFailureLimit && row <= last;) {
        host.processEvents();
        host.setCurrentRow(row);
        before(row, done);
        const Outcome o =
            link.writeBlock(addressOfRow(row), encodeChannel(table, row).toByteArray());
        if (op.endedBy(o)) return false;
        if (o != Outcome::Accepted) {
            ++link.state.failureCount;
            continue;
        }
        ++row;
        ++done;
        after(done);
    }
    return true;
}

// The pass table after a write that touched the pass channels: the first
// block up to 3 attempts, the next eleven with 10 failures in all, the last
// (40 bytes) with 2.
bool writePassTable(const ChannelTable &table, Operation &op) {
    SerialLink &link = op.link();
    TransferHost &host = op.host();
    host.setProgressMaximum(100);
    host.setProgressValue(0);
    const QList<memorymap::BlockData> blocks =
        memorymap::passTableBlocks(memorymap::buildPassTable(passChannels(table)));
    const auto write = [&](int k) {
        return link.writeBlock(blocks[k - 1].address, blocks[k - 1].data);
    };

    if (!op.retry(3, [&] { return write(1); })) return false;
    host.setProgressValue(20);
    host.setPercent(20);
    op.setBusyCode(200);
    link.state.failureCount = 0;
    int k = 2;
    while (link.state.failureCount < 10 && k < 13) {
        const Outcome o = write(k);
        if (op.endedBy(o)) return false;
        host.setProgressValue(20 + 5 * k);
        host.setPercent(20 + 5 * k);
        if (o == Outcome::Accepted)
            ++k;
        else
            ++link.state.failureCount;
    }
    if (link.state.failureCount >= 10) {
        op.fail();
        return false;
    }
    link.state.failureCount = 0;
    while (link.state.failureCount < 2 && k < 14) {
        const Outcome o = write(13);
        if (op.endedBy(o)) return false;
        if (o == Outcome::Accepted)
            ++k;
        else
            ++link.state.failureCount;
    }
    if (link.state.failureCount >= 2) {
        op.fail();
        return false;
    }
    host.setProgressValue(100);
    return true;
}

void orderSelection(int current, int selectionEnd, int *first, int *last) {
    *first = qBound(1, qMin(current, selectionEnd), ChannelTable::kRows);
    *last = qBound(1, qMax(current, selectionEnd), ChannelTable::kRows);
}

} // namespace

void clearEmptyRows(ChannelTable &table, TransferHost *host) {
    // Every row but the bug-detector presets; the call channels keep their
    // texts even when the radio reports them empty.
    Batch batch(table);
    for (int row = 1; row < ChannelTable::kFirstBugRow; ++row) {
        if (table.inUse(row - 1) != 0 || ChannelTable::isCallRow(row)) continue;
        for (int c = 1; c <= ChannelTable::kColumns; ++c)
            table.setText(row, c, QString());
        table.setStoredName(row - 1, QString());
        if (host && row % 100 == 0) host->processEvents();
    }
}

bool readChannels(ChannelTable &table, SerialLink &link, TransferHost &host) {
    Operation op(link, host, 232);
    if (!op.begin() || !op.identify()) return false;
    host.setProgressMaximum(kFullProgress);
    host.setProgressValue(0);
    const bool ok = readRows(
        table, 1, ChannelTable::kRows, op,
        [&](int row, int) {
            host.setProgressValue(row);
            host.setPercent(row / 17);
        },
        [](int) {});
    if (!ok) return false;
    host.setPercent(100);
    host.setProgressValue(kFullProgress);
    host.processEvents();
    clearEmptyRows(table, &host);
    op.succeed();
    host.setProgressValue(0);
    return true;
}

bool writeChannels(const ChannelTable &table, SerialLink &link, TransferHost &host) {
    Operation op(link, host, 3);
    host.setProgressValue(0);
    host.setProgressMaximum(kFullProgress);
    if (!op.begin()) return false;
    host.setCurrentRow(1);
    if (!op.identify()) return false;
    const bool ok = writeRows(
        table, 1, ChannelTable::kRows, op,
        [&](int row, int) {
            host.setProgressValue(row);
            host.setPercent(row / 17);
        },
        [](int) {});
    if (!ok) return false;
    host.setPercent(100);
    host.setProgressValue(kFullProgress);
    if (link.state.failureCount >= kWriteFailureLimit) {
        op.fail();
        return false;
    }
    if (!writePassTable(table, op)) return false;
    op.succeed();
    host.setProgressValue(0);
    return true;
}

bool readSelected(ChannelTable &table, int current, int selectionEnd, SerialLink &link,
                  TransferHost &host) {
    int first, last;
    orderSelection(current, selectionEnd, &first, &last);
    Operation op(link, host, 232);
    if (!op.begin()) return false;
    const int count = last - first + 1;
    host.setCurrentRow(first);
    if (!op.identify()) return false;
    host.setProgressMaximum(count);
    const bool ok = readRows(
        table, first, last, op, [&](int, int done) { host.setProgressValue(done + 1); },
        [&](int done) { host.setPercent(done * 100 / count); });
    if (!ok) return false;
    host.setPercent(100);
    host.setProgressValue(count);
    host.processEvents();
    clearEmptyRows(table, &host);
    op.succeed();
    host.setProgressValue(0);
    return true;
}

bool writeSelected(const ChannelTable &table, int current, int selectionEnd, SerialLink &link,
                   TransferHost &host) {
    int first, last;
    orderSelection(current, selectionEnd, &first, &last);
    const int count = last - first + 1;
    Operation op(link, host, 230);
    host.setProgressMaximum(count);
    if (!op.begin()) return false;
    host.setCurrentRow(first);
    if (!op.identify()) return false;
    const bool ok = writeRows(
        table, first, last, op, [&](int, int done) { host.setProgressValue(done + 1); },
        [&](int done) { host.setPercent(done * 100 / count); });
    if (!ok) return false;
    if (link.state.failureCount >= kWriteFailureLimit) {
        op.fail();
        return false;
    }
    // The radio's pass table must follow its pass channels: rewrite it whenever
    // the written rows include one of them, not only when an end row does.
    const bool touchesPass = first <= memorymap::kLastPassRow && last >= memorymap::kFirstPassRow;
    if (touchesPass && !writePassTable(table, op)) return false;
    op.succeed();
    host.setProgressValue(0);
    return true;
}

} // namespace kpr5
