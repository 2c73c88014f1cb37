#include "library/entries/EntryKeySort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

struct Keyed {
    std::u16string_view key;
    int tie;
};

// Keys drawn from a few units so that groups share long beginnings, end inside each other and repeat;
// `wide` adds units far apart, which the sort cannot deal into buckets.
std::vector<std::u16string> RandomKeys(std::mt19937& random, size_t count, bool wide) {
    const std::u16string units = wide ? u"\\ab?A\u00e9\u4e2d\uffff" : u"\\ab? ";
    std::uniform_int_distribution<size_t> length(0, 12);
    std::uniform_int_distribution<size_t> unit(0, units.size() - 1);
    std::vector<std::u16string> keys;
    for (size_t i = 0; i < count; ++i) {
        std::u16string key = u"\\Shared\\";
        for (size_t n = length(random); n > 0; --n)
            key += units[unit(random)];
        keys.push_back(key);
    }
    return keys;
}

} // namespace

TEST(EntryKeySortTest, OrdersAsTheKeysCompareAndEqualKeysByTheirTie) {
    std::mt19937 random(7);
    for (const size_t count : {0, 1, 2, 31, 33, 500, 5000}) {
        for (const bool wide : {false, true}) {
            SCOPED_TRACE(testing::Message() << count << " keys, wide " << wide);
            const std::vector<std::u16string> keys = RandomKeys(random, count, wide);
            std::vector<Keyed> items;
            for (size_t i = 0; i < keys.size(); ++i)
                items.push_back({keys[i], static_cast<int>(keys.size() - i)});
            std::vector<Keyed> expected = items;
            std::sort(expected.begin(), expected.end(), [](const Keyed& a, const Keyed& b) {
                const int order = CompareSortKeys(a.key, b.key);
                return order != 0 ? order < 0 : a.tie < b.tie;
            });
            SortByEntryKeys(
                items, [](const Keyed& item) { return item.key; },
                [](const Keyed& a, const Keyed& b) { return a.tie < b.tie; });
            ASSERT_EQ(items.size(), expected.size());
            for (size_t i = 0; i < items.size(); ++i) {
                ASSERT_EQ(items[i].key, expected[i].key) << "at " << i;
                ASSERT_EQ(items[i].tie, expected[i].tie) << "at " << i;
            }
        }
    }
}
