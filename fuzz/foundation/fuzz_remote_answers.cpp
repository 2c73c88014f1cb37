// The answers of another computer's server program to the remote file requests, over any bytes: the
// input is a run of answers, each a u16 length and its bytes, handed out one per request. The file
// information that loads is what the cache then knows, and a fetch that succeeds has written exactly
// the size the host gave for the file.
#include "common/FuzzFolder.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileInfo.h"
#include "foundation/FileOps.h"
#include "foundation/RemoteFileCache.h"
#include "foundation/RemotePeer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

constexpr int kNoMoreAnswers = -10566;

class ScriptedAnswers : public RemotePeer {
public:
    ScriptedAnswers(const uint8_t* data, size_t size) : m_data(data), m_left(size) {}

    int ConnectW(const AString&) override { return 0; }
    void Disconnect() override {}
    int Request(int, const uint8_t*, uint32_t, std::vector<uint8_t>& answer, bool, AProgress*, int, int,
                const CancelCallback&) override {
        uint16_t length = 0;
        if (m_left < sizeof length)
            return kNoMoreAnswers;
        std::memcpy(&length, m_data, sizeof length);
        Take(sizeof length);
        length = static_cast<uint16_t>(std::min<size_t>(length, m_left));
        answer.assign(m_data, m_data + length);
        Take(length);
        return 0;
    }

private:
    void Take(size_t count) {
        m_data += count;
        m_left -= count;
    }

    const uint8_t* m_data;
    size_t m_left;
};

bool SameInfo(const FileInfo& a, const FileInfo& b) {
    return a.exists == b.exists && a.isDirectory == b.isDirectory && a.notHidden == b.notHidden &&
           a.size == b.size && a.modTime == b.modTime;
}

void CheckFileInformation(RemoteFileCache& cache) {
    const AString path("?host:/Music/a.mp3");
    FileInfo info;
    cache.GetFileInfo(path, info);
    FileInfo cached;
    if (cache.Find(path, &cached) >= 0 && !SameInfo(cached, info))
        std::abort();
}

void CheckFetch(RemoteFileCache& cache) {
    const AString source("?host:/Music/b.mp3");
    const std::string target = fuzzcommon::FuzzFolder() + "/fetched.mp3";
    std::filesystem::remove(target);
    const int result = cache.MoveRemoteFileLocal(source, AString::FromSystem8Bit(target), nullptr);
    if (result != 0)
        return;
    FileInfo info;
    cache.GetFileInfo(source, info);
    if (std::filesystem::file_size(target) != info.size)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RemoteFileCache& cache = RemoteFileCache::Instance();
    ScriptedAnswers peer(data, size);
    cache.Clear();
    cache.SetPeer(&peer);
    CheckFileInformation(cache);
    CheckFetch(cache);
    cache.SetPeer(nullptr);
    return 0;
}
