#pragma once
// One stream interface over a disk file; AMemFile gives the same interface over memory, so that a
// record saves itself to a file or into a network message with the same code.

#include "foundation/AString.h"
#include "platform/files/FileDescriptor.h"

#include <cstdint>
#include <cstdio>
#include <string>

class AFile {
public:
    enum Mode { kModeRead = 1, kModeWrite = 2, kModeReadWrite = 3 };

    AFile() = default;
    AFile(const AFile&) = delete;
    AFile& operator=(const AFile&) = delete;
    // Closes an open file and restores a read-only state that Open had to remove.
    virtual ~AFile();

    // Read opens an existing file only; write and read-write open or create, never truncating.
    // With `force`, a read-only file is made writable until Close.
    int Open(const AString& path, int mode, bool force);
    // With `flush`, buffered data is written and synced to the disk; write errors are reported.
    virtual int Close(bool flush);
    // With `bytesRead` a short read is no error; without it, anything short of `length` is.
    virtual int Read(void* buffer, uint32_t length, uint32_t* bytesRead);
    int Read(void* buffer, uint32_t length) { return Read(buffer, length, nullptr); }
    virtual int Write(const void* buffer, uint32_t length);
    virtual int Flush();

    virtual uint64_t GetPosition() const;
    virtual uint64_t GetLength() const;
    virtual int Seek(uint64_t position);
    int SetLength(uint64_t length);
    int WriteString(const AString& text);

    bool IsOpen() const { return m_file != nullptr; }
    uint64_t BytesRemaining() const;
    // The code a read past the end gives: -11166 from a file, -1 from memory.
    virtual int ShortReadError() const;

protected:
    // Takes an open descriptor (the replacing file's temporary file).
    int Adopt(nativefiles::FileDescriptor file, const char* fopenMode);
    int SyncToDisk();

private:
    enum class LastOperation { None, Read, Write };
    void PrepareFor(LastOperation next);
    void RestoreReadOnly();

    FILE* m_file = nullptr;
    LastOperation m_last = LastOperation::None;
    bool m_readOnlyCleared = false;
    std::string m_path;
};
