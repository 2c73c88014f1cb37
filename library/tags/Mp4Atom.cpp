#include "library/tags/Mp4Atom.h"

#include "foundation/AFile.h"
#include "foundation/ByteOrder.h"

#include <cstring>

namespace {

constexpr uint32_t kSizeInLargeField = 1;

} // namespace

int Mp4Atom::ReadAt(AFile& stream, uint64_t position, uint64_t fileLength, Mp4Atom& atom, bool& valid) {
    valid = false;
    if (position > fileLength || fileLength - position < kHeaderLength)
        return 0;
    uint8_t header[kLargeHeaderLength];
    if (const int result = stream.Seek(position))
        return result;
    if (const int result = stream.Read(header, kHeaderLength))
        return result;
    atom.position = position;
    std::memcpy(atom.type, header + 4, sizeof atom.type);
    atom.size = LoadBE32(header);
    atom.headerLength = kHeaderLength;
    if (atom.size == kSizeInLargeField) {
        if (fileLength - position < kLargeHeaderLength)
            return 0;
        if (const int result = stream.Read(header + kHeaderLength, kLargeHeaderLength - kHeaderLength))
            return result;
        atom.size = LoadBE64(header + kHeaderLength);
        atom.headerLength = kLargeHeaderLength;
    }
    valid = atom.size >= atom.headerLength;
    return 0;
}

bool Mp4Atom::Is(const char* atomType) const {
    return std::memcmp(type, atomType, sizeof type) == 0;
}
