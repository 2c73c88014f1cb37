#pragma once
// The body of an ID3v2 tag, read from the song file only where it is looked at: the frame headers and
// the frames the record uses, so that the image bytes of a picture stay in the file. The body is read
// in blocks, each once; no byte may be looked at before Ensure made it present.

#include "library/tags/ID3v2FrameWalk.h"

#include <cstdint>
#include <memory>
#include <vector>

class AFile;

class ID3v2TagBody : public ID3v2BodySource {
public:
    static constexpr uint64_t kBlockLength = 4096;

    // The body of `size` bytes at `position` of the stream, which holds them. 0, or -108 when there
    // is no memory for it.
    int Allocate(AFile& stream, uint64_t position, uint32_t size);
    bool Ensure(uint64_t offset, uint64_t length) override;

    const uint8_t* Data() const { return m_bytes.get(); }
    uint64_t Size() const { return m_size; }
    // The code of the first read that failed, or 0.
    int Error() const { return m_error; }

private:
    bool ReadBlocks(uint64_t first, uint64_t count);

    AFile* m_stream = nullptr;
    uint64_t m_position = 0;
    uint64_t m_size = 0;
    std::unique_ptr<uint8_t[]> m_bytes;
    std::vector<bool> m_blockRead;
    int m_error = 0;
};
