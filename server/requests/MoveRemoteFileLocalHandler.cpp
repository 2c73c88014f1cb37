#include "server/requests/MoveRemoteFileLocalHandler.h"

#include "foundation/AFile.h"
#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "foundation/RemoteFileCache.h"
#include "remote/MessageChecksum.h"
#include "server/requests/PathPolicy.h"
#include "server/requests/RequestFields.h"

#include <algorithm>
#include <array>
#include <thread>
#include <vector>

namespace {

constexpr uint64_t kPartSize = RemoteFileCache::kFetchPartSize;
// u64 modification time, u32 more parts, u32 length.
constexpr size_t kPartHeadSize = 16;
// The checksum pass reads the part in runs of this size (even, as the checksum's words need).
constexpr uint32_t kChecksumRun = 256 * 1024;
// Nothing goes out before the checksum of the whole part is known: a large part is summed in this many
// ranges at once, each on a thread and a descriptor of its own (the words' sum does not care in which
// order its pieces come).
constexpr uint32_t kChecksumRanges = 4;
constexpr uint32_t kRangedChecksumMin = 16u << 20;

// Adds the words of `length` bytes of the file from `offset` on.
int SumRange(const AString& path, uint64_t offset, uint32_t length, ChecksumAccumulator& sum) {
    AFile file;
    if (const int result = file.Open(path, AFile::kModeRead, false))
        return result;
    if (const int result = file.Seek(offset))
        return result;
    std::vector<uint8_t> run(std::min(kChecksumRun, length));
    for (uint32_t done = 0; done < length;) {
        const uint32_t size = std::min(kChecksumRun, length - done);
        if (const int result = file.Read(run.data(), size))
            return result;
        sum.Add(std::span(run.data(), size));
        done += size;
    }
    return 0;
}

// The sum of the part's data, in ranges of even length (every range but the last must be).
int SumData(const AString& path, uint64_t offset, uint32_t length, ChecksumAccumulator& sum) {
    if (length < kRangedChecksumMin)
        return SumRange(path, offset, length, sum);
    const uint32_t range = length / kChecksumRanges & ~1u;
    std::vector<ChecksumAccumulator> sums(kChecksumRanges);
    std::vector<int> results(kChecksumRanges, 0);
    std::vector<std::thread> others;
    for (uint32_t i = 1; i < kChecksumRanges; ++i) {
        const uint32_t size = i + 1 < kChecksumRanges ? range : length - i * range;
        others.emplace_back([&, i, size] { results[i] = SumRange(path, offset + uint64_t(i) * range, size, sums[i]); });
    }
    results[0] = SumRange(path, offset, range, sums[0]);
    for (std::thread& other : others)
        other.join();
    for (uint32_t i = 0; i < kChecksumRanges; ++i) {
        if (results[i] != 0)
            return results[i];
        sum.Merge(sums[i]);
    }
    return 0;
}

// The answer of one part, read from the file as it is sent: memory stays small however many parts
// are sent at once. The checksum is taken in a first pass over the part; a file changed between the
// passes gives a message whose checksum fails, which the client drops.
class FilePartSource : public PayloadSource {
public:
    // 0, or the code of the file that cannot be read or of a part that begins past its end.
    int Open(const AString& path, uint32_t part) {
        m_path = path;
        if (const int result = m_file.Open(path, AFile::kModeRead, false))
            return result;
        const uint64_t length = m_file.GetLength();
        const uint64_t offset = part * kPartSize;
        // Part 0 of an empty file is empty; any other part must begin inside the file.
        if (part > 0 && offset >= length)
            return kErrorEndOfStream;
        const uint64_t rest = length - offset;
        m_length = static_cast<uint32_t>(std::min(rest, kPartSize));
        StoreLE64(m_head.data(), GetFileModTime(path));
        StoreLE32(m_head.data() + 8, rest > kPartSize ? 1 : 0);
        StoreLE32(m_head.data() + 12, m_length);
        m_offset = offset;
        return SumPart();
    }

    size_t Size() const override { return kPartHeadSize + m_length; }
    uint16_t Checksum() const override { return m_checksum; }

    int Read(std::span<uint8_t> buffer) override {
        const size_t headSent = std::min(m_sent, kPartHeadSize);
        const size_t fromHead = std::min(buffer.size(), kPartHeadSize - headSent);
        std::copy_n(m_head.begin() + headSent, fromHead, buffer.begin());
        m_sent += fromHead;
        const size_t fromFile = buffer.size() - fromHead;
        if (fromFile == 0)
            return 0;
        m_sent += fromFile;
        return m_file.Read(buffer.data() + fromHead, static_cast<uint32_t>(fromFile));
    }

private:
    int SumPart() {
        ChecksumAccumulator sum;
        sum.Add(m_head);
        if (const int result = SumData(m_path, m_offset, m_length, sum))
            return result;
        m_checksum = sum.Finish();
        return m_file.Seek(m_offset);
    }

    AString m_path;
    AFile m_file;
    std::array<uint8_t, kPartHeadSize> m_head{};
    uint64_t m_offset = 0;
    uint32_t m_length = 0;
    uint16_t m_checksum = 0;
    size_t m_sent = 0;
};

} // namespace

WireMessage MoveRemoteFileLocalHandler::Serve(std::span<const uint8_t> payload) {
    RequestFields fields(payload);
    AString path;
    uint32_t part = 0;
    if (fields.ReadText(path) != 0 || !fields.ReadU32(part))
        return WireMessage::Status(kErrorEndOfStream);
    const auto resolved = m_policy->Resolve(path, PathPolicy::Access::Read);
    if (!resolved)
        return WireMessage::Status(kErrorInvalidPath);
    auto source = std::make_shared<FilePartSource>();
    if (const int result = source->Open(*resolved, part))
        return WireMessage::Status(result);
    return WireMessage::Streamed(std::move(source));
}
