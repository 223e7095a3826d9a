// The settings blocks and the write-protect byte as the settings read takes
// them: every item gets one of its own positions, and the blocks written
// back can be built.
#include "FuzzSupport.h"

#include "core/settings/SettingsCodec.h"
#include "core/settings/SettingsModel.h"

using namespace kpr5;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::Input in(data, size);
    const quint8 protect = in.byte();
    SettingsModel model;
    for (int b = 0; b < 3; ++b)
        model.setImageBytes(settings::kBlockImageOffset[b], in.take(settings::kBlockSize[b]));
    // A read reply that is longer or lands anywhere is still kept in the image.
    model.setImageBytes(in.pick(SettingsModel::kImageSize + 8) - 4, in.rest());
    KPR5_FUZZ_CHECK(model.image().size() == SettingsModel::kImageSize);

    decodeSettings(model);
    decodeWriteProtect(model, protect);
    for (int f = 0; f < kFamilyCount; ++f) {
        const Family family = Family(f);
        for (int e = 0; e < 256; ++e) {
            const int pos = model.position(family, e);
            if (pos < 0) break;
            KPR5_FUZZ_CHECK(pos < SettingsModel::optionCount(family, e));
        }
    }
    for (int b = 0; b < 3; ++b)
        KPR5_FUZZ_CHECK(encodeSettingsBlock(model, b).size() == settings::kBlockSize[b]);
    return 0;
}
