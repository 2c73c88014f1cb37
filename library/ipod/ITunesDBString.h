#pragma once
// "mhod": a string object. Text types hold a 16-byte string header and UTF-16LE text; every other type
// (the position object of a playlist item, indexes, smart-playlist rules) keeps its body as read.

#include "foundation/AString.h"
#include "library/ipod/ITunesDBChunkFrame.h"

#include <cstdint>
#include <memory>
#include <vector>

class AFile;
class ITunesDBString;

// The string objects that a track, playlist or playlist item carries, in file order.
using ITunesDBStrings = std::vector<std::unique_ptr<ITunesDBString>>;

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

    ITunesDBString();
    // The position object of a new playlist item: 20 zero bytes.
    static std::unique_ptr<ITunesDBString> NewPosition();
    static bool IsTextType(uint32_t type);

    int Read(AFile& stream, uint64_t parentEnd);
    int Write(AFile& stream);
    // `count` string objects within the parent; those read before a failure stay.
    static int ReadList(AFile& stream, uint32_t count, uint64_t parentEnd, ITunesDBStrings& strings);
    static int WriteList(AFile& stream, const ITunesDBStrings& strings);
    static uint64_t ListLength(const ITunesDBStrings& strings);
    uint64_t GetTotalLength() const {
        return m_frame.GetHeaderLength() + static_cast<uint64_t>(m_body.size());
    }

    uint32_t GetType() const { return m_frame.Get32(kTypeOffset); }
    const AString& GetText() const { return m_text; }
    // A new string header and the text; the type changes only when `type` is not 0.
    void SetText(const AString& text, uint32_t type);
    // Sets the text of the first string object of that type, adding one when the list has none.
    static void SetListText(ITunesDBStrings& strings, const AString& text, uint32_t type);

private:
    void DecodeText();

    ITunesDBChunkFrame m_frame;
    // Everything behind the header, the text included, exactly as it will be written.
    std::vector<uint8_t> m_body;
    AString m_text;
};
