#pragma once
// Where the library keeps its music: the folder named in the library file "iTunes Music Library.xml",
// else "iTunes/iTunes Music" in the user's music folder.

#include "foundation/AString.h"

// Empty when the user has no music folder.
AString ReadMusicFolder();
// The same below a given music folder.
AString ReadMusicFolderIn(const AString& musicHome);
// Runs of "%XX" escapes are bytes of UTF-8 text; a "%" without two hex digits stays as it is.
AString DecodeUrlEscapes(const AString& text);
