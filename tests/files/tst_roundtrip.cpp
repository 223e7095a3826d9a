// Radio -> file -> radio is exact.
//
// Random radio images that stay within what the radio can hold, with the
// edge values mixed in (a bank of 1000, names filling all 16 slots with user
// characters and double-byte characters, codes outside the code page and the
// allowed set, index bytes outside their tables, the settings the Set Mode
// lines do not hold, long titles). Each image is read with `kpr5 read` into a
// data file and a font file, and both are written with `kpr5 write` to a
// second simulated radio holding other contents: every byte the whole-radio
// write sends must come back as the first radio held it. The same once more
// through `kpr5 export-csv` and `kpr5 import-csv`, for the channels whose
// fields CSV carries.
//
// KPR5_PROPERTY_SEED=n replays a failure (the seed is printed with it);
// KPR5_PROPERTY_IMAGES=n runs n images instead of the few CI runs.
//
// Beside it: data files written before the extension lines existed, and
// files in the original program's layout, still open as they did.

#include "RadioSimulator.h"
#include "cli/CommandLine.h"
#include "core/banks/BankTable.h"
#include "core/banks/GroupTable.h"
#include "core/common/DtmfMemories.h"
#include "core/common/OneTouchTable.h"
#include "core/document/RadioDocument.h"
#include "core/files/DataFile.h"
#include "core/link/MemoryMap.h"
#include "core/settings/SettingsCodec.h"
#include "core/settings/SettingsModel.h"
#include "core/text/Cp932.h"
#include "core/text/NameCodec.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace kpr5;

namespace {

constexpr int kRecordBytes = memorymap::kRecordBytes;

// --- random images -------------------------------------------------------------

struct Name {
    QByteArray field = QByteArray(names::kFieldBytes, '\0');
    bool csv = true; // CSV carries it: only characters its import keeps, no literal token
};

struct Image {
    QByteArray bytes = QByteArray(sim::kImageSize, '\0');
    std::array<bool, memorymap::kRecordCount + 1> csvRow{}; // by record number
};

class ImageMaker {
public:
    ImageMaker(quint64 seed, int index) : m_rng(seed), m_index(index) {}

    Image make() {
        Image image;
        m_image = &image;
        makeBanks();
        makeChannels();
        makeGroupsAndKeys();
        makeTitle();
        makeSettings();
        put(0x01000, randomBytes(256)); // the eight user characters
        return image;
    }

private:
    int below(int n) { return n <= 0 ? 0 : int(m_rng.bounded(quint32(n))); }
    bool chance(int percent) { return below(100) < percent; }
    QByteArray randomBytes(int n) {
        QByteArray b(n, '\0');
        for (char &c : b)
            c = char(below(256));
        return b;
    }
    void put(quint32 address, const QByteArray &bytes) {
        m_image->bytes.replace(int(address), int(bytes.size()), bytes);
    }

    // Single-byte characters a name may hold as plain text: ASCII without the
    // token's tilde, and half-width katakana.
    quint16 plainSingle() {
        if (chance(30)) return quint16(0xA1 + below(0xDF - 0xA1 + 1));
        quint16 c = quint16(0x20 + below(0x7F - 0x20));
        return c == '~' ? quint16('-') : c;
    }
    quint16 allowedDouble() {
        const auto &table = names::allowedDoubleByteTable();
        quint16 c = 0;
        while (c == 0 || !cp932::toUnicode(c)) // the set's ranges have holes (0x817F)
            c = table[std::size_t(below(int(table.size())))];
        return c;
    }
    quint16 userCharacter() { return quint16(0x8740 + below(8)); }
    // Codes the radio can hold that CSV cannot carry: codes the code page
    // does not define, defined codes outside the allowed set (duplicates of
    // other codes among them), control characters.
    quint16 oddCode() {
        static const quint16 odd[] = {0x8240, 0x817F, 0x837F, 0x0081, 0x00FC, 0x1234, 0xFFFF,
                                      0x889F, 0x8754, 0x8790, 0xFA40, 0xEEEF, 0xF040, 0xE040,
                                      0x000D, 0x000A, 0x0001, 0x001F, 0x007F, 0x0009};
        return odd[below(int(std::size(odd)))];
    }

