#include "server/requests/LibraryPlayLists.h"

#include "library/itunes/ITunes.h"
#include "library/itunes/ITunesPlayList.h"
#include "server/requests/ServedLibrary.h"

int LoadLibraryPlayLists(const ServedLibrary& library, ITunes& client) {
    if (const int result = library.Connect(client))
        return result;
    return client.LoadPlayLists(false);
}

int FindUserPlayList(ITunes& client, const AString& name, bool exact) {
    for (int i = 0; i < client.GetPlayListCount(); ++i) {
        AString candidate;
        client.GetPlayList(i)->GetName(candidate, 0);
        if (exact ? candidate == name : candidate.CompareNoCase(name) == 0)
            return i;
    }
    return -1;
}
