#include "remote/SocketChannel.h"

using nativesockets::Deadline;
using nativesockets::IoResult;
using nativesockets::IoStatus;

void SocketChannel::Watch(const CancelCallback* cancel) {
    m_cancel = cancel && *cancel ? cancel : nullptr;
    m_fellSilent = false;
    m_cancelled = false;
}

bool SocketChannel::CancelAsked() {
    if (m_cancel && (*m_cancel)() != 0)
        m_cancelled = true;
    return m_cancelled;
}

IoResult SocketChannel::Note(IoResult result) {
    if (result.status == IoStatus::TimedOut)
        m_fellSilent = true;
    return result;
}

template <typename Wait>
IoResult SocketChannel::Sliced(const Deadline& deadline, Wait wait) {
    if (!m_cancel)
        return Note(wait(deadline));
    for (;;) {
        if (CancelAsked())
            return {IoStatus::Woken, 0};
        const IoResult result = wait(Deadline::Earlier(deadline, Deadline::AfterMs(kCancelPollMs)));
        if (result.status != IoStatus::TimedOut || deadline.HasPassed())
            return Note(result);
    }
}

IoStatus SocketChannel::WaitReadable(const Deadline& deadline) {
    return Sliced(deadline, [this](const Deadline& slice) {
               return IoResult{nativesockets::WaitReadable(m_socket, slice, m_wake), 0};
           })
        .status;
}

IoResult SocketChannel::ReadSome(std::span<uint8_t> buffer, const Deadline& deadline) {
    return Sliced(deadline, [&](const Deadline& slice) {
        return nativesockets::ReceiveSome(m_socket, buffer, slice, m_wake);
    });
}

// The stall limit counts from the last byte the peer took.
IoResult SocketChannel::WriteAll(std::span<const uint8_t> bytes, int stallMs) {
    if (!m_cancel)
        return Note(nativesockets::SendAll(m_socket, bytes, stallMs, m_wake));
    size_t sent = 0;
    Deadline stall = Deadline::AfterMs(stallMs);
    for (;;) {
        if (CancelAsked())
            return {IoStatus::Woken, sent};
        const int sliceMs = Deadline::Earlier(stall, Deadline::AfterMs(kCancelPollMs)).RemainingMs();
        const IoResult result = nativesockets::SendAll(m_socket, bytes.subspan(sent), sliceMs, m_wake);
        sent += result.count;
        if (result.status != IoStatus::TimedOut)
            return {result.status, sent};
        if (result.count > 0)
            stall = Deadline::AfterMs(stallMs);
        else if (stall.HasPassed())
            return Note({IoStatus::TimedOut, sent});
    }
}
