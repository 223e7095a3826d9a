#pragma once
// The whole radio in one go: `ALL_READ` ("Read All Data") and `ALL_WRITE`
// ("Write All Data"), for the window and the command line alike. They chain
// the transfers of every editor as quiet steps; each step keeps its own
// identification, retry limits and error message.

#include "core/link/Transfer.h"

#include <QStringList>

#include <functional>

namespace kpr5 {

struct RadioDocument;

struct WholeRadioResult {
    bool started = false;    // false: another transfer was running
    bool closing = false;    // the window was closed during a step
    QStringList failedSteps; // names of the steps that did not succeed
    bool ok() const { return started && !closing && failedSteps.isEmpty(); }
};

// The user characters and the groups are read on links of their own (200 ms
// reply timer, the same port). The window reads them through the font and
// group windows; without a step of its own, the transfer runs here.
struct WholeRadioReadSteps {
    std::function<TransferResult()> userCharacters;
    std::function<TransferResult()> groups;
};

// Channels, banks, one-touch keys, title, settings with DTMF, then the user
// characters and the groups. A failing step reports its own "Error" and the
// sequence goes on. No final message of its own: the group read says
// "Success ALL DATA READ".
WholeRadioResult readAll(RadioDocument &doc, SerialLink &link, TransferHost &host,
                         const WholeRadioReadSteps &steps = {});

// Channels with the pass table, banks, one-touch keys, title, settings with
// DTMF, then the two group blocks and (with `glyphs`) the eight user
// characters without a new identification; "Success" at the end.
WholeRadioResult writeAll(RadioDocument &doc, SerialLink &link, TransferHost &host,
                          bool glyphs = true);

} // namespace kpr5
