// Any bytes as an iPod's database file, read as the volume scan reads it (names only, from the file)
// and as a sync reads it (the whole library). Both give their tree or an error code; when the whole
// library reads, the names-only read gives the same iPod name and playlist names, and neither tree
// that lacks what a save needs may be saved.
#include "foundation/ErrorCodes.h"
#include "library/ipod/ITunesDB.h"
#include "library/ipod/ITunesDBPlayList.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A folder laid out as an iPod drive, for this process only.
class FuzzDrive {
public:
    FuzzDrive() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/orvantis-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        m_root = pattern;
        mkdir((m_root + "/iPod_Control").c_str(), 0700);
        mkdir((m_root + "/iPod_Control/iTunes").c_str(), 0700);
        m_database = m_root + "/iPod_Control/iTunes/iTunesDB";
    }
    ~FuzzDrive() {
        unlink(m_database.c_str());
        rmdir((m_root + "/iPod_Control/iTunes").c_str());
        rmdir((m_root + "/iPod_Control").c_str());
        rmdir(m_root.c_str());
    }
    AString Root() const { return AString(m_root); }
    void WriteDatabase(const uint8_t* data, size_t size) const {
        FILE* file = std::fopen(m_database.c_str(), "wb");
        if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
            std::abort();
    }

private:
    std::string m_root;
    std::string m_database;
};

struct Names {
    int podNameResult;
    AString podName;
    std::vector<AString> playLists;
    bool operator==(const Names&) const = default;
};

Names NamesOf(const ITunesDB& db) {
    Names names;
    names.podNameResult = db.GetPodName(names.podName);
    for (const int which : {2, 3}) {
        for (int i = 0; const ITunesDBPlayList* playList = db.GetPlayList(i, which); ++i) {
            AString name;
            playList->GetName(name);
            names.playLists.push_back(name);
        }
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FuzzDrive drive;
    drive.WriteDatabase(data, size);
    const AString root = drive.Root();

    ITunesDB names;
    const int namesResult = names.Read(root, true);
    if (names.Save(nullptr) != kErrorNotReadForSave)
        std::abort();
    ITunesDB library;
    if (library.ReadLibrary(&root, false, nullptr, nullptr) == 0 &&
        library.Save(nullptr) != kErrorNotReadForSave)
        std::abort();
    if (library.ReadLibrary(&root, true, nullptr, nullptr) != 0)
        return 0;
    if (namesResult != 0 || !(NamesOf(names) == NamesOf(library)))
        std::abort();
    return 0;
}
