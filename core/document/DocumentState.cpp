#include "core/document/DocumentState.h"

#include "core/document/RadioDocument.h"

#include <algorithm>

namespace kpr5 {

namespace {

template <class... F> struct Overloaded : F... { using F::operator()...; };
template <class... F> Overloaded(F...) -> Overloaded<F...>;

constexpr Region kRegions[kRegionCount] = {ChannelsRegion, BanksRegion, GroupsRegion,
                                           SettingsRegion, DtmfRegion,  OneTouchRegion,
                                           TitleRegion,    FontRegion};

} // namespace

int DocumentState::index(Region region) {
    for (int i = 0; i < kRegionCount; ++i)
        if (kRegions[i] == region) return i;
    return 0;
}

QString DocumentState::regionName(Region region) {
    switch (region) {
    case ChannelsRegion:
        return tr("the channel table");
    case BanksRegion:
        return tr("the banks");
    case GroupsRegion:
        return tr("the bank-link groups");
    case SettingsRegion:
        return tr("the settings");
    case DtmfRegion:
        return tr("the DTMF memories");
    case OneTouchRegion:
        return tr("the one-touch keys");
    case TitleRegion:
        return tr("the opening title");
    case FontRegion:
        return tr("the user characters");
    }
    return QString();
}

DocumentState::DocumentState(RadioDocument &document, QObject *parent)
    : QObject(parent), m_doc(document) {
    connect(&m_doc.channels, &ChannelTable::rowsChanged, this,
            [this](int first, int last) { changed(ChannelsRegion, first, last); });
    connect(&m_doc.banks, &BankTable::changed, this, [this] { changed(BanksRegion); });
    connect(&m_doc.groups, &GroupTable::changed, this, [this] { changed(GroupsRegion); });
    connect(&m_doc.settings, &SettingsModel::positionChanged, this,
            [this] { changed(SettingsRegion); });
    connect(&m_doc.dtmf, &DtmfMemories::memoryChanged, this, [this] { changed(DtmfRegion); });
    connect(&m_doc.dtmf, &DtmfMemories::timingChanged, this, [this] { changed(DtmfRegion); });
    connect(&m_doc.oneTouch, &OneTouchTable::keyChanged, this, [this] { changed(OneTouchRegion); });
    connect(&m_doc.oneTouch, &OneTouchTable::listsRebuilt, this,
            [this] { changed(OneTouchRegion); });
    connect(&m_doc.title, &OpeningTitle::displayTextChanged, this,
            [this] { changed(TitleRegion); });
    connect(&m_doc.title, &OpeningTitle::openingMovingChanged, this,
            [this] { changed(TitleRegion); });
    connect(&m_doc.font, &FontImage::glyphChanged, this, [this] { changed(FontRegion); });
    reset();
}

DocumentState::~DocumentState() = default;

void DocumentState::reset(Source source, const QString &filePath) {
    for (Region r : kRegions) {
        m_shadow[size_t(index(r))] = value(r);
        m_clean[size_t(index(r))] = m_shadow[size_t(index(r))];
    }
    m_pending = 0;
    m_pendingFirst = m_pendingLast = 0;
    m_dirty = m_unknown = 0;
    setSource(source, filePath);
    updateModified();
}

void DocumentState::setSource(Source source, const QString &filePath) {
    const QString path = source == Source::File ? filePath : QString();
    if (source == m_source && path == m_filePath) return;
    m_source = source;
    m_filePath = path;
    Q_EMIT sourceChanged();
}

// --- what changed -------------------------------------------------------------

void DocumentState::changed(Region region, int firstRow, int lastRow) {
    if (m_restoring) {
        m_unknown |= region;
        return;
    }
    if (m_loadDepth > 0) {
        m_loaded |= region;
        return;
    }
    const bool first = m_pending == 0;
    m_pending |= region;
    m_unknown |= region;
    if (region == ChannelsRegion) {
        if (m_pendingFirst == 0) {
            m_pendingFirst = firstRow;
            m_pendingLast = lastRow;
        } else {
            m_pendingFirst = std::min(m_pendingFirst, firstRow);
            m_pendingLast = std::max(m_pendingLast, lastRow);
        }
    }
    if (first) Q_EMIT edited();
}

RegionValue DocumentState::channelRows(int first, int last) const {
    ChannelRows rows;
    rows.firstRow = first;
    rows.slotValues.reserve(size_t(std::max(0, last - first + 1)));
    for (int row = first; row <= last; ++row)
        rows.slotValues.push_back(m_doc.channels.slotValue(row - 1));
    return rows;
}

RegionValue DocumentState::value(Region region) const {
    switch (region) {
    case ChannelsRegion:
        return channelRows(1, ChannelTable::kSlots);
    case BanksRegion:
        return m_doc.banks.state();
    case GroupsRegion:
        return m_doc.groups.state();
    case SettingsRegion:
        return m_doc.settings.state();
    case DtmfRegion:
        return m_doc.dtmf.state();
    case OneTouchRegion:
        return m_doc.oneTouch.state();
    case TitleRegion:
        return m_doc.title.state();
    case FontRegion:
        return m_doc.font.state();
    }
    return {};
}

void DocumentState::apply(const RegionValue &value) {
    std::visit(Overloaded{
                   [this](const ChannelRows &rows) {
                       ChannelTable &t = m_doc.channels;
                       t.beginBatch();
                       for (size_t i = 0; i < rows.slotValues.size(); ++i)
                           t.setSlotValue(rows.firstRow - 1 + int(i), rows.slotValues[i]);
                       t.endBatch();
                   },
                   [this](const BankTable::State &s) { m_doc.banks.restore(s); },
                   [this](const GroupTable::State &s) { m_doc.groups.restore(s); },
                   [this](const SettingsModel::State &s) { m_doc.settings.restore(s); },
                   [this](const DtmfMemories::State &s) { m_doc.dtmf.restore(s); },
                   [this](const OneTouchTable::State &s) { m_doc.oneTouch.restore(s); },
                   [this](const OpeningTitle::State &s) { m_doc.title.restore(s); },
                   [this](const FontImage::State &s) { m_doc.font.restore(s); },
               },
               value);
}

void DocumentState::refreshShadow(Region region) {
    m_shadow[size_t(index(region))] = value(region);
}

QList<RegionChange> DocumentState::takeEdits() {
    QList<RegionChange> out;
    for (Region r : kRegions) {
        if (!(m_pending & r)) continue;
        RegionValue &shadow = m_shadow[size_t(index(r))];
        if (r != ChannelsRegion) {
            RegionValue now = value(r);
            if (now == shadow) continue;
            out << RegionChange{r, shadow, now};
            shadow = std::move(now);
            continue;
        }
        // Only the rows that really differ, from the first to the last.
        auto &all = std::get<ChannelRows>(shadow).slotValues;
        const int first = std::clamp(m_pendingFirst, 1, ChannelTable::kSlots);
        const int last = std::clamp(m_pendingLast, first, ChannelTable::kSlots);
        int lo = 0, hi = -1;
        for (int row = first; row <= last; ++row) {
            if (all[size_t(row - 1)] == m_doc.channels.slotValue(row - 1)) continue;
            if (lo == 0) lo = row;
            hi = row;
        }
        if (lo == 0) continue;
        ChannelRows before;
        before.firstRow = lo;
        before.slotValues.assign(all.begin() + (lo - 1), all.begin() + hi);
        RegionValue after = channelRows(lo, hi);
        const auto &afterSlots = std::get<ChannelRows>(after).slotValues;
        std::copy(afterSlots.begin(), afterSlots.end(), all.begin() + (lo - 1));
        out << RegionChange{r, std::move(before), std::move(after)};
    }
    m_pending = 0;
    m_pendingFirst = m_pendingLast = 0;
    updateModified();
    return out;
}

void DocumentState::restore(const QList<RegionChange> &changes, bool before) {
    m_restoring = true;
    if (before) {
        for (auto it = changes.crbegin(); it != changes.crend(); ++it)
            apply(it->before);
    } else {
        for (const RegionChange &c : changes)
            apply(c.after);
    }
    m_restoring = false;
    Regions touched = 0;
    for (const RegionChange &c : changes)
        touched |= c.region;
    for (Region r : kRegions) {
        if (touched & r) refreshShadow(r);
    }
    m_unknown |= touched;
    updateModified();
}

// --- loads ----------------------------------------------------------------------

void DocumentState::beginLoad() {
    if (m_loadDepth == 0) {
        Q_EMIT aboutToLoad();
        m_loaded = 0;
    }
    ++m_loadDepth;
}

Regions DocumentState::endLoad() {
    if (m_loadDepth == 0 || --m_loadDepth > 0) return 0;
    const Regions loaded = m_loaded;
    m_loaded = 0;
    for (Region r : kRegions) {
        if (!(loaded & r)) continue;
        refreshShadow(r);
        m_clean[size_t(index(r))] = m_shadow[size_t(index(r))];
        m_dirty &= ~Regions(r);
        m_unknown &= ~Regions(r);
        m_pending &= ~Regions(r);
    }
    if (!(m_pending & ChannelsRegion)) m_pendingFirst = m_pendingLast = 0;
    updateModified();
    if (loaded) Q_EMIT this->loaded(loaded);
    return loaded;
}

// --- modified -------------------------------------------------------------------

bool DocumentState::differsFromClean(Region region) const {
    if (region != ChannelsRegion) return !(value(region) == m_clean[size_t(index(region))]);
    const auto &clean = std::get<ChannelRows>(m_clean[size_t(index(region))]).slotValues;
    for (int slot = 0; slot < ChannelTable::kSlots; ++slot) {
        if (m_doc.channels.slotValue(slot) != clean[size_t(slot)]) return true;
    }
    return false;
}

bool DocumentState::isModified(Regions regions) const {
    regions &= kFileRegions;
    for (Region r : kRegions) {
        if (!(regions & m_unknown & r)) continue;
        if (differsFromClean(r))
            m_dirty |= r;
        else
            m_dirty &= ~Regions(r);
        m_unknown &= ~Regions(r);
    }
    return (m_dirty & regions) != 0;
}

Regions DocumentState::modifiedRegions() const {
    isModified(kFileRegions);
    return m_dirty & kFileRegions;
}

void DocumentState::markSaved(Regions regions) {
    for (Region r : kRegions) {
        if (!(regions & r)) continue;
        m_clean[size_t(index(r))] = value(r);
        m_dirty &= ~Regions(r);
        m_unknown &= ~Regions(r);
    }
    updateModified();
}

void DocumentState::updateModified() {
    const bool modified = isModified(kFileRegions);
    if (modified == m_modified) return;
    m_modified = modified;
    Q_EMIT modifiedChanged(modified);
}

} // namespace kpr5
