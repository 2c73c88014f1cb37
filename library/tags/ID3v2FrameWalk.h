#pragma once
// Steps over the frames of an ID3v2 tag body. The walk ends at padding, at a header that does not fit
// and at a frame that runs past the body. ID3v2.4 frame sizes are synchsafe in real files, but tags
// written with plain sizes exist too: the walk takes the synchsafe reading unless that does not land
// on frame ids or padding and the plain reading does.

#include <cstdint>

struct ID3v2Frame {
    char id[5] = {};     // 3 or 4 characters and a zero
    uint64_t offset = 0; // of the frame header in the body
    uint32_t headerLength = 0;
    uint64_t size = 0;       // bytes after the header
    uint8_t formatFlags = 0; // the second flag byte (ID3v2.3 and ID3v2.4)

    uint64_t BodyOffset() const { return offset + headerLength; }
    bool Is(const char* frameId) const;
};

class ID3v2FrameWalk {
public:
    static constexpr uint32_t kHeaderLengthV22 = 6;
    static constexpr uint32_t kHeaderLengthV23 = 10;

    ID3v2FrameWalk(const uint8_t* body, uint64_t size, int version, uint64_t start);

    bool Next(ID3v2Frame& frame);
    // Where the frames end: the padding, the end of the body or the first frame that does not fit.
    uint64_t Offset() const { return m_offset; }
    // Steps over every frame left; returns where they end.
    uint64_t SkipToEnd();

    static uint32_t HeaderLength(int version) { return version == 2 ? kHeaderLengthV22 : kHeaderLengthV23; }

private:
    enum class Landing { Frame, End, Broken };

    Landing Look(uint64_t offset, bool synchsafe, ID3v2Frame* frame) const;
    bool WalksCleanly(bool synchsafe) const;
    bool IsFrameId(uint64_t offset) const;

    const uint8_t* m_body;
    uint64_t m_size;
    uint32_t m_headerLength;
    uint64_t m_offset;
    bool m_synchsafe = false;
};
