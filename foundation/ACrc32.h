#pragma once
// The standard CRC-32 (reflected polynomial 0xEDB88320, as zlib and PNG use it).

#include "foundation/AString.h"

#include <cstdint>

class ACrc32 {
public:
    void Reset() { m_value = 0xFFFFFFFF; }
    void Update(const void* data, uint32_t length);
    // The text's UTF-16LE bytes, without byte-order mark or terminator.
    void Update(const AString& text);
    // Feeding may go on after it.
    uint32_t GetValue() const { return ~m_value; }

private:
    uint32_t m_value = 0xFFFFFFFF;
};
