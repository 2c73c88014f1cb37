// Listing a library of 20,000 songs through the remote library's song list, beside listing the same
// library locally, in the same run. Remotely: a server on 127.0.0.2 starts a session, reads the
// library into the session's song list, sends it packed with every song's key, remote path and file
// information, and this side (127.0.0.1) takes it and fills the remote file cache. Locally: the song
// list of the library opens and sorts. The ratio says what the network, the packing and the server's
// extra work per song cost.

#include "GeneratedLibrary.h"
#include "foundation/AProgressLite.h"
#include "foundation/RemoteFileCache.h"
#include "library/songlists/ADirTunes.h"
#include "platform/itunes/ITunesInstance.h"
#include "remote/ADirTunesRemote.h"
#include "remote/CASockets.h"
#include "server/requests/ASyncWSocksServer.h"
#include "server/requests/LibraryRequestHandlers.h"
#include "server/requests/ServedLibrary.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>

namespace {

using benchlibrary::GeneratedLibrary;

constexpr int kSongs = 20000;
constexpr uint32_t kServerAddress = 0x7F000002;
constexpr uint32_t kClientAddress = 0x7F000001;
constexpr const char* kServerText = "127.0.0.2";

// The library, the music application on it, and a server of it listening on loopback.
class Stage {
public:
    static Stage& Get() {
        static Stage stage;
        return stage;
    }

    std::unique_ptr<ASyncWSocksServer> server;

private:
    Stage() {
        const GeneratedLibrary& library = GeneratedLibrary::Of(kSongs);
        setenv("XDG_MUSIC_DIR", library.Folder().c_str(), 1);
        itunesapp::ITunesInstance::Install({});
        std::mt19937 random(std::random_device{}());
        for (int attempt = 0; attempt < 100; ++attempt) {
            server = std::make_unique<ASyncWSocksServer>(kServerAddress, nullptr);
            RegisterLibraryRequestHandlers(*server, std::make_shared<ServedLibrary>(), nullptr);
            server->SetBasePort(static_cast<uint16_t>(20000 + random() % 12000));
            if (server->StartListening() && !server->BindFailed())
                return;
        }
        std::abort();
    }
};

double Seconds(const std::function<bool()>& work, bool& ok) {
    const auto start = std::chrono::steady_clock::now();
    ok = work() && ok;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool ListLocally() {
    AProgressLite progress;
    ADirTunes list(&progress);
    if (list.Open(nullptr, 0, CancelCallback()) != 0)
        return false;
    list.Sort(1);
    return list.GetCount() == kSongs;
}

bool ListRemotely(CASockets& link) {
    RemoteFileCache::Instance().Clear();
    AProgressLite progress;
    ADirTunesRemote list(&progress);
    list.SetLink(&link);
    list.SetServerAddress(kServerText, nullptr);
    if (list.Connect() != 0 || list.Open(nullptr, 0, CancelCallback()) != 0)
        return false;
    list.Sort(1);
    return list.GetCount() == kSongs && list.Disconnect() == 0;
}

void BM_ListRemoteLibraryVersusLocal(benchmark::State& state) {
    Stage& stage = Stage::Get();
    CASockets link(kClientAddress);
    link.SetBasePort(stage.server->GetBasePort());
    RemoteFileCache::Instance().SetPeer(&link);
    double remote = 0;
    double local = 0;
    bool ok = true;
    for (auto _ : state) {
        remote += Seconds([&] { return ListRemotely(link); }, ok);
        local += Seconds(ListLocally, ok);
    }
    RemoteFileCache::Instance().SetPeer(nullptr);
    RemoteFileCache::Instance().Clear();
    if (!ok)
        state.SkipWithError("a list could not be read");
    const double runs = static_cast<double>(state.iterations());
    state.counters["remote_ms"] = remote / runs * 1e3;
    state.counters["local_ms"] = local / runs * 1e3;
    state.counters["remote_vs_local"] = remote / local;
}
BENCHMARK(BM_ListRemoteLibraryVersusLocal)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
