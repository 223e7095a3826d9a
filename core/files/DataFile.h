#pragma once
// The ".R5" data file: the whole edited image of one radio as tagged text
// lines (code page 932, CR LF), written in this order:
//
//   "Save Date and Time ..."            header (the reader skips line 1)
//   CH<slot>... [XRAW] [XNAME]          every channel slot in use
//   BK0000..BK0004, [XBANK],            only while the bank page shows the
//   ONETOUCH_BANK, ONETOUCH_CHDA        total 1000
//   NUM_DTMF<nnn><digits>               every DTMF memory that is not empty
//   SET_DTMF, TITLE, [XTITLE], GRD00..GRD10, GRI, SD01..SD11, XSET, COMPORT<nn>
//   [DEVICE<path>]                      configuration file only (see below)
//   "File End"
// (the X lines are this program's own, see below)
//
// Opening a file clears the channel table (except the call channels and the
// bug-detector rows) and then applies every line it knows; the other regions
// keep what they held when the file has no line for them.
//
// Rules of this program where the format leaves a choice:
// - ONETOUCH_BANK holds, per key, 255 for "not set", otherwise the key's
//   position in the list of non-empty banks (what the bank list of the key
//   shows, and what files of the original layout hold). The banks of the same
//   file (its BK lines come first) give that list when the file is read, so
//   the key comes back on the bank it was saved with. A position beyond the
//   list assigns the key to the first non-empty bank, channel 0.
// - A CH line is taken whole or not at all: it is ignored when it is shorter
//   than 38 characters, when a number field holds anything but digits, when
//   the slot is above 1623, or when the carrier (29 or more), a tone (39 or
//   more) or the DCS index (104 or more) lies outside its table. A step index
//   above 15 reads as step 0 ("5KHz"). Names and the title are measured in
//   the radio's character slots (a token is one): what does not fit the 16
//   slots is cut off and the result says so. BK, ONETOUCH, NUM_DTMF, SET_DTMF and GRD lines are
//   ignored when a number field holds anything but digits or a number lies outside its range (group
//   0..4, memory 0..9, group 0..10, flags "0"/"1"); an SD line sets only the items whose three
//   digits it holds, and the settings model refuses positions outside an item's list.
// - A file in which no line after the first carries a known tag is not a
//   data file: it is refused before anything is changed.
// - A file that holds a SET_DTMF line holds all DTMF memories: a memory
//   without a NUM_DTMF line is empty (the writer leaves out empty memories).
//   A bare TITLE line is an empty title. So a file opens as it was saved.
// - After BK lines the channel table's row labels and the one-touch lists
//   follow the new banks.
// - The optional DEVICE line carries the serial device path chosen from the
//   detected ports, percent-encoded UTF-8; readers that do not know it skip it.
//
// Lines of this program that the original program skips (its reader goes by
// a line's first two characters and knows none of them), for what the lines
// above cannot hold:
//   XRAW<slot><mode><tone mode><tx><rx><dcs><carrier>   after a CH line whose
//        record bytes lie outside their tables (each 3 digits, the byte as
//        the radio holds it); the CH line holds a placeholder there (tone 08,
//        DCS 000, carrier 28, mode FM, tone mode None), and the byte is taken
//        only where it still does.
//   XNAME<slot><64 hex digits>   after a CH line whose name text does not
//        give the radio's 32 name bytes back (codes outside the code page or
//        the allowed set, control characters, an empty slot between
//        characters, ":1~" held as three characters); taken only while the
//        CH line's name is still the one written with it.
//   XBANK<50 x 4 digits>   after the BK lines when a bank holds all 1000
//        channels (the BK lines show it as 999).
//   XTITLE<64 hex digits>  after the TITLE line, as XNAME for the title.
//   XSET<cross band><CH display mode><opening moving>   3 digits each: the
//        settings no Set Mode line holds.
// XRAW and XNAME count only right after the CH line of their slot, XTITLE
// only right after the TITLE line.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class QIODevice;

