#pragma once
// Stand-ins for the song lists that are not folders: a folder list that reports another type (a music
// library, a remote library), answers its database write and connection from the test, and keeps
// play data per file; and a sync that reads and writes that play data and names devices as told.

#include "library/songlists/ADir.h"
#include "sync/ASync.h"

#include <map>
#include <string>
#include <vector>

class ScriptedList : public ADir {
public:
    explicit ScriptedList(uint32_t type = kTypeDir) : m_type(type) {}

    uint32_t GetType() const override { return m_type; }
    int SaveDatabase() override {
        ++databaseWrites;
        return databaseResult;
    }
    int Connect() override { return connectResult; }

    int databaseResult = 0;
    int databaseWrites = 0;
    int connectResult = 0;
    // Play data by file name (relative to the root), as song keys.
    std::map<std::string, std::string> songKeys;
    std::string deviceId;

private:
    uint32_t m_type;
};

class ScriptedSync : public ASync {
public:
    using ASync::ASync;

    // Puts scripted lists of these types on both sides (snapshots of the same types).
    void UseScriptedLists(uint32_t type1, uint32_t type2);
    ScriptedList& List(int side) const;
    ScriptedList& Snapshot(int side) const;

    struct Update {
        std::string name;
        std::string key;
        uint32_t fields;
    };
    std::vector<Update> updates;

protected:
    AString GetSongKey(ADir& list, const AString& path) override;
    void UpdateSongInfo(ADir& list, const AString& path, const AString& key, uint32_t fields) override;
    AString GetDeviceId(ADir& list) override;
};
