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
    if (version != 4)
        return;
    m_paddingStart = m_size;
    while (m_paddingStart > m_offset && m_body[m_paddingStart - 1] == 0)
        --m_paddingStart;
    m_rule = !WalksCleanly(SizeRule::Synchsafe) && WalksCleanly(SizeRule::Plain) ? SizeRule::Plain
                                                                                 : SizeRule::SynchsafeOrPlain;
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

// The end of the body, padding or a frame header.
bool ID3v2FrameWalk::LandsWell(uint64_t offset) const {
    if (offset >= m_paddingStart)
        return true;
    return m_size - offset >= m_headerLength && IsFrameId(offset);
}

std::optional<uint64_t> ID3v2FrameWalk::FrameSize(uint64_t offset, SizeRule rule) const {
    const uint8_t* header = m_body + offset;
    const uint64_t room = m_size - offset - m_headerLength;
    const auto fitting = [room](uint64_t size) {
        return size <= room ? std::optional<uint64_t>(size) : std::nullopt;
    };
    if (m_headerLength == kHeaderLengthV22)
        return fitting(LoadBE24(header + 3));
    const std::optional<uint64_t> plain = fitting(LoadBE32(header + 4));
    if (rule == SizeRule::Plain)
        return plain;
    const std::optional<uint64_t> synchsafe = ID3v2Header::IsSynchsafe(header + 4)
                                                  ? fitting(ID3v2Header::ReadSynchsafe32(header + 4))
                                                  : std::nullopt;
    if (rule == SizeRule::Synchsafe)
        return synchsafe;
    const uint64_t end = offset + m_headerLength;
    if (synchsafe && LandsWell(end + *synchsafe))
        return synchsafe;
    if (plain && LandsWell(end + *plain))
        return plain;
    return synchsafe ? synchsafe : plain;
}

ID3v2FrameWalk::Landing ID3v2FrameWalk::Look(uint64_t offset, SizeRule rule, ID3v2Frame* frame) const {
    if (offset >= m_size || m_body[offset] == 0)
        return Landing::End;
    if (m_headerLength > m_size - offset)
        return Landing::Broken;
    const std::optional<uint64_t> size = FrameSize(offset, rule);
    if (!size)
        return Landing::Broken;
    if (frame) {
        const uint8_t* header = m_body + offset;
        const uint32_t idLength = m_headerLength == kHeaderLengthV22 ? 3 : 4;
        std::memcpy(frame->id, header, idLength);
        frame->id[idLength] = 0;
        frame->offset = offset;
        frame->headerLength = m_headerLength;
        frame->size = *size;
        frame->formatFlags = m_headerLength == kHeaderLengthV22 ? 0 : header[9];
    }
    return Landing::Frame;
}

bool ID3v2FrameWalk::WalksCleanly(SizeRule rule) const {
    ID3v2Frame frame;
    uint64_t offset = m_offset;
    for (;;) {
        const Landing landing = Look(offset, rule, &frame);
        if (landing != Landing::Frame)
            return landing == Landing::End;
        if (!IsFrameId(offset))
            return false;
        offset = frame.BodyOffset() + frame.size;
    }
}

bool ID3v2FrameWalk::Next(ID3v2Frame& frame) {
    if (Look(m_offset, m_rule, &frame) != Landing::Frame)
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
