#include "library/tags/ID3v2TagBody.h"

#include "foundation/AFile.h"
#include "foundation/ErrorCodes.h"

#include <algorithm>
#include <new>

int ID3v2TagBody::Allocate(AFile& stream, uint64_t position, uint32_t size) {
    m_stream = &stream;
    m_position = position;
    m_size = size;
    m_error = 0;
    try {
        // Not filled: the pages of what is never read are never touched.
        m_bytes = std::make_unique_for_overwrite<uint8_t[]>(size);
        m_blockRead.assign((size + kBlockLength - 1) / kBlockLength, false);
    } catch (const std::bad_alloc&) {
        return kErrorOutOfMemory;
    }
    return 0;
}

bool ID3v2TagBody::Ensure(uint64_t offset, uint64_t length) {
    if (m_error != 0 || offset > m_size || length > m_size - offset)
        return false;
    if (length == 0)
        return true;
    const uint64_t last = (offset + length - 1) / kBlockLength;
    for (uint64_t block = offset / kBlockLength; block <= last; ++block) {
        if (m_blockRead[block])
            continue;
        // One read for the whole run of blocks not read yet.
        uint64_t end = block + 1;
        while (end <= last && !m_blockRead[end])
            ++end;
        if (!ReadBlocks(block, end - block))
            return false;
        block = end - 1;
    }
    return true;
}

bool ID3v2TagBody::ReadBlocks(uint64_t first, uint64_t count) {
    const uint64_t start = first * kBlockLength;
    const uint64_t length = std::min(count * kBlockLength, m_size - start);
    if (const int result = m_stream->Seek(m_position + start)) {
        m_error = result;
        return false;
    }
    if (const int result = m_stream->Read(m_bytes.get() + start, static_cast<uint32_t>(length))) {
        m_error = result;
        return false;
    }
    std::fill(m_blockRead.begin() + static_cast<std::ptrdiff_t>(first),
              m_blockRead.begin() + static_cast<std::ptrdiff_t>(first + count), true);
    return true;
}
