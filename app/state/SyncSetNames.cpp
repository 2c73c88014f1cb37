#include "app/state/SyncSetNames.h"

AString SyncSetNames::DeviceStem(const AString& identifier) {
    if (identifier.IsEmpty() || identifier.CompareNoCase(kNoDevice) == 0)
        return AString(kNoDevice);
    return identifier;
}

AString SyncSetNames::SafeStem(const AString& name) {
    AString stem = name.Left(kMaxStemLength);
    stem.Replace(u'/', u'_');
    stem.Replace(u'\\', u'_');
    for (int i = 0; i < stem.GetLength() && stem.GetAt(i) == u'.'; ++i) {
        stem.Delete(i);
        stem.Insert(i, AString("_"));
    }
    if (stem.IsEmpty())
        return AString(kNoDevice);
    return stem;
}