    Name name() {
        Name n;
        QList<quint16> codes;
        const int kind = below(100);
        if (kind < 12) {
            // empty
        } else if (kind < 35) {
            const int length = 1 + below(names::kSlots);
            for (int i = 0; i < length; ++i)
                codes << (chance(70) ? plainSingle() : allowedDouble());
        } else if (kind < 55) {
            // All 16 slots, most of them user characters ("12 user characters and ABCD").
            const int users = 8 + below(9);
            for (int i = 0; i < names::kSlots; ++i)
                codes << (i < users ? userCharacter()
                                    : (chance(50) ? plainSingle() : allowedDouble()));
            std::shuffle(codes.begin(), codes.end(), m_rng);
        } else if (kind < 65) {
            for (int i = 0; i < names::kSlots; ++i)
                codes << allowedDouble();
        } else {
            n.csv = false;
            const int length = 1 + below(names::kSlots);
            for (int i = 0; i < length; ++i)
                codes << (chance(60) ? plainSingle() : allowedDouble());
            for (int edits = 1 + below(3); edits > 0; --edits) {
                const int at = below(int(codes.size()));
                switch (below(3)) {
                case 0: // a literal ":n~", which the display form would turn into a token
                    codes.insert(at, '~');
                    codes.insert(at, quint16('1' + below(8)));
                    codes.insert(at, ':');
                    break;
                case 1: // an empty slot between two characters
                    if (at > 0) codes.insert(at, 0);
                    break;
                default:
                    codes.insert(at, oddCode());
                }
            }
            while (codes.size() > names::kSlots)
                codes.removeLast();
            while (!codes.isEmpty() && codes.last() == 0)
                codes.removeLast();
        }
        for (int i = 0; i < codes.size(); ++i) {
            n.field[2 * i] = char(codes.at(i) & 0xFF);
            n.field[2 * i + 1] = char(codes.at(i) >> 8);
        }
        return n;
    }

    // 10 Hz units of a frequency the record's 32 bits hold.
    quint32 frequencyUnits() {
        const int kind = below(100);
        if (kind < 70) {
            static const quint32 bands[][2] = {{11800000, 17400000},
                                               {42000000, 47000000},
                                               {124000000, 130000000},
                                               {53100, 3000000},
                                               {3000000, 130000000}};
            const auto &band = bands[below(int(std::size(bands)))];
            return band[0] + quint32(below(int(band[1] - band[0])));
        }
        if (kind < 90) return quint32(m_rng.bounded(429496730u));
        return quint32(below(10000)); // below 100 kHz
    }

    static bool blockedForCsv(quint32 units) {
        return (units >= 82400000 && units < 85000000) || (units >= 86900000 && units < 89500000);
    }

    QByteArray record(int recordNumber, bool inUse, bool *csv) {
        QByteArray r(kRecordBytes, '\0');
        *csv = true;
        if (!inUse) return r;
        const quint32 units = frequencyUnits();
        const quint32 hz = units * 10;
        const quint32 offsetHz = quint32(chance(50) ? below(3) * 600 : below(1000000)) * 1000;
        auto le32 = [&](int at, quint32 v) {
            for (int i = 0; i < 4; ++i)
                r[at + i] = char(v >> (8 * i));
        };
        // An index byte inside its table, or now and then any other byte.
        auto index = [&](int tableSize) {
            if (chance(93)) return below(tableSize);
            *csv = false;
            return tableSize + below(256 - tableSize);
        };
        // A mode byte whose low nibble is outside the table is kept whole.
        auto code = [&](int tableSize) {
            if (chance(95)) return below(tableSize);
            *csv = false;
            return (below(16) << 4) | (tableSize + below(16 - tableSize));
        };
        r[0] = 0x01;
        le32(1, hz);
        r[5] = char(code(4));
        r[6] = char(below(16));
        le32(7, offsetHz);
        r[11] = char(below(3));
        r[12] = char(code(6));
        r[13] = char(index(39));
        r[14] = char(index(39));
        r[15] = char(index(104));
        r[16] = char(index(29));
        r[18] = 0x3E;
        r[19] = char(below(2));
        r[20] = 0x0A;
        const Name n = name();
        r.replace(32, names::kFieldBytes, n.field);
        *csv = *csv && n.csv && !blockedForCsv(units) &&
               recordNumber < ChannelTable::kFirstBugRow; // bug-detector rows are never imported
        return r;
    }

