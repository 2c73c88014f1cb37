#include "library/tags/ImageKind.h"

#include "library/tags/ID3.h"

#include <cstring>

namespace {

constexpr uint8_t kJpegSignature[] = {0xFF, 0xD8};
constexpr uint8_t kPngSignature[] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
static_assert(sizeof kPngSignature <= kImageSignatureLength &&
              sizeof kJpegSignature <= kImageSignatureLength);

} // namespace

bool IsJpegData(const uint8_t* data, uint64_t length) {
    return length >= sizeof kJpegSignature && std::memcmp(data, kJpegSignature, sizeof kJpegSignature) == 0;
}

bool IsPngData(const uint8_t* data, uint64_t length) {
    return length >= sizeof kPngSignature && std::memcmp(data, kPngSignature, sizeof kPngSignature) == 0;
}

uint32_t PictureKindOf(const uint8_t* data, uint64_t length) {
    if (IsPngData(data, length))
        return ID3Picture::kPng;
    if (IsJpegData(data, length))
        return ID3Picture::kJpeg;
    return ID3Picture::kOther;
}
