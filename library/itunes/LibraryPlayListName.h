#pragma once
// The name of the library playlist, one for the whole process: the song lists tell "the whole library"
// from a playlist by it. The program sets it at start; each load of the library sets it again to the
// name the application gives. Safe to use from any thread.

#include "foundation/AString.h"

// The name the program starts with.
constexpr const char* kLibraryPlayListName = "Library";

AString GetLibraryPlayListName();
void SetLibraryPlayListName(const AString& name);
