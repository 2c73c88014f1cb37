#include "remote/PayloadPacking.h"

#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "remote/LzwCoder.h"
#include "remote/NibbleCoder.h"

namespace payloadpacking {
namespace {

constexpr uint32_t kNoNibbleStage = 0xFFFFFFFF;
constexpr size_t kLengthWordSize = 4;
// Shorter inputs cannot win back the nibble table.
constexpr size_t kMinNibbleInput = 61;

void AppendU32(std::vector<uint8_t>& out, uint32_t value) {
    uint8_t word[kLengthWordSize];
    StoreLE32(word, value);
    out.insert(out.end(), word, word + kLengthWordSize);
}

} // namespace

std::vector<uint8_t> PackNibbleLzw(std::span<const uint8_t> source) {
    std::vector<uint8_t> nibbles;
    if (source.size() >= kMinNibbleInput)
        nibbles = NibbleCoder::NibbleEncode(source);
    const bool nibblesPay = !nibbles.empty() && nibbles.size() < source.size();
    std::vector<uint8_t> out;
    AppendU32(out, nibblesPay ? static_cast<uint32_t>(nibbles.size()) : kNoNibbleStage);
    const std::vector<uint8_t> stream =
        LzwCoder::LzwEncode(nibblesPay ? std::span<const uint8_t>(nibbles) : source);
    out.insert(out.end(), stream.begin(), stream.end());
    return out;
}

std::optional<std::vector<uint8_t>> UnpackNibbleLzw(std::span<const uint8_t> source,
                                                    uint32_t unpackedLength) {
    if (source.size() < kLengthWordSize)
        return std::nullopt;
    const uint32_t nibbleSize = LoadLE32(source.data());
    const std::span<const uint8_t> stream = source.subspan(kLengthWordSize);
    if (nibbleSize == kNoNibbleStage)
        return LzwCoder::LzwDecode(stream, unpackedLength);
    const auto block = LzwCoder::LzwDecode(stream, nibbleSize);
    if (!block)
        return std::nullopt;
    return NibbleCoder::NibbleDecode(*block, unpackedLength);
}

int CompressBuffer(int method, std::span<const uint8_t> source, std::vector<uint8_t>& destination) {
    switch (method) {
    case kMethodLzw:
        destination = LzwCoder::LzwEncode(source);
        break;
    case kMethodNibble:
        destination = NibbleCoder::NibbleEncode(source);
        break;
    case kMethodNibbleLzw:
        destination = PackNibbleLzw(source);
        break;
    default:
        return kErrorEndOfStream;
    }
    return static_cast<int>(destination.size());
}

std::optional<std::vector<uint8_t>> DecompressBuffer(int method, std::span<const uint8_t> source,
                                                     uint32_t unpackedLength) {
    switch (method) {
    case kMethodLzw:
        return LzwCoder::LzwDecode(source, unpackedLength);
    case kMethodNibble:
        return NibbleCoder::NibbleDecode(source, unpackedLength);
    case kMethodNibbleLzw:
        return UnpackNibbleLzw(source, unpackedLength);
    default:
        return std::nullopt;
    }
}

std::optional<std::vector<uint8_t>> PackMessage(std::span<const uint8_t> payload) {
    std::vector<uint8_t> packed;
    AppendU32(packed, static_cast<uint32_t>(payload.size()));
    const std::vector<uint8_t> block = PackNibbleLzw(payload);
    if (packed.size() + block.size() >= payload.size())
        return std::nullopt;
    packed.insert(packed.end(), block.begin(), block.end());
    return packed;
}

std::optional<std::vector<uint8_t>> UnpackMessage(std::span<const uint8_t> packed) {
    if (packed.size() < kLengthWordSize)
        return std::nullopt;
    const auto unpackedLength = static_cast<int32_t>(LoadLE32(packed.data()));
    if (unpackedLength <= 0)
        return std::vector<uint8_t>();
    if (static_cast<uint32_t>(unpackedLength) > kMaxUnpackedLength)
        return std::nullopt;
    return UnpackNibbleLzw(packed.subspan(kLengthWordSize), static_cast<uint32_t>(unpackedLength));
}

} // namespace payloadpacking
