#pragma once
// Where a chunk tree is read from: a buffer the tree keeps (chunks then hold views into it), or a
// stream read piece by piece (what is taken is copied; names mode reads only a few headers so).

#include "library/ipod/ITunesDBBytes.h"

#include <cstdint>
#include <span>

class AFile;

class ITunesDBInput {
public:
    // The buffer must outlive every chunk read from it.
    explicit ITunesDBInput(std::span<const uint8_t> buffer) : m_buffer(buffer) {}
    explicit ITunesDBInput(AFile& stream) : m_stream(&stream) {}

    uint64_t GetPosition() const;
    uint64_t GetLength() const;
    int Seek(uint64_t position);
    // The next `length` bytes (a view into the buffer, or a copy from the stream), the position moved
    // behind them. The caller has checked that they lie within the chunk being read.
    int Take(uint32_t length, ITunesDBBytes& out, int noMemoryCode);
    // The next `length` bytes without keeping them: a view or a copy into `scratch`.
    int Peek(uint32_t length, uint8_t* scratch, const uint8_t*& out);

private:
    std::span<const uint8_t> m_buffer;
    uint64_t m_position = 0;
    AFile* m_stream = nullptr;
};
