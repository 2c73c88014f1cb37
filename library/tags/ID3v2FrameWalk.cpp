#include "library/tags/ID3v2FrameWalk.h"

#include <algorithm>

namespace {

// The padding is looked for from the end of the body in steps of this many bytes.
constexpr uint64_t kPaddingStep = 1024;

} // namespace

ID3v2FrameWalk::ID3v2FrameWalk(const uint8_t* body, uint64_t size, int version, uint64_t start,
                               ID3v2BodySource* source)
    : m_body(body), m_size(size), m_source(source), m_version(version),
      m_headerLength(ID3v2FrameHeader::Length(version)), m_offset(std::min(start, size)) {
    if (version != 4)
        return;
    m_paddingStart = PaddingStart();
    m_rule = !WalksCleanly(SizeRule::Synchsafe) && WalksCleanly(SizeRule::Plain) ? SizeRule::Plain
                                                                                 : SizeRule::SynchsafeOrPlain;
}

// Where the zeros that end the body begin.
uint64_t ID3v2FrameWalk::PaddingStart() const {
    uint64_t start = m_size;
    while (start > m_offset) {
        const uint64_t stepStart = start - std::min(kPaddingStep, start - m_offset);
        if (!Have(stepStart, start - stepStart))
            return start;
        for (; start > stepStart; --start) {
            if (m_body[start - 1] != 0)
                return start;
        }
    }
    return start;
}

bool ID3v2FrameWalk::IsFrameId(uint64_t offset) const {
    const uint32_t idLength = ID3v2FrameHeader::IdLength(m_version);
    if (!Have(offset, idLength))
        return false;
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

std::optional<ID3v2FrameHeader> ID3v2FrameWalk::FittingHeaderAt(uint64_t offset,
                                                                ID3v2FrameHeader::SizeForm form) const {
    const std::optional<ID3v2FrameHeader> header = ID3v2FrameHeader::Parse(m_body + offset, m_version, form);
    if (!header || header->Size() > m_size - offset - m_headerLength)
        return std::nullopt;
    return header;
}

std::optional<ID3v2FrameHeader> ID3v2FrameWalk::HeaderAt(uint64_t offset, SizeRule rule) const {
    using SizeForm = ID3v2FrameHeader::SizeForm;
    if (rule == SizeRule::Plain)
        return FittingHeaderAt(offset, SizeForm::Plain);
    const std::optional<ID3v2FrameHeader> synchsafe = FittingHeaderAt(offset, SizeForm::Synchsafe);
    if (rule == SizeRule::Synchsafe)
        return synchsafe;
    const std::optional<ID3v2FrameHeader> plain = FittingHeaderAt(offset, SizeForm::Plain);
    const uint64_t end = offset + m_headerLength;
    if (synchsafe && LandsWell(end + synchsafe->Size()))
        return synchsafe;
    if (plain && LandsWell(end + plain->Size()))
        return plain;
    return synchsafe ? synchsafe : plain;
}

ID3v2FrameWalk::Landing ID3v2FrameWalk::Look(uint64_t offset, SizeRule rule, ID3v2Frame* frame) const {
    if (offset >= m_size || !Have(offset, 1) || m_body[offset] == 0)
        return Landing::End;
    if (m_headerLength > m_size - offset || !Have(offset, m_headerLength))
        return Landing::Broken;
    const std::optional<ID3v2FrameHeader> header = HeaderAt(offset, rule);
    if (!header)
        return Landing::Broken;
    if (frame) {
        frame->header = *header;
        frame->offset = offset;
        frame->headerLength = m_headerLength;
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
        offset = frame.BodyOffset() + frame.Size();
    }
}

bool ID3v2FrameWalk::Next(ID3v2Frame& frame) {
    if (Look(m_offset, m_rule, &frame) != Landing::Frame)
        return false;
    m_offset = frame.BodyOffset() + frame.Size();
    return true;
}
