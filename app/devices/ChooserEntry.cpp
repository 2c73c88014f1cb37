#include "app/devices/ChooserEntry.h"

namespace {

constexpr int kLastHostFromEnd = 3;

} // namespace

int LastHostEntry(const ChooserEntries& entries) {
    const int index = static_cast<int>(entries.size()) - kLastHostFromEnd;
    if (index < 0 || entries[index].kind != ChooserKind::RemoteHost)
        return -1;
    return index;
}
