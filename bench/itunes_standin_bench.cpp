// Loading a library file into the music application stand-in, against a plain parse of the same file
// by pugixml in the same run: 12,500, 25,000 and 50,000 songs with 200 playlists. "load" reads the
// file into the stand-in; "load+read" also walks every track in batches of 1000 and reads each
// property that the iTunes client's master list reads. Saving one change is set against writing the
// same bytes to a synced file.

#include "GeneratedLibrary.h"
#include "platform/itunes/Application.h"
#include "platform/itunes/ITunesInstance.h"
#include "platform/itunes/LibraryFile.h"
#include "platform/itunes/Playlist.h"
#include "platform/itunes/Track.h"
#include "platform/itunes/TrackCollection.h"
#include "platform/itunes/TrackEnumerator.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <map>
#include <memory>
#include <pugixml.hpp>
#include <sstream>
#include <unistd.h>

using namespace itunesapp;
using benchlibrary::GeneratedLibrary;
using benchlibrary::kFirstDate;

namespace {

constexpr int kBatch = 1000;

std::string ReadWhole(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

size_t HeapInUse() {
    return mallinfo2().uordblks;
}

// Every property the master list of the iTunes client reads of a track.
int64_t ReadAsTheMasterListDoes(const Track& track) {
    std::u16string text;
    std::string location;
    int32_t number = 0;
    int64_t size = 0;
    double date = 0;
    ObjectIDs ids;
    TrackKind kind{};
    int64_t sum = track.GetKind(kind) == Status::Ok;
    for (const TextField field : {TextField::Name, TextField::Album, TextField::Artist, TextField::Genre,
                                  TextField::Composer, TextField::Equalizer, TextField::Comment}) {
        track.GetText(field, text);
        sum += static_cast<int64_t>(text.size());
    }
    for (const NumberField field :
         {NumberField::TrackNumber, NumberField::Year, NumberField::BitRate, NumberField::Duration,
          NumberField::PlayedCount, NumberField::Rating, NumberField::DatabaseID, NumberField::TrackID}) {
        track.GetNumber(field, number);
        sum += number;
    }
    track.GetSize(size);
    track.GetDate(DateField::Modified, date);
    track.GetDate(DateField::Played, date);
    track.GetLocation(location);
    track.GetObjectIDs(ids);
    return sum + size + static_cast<int64_t>(date) + static_cast<int64_t>(location.size()) + ids.trackID;
}

int64_t ReadEveryTrack(const Application& application) {
    std::shared_ptr<Playlist> library;
    std::shared_ptr<TrackCollection> tracks;
    std::shared_ptr<TrackEnumerator> enumerator;
    if (application.GetLibraryPlaylist(library) != Status::Ok || library->GetTracks(tracks) != Status::Ok ||
        tracks->GetEnumerator(enumerator) != Status::Ok)
        return -1;
    int64_t sum = 0;
    std::vector<std::shared_ptr<Track>> batch;
    for (Status status = Status::Ok; status == Status::Ok;) {
        status = enumerator->Next(kBatch, batch);
        for (const auto& track : batch)
            sum += ReadAsTheMasterListDoes(*track);
    }
    return sum;
}

ITunesInstance::Setup SetupFor(const GeneratedLibrary& library) {
    ITunesInstance::Setup setup;
    setup.libraryFile = library.File();
    setup.quietTime = {};
    return setup;
}

void BM_LoadVersusPlainParse(benchmark::State& state) {
    const int songs = static_cast<int>(state.range(0));
    const GeneratedLibrary& library = GeneratedLibrary::Of(songs);
    double parse = 0, load = 0, loadAndRead = 0;
    size_t heapPerSong = 0;
    bool ok = true;
    for (auto _ : state) {
        // Only the loading is timed: each document and instance is freed after its clock stopped.
        {
            pugi::xml_document document;
            parse += Seconds([&] { ok = document.load_file(library.File().c_str()) && ok; });
        }
        {
            ITunesInstance instance(SetupFor(library));
            std::shared_ptr<Application> application;
            const size_t heapBefore = HeapInUse();
            load += Seconds([&] { ok = Application::Create(instance, application) == Status::Ok && ok; });
            heapPerSong = (HeapInUse() - heapBefore) / static_cast<size_t>(songs);
        }
        {
            ITunesInstance instance(SetupFor(library));
            std::shared_ptr<Application> application;
            loadAndRead += Seconds([&] {
                ok = Application::Create(instance, application) == Status::Ok &&
                     ReadEveryTrack(*application) > 0 && ok;
            });
        }
    }
    if (!ok)
        state.SkipWithError("a load failed");
    const double runs = static_cast<double>(state.iterations());
    state.counters["parse_ms"] = parse / runs * 1e3;
    state.counters["load_ms"] = load / runs * 1e3;
    state.counters["load+read_ms"] = loadAndRead / runs * 1e3;
    state.counters["load_vs_parse"] = load / parse;
    state.counters["load+read_vs_parse"] = loadAndRead / parse;
    state.counters["heap_bytes_per_song"] = static_cast<double>(heapPerSong);
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(library.File())) / (1 << 20);
}
BENCHMARK(BM_LoadVersusPlainParse)
    ->Arg(12500)
    ->Arg(25000)
    ->Arg(50000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

bool WriteSynced(const std::string& path, const std::string& text) {
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool written = descriptor >= 0 &&
                         write(descriptor, text.data(), text.size()) == ssize_t(text.size()) &&
                         fsync(descriptor) == 0;
    return close(descriptor) == 0 && written;
}

// One change of a song's play count is saved at once (the deferred saver is off), against writing the
// file's bytes to a file and syncing it.
void BM_SaveOneChangeVersusPlainWrite(benchmark::State& state) {
    const GeneratedLibrary& library = GeneratedLibrary::Of(static_cast<int>(state.range(0)));
    const std::string text = ReadWhole(library.File());
    const std::string copy = library.Folder() + "/plain copy.xml";
    ITunesInstance instance(SetupFor(library));
    std::shared_ptr<Application> application;
    std::shared_ptr<Playlist> playlist;
    std::shared_ptr<TrackCollection> tracks;
    std::shared_ptr<Track> track;
    bool ok = Application::Create(instance, application) == Status::Ok &&
              application->GetLibraryPlaylist(playlist) == Status::Ok &&
              playlist->GetTracks(tracks) == Status::Ok && tracks->GetItem(1, track) == Status::Ok;
    double ours = 0, plain = 0;
    int32_t count = 0;
    for (auto _ : state) {
        ours +=
            Seconds([&] { ok = ok && track->SetNumber(NumberField::PlayedCount, ++count) == Status::Ok; });
        plain += Seconds([&] { ok = WriteSynced(copy, text) && ok; });
    }
    if (!ok)
        state.SkipWithError("a save failed");
    const double runs = static_cast<double>(state.iterations());
    state.counters["save_ms"] = ours / runs * 1e3;
    state.counters["plain_write_ms"] = plain / runs * 1e3;
    state.counters["save_vs_write"] = ours / plain;
}
BENCHMARK(BM_SaveOneChangeVersusPlainWrite)
    ->Arg(50000)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
