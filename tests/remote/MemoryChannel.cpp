#include "MemoryChannel.h"

#include <algorithm>
#include <cstring>

using nativesockets::IoResult;
using nativesockets::IoStatus;

IoStatus MemoryChannel::WaitReadable(const nativesockets::Deadline&) {
    return m_next < m_incoming.size() ? IoStatus::Done : IoStatus::Closed;
}

IoResult MemoryChannel::ReadSome(std::span<uint8_t> buffer, const nativesockets::Deadline&) {
    const size_t count = std::min({buffer.size(), m_chunk, m_incoming.size() - m_next});
    if (count == 0)
        return {IoStatus::Closed, 0};
    std::memcpy(buffer.data(), m_incoming.data() + m_next, count);
    m_next += count;
    return {IoStatus::Done, count};
}

IoResult MemoryChannel::WriteAll(std::span<const uint8_t> bytes, int) {
    written.insert(written.end(), bytes.begin(), bytes.end());
    return {IoStatus::Done, bytes.size()};
}
