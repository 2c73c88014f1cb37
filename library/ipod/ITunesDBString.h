#pragma once
// "mhod": a string object. Text types hold a 16-byte string header and UTF-16LE text; every other type
// (the position object of a playlist item, indexes, smart-playlist rules) keeps its body as read. The
// object is kept as its bytes, exactly as they are written; its text is decoded when asked for.

#include "foundation/AString.h"
#include "library/ipod/ITunesDBBytes.h"

#include <cstdint>
#include <vector>

class AFile;
class ITunesDBInput;
class ITunesDBString;

// The string objects that a track or playlist carries, in file order.
using ITunesDBStrings = std::vector<ITunesDBString>;

class ITunesDBString {
public:
    enum Type : uint32_t {
        kTitle = 1,
        kLocation = 2,
        kAlbum = 3,
        kArtist = 4,
        kGenre = 5,
        kComment = 8,
        kComposer = 12,
        kPosition = 100,
    };
    static constexpr uint32_t kHeaderLength = 24;
    static constexpr uint32_t kTypeOffset = 12;
    static constexpr uint32_t kStringHeaderLength = 16;
    static constexpr uint32_t kPositionBodyLength = 20;

    // No bytes until SetText gives it a header and a text.
    ITunesDBString() = default;
    // The position object of a new playlist item: 20 zero bytes, the position first.
    static ITunesDBString NewPosition();
    static bool IsTextType(uint32_t type);

    int Read(ITunesDBInput& input, uint64_t parentEnd);
    int Write(AFile& stream) const { return m_bytes.Write(stream); }
    // `count` string objects within the parent; those read before a failure stay.
    static int ReadList(ITunesDBInput& input, uint32_t count, uint64_t parentEnd, ITunesDBStrings& strings);
    static int WriteList(AFile& stream, const ITunesDBStrings& strings);
    static uint64_t ListLength(const ITunesDBStrings& strings);
    uint64_t GetTotalLength() const { return m_bytes.size(); }
    std::span<const uint8_t> GetBytes() const { return m_bytes.Get(); }

    uint32_t GetType() const { return m_bytes.Get32(kTypeOffset); }
    // The text of a text type; empty for any other type, or a body too short for its string header.
    AString GetText() const;
    // A new string header and the text; the type changes only when `type` is not 0. False without
    // memory (the object is then as it was).
    bool SetText(const AString& text, uint32_t type);
    // Where the body begins.
    uint32_t GetHeaderLength() const;
    // Sets the text of the first string object of that type, adding one when the list has none.
    static void SetListText(ITunesDBStrings& strings, const AString& text, uint32_t type);

private:
    ITunesDBBytes m_bytes;
};
