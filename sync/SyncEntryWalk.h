#pragma once
// Walks several lists of entries, each sorted by one comparator, in step: each step is one key (the
// smallest left at any head) with, for every list, its entries that equal that key. A list that has
// run out simply has no entries for the remaining keys: no marker text stands for its end.

#include "foundation/AString.h"

#include <functional>
#include <span>
#include <vector>

class SyncEntryWalk {
public:
    using Entries = std::vector<const AString*>;
    // Below 0, 0 or above 0, as a < b, a = b, a > b.
    using Compare = std::function<int(const AString& a, const AString& b)>;

    // Puts the entries in the comparator's order unless they are in it already; the order of equal
    // entries is kept.
    static void SortEntries(Entries& entries, const Compare& compare);

    // The lists must stay alive and sorted while the walk runs.
    SyncEntryWalk(std::vector<const Entries*> lists, Compare compare);

    // Moves to the next key; false once every list has run out.
    bool Next();
    // The entries of list `list` equal to the current key; empty when the key is not in that list.
    std::span<const AString* const> Matches(int list) const;
    // Entries of all lists passed so far, and of all lists together: the walk's progress.
    int Passed() const { return m_passed; }
    int Total() const { return m_total; }

private:
    struct Cursor {
        const Entries* entries;
        size_t head = 0;
        size_t matchStart = 0;
    };

    const AString* SmallestHead() const;

    std::vector<Cursor> m_cursors;
    Compare m_compare;
    int m_passed = 0;
    int m_total = 0;
};
