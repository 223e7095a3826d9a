#pragma once
// Reading and writing the opening title and its opening-moving setting
// (0x001A0, 34 bytes): `TITLE_READ` and `TITLE_WRITE`, also run as steps of
// the whole-radio read and write.

#include "core/link/Transfer.h"

namespace kpr5 {

class OpeningTitle;

// Identification and one block read, each up to 3 attempts; progress 50 %,
// then 100 % and "Success" (unless completionMode is 1). The title is changed
// only by a reply that was accepted. True on success.
TransferResult readTitle(OpeningTitle &title, SerialLink &link, TransferHost &host);

// Identification, then the display text becomes the stored title and is
// written with the setting: "QX~F001A0W", 64 digits of title, "0000" or
// "1111", CR (79 characters; reply of 85 bytes with "OK" at 81-82). True on
// success.
TransferResult writeTitle(OpeningTitle &title, SerialLink &link, TransferHost &host);

} // namespace kpr5