    void makeChannels() {
        memorymap::PassChannels pass{};
        for (int row = 1; row <= memorymap::kRecordCount; ++row) {
            const int number = *memorymap::rowToRecord(row);
            // Call channels and bug-detector presets always hold a channel.
            const bool fixed = ChannelTable::isCallRow(row) || ChannelTable::isBugRow(row);
            const bool inUse = fixed || chance(45);
            bool csv = true;
            const QByteArray r = record(number, inUse, &csv);
            put(*memorymap::recordAddress(number), r);
            m_image->csvRow[std::size_t(number)] = csv;
            if (inUse && row >= memorymap::kFirstPassRow && row <= memorymap::kLastPassRow) {
                quint32 hz = 0;
                for (int i = 0; i < 4; ++i)
                    hz |= quint32(quint8(r[1 + i])) << (8 * i);
                pass[std::size_t(row - memorymap::kFirstPassRow)] = hz / 10;
            }
        }
        put(memorymap::kPassTableAddress,
            memorymap::passTableBytes(memorymap::buildPassTable(pass)));
    }

    void makeBanks() {
        BankTable::Counts counts{};
        if (m_index % 3 == 0 || chance(20)) {
            counts[std::size_t(below(BankTable::kBankCount))] = BankTable::kMemoryChannels;
        } else if (m_index % 3 == 1) {
            counts = BankTable::defaultCounts();
        } else {
            int left = BankTable::kMemoryChannels;
            while (left > 0) {
                const int bank = below(BankTable::kBankCount);
                const int take = std::min(left, 1 + below(300));
                counts[std::size_t(bank)] += take;
                left -= take;
            }
        }
        m_banks.setCounts(counts);
        put(BankTable::kAddress, m_banks.encodeArea());
    }

    // Groups link only banks that hold channels; one-touch keys point at
    // channels that exist.
    void makeGroupsAndKeys() {
        GroupTable groups;
        for (int g = 0; g < GroupTable::kGroupCount; ++g)
            for (int b = 0; b < GroupTable::kBankCount; ++b)
                groups.setLinked(g, b, m_banks.count(b) > 0 && chance(30));
        put(GroupTable::kAddress, groups.encodeArea());

        OneTouchTable keys;
        keys.rebuildLists(m_banks);
        for (int k = 0; k < OneTouchTable::kKeyCount; ++k) {
            if (chance(30)) continue;
            keys.selectBank(k, below(int(keys.bankList().size())));
            keys.selectChannel(
                k, below(std::min(keys.channelCount(k), OneTouchTable::kMaxChannelByte + 1)));
            keys.setUnassigned(k, false);
        }
        put(OneTouchTable::kAddress, keys.encodeArea());

        DtmfMemories dtmf;
        const QString digits = QStringLiteral("0123456789ABCD*#-");
        for (int m = 0; m < DtmfMemories::kMemoryCount; ++m) {
            QString text;
            for (int n = below(DtmfMemories::kMaxDigits + 1); n > 0; --n)
                text += digits.at(below(int(digits.size())));
            dtmf.setMemory(m, text);
        }
        for (int t = 0; t < DtmfMemories::kTimingCount; ++t) {
            const auto timing = DtmfMemories::Timing(t);
            dtmf.setTiming(timing, below(int(DtmfMemories::timingOptions(timing).size())));
        }
        for (int b = 0; b < DtmfMemories::kBlockCount; ++b)
            put(DtmfMemories::blockAddress(b), dtmf.encodeBlock(b));
    }

