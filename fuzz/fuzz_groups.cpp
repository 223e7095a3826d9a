// The group area (two blocks, 8 bytes a group): decoded, encoded, decoded
// again to the same table.
#include "FuzzSupport.h"

#include "core/banks/GroupTable.h"

using namespace kpr5;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::Input in(data, size);
    const int first = in.pick(GroupTable::kGroupCount + 2) - 1;
    const int count = in.pick(GroupTable::kGroupCount + 2);
    const QByteArray bytes = in.rest();

    GroupTable groups;
    groups.decodeGroups(0, GroupTable::kBlock0Groups, bytes);
    groups.decodeGroups(first, count, bytes);
    const QByteArray area = groups.encodeArea();
    KPR5_FUZZ_CHECK(area.size() == GroupTable::kAreaSize);

    GroupTable again;
    again.decodeGroups(0, GroupTable::kGroupCount, area);
    KPR5_FUZZ_CHECK(again.encodeArea() == area);
    return 0;
}
