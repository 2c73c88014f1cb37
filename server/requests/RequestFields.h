#pragma once
// Reads the fields of a request payload in order, strictly: a field that is cut short, a text record
// of another version word or a text longer than a record may hold makes the request malformed.

#include "foundation/AMemFile.h"

#include <cstdint>
#include <span>
#include <vector>

class AString;

class RequestFields {
public:
    explicit RequestFields(std::span<const uint8_t> payload);

    bool ReadU8(uint8_t& value);
    bool ReadU32(uint32_t& value);
    bool ReadU64(uint64_t& value);
    // 0; -102389 for a text record of another version word; -1 for any other fault.
    int ReadText(AString& text);
    // The next `length` bytes, when they are all there.
    bool ReadBytes(uint32_t length, std::span<const uint8_t>& bytes);
    // Bytes read so far.
    size_t Position() const { return static_cast<size_t>(m_stream.GetPosition()); }
    bool AtEnd() const { return m_stream.GetPosition() == m_stream.GetSize(); }
    // The stream itself, for a record that reads itself.
    AMemFile& Stream() { return m_stream; }

private:
    AMemFile m_stream;
};

// The bytes written into a memory stream.
std::vector<uint8_t> StreamBytes(const AMemFile& stream);
