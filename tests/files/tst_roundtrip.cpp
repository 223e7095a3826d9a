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

#include "Files.h"
#include "RadioSimulator.h"
#include "Records.h"
#include "cli/CommandLine.h"
#include "core/document/RadioDocument.h"
#include "core/files/DataFile.h"
#include "core/link/MemoryMap.h"
#include "core/settings/SettingsCodec.h"
#include "core/text/Cp932.h"
#include "core/text/NameCodec.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace kpr5;

namespace {

constexpr int kRecordBytes = memorymap::kRecordBytes;

// A radio image, and by record number whether CSV carries that record.
struct Image {
    QByteArray bytes = QByteArray(sim::kImageSize, '\0');
    std::array<bool, memorymap::kRecordCount + 1> csvRow{};
};

class ImageMaker {
public:
    ImageMaker(quint64 seed, int index) : m_rng(seed), m_index(index) {}

    Image make() {
        makeBanks();
        makeChannels();
        makeGroupsAndKeys();
        bool titleCsv = true;
        put(0x001A0, name(&titleCsv) + QByteArray(2, chance(80) ? char(0x11) : char(0)));
        makeSettings();
        put(0x01000, randomBytes(256)); // the eight user characters
        return m_image;
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
        m_image.bytes.replace(int(address), int(bytes.size()), bytes);
    }

    // A character a name may hold as plain text: ASCII without the token's
    // tilde, half-width katakana, or (100 - `single` percent) one of the
    // allowed double-byte set.
    quint16 plain(int single) {
        if (!chance(single)) {
            const auto &table = names::allowedDoubleByteTable();
            quint16 c = 0;
            while (c == 0 || !cp932::toUnicode(c)) // the set's ranges have holes (0x817F)
                c = table[std::size_t(below(int(table.size())))];
            return c;
        }
        if (chance(30)) return quint16(0xA1 + below(0xDF - 0xA1 + 1));
        const quint16 c = quint16(0x20 + below(0x7F - 0x20));
        return c == '~' ? quint16('-') : c;
    }

    // A name field: empty, plain text, 16 slots mostly of user characters
    // ("12 user characters and ABCD"), 16 double-byte characters, or one CSV
    // cannot carry: with a literal ":n~" (the display form's token), an
    // empty slot between two characters, a code outside the code page or
    // the allowed set (duplicates of other codes among them) or a control
    // character.
    QByteArray name(bool *csv) {
        static const quint16 odd[] = {0x8240, 0x817F, 0x837F, 0x0081, 0x00FC, 0x1234, 0xFFFF,
                                      0x889F, 0x8754, 0x8790, 0xFA40, 0xEEEF, 0xF040, 0xE040,
                                      0x000D, 0x000A, 0x0001, 0x001F, 0x007F, 0x0009};
        const int kind = below(100);
        const int length = kind < 12                 ? 0
                           : kind < 35 || kind >= 65 ? 1 + below(names::kSlots)
                                                     : names::kSlots;
        const int users = kind >= 35 && kind < 55 ? 8 + below(9) : 0;
        const int single = kind < 35 ? 70 : kind < 55 ? 50 : kind < 65 ? 0 : 60;
        std::vector<quint16> codes;
        for (int i = 0; i < length; ++i)
            codes.push_back(i < users ? quint16(0x8740 + below(8)) : plain(single));
        std::shuffle(codes.begin(), codes.end(), m_rng);
        for (int edits = kind >= 65 ? 1 + below(3) : 0; edits > 0; --edits) {
            *csv = false;
            const auto at = codes.begin() + below(int(codes.size()));
            const int edit = below(3);
            if (edit == 0) codes.insert(at, {':', quint16('1' + below(8)), '~'});
            if (edit == 1 && at != codes.begin()) codes.insert(at, 0);
            if (edit == 2) codes.insert(at, odd[below(int(std::size(odd)))]);
        }
        codes.resize(std::min<std::size_t>(codes.size(), names::kSlots));
        while (!codes.empty() && codes.back() == 0)
            codes.pop_back();
        QByteArray field(names::kFieldBytes, '\0');
        for (std::size_t i = 0; i < codes.size(); ++i) {
            field[int(2 * i)] = char(codes[i] & 0xFF);
            field[int(2 * i + 1)] = char(codes[i] >> 8);
        }
        return field;
    }

    // 10 Hz units of a frequency: in the bands, anywhere the record's 32
    // bits hold, or below 100 kHz.
    quint32 frequencyUnits() {
        static const quint32 bands[][2] = {{11800000, 17400000},
                                           {42000000, 47000000},
                                           {124000000, 130000000},
                                           {53100, 3000000},
                                           {3000000, 130000000}};
        const int kind = below(100);
        if (kind >= 90) return quint32(below(10000));
        if (kind >= 70) return quint32(m_rng.bounded(429496730u));
        const auto &band = bands[below(int(std::size(bands)))];
        return band[0] + quint32(below(int(band[1] - band[0])));
    }

