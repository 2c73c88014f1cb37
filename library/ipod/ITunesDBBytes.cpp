#include "library/ipod/ITunesDBBytes.h"

#include "foundation/AFile.h"
#include "foundation/ByteOrder.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr uint32_t kFieldLength = 4;

} // namespace

ITunesDBBytes ITunesDBBytes::View(std::span<const uint8_t> bytes) {
    ITunesDBBytes view;
    view.m_data = bytes.data();
    view.m_size = static_cast<uint32_t>(bytes.size());
    return view;
}

ITunesDBBytes ITunesDBBytes::Zeros(uint32_t length) {
    ITunesDBBytes zeros;
    zeros.m_own.reset(new (std::nothrow) uint8_t[std::max<uint32_t>(length, 1)]());
    if (zeros.m_own) {
        zeros.m_data = zeros.m_own.get();
        zeros.m_size = length;
    }
    return zeros;
}

ITunesDBBytes ITunesDBBytes::Blank(uint32_t length) {
    ITunesDBBytes blank;
    blank.m_own.reset(new (std::nothrow) uint8_t[std::max<uint32_t>(length, 1)]);
    if (blank.m_own) {
        blank.m_data = blank.m_own.get();
        blank.m_size = length;
    }
    return blank;
}

ITunesDBBytes ITunesDBBytes::Copy(std::span<const uint8_t> bytes) {
    ITunesDBBytes copy = Blank(static_cast<uint32_t>(bytes.size()));
    if (copy.m_size == bytes.size() && !bytes.empty())
        std::memcpy(copy.m_own.get(), bytes.data(), bytes.size());
    return copy;
}

uint32_t ITunesDBBytes::Get32(uint32_t offset) const {
    return uint64_t{offset} + kFieldLength <= m_size ? LoadLE32(m_data + offset) : 0;
}

bool ITunesDBBytes::MakeOwn() {
    if (m_own)
        return true;
    ITunesDBBytes copy = Copy(Get());
    if (copy.m_size != m_size)
        return false;
    *this = std::move(copy);
    return true;
}

std::span<uint8_t> ITunesDBBytes::Mutable() {
    if (!MakeOwn())
        return {};
    return {m_own.get(), m_size};
}

bool ITunesDBBytes::Set32(uint32_t offset, uint32_t value) {
    if (uint64_t{offset} + kFieldLength > m_size)
        return true;
    if (!MakeOwn())
        return false;
    StoreLE32(m_own.get() + offset, value);
    return true;
}

bool ITunesDBBytes::Extend(uint32_t length) {
    if (length <= m_size)
        return true;
    ITunesDBBytes longer = Zeros(length);
    if (longer.m_size != length)
        return false;
    if (m_size > 0)
        std::memcpy(longer.m_own.get(), m_data, m_size);
    *this = std::move(longer);
    return true;
}

int ITunesDBBytes::Write(AFile& stream, std::span<const Patch> patches) const {
    uint32_t written = 0;
    for (const Patch& patch : patches) {
        if (patch.offset < written || uint64_t{patch.offset} + kFieldLength > m_size)
            continue;
        if (patch.offset > written) {
            if (const int result = stream.Write(m_data + written, patch.offset - written))
                return result;
        }
        uint8_t field[kFieldLength];
        StoreLE32(field, patch.value);
        if (const int result = stream.Write(field, kFieldLength))
            return result;
        written = patch.offset + kFieldLength;
    }
    return written < m_size ? stream.Write(m_data + written, m_size - written) : 0;
}
