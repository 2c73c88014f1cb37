#include "foundation/RecordIO.h"

#include "foundation/AFile.h"
#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"

#include <new>

namespace recordio {

int WriteU16(AFile& stream, uint16_t value) {
    uint8_t bytes[2];
    StoreLE16(bytes, value);
    return stream.Write(bytes, sizeof bytes);
}

int WriteU32(AFile& stream, uint32_t value) {
    uint8_t bytes[4];
    StoreLE32(bytes, value);
    return stream.Write(bytes, sizeof bytes);
}

int WriteU64(AFile& stream, uint64_t value) {
    uint8_t bytes[8];
    StoreLE64(bytes, value);
    return stream.Write(bytes, sizeof bytes);
}

int ReadU16(AFile& stream, uint16_t& value) {
    uint8_t bytes[2];
    const int result = stream.Read(bytes, sizeof bytes);
    if (result == 0)
        value = LoadLE16(bytes);
    return result;
}

int ReadU32(AFile& stream, uint32_t& value) {
    uint8_t bytes[4];
    const int result = stream.Read(bytes, sizeof bytes);
    if (result == 0)
        value = LoadLE32(bytes);
    return result;
}

int ReadU64(AFile& stream, uint64_t& value) {
    uint8_t bytes[8];
    const int result = stream.Read(bytes, sizeof bytes);
    if (result == 0)
        value = LoadLE64(bytes);
    return result;
}

int ReadVersion(AFile& stream, uint32_t expected) {
    uint32_t version = 0;
    if (const int result = ReadU32(stream, version))
        return result;
    return version == expected ? 0 : kErrorVersion;
}

int CheckRemaining(const AFile& stream, uint64_t length) {
    return length <= stream.BytesRemaining() ? 0 : stream.ShortReadError();
}

int ReadBytes(AFile& stream, uint64_t length, std::vector<uint8_t>& bytes, int noMemoryCode) {
    if (length > UINT32_MAX)
        return noMemoryCode;
    try {
        bytes.resize(length);
    } catch (const std::bad_alloc&) {
        return noMemoryCode;
    }
    return length == 0 ? 0 : stream.Read(bytes.data(), static_cast<uint32_t>(length));
}

} // namespace recordio
