// Every transfer against every fault of the simulated radio, against a port
// that does not exist, and closed during a reply wait. Whatever the fault, a
// transfer ends either with its success and exactly the right data (in the
// editor for a read, in the radio for a write), or with its error message,
// the link free again, the progress back at 0 and the editor consistent: the
// blocks read so far decoded, the rest as they were. A port that vanished
// mid-transfer is used again once it is back. Closed during a wait, a
// transfer sends nothing more, ends without a message and closes the window.
//
// The expected outcome of each transfer is its run on a radio without
// faults (for the whole table and the whole radio, composed from the rows
// and the other transfers' runs); the radio holds one document ("A") and the
// editor starts with another ("B"), so every block that moved shows.

#include "Documents.h"
#include "SimFixture.h"

#include "core/banks/BankTransfer.h"
#include "core/banks/GroupTransfer.h"
#include "core/channels/ChannelRecord.h"
#include "core/channels/ChannelTransfer.h"
#include "core/common/OneTouchTransfer.h"
#include "core/common/TitleTransfer.h"
#include "core/document/RadioDocument.h"
#include "core/font/FontTransfer.h"
#include "core/font/GlyphCodec.h"
#include "core/radio/WholeRadio.h"
#include "core/settings/SettingsCatalogue.h"
#include "core/settings/SettingsCodec.h"
#include "core/settings/SettingsTransfer.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

using namespace kpr5;
using namespace kpr5::test;

