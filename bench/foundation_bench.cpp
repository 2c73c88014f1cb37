// Throughput of the foundation's hot paths, and copying a large song file with progress side by side
// with a plain `cp` (and a flush of its data, as our copy flushes) of the same file in the same run.
#include "foundation/ACrc32.h"
#include "foundation/AFile.h"
#include "foundation/AMemFile.h"
#include "foundation/AProgress.h"
#include "foundation/AString.h"
#include "foundation/Base64Coder.h"
#include "foundation/CopyWithProgress.h"
#include "foundation/FileOps.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::vector<uint8_t> RandomBytes(size_t size) {
    std::vector<uint8_t> bytes(size);
    std::mt19937 random(42);
    for (auto& byte : bytes)
        byte = static_cast<uint8_t>(random());
    return bytes;
}

void BM_StringRecordSaveLoad(benchmark::State& state) {
    const AString title(u"Some Artist – A Rather Long Song Title (Live at the Venue)");
    for (auto _ : state) {
        AMemFile stream;
        for (int i = 0; i < 1000; ++i)
            title.Serialize(stream);
        AMemFile reader(stream.GetBuffer(), stream.GetSize());
        AString loaded;
        for (int i = 0; i < 1000; ++i)
            loaded.Load(reader);
        benchmark::DoNotOptimize(loaded);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_StringRecordSaveLoad);

void BM_MemFileSmallWrites(benchmark::State& state) {
    const uint32_t word = 0x12345678;
    for (auto _ : state) {
        AMemFile stream;
        for (int i = 0; i < 1000000; ++i)
            stream.Write(&word, sizeof word);
        benchmark::DoNotOptimize(stream.GetSize());
    }
    state.SetBytesProcessed(state.iterations() * 4000000);
}
BENCHMARK(BM_MemFileSmallWrites);

void BM_Base64EncodeDecode(benchmark::State& state) {
    const std::vector<uint8_t> data = RandomBytes(1 << 20);
    Base64Coder encoder;
    Base64Coder decoder;
    for (auto _ : state) {
        encoder.Encode(data.data(), static_cast<uint32_t>(data.size()));
        decoder.Decode(encoder.GetEncoded(), encoder.GetEncodedLength());
        benchmark::DoNotOptimize(decoder.GetDecodedLength());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(data.size()));
}
BENCHMARK(BM_Base64EncodeDecode);

void BM_Crc32(benchmark::State& state) {
    const std::vector<uint8_t> data = RandomBytes(1 << 20);
    for (auto _ : state) {
        ACrc32 crc;
        crc.Update(data.data(), static_cast<uint32_t>(data.size()));
        benchmark::DoNotOptimize(crc.GetValue());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(data.size()));
}
BENCHMARK(BM_Crc32);

// A 500 MB song file beside the benchmark, made once.
class LargeFile {
public:
    static constexpr uint64_t kSize = 500ull << 20;

    static const LargeFile& Get() {
        static LargeFile file;
        return file;
    }
    std::string source;
    std::string target;

private:
    LargeFile() {
        const char* base = std::getenv("TMPDIR");
        folder = std::string(base && *base ? base : "/tmp") + "/orvantis-bench-XXXXXX";
        if (!mkdtemp(folder.data()))
            std::abort();
        source = folder + "/source.mp3";
        target = folder + "/target.mp3";
        const std::vector<uint8_t> block = RandomBytes(1 << 20);
        AFile file;
        file.Open(AString(source), AFile::kModeWrite, false);
        for (uint64_t written = 0; written < kSize; written += block.size())
            file.Write(block.data(), static_cast<uint32_t>(block.size()));
        file.Close(true);
    }
    ~LargeFile() {
        unlink(source.c_str());
        unlink(target.c_str());
        rmdir(folder.c_str());
    }
    std::string folder;
};

double SecondsFor(const std::function<bool()>& copy, bool& ok) {
    sync(); // both start with no dirty pages waiting
    const auto start = std::chrono::steady_clock::now();
    ok = copy() && ok;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Our copy and `cp` take turns on the same file, so both meet the same machine state. Our copy is on
// the disk when it returns; `cp` is given the same flush of its data (`sync -d`).
void BM_CopyWithProgressVersusCp500MB(benchmark::State& state) {
    const LargeFile& file = LargeFile::Get();
    const std::string command =
        "cp '" + file.source + "' '" + file.target + "' && sync -d '" + file.target + "'";
    AProgress progress;
    double ours = 0;
    double theirs = 0;
    bool ok = true;
    for (auto _ : state) {
        ours += SecondsFor(
            [&] {
                return CopyWithProgress(
                           AString(file.source), AString(file.target), [] { return 0; }, &progress, false) ==
                       0;
            },
            ok);
        unlink(file.target.c_str());
        theirs += SecondsFor([&] { return std::system(command.c_str()) == 0; }, ok);
        unlink(file.target.c_str());
    }
    if (!ok)
        state.SkipWithError("a copy failed");
    const double megabytes = static_cast<double>(LargeFile::kSize) / (1 << 20) * state.iterations();
    state.counters["ours_MBps"] = megabytes / ours;
    state.counters["cp_MBps"] = megabytes / theirs;
    state.counters["ours_vs_cp"] = theirs / ours;
}
BENCHMARK(BM_CopyWithProgressVersusCp500MB)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
