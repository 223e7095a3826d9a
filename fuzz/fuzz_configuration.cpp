// The configuration file's port and device lines.
#include "FuzzSupport.h"

#include "core/files/Configuration.h"

using namespace kpr5;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const config::PortChoice choice = config::parseConfiguration(fuzz::bytesOf(data, size));
    KPR5_FUZZ_CHECK(choice.comPort >= 1 && choice.comPort <= 16);
    KPR5_FUZZ_CHECK(choice.portFound || choice.comPort == 1);
    return 0;
}