    void makeTitle() {
        const bool on = chance(80);
        put(0x001A0, name().field + QByteArray(2, on ? char(0x11) : char(0)));
    }

    void makeSettings() {
        SettingsModel model;
        for (int f = 0; f < kFamilyCount; ++f) {
            const auto family = Family(f);
            for (int e = 0; e < settings::familySize(family); ++e)
                model.setPosition(family, e, below(SettingsModel::optionCount(family, e)));
        }
        // Cross Band set and the channel display mode mostly away from their start-up values.
        model.setPosition(Family::Repeater, 3, chance(80) ? 1 : 0);
        model.setPosition(Family::Combo1, 0, chance(80) ? 1 : 0);
        for (int offset : settings::kImageWrittenBack)
            model.setImageBytes(offset, randomBytes(1));
        for (int b = 0; b < 3; ++b)
            put(settings::kBlockAddress[b], encodeSettingsBlock(model, b));
    }

    QRandomGenerator64 m_rng;
    int m_index;
    Image *m_image = nullptr;
    BankTable m_banks;
};

// --- what the whole-radio write sends ------------------------------------------------

// Every block of the memory map that the whole-radio write sends (the
// setting byte at 0x1FE01 is only ever read), one a channel record.
QList<MemoryBlock> writtenBlocks() {
    QList<MemoryBlock> blocks;
    for (const MemoryRegion &r : memorymap::kRegions)
        for (int b = 0; r.id != RegionId::SettingByte && b < r.writeCount; ++b)
            blocks.append(r.writes[std::size_t(b)]);
    for (int n = 1; n <= memorymap::kRecordCount; ++n)
        blocks.append({*memorymap::recordAddress(n), kRecordBytes});
    return blocks;
}

// The blocks (those `compared` takes, all without it) in which the second
// radio does not hold what the first one held: the first byte of the first
// five, and how many in all. The settings bytes written back as the radio
// holds them are the second radio's own.
QStringList differences(const QByteArray &expected, const QByteArray &got,
                        const std::function<bool(quint32 address)> &compared = {}) {
    const auto &own = settings::kImageWrittenBack;
    QStringList out;
    int blocks = 0;
    for (const MemoryBlock &b : writtenBlocks()) {
        for (int a = int(b.address);
             (!compared || compared(b.address)) && a < int(b.address) + b.length; ++a) {
            if (expected[a] == got[a] || std::count(std::begin(own), std::end(own), a)) continue;
            if (++blocks <= 5)
                out << QStringLiteral("0x%1 (byte %2 of its block): %3 came back as %4")
                           .arg(a, 5, 16, QLatin1Char('0'))
                           .arg(a - int(b.address))
                           .arg(quint8(expected[a]), 2, 16, QLatin1Char('0'))
                           .arg(quint8(got[a]), 2, 16, QLatin1Char('0'));
            break;
        }
    }
    if (blocks > 5) out << QStringLiteral("%1 blocks differ in all").arg(blocks);
    return out;
}

// A data file as this program opens it: what the reader took, then the file
// the opened document saves (lines of later versions left out).
QString opened(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("cannot open ") + path;
    RadioDocument doc;
    const DataFileResult result = readDataFile(doc, file.readAll());
    datafile::WriteOptions options;
    options.savedAt = QDateTime(QDate(2026, 12, 6), QTime(9, 0));
    QStringList lines = datafile::dataFileLines(doc, options);
    lines.removeIf([](const QString &line) { return line.startsWith(QLatin1Char('X')); });
    lines.prepend(QStringLiteral("read %1, %2 channels, %3 lines ignored")
                      .arg(result.ok())
                      .arg(result.channels)
                      .arg(result.ignoredLines));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

int runCli(const QStringList &arguments) {
    return cli::run(QStringList{QStringLiteral("kpr5")} + arguments);
}

quint64 firstSeed() {
    bool ok = false;
    const quint64 seed = qEnvironmentVariable("KPR5_PROPERTY_SEED").toULongLong(&ok);
    return ok ? seed : QRandomGenerator::global()->generate64();
}

} // namespace

class RoundTripTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dataHome;

private Q_SLOTS:
    void initTestCase() {
        // Backups of the reads go to a folder of the test's own.
        qputenv("XDG_DATA_HOME", m_dataHome.path().toLocal8Bit());
    }

