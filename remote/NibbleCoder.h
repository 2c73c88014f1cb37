#pragma once
// The first stage of payload packing: the 30 most frequent byte values get codes of one nibble (ranks
// 1 to 15) or two (ranks 16 to 30); every other byte takes four. A block is the 30-byte table of the
// ranked values, then the nibbles, two to a byte, high half first.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class NibbleCoder {
public:
    static constexpr size_t kTableSize = 30;
    using Table = std::array<uint8_t, kTableSize>;

    // The value of each rank: the most frequent first, the lower value on a tie; once no value is left,
    // each further rank repeats the value chosen last.
    static Table BuildNibbleTable(std::span<const uint8_t> data);
    // The block for `data` (its size is 30 + (nibbles + 1) / 2).
    static std::vector<uint8_t> NibbleEncode(std::span<const uint8_t> data);
    // Exactly `unpackedLength` bytes from a block, or nothing when the block ends first.
    static std::optional<std::vector<uint8_t>> NibbleDecode(std::span<const uint8_t> block,
                                                            uint32_t unpackedLength);
};
