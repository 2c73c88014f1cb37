#pragma once
// Whether the file system that holds a folder takes names that differ only in letter case for one
// file: FAT and exFAT volumes (an iPod, a memory stick) do, Linux's own file systems do not.

#include "foundation/AString.h"

// False also when the folder cannot be looked at.
bool FolderFoldsLetterCase(const AString& folder);
