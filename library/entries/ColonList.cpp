#include "library/entries/ColonList.h"

#include "foundation/TextUnits.h"

#include <string_view>

namespace {

bool EqualFoldingAZ(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldedToLowerAZ(a[i]) != FoldedToLowerAZ(b[i]))
            return false;
    }
    return true;
}

} // namespace

// Looks for ":item:" in place: filters ask this of every song of a list, and copies of the list and
// the item for each song would cost more than the search.
bool ColonListContains(const AString& list, const AString& item) {
    const std::u16string_view text(list.GetCString());
    const std::u16string_view wanted(item.GetCString());
    if (wanted.empty() || text.size() < wanted.size() + 2)
        return false;
    const size_t lastStart = text.size() - wanted.size() - 2;
    for (size_t start = 0; start <= lastStart; ++start) {
        if (text[start] == u':' && text[start + wanted.size() + 1] == u':' &&
            EqualFoldingAZ(text.substr(start + 1, wanted.size()), wanted))
            return true;
    }
    return false;
}

bool ColonListItemOccursIn(const AString& list, const AString& text) {
    int start = 1;
    for (int end = list.Find(u':', start); end >= 0; end = list.Find(u':', start)) {
        const AString item = list.Mid(start, end - start);
        if (!item.IsEmpty() && text.Find(item, 0, true) >= 0)
            return true;
        start = end + 1;
    }
    return false;
}

bool ColonListIsEmpty(const AString& list) {
    const std::u16string_view text(list.GetCString());
    return text.find_first_not_of(u": \t") == std::u16string_view::npos;
}
