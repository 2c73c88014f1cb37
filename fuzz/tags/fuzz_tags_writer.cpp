// The tag writer over any mp3 bytes: a picture is put into the song's tag, and what was written reads
// back with the picture added and, where the song had an ID3v2 tag, every field it had.
#include "SongFileFolder.h"
#include "foundation/ErrorCodes.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

const uint8_t kJpeg[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0xFF, 0x00, 0xFF, 0xD9};
constexpr uint32_t kID3v2Kinds = SongFields::kTagID3v22 | SongFields::kTagID3v23 | SongFields::kTagID3v24;

void Require(bool condition) {
    if (!condition)
        std::abort();
}

void RequirePictureAdded(const ID3& before, const ID3& after) {
    Require(after.GetPictureCount() == before.GetPictureCount() + 1);
    const ID3Picture& added = after.GetPicture(after.GetPictureCount() - 1);
    Require(added.length == sizeof kJpeg && added.kind == ID3Picture::kJpeg);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const AString path(fuzzsong::WriteSong("song.mp3", data, size));
    ID3 before;
    const bool readable = before.Read(path) == 0;
    if (before.Write(kJpeg, sizeof kJpeg, false, nullptr) != 0 || !readable)
        return 0;
    ID3 after;
    const int result = after.Read(path);
    // Without the old tag's padding and unreadable rest a song can end up shorter than an ID3v1 block,
    // which the mp3 reader refuses.
    if (result == kErrorID3v1FileTooShort)
        return 0;
    Require(result == 0);
    fuzzsong::CheckPicturesInFile(after, after.GetFileSize());
    fuzzsong::CheckAudioInFile(after, after.GetFileSize());
    RequirePictureAdded(before, after);
    if (before.GetTagKinds() & kID3v2Kinds)
        Require(fuzzsong::SameTagFields(before.GetFields(), after.GetFields()));
    return 0;
}
