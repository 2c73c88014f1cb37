#include "library/ipod/ITunesDBInput.h"

#include "foundation/AFile.h"
#include "foundation/ErrorCodes.h"

uint64_t ITunesDBInput::GetPosition() const {
    return m_stream ? m_stream->GetPosition() : m_position;
}

uint64_t ITunesDBInput::GetLength() const {
    return m_stream ? m_stream->GetLength() : m_buffer.size();
}

int ITunesDBInput::Seek(uint64_t position) {
    if (m_stream)
        return m_stream->Seek(position);
    if (position > m_buffer.size())
        return kErrorEndOfStream;
    m_position = position;
    return 0;
}

int ITunesDBInput::Take(uint32_t length, ITunesDBBytes& out, int noMemoryCode) {
    if (!m_stream) {
        if (length > m_buffer.size() - m_position)
            return kErrorEndOfStream;
        out = ITunesDBBytes::View(m_buffer.subspan(m_position, length));
        m_position += length;
        return 0;
    }
    ITunesDBBytes copy = ITunesDBBytes::Blank(length);
    if (copy.size() != length)
        return noMemoryCode;
    if (const int result = m_stream->Read(copy.Mutable().data(), length))
        return result;
    out = std::move(copy);
    return 0;
}

int ITunesDBInput::Peek(uint32_t length, uint8_t* scratch, const uint8_t*& out) {
    if (!m_stream) {
        if (length > m_buffer.size() - m_position)
            return kErrorEndOfStream;
        out = m_buffer.data() + m_position;
        return 0;
    }
    const uint64_t start = m_stream->GetPosition();
    if (const int result = m_stream->Read(scratch, length))
        return result;
    out = scratch;
    return m_stream->Seek(start);
}
