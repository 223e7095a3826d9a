#pragma once
// What the program knows about the edited radio as a whole: where it came
// from (a file, the radio, or nothing yet), whether it has changed since it
// was last opened, read, saved or written, and the edits made to it, region
// by region, with each region's value before and after.
//
// It watches the models of a RadioDocument, so it does not matter which
// window changed them. Three kinds of change are told apart:
// - edits (the user changed something): collected until takeEdits();
// - loads (a file opened, a radio read; between beginLoad and endLoad): not
//   edits, and the loaded regions count as unchanged afterwards;
// - restores (undo and redo put values back): not edits either.
//
// The font image is watched for edits, but it is no part of the data file,
// so it never makes the document count as modified.

#include "core/banks/BankTable.h"
#include "core/banks/GroupTable.h"
#include "core/channels/ChannelTable.h"
#include "core/common/DtmfMemories.h"
#include "core/common/OneTouchTable.h"
#include "core/common/OpeningTitle.h"
#include "core/font/FontImage.h"
#include "core/settings/SettingsModel.h"

#include <QList>
#include <QObject>
#include <QString>

#include <array>
#include <variant>
#include <vector>

namespace kpr5 {

struct RadioDocument;

// The regions of the edited image, as bits.
enum Region : unsigned {
    ChannelsRegion = 1u << 0,
    BanksRegion = 1u << 1,
    GroupsRegion = 1u << 2,
    SettingsRegion = 1u << 3,
    DtmfRegion = 1u << 4,
    OneTouchRegion = 1u << 5,
    TitleRegion = 1u << 6,
    FontRegion = 1u << 7,
};
using Regions = unsigned;
constexpr int kRegionCount = 8;
constexpr Regions kAllRegions = (1u << kRegionCount) - 1;
// What the data file holds: everything but the font.
constexpr Regions kFileRegions = kAllRegions & ~Regions(FontRegion);

// Rows firstRow.. of the channel table.
struct ChannelRows {
    int firstRow = 1;
    std::vector<ChannelTable::Slot> slotValues;
    int lastRow() const { return firstRow + int(slotValues.size()) - 1; }
    bool operator==(const ChannelRows &o) const {
        return firstRow == o.firstRow && slotValues == o.slotValues;
    }
};

// One region's value: rows of the channel table, or a whole small model.
using RegionValue =
    std::variant<ChannelRows, BankTable::State, GroupTable::State, SettingsModel::State,
                 DtmfMemories::State, OneTouchTable::State, OpeningTitle::State, FontImage::State>;

struct RegionChange {
    Region region = ChannelsRegion;
    RegionValue before;
    RegionValue after;
};

class DocumentState : public QObject {
    Q_OBJECT
public:
    enum class Source { New, File, Radio };

    explicit DocumentState(RadioDocument &document, QObject *parent = nullptr);
    ~DocumentState() override;

    RadioDocument &document() const { return m_doc; }

    // The document as it is now becomes the starting point: nothing
    // modified, no edits pending.
    void reset(Source source = Source::New, const QString &filePath = QString());

    Source source() const { return m_source; }
    QString filePath() const { return m_filePath; }
    void setSource(Source source, const QString &filePath = QString());

    // Whether any of `regions` differs from what it was when last opened,
    // read, saved or written (the font never counts).
    bool isModified(Regions regions = kFileRegions) const;
    Regions modifiedRegions() const;
    // A save to a file or a write to the radio: these regions, as they are
    // now, are kept.
    void markSaved(Regions regions);

    // Loads nest; while one runs, changes are not edits. When the outermost
    // ends, the regions it changed count as unchanged, and loaded() says
    // which they were (also returned; 0 from an inner end).
    void beginLoad();
    Regions endLoad();
    bool loading() const { return m_loadDepth > 0; }

    // The edits since the last call, one change per region (the channel
    // table as the range of rows changed); regions that came back to their
    // old value are left out.
    QList<RegionChange> takeEdits();
    bool hasPendingEdits() const { return m_pending != 0; }

    // Undo and redo: the values before (or after) the changes, put back. Not
    // an edit. Pending edits should be taken first.
    void restore(const QList<RegionChange> &changes, bool before);

    // The current value of a region (the channel table as all its slots).
    RegionValue value(Region region) const;
    static QString regionName(Region region);

Q_SIGNALS:
    // The first edit since the last takeEdits().
    void edited();
    // A load begins (pending edits should be taken now) or has ended.
    void aboutToLoad();
    void loaded(kpr5::Regions regions);
    void modifiedChanged(bool modified);
    void sourceChanged();

private:
    void changed(Region region, int firstRow = 0, int lastRow = 0);
    void apply(const RegionValue &value);
    RegionValue channelRows(int first, int last) const;
    void refreshShadow(Region region);
    void updateModified();
    bool differsFromClean(Region region) const;
    static int index(Region region);

    RadioDocument &m_doc;
    Source m_source = Source::New;
    QString m_filePath;

    // The document as of the last edit taken, load or restore (what the
    // next edit's "before" is), and as of the last open, read, save or write.
    std::array<RegionValue, kRegionCount> m_shadow;
    std::array<RegionValue, kRegionCount> m_clean;

    Regions m_pending = 0;
    int m_pendingFirst = 0, m_pendingLast = 0; // channel rows of the pending edits
    int m_loadDepth = 0;
    Regions m_loaded = 0;
    bool m_restoring = false;
    mutable Regions m_dirty = 0;
    mutable Regions m_unknown = 0; // regions whose m_dirty bit must be recomputed
    bool m_modified = false;
};

} // namespace kpr5
