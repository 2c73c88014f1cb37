#include "platform/volumes/MountTable.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <sstream>

namespace nativevolumes {
namespace {

// The fields of a line: ID, parent ID, major:minor, root, mount point, options, optional fields,
// "-", filesystem type, source, super options.
constexpr size_t kMountPointField = 4;
constexpr size_t kFirstOptionalField = 6;
constexpr size_t kSourceAfterSeparator = 2;
constexpr std::string_view kSeparator = "-";

constexpr size_t kEscapeDigits = 3;
constexpr size_t kFatUuidLength = 9;
constexpr size_t kFatUuidDash = 4;

bool IsOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

// The table writes blanks, tabs, newlines and backslashes in paths as "\" and three octal digits.
bool IsEscapeAt(std::string_view field, size_t at) {
    return field[at] == '\\' && field.size() - at > kEscapeDigits && field[at + 1] >= '0' &&
           field[at + 1] <= '3' && IsOctalDigit(field[at + 2]) && IsOctalDigit(field[at + 3]);
}

std::string Unescape(std::string_view field) {
    std::string text;
    for (size_t at = 0; at < field.size(); ++at) {
        if (!IsEscapeAt(field, at)) {
            text += field[at];
            continue;
        }
        text +=
            static_cast<char>((field[at + 1] - '0') * 64 + (field[at + 2] - '0') * 8 + (field[at + 3] - '0'));
        at += kEscapeDigits;
    }
    return text;
}

// The fields are separated by single blanks; any other byte (a carriage return of a label, say) can
// stand in a path as it is.
std::vector<std::string> FieldsOf(const std::string& line) {
    std::istringstream stream(line);
    std::vector<std::string> fields;
    for (std::string field; std::getline(stream, field, ' ');) {
        if (!field.empty())
            fields.push_back(std::move(field));
    }
    return fields;
}

} // namespace

std::vector<MountEntry> ParseMountTable(std::string_view text) {
    std::vector<MountEntry> entries;
    std::istringstream lines{std::string(text)};
    for (std::string line; std::getline(lines, line);) {
        const std::vector<std::string> fields = FieldsOf(line);
        if (fields.size() <= kFirstOptionalField)
            continue;
        const auto separator = std::find(fields.begin() + kFirstOptionalField, fields.end(), kSeparator);
        if (fields.end() - separator <= static_cast<ptrdiff_t>(kSourceAfterSeparator))
            continue;
        entries.push_back(
            {Unescape(fields[kMountPointField]), Unescape(*(separator + kSourceAfterSeparator))});
    }
    return entries;
}

uint32_t SerialOfFilesystemUuid(std::string_view uuid) {
    if (uuid.size() != kFatUuidLength || uuid[kFatUuidDash] != '-')
        return 0;
    const std::string digits =
        std::string(uuid.substr(0, kFatUuidDash)) + std::string(uuid.substr(kFatUuidDash + 1));
    if (!std::all_of(digits.begin(), digits.end(),
                     [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
        return 0;
    uint32_t serial = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), serial, 16);
    return serial;
}

} // namespace nativevolumes
