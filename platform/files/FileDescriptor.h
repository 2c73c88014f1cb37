#pragma once
// An open file descriptor that closes itself; it can be handed on but not copied.

namespace nativefiles {

class FileDescriptor {
public:
    FileDescriptor() = default;
    // Takes `fd`; a negative one stands for none.
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(other.Release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { Close(); }

    bool IsOpen() const { return m_fd >= 0; }
    int Get() const { return m_fd; }
    // Gives the descriptor up to the caller, who closes it.
    int Release();
    // A second descriptor of the same open file (it shares the offset and any lock); not open on failure.
    FileDescriptor Duplicate() const;
    // Closes it now; false when the close failed, which can mean written data never reached the file.
    bool Close();

private:
    int m_fd = -1;
};

} // namespace nativefiles
