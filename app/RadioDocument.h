#pragma once
// The edited image of one radio, region by region. Every window shows and
// edits these models; the transfers, the data file, CSV and the command line
// read and write them.

#include "banks/BankTable.h"
#include "banks/GroupTable.h"
#include "common/DtmfMemories.h"
#include "common/OneTouchTable.h"
#include "common/OpeningTitle.h"
#include "editor/ChannelTable.h"
#include "font/FontImage.h"
#include "settings/SettingsModel.h"

namespace kpr5 {

struct RadioDocument {
    ChannelTable channels;
    BankTable banks;
    GroupTable groups;
    SettingsModel settings;
    DtmfMemories dtmf;
    OneTouchTable oneTouch;
    OpeningTitle title;
    FontImage font;
};

} // namespace kpr5
