#pragma once
// Request payloads built field by field, as a client writes them.

#include "foundation/AMemFile.h"
#include "foundation/AString.h"
#include "foundation/RecordIO.h"

#include <string>
#include <vector>

class RequestPayload {
public:
    RequestPayload& Text(const std::string& text) {
        AString(text).Serialize(m_stream);
        return *this;
    }
    RequestPayload& U32(uint32_t value) {
        recordio::WriteU32(m_stream, value);
        return *this;
    }
    RequestPayload& U64(uint64_t value) {
        recordio::WriteU64(m_stream, value);
        return *this;
    }
    RequestPayload& Raw(const std::vector<uint8_t>& bytes) {
        m_stream.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
        return *this;
    }
    std::vector<uint8_t> Get() const {
        return std::vector<uint8_t>(m_stream.GetBuffer(), m_stream.GetBuffer() + m_stream.GetSize());
    }

private:
    AMemFile m_stream;
};

// A file sent to the server (3002): `claimedLength` may differ from the bytes that follow.
inline std::vector<uint8_t> SendFilePayload(const std::string& target, const std::vector<uint8_t>& bytes,
                                            uint64_t modTime, uint32_t claimedLength) {
    return RequestPayload()
        .U32(1)
        .U64(modTime)
        .Text("Song.mp3")
        .Text(target)
        .U32(claimedLength)
        .Raw(bytes)
        .Get();
}
