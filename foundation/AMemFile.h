#pragma once
// The stream interface over a memory buffer: growable for writing, or over a caller's buffer for
// reading only. Positions are checked in 64-bit arithmetic and never reach outside the buffer.

#include "foundation/AFile.h"

#include <cstdint>
#include <memory>

class AMemFile : public AFile {
public:
    static constexpr uint32_t kDefaultGrowth = 5000;

    explicit AMemFile(uint32_t growBy = kDefaultGrowth);
    // A read stream over bytes that stay the caller's; writing to it fails with -1.
    AMemFile(const void* buffer, uint32_t length);

    void Free();

    int Close(bool) override { return 0; }
    int Flush() override { return 0; }
    // Copies only when all `length` bytes are there; the position advances by `length` either way.
    int Read(void* buffer, uint32_t length, uint32_t* bytesRead) override;
    using AFile::Read;
    int Write(const void* buffer, uint32_t length) override;
    // Hands out `length` writable bytes at the position, then advances.
    int Reserve(uint8_t** out, uint32_t length);
    // Hands out `length` readable bytes at the position, then advances (also when they are not there).
    int ReadInPlace(const uint8_t** out, uint32_t length);

    uint64_t GetPosition() const override { return m_position; }
    uint64_t GetLength() const override { return m_size; }
    int Seek(uint64_t position) override;
    int ShortReadError() const override;

    uint32_t GetSize() const { return static_cast<uint32_t>(m_size); }
    uint64_t GetCapacity() const { return m_capacity; }
    const uint8_t* GetBuffer() const { return m_external ? m_external : m_owned.get(); }

private:
    bool MakeRoom(uint64_t end);

    std::unique_ptr<uint8_t[]> m_owned;
    const uint8_t* m_external = nullptr;
    uint64_t m_capacity = 0;
    uint64_t m_size = 0;
    uint64_t m_position = 0;
    uint32_t m_growth = 0;
};
