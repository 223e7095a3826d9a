#pragma once
// Verify after write: once the whole radio has been written, every region
// written is read back and compared with what the program sent, region by
// region. Only the bytes the program itself decides are compared: the
// settings bytes it writes back as the radio held them are the radio's own.
// The pass table cannot be read, so it is not checked.

#include "core/link/Transfer.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace kpr5 {

struct RadioDocument;

// One block as read back: its address, the bytes that were written, and a
// mask (0xFF: compared, 0x00: not compared) of the same length.
struct VerifyBlock {
    quint32 address = 0;
    QByteArray written;
    QByteArray mask;
};

struct VerifyRegion {
    QString name; // "channels", "banks", "groups", "one-touch keys", "title", "settings", "DTMF",
                  // "user characters"
    QList<VerifyBlock> blocks;
};

// The regions a whole-radio write sends, from the document as it was written
// (the user characters only with `glyphs`).
QList<VerifyRegion> writtenRegions(const RadioDocument &doc, bool glyphs);

// True when the bytes read back (a whole 64-byte block) hold the written
// bytes wherever the mask says so.
bool blockMatches(const VerifyBlock &block, const QByteArray &readBack);

struct VerifyResult {
    bool started = false;       // false: another transfer was running
    bool portError = false;     // the port could not be used
    QStringList differing;      // regions holding other bytes than written
    QList<int> differingBlocks; // how many blocks of each differing region
    QStringList unread;         // regions that could not be read back
    bool ok() const { return started && differing.isEmpty() && unread.isEmpty(); }
    // "Verify: no difference", or one line per region that differs or could
    // not be read back.
    QStringList reportLines() const;
};

inline const QString kVerifyTitle = QStringLiteral(" Verify");

// Identification, then every block of the regions read back (3 attempts
// each). A block that cannot be read ends the check with "Error" (or "Port
// Error"); that region and the ones after it are reported as not read back.
// Shows no message of its own beyond those: the caller reports the result.
VerifyResult verifyRegions(const QList<VerifyRegion> &regions, SerialLink &link,
                           TransferHost &host);
VerifyResult verifyWritten(const RadioDocument &doc, SerialLink &link, TransferHost &host,
                           bool glyphs = true);

} // namespace kpr5
