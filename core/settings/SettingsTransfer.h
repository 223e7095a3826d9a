#pragma once
// The settings transfers: all settings of both pages, with the DTMF area at
// the end, read from and written to the radio; and the DTMF area alone (the
// DTMF frame's own buttons).

#include "core/link/Transfer.h"

namespace kpr5 {

class DtmfMemories;
class SettingsModel;

// Busy codes (`transferBusy`) of these operations.

// `Set_Mode_Read` / `SETTING_READ`. True when it ran to its success ending.
TransferResult readSettings(SettingsModel &settings, DtmfMemories &dtmf, SerialLink &link,
                            TransferHost &host);
// `Set_Mode_Write` / `SETTING_WRITE`.
TransferResult writeSettings(SettingsModel &settings, DtmfMemories &dtmf, SerialLink &link,
                             TransferHost &host);
// `READ_DTMF` / `WRITE_DTMF`: the three DTMF blocks alone, with the
// identification, attempts and messages of the settings transfers.
TransferResult readDtmf(DtmfMemories &dtmf, SerialLink &link, TransferHost &host);
TransferResult writeDtmf(const DtmfMemories &dtmf, SerialLink &link, TransferHost &host);

} // namespace kpr5
