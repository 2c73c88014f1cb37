#pragma once
// A dict of the library file as the file gave it: its keys in their order, each with its value. The
// writer puts back every pair whose value did not change, so that what the stand-in does not model, and
// the way another program wrote what it does, survive a save.

#include <cstdint>
#include <string>
#include <string_view>

namespace itunesapp {

// A value of the library file: its element's name ("string", "integer", "dict", ...) and its content, a
// scalar's text with its references resolved, or a dict's or an array's elements as the writer puts them
// on one line.
struct PlistValue {
    std::string_view element;
    std::string_view content;

    bool IsContainer() const { return element == "dict" || element == "array"; }
};

class FileForm {
public:
    static constexpr uint32_t kNoPlace = UINT32_MAX;

    bool Empty() const { return m_pairs.empty(); }
    void Append(std::string_view key, PlistValue value);
    // Keeps the room: a form built again and again for copies of exactly its size (the forms of a
    // whole library are kept for its life) grows only once.
    void Clear() { m_pairs.clear(); }
    // Calls visit(key, value) for each pair, in the file's order.
    template <class Visit> void ForEach(const Visit& visit) const;
    bool operator==(const FileForm&) const = default;

    // Where the dict stood among the file's playlists; kNoPlace for any other dict.
    uint32_t place = kNoPlace;

private:
    // A key or an element name of the file's own vocabulary is kept as its number in a table; any other
    // as its text, ended by a zero byte, which no text of the file holds.
    static void AppendName(std::string& out, std::string_view name, const std::string_view* table, size_t size);
    static std::string_view TakeName(std::string_view pairs, size_t& at, const std::string_view* table);
    static std::string_view TakeText(std::string_view pairs, size_t& at);
    static const std::string_view kKeys[];
    static const std::string_view kElements[];

    // Key, element and content of each pair.
    std::string m_pairs;
};

// Text within an element: "&", "<", ">" and the control characters but tab as numeric references, so
// that a value never ends its element or its line.
void AppendPlistText(std::string& out, std::string_view text);
// The value's element on one line.
void AppendPlistValue(std::string& out, PlistValue value);
// "<key>Name</key>" and the value's element, on one line.
void AppendPlistPair(std::string& out, std::string_view key, PlistValue value);

template <class Visit> void FileForm::ForEach(const Visit& visit) const {
    const std::string_view pairs = m_pairs;
    for (size_t at = 0; at < pairs.size();) {
        const std::string_view key = TakeName(pairs, at, kKeys);
        const std::string_view element = TakeName(pairs, at, kElements);
        const std::string_view content = TakeText(pairs, at);
        visit(key, PlistValue{element, content});
    }
}

} // namespace itunesapp
