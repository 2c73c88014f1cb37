#pragma once
// The playlists of the served library, as the playlist handlers read them through a client of their
// own.

#include "foundation/AString.h"

class ITunes;
class ServedLibrary;

// Connects the client (trying again for a while) and loads the library's playlists: 0 or the code.
int LoadLibraryPlayLists(const ServedLibrary& library, ITunes& client);
// The index of the client's playlist of that name, or -1; `exact` compares letter case too.
int FindUserPlayList(ITunes& client, const AString& name, bool exact);
