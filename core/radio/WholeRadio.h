#pragma once
// The whole radio in one go: `ALL_READ` ("Read All Data") and `ALL_WRITE`
// ("Write All Data"). They chain the transfers of every editor; each step
// keeps its own identification, retry limits and error message, and runs
// quietly (no "Success" of its own).

#include "core/link/Transfer.h"

#include <QStringList>

#include <functional>

namespace kpr5 {

struct RadioDocument;

struct WholeRadioResult {
    bool started = false;    // false: another transfer was running
    bool closing = false;    // the window was closed during a step
    QStringList failedSteps; // names of the steps that failed
    bool ok() const { return started && !closing && failedSteps.isEmpty(); }
};

// A step run by the caller: the font characters and the groups are read by
// their own windows (or, on the command line, by their transfers). Returns
// whether it succeeded.
using WholeRadioStep = std::function<bool()>;

// Channels, banks, one-touch keys, title, settings with DTMF, then the user
// characters and the groups. A failing step reports its own "Error" and the
// sequence goes on. No final message of its own.
WholeRadioResult readAll(RadioDocument &doc, SerialLink &link, TransferHost &host,
                         const WholeRadioStep &fontStep, const WholeRadioStep &groupStep);

// Channels with the pass table, banks, one-touch keys, title, settings with
// DTMF, then the two group blocks and (with `glyphs`) the eight user
// characters, without a new identification; "Success" at the end.
WholeRadioResult writeAll(RadioDocument &doc, SerialLink &link, TransferHost &host,
                          bool glyphs = true);

} // namespace kpr5
