#include "server/requests/CopyWithProgressRemoteHandler.h"

#include "foundation/AReplacingFile.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "server/requests/PathPolicy.h"
#include "server/requests/RequestFields.h"

#include <algorithm>
#include <vector>

namespace {

// u32, u64 time, two text records, u32 length: the fields before the file.
constexpr size_t kTextRecordMax = 4 + 2 + AString::kMaxRecordBytes;
constexpr size_t kHeadMax = 4 + 8 + 2 * kTextRecordMax + 4;
// The file goes to the disk in writes of this size.
constexpr size_t kWriteSize = 1 << 20;

struct SentFileHead {
    uint64_t modTime = 0;
    AString target;
    uint32_t length = 0;
    size_t size = 0; // bytes of the payload before the file
};

bool ReadHead(std::span<const uint8_t> bytes, SentFileHead& head) {
    RequestFields fields(bytes);
    uint32_t unused = 0;
    AString sourceName;
    if (!fields.ReadU32(unused) || !fields.ReadU64(head.modTime) || fields.ReadText(sourceName) != 0 ||
        fields.ReadText(head.target) != 0 || !fields.ReadU32(head.length))
        return false;
    head.size = fields.Position();
    return true;
}

class SentFileStream : public RequestStream {
public:
    explicit SentFileStream(const PathPolicy& policy) : m_policy(policy) {}

    void Begin(size_t total) override { m_total = total; }

    int Append(std::span<const uint8_t> bytes) override {
        if (m_result != 0)
            return 0;
        if (m_headRead)
            return TakeFileBytes(bytes);
        m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
        if (m_buffer.size() < std::min(m_total, kHeadMax))
            return 0;
        StartFile();
        return 0;
    }

    WireMessage Finish() override {
        if (m_result == 0 && !m_headRead)
            m_result = kErrorEndOfStream;
        if (m_result == 0)
            m_result = CommitFile();
        return WireMessage::Status(m_result);
    }

private:
    // The fields before the file are all there: the file is refused, or begun with what came after them.
    void StartFile() {
        SentFileHead head;
        // The payload must hold the whole file the fields announce.
        if (!ReadHead(m_buffer, head) || m_total - head.size < head.length) {
            m_result = kErrorEndOfStream;
            return;
        }
        const auto resolved = m_policy.Resolve(head.target, PathPolicy::Access::Write);
        if (!resolved) {
            m_result = kErrorInvalidPath;
            return;
        }
        m_head = head;
        m_target = *resolved;
        m_result = m_file.Begin(m_target, true);
        if (m_result != 0)
            return;
        m_headRead = true;
        std::vector<uint8_t> received = std::move(m_buffer);
        m_buffer.clear();
        m_buffer.reserve(std::min<size_t>(kWriteSize, head.length));
        m_result = TakeFileBytes(std::span(received).subspan(head.size));
    }

    // Bytes past the announced length are not the file's.
    int TakeFileBytes(std::span<const uint8_t> bytes) {
        const size_t wanted = std::min<size_t>(bytes.size(), m_head.length - m_taken);
        m_taken += wanted;
        for (size_t done = 0; done < wanted;) {
            const size_t length = std::min(wanted - done, kWriteSize - m_buffer.size());
            m_buffer.insert(m_buffer.end(), bytes.begin() + done, bytes.begin() + done + length);
            done += length;
            if (m_buffer.size() == kWriteSize) {
                if (const int result = WriteBuffered())
                    return m_result = result;
            }
        }
        return 0;
    }

    int WriteBuffered() {
        const int result = m_file.Write(m_buffer.data(), static_cast<uint32_t>(m_buffer.size()));
        m_buffer.clear();
        return result;
    }

    int CommitFile() {
        if (m_taken != m_head.length)
            return kErrorEndOfStream;
        if (const int result = WriteBuffered())
            return result;
        if (const int result = m_file.Commit())
            return result;
        return SetFileModTime(m_target, m_head.modTime, true);
    }

    const PathPolicy& m_policy;
    size_t m_total = 0;
    std::vector<uint8_t> m_buffer; // the fields before the file, then the file's bytes not yet written
    bool m_headRead = false;
    SentFileHead m_head;
    AString m_target;
    AReplacingFile m_file;
    size_t m_taken = 0;
    int m_result = 0; // once set, the rest of the payload is only read
};

} // namespace

std::unique_ptr<RequestStream> CopyWithProgressRemoteHandler::OpenStream() {
    return std::make_unique<SentFileStream>(*m_policy);
}

WireMessage CopyWithProgressRemoteHandler::Serve(std::span<const uint8_t> payload) {
    SentFileStream stream(*m_policy);
    stream.Begin(payload.size());
    stream.Append(payload);
    return stream.Finish();
}
