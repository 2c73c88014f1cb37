#include "remote/WireBase64.h"

#include <array>
#include <cstring>

namespace wirebase64 {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr uint32_t kInvalid = 0x80000000u;
constexpr uint8_t kPad = '=';

// Two characters for every 12 bits.
constexpr std::array<std::array<uint8_t, 2>, 4096> BuildPairs() {
    std::array<std::array<uint8_t, 2>, 4096> pairs{};
    for (size_t i = 0; i < pairs.size(); ++i)
        pairs[i] = {static_cast<uint8_t>(kAlphabet[i >> 6]), static_cast<uint8_t>(kAlphabet[i & 63])};
    return pairs;
}

// The six bits of a character at its place in a group of four, or kInvalid.
constexpr std::array<uint32_t, 256> BuildPlace(int shift) {
    std::array<uint32_t, 256> table{};
    table.fill(kInvalid);
    for (uint32_t value = 0; value < 64; ++value)
        table[static_cast<uint8_t>(kAlphabet[value])] = value << shift;
    return table;
}

constexpr auto kPairs = BuildPairs();
constexpr auto kPlace0 = BuildPlace(18);
constexpr auto kPlace1 = BuildPlace(12);
constexpr auto kPlace2 = BuildPlace(6);
constexpr auto kPlace3 = BuildPlace(0);

uint32_t GroupBits(const uint8_t* group) {
    return kPlace0[group[0]] | kPlace1[group[1]] | kPlace2[group[2]] | kPlace3[group[3]];
}

void StoreBytes(uint32_t bits, uint8_t* out, size_t count) {
    const uint8_t bytes[3] = {static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 8),
                              static_cast<uint8_t>(bits)};
    std::memcpy(out, bytes, count);
}

// The last group may end in "=" or "==".
long DecodeLastGroup(const uint8_t* group, uint8_t* out) {
    if (group[3] != kPad) {
        const uint32_t bits = GroupBits(group);
        if (bits & kInvalid)
            return -1;
        StoreBytes(bits, out, 3);
        return 3;
    }
    const bool twoPads = group[2] == kPad;
    const uint32_t bits = kPlace0[group[0]] | kPlace1[group[1]] | (twoPads ? 0 : kPlace2[group[2]]);
    if (bits & kInvalid)
        return -1;
    StoreBytes(bits, out, twoPads ? 1 : 2);
    return twoPads ? 1 : 2;
}

} // namespace

void Encode(std::span<const uint8_t> data, uint8_t* out) {
    const uint8_t* in = data.data();
    size_t left = data.size();
    for (; left >= 3; left -= 3, in += 3, out += 4) {
        const uint32_t bits = (uint32_t(in[0]) << 16) | (uint32_t(in[1]) << 8) | in[2];
        std::memcpy(out, kPairs[bits >> 12].data(), 2);
        std::memcpy(out + 2, kPairs[bits & 0xFFF].data(), 2);
    }
    if (left == 0)
        return;
    const uint32_t bits = (uint32_t(in[0]) << 16) | (left > 1 ? uint32_t(in[1]) << 8 : 0);
    out[0] = static_cast<uint8_t>(kAlphabet[bits >> 18]);
    out[1] = static_cast<uint8_t>(kAlphabet[(bits >> 12) & 63]);
    out[2] = left > 1 ? static_cast<uint8_t>(kAlphabet[(bits >> 6) & 63]) : kPad;
    out[3] = kPad;
}

long Decode(std::span<const uint8_t> text, uint8_t* out) {
    if (text.size() % 4 != 0)
        return -1;
    if (text.empty())
        return 0;
    const uint8_t* in = text.data();
    const size_t fullGroups = text.size() / 4 - 1;
    uint32_t invalid = 0;
    for (size_t group = 0; group < fullGroups; ++group, in += 4, out += 3) {
        const uint32_t bits = GroupBits(in);
        invalid |= bits;
        StoreBytes(bits, out, 3);
    }
    if (invalid & kInvalid)
        return -1;
    const long last = DecodeLastGroup(in, out);
    return last < 0 ? -1 : static_cast<long>(fullGroups * 3) + last;
}

} // namespace wirebase64
