#include "sync/SyncEntryWalk.h"

#include <algorithm>

void SyncEntryWalk::SortEntries(Entries& entries, const Compare& compare) {
    const auto less = [&compare](const AString* a, const AString* b) { return compare(*a, *b) < 0; };
    if (!std::is_sorted(entries.begin(), entries.end(), less))
        std::stable_sort(entries.begin(), entries.end(), less);
}

SyncEntryWalk::SyncEntryWalk(std::vector<const Entries*> lists, Compare compare)
    : m_compare(std::move(compare)) {
    for (const Entries* entries : lists) {
        m_cursors.push_back({entries});
        m_total += static_cast<int>(entries->size());
    }
}

const AString* SyncEntryWalk::SmallestHead() const {
    const AString* smallest = nullptr;
    for (const Cursor& cursor : m_cursors) {
        if (cursor.head >= cursor.entries->size())
            continue;
        const AString* head = (*cursor.entries)[cursor.head];
        if (!smallest || m_compare(*head, *smallest) < 0)
            smallest = head;
    }
    return smallest;
}

bool SyncEntryWalk::Next() {
    const AString* key = SmallestHead();
    if (!key)
        return false;
    for (Cursor& cursor : m_cursors) {
        cursor.matchStart = cursor.head;
        while (
            cursor.head < cursor.entries->size() &&
            ((*cursor.entries)[cursor.head] == key || m_compare(*(*cursor.entries)[cursor.head], *key) == 0))
            ++cursor.head;
        m_passed += static_cast<int>(cursor.head - cursor.matchStart);
    }
    return true;
}

std::span<const AString* const> SyncEntryWalk::Matches(int list) const {
    const Cursor& cursor = m_cursors.at(static_cast<size_t>(list));
    return {cursor.entries->data() + cursor.matchStart, cursor.head - cursor.matchStart};
}
