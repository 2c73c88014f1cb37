#include "remote/LzwCoder.h"

#include <array>
#include <memory>

namespace {

constexpr int kCodeBits = 12;
constexpr uint32_t kDictionarySize = LzwCoder::kLastCode + 1;

class CodeWriter {
public:
    explicit CodeWriter(std::vector<uint8_t>& out) : m_out(out) {}
    void Put(uint16_t code) {
        m_bits = (m_bits << kCodeBits) | code;
        m_count += kCodeBits;
        while (m_count >= 8) {
            m_count -= 8;
            m_out.push_back(static_cast<uint8_t>(m_bits >> m_count));
        }
    }
    void Finish() {
        if (m_count > 0)
            m_out.push_back(static_cast<uint8_t>(m_bits << (8 - m_count)));
        m_count = 0;
    }

private:
    std::vector<uint8_t>& m_out;
    uint32_t m_bits = 0;
    int m_count = 0;
};

class CodeReader {
public:
    explicit CodeReader(std::span<const uint8_t> in) : m_in(in) {}
    bool Get(uint16_t& code) {
        while (m_count < kCodeBits) {
            if (m_next == m_in.size())
                return false;
            m_bits = (m_bits << 8) | m_in[m_next++];
            m_count += 8;
        }
        m_count -= kCodeBits;
        code = static_cast<uint16_t>((m_bits >> m_count) & 0xFFF);
        return true;
    }
    // Codes the input can still hold: the most it could ever yield.
    size_t CodesLeft() const { return ((m_in.size() - m_next) * 8 + m_count) / kCodeBits; }

private:
    std::span<const uint8_t> m_in;
    size_t m_next = 0;
    uint32_t m_bits = 0;
    int m_count = 0;
};

// The encoder's dictionary: open addressing over 5021 slots, probing downwards by a step that the key
// gives, one probe sequence per input byte.
class StringTable {
public:
    static constexpr int kSlots = 5021;

    StringTable() { Clear(); }
    void Clear() {
        for (Slot& slot : m_slots)
            slot.code = kEmpty;
    }
    // The slot holding (prefix, byte), or the empty slot where it belongs.
    int Find(uint16_t prefix, uint8_t byte) const {
        int slot = (int(byte) << 4) ^ prefix;
        const int step = slot == 0 ? 1 : kSlots - slot;
        while (m_slots[slot].code != kEmpty &&
               (m_slots[slot].prefix != prefix || m_slots[slot].byte != byte)) {
            slot -= step;
            if (slot < 0)
                slot += kSlots;
        }
        return slot;
    }
    bool IsEmpty(int slot) const { return m_slots[slot].code == kEmpty; }
    uint16_t CodeAt(int slot) const { return m_slots[slot].code; }
    void Store(int slot, uint16_t code, uint16_t prefix, uint8_t byte) {
        m_slots[slot] = {code, prefix, byte};
    }

private:
    static constexpr uint16_t kEmpty = LzwCoder::kClearCode;
    struct Slot {
        uint16_t code;
        uint16_t prefix;
        uint8_t byte;
    };
    std::array<Slot, kSlots> m_slots;
};

// The decoder's dictionary: each code's last byte, its prefix code, its length and its first byte.
class Dictionary {
public:
    Dictionary() {
        for (uint32_t code = 0; code < 256; ++code)
            m_entries[code] = {0, static_cast<uint8_t>(code), static_cast<uint8_t>(code), 1};
    }
    void Clear() { m_next = LzwCoder::kFirstStringCode; }
    bool Knows(uint16_t code) const {
        return code < 256 || (code >= LzwCoder::kFirstStringCode && code < m_next);
    }
    uint16_t NextCode() const { return static_cast<uint16_t>(m_next); }
    bool Define(uint16_t prefix, uint8_t byte) {
        if (m_next >= kDictionarySize)
            return false;
        const Entry& base = m_entries[prefix];
        m_entries[m_next++] = {prefix, byte, base.first, base.length + 1};
        return true;
    }
    uint8_t FirstByte(uint16_t code) const { return m_entries[code].first; }
    uint32_t Length(uint16_t code) const { return m_entries[code].length; }
    // Writes the code's string, last byte first, into the `Length` bytes at `out`.
    void Spell(uint16_t code, uint8_t* out) const {
        for (uint32_t i = m_entries[code].length; i > 0; --i) {
            out[i - 1] = m_entries[code].last;
            code = m_entries[code].prefix;
        }
    }

private:
    struct Entry {
        uint16_t prefix;
        uint8_t last;
        uint8_t first;
        uint32_t length;
    };
    std::array<Entry, kDictionarySize> m_entries{};
    uint32_t m_next = LzwCoder::kFirstStringCode;
};

// Whether this many codes could ever spell `length` bytes (no string is longer than the dictionary).
bool CouldSpell(size_t codes, uint32_t length) {
    return uint64_t(codes) * kDictionarySize >= length;
}

} // namespace

std::vector<uint8_t> LzwCoder::LzwEncode(std::span<const uint8_t> source) {
    std::vector<uint8_t> out;
    out.reserve(source.size() * 3 / 2 + 8);
    CodeWriter writer(out);
    writer.Put(kClearCode);
    if (source.empty()) {
        writer.Put(kEndCode);
        writer.Finish();
        return out;
    }
    auto table = std::make_unique<StringTable>();
    uint16_t lastCode = kEndCode;
    uint16_t current = source[0];
    for (size_t i = 1; i < source.size(); ++i) {
        const uint8_t byte = source[i];
        const int slot = table->Find(current, byte);
        if (!table->IsEmpty(slot)) {
            current = table->CodeAt(slot);
            continue;
        }
        table->Store(slot, ++lastCode, current, byte);
        writer.Put(current);
        current = byte;
        if (lastCode == kLastCode) {
            writer.Put(kClearCode);
            table->Clear();
            lastCode = kEndCode;
        }
    }
    writer.Put(current);
    writer.Put(kEndCode);
    writer.Finish();
    return out;
}

std::optional<std::vector<uint8_t>> LzwCoder::LzwDecode(std::span<const uint8_t> source,
                                                        uint32_t unpackedLength) {
    CodeReader reader(source);
    if (!CouldSpell(reader.CodesLeft(), unpackedLength))
        return std::nullopt;
    auto dictionary = std::make_unique<Dictionary>();
    std::vector<uint8_t> out;
    bool havePrevious = false;
    uint16_t previous = 0;
    uint16_t code = 0;
    while (reader.Get(code)) {
        if (code == kEndCode)
            return out.size() == unpackedLength ? std::optional(std::move(out)) : std::nullopt;
        if (code == kClearCode) {
            dictionary->Clear();
            havePrevious = false;
            continue;
        }
        if (havePrevious) {
            // A code one past the dictionary is the string being defined: the previous one and its
            // own first byte.
            if (!dictionary->Knows(code) && code != dictionary->NextCode())
                return std::nullopt;
            const uint8_t first =
                dictionary->Knows(code) ? dictionary->FirstByte(code) : dictionary->FirstByte(previous);
            if (!dictionary->Define(previous, first))
                return std::nullopt;
        } else if (code >= 256) {
            return std::nullopt;
        }
        const uint32_t length = dictionary->Length(code);
        if (length > unpackedLength - out.size())
            return std::nullopt;
        out.resize(out.size() + length);
        dictionary->Spell(code, out.data() + out.size() - length);
        previous = code;
        havePrevious = true;
    }
    return std::nullopt;
}
