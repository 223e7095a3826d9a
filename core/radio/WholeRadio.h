#pragma once
// The whole radio in one go: `ALL_READ` ("Read All Data") and `ALL_WRITE`
// ("Write All Data"), for the window and the command line alike. They chain
// the transfers of every editor as quiet steps; each step keeps its own
// identification, retry limits and error message. One verdict ends them:
// "Success ALL DATA READ" (from the group read) or "Success" only when every
// step succeeded, otherwise one closing message (reportVerdict) that names
// the steps that did not and what the document or the radio now holds. A
// port error or a stop ends the sequence at once.

#include "core/link/Transfer.h"

#include <QStringList>

#include <functional>

namespace kpr5 {

struct RadioDocument;

struct WholeRadioResult {
    bool started = false; // false: another transfer was running
    bool closing = false; // the window was closed during a step
    QList<Sequence::Step> steps;
    QString note; // said with the verdict (a stage left out on purpose)
    // The steps that did not succeed (including those not tried), by name.
    QStringList failedSteps() const;
    bool ok() const { return started && !closing && failedSteps().isEmpty(); }
    bool stopped() const;
    bool portError() const;
};

// The closing message of a whole-radio transfer that did not succeed: what
// went wrong, and what the document (read) or the radio (write) now holds.
// `multiLine` for a message box, otherwise one line for the command line.
QString wholeRadioVerdict(const WholeRadioResult &result, bool write, bool multiLine);
// The closing message box of a whole-radio transfer that started and did not
// succeed (titled " Stopped" after a stop, " Error" otherwise); nothing
// otherwise. The window shows it; the command line prints its one line.
void reportVerdict(TransferHost &host, const WholeRadioResult &result, bool write);

// The user characters and the groups are read on links of their own (200 ms
// reply timer, the same port). The window reads them through the font and
// group windows; without a step of its own, the transfer runs here. The
// group read says "Success ALL DATA READ" only with `announce` (every
// earlier step succeeded).
struct WholeRadioReadSteps {
    std::function<TransferResult()> userCharacters;
    std::function<TransferResult(bool announce)> groups;
};

// Channels, banks, one-touch keys, title, settings with DTMF, then the user
// characters and the groups. A failing step reports its own "Error" and the
// sequence goes on.
WholeRadioResult readAll(RadioDocument &doc, SerialLink &link, TransferHost &host,
                         const WholeRadioReadSteps &steps = {});

// Channels with the pass table, banks, one-touch keys, title, settings with
// The note for a window's whole-radio write that leaves the user
// characters out.
inline const QString kGlyphsLeftOutNote =
    QStringLiteral("The user characters were not written: none were read, opened or drawn in "
                   "this run, so the radio keeps its own.");

// DTMF, then the two group blocks and (with `glyphs`) the eight user
// characters without a new identification. Without them, `leftOutNote` is
// said with the verdict.
WholeRadioResult writeAll(RadioDocument &doc, SerialLink &link, TransferHost &host,
                          bool glyphs = true, const QString &leftOutNote = kGlyphsLeftOutNote);

} // namespace kpr5
