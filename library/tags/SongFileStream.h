#pragma once
// A song file open for reading its tags. The readers seek about the file and read small pieces (the
// last 128 bytes, a tag header, frame and atom headers), so the stream reads each region of the file
// once, in one system call, into a window and serves the pieces from there. A file no longer than the
// window is read whole at the first read.

#include "foundation/AFile.h"
#include "platform/files/FileDescriptor.h"

#include <array>
#include <cstdint>

class SongFileStream : public AFile {
public:
    static constexpr uint32_t kWindowLength = 16 * 1024;

    // 0; -11160 when no regular file can be read at the path; -15041 when it could not be opened.
    int OpenSong(const AString& path);

    int Close(bool flush) override;
    // A short read is no error with `bytesRead`; without it, anything short of `length` is -11166.
    int Read(void* buffer, uint32_t length, uint32_t* bytesRead) override;
    using AFile::Read;
    // Read only.
    int Write(const void* buffer, uint32_t length) override;
    int Flush() override { return 0; }

    uint64_t GetPosition() const override { return m_position; }
    uint64_t GetLength() const override { return m_length; }
    int Seek(uint64_t position) override;

private:
    // Copies what the window holds at the position; 0 when it holds none of it.
    uint64_t CopyFromWindow(uint8_t* out, uint64_t length);
    // Reads the window anew for the position; false on a read error.
    bool FillWindow(uint64_t position);
    // Reads up to `length` bytes at the position into `out`: the count read (short at the file's
    // end), or -1 on an error.
    int64_t ReadAt(uint64_t position, uint8_t* out, uint64_t length);

    nativefiles::FileDescriptor m_file;
    uint64_t m_length = 0;
    uint64_t m_position = 0;
    uint64_t m_windowStart = 0;
    uint64_t m_windowLength = 0;
    std::array<uint8_t, kWindowLength> m_window;
};
