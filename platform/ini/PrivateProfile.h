#pragma once
// A private-profile (INI) file used as the Windows profile functions use one: read a string or a
// number with a default, write keys. A read never creates or changes the file. A write replaces the
// whole file through a new file beside it, synced and renamed over the old one, so a reader never
// sees half a file and a failed write leaves the old one as it was; the file is created by the first
// write, its folder is not.

#include "platform/ini/IniDocument.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace nativeini {

class PrivateProfile {
public:
    explicit PrivateProfile(std::string path) : m_path(std::move(path)) {}

    const std::string& Path() const { return m_path; }

    // The value, or `fallback` when the file, the section or the key is missing; cut to `maxChars`
    // characters (never inside a UTF-8 sequence), as a caller's buffer of that size would hold it.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback,
                           size_t maxChars = std::numeric_limits<size_t>::max()) const;
    // The number at the start of the value: blanks, a sign, decimal digits (32-bit, wrapping as
    // Windows does); a value that begins with no digit gives 0; `fallback` when missing or empty.
    int32_t ReadInt(std::string_view section, std::string_view key, int32_t fallback) const;

    // False when the names or the value cannot be written (IniDocument::CanWrite), the folder is
    // missing, or an existing file is read-only, too large or unreadable: it is then left alone.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    // Every entry in one replacement of the file, in their order.
    bool WriteStrings(std::string_view section, std::span<const IniEntry> entries);

private:
    std::optional<IniDocument> Load() const;

    std::string m_path;
};

} // namespace nativeini