    // A file written by this program before the extension lines existed, and
    // one in the original program's layout, open as they did then.
    void earlierFilesOpenAsBefore_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("written by kpr5 before") << QStringLiteral("kpr5-earlier.R5");
        QTest::newRow("original layout") << QStringLiteral("original-layout.R5");
    }
    void earlierFilesOpenAsBefore() {
        QFETCH(QString, file);
        const QString path = QFINDTESTDATA(QStringLiteral("../data/") + file);
        const QString got = opened(path);
        QFile expected(path + QStringLiteral(".opened")); // as the program opened it before
        QVERIFY(expected.open(QIODevice::ReadOnly));
        QCOMPARE(got, QString::fromUtf8(expected.readAll()));
    }

    void radioFileRadioIsExact() {
        const quint64 seed = firstSeed();
        const int images = qEnvironmentVariableIsSet("KPR5_PROPERTY_IMAGES")
                               ? std::max(1, qEnvironmentVariableIntValue("KPR5_PROPERTY_IMAGES"))
                               : 4;
        qInfo("KPR5_PROPERTY_SEED=%llu replays this run", seed);
        sim::RadioSimulator first, second;
        QVERIFY(first.start() && second.start());
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("radio.R5"));
        const QString font = dir.filePath(QStringLiteral("radio.FR5"));
        const QString csv = dir.filePath(QStringLiteral("radio.CSV"));
        const QString fromCsv = dir.filePath(QStringLiteral("csv.R5"));
        QStringList failures;
        for (int i = 0; i < images; ++i) {
            const QString which =
                QStringLiteral("KPR5_PROPERTY_SEED=%1, image %2").arg(seed).arg(i);
            const Image image = ImageMaker(seed + quint64(i), i).make();
            first.setImage(image.bytes);
            second.setImage(ImageMaker(~(seed + quint64(i)), i + 1).make().bytes);
            // A command that fails ends the image; the failure names the seed.
            const auto run = [&](const QStringList &arguments) {
                if (runCli(arguments) == 0) return true;
                failures << which + QStringLiteral(": kpr5 %1 failed").arg(arguments.first());
                return false;
            };
            if (!run({"read", "--port", first.portPath(), "--output", data, "--font", font,
                      "--quiet"}) ||
                !run({"write", "--port", second.portPath(), "--font", font, "--quiet", data}))
                continue;
            for (const QString &d : differences(image.bytes, second.image()))
                failures << which + QStringLiteral(", data file: ") + d;

            second.setImage(ImageMaker(seed + quint64(i) + 7777, i + 2).make().bytes);
            if (!run({"export-csv", data, csv}) || !run({"import-csv", csv, fromCsv}) ||
                !run({"write", "--port", second.portPath(), "--quiet", fromCsv}))
                continue;
            // The channel records CSV carries, nothing else.
            const auto carried = [&](quint32 address) {
                const quint32 at = address - memorymap::kFirstRecordAddress;
                return address >= memorymap::kFirstRecordAddress &&
                       at / kRecordBytes < quint32(memorymap::kRecordCount) &&
                       image.csvRow[std::size_t(at / kRecordBytes + 1)];
            };
            for (const QString &d : differences(image.bytes, second.image(), carried))
                failures << which + QStringLiteral(", CSV: ") + d;
        }
        if (!failures.isEmpty()) QFAIL(qPrintable(failures.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(RoundTripTest)
#include "tst_roundtrip.moc"
