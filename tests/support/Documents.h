#pragma once
// Whole documents for tests, benchmarks and the fuzz seed generator: every
// region filled, drawn from a seed, so two seeds give documents that differ
// everywhere.

#include "Records.h"
#include "core/channels/ChannelRecord.h"
#include "core/document/RadioDocument.h"
#include "core/settings/SettingsCatalogue.h"

#include <QRandomGenerator>

namespace kpr5::test {

// A channel in use with every field drawn from `rng`, near `row`'s own frequency.
inline QByteArray randomRecord(QRandomGenerator &rng, int row) {
    QByteArray name;
    for (int i = 1 + int(rng.bounded(8)); i > 0; --i)
        name += char('A' + rng.bounded(26));
    return Record(144000000 + 12500 * quint32(row) + 10000 * rng.bounded(50))
        .step(int(rng.bounded(8)))
        .shift(int(rng.bounded(3)), 600000)
        .toneMode(int(rng.bounded(4)))
        .tones(int(rng.bounded(39)), int(rng.bounded(39)))
        .dcs(int(rng.bounded(104)))
        .carrier(int(rng.bounded(29)))
        .skip(rng.bounded(2))
        .name(name);
}

// Every row in use, every bank holding 11 to 29 channels (1000 in all), and
// the groups, one-touch keys, title, settings, DTMF memories and user
// characters all set.
inline void fillDocument(RadioDocument &doc, quint32 seed) {
    QRandomGenerator rng(seed);
    doc.channels.beginBatch();
    for (int row = 1; row <= ChannelTable::kRows; ++row)
        decodeChannel(randomRecord(rng, row), doc.channels, row);
    doc.channels.endBatch();

    BankTable::Counts counts;
    counts.fill(20);
    for (int b = 0; b < BankTable::kBankCount; ++b) {
        const int moved = int(rng.bounded(10));
        counts[size_t(b)] += moved;
        counts[size_t((b + 7) % BankTable::kBankCount)] -= moved;
    }
    doc.banks.setCounts(counts);
    doc.banks.markLoaded();

    for (int g = 0; g < GroupTable::kGroupCount; ++g)
        for (int b = 0; b < GroupTable::kBankCount; ++b)
            doc.groups.setLinked(g, b, rng.bounded(3) == 0);
    doc.oneTouch.rebuildLists(doc.banks);
    for (int k = 0; k < OneTouchTable::kKeyCount; ++k) {
        doc.oneTouch.setUnassigned(k, rng.bounded(4) == 0);
        doc.oneTouch.selectBank(k, int(rng.bounded(50)));
        doc.oneTouch.selectChannel(k, int(rng.bounded(11)));
    }

    QString title;
    for (int i = 3 + int(rng.bounded(10)); i > 0; --i)
        title += QLatin1Char(char('A' + rng.bounded(26)));
    doc.title.setDisplayText(title);
    doc.title.setOpeningMoving(int(rng.bounded(2)));

    for (int f = 0; f < kFamilyCount; ++f)
        for (int e = 0; e < settings::familySize(Family(f)); ++e)
            if (const int options = SettingsModel::optionCount(Family(f), e); options > 0)
                doc.settings.setPosition(Family(f), e, int(rng.bounded(options)));
    for (int m = 0; m < DtmfMemories::kMemoryCount; ++m) {
        QString digits;
        for (int n = int(rng.bounded(DtmfMemories::kMaxDigits + 1)); n > 0; --n)
            digits += QLatin1Char("0123456789ABCD*#"[rng.bounded(16)]);
        doc.dtmf.setMemory(m, digits);
    }
    for (int t = 0; t < DtmfMemories::kTimingCount; ++t) {
        const auto timing = DtmfMemories::Timing(t);
        doc.dtmf.setTiming(timing, int(rng.bounded(DtmfMemories::timingOptions(timing).size())));
    }

    for (int k = 0; k < FontImage::kGlyphCount; ++k) {
        FontImage::Glyph glyph{};
        for (auto &pixel : glyph)
            pixel = quint8(rng.bounded(2));
        doc.font.setGlyph(k, glyph);
    }
}

} // namespace kpr5::test
