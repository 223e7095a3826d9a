// Editing a full channel table: Reset All taken as an undo step, undone and
// redone, and one-row edits with the modified check, in milliseconds (the
// user feels anything above a few).

#include "BenchCommon.h"

#include "core/channels/ChannelRowEdits.h"
#include "core/document/DocumentState.h"
#include "core/document/RadioDocument.h"

#include <QElapsedTimer>

namespace {
using namespace kpr5;

QList<bench::Row> editingBenchmarks() {
    RadioDocument doc;
    ChannelTable &t = doc.channels;
    for (int row = 1; row < ChannelTable::kFirstBugRow; ++row) {
        t.setText(row, ChannelTable::FreqCol, QStringLiteral("145.00000MHz"));
        t.setText(row, ChannelTable::NameCol, QStringLiteral("NAME%1").arg(row));
        t.setInUse(row - 1, 1);
    }
    DocumentState state(doc);
    QList<bench::Row> rows;
    QElapsedTimer clock;
    const auto ms = [&] { return clock.nsecsElapsed() / 1e6; };

    clock.start();
    rowedits::resetAll(t);
    const QList<RegionChange> step = state.takeEdits();
    const bool modified = state.isModified();
    rows << bench::Row{QStringLiteral("editing: Reset All as an undo step"), ms(),
                       QStringLiteral("ms")};
    clock.restart();
    state.restore(step, true);
    rows << bench::Row{QStringLiteral("editing: undo Reset All"), ms(), QStringLiteral("ms")};
    clock.restart();
    state.restore(step, false);
    rows << bench::Row{QStringLiteral("editing: redo Reset All"), ms(), QStringLiteral("ms")};
    state.restore(step, true);
    constexpr int kEdits = 1000;
    clock.restart();
    for (int i = 0; i < kEdits; ++i) {
        // Every other edit goes back to the saved name: the check then compares
        // the whole table.
        t.setText(5, ChannelTable::NameCol,
                  i % 2 ? QStringLiteral("NAME5") : QStringLiteral("EDIT"));
        state.takeEdits();
        state.isModified();
    }
    rows << bench::Row{QStringLiteral("editing: one-row edit and modified check"), ms() / kEdits,
                       QStringLiteral("ms")};
    if (step.isEmpty() || !modified)
        rows << bench::Row{QStringLiteral("editing FAILED"), 1, QString()};
    return rows;
}

const bench::Register reg(QStringLiteral("editing"), editingBenchmarks);
} // namespace
