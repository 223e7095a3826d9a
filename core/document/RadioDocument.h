#pragma once
// The edited image of one radio, region by region. Every window shows and
// edits these models; the transfers, the data file, CSV and the command line
// read and write them.

#include "core/banks/BankTable.h"
#include "core/banks/GroupTable.h"
#include "core/channels/ChannelTable.h"
#include "core/common/DtmfMemories.h"
#include "core/common/OneTouchTable.h"
#include "core/common/OpeningTitle.h"
#include "core/font/FontImage.h"
#include "core/settings/SettingsModel.h"

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
