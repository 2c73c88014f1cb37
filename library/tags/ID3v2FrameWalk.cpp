#include "library/tags/ID3v2FrameWalk.h"

#include "foundation/ByteOrder.h"
#include "library/tags/ID3v2Header.h"

#include <algorithm>
#include <cstring>

bool ID3v2Frame::Is(const char* frameId) const {
    return std::strcmp(id, frameId) == 0;
}

ID3v2FrameWalk::ID3v2FrameWalk(const uint8_t* body, uint64_t size, int version, uint64_t start)
    : m_body(body), m_size(size), m_headerLength(HeaderLength(version)), m_offset(std::min(start, size)) {
    if (version == 4)
        m_synchsafe = WalksCleanly(true) || !WalksCleanly(false);
}

bool ID3v2FrameWalk::IsFrameId(uint64_t offset) const {
    const uint32_t idLength = m_headerLength == kHeaderLengthV22 ? 3 : 4;
    for (uint32_t i = 0; i < idLength; ++i) {
        const uint8_t c = m_body[offset + i];
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

ID3v2FrameWalk::Landing ID3v2FrameWalk::Look(uint64_t offset, bool synchsafe, ID3v2Frame* frame) const {
    if (offset >= m_size || m_body[offset] == 0)
        return Landing::End;
    if (m_headerLength > m_size - offset)
        return Landing::Broken;
    const uint8_t* header = m_body + offset;
    uint64_t size = 0;
    if (m_headerLength == kHeaderLengthV22)
        size = LoadBE24(header + 3);
    else if (!synchsafe)
        size = LoadBE32(header + 4);
    else if (ID3v2Header::IsSynchsafe(header + 4))
        size = ID3v2Header::ReadSynchsafe32(header + 4);
    else
        return Landing::Broken;
    if (size > m_size - offset - m_headerLength)
        return Landing::Broken;
    if (frame) {
        const uint32_t idLength = m_headerLength == kHeaderLengthV22 ? 3 : 4;
        std::memcpy(frame->id, header, idLength);
        frame->id[idLength] = 0;
        frame->offset = offset;
        frame->headerLength = m_headerLength;
        frame->size = size;
        frame->formatFlags = m_headerLength == kHeaderLengthV22 ? 0 : header[9];
    }
    return Landing::Frame;
}

bool ID3v2FrameWalk::WalksCleanly(bool synchsafe) const {
    ID3v2Frame frame;
    uint64_t offset = m_offset;
    for (;;) {
        const Landing landing = Look(offset, synchsafe, &frame);
        if (landing != Landing::Frame)
            return landing == Landing::End;
        if (!IsFrameId(offset))
            return false;
        offset = frame.BodyOffset() + frame.size;
    }
}

bool ID3v2FrameWalk::Next(ID3v2Frame& frame) {
    if (Look(m_offset, m_synchsafe, &frame) != Landing::Frame)
        return false;
    m_offset = frame.BodyOffset() + frame.size;
    return true;
}

uint64_t ID3v2FrameWalk::SkipToEnd() {
    ID3v2Frame frame;
    while (Next(frame)) {
    }
    return m_offset;
}
