#include "foundation/AFile.h"

#include "foundation/ErrorCodes.h"
#include "platform/files/NativeFiles.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

nativefiles::FileDescriptor OpenDescriptor(const std::string& path, int mode) {
    switch (mode) {
    case AFile::kModeRead:
        return nativefiles::FileDescriptor(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    case AFile::kModeWrite:
        return nativefiles::FileDescriptor(open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
    default:
        return nativefiles::FileDescriptor(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
    }
}

const char* StdioModeFor(int mode) {
    switch (mode) {
    case AFile::kModeRead:
        return "rb";
    case AFile::kModeWrite:
        return "wb";
    default:
        return "r+b";
    }
}

} // namespace

AFile::~AFile() {
    if (m_file)
        fclose(m_file);
    RestoreReadOnly();
}

int AFile::Open(const AString& path, int mode, bool force) {
    if (mode < kModeRead || mode > kModeReadWrite)
        return kErrorOpenMode;
    Close(false);
    const std::string native = path.ToSystem8Bit();
    const nativefiles::PathStatus status = nativefiles::GetStatus(native);
    if (status.isDirectory)
        return kErrorOpen;
    if (mode != kModeRead && status.exists && status.isReadOnly) {
        if (!force)
            return kErrorOpen;
        if (!nativefiles::SetReadOnly(native, false))
            return kErrorOpenForced;
        m_readOnlyCleared = true;
        m_path = native;
    }
    nativefiles::FileDescriptor file = OpenDescriptor(native, mode);
    if (!file.IsOpen() || Adopt(std::move(file), StdioModeFor(mode)) != 0) {
        const bool wasForced = m_readOnlyCleared;
        RestoreReadOnly();
        return wasForced ? kErrorOpenForced : kErrorOpen;
    }
    return 0;
}

int AFile::Adopt(nativefiles::FileDescriptor file, const char* fopenMode) {
    m_file = fdopen(file.Get(), fopenMode);
    if (!m_file)
        return kErrorOpen;
    // The stream closes the descriptor from now on.
    file.Release();
    m_last = LastOperation::None;
    return 0;
}

int AFile::Close(bool flush) {
    int result = 0;
    if (m_file) {
        if (flush)
            result = SyncToDisk();
        if (fclose(m_file) != 0 && result == 0 && flush)
            result = kErrorWrite;
        m_file = nullptr;
    }
    RestoreReadOnly();
    return result;
}

int AFile::SyncToDisk() {
    if (!m_file)
        return 0;
    if (fflush(m_file) != 0 || ferror(m_file))
        return kErrorWrite;
    if (fsync(fileno(m_file)) != 0 && errno != EINVAL)
        return kErrorWrite;
    return 0;
}

void AFile::RestoreReadOnly() {
    if (!m_readOnlyCleared)
        return;
    nativefiles::SetReadOnly(m_path, true);
    m_readOnlyCleared = false;
    m_path.clear();
}

void AFile::PrepareFor(LastOperation next) {
    // C streams need a positioning call between a write and a read in either order.
    if (m_last != LastOperation::None && m_last != next)
        fseeko(m_file, 0, SEEK_CUR);
    m_last = next;
}

int AFile::Read(void* buffer, uint32_t length, uint32_t* bytesRead) {
    if (bytesRead)
        *bytesRead = 0;
    if (!m_file)
        return kErrorRead;
    PrepareFor(LastOperation::Read);
    const size_t got = length ? fread(buffer, 1, length, m_file) : 0;
    if (got < length && ferror(m_file)) {
        clearerr(m_file);
        return kErrorRead;
    }
    if (bytesRead) {
        *bytesRead = static_cast<uint32_t>(got);
        return 0;
    }
    return got == length ? 0 : kErrorShortRead;
}

int AFile::Write(const void* buffer, uint32_t length) {
    if (length == 0)
        return 0;
    if (!m_file)
        return kErrorWrite;
    PrepareFor(LastOperation::Write);
    if (fwrite(buffer, 1, length, m_file) != length) {
        clearerr(m_file);
        return kErrorWrite;
    }
    return 0;
}

int AFile::Flush() {
    if (m_file && fflush(m_file) != 0)
        return kErrorWrite;
    return 0;
}

uint64_t AFile::GetPosition() const {
    if (!m_file)
        return 0;
    const off_t position = ftello(m_file);
    return position < 0 ? 0 : static_cast<uint64_t>(position);
}

uint64_t AFile::GetLength() const {
    if (!m_file)
        return 0;
    if (m_last == LastOperation::Write)
        fflush(m_file);
    struct stat info {};
    if (fstat(fileno(m_file), &info) != 0)
        return 0;
    return static_cast<uint64_t>(info.st_size);
}

int AFile::Seek(uint64_t position) {
    if (!m_file || position > static_cast<uint64_t>(INT64_MAX))
        return kErrorSeek;
    if (fseeko(m_file, static_cast<off_t>(position), SEEK_SET) != 0)
        return kErrorSeek;
    m_last = LastOperation::None;
    return 0;
}

int AFile::SetLength(uint64_t length) {
    if (!m_file || length > static_cast<uint64_t>(INT64_MAX))
        return kErrorSetLength;
    if (fflush(m_file) != 0 || ftruncate(fileno(m_file), static_cast<off_t>(length)) != 0)
        return kErrorSetLength;
    return 0;
}

int AFile::WriteString(const AString& text) {
    return text.Write(*this, AString::Form::Narrow);
}

uint64_t AFile::BytesRemaining() const {
    const uint64_t length = GetLength();
    const uint64_t position = GetPosition();
    return position < length ? length - position : 0;
}

int AFile::ShortReadError() const {
    return kErrorShortRead;
}
