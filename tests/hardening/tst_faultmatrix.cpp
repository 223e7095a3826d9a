// Every transfer against every fault of the simulated radio. Whatever the
// fault, a transfer ends either with its success and exactly the right data
// (in the editor for a read, in the radio for a write), or with an error
// message and the editor consistent: the blocks read so far decoded, the rest
// as they were. A port that vanished mid-transfer is used again once it is
// back.
//
// The expected outcome of each transfer is its run on a radio without
// faults (for the whole table and the whole radio, composed from the rows
// and the other transfers' runs); the radio holds one document ("A") and the
// editor starts with another ("B"), so every block that moved shows.

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
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <algorithm>

#include <memory>

using namespace kpr5;
using namespace kpr5::test;

namespace {

constexpr int kMainTimeoutMs = 60;    // the main window's link, shortened
constexpr int kWindowTimeoutMs = 200; // the font and group windows' links
constexpr int kGlyph = 5;             // the glyph of the single-character transfers
constexpr int kSelectionTop = 1395;   // a selection that reaches into the pass channels
constexpr int kSelectionBottom = 1410;

// --- the two documents -------------------------------------------------------

void put32(QByteArray &b, int at, quint32 v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// Every row in use, so a read decodes every row completely.
QByteArray channelBytes(QRandomGenerator &rng, int row) {
    QByteArray b(64, '\0');
    b[0] = 1;
    put32(b, 1, 144000000 + 12500 * quint32(row) + 10000 * rng.bounded(50));
    b[5] = 1;
    b[6] = char(rng.bounded(8));
    put32(b, 7, 600000);
    b[11] = char(rng.bounded(3));
    b[12] = char(rng.bounded(4));
    b[13] = char(rng.bounded(39));
    b[14] = char(rng.bounded(39));
    b[15] = char(rng.bounded(104));
    b[16] = char(rng.bounded(29));
    b[18] = 0x3E;
    b[19] = char(rng.bounded(2));
    b[20] = 0x0A;
    const int letters = 1 + rng.bounded(8);
    for (int i = 0; i < letters; ++i)
        b[32 + 2 * i] = char('A' + rng.bounded(26));
    return b;
}

// Document A (what the radio holds) or B (what the editor starts with). In
// both every bank holds channels, so the one-touch keys and the groups decode
// the same whichever bank table is current.
void fillDocument(RadioDocument &doc, bool a) {
    QRandomGenerator rng(a ? 0xA11 : 0xB22);
    doc.channels.beginBatch();
    for (int row = 1; row <= 1623; ++row)
        decodeChannel(channelBytes(rng, row), doc.channels, row);
    doc.channels.endBatch();

    BankTable::Counts counts;
    counts.fill(a ? 20 : 19);
    if (!a) counts[0] = 69;
    doc.banks.setCounts(counts);
    doc.banks.markLoaded();

    for (int g = 0; g < 11; ++g)
        for (int bank = 0; bank < 50; ++bank)
            doc.groups.setLinked(g, bank, rng.bounded(3) == 0);

    doc.oneTouch.rebuildLists(doc.banks);
    for (int k = 0; k < 9; ++k) {
        const bool unassigned = rng.bounded(4) == 0;
        doc.oneTouch.setUnassigned(k, unassigned);
        doc.oneTouch.selectBank(k, rng.bounded(50));
        doc.oneTouch.selectChannel(k, rng.bounded(19));
    }

    doc.title.setDisplayText(a ? QStringLiteral("RADIO A") : QStringLiteral("EDITOR B"));
    doc.title.setOpeningMoving(a ? 1 : 0);

    for (int f = 0; f < kFamilyCount; ++f) {
        const auto family = Family(f);
        for (int e = 0; e < settings::familySize(family); ++e) {
            const int options = SettingsModel::optionCount(family, e);
            if (options > 0) doc.settings.setPosition(family, e, rng.bounded(options));
        }
    }
    doc.settings.setPosition(Family::Mem, 0, a ? 1 : 2);
    for (int i = 0; i < 10; ++i) {
        QString digits;
        const int n = rng.bounded(9);
        for (int j = 0; j < n; ++j)
            digits += QLatin1Char("0123456789*#"[rng.bounded(12)]);
        doc.dtmf.setMemory(i, digits);
    }
    for (int t = 0; t < DtmfMemories::kTimingCount; ++t) {
        const auto timing = DtmfMemories::Timing(t);
        doc.dtmf.setTiming(timing, rng.bounded(DtmfMemories::timingOptions(timing).size()));
    }

    for (int k = 0; k < FontImage::kGlyphCount; ++k) {
        FontImage::Glyph glyph{};
        for (auto &pixel : glyph)
            pixel = quint8(rng.bounded(2));
        doc.font.setGlyph(k, glyph);
    }
}

// The radio's image of document A, built with the program's encoders.
QByteArray imageOf(const RadioDocument &doc) {
    sim::RadioSimulator radio; // used as a memory only
    for (int row = 1; row <= 1623; ++row)
        radio.write(*memorymap::recordAddress(*memorymap::rowToRecord(row)),
                    encodeChannel(doc.channels, row).toByteArray());
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
        p << image.mid(int(*memorymap::recordAddress(*memorymap::rowToRecord(row))), 64);
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
            if (!isBefore && !isAfter)
                return QStringLiteral("region %1 part %2 is neither as before nor as after")
                    .arg(r)
                    .arg(i);
            if (isAfter && !isBefore && stopped)
                return QStringLiteral("region %1 part %2 moved after an earlier part that did not")
                    .arg(r)
                    .arg(i);
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

struct Env {
    RadioDocument &doc;
    SerialLink &link;       // the main window's
    SerialLink &windowLink; // the font or group window's
    RecordingHost &host;
};

enum class Subject {
    ReadChannels,
    ReadSelected,
    WriteSelected,
    ReadBanks,
    WriteBanks,
    ReadGroups,
    WriteGroups,
    ReadOneTouch,
    WriteOneTouch,
    ReadTitle,
    WriteTitle,
    ReadSettings,
    WriteSettings,
    ReadGlyph,
    WriteGlyph,
    ReadGlyphs,
    WriteGlyphs,
    ReadAll,
    WriteAll,
};

bool isWrite(Subject s) {
    switch (s) {
    case Subject::WriteSelected:
    case Subject::WriteBanks:
    case Subject::WriteGroups:
    case Subject::WriteOneTouch:
    case Subject::WriteTitle:
    case Subject::WriteSettings:
    case Subject::WriteGlyph:
    case Subject::WriteGlyphs:
    case Subject::WriteAll:
        return true;
    default:
        return false;
    }
}

bool singleGlyph(FontTransfer &transfer, bool write) {
    QSignalSpy finished(&transfer, &FontTransfer::finished);
    if (!(write ? transfer.writeGlyph(kGlyph) : transfer.readGlyph(kGlyph))) return false;
    if (!finished.wait(20000)) return false;
    return finished.first().first().toBool();
}

bool run(Subject s, Env &e) {
    RadioDocument &d = e.doc;
    switch (s) {
    case Subject::ReadChannels:
        return succeeded(readChannels(d.channels, e.link, e.host));
    case Subject::ReadSelected:
        // Made from the bottom up.
        return succeeded(transferChannels(d.channels, Direction::Read,
                                          RowRange::selection(kSelectionBottom, kSelectionTop),
                                          e.link, e.host));
    case Subject::WriteSelected:
        return succeeded(transferChannels(d.channels, Direction::Write,
                                          RowRange::selection(kSelectionBottom, kSelectionTop),
                                          e.link, e.host));
    case Subject::ReadBanks:
        return succeeded(readBanks(d.banks, e.link, e.host));
    case Subject::WriteBanks:
        return succeeded(writeBanks(d.banks, e.link, e.host));
    case Subject::ReadGroups:
        return succeeded(readGroups(d.groups, e.windowLink, e.host, GroupReadEnding::Ok));
    case Subject::WriteGroups:
        return succeeded(writeGroups(d.groups, e.windowLink, e.host));
    case Subject::ReadOneTouch:
        return succeeded(readOneTouch(d.oneTouch, d.banks, e.link, e.host));
    case Subject::WriteOneTouch:
        return succeeded(writeOneTouch(d.oneTouch, e.link, e.host));
    case Subject::ReadTitle:
        return succeeded(readTitle(d.title, e.link, e.host));
    case Subject::WriteTitle:
        return succeeded(writeTitle(d.title, e.link, e.host));
    case Subject::ReadSettings:
        return succeeded(readSettings(d.settings, d.dtmf, e.link, e.host));
    case Subject::WriteSettings:
        return succeeded(writeSettings(d.settings, d.dtmf, e.link, e.host));
    case Subject::ReadGlyph:
    case Subject::WriteGlyph: {
        FontTransfer transfer(d.font, e.windowLink, e.host);
        return singleGlyph(transfer, s == Subject::WriteGlyph);
    }
    case Subject::ReadGlyphs:
    case Subject::WriteGlyphs: {
        FontTransfer transfer(d.font, e.windowLink, e.host);
        return (s == Subject::WriteGlyphs ? transfer.writeAll() : transfer.readAll()) ==
               TransferResult::Success;
    }
    case Subject::ReadAll:
        // The font and group steps run on links of their own with the
        // windows' timer, as the command line runs them.
        return readAll(d, e.link, e.host).ok();
    case Subject::WriteAll:
        return writeAll(d, e.link, e.host, true).ok();
    }
    return false;
}

// --- faults --------------------------------------------------------------------

enum class Fault { None, Drop, Short, Corrupt, Late, LatePaced, Silent, Vanish };

// Every third frame spoilt (every second in transfers of a few frames, so that
// the fault hits them): no block fails three times in a row, so transfers
// with per-block attempts must get through; transfers that count failures
// over the whole run (the pass table, the whole radio) may hit their limits.
sim::SimOptions faultOptions(Fault fault, const QString &linkPath, int lateMs, int frames) {
    const int kPeriod = frames <= 4 ? 2 : 3;
    const int vanishAfter = qMax(2, frames / 2);
    sim::SimOptions o;
    o.linkPath = linkPath;
    switch (fault) {
    case Fault::None:
        break;
    case Fault::Drop:
        o.dropEvery = kPeriod;
        break;
    case Fault::Short:
        o.shortEvery = kPeriod;
        break;
    case Fault::Corrupt:
        o.corruptEvery = kPeriod;
        break;
    case Fault::Late:
        o.lateEvery = kPeriod;
        o.lateMs = lateMs;
        break;
    case Fault::LatePaced:
        o.lateEvery = kPeriod;
        o.lateMs = lateMs;
        o.baud = 57600;
        break;
    case Fault::Silent:
        o.silent = true;
        break;
    case Fault::Vanish:
        o.hangupAfter = vanishAfter;
        break;
    }
    return o;
}

struct RunResult {
    bool ok = false;
    Regions editor;
    Regions radio;
    QByteArray image;
    QStringList messages;
    int frames = 0;
};

bool isErrorTitle(const QString &text) {
    return text.section(QLatin1Char('|'), 1).trimmed() == QLatin1String("Error");
}

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

    QString nextLinkPath() { return m_dir.filePath(QStringLiteral("radio-%1").arg(++m_radios)); }

    // One run of a transfer: a fresh radio holding A, an editor holding B.
    struct Run {
        std::unique_ptr<sim::RadioSimulator> radio;
        std::unique_ptr<RadioDocument> doc = std::make_unique<RadioDocument>();
        std::unique_ptr<SerialLink> link = std::make_unique<SerialLink>();
        std::unique_ptr<SerialLink> windowLink = std::make_unique<SerialLink>();
        RecordingHost host;
    };

    // Fault-free runs get the usual timers, so that a loaded machine does not
    // turn them into fault cases.
    bool prepare(Run &r, const sim::SimOptions &options, bool faults = true) {
        r.radio = std::make_unique<sim::RadioSimulator>(options);
        r.radio->setImage(m_imageA);
        QString error;
        if (!r.radio->start(&error)) {
            qWarning() << error;
            return false;
        }
        fillDocument(*r.doc, false);
        r.link->portSettings().devicePath = r.radio->portPath();
        r.link->setReplyTimeout(faults ? kMainTimeoutMs : 1000);
        r.windowLink->portSettings().devicePath = r.radio->portPath();
        r.windowLink->setReplyTimeout(kWindowTimeoutMs);
        return true;
    }

    static RunResult execute(Subject s, Run &r) {
        Env env{*r.doc, *r.link, *r.windowLink, r.host};
        RunResult o;
        o.ok = run(s, env);
        o.editor = editorRegions(*r.doc);
        o.image = r.radio->image();
        o.radio = radioRegions(o.image);
        o.messages = r.host.texts();
        o.frames = r.radio->frameCount();
        return o;
    }

    const RunResult &expected(Subject s) {
        auto it = m_expected.find(int(s));
        if (it == m_expected.end() && (s == Subject::ReadChannels || s == Subject::ReadAll)) {
            // Composed rather than run (a whole table takes long on a loaded
            // machine): every row decoded from the radio's record, and for the
            // whole radio each other region as its own read leaves it.
            RunResult read;
            read.ok = true;
            read.editor = m_editorB;
            RadioDocument doc;
            fillDocument(doc, false);
            for (int row = 1; row <= 1623; ++row)
                decodeChannel(
                    m_imageA.mid(int(*memorymap::recordAddress(*memorymap::rowToRecord(row))), 64),
                    doc.channels, row);
            read.editor[0] = editorRegions(doc)[0];
            read.radio = radioRegions(m_imageA);
            read.messages = QStringList{QStringLiteral("Success| Finish")};
            read.frames = 1624;
            if (s == Subject::ReadAll) {
                const Subject steps[] = {Subject::ReadBanks,    Subject::ReadGroups,
                                         Subject::ReadOneTouch, Subject::ReadTitle,
                                         Subject::ReadSettings, Subject::ReadGlyphs};
                for (int region = 1; region <= 6; ++region)
                    read.editor[region] = expected(steps[region - 1]).editor[region];
                read.messages = QStringList{QStringLiteral("Success ALL DATA READ| Finish")};
                read.frames = 0; // not used: the whole radio vanishes at a fixed frame
            }
            it = m_expected.insert(int(s), read);
        }
        if (it == m_expected.end() && s == Subject::WriteAll) {
            // Every row as the channel write encodes it, and each other region
            // (the pass table with it) as its own write leaves the radio.
            RadioDocument doc;
            fillDocument(doc, false);
            QByteArray image = m_imageA;
            for (int row = 1; row <= 1623; ++row)
                image.replace(int(*memorymap::recordAddress(*memorymap::rowToRecord(row))), 64,
                              encodeChannel(doc.channels, row).toByteArray());
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
                const MemoryRegion &region = memorymap::region(part.region);
                const int at = int(region.first), size = int(region.last - region.first + 1);
                image.replace(at, size, expected(part.write).image.mid(at, size));
            }
            RunResult write;
            write.ok = true;
            write.editor = m_editorB;
            write.image = image;
            write.radio = radioRegions(image);
            write.messages = QStringList{QStringLiteral("Success| Finish")};
            it = m_expected.insert(int(s), write);
        }
        if (it == m_expected.end()) {
            sim::SimOptions options;
            options.linkPath = nextLinkPath();
            Run r;
            if (!prepare(r, options, false)) qFatal("the simulated radio did not start");
            it = m_expected.insert(int(s), execute(s, r));
        }
        return *it;
    }

    // Success with exactly the right data, or an error with everything consistent.
    void checkOutcome(Subject s, const RunResult &got, const RunResult &want, const char *what) {
        const QByteArray where = QByteArray(what) + ": ";
        if (got.ok) {
            QVERIFY2(firstDifference(got.editor, want.editor).isEmpty(),
                     (where + "success but the editor " +
                      firstDifference(got.editor, want.editor).toUtf8())
                         .constData());
            QVERIFY2(
                firstDifference(got.radio, want.radio).isEmpty(),
                (where + "success but the radio " + firstDifference(got.radio, want.radio).toUtf8())
                    .constData());
            QCOMPARE(got.messages, want.messages);
            return;
        }
        QVERIFY2(std::any_of(got.messages.begin(), got.messages.end(), isErrorTitle),
                 (where + "failed without an error message: " +
                  got.messages.join(QLatin1String("; ")).toUtf8())
                     .constData());
        if (isWrite(s)) {
            // A write leaves the editor alone.
            QVERIFY2(firstDifference(got.editor, m_editorB).isEmpty(),
                     (where + "a write changed the editor: " +
                      firstDifference(got.editor, m_editorB).toUtf8())
                         .constData());
        }
        const QString editor = inconsistency(got.editor, m_editorB, want.editor);
        QVERIFY2(editor.isEmpty(), (where + "editor: " + editor.toUtf8()).constData());
        const QString radio = inconsistency(got.radio, radioRegions(m_imageA), want.radio);
        QVERIFY2(radio.isEmpty(), (where + "radio: " + radio.toUtf8()).constData());
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

        const struct {
            const char *name;
            Subject subject;
            bool perBlockAttempts; // every block has its own attempts (no limit over the run)
        } subjects[] = {
            {"selected rows read", Subject::ReadSelected, true},
            {"selected rows write", Subject::WriteSelected, true},
            {"banks read", Subject::ReadBanks, true},
            {"banks write", Subject::WriteBanks, true},
            {"groups read", Subject::ReadGroups, true},
            {"groups write", Subject::WriteGroups, true},
            {"one-touch read", Subject::ReadOneTouch, true},
            {"one-touch write", Subject::WriteOneTouch, true},
            {"title read", Subject::ReadTitle, true},
            {"title write", Subject::WriteTitle, true},
            {"settings read", Subject::ReadSettings, true},
            {"settings write", Subject::WriteSettings, true},
            {"glyph read", Subject::ReadGlyph, true},
            {"glyph write", Subject::WriteGlyph, true},
            {"all glyphs read", Subject::ReadGlyphs, true},
            {"all glyphs write", Subject::WriteGlyphs, true},
            {"whole radio read", Subject::ReadAll, false},
            {"whole radio write", Subject::WriteAll, false},
        };
        const struct {
            const char *name;
            Fault fault;
            bool recoverable;
        } faults[] = {
            {"dropped reply", Fault::Drop, true},
            {"short reply", Fault::Short, true},
            {"corrupted fixed byte", Fault::Corrupt, true},
            {"late reply", Fault::Late, false},
            {"silent radio", Fault::Silent, false},
            {"port vanishing", Fault::Vanish, false},
        };
        for (const auto &s : subjects)
            for (const auto &f : faults)
                QTest::addRow("%s, %s", s.name, f.name)
                    << s.subject << f.fault
                    << (s.perBlockAttempts &&
                        f.recoverable
                        // A single character does not repeat a spoilt acknowledgement.
                        &&
                        !((s.subject == Subject::ReadGlyph || s.subject == Subject::WriteGlyph) &&
                          f.fault == Fault::Corrupt));
        // A late reply at wire speed: the retry's own reply follows it, after
        // the late one has been taken, and must not be taken for the next block.
        QTest::addRow("selected rows read, late reply at wire speed")
            << Subject::ReadSelected << Fault::LatePaced << false;
        QTest::addRow("all glyphs read, late reply at wire speed")
            << Subject::ReadGlyphs << Fault::LatePaced << false;
        // The whole channel table once, with replies dropped now and then.
        QTest::addRow("all channels read, dropped reply")
            << Subject::ReadChannels << Fault::Drop << true;
    }

    void matrix() {
        QFETCH(Subject, subject);
        QFETCH(Fault, fault);
        QFETCH(bool, mustSucceed);

        const RunResult &want = expected(subject);
        QVERIFY(want.ok);

        const bool windowLinkOnly =
            subject == Subject::ReadGroups || subject == Subject::WriteGroups ||
            subject == Subject::ReadGlyph || subject == Subject::WriteGlyph ||
            subject == Subject::ReadGlyphs || subject == Subject::WriteGlyphs;
        const int timeout = windowLinkOnly ? kWindowTimeoutMs : kMainTimeoutMs;
        // The whole radio loses its port early in the channels: every later
        // step meets a vanished port.
        const bool whole = subject == Subject::ReadAll || subject == Subject::WriteAll;
        sim::SimOptions options =
            faultOptions(fault, nextLinkPath(), timeout * 3 / 2, whole ? 80 : want.frames);
        if (subject == Subject::ReadChannels)
            options.dropEvery = 250; // a few drops over 1624 exchanges

        Run r;
        QVERIFY(prepare(r, options));
        QElapsedTimer clock;
        clock.start();
        const RunResult got = execute(subject, r);
        QVERIFY2(clock.elapsed() < 60000, "the transfer did not end in time");
        if (mustSucceed) QVERIFY2(got.ok, qPrintable(got.messages.join(QLatin1String("; "))));
        checkOutcome(subject, got, want, "with the fault");
        if (QTest::currentTestFailed()) return;

        if (fault == Fault::Vanish) {
            // The port is back: the same links work again.
            QString error;
            QVERIFY2(r.radio->reconnect(&error), qPrintable(error));
            sim::SimOptions clean;
            clean.linkPath = options.linkPath;
            r.radio->setOptions(clean);
            r.host.messages.clear();
            if (whole) {
                // Both links of the whole radio, with a transfer of each (the
                // whole radio again would only repeat the table).
                const bool write = isWrite(subject);
                for (Subject part : {write ? Subject::WriteBanks : Subject::ReadBanks,
                                     write ? Subject::WriteGroups : Subject::ReadGroups}) {
                    r.host.messages.clear();
                    const RunResult again = execute(part, r);
                    QVERIFY2(again.ok, qPrintable(again.messages.join(QLatin1String("; "))));
                    QCOMPARE(again.messages, expected(part).messages);
                }
            } else if (isWrite(subject)) {
                // The editor is still B: the write goes through as without a fault.
                const RunResult again = execute(subject, r);
                QVERIFY2(again.ok, qPrintable(again.messages.join(QLatin1String("; "))));
                checkOutcome(subject, again, want, "after the port came back");
            } else {
                const RunResult again = execute(subject, r);
                QVERIFY2(again.ok, qPrintable(again.messages.join(QLatin1String("; "))));
                QVERIFY2(firstDifference(again.editor, want.editor).isEmpty(),
                         qPrintable(firstDifference(again.editor, want.editor)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(FaultMatrixTest)
#include "tst_faultmatrix.moc"
