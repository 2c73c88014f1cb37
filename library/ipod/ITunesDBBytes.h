#pragma once
// A run of a chunk's bytes: a view into the buffer the tree was read from while it is unchanged, its
// own copy once it is made or changed. A database read keeps one buffer instead of a block per chunk.

#include <cstdint>
#include <memory>
#include <span>

class AFile;

class ITunesDBBytes {
public:
    // A u32 that replaces four bytes on writing (fields computed from the tree: lengths, counts, ids).
    struct Patch {
        uint32_t offset;
        uint32_t value;
    };

    ITunesDBBytes() = default;
    // Bytes that stay the caller's for as long as this exists.
    static ITunesDBBytes View(std::span<const uint8_t> bytes);
    // Zero bytes of its own; empty without memory.
    static ITunesDBBytes Zeros(uint32_t length);
    // Bytes of its own for the caller to fill (through Mutable); empty without memory.
    static ITunesDBBytes Blank(uint32_t length);
    static ITunesDBBytes Copy(std::span<const uint8_t> bytes);

    std::span<const uint8_t> Get() const { return {m_data, m_size}; }
    const uint8_t* data() const { return m_data; }
    uint32_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    // 0 for an offset whose four bytes are not there.
    uint32_t Get32(uint32_t offset) const;
    // The bytes to change, made its own first; empty without memory.
    std::span<uint8_t> Mutable();
    // Makes the bytes its own first. False without memory.
    bool Set32(uint32_t offset, uint32_t value);
    // Grows to `length` with zeros behind the bytes. False without memory.
    bool Extend(uint32_t length);

    // Writes the bytes with the patches (in ascending order of offset) put over them.
    int Write(AFile& stream, std::span<const Patch> patches = {}) const;

private:
    bool MakeOwn();

    const uint8_t* m_data = nullptr;
    uint32_t m_size = 0;
    std::unique_ptr<uint8_t[]> m_own;
};
