#pragma once
// Two folders side by side for a sync (Directory 1 "one", Directory 2 "two"), files put into them
// with chosen contents and times, and the folder trees read back.

#include "foundation/AString.h"
#include "support/TempDir.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class AProgress;
class ASync;

// A time every file gets unless a test asks for another.
constexpr int64_t kBaseUnixTime = 1500000000;

class SyncFolders {
public:
    SyncFolders();

    AString Root(int side) const;
    std::string Path(int side, const std::string& name) const;
    AString Text(int side, const std::string& name) const { return AString(Path(side, name).c_str()); }

    void Put(int side, const std::string& name, const std::string& content, int64_t unixTime = kBaseUnixTime);
    void MakeFolder(int side, const std::string& name);
    void Remove(int side, const std::string& name);
    // Relative path -> content; folders as "name/" -> "".
    std::map<std::string, std::string> Tree(int side) const;

    // A plain-folder sync over the two folders, the roots set, the lists not read yet.
    std::unique_ptr<ASync> MakeSync(uint32_t direction, uint32_t deleteMode,
                                    AProgress* progress = nullptr) const;
    void SetRoots(ASync& sync) const;
    // Reads both sides into the sync's snapshot lists, as a finished two-way sync would have left them.
    void TakeSnapshots(ASync& sync) const;

private:
    TempDir m_dir;
};

// The actions of a sync, one line each: display index, code, text1, text2, enabled; paths shown relative
// to the folders ("1:" and "2:" stand for the roots).
std::vector<std::string> ActionLines(const ASync& sync, const SyncFolders& folders);
