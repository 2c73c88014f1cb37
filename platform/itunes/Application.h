#pragma once
// The application object of the stand-in: what a client creates in place of the music application's
// automation object. Every call answers a Status; out-values are set only on Ok.

#include "platform/itunes/HandleCore.h"
#include "platform/itunes/ITunesTypes.h"

#include <cstdint>
#include <memory>
#include <string>

namespace itunesapp {

class EventSink;
class ITunesInstance;
class Playlist;
class Source;
class SourceCollection;
class Track;

class Application {
public:
    // Reaches the running application (ITunesInstance::Running), starting it when it quit. Busy while
    // the test hook says so; Unreadable when the library file cannot be read; Failed when there is no
    // music folder to keep it in.
    static Status Create(std::shared_ptr<Application>& application);
    static Status Create(ITunesInstance& instance, std::shared_ptr<Application>& application);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The version text (a number from 700 on, as the clients count it); also the cheap probe that tells
    // whether the application still runs (Gone once it quit).
    Status GetVersion(std::u16string& version) const;
    // The library first, then each mounted iPod.
    Status GetSources(std::shared_ptr<SourceCollection>& sources) const;
    Status GetLibraryPlaylist(std::shared_ptr<Playlist>& playlist) const;
    // A new user playlist of the library, or of the given source.
    Status CreatePlaylist(const std::u16string& name, std::shared_ptr<Playlist>& playlist) const;
    Status CreatePlaylistInSource(const std::u16string& name, const Source& source,
                                  std::shared_ptr<Playlist>& playlist) const;
    // The track with the four ids in that source's playlist (its first occurrence there); Failed when
    // any id is 0 or nothing has them.
    Status GetTrackByIDs(const ObjectIDs& ids, std::shared_ptr<Track>& track) const;
    // The sink hears the events until Unsubscribe or until the application quits.
    Status Subscribe(std::shared_ptr<EventSink> sink, uint32_t& cookie) const;
    Status Unsubscribe(uint32_t cookie) const;

private:
    explicit Application(HandleCore core) : m_core(std::move(core)) {}
    Status CreateInSource(int32_t sourceID, const std::u16string& name,
                          std::shared_ptr<Playlist>& playlist) const;

    HandleCore m_core;
};

} // namespace itunesapp
