#include "foundation/AMemFile.h"

#include "foundation/ErrorCodes.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {
// Larger than any stream the system builds (payloads stay below 1 GB).
constexpr uint64_t kMaxSize = UINT32_MAX;
} // namespace

AMemFile::AMemFile(uint32_t growBy) : m_growth(growBy) {}

AMemFile::AMemFile(const void* buffer, uint32_t length)
    : m_external(static_cast<const uint8_t*>(buffer)), m_capacity(length), m_size(length) {}

void AMemFile::Free() {
    m_owned.reset();
    m_external = nullptr;
    m_capacity = m_size = m_position = 0;
    m_growth = 0;
}

int AMemFile::Read(void* buffer, uint32_t length, uint32_t* bytesRead) {
    if (bytesRead)
        *bytesRead = 0;
    const uint64_t end = m_position + length;
    const bool available = end <= m_size;
    if (available && length > 0)
        std::memcpy(buffer, GetBuffer() + m_position, length);
    m_position = std::min(end, kMaxSize + 1);
    if (!available)
        return kErrorEndOfStream;
    if (bytesRead)
        *bytesRead = length;
    return 0;
}

bool AMemFile::MakeRoom(uint64_t end) {
    if (m_external)
        return false;
    if (end < m_capacity)
        return true;
    if (end > kMaxSize)
        return false;
    // Growing by at least the current capacity keeps long streams linear in time.
    const uint64_t capacity = std::max(end + m_growth, m_capacity * 2);
    std::unique_ptr<uint8_t[]> grown(new (std::nothrow) uint8_t[capacity]);
    if (!grown)
        return false;
    if (m_position > 0)
        std::memcpy(grown.get(), m_owned.get(), std::min(m_position, m_size));
    m_owned = std::move(grown);
    m_capacity = capacity;
    return true;
}

int AMemFile::Write(const void* buffer, uint32_t length) {
    uint8_t* target = nullptr;
    const int result = Reserve(&target, length);
    if (result == 0 && length > 0)
        std::memcpy(target, buffer, length);
    return result;
}

int AMemFile::Reserve(uint8_t** out, uint32_t length) {
    *out = nullptr;
    const uint64_t end = m_position + length;
    if (!MakeRoom(end))
        return kErrorEndOfStream;
    if (m_position > m_size)
        std::memset(m_owned.get() + m_size, 0, m_position - m_size);
    *out = m_owned.get() + m_position;
    m_position = end;
    m_size = end;
    return 0;
}

int AMemFile::ReadInPlace(const uint8_t** out, uint32_t length) {
    *out = nullptr;
    const uint64_t end = m_position + length;
    const bool available = end <= m_size;
    if (available)
        *out = GetBuffer() + m_position;
    m_position = std::min(end, kMaxSize + 1);
    return available ? 0 : kErrorEndOfStream;
}

int AMemFile::Seek(uint64_t position) {
    if (position > m_size)
        return kErrorSeek;
    m_position = position;
    return 0;
}

int AMemFile::ShortReadError() const {
    return kErrorEndOfStream;
}