    // A record in use; `csv` is cleared when CSV cannot carry it.
    QByteArray record(int number, bool *csv) {
        const quint32 units = frequencyUnits();
        // An index byte inside its table, or now and then any other byte.
        const auto index = [&](int tableSize) {
            if (chance(93)) return below(tableSize);
            *csv = false;
            return tableSize + below(256 - tableSize);
        };
        // A mode byte whose low nibble is outside the table is kept whole.
        const auto code = [&](int tableSize) {
            if (chance(95)) return below(tableSize);
            *csv = false;
            return (below(16) << 4) | (tableSize + below(16 - tableSize));
        };
        const quint32 offsetHz = quint32(chance(50) ? below(3) * 600 : below(1000000)) * 1000;
        test::Record r(units * 10);
        r.mode(code(4)).step(below(16)).shift(below(3), offsetHz).toneMode(code(6));
        r.tones(index(39), index(39)).dcs(index(104)).carrier(index(29)).skip(below(2));
        r.nameField(name(csv));
        const bool blocked =
            (units >= 82400000 && units < 85000000) || (units >= 86900000 && units < 89500000);
        if (blocked || number >= ChannelTable::kFirstBugRow) *csv = false; // never imported
        return r;
    }

    void makeChannels() {
        memorymap::PassChannels pass{};
        for (int row = 1; row <= memorymap::kRecordCount; ++row) {
            const int number = *memorymap::rowToRecord(row);
            bool &csv = m_image.csvRow[std::size_t(number)] = true;
            // Call channels and bug-detector presets always hold a channel.
            if (!ChannelTable::isCallRow(row) && !ChannelTable::isBugRow(row) && !chance(45))
                continue;
            const QByteArray r = record(number, &csv);
            put(*memorymap::recordAddress(number), r);
            if (row >= memorymap::kFirstPassRow && row <= memorymap::kLastPassRow)
                pass[std::size_t(row - memorymap::kFirstPassRow)] =
                    qFromLittleEndian<quint32>(r.constData() + 1) / 10;
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
            for (int left = BankTable::kMemoryChannels; left > 0;) {
                const int take = std::min(left, 1 + below(300));
                counts[std::size_t(below(BankTable::kBankCount))] += take;
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
        for (int m = 0; m < DtmfMemories::kMemoryCount; ++m) {
            QString text;
            for (int n = below(DtmfMemories::kMaxDigits + 1); n > 0; --n)
                text += QStringLiteral("0123456789ABCD*#-").at(below(17));
            dtmf.setMemory(m, text);
        }
        for (int t = 0; t < DtmfMemories::kTimingCount; ++t) {
            const auto timing = DtmfMemories::Timing(t);
            dtmf.setTiming(timing, below(int(DtmfMemories::timingOptions(timing).size())));
        }
        for (int b = 0; b < DtmfMemories::kBlockCount; ++b)
            put(DtmfMemories::blockAddress(b), dtmf.encodeBlock(b));
    }

    void makeSettings() {
        SettingsModel model;
        for (int f = 0; f < kFamilyCount; ++f)
            for (int e = 0; e < settings::familySize(Family(f)); ++e)
                model.setPosition(Family(f), e, below(SettingsModel::optionCount(Family(f), e)));
        // Cross Band set and the channel display mode mostly away from their
        // start-up values.
        model.setPosition(Family::Repeater, 3, chance(80) ? 1 : 0);
        model.setPosition(Family::Combo1, 0, chance(80) ? 1 : 0);
        for (int offset : settings::kImageWrittenBack)
            model.setImageBytes(offset, randomBytes(1));
        for (int b = 0; b < 3; ++b)
            put(settings::kBlockAddress[b], encodeSettingsBlock(model, b));
    }

    QRandomGenerator64 m_rng;
    int m_index;
    Image m_image;
    BankTable m_banks;
};

// Where the second radio does not hold what the first one held, in the
// blocks the whole-radio write sends (the setting byte at 0x1FE01 is only
// ever read), at the addresses `compared` takes (all without it): the first
// five, and how many in all. The settings bytes written back as the radio
// holds them are the second radio's own.
QStringList differences(const QByteArray &expected, const QByteArray &got,
                        const std::function<bool(int address)> &compared = {}) {
    QList<MemoryBlock> blocks;
    for (const MemoryRegion &r : memorymap::kRegions)
        for (int b = 0; r.id != RegionId::SettingByte && b < r.writeCount; ++b)
            blocks.append(r.writes[std::size_t(b)]);
    for (int n = 1; n <= memorymap::kRecordCount; ++n)
        blocks.append({*memorymap::recordAddress(n), kRecordBytes});
    const auto &own = settings::kImageWrittenBack;
    QStringList out;
    int count = 0;
    for (const MemoryBlock &b : blocks)
        for (int a = int(b.address); a < int(b.address) + b.length; ++a)
            if (expected[a] != got[a] && (!compared || compared(a)) &&
                std::count(std::begin(own), std::end(own), a) == 0 && ++count <= 5)
                out << QStringLiteral("0x%1: %2 came back as %3")
                           .arg(a, 5, 16, QLatin1Char('0'))
                           .arg(quint8(expected[a]), 2, 16, QLatin1Char('0'))
                           .arg(quint8(got[a]), 2, 16, QLatin1Char('0'));
    if (count > 5) out << QStringLiteral("%1 bytes differ in all").arg(count);
    return out;
}

// A data file as this program opens it: what the reader took, then the file
// the opened document saves (lines of later versions left out).
QString opened(const QString &path) {
    RadioDocument doc;
    const DataFileResult result = readDataFile(doc, test::readFile(path));
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

} // namespace

class RoundTripTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dataHome;

private Q_SLOTS:
    void initTestCase() {
        // Backups of the reads go to a folder of the test's own.
        qputenv("XDG_DATA_HOME", m_dataHome.path().toLocal8Bit());
    }

    // A file written by this program before the extension lines existed, one
    // in the original program's layout, and one with the reader's odd cases
    // (a step index above its table, a name of 32 bytes, one-touch keys on
    // positions beyond the file's banks and channels beyond their bank) open
    // as they did then.
    void earlierFilesOpenAsBefore() {
        for (const char *file : {"kpr5-earlier.R5", "original-layout.R5", "reader-rules.R5"}) {
            const QString path = QFINDTESTDATA(QStringLiteral("../data/") + QLatin1String(file));
            QCOMPARE(opened(path), QString::fromUtf8(test::readFile(path + ".opened")));
        }
    }

    void radioFileRadioIsExact() {
        bool replay = false;
        const quint64 seed = qEnvironmentVariable("KPR5_PROPERTY_SEED").toULongLong(&replay);
        const quint64 first = replay ? seed : QRandomGenerator::global()->generate64();
        const int images = qEnvironmentVariableIsSet("KPR5_PROPERTY_IMAGES")
                               ? std::max(1, qEnvironmentVariableIntValue("KPR5_PROPERTY_IMAGES"))
                               : 4;
        qInfo("KPR5_PROPERTY_SEED=%llu replays this run", first);
        sim::RadioSimulator radio, other;
        QVERIFY(radio.start() && other.start());
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("radio.R5"));
        const QString font = dir.filePath(QStringLiteral("radio.FR5"));
        const QString csv = dir.filePath(QStringLiteral("radio.CSV"));
        const QString fromCsv = dir.filePath(QStringLiteral("csv.R5"));
        for (int i = 0; i < images; ++i) {
            const quint64 s = first + quint64(i);
            const Image made = ImageMaker(s, i).make();
            // The channel records CSV carries, nothing else.
            const auto carried = [&](int address) {
                const int record = (address - int(memorymap::kFirstRecordAddress)) / kRecordBytes;
                return address >= int(memorymap::kFirstRecordAddress) &&
                       record < memorymap::kRecordCount && made.csvRow[std::size_t(record + 1)];
            };
            const QString which =
                QStringLiteral("KPR5_PROPERTY_SEED=%1, image %2, ").arg(first).arg(i);
            radio.setImage(made.bytes);
            other.setImage(ImageMaker(~s, i + 1).make().bytes);
            QVERIFY2(runCli({"read", "--port", radio.portPath(), "--output", data, "--font", font,
                             "--quiet"}) == 0 &&
                         runCli({"write", "--port", other.portPath(), "--font", font, "--quiet",
                                 data}) == 0,
                     qPrintable(which + "read or write failed"));
            QStringList d = differences(made.bytes, other.image());
            QVERIFY2(d.isEmpty(), qPrintable(which + "data file: " + d.join(QLatin1Char('\n'))));

            other.setImage(ImageMaker(s + 7777, i + 2).make().bytes);
            QVERIFY2(runCli({"export-csv", data, csv}) == 0 &&
                         runCli({"import-csv", csv, fromCsv}) == 0 &&
                         runCli({"write", "--port", other.portPath(), "--quiet", fromCsv}) == 0,
                     qPrintable(which + "CSV export, import or write failed"));
            d = differences(made.bytes, other.image(), carried);
            QVERIFY2(d.isEmpty(), qPrintable(which + "CSV: " + d.join(QLatin1Char('\n'))));
        }
    }
};

QTEST_GUILESS_MAIN(RoundTripTest)
#include "tst_roundtrip.moc"
