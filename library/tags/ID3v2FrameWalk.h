#pragma once
// Steps over the frames of an ID3v2 tag body. The walk ends at padding, at a header that does not fit
// and at a frame that runs past the body. ID3v2.4 frame sizes are synchsafe in real files, but tags
// written with plain sizes exist too, whole or as frames appended to a synchsafe tag: a tag whose
// plain reading alone walks cleanly is read plain; otherwise each frame takes the synchsafe reading
// unless only the plain one lands on a frame id, padding or the end of the body.

#include "library/tags/ID3v2FrameHeader.h"

#include <cstdint>
#include <optional>

struct ID3v2Frame {
    ID3v2FrameHeader header;
    uint64_t offset = 0; // of the frame header in the body
    uint32_t headerLength = 0;

    uint64_t BodyOffset() const { return offset + headerLength; }
    uint64_t Size() const { return header.Size(); }
    bool Is(const char* frameId) const { return header.Is(frameId); }
};

// Makes bytes of a tag body present before anyone looks at them, for a body that is read from the file
// in pieces. A walk over a body held whole needs none.
class ID3v2BodySource {
public:
    virtual ~ID3v2BodySource() = default;
    // False when the bytes could not be read.
    virtual bool Ensure(uint64_t offset, uint64_t length) = 0;
};

class ID3v2FrameWalk {
public:
    // `source`, when given, is asked for every byte before the walk looks at it.
    ID3v2FrameWalk(const uint8_t* body, uint64_t size, int version, uint64_t start,
                   ID3v2BodySource* source = nullptr);

    bool Next(ID3v2Frame& frame);
    // Where the frames end: the padding, the end of the body or the first frame that does not fit.
    uint64_t Offset() const { return m_offset; }

private:
    enum class SizeRule { Plain, Synchsafe, SynchsafeOrPlain };
    enum class Landing { Frame, End, Broken };

    Landing Look(uint64_t offset, SizeRule rule, ID3v2Frame* frame) const;
    // The header at `offset` read by the rule, or nothing when its frame does not fit.
    std::optional<ID3v2FrameHeader> HeaderAt(uint64_t offset, SizeRule rule) const;
    std::optional<ID3v2FrameHeader> FittingHeaderAt(uint64_t offset, ID3v2FrameHeader::SizeForm form) const;
    bool WalksCleanly(SizeRule rule) const;
    bool IsFrameId(uint64_t offset) const;
    bool LandsWell(uint64_t offset) const;
    bool Have(uint64_t offset, uint64_t length) const {
        return !m_source || m_source->Ensure(offset, length);
    }
    uint64_t PaddingStart() const;

    const uint8_t* m_body;
    uint64_t m_size;
    ID3v2BodySource* m_source;
    int m_version;
    uint32_t m_headerLength;
    uint64_t m_offset;
    SizeRule m_rule = SizeRule::Plain;
    uint64_t m_paddingStart = 0; // where the zeros that end the body begin (ID3v2.4 only)
};
