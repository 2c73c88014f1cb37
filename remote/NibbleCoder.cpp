#include "remote/NibbleCoder.h"

#include <algorithm>

namespace {

constexpr uint32_t kOneNibbleRanks = 15;
constexpr uint8_t kEscape = 0;

// The code of each byte value: a one-nibble code (1 to 15) or a two-nibble one (0, then 1 to 15); 0 where
// the value has none. A value ranked more than once keeps the last code of each kind.
struct CodeMap {
    std::array<uint8_t, 256> oneNibble{};
    std::array<uint8_t, 256> twoNibble{};
};

CodeMap MapCodes(const NibbleCoder::Table& table) {
    CodeMap map;
    for (uint32_t rank = 1; rank <= NibbleCoder::kTableSize; ++rank) {
        const uint8_t value = table[rank - 1];
        if (rank <= kOneNibbleRanks)
            map.oneNibble[value] = static_cast<uint8_t>(rank);
        else
            map.twoNibble[value] = static_cast<uint8_t>(rank - kOneNibbleRanks);
    }
    return map;
}

class NibbleWriter {
public:
    explicit NibbleWriter(std::vector<uint8_t>& out) : m_out(out) {}
    void Put(uint8_t nibble) {
        if (m_high)
            m_out.push_back(static_cast<uint8_t>(nibble << 4));
        else
            m_out.back() |= nibble;
        m_high = !m_high;
    }

private:
    std::vector<uint8_t>& m_out;
    bool m_high = true;
};

class NibbleReader {
public:
    explicit NibbleReader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}
    bool Get(uint8_t& nibble) {
        if (m_next / 2 >= m_bytes.size())
            return false;
        const uint8_t byte = m_bytes[m_next / 2];
        nibble = (m_next % 2 == 0) ? byte >> 4 : byte & 0x0F;
        ++m_next;
        return true;
    }

private:
    std::span<const uint8_t> m_bytes;
    size_t m_next = 0;
};

} // namespace

NibbleCoder::Table NibbleCoder::BuildNibbleTable(std::span<const uint8_t> data) {
    std::array<uint32_t, 256> counts{};
    for (const uint8_t byte : data) {
        if (counts[byte] != UINT32_MAX)
            ++counts[byte];
    }
    Table table{};
    uint8_t chosen = 0;
    for (uint8_t& entry : table) {
        // max_element keeps the first of equal counts, which is the lower value.
        const auto most = std::max_element(counts.begin(), counts.end());
        if (*most > 0) {
            chosen = static_cast<uint8_t>(most - counts.begin());
            *most = 0;
        }
        entry = chosen;
    }
    return table;
}

std::vector<uint8_t> NibbleCoder::NibbleEncode(std::span<const uint8_t> data) {
    const Table table = BuildNibbleTable(data);
    const CodeMap codes = MapCodes(table);
    std::vector<uint8_t> block(table.begin(), table.end());
    block.reserve(kTableSize + data.size() * 2);
    NibbleWriter writer(block);
    for (const uint8_t byte : data) {
        if (codes.oneNibble[byte] != 0) {
            writer.Put(codes.oneNibble[byte]);
        } else if (codes.twoNibble[byte] != 0) {
            writer.Put(kEscape);
            writer.Put(codes.twoNibble[byte]);
        } else {
            writer.Put(kEscape);
            writer.Put(kEscape);
            writer.Put(byte >> 4);
            writer.Put(byte & 0x0F);
        }
    }
    return block;
}

std::optional<std::vector<uint8_t>> NibbleCoder::NibbleDecode(std::span<const uint8_t> block,
                                                              uint32_t unpackedLength) {
    if (block.size() < kTableSize)
        return std::nullopt;
    const std::span<const uint8_t> stream = block.subspan(kTableSize);
    // Every byte takes one nibble at least: a longer claim cannot be met, and is not allocated.
    if (unpackedLength > stream.size() * 2)
        return std::nullopt;
    NibbleReader reader(stream);
    std::vector<uint8_t> out;
    out.reserve(unpackedLength);
    while (out.size() < unpackedLength) {
        uint8_t first = 0;
        uint8_t second = 0;
        if (!reader.Get(first))
            return std::nullopt;
        if (first != kEscape) {
            out.push_back(block[first - 1]);
            continue;
        }
        if (!reader.Get(second))
            return std::nullopt;
        if (second != kEscape) {
            out.push_back(block[second + kOneNibbleRanks - 1]);
            continue;
        }
        uint8_t high = 0;
        uint8_t low = 0;
        if (!reader.Get(high) || !reader.Get(low))
            return std::nullopt;
        out.push_back(static_cast<uint8_t>((high << 4) | low));
    }
    return out;
}
