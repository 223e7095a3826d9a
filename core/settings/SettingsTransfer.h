#pragma once
// The settings transfers: all settings of both pages, with the DTMF area at
// the end, read from and written to the radio; and the DTMF area alone (the
// DTMF frame's own buttons).

namespace kpr5 {

class DtmfMemories;
class SerialLink;
class SettingsModel;
class TransferHost;

// Busy codes (`transferBusy`) of these operations.
constexpr int kBusyReadSettings = 70;
constexpr int kBusyWriteSettings = 71;
constexpr int kBusyReadDtmf = 72;
constexpr int kBusyWriteDtmf = 73;

// `Set_Mode_Read` / `SETTING_READ`. True when it ran to its success ending.
bool readSettings(SettingsModel &settings, DtmfMemories &dtmf, SerialLink &link,
                  TransferHost &host);
// `Set_Mode_Write` / `SETTING_WRITE`.
bool writeSettings(SettingsModel &settings, DtmfMemories &dtmf, SerialLink &link,
                   TransferHost &host);
// `READ_DTMF` / `WRITE_DTMF`: the three DTMF blocks alone, with the
// identification, attempts and messages of the settings transfers.
bool readDtmf(DtmfMemories &dtmf, SerialLink &link, TransferHost &host);
bool writeDtmf(const DtmfMemories &dtmf, SerialLink &link, TransferHost &host);

} // namespace kpr5
