// The opening-title area (34 bytes) and the title editing that follows a read.
#include "FuzzSupport.h"

#include "core/common/OpeningTitle.h"
#include "core/files/DataFile.h"

using namespace kpr5;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    OpeningTitle title;
    const bool read = title.decodeArea(fuzz::bytesOf(data, size));
    KPR5_FUZZ_CHECK(read == (size >= 33));
    KPR5_FUZZ_CHECK(title.openingMoving() == 0 || title.openingMoving() == 1);
    for (int i = 0; i < 8; ++i)
        title.appendUserCharacter(i);
    (void)datafile::titleLine(title.displayText());
    (void)datafile::titleFromLine(datafile::titleLine(title.displayText()));
    title.takeOverDisplayText();
    KPR5_FUZZ_CHECK(title.encodeArea().size() == OpeningTitle::kAreaSize);
    return 0;
}
