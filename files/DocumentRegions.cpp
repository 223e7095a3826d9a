// The one-touch keys and the opening title of a document as the data file
// sees them (files/DataFile.h).
//
// The one-touch and title models (common/OneTouchTable.h,
// common/OpeningTitle.h) do not hold their values yet: until they do, a
// document reports every key "not set" and an empty title, and the values
// read from a file are not kept.

#include "app/RadioDocument.h"
#include "files/DataFile.h"

namespace kpr5::datafile {

OneTouchKeys oneTouchKeys(const RadioDocument &doc)
{
    Q_UNUSED(doc);
    return OneTouchKeys{};
}

void setOneTouchKeys(RadioDocument &doc, const OneTouchKeys &keys)
{
    Q_UNUSED(doc);
    Q_UNUSED(keys);
}

QString titleText(const RadioDocument &doc)
{
    Q_UNUSED(doc);
    return QString();
}

void setTitleText(RadioDocument &doc, const QString &displayTitle)
{
    Q_UNUSED(doc);
    Q_UNUSED(displayTitle);
}

} // namespace kpr5::datafile
