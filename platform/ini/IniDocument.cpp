#include "platform/ini/IniDocument.h"

#include "platform/text/TextCodec.h"

#include <algorithm>

namespace nativeini {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
// A '\r' is a blank too: in a file of "\n" lines, a line that ends in "\r\n" keeps its '\r'.
constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kLf = "\n";
constexpr std::string_view kBlanks = " \t\r";

enum class LineKind { Section, Key, Other };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;
    std::string_view value;
};

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

ParsedLine ParseLine(std::string_view line) {
    const std::string_view text = Trim(line);
    if (text.starts_with('[')) {
        const std::string_view inside = text.substr(1);
        return {LineKind::Section, Trim(inside.substr(0, inside.find(']'))), {}};
    }
    const size_t equals = text.find('=');
    if (text.starts_with(';') || equals == std::string_view::npos)
        return {};
    return {LineKind::Key, Trim(text.substr(0, equals)), Trim(text.substr(equals + 1))};
}

// Windows hands a value back without one pair of quotes around it.
std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool HasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool CanWriteKey(const IniEntry& entry) {
    const std::string_view key = Trim(entry.key);
    return !key.empty() && key.size() == entry.key.size() && !HasLineBreakOrNul(key) &&
           key.find('=') == std::string_view::npos && !key.starts_with('[') && !key.starts_with(';') &&
           !HasLineBreakOrNul(entry.value);
}

std::string Utf16LittleEndianToUtf8(std::string_view bytes) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) |
                                              (static_cast<uint8_t>(bytes[i + 1]) << 8)));
    return textcodec::EncodeUtf8(units);
}

std::string Utf8ToUtf16LittleEndian(std::string_view text) {
    std::string bytes;
    for (const char16_t unit : textcodec::DecodeUtf8(text)) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

} // namespace

IniDocument IniDocument::FromBytes(std::string_view bytes) {
    IniDocument document;
    std::string text;
    if (bytes.starts_with(kUtf16LittleEndianMark)) {
        document.m_encoding = Encoding::Utf16LittleEndian;
        text = Utf16LittleEndianToUtf8(bytes.substr(kUtf16LittleEndianMark.size()));
    } else if (bytes.starts_with(kUtf8Mark)) {
        document.m_encoding = Encoding::Utf8WithMark;
        text = bytes.substr(kUtf8Mark.size());
    } else {
        text = bytes;
    }
    if (text.empty())
        return document;
    // The first line's break is the file's; a file of one line takes the break of new files.
    const size_t firstBreak = text.find('\n');
    if (firstBreak != std::string::npos && (firstBreak == 0 || text[firstBreak - 1] != '\r'))
        document.m_lineEnd = kLf;
    const bool breaksWithReturn = document.m_lineEnd == kCrLf;
    document.m_endsWithLineEnd = text.ends_with('\n');
    if (document.m_endsWithLineEnd)
        text.pop_back();
    for (size_t start = 0;;) {
        const size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const bool hadBreak = end != std::string::npos || document.m_endsWithLineEnd;
        if (breaksWithReturn && hadBreak && line.ends_with('\r'))
            line.pop_back();
        document.m_lines.push_back(std::move(line));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return document;
}

std::string IniDocument::ToBytes() const {
    std::string text;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        text += m_lines[i];
        if (i + 1 < m_lines.size() || m_endsWithLineEnd)
            text += m_lineEnd;
    }
    switch (m_encoding) {
    case Encoding::Utf16LittleEndian:
        return std::string(kUtf16LittleEndianMark) + Utf8ToUtf16LittleEndian(text);
    case Encoding::Utf8WithMark:
        return std::string(kUtf8Mark) + text;
    case Encoding::Utf8:
        break;
    }
    return text;
}

std::optional<std::string> IniDocument::Find(std::string_view section, std::string_view key) const {
    const std::optional<size_t> line = FindKeyLine(section, key);
    if (!line)
        return std::nullopt;
    return std::string(Unquote(ParseLine(m_lines[*line]).value));
}

void IniDocument::Set(std::string_view section, std::span<const IniEntry> entries) {
    for (const IniEntry& entry : entries) {
        if (const std::optional<size_t> line = FindKeyLine(section, entry.key)) {
            m_lines[*line] = std::string(ParseLine(m_lines[*line]).name) + "=" + entry.value;
            continue;
        }
        if (!EndOfSection(section))
            AppendSection(section);
        const size_t end = *EndOfSection(section);
        m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(end), entry.key + "=" + entry.value);
    }
}

bool IniDocument::CanWrite(std::string_view section, std::span<const IniEntry> entries) {
    const std::string_view name = Trim(section);
    if (name.empty() || name.size() != section.size() || HasLineBreakOrNul(name) ||
        name.find(']') != std::string_view::npos)
        return false;
    return std::ranges::all_of(entries, CanWriteKey);
}

std::optional<size_t> IniDocument::FindKeyLine(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const ParsedLine line = ParseLine(m_lines[i]);
        if (line.kind == LineKind::Section)
            inSection = SameName(line.name, section);
        else if (inSection && line.kind == LineKind::Key && SameName(line.name, key))
            return i;
    }
    return std::nullopt;
}

std::optional<size_t> IniDocument::EndOfSection(std::string_view section) const {
    std::optional<size_t> end;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const ParsedLine line = ParseLine(m_lines[i]);
        if (line.kind == LineKind::Section) {
            if (end)
                return end;
            if (SameName(line.name, section))
                end = i + 1;
        } else if (end && !Trim(m_lines[i]).empty()) {
            end = i + 1;
        }
    }
    return end;
}

void IniDocument::AppendSection(std::string_view section) {
    if (!m_lines.empty() && !Trim(m_lines.back()).empty())
        m_lines.emplace_back();
    std::string header = "[";
    header.append(section).append("]");
    m_lines.push_back(std::move(header));
    m_endsWithLineEnd = true;
}

} // namespace nativeini
