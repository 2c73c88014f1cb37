#include "remote/WireBase64.h"

#include <array>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define ORVANTIS_BASE64_SSSE3 1
#endif

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

#ifdef ORVANTIS_BASE64_SSSE3
// Sixteen characters or twelve bytes at a time where the processor has SSSE3. Each step reads and
// writes 16 bytes, so the loops stop while a whole step still fits the caller's buffers; the scalar
// code takes the rest, and always the last group with its padding.
constexpr size_t kSimdBytes = 12;
constexpr size_t kSimdChars = 16;

bool HasSsse3() {
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}

// Validity as two nibble lookups: a character is valid when the bits of its low nibble and of its high
// nibble share none. Each high nibble has a class bit; a low nibble carries the bits of the classes in
// which it is not valid.
struct NibbleClasses {
    std::array<uint8_t, 16> low{};
    std::array<uint8_t, 16> high{};
};

constexpr bool InAlphabet(int character) {
    for (uint32_t value = 0; value < 64; ++value) {
        if (static_cast<uint8_t>(kAlphabet[value]) == character)
            return true;
    }
    return false;
}

constexpr NibbleClasses BuildNibbleClasses() {
    constexpr uint8_t kNeverValid = 0x80;
    NibbleClasses classes;
    uint8_t nextBit = 1;
    for (int high = 0; high < 16; ++high) {
        classes.high[high] = kNeverValid;
        for (int low = 0; low < 16; ++low) {
            if (InAlphabet((high << 4) | low))
                classes.high[high] = nextBit;
        }
        if (classes.high[high] != kNeverValid)
            nextBit = static_cast<uint8_t>(nextBit << 1);
    }
    for (int low = 0; low < 16; ++low) {
        classes.low[low] = kNeverValid;
        for (int high = 0; high < 16; ++high) {
            if (classes.high[high] != kNeverValid && !InAlphabet((high << 4) | low))
                classes.low[low] |= classes.high[high];
        }
    }
    return classes;
}

constexpr NibbleClasses kNibbleClasses = BuildNibbleClasses();
// What to add to a character to get its value, by its high nibble; '/' takes the entry before its own.
constexpr int8_t kRoll[16] = {0, 16, 19, 4, -65, -65, -71, -71, 0, 0, 0, 0, 0, 0, 0, 0};
// What to add to a value to get its character, by its range (see EncodeSsse3).
constexpr int8_t kShift[16] = {71, -4, -4, -4, -4, -4, -4, -4, -4, -4, -4, -19, -16, 65, 0, 0};

__attribute__((target("ssse3"))) size_t EncodeSsse3(const uint8_t* in, size_t length, uint8_t* out) {
    const __m128i spread = _mm_setr_epi8(1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10);
    const __m128i shift = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kShift));
    size_t done = 0;
    for (; length - done >= kSimdChars; done += kSimdBytes, out += kSimdChars) {
        // Each 32-bit lane takes bytes b1 b0 b2 b1; multiplies move the four 6-bit fields of b0 b1 b2
        // into the lane's four bytes, first field first.
        const __m128i lanes =
            _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + done)), spread);
        const __m128i high =
            _mm_mulhi_epu16(_mm_and_si128(lanes, _mm_set1_epi32(0x0FC0FC00)), _mm_set1_epi32(0x04000040));
        const __m128i low =
            _mm_mullo_epi16(_mm_and_si128(lanes, _mm_set1_epi32(0x003F03F0)), _mm_set1_epi32(0x01000010));
        const __m128i values = _mm_or_si128(high, low);
        // Ranges: 0-25 "A"-"Z" (13), 26-51 "a"-"z" (0), 52-61 digits (1-10), 62 "+" (11), 63 "/" (12).
        __m128i range = _mm_subs_epu8(values, _mm_set1_epi8(51));
        range =
            _mm_or_si128(range, _mm_and_si128(_mm_cmpgt_epi8(_mm_set1_epi8(26), values), _mm_set1_epi8(13)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                         _mm_add_epi8(_mm_shuffle_epi8(shift, range), values));
    }
    return done;
}

// Decodes while a whole step stays inside the text and the output; the characters done, or the
// characters before a block with a character outside the alphabet.
__attribute__((target("ssse3"))) size_t DecodeSsse3(const uint8_t* in, size_t length, uint8_t* out) {
    const __m128i lowClasses = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kNibbleClasses.low.data()));
    const __m128i highClasses = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kNibbleClasses.high.data()));
    const __m128i roll = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kRoll));
    const __m128i gather = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    // A further group must follow each block: it keeps the 16-byte store inside the output.
    constexpr size_t kReserve = kSimdChars + 8;
    size_t done = 0;
    for (; length - done >= kReserve; done += kSimdChars, out += kSimdBytes) {
        const __m128i text = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + done));
        const __m128i high = _mm_and_si128(_mm_srli_epi32(text, 4), _mm_set1_epi8(0x0F));
        const __m128i low = _mm_and_si128(text, _mm_set1_epi8(0x0F));
        const __m128i clash =
            _mm_and_si128(_mm_shuffle_epi8(lowClasses, low), _mm_shuffle_epi8(highClasses, high));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(clash, _mm_setzero_si128())) != 0xFFFF)
            return done;
        const __m128i slash = _mm_cmpeq_epi8(text, _mm_set1_epi8('/'));
        const __m128i values = _mm_add_epi8(text, _mm_shuffle_epi8(roll, _mm_add_epi8(slash, high)));
        // Pairs of 6-bit values into 12 bits, pairs of those into 24 bits, then the three bytes of
        // each lane in order.
        const __m128i pairs = _mm_maddubs_epi16(values, _mm_set1_epi32(0x01400140));
        const __m128i lanes = _mm_madd_epi16(pairs, _mm_set1_epi32(0x00011000));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(lanes, gather));
    }
    return done;
}
#endif
} // namespace

void Encode(std::span<const uint8_t> data, uint8_t* out) {
    const uint8_t* in = data.data();
    size_t left = data.size();
#ifdef ORVANTIS_BASE64_SSSE3
    if (HasSsse3()) {
        const size_t done = EncodeSsse3(in, left, out);
        in += done;
        left -= done;
        out += done / 3 * 4;
    }
#endif
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
    size_t decoded = 0;
#ifdef ORVANTIS_BASE64_SSSE3
    if (HasSsse3()) {
        const size_t done = DecodeSsse3(in, text.size(), out);
        in += done;
        out += done / 4 * 3;
        decoded = done / 4 * 3;
    }
#endif
    const size_t fullGroups = (text.size() - (in - text.data())) / 4 - 1;
    uint32_t invalid = 0;
    for (size_t group = 0; group < fullGroups; ++group, in += 4, out += 3) {
        const uint32_t bits = GroupBits(in);
        invalid |= bits;
        StoreBytes(bits, out, 3);
    }
    if (invalid & kInvalid)
        return -1;
    const long last = DecodeLastGroup(in, out);
    return last < 0 ? -1 : static_cast<long>(decoded + fullGroups * 3) + last;
}

} // namespace wirebase64