namespace {

constexpr int kMainTimeoutMs = 60;    // the main window's link, shortened
constexpr int kWindowTimeoutMs = 200; // the font and group windows' links
constexpr int kGlyph = 5;             // the glyph of the single-character transfers
constexpr int kSelectionTop = 1395;   // a selection that reaches into the pass channels
constexpr int kSelectionBottom = 1410;

int recordAt(int row) {
    return int(*memorymap::recordAddress(*memorymap::rowToRecord(row)));
}

// --- the two documents -------------------------------------------------------

// Document A (what the radio holds) or B (what the editor starts with). In
// both every bank holds channels, so the one-touch keys and the groups decode
// the same whichever bank table is current.
void fillDocument(RadioDocument &doc, bool a) {
    test::fillDocument(doc, a ? 0xA11 : 0xB22);
    doc.settings.setPosition(Family::Mem, 0, a ? 1 : 2);
}

// The radio's image of document A, built with the program's encoders.
QByteArray imageOf(const RadioDocument &doc) {
    sim::RadioSimulator radio; // used as a memory only
    for (int row = 1; row <= 1623; ++row)
        radio.write(recordAt(row), encodeChannel(doc.channels, row).toByteArray());
    radio.write(BankTable::kAddress, doc.banks.encodeArea());
    radio.write(0x00100, doc.groups.encodeGroups(0, 6));
    radio.write(0x00130, doc.groups.encodeGroups(6, 5));
    radio.write(0x00180, doc.oneTouch.encodeArea());
    radio.write(0x001A0, doc.title.encodeArea());
    for (int b = 0; b < 3; ++b) {
        radio.write(settings::kBlockAddress[b], encodeSettingsBlock(doc.settings, b));
        radio.write(DtmfMemories::blockAddress(b), doc.dtmf.encodeBlock(b));
    }
    for (int k = 0; k < FontImage::kGlyphCount; ++k)
        radio.write(glyphAddress(k), encodeGlyph(doc.font, k));
    return radio.image();
}

// --- fingerprints -------------------------------------------------------------

// A region as parts in the order a transfer moves them.
using Parts = QList<QByteArray>;
using Regions = QList<Parts>;

QByteArray rowPrint(const ChannelTable &t, int row) {
    QStringList f;
    for (int c = 1; c <= 12; ++c)
        f << t.text(row, c);
    const int s = row - 1;
    f << QString::number(t.inUse(s)) << QString::number(t.stepIndex(s))
      << QString::number(t.txToneIndex(s)) << QString::number(t.rxToneIndex(s))
      << QString::number(t.dcsIndex(s)) << QString::number(t.carrierIndex(s)) << t.storedName(s);
    return f.join(QLatin1Char('|')).toUtf8();
}

QByteArray countsPrint(const BankTable &banks, int first, int count) {
    QByteArray b;
    for (int i = first; i < first + count; ++i)
        b += QByteArray::number(banks.count(i)) + ',';
    return b;
}

Regions editorRegions(const RadioDocument &doc) {
    Regions r;
    Parts rows;
    for (int row = 1; row <= 1623; ++row)
        rows << rowPrint(doc.channels, row);
    r << rows;
    r << Parts{countsPrint(doc.banks, 0, 32), countsPrint(doc.banks, 32, 18)};
    r << Parts{doc.groups.encodeGroups(0, 6), doc.groups.encodeGroups(6, 5)};
    QByteArray keys;
    for (int k = 0; k < 9; ++k)
        keys += QByteArray::number(doc.oneTouch.isUnassigned(k)) + ':' +
                QByteArray::number(doc.oneTouch.bankNumber(k)) + ':' +
                QByteArray::number(doc.oneTouch.channelPosition(k)) + ',';
    r << Parts{keys};
    r << Parts{doc.title.displayText().toUtf8() + '|' +
               QByteArray::number(doc.title.openingMoving())};
    // Settings: the items (decoded once the three blocks are in), the
    // write-protect item, then the DTMF blocks.
    QByteArray items;
    for (int f = 0; f < kFamilyCount; ++f) {
        const auto family = Family(f);
        if (family == Family::Mem) continue;
        for (int e = 0; e < settings::familySize(family); ++e)
            items += QByteArray::number(doc.settings.position(family, e)) + ',';
    }
    Parts settingsParts{items, QByteArray::number(doc.settings.position(Family::Mem, 0))};
    for (int b = 0; b < DtmfMemories::kBlockCount; ++b)
        settingsParts << doc.dtmf.encodeBlock(b);
    r << settingsParts;
    Parts glyphs;
    for (int k = 0; k < FontImage::kGlyphCount; ++k)
        glyphs << encodeGlyph(doc.font, k);
    r << glyphs;
    return r;
}

// The radio's bytes of the regions a write moves, in the order it writes them.
Parts channelWriteParts(const QByteArray &image, int first, int last, bool passTable) {
    Parts p;
    for (int row = first; row <= last; ++row)
        p << image.mid(recordAt(row), 64);
    if (passTable) {
        for (const MemoryBlock &b : memorymap::region(RegionId::PassTable).writes)
            if (b.length > 0) p << image.mid(int(b.address), b.length);
    }
    return p;
}

Parts blocks(const QByteArray &image, RegionId id) {
    Parts p;
    const MemoryRegion &region = memorymap::region(id);
    for (int i = 0; i < region.writeCount; ++i)
        p << image.mid(int(region.writes[size_t(i)].address), region.writes[size_t(i)].length);
    return p;
}

Regions radioRegions(const QByteArray &image) {
    return {channelWriteParts(image, 1, 1623, true),
            blocks(image, RegionId::Banks),
            blocks(image, RegionId::OneTouch),
            blocks(image, RegionId::Title),
            blocks(image, RegionId::SetMode) + blocks(image, RegionId::Dtmf),
            blocks(image, RegionId::ScanGroups),
            blocks(image, RegionId::UserCharacters)};
}

// Empty when `got` is reachable by a transfer that moved the parts in order
// and stopped somewhere: each part is as before or as after, and no part has
// changed after one that is still as before.
QString inconsistency(const Regions &got, const Regions &before, const Regions &after) {
    for (int r = 0; r < got.size(); ++r) {
        bool stopped = false;
        for (int i = 0; i < got[r].size(); ++i) {
            const bool isBefore = got[r][i] == before[r][i];
            const bool isAfter = got[r][i] == after[r][i];
            const QString where = QStringLiteral("region %1 part %2 ").arg(r).arg(i);
            if (!isBefore && !isAfter) return where + "is neither as before nor as after";
            if (isAfter && !isBefore && stopped)
                return where + "moved after an earlier part that did not";
            if (isBefore && !isAfter) stopped = true;
        }
    }
    return QString();
}

QString firstDifference(const Regions &got, const Regions &want) {
    for (int r = 0; r < want.size(); ++r)
        for (int i = 0; i < want[r].size(); ++i)
            if (got[r][i] != want[r][i])
                return QStringLiteral("region %1 part %2 differs").arg(r).arg(i);
    return QString();
}

// --- the transfers ------------------------------------------------------------

// Reads and writes alternate, named by kSubjectNames.
// clang-format off
enum class Subject { ReadSelected, WriteSelected, ReadBanks, WriteBanks, ReadGroups, WriteGroups,
    ReadOneTouch, WriteOneTouch, ReadTitle, WriteTitle, ReadSettings, WriteSettings, ReadDtmf,
    WriteDtmf, ReadGlyph, WriteGlyph, ReadGlyphs, WriteGlyphs, ReadAll, WriteAll, ReadChannels };
// clang-format on
const char *const kSubjectNames[] = {"selected rows", "banks",       "groups",        "one-touch",
                                     "title",         "settings",    "DTMF memories", "glyph",
                                     "all glyphs",    "whole radio", "all channels"};

// --- faults --------------------------------------------------------------------

enum class Fault { None, Drop, Short, Corrupt, Late, LatePaced, Silent, Vanish, NoPort, Close };
const QList<QByteArray> kFaultNames =
    QByteArray("|dropped reply|short reply|corrupted fixed byte|late reply|late reply at wire "
               "speed|silent radio|port vanishing|no such port|closed during a reply wait")
        .split('|');

// Every third frame spoilt (every second in transfers of a few frames, so that
// the fault hits them): no block fails three times in a row, so transfers
// with per-block attempts must get through; transfers that count failures
// over the whole run (the pass table, the whole radio) may hit their limits.
sim::SimOptions faultOptions(Fault fault, const QString &linkPath, int lateMs, int frames) {
    const int period = frames <= 4 ? 2 : 3;
    sim::SimOptions o;
    o.linkPath = linkPath;
    if (fault == Fault::Drop) o.dropEvery = period;
    if (fault == Fault::Short) o.shortEvery = period;
    if (fault == Fault::Corrupt) o.corruptEvery = period;
    if (fault == Fault::Late || fault == Fault::LatePaced) o.lateEvery = period;
    o.lateMs = lateMs;
    if (fault == Fault::LatePaced) o.baud = 57600;
    if (fault == Fault::Vanish) o.hangupAfter = qMax(2, frames / 2);
    // Closed: every reply awaited for a while; a transfer of a few frames
    // waits for its identification for good.
    o.silent = fault == Fault::Silent || (fault == Fault::Close && frames <= 4);
    if (fault == Fault::Close && frames > 4) o.latencyMs = 20;
    return o;
}

struct RunResult {
    bool ok = false;
    Regions editor;
    Regions radio;
    QByteArray image;
    QStringList messages;
    RecordingHost host; // all the transfer reported
    int frames = 0;
    bool busy = false;
};

} // namespace

