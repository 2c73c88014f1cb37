#include "platform/ini/PrivateProfile.h"

#include "platform/files/NativeFiles.h"
#include "platform/files/ReplacementFile.h"

#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace nativeini {
namespace {

// Profile files hold a few short lines; anything far larger is not one and is never loaded whole.
constexpr uint64_t kLargestFile = 16u << 20;
constexpr mode_t kNewFileMode = 0644;
// Two threads that write keys of one file each read, change and replace the whole file.
std::mutex& WriteLock() {
    static std::mutex lock;
    return lock;
}

// The file's bytes; empty when it does not exist; none when it cannot be read whole.
std::optional<std::string> ReadProfileBytes(const std::string& path) {
    const nativefiles::FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.IsOpen())
        return errno == ENOENT ? std::optional<std::string>(std::string()) : std::nullopt;
    struct stat info {};
    std::string bytes;
    if (fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        !nativefiles::ReadToEnd(file.Get(), bytes, kLargestFile))
        return std::nullopt;
    return bytes;
}

// Writes `bytes` beside `target`, syncs them and renames them over it, keeping its permissions.
bool ReplaceFile(const std::string& target, std::string_view bytes) {
    struct stat info {};
    const mode_t mode = stat(target.c_str(), &info) == 0 ? (info.st_mode & 07777) : kNewFileMode;
    nativefiles::ReplacementFile replacement;
    if (!replacement.Begin(target))
        return false;
    nativefiles::FileDescriptor& file = replacement.File();
    const bool written = fchmod(file.Get(), mode) == 0 && nativefiles::WriteAll(file.Get(), bytes);
    return file.Close() && written && replacement.PutInPlace(bytes.size());
}

bool IsUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::string CutToCharacters(std::string text, size_t maxChars) {
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsUtf8Continuation(text[i]))
            continue;
        if (characters++ == maxChars) {
            text.resize(i);
            break;
        }
    }
    return text;
}

int32_t LeadingNumber(std::string_view text) {
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+'))
        text.remove_prefix(1);
    uint32_t number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            break;
        number = number * 10u + static_cast<uint32_t>(c - '0');
    }
    return static_cast<int32_t>(negative ? 0u - number : number);
}

} // namespace

std::string PrivateProfile::ReadString(std::string_view section, std::string_view key,
                                       std::string_view fallback, size_t maxChars) const {
    const std::optional<IniDocument> document = Load();
    std::optional<std::string> value = document ? document->Find(section, key) : std::nullopt;
    return CutToCharacters(value ? std::move(*value) : std::string(fallback), maxChars);
}

int32_t PrivateProfile::ReadInt(std::string_view section, std::string_view key, int32_t fallback) const {
    const std::optional<IniDocument> document = Load();
    const std::optional<std::string> value = document ? document->Find(section, key) : std::nullopt;
    if (!value || value->empty())
        return fallback;
    return LeadingNumber(*value);
}

bool PrivateProfile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const IniEntry entry{std::string(key), std::string(value)};
    return WriteStrings(section, std::span(&entry, 1));
}

bool PrivateProfile::WriteStrings(std::string_view section, std::span<const IniEntry> entries) {
    if (!IniDocument::CanWrite(section, entries))
        return false;
    const std::lock_guard<std::mutex> guard(WriteLock());
    if (const nativefiles::PathStatus status = nativefiles::GetStatus(m_path);
        status.exists && status.isReadOnly)
        return false;
    std::optional<IniDocument> document = Load();
    if (!document)
        return false;
    document->Set(section, entries);
    return ReplaceFile(m_path, document->ToBytes());
}

std::optional<IniDocument> PrivateProfile::Load() const {
    const std::optional<std::string> bytes = ReadProfileBytes(m_path);
    if (!bytes)
        return std::nullopt;
    return IniDocument::FromBytes(*bytes);
}

} // namespace nativeini
