// The one-touch keys and the opening title of a document as the data file
// sees them (files/DataFile.h).

#include "core/document/RadioDocument.h"
#include "core/files/DataFile.h"

namespace kpr5::datafile {

// The keys as positions in the current bank table's list of non-empty banks.
// The one-touch lists may still show an older list (they are rebuilt when
// the Common Set page is entered): a key is converted through its bank number
// as that rebuild would do it, so that the file holds what the keys show
// once the lists follow the banks.
OneTouchKeys oneTouchKeys(const RadioDocument &doc) {
    OneTouchKeys keys{};
    const QList<int> banks = doc.banks.nonEmptyBanks();
    for (int k = 0; k < kOneTouchKeys; ++k) {
        OneTouchKey &key = keys[std::size_t(k)];
        key.noSet = doc.oneTouch.isUnassigned(k);
        const int position = int(banks.indexOf(doc.oneTouch.bankNumber(k)));
        if (position < 0) continue; // the bank no longer holds channels: position 0, channel 0
        key.bankPosition = position;
        const int channel = doc.oneTouch.channelPosition(k);
        key.channelPosition = channel < doc.banks.count(banks.at(position)) ? channel : 0;
    }
    return keys;
}

void setOneTouchKeys(RadioDocument &doc, const OneTouchKeys &keys) {
    OneTouchTable &table = doc.oneTouch;
    table.rebuildLists(doc.banks);
    for (int k = 0; k < kOneTouchKeys; ++k) {
        const OneTouchKey &key = keys[std::size_t(k)];
        if (!table.selectBank(k, key.bankPosition)) table.selectBank(k, 0);
        table.selectChannel(k, key.channelPosition); // refused (channel 0) beyond the bank
        table.setUnassigned(k, key.noSet);
    }
}

QString titleText(const RadioDocument &doc) {
    return doc.title.displayText();
}

bool setTitleText(RadioDocument &doc, const QString &displayTitle) {
    if (displayTitle.isEmpty()) {
        doc.title.setDisplayText(QString());
        return true;
    }
    doc.title.setFromFile(displayTitle);
    return true;
}

} // namespace kpr5::datafile
