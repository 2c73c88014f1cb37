#include "library/entries/ColonList.h"

bool ColonListContains(const AString& list, const AString& item) {
    if (item.IsEmpty())
        return false;
    const AString wrapped = AString(":") + item + ":";
    return list.Find(wrapped, 0, false) >= 0;
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
