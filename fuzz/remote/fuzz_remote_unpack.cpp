// The unpackers over damaged input: the first byte chooses one (0 LZW, 1 nibble coder, 2 both, 3 a
// packed message), then a u32 unpacked length (not for 3), then the packed bytes. Whatever comes back
// has exactly the length asked for. The input itself must also survive packing and unpacking by
// every method unchanged.
#include "foundation/ByteOrder.h"
#include "remote/PayloadPacking.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

using namespace payloadpacking;

namespace {

constexpr int kMethods[] = {kMethodLzw, kMethodNibble, kMethodNibbleLzw};
constexpr size_t kLengthSize = 4;

void CheckRoundTrip(std::span<const uint8_t> input) {
    for (const int method : kMethods) {
        std::vector<uint8_t> packed;
        if (CompressBuffer(method, input, packed) < 0)
            std::abort();
        const auto back = DecompressBuffer(method, packed, static_cast<uint32_t>(input.size()));
        if (!back || !std::equal(back->begin(), back->end(), input.begin(), input.end()))
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const std::span<const uint8_t> input(data, size);
    CheckRoundTrip(input);
    const uint8_t selector = data[0] % 4;
    if (selector == 3) {
        UnpackMessage(input.subspan(1));
        return 0;
    }
    if (size < 1 + kLengthSize)
        return 0;
    const uint32_t length = LoadLE32(data + 1);
    const auto unpacked = DecompressBuffer(kMethods[selector], input.subspan(1 + kLengthSize), length);
    if (unpacked && unpacked->size() != length)
        std::abort();
    return 0;
}
