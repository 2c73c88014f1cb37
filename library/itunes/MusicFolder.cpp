#include "library/itunes/MusicFolder.h"

#include "foundation/AFile.h"
#include "platform/files/PathSeparator.h"
#include "platform/paths/MusicHome.h"

#include <string>

namespace {

constexpr const char* kMusicFolderKey = "<key>Music Folder</key>";
constexpr int kMaxLineBytes = 2048;

int HexValue(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// The byte of the escape at `index`, or -1 when no escape stands there.
int EscapedByte(const std::u16string& text, size_t index) {
    if (text[index] != u'%' || index + 2 >= text.size())
        return -1;
    const int high = HexValue(text[index + 1]);
    const int low = HexValue(text[index + 2]);
    return (high < 0 || low < 0) ? -1 : high * 16 + low;
}

// The folder of a "file://" URL in a library line: the path after the scheme (a "localhost" host
// dropped), up to the next tag, decoded, ending in '/'.
AString FolderOfLine(const AString& line) {
    const int scheme = line.Find("file://");
    if (scheme < 0)
        return AString();
    AString url = line.Mid(scheme + 7);
    if (url.Find(AString("localhost/"), 0, false) == 0)
        url = url.Mid(9);
    const int tag = url.Find(u'<');
    if (tag >= 0)
        url = url.Left(tag);
    AString folder = DecodeUrlEscapes(url);
    if (folder.IsEmpty() || folder.GetAt(folder.GetLength() - 1) != kPathSeparator)
        folder += kPathSeparator;
    return folder;
}

} // namespace

AString DecodeUrlEscapes(const AString& text) {
    const std::u16string& source = text.GetCString();
    AString decoded;
    for (size_t i = 0; i < source.size();) {
        std::string bytes;
        for (int byte; i < source.size() && (byte = EscapedByte(source, i)) >= 0; i += 3)
            bytes += static_cast<char>(byte);
        if (!bytes.empty()) {
            decoded += AString::FromSystem8Bit(bytes);
            continue;
        }
        decoded += source[i++];
    }
    return decoded;
}

AString ReadMusicFolderIn(const AString& musicHome) {
    if (musicHome.IsEmpty())
        return AString();
    AString folder = musicHome;
    folder.AppendPath("iTunes");
    AString libraryFile = folder;
    folder.AppendPath("iTunes Music");
    libraryFile.AppendPath("iTunes Music Library.xml");
    AFile file;
    if (file.Open(libraryFile, AFile::kModeRead, false) != 0)
        return folder;
    AString line;
    while (line.Read(file, AString::Form::NarrowLine, kMaxLineBytes) == 0) {
        if (line.Find(kMusicFolderKey) >= 0) {
            const AString named = FolderOfLine(line);
            return named.IsEmpty() ? folder : named;
        }
    }
    return folder;
}

AString ReadMusicFolder() {
    return ReadMusicFolderIn(AString::FromSystem8Bit(nativepaths::MusicHome()));
}