Q_DECLARE_METATYPE(Subject)
Q_DECLARE_METATYPE(Fault)

class FaultMatrixTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QByteArray m_imageA;
    Regions m_editorB;
    QHash<int, RunResult> m_expected; // by Subject: the run without faults
    int m_radios = 0;

    static bool isWrite(Subject s) { return int(s) % 2 == 1; }
    static bool isSingleGlyph(Subject s) {
        return s == Subject::ReadGlyph || s == Subject::WriteGlyph;
    }
    static bool isWhole(Subject s) { return s == Subject::ReadAll || s == Subject::WriteAll; }
    // The transfers of the font and group windows, on their own links and timer.
    static bool onWindowLink(Subject s) {
        return s == Subject::ReadGroups || s == Subject::WriteGroups ||
               (s >= Subject::ReadGlyph && s <= Subject::WriteGlyphs);
    }

    QString nextLinkPath() { return m_dir.filePath(QStringLiteral("radio-%1").arg(++m_radios)); }

    // One run of a transfer: a fresh radio holding A, an editor holding B.
    struct Run {
        std::unique_ptr<sim::RadioSimulator> radio;
        std::unique_ptr<RadioDocument> doc = std::make_unique<RadioDocument>();
        std::unique_ptr<SerialLink> link = std::make_unique<SerialLink>(); // the main window's
        std::unique_ptr<SerialLink> windowLink = std::make_unique<SerialLink>(); // font, groups
        RecordingHost host;
        FontTransfer *font = nullptr; // while a font transfer runs

        // The windows are closed: what the main window and the font window do.
        void closeWindows() {
            link->requestClose();
            windowLink->requestClose();
            if (font) font->abort();
        }
    };

    static bool singleGlyph(FontTransfer &transfer, bool write) {
        QSignalSpy finished(&transfer, &FontTransfer::finished);
        if (!(write ? transfer.writeGlyph(kGlyph) : transfer.readGlyph(kGlyph))) return false;
        // Until it ends, or was ended by closing the window.
        (void)QTest::qWaitFor([&] { return !finished.isEmpty() || !transfer.busy(); }, 20000);
        return !finished.isEmpty() && finished.first().first().toBool();
    }

    // Indexed by Subject.
    static bool run(Subject s, Run &r) {
        RadioDocument &d = *r.doc;
        SerialLink &link = *r.link, &window = *r.windowLink;
        RecordingHost &host = r.host;
        const auto rows = RowRange::selection(kSelectionBottom, kSelectionTop); // bottom up
        const auto channels = [&](Direction way) {
            return succeeded(transferChannels(d.channels, way, rows, link, host));
        };
        const auto font = [&](bool write, bool single) {
            FontTransfer t(d.font, window, host);
            r.font = &t;
            const bool ok = single
                                ? singleGlyph(t, write)
                                : (write ? t.writeAll() : t.readAll()) == TransferResult::Success;
            r.font = nullptr;
            return ok;
        };
        // The whole radio's font and group steps run on links of their own
        // with the windows' timer, as the command line runs them.
        const std::function<bool()> steps[] = {
            [&] { return channels(Direction::Read); },
            [&] { return channels(Direction::Write); },
            [&] { return succeeded(readBanks(d.banks, link, host)); },
            [&] { return succeeded(writeBanks(d.banks, link, host)); },
            [&] { return succeeded(readGroups(d.groups, window, host, GroupReadEnding::Ok)); },
            [&] { return succeeded(writeGroups(d.groups, window, host)); },
            [&] { return succeeded(readOneTouch(d.oneTouch, d.banks, link, host)); },
            [&] { return succeeded(writeOneTouch(d.oneTouch, link, host)); },
            [&] { return succeeded(readTitle(d.title, link, host)); },
            [&] { return succeeded(writeTitle(d.title, link, host)); },
            [&] { return succeeded(readSettings(d.settings, d.dtmf, link, host)); },
            [&] { return succeeded(writeSettings(d.settings, d.dtmf, link, host)); },
            [&] { return succeeded(readDtmf(d.dtmf, link, host)); },
            [&] { return succeeded(writeDtmf(d.dtmf, link, host)); },
            [&] { return font(false, true); },
            [&] { return font(true, true); },
            [&] { return font(false, false); },
            [&] { return font(true, false); },
            [&] { return readAll(d, link, host).ok(); },
            [&] { return writeAll(d, link, host, true).ok(); },
            [&] { return succeeded(readChannels(d.channels, link, host)); }};
        return steps[int(s)]();
    }

    // Fault-free runs get the usual timers, so that a loaded machine does not
    // turn them into fault cases.
    bool prepare(Run &r, const sim::SimOptions &options, bool faults = true) {
        r.radio = std::make_unique<sim::RadioSimulator>(options);
        r.radio->setImage(m_imageA);
        if (!r.radio->start()) return false;
        fillDocument(*r.doc, false);
        for (SerialLink *link : {r.link.get(), r.windowLink.get()})
            link->portSettings().devicePath = r.radio->portPath();
        r.link->setReplyTimeout(faults ? kMainTimeoutMs : 1000);
        r.windowLink->setReplyTimeout(kWindowTimeoutMs);
        return true;
    }

    static RunResult execute(Subject s, Run &r) {
        RunResult o;
        o.ok = run(s, r);
        o.editor = editorRegions(*r.doc);
        o.image = r.radio->image();
        o.radio = radioRegions(o.image);
        o.messages = r.host.texts();
        o.host = r.host;
        o.frames = r.radio->frameCount();
        o.busy = r.link->busy() || r.windowLink->busy();
        return o;
    }

    const RunResult &expected(Subject s) {
        auto it = m_expected.find(int(s));
        if (it != m_expected.end()) return *it;
        RunResult want;
        if (s != Subject::ReadChannels && !isWhole(s)) {
            sim::SimOptions options;
            options.linkPath = nextLinkPath();
            Run r;
            if (!prepare(r, options, false)) qFatal("the simulated radio did not start");
            return *m_expected.insert(int(s), execute(s, r));
        }
        // Composed rather than run (a whole table takes long on a loaded
        // machine): every row decoded from the radio's record, or as the
        // channel write encodes it, and for the whole radio each other region
        // as its own transfer leaves it (for a write, the pass table with it).
        want.ok = true;
        want.editor = m_editorB;
        want.image = m_imageA;
        want.messages = QStringList{QStringLiteral("Success| Finish")};
        want.frames = 1624; // not used for the whole radio: it vanishes at a fixed frame
        RadioDocument doc;
        fillDocument(doc, false);
        for (int row = 1; row <= 1623; ++row) {
            if (s == Subject::WriteAll)
                want.image.replace(recordAt(row), 64,
                                   encodeChannel(doc.channels, row).toByteArray());
            else
                decodeChannel(m_imageA.mid(recordAt(row), 64), doc.channels, row);
        }
        if (s != Subject::WriteAll) want.editor[0] = editorRegions(doc)[0];
        if (s == Subject::ReadAll) {
            const Subject steps[] = {Subject::ReadBanks,    Subject::ReadGroups,
                                     Subject::ReadOneTouch, Subject::ReadTitle,
                                     Subject::ReadSettings, Subject::ReadGlyphs};
            for (int region = 1; region <= 6; ++region)
                want.editor[region] = expected(steps[region - 1]).editor[region];
            want.messages = QStringList{QStringLiteral("Success ALL DATA READ| Finish")};
        }
        const struct {
            RegionId region;
            Subject write;
        } parts[] = {{RegionId::PassTable, Subject::WriteSelected},
                     {RegionId::Banks, Subject::WriteBanks},
                     {RegionId::OneTouch, Subject::WriteOneTouch},
                     {RegionId::Title, Subject::WriteTitle},
                     {RegionId::SetMode, Subject::WriteSettings},
                     {RegionId::Dtmf, Subject::WriteSettings},
                     {RegionId::ScanGroups, Subject::WriteGroups},
                     {RegionId::UserCharacters, Subject::WriteGlyphs}};
        for (const auto &part : parts) {
            if (s != Subject::WriteAll) break;
            const MemoryRegion &region = memorymap::region(part.region);
            const int at = int(region.first), size = int(region.last - region.first + 1);
            want.image.replace(at, size, expected(part.write).image.mid(at, size));
        }
        want.radio = radioRegions(want.image);
        return *m_expected.insert(int(s), want);
    }

    // Success with exactly the right data, or an error with everything consistent.
    void checkOutcome(Subject s, const RunResult &got, const RunResult &want, const char *what) {
        const auto none = [&](const char *problem, const QString &found) {
            QVERIFY2(found.isEmpty(), qPrintable(QString::fromLatin1(what) + QLatin1String(": ") +
                                                 QLatin1String(problem) + found));
        };
        QVERIFY2(!got.busy, what);
        if (got.ok) {
            none("success, but the editor: ", firstDifference(got.editor, want.editor));
            none("success, but the radio: ", firstDifference(got.radio, want.radio));
            QCOMPARE(got.messages, want.messages);
            return;
        }
        // A write leaves the editor alone.
        if (isWrite(s))
            none("a write changed the editor: ", firstDifference(got.editor, m_editorB));
        none("editor: ", inconsistency(got.editor, m_editorB, want.editor));
        none("radio: ", inconsistency(got.radio, radioRegions(m_imageA), want.radio));
    }

    // How a transfer that did not succeed tells the user: every message
    // titled " Error", the progress back at 0, and for the faults whose
    // ending is certain its text and the frames sent.
    void checkEnding(Subject s, Fault fault, const RunResult &got) {
        const QString all = got.messages.join(QLatin1String("; "));
        QVERIFY2(!got.messages.isEmpty(), "failed without a message");
        for (const QString &m : got.messages)
            QVERIFY2(m.endsWith(QLatin1String("| Error")), qPrintable(all));
        if (isSingleGlyph(s) || s == Subject::ReadGlyphs || s == Subject::WriteGlyphs)
            QCOMPARE(got.host.progressValues.value(got.host.progressValues.size() - 1, -1), 0);
        if (!isSingleGlyph(s))
            QCOMPARE(got.host.percents.value(got.host.percents.size() - 1, -1), 0);
        // Three identifications for each step of the whole radio; the
        // single character resends on every expiry until "Com Error".
        const int steps = s == Subject::ReadAll ? 7 : s == Subject::WriteAll ? 6 : 1;
        const QStringList error{QStringLiteral("Error| Error")};
        if (fault == Fault::NoPort || fault == Fault::Vanish) {
            QCOMPARE(got.messages, QStringList{QStringLiteral("Port Error| Error")});
            QVERIFY2(!got.host.messages[0].detail.isEmpty(), "a port error without its reason");
        }
        if (fault == Fault::NoPort) {
            QCOMPARE(got.frames, 0);
            QVERIFY(got.host.messages[0].detail.contains(QLatin1String("no such device")));
        }
        if (fault == Fault::Silent && isSingleGlyph(s)) {
            QCOMPARE(got.messages, QStringList{QStringLiteral("Com Error| Error")});
            QCOMPARE(got.frames, 21); // the first frame and 20 resends
        } else if (fault == Fault::Silent) {
            QCOMPARE(got.messages, QStringList(steps, error.first()));
            QCOMPARE(got.frames, 3 * steps);
        }
        if (fault == Fault::Corrupt && isSingleGlyph(s))
            QCOMPARE(got.messages,
                     QStringList{FontTransfer::fontDataError(s == Subject::WriteGlyph ? 12 : 14) +
                                 QStringLiteral("| Error")});
        const bool certain =
            fault != Fault::NoPort && fault != Fault::Vanish && fault != Fault::Silent;
        if (certain && !isSingleGlyph(s) && !isWhole(s)) QCOMPARE(got.messages, error);
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        RadioDocument a;
        fillDocument(a, true);
        m_imageA = imageOf(a);
        RadioDocument b;
        fillDocument(b, false);
        m_editorB = editorRegions(b);
        // The two documents differ in every part, so every block that moves shows.
        const Regions editorA = editorRegions(a);
        for (int r = 0; r < editorA.size(); ++r)
            for (int i = 0; i < editorA[r].size(); ++i)
                QVERIFY2(editorA[r][i] != m_editorB[r][i],
                         qPrintable(QStringLiteral("region %1 part %2").arg(r).arg(i)));
    }

    void matrix_data() {
        QTest::addColumn<Subject>("subject");
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<bool>("mustSucceed");

        const auto row = [](Subject s, Fault f, bool mustSucceed) {
            QTest::addRow("%s %s, %s", kSubjectNames[int(s) / 2], isWrite(s) ? "write" : "read",
                          kFaultNames[int(f)].constData())
                << s << f << mustSucceed;
        };
        for (int s = 0; s <= int(Subject::WriteAll); ++s)
            for (Fault f : {Fault::Drop, Fault::Short, Fault::Corrupt, Fault::Late, Fault::Silent,
                            Fault::Vanish, Fault::NoPort, Fault::Close})
                // Every block has its own attempts, except in the whole
                // radio (a limit over the run); a single character does
                // not repeat a spoilt acknowledgement.
                row(Subject(s), f,
                    f >= Fault::Drop && f <= Fault::Corrupt && !isWhole(Subject(s)) &&
                        !(isSingleGlyph(Subject(s)) && f == Fault::Corrupt));
        // A late reply at wire speed: the retry's own reply follows it, after
        // the late one has been taken, and must not be taken for the next block.
        row(Subject::ReadSelected, Fault::LatePaced, false);
        row(Subject::ReadGlyphs, Fault::LatePaced, false);
        // The whole channel table once, with replies dropped now and then.
        row(Subject::ReadChannels, Fault::Drop, true);
    }

    void matrix() {
        QFETCH(Subject, subject);
        QFETCH(Fault, fault);
        QFETCH(bool, mustSucceed);

        const RunResult &want = expected(subject);
        QVERIFY(want.ok);

        const int timeout = onWindowLink(subject) ? kWindowTimeoutMs : kMainTimeoutMs;
        // The whole radio loses its port (or is closed) early in the
        // channels: every later step meets a vanished port.
        const int frames = isWhole(subject) ? 80 : want.frames;
        sim::SimOptions options = faultOptions(fault, nextLinkPath(), timeout * 3 / 2, frames);
        if (subject == Subject::ReadChannels)
            options.dropEvery = 250; // a few drops over 1624 exchanges

        Run r;
        QVERIFY(prepare(r, options, fault != Fault::Close));
        if (fault == Fault::NoPort)
            for (SerialLink *link : {r.link.get(), r.windowLink.get()})
                link->portSettings().devicePath = missingPort();
        // Closed while the reply to the frame halfway through is awaited.
        const int closeAt = frames <= 4 ? 1 : frames / 2;
        QTimer closer;
        if (fault == Fault::Close) {
            QObject::connect(&closer, &QTimer::timeout, &closer, [&] {
                if (r.radio->frameCount() < closeAt) return;
                closer.stop();
                r.closeWindows();
            });
            closer.start(2);
        }
        QElapsedTimer clock;
        clock.start();
        const RunResult got = execute(subject, r);
        QVERIFY2(clock.elapsed() < 60000, "the transfer did not end in time");
        if (mustSucceed) QVERIFY2(got.ok, qPrintable(got.messages.join(QLatin1String("; "))));
        checkOutcome(subject, got, want, "with the fault");
        if (QTest::currentTestFailed()) return;
        if (fault == Fault::Close) {
            QVERIFY(!got.ok);
            QCOMPARE(got.messages, QStringList());
            // The single character's window closes itself; the others are closed by the transfer.
            QVERIFY(isSingleGlyph(subject) || got.host.closed > 0);
            QVERIFY2(got.frames <= closeAt + 1, qPrintable(QString::number(got.frames)));
            // The single character runs on from the event loop: it sends nothing more.
            if (isSingleGlyph(subject)) QTest::qWait(kWindowTimeoutMs + 50);
            QCOMPARE(r.radio->frameCount(), got.frames);
            QVERIFY(!r.link->isOpen() && !r.windowLink->isOpen());
            return;
        }
        // Every transfer that started gave the window its controls back.
        QVERIFY(got.host.finished >= qMax(1, got.host.started));
        if (!got.ok) checkEnding(subject, fault, got);
        if (QTest::currentTestFailed() || fault != Fault::Vanish) return;

        // The port is back: the same links work again.
        QString error;
        QVERIFY2(r.radio->reconnect(&error), qPrintable(error));
        sim::SimOptions clean;
        clean.linkPath = options.linkPath;
        r.radio->setOptions(clean);
        // The whole radio: both of its links, with a transfer of each (the
        // whole radio again would only repeat the table).
        const QList<Subject> again =
            isWhole(subject)
                ? QList<Subject>{isWrite(subject) ? Subject::WriteBanks : Subject::ReadBanks,
                                 isWrite(subject) ? Subject::WriteGroups : Subject::ReadGroups}
                : QList<Subject>{subject};
        for (Subject part : again) {
            r.host.messages.clear();
            const RunResult next = execute(part, r);
            QVERIFY2(next.ok, qPrintable(next.messages.join(QLatin1String("; "))));
            QCOMPARE(next.messages, expected(part).messages);
            // As without a fault (the editor is still B for a write).
            if (part == subject) checkOutcome(subject, next, want, "after the port came back");
        }
    }
};

QTEST_GUILESS_MAIN(FaultMatrixTest)
#include "tst_faultmatrix.moc"
