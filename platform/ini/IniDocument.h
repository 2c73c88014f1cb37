#pragma once
// The text of a private-profile (INI) file, read as the Windows profile functions read it: "[section]"
// lines, each followed by "key=value" lines; section and key names compare without regard to ASCII
// letter case; a value reads trimmed of blanks and of one pair of enclosing quotes. A value is written
// exactly as given, without escapes. Lines that are not touched (comments, blank lines, text of no
// known form) are written back as they were, in the file's own encoding (UTF-8 with or without its
// byte-order mark, or UTF-16 little-endian with its mark) and the line ending of its first line.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace nativeini {

struct IniEntry {
    std::string key;
    std::string value;
};

class IniDocument {
public:
    // Any bytes make a document; an empty one is a new file.
    static IniDocument FromBytes(std::string_view bytes);
    std::string ToBytes() const;

    // The value of the first such key in the sections of that name, as Windows reads it.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    // Each key's first line gets the new value; a missing key goes after the last line of its
    // section, a missing section at the end of the document.
    void Set(std::string_view section, std::span<const IniEntry> entries);

    // False for names and values that would read back otherwise or break the file's lines: a line
    // break or NUL anywhere, an empty name, a key with '=' or one that would read as a section or a
    // comment, a section name with ']'.
    static bool CanWrite(std::string_view section, std::span<const IniEntry> entries);

private:
    enum class Encoding { Utf8, Utf8WithMark, Utf16LittleEndian };

    std::optional<size_t> FindKeyLine(std::string_view section, std::string_view key) const;
    // The index after the last non-blank line of the first section of that name, if there is one.
    std::optional<size_t> EndOfSection(std::string_view section) const;
    void AppendSection(std::string_view section);

    std::vector<std::string> m_lines;
    std::string_view m_lineEnd = "\r\n"; // a new file's; a file read may have "\n"
    bool m_endsWithLineEnd = true;
    Encoding m_encoding = Encoding::Utf8;
};

} // namespace nativeini
