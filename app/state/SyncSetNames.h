#pragma once
// The names of the files in "SyncSets" that are named by a device or a host: a device's sync set is
// its identifier + ".sync" ("00000000" when it has none), a remote host's set its name + ".sync". Host
// names come from the network, so a name never reaches outside the folder: separators and leading
// dots become '_', and the name is cut to what a found host's name field holds.

#include "foundation/AString.h"

class SyncSetNames {
public:
    static constexpr const char* kNoDevice = "00000000";
    static constexpr const char* kSyncExtension = ".sync";
    static constexpr const char* kBadExtension = ".bad";
    static constexpr int kMaxStemLength = 149;

    // The identifier, or "00000000" for an empty or unread one.
    static AString DeviceStem(const AString& identifier);
    // A name that stays inside its folder.
    static AString SafeStem(const AString& name);
    static AString SyncSetFile(const AString& stem) { return SafeStem(stem) + kSyncExtension; }
};
