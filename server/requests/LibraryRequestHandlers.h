#pragma once
// Every request that serves the local library: the sessions and their song lists (1002, 1003, 1005),
// playlists (1004, 1009, 1011), adding, deleting and updating songs (1006, 1007, 1008, 1010, 1012),
// and the single files (2001, 3001 to 3003), which may touch only a track of the library or a file
// under its music folder. The handlers own what they share, so it goes only with the server, after
// every connection has ended.

#include <memory>

class AProgress;
class ASyncWSocksServer;
class ServedLibrary;
class SessionTable;

// `progress` (may be null) is the sessions' progress object and must outlive the server.
void RegisterLibraryRequestHandlers(ASyncWSocksServer& server, std::shared_ptr<const ServedLibrary> library,
                                    AProgress* progress,
                                    std::shared_ptr<SessionTable> sessions = nullptr);
