#pragma once
// What the main window asks of the local music library: whether it answers, its version, its
// playlists for the left playlist combo, and the iPods it shows, each driven through the library.
// One thread uses it at a time (the data load, or the window while no load runs).

#include "foundation/AString.h"

#include <cstdint>
#include <memory>
#include <vector>

struct LibraryPlayList {
    AString name;
    uint32_t kind = 0; // 0 user, 1 smart, 2 and above the library's special playlists
};

// An iPod as the library shows it.
class LibraryPod {
public:
    virtual ~LibraryPod() = default;
    // The iPod's name as the library gives it: 0, or a negative code.
    virtual int GetName(AString& name) = 0;
    virtual std::vector<AString> PlayListNames() const = 0;
    virtual void SetDrive(const AString& root) = 0;
    virtual AString GetDrive() const = 0;
    // The volume's identifier: 8 upper-case hexadecimal digits ("00000000" when it gives none).
    virtual int ReadPodID(const AString& root, AString& id) = 0;
};

class LibraryClient {
public:
    virtual ~LibraryClient() = default;
    // Drops the connection and connects again: 0 when the library answers.
    virtual int Reconnect() = 0;
    virtual void Disconnect() = 0;
    virtual int GetVersion(AString& text, int& number) = 0;
    // Reads the library's playlists again.
    virtual int LoadPlayLists() = 0;
    // The playlists last read, in library order.
    virtual std::vector<LibraryPlayList> PlayLists() const = 0;
    // Makes a user playlist of that name in the library, afresh connected.
    virtual int CreatePlayList(const AString& name) = 0;
    virtual int GetPodCount(int& count) = 0;
    // The library's iPod `index` with its playlists read: 0, or the code that failed.
    virtual int OpenPod(int index, std::unique_ptr<LibraryPod>& pod) = 0;
};
