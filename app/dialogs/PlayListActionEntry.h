#pragma once
// One playlist of a playlist sync as its action list shows it: the playlist's action, the song sync
// made for the playlist (whose actions the list shows when the playlist is chosen) and the result of
// preparing that song sync.

class ASync;
struct SyncAction;

struct PlayListActionEntry {
    SyncAction* action = nullptr;
    ASync* songSync = nullptr;
    int result = 0;
};
