#include "library/itunes/LibraryPersistentId.h"

#include "foundation/AFile.h"
#include "foundation/AString.h"
#include "platform/paths/MusicHome.h"

#include <charconv>
#include <string>

namespace {

constexpr const char* kLibraryIdKey = "<key>Library Persistent ID</key>";
constexpr const char* kIdStart = "<string>";
constexpr const char* kIdEnd = "</string>";
constexpr int kMaxLibraryLineBytes = 2048;
constexpr int kHexDigitsPerWord = 8;
constexpr int kWordBits = 32;

// Hex digits only, without sign or prefix; no digits are 0.
bool ParseHexWord(const AString& digits, uint32_t& word) {
    word = 0;
    const std::string text = digits.ToUtf8();
    const char* end = text.data() + text.size();
    if (text.empty())
        return true;
    const auto [stop, error] = std::from_chars(text.data(), end, word, 16);
    return error == std::errc() && stop == end;
}

// The id in the text that follows the key on its line.
int ParseId(const AString& afterKey, const LibraryIdCodes& codes, uint64_t& id) {
    const int start = afterKey.Find(kIdStart);
    if (start < 0)
        return codes.noIdStart;
    const int digitsStart = start + AString(kIdStart).GetLength();
    const int end = afterKey.Find(kIdEnd, digitsStart);
    if (end < 0)
        return codes.noIdEnd;
    const AString digits = afterKey.Mid(digitsStart, end - digitsStart);
    uint32_t low = 0;
    uint32_t high = 0;
    if (digits.IsEmpty() || digits.GetLength() > 2 * kHexDigitsPerWord ||
        !ParseHexWord(digits.Left(kHexDigitsPerWord), low) ||
        !ParseHexWord(digits.Mid(kHexDigitsPerWord), high))
        return codes.badId;
    id = (static_cast<uint64_t>(high) << kWordBits) | low;
    return 0;
}

} // namespace

int LibraryPersistentId::Read(const LibraryIdCodes& codes, uint64_t& id) {
    const std::string home = nativepaths::MusicHome();
    if (home.empty())
        return codes.noMusicHome;
    AString path = AString::FromSystem8Bit(home);
    path.AppendPath("iTunes");
    path.AppendPath("iTunes Music Library.xml");
    AFile file;
    if (const int result = file.Open(path, AFile::kModeRead, false))
        return result;
    AString line;
    int result = 0;
    while ((result = line.Read(file, AString::Form::NarrowLine, kMaxLibraryLineBytes)) == 0) {
        const int key = line.Find(kLibraryIdKey);
        if (key >= 0)
            return ParseId(line.Mid(key + AString(kLibraryIdKey).GetLength()), codes, id);
    }
    return result;
}
