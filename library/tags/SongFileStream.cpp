#include "library/tags/SongFileStream.h"

#include "foundation/ErrorCodes.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The errors by which a path names no file that could be read.
bool NamesNoReadableFile(int error) {
    return error == ENOENT || error == ENOTDIR || error == EACCES || error == ELOOP || error == ENAMETOOLONG;
}

} // namespace

int SongFileStream::OpenSong(const AString& path) {
    Close(false);
    // Without blocking: a pipe of that name must not hang the read until a writer comes.
    nativefiles::FileDescriptor file(open(path.ToSystem8Bit().c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.IsOpen())
        return NamesNoReadableFile(errno) ? kErrorFileNotFound : kErrorOpen;
    struct stat info {};
    if (fstat(file.Get(), &info) != 0)
        return kErrorOpen;
    if (!S_ISREG(info.st_mode))
        return kErrorFileNotFound;
    m_file = std::move(file);
    m_length = static_cast<uint64_t>(info.st_size);
    return 0;
}

int SongFileStream::Close(bool) {
    m_file.Close();
    m_length = m_position = m_windowStart = m_windowLength = 0;
    return 0;
}

int SongFileStream::Write(const void*, uint32_t) {
    return kErrorWrite;
}

int SongFileStream::Seek(uint64_t position) {
    if (!m_file.IsOpen() || position > static_cast<uint64_t>(INT64_MAX))
        return kErrorSeek;
    m_position = position;
    return 0;
}

int SongFileStream::Read(void* buffer, uint32_t length, uint32_t* bytesRead) {
    if (bytesRead)
        *bytesRead = 0;
    if (!m_file.IsOpen())
        return kErrorRead;
    uint8_t* out = static_cast<uint8_t*>(buffer);
    const uint64_t wanted = std::min<uint64_t>(length, m_position < m_length ? m_length - m_position : 0);
    uint64_t got = CopyFromWindow(out, wanted);
    while (got < wanted) {
        // A piece larger than the window goes straight where it is wanted.
        if (wanted - got >= kWindowLength) {
            const int64_t direct = ReadAt(m_position, out + got, wanted - got);
            if (direct < 0)
                return kErrorRead;
            got += static_cast<uint64_t>(direct);
            m_position += static_cast<uint64_t>(direct);
            break;
        }
        if (!FillWindow(m_position))
            return kErrorRead;
        const uint64_t copied = CopyFromWindow(out + got, wanted - got);
        if (copied == 0)
            break; // the file ended early
        got += copied;
    }
    if (bytesRead) {
        *bytesRead = static_cast<uint32_t>(got);
        return 0;
    }
    return got == length ? 0 : kErrorShortRead;
}

uint64_t SongFileStream::CopyFromWindow(uint8_t* out, uint64_t length) {
    if (m_position < m_windowStart || m_position >= m_windowStart + m_windowLength)
        return 0;
    const uint64_t count = std::min(length, m_windowStart + m_windowLength - m_position);
    std::memcpy(out, m_window.data() + (m_position - m_windowStart), count);
    m_position += count;
    return count;
}

bool SongFileStream::FillWindow(uint64_t position) {
    // A small file is read whole, whatever part of it was asked for first.
    m_windowStart = m_length <= kWindowLength ? 0 : position;
    const uint64_t length = std::min<uint64_t>(kWindowLength, m_length - std::min(m_windowStart, m_length));
    const int64_t got = ReadAt(m_windowStart, m_window.data(), length);
    m_windowLength = got < 0 ? 0 : static_cast<uint64_t>(got);
    return got >= 0;
}

int64_t SongFileStream::ReadAt(uint64_t position, uint8_t* out, uint64_t length) {
    uint64_t got = 0;
    while (got < length) {
        const ssize_t count =
            pread(m_file.Get(), out + got, length - got, static_cast<off_t>(position + got));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return -1;
        if (count == 0)
            break;
        got += static_cast<uint64_t>(count);
    }
    return static_cast<int64_t>(got);
}
