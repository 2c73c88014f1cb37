#pragma once
// Sorting a long list by its entries' sort keys. A comparison sort spends most of its time on
// comparisons whose outcome the processor cannot guess, each reading two keys from their start. Here
// the items are dealt into buckets by one key unit at a time instead, the units that every key of a
// group shares skipped; only small groups and groups of unusually spread units are compared.

#include "library/entries/EntryText.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

// Orders `items` by their keys as CompareSortKeys does, and items of equal keys by `tieLess`.
// keyOf(item) gives the item's key as a std::u16string_view that outlives the sort.
template <typename Item, typename KeyOf, typename TieLess>
void SortByEntryKeys(std::vector<Item>& items, KeyOf keyOf, TieLess tieLess);

namespace entrykeysort {

template <typename Item, typename KeyOf, typename TieLess>
class Sorter {
public:
    Sorter(size_t count, KeyOf keyOf, TieLess tieLess)
        : m_keyOf(keyOf), m_tieLess(tieLess), m_units(count), m_dealt(count) {}

    void Sort(Item* first, Item* last, size_t depth) {
        const size_t count = static_cast<size_t>(last - first);
        if (count < kFewItems)
            return SortByComparing(first, last, depth);
        depth += SharedUnits(first, last, depth);
        int32_t lowest = INT32_MAX;
        int32_t highest = kEnded;
        for (size_t i = 0; i < count; ++i) {
            m_units[i] = UnitAt(first[i], depth);
            if (m_units[i] != kEnded)
                lowest = std::min(lowest, m_units[i]);
            highest = std::max(highest, m_units[i]);
        }
        if (highest != kEnded && highest - lowest >= kMostBuckets)
            return SortByComparing(first, last, depth);
        Deal(first, count, lowest, highest);
        SortEachBucket(first, last, depth);
    }

private:
    static constexpr size_t kFewItems = 32;
    static constexpr int32_t kMostBuckets = 1024;
    static constexpr int32_t kEnded = -1; // the key has no unit at this depth: it sorts first

    int32_t UnitAt(const Item& item, size_t depth) const {
        const std::u16string_view key = m_keyOf(item);
        return depth < key.size() ? int32_t{key[depth]} : kEnded;
    }

    size_t SharedUnits(const Item* first, const Item* last, size_t depth) const {
        const std::u16string_view head = m_keyOf(*first);
        size_t shared = head.size() > depth ? head.size() - depth : 0;
        for (const Item* item = first + 1; item != last && shared > 0; ++item) {
            const std::u16string_view key = m_keyOf(*item);
            const size_t limit = std::min(shared, key.size() > depth ? key.size() - depth : 0);
            size_t same = 0;
            while (same < limit && key[depth + same] == head[depth + same])
                ++same;
            shared = same;
        }
        return shared;
    }

    // Items of ended keys first, then by unit; the order within a bucket is kept.
    void Deal(Item* first, size_t count, int32_t lowest, int32_t highest) {
        const int32_t base = highest == kEnded ? 0 : lowest;
        const auto bucketOf = [base](int32_t unit) {
            return unit == kEnded ? size_t{0} : static_cast<size_t>(unit - base) + 1;
        };
        m_starts.assign(highest == kEnded ? 1 : static_cast<size_t>(highest - base) + 2, 0);
        for (size_t i = 0; i < count; ++i)
            ++m_starts[bucketOf(m_units[i])];
        size_t start = 0;
        for (size_t& bucket : m_starts)
            start += std::exchange(bucket, start);
        for (size_t i = 0; i < count; ++i)
            m_dealt[m_starts[bucketOf(m_units[i])]++] = first[i];
        std::copy(m_dealt.begin(), m_dealt.begin() + static_cast<std::ptrdiff_t>(count), first);
    }

    void SortEachBucket(Item* first, Item* last, size_t depth) {
        while (first != last) {
            const int32_t unit = UnitAt(*first, depth);
            Item* end = first + 1;
            while (end != last && UnitAt(*end, depth) == unit)
                ++end;
            if (unit == kEnded)
                std::sort(first, end, m_tieLess);
            else if (end - first > 1)
                Sort(first, end, depth + 1);
            first = end;
        }
    }

    void SortByComparing(Item* first, Item* last, size_t depth) const {
        std::sort(first, last, [this, depth](const Item& a, const Item& b) {
            const int order = CompareSortKeys(m_keyOf(a).substr(std::min(depth, m_keyOf(a).size())),
                                              m_keyOf(b).substr(std::min(depth, m_keyOf(b).size())));
            return order != 0 ? order < 0 : m_tieLess(a, b);
        });
    }

    KeyOf m_keyOf;
    TieLess m_tieLess;
    std::vector<int32_t> m_units; // the unit of each item of the group being dealt
    std::vector<Item> m_dealt;
    std::vector<size_t> m_starts;
};

} // namespace entrykeysort

template <typename Item, typename KeyOf, typename TieLess>
void SortByEntryKeys(std::vector<Item>& items, KeyOf keyOf, TieLess tieLess) {
    entrykeysort::Sorter<Item, KeyOf, TieLess> sorter(items.size(), keyOf, tieLess);
    sorter.Sort(items.data(), items.data() + items.size(), 0);
}