namespace kpr5 {

class BankTable;
class ChannelTable;
struct RadioDocument;

namespace datafile {

constexpr int kOneTouchKeys = 9;
constexpr int kNotSet = 255;

// One one-touch key as the Common Set page shows it.
struct OneTouchKey {
    bool noSet = true;       // `NO_SET(k)` checked
    int bankPosition = 0;    // position selected in `COMMON_BANK(k)`
    int channelPosition = 0; // position selected in `COMMON_CH(k)`
    bool operator==(const OneTouchKey &o) const {
        return noSet == o.noSet && bankPosition == o.bankPosition &&
               channelPosition == o.channelPosition;
    }
};
using OneTouchKeys = std::array<OneTouchKey, kOneTouchKeys>;

// --- single lines ---------------------------------------------------------
QString channelLine(const ChannelTable &table, int slot);
// The XRAW and XNAME lines that follow a slot's CH line (none when it holds
// the channel exactly).
QStringList channelExtensionLines(const ChannelTable &table, int slot);
// Applies a CH line to the table; false when the line is ignored (see
// above). `nameCut`: the name did not fit the 16 slots and was cut.
bool readChannelLine(ChannelTable &table, const QString &line, bool *nameCut = nullptr);
// XRAW and XNAME lines over the CH lines read before them; false (XNAME:
// nullopt, else its slot) when the line is ignored.
bool readRawLine(ChannelTable &table, const QString &line);
std::optional<int> readNameLine(ChannelTable &table, const QString &line);

QString oneTouchBankLine(const OneTouchKeys &keys);
QString oneTouchChannelLine(const OneTouchKeys &keys);
// Applies an "ON" line to the keys, using the bank table for the list of
// non-empty banks and the channel counts; false when the line is ignored.
bool readOneTouchLine(const QString &line, OneTouchKeys &keys, const BankTable &banks);

QString titleLine(const QString &displayTitle);
// The title a TITLE line gives (display form, filtered against the allowed
// double-byte set, cut to the 16 slots; `cut` tells).
QString titleFromLine(const QString &line, bool *cut = nullptr);

// --- the one-touch keys and the title of a document -------------------------
OneTouchKeys oneTouchKeys(const RadioDocument &doc);
void setOneTouchKeys(RadioDocument &doc, const OneTouchKeys &keys);
QString titleText(const RadioDocument &doc); // display form
// The title of a TITLE line (what does not fit the 16 slots is cut off).
bool setTitleText(RadioDocument &doc, const QString &displayTitle);

// --- whole files ----------------------------------------------------------
struct WriteOptions {
    int comPort = 1;
    QString devicePath; // written as a DEVICE line when not empty
    QDateTime savedAt;  // the header's time; invalid: now
};
QStringList dataFileLines(const RadioDocument &doc, const WriteOptions &options);
QByteArray dataFileBytes(const RadioDocument &doc, const WriteOptions &options);

// The DEVICE line's path in a file's lines; empty when there is none.
QString devicePathFromLines(const QStringList &lines);

} // namespace datafile

// The file's bytes to an open device; false with the reason when writing fails.
bool writeDataFile(const RadioDocument &doc, int comPort, QIODevice &device, QString *error);
// A complete new file at `path`, or the old file left intact and false with
// the reason.
bool saveDataFile(const RadioDocument &doc, int comPort, const QString &path, QString *error);
bool saveDataFile(const RadioDocument &doc, const datafile::WriteOptions &options,
                  const QString &path, QString *error);

// The name ends in ".R5", in any case.
bool hasDataFileExtension(const QString &path);

struct DataFileResult {
    enum Status { Read, WrongExtension, Unreadable, NotDataFile };
    Status status = Read;
    QString error;        // the reason for Unreadable / NotDataFile
    int channels = 0;     // CH lines taken
    int ignoredLines = 0; // lines with a known tag that were ignored
    QStringList notes;    // what was read otherwise than the file holds it (names cut)
    bool ok() const { return status == Read; }
    // The message box of the outcome: "Read File" / "Finish" or
    // "This File don't Open" / "Error".
    QString message() const;
    QString title() const;
};

// Reads a data file's bytes into the document (no extension test).
DataFileResult readDataFile(RadioDocument &doc, const QByteArray &bytes);
// The extension test, then the file. Nothing changes unless the result is ok().
DataFileResult openDataFile(RadioDocument &doc, const QString &path);

} // namespace kpr5
